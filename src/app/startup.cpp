#include "app/startup.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QScreen>
#include <QStandardPaths>
#include <QTimer>
#include <clocale>
#include <csignal>
#include <cstdio>
#include <ctime>
#include <memory>

#include "app/main_window.h"
#include "app/qt_range_link.h"
#include "core/session/antenna_loader.h"
#include "core/formats/envelope_file.h"
#include "core/formats/help_file.h"
#include "core/settings/settings.h"

namespace lobe {

std::string strip_quotes(const std::string& s) {
  std::string out;
  for (std::size_t i = 0; i < s.size(); ++i) {
    if (s[i] == '\\' && i + 1 < s.size()) {
      out += s[i];
      out += s[++i];
    } else if (s[i] != '"') {
      out += s[i];
    }
  }
  return out;
}

namespace {

// The envelope library and the help text are read from the folder the
// program starts in; an installed program falls back to its data folder.
std::string support_file(const char* name) {
  if (QFileInfo::exists(QString::fromLatin1(name))) return name;
  const QString installed =
      QCoreApplication::applicationDirPath() + QStringLiteral("/../share/lobeview/") + QString::fromLatin1(name);
  return QFileInfo::exists(installed) ? installed.toLocal8Bit().toStdString() : std::string(name);
}

// For the start-up benchmark (LOBEVIEW_FIRST_PAINT_EXIT set): once the
// client area has been painted for the first time, prints the monotonic
// clock in nanoseconds and ends the program.
class first_paint_probe : public QObject {
 public:
  bool eventFilter(QObject* watched, QEvent* e) override {
    if (e->type() == QEvent::Paint && !seen_) {
      seen_ = true;
      QTimer::singleShot(0, [] {
        timespec now{};
        clock_gettime(CLOCK_MONOTONIC, &now);
        std::printf("%lld\n", now.tv_sec * 1000000000LL + now.tv_nsec);
        std::fflush(stdout);
        QCoreApplication::exit(0);
      });
    }
    return QObject::eventFilter(watched, e);
  }

 private:
  bool seen_ = false;
};

}  // namespace

int run_lobeview(int argc, char** argv) {
  QApplication app(argc, argv);
  // Qt set the locale from the environment; numbers are always written the "C" way.
  std::setlocale(LC_NUMERIC, "C");
  // Past the file size limit a save's write fails and the save is abandoned
  // (the old file kept), instead of the program being killed mid-save.
  std::signal(SIGXFSZ, SIG_IGN);

  auto st = make_lobe_state();
  run_log log;
  window_state ws;
  ws.documents_folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation).toLocal8Bit().toStdString();
  QDir().mkpath(QString::fromLocal8Bit(ws.documents_folder.c_str()));

  log.open(ws.documents_folder);
  ws.env_file_open = read_envelope_file(st->ed, support_file(LOBEVIEW_ENVELOPE_FILE));
  if (!read_help_file(st->help, support_file(LOBEVIEW_HELP_FILE)))
    log.write_error_log("WinMain", "No help file to open");
  const std::string ini =
      settings_path_for_executable(QCoreApplication::applicationFilePath().toLocal8Bit().toStdString());
  qt_range_link link(*st, log, list_com_ports(ini));
  link.probe_ports();
  read_extra_settings(st->settings, log, ini);
  read_settings_file(st->settings, ws.documents_folder);
  link.dsa_init();
  for (const com_port_entry& p : link.ports()) {
    ws.com_ports.push_back(p.number);
    ws.com_ports_prov.push_back(p.capabilities);
  }
  ws.current_com_port = link.current_com_port();

  main_window window(*st, log, link, ws);
  link.attach(&window);
  window.resize(WINDOW_W, WINDOW_H);

  std::string runstring;
  for (int i = 1; i < argc; ++i) {
    if (i > 1) runstring += ' ';
    runstring += argv[i];
  }
  if (!runstring.empty()) {
    runstring = strip_quotes(runstring);
    log.write_error_log("WinMain runstring", runstring);
    window.show_report(open_file_on_startup(*st, log, runstring), "open_file_on_startup()");
    window.mainwindow_size();
  }
  first_paint_probe probe;
  if (qEnvironmentVariableIsSet("LOBEVIEW_FIRST_PAINT_EXIT")) window.client()->installEventFilter(&probe);
  window.start_timer();
  window.show_first(QSize(WINDOW_W, WINDOW_H));
  return app.exec();
}

}  // namespace lobe

// Screenshots of the real main window for the README, taken from the X
// server as a user's desktop shows it (tools/make_doc_images.sh runs this on
// Xvfb with openbox):
//   window_shots OUTDIR SAMPLE ENVELOPES HELP
#include <QRadioButton>
#include <QApplication>
#include <QDir>
#include <QPushButton>
#include <QPixmap>
#include <QScreen>
#include <QTest>
#include <cstdio>
#include <functional>
#include <string>

#include "app/main_window.h"
#include "app/scripted_ui.h"
#include "core/session/antenna_loader.h"
#include "core/formats/envelope_file.h"
#include "core/formats/help_file.h"

using namespace lobe;

namespace {

struct shot {
  const char* name;
  bool edit_enabled;
  std::function<void(main_window&, lobe_state&)> setup;
};

// The scripted answers of the window being shot (its file dialogs).
scripted_ui* current_ui = nullptr;

}  // namespace

// One screenshot: a fresh window on the sample, set up as the shot says,
// as the display shows it; false when it cannot be written.
bool take(const shot& s, const QString& out, char** argv) {
  auto st = make_lobe_state();
  run_log log;
  range_link link;
  window_state ws;
  ws.env_file_open = read_envelope_file(st->ed, argv[3]);
  read_help_file(st->help, argv[4]);
  st->settings.edit_enabled = s.edit_enabled ? 1 : 0;
  scripted_ui ui;
  current_ui = &ui;
  main_window w(*st, log, link, ws, &ui);
  w.resize(1280, 820);
  w.show();
  w.show_report(open_file_on_startup(*st, log, argv[2]), "open_file_on_startup()");
  w.mainwindow_size();
  s.setup(w, *st);
  w.mainwindow_size();
  if (!QTest::qWaitForWindowExposed(&w)) std::fprintf(stderr, "window_shots: the window was not shown\n");
  QTest::qWait(300);  // let the window manager and the paint settle
  const QString file = out + "/" + QString::fromLatin1(s.name) + ".png";
  // What the display shows, not what the widget would paint offscreen.
  const QPixmap grabbed = QGuiApplication::platformName() == QStringLiteral("offscreen")
                           ? w.grab()
                           : w.screen()->grabWindow(w.winId());
  if (!grabbed.save(file)) {
    std::fprintf(stderr, "window_shots: cannot write %s\n", qPrintable(file));
    return false;
  }
  std::printf("%s\n", qPrintable(file));
  return true;
}

// File > Compare with... the sample itself; then the first cut turned a
// degree (the "-" button) and the second smoothed ("A"), as a user's edits
// would leave them.
void compare_with_itself(main_window& w, const std::string& sample, bool difference) {
  current_ui->file_names.push_back(sample);
  w.actions().views[1]->trigger();
  w.actions().compare_with->trigger();
  if (const auto* row = w.cuts().row(0, 0)) row->minus->click();
  if (const auto* row = w.cuts().row(0, 1)) row->mavg->click();
  if (difference) w.actions().difference->trigger();
}

int main(int argc, char** argv) {
  if (argc != 5) {
    std::fprintf(stderr, "usage: window_shots OUTDIR SAMPLE ENVELOPES HELP\n");
    return 2;
  }
  QApplication app(argc, argv);
  const QString out = QString::fromLocal8Bit(argv[1]);
  QDir().mkpath(out);
  const shot shots[] = {
      {"window-view-mode", false, [](main_window&, lobe_state&) {}},
      {"window-full-mode", true, [](main_window&, lobe_state&) {}},
      {"window-performance-pane", true, [](main_window& w, lobe_state&) { w.commands().performance->click(); }},
      {"window-log-grid", false, [](main_window& w, lobe_state&) { w.commands().log_grid->click(); }},
      {"window-voltage", false, [](main_window& w, lobe_state&) { w.commands().mv_scale->click(); }},
      {"window-cartesian", true,
       [](main_window& w, lobe_state&) {
         w.actions().views[1]->trigger();
         w.actions().envelopes[0]->trigger();
       }},
      {"window-cartesian-90", false, [](main_window& w, lobe_state&) { w.actions().views[2]->trigger(); }},
      {"window-emr", true, [](main_window& w, lobe_state&) { w.actions().views[3]->trigger(); }},
      // The sample against itself after its first cut was turned a degree
      // and its second smoothed: the reference dashed, the verdicts in the
      // panel, then the difference chart.
      {"window-compare", true, [&](main_window& w, lobe_state&) { compare_with_itself(w, argv[2], false); }},
      {"window-difference", true, [&](main_window& w, lobe_state&) { compare_with_itself(w, argv[2], true); }},
      {"window-test-range", true,
       [](main_window& w, lobe_state& st) {
         w.switch_capture(1);
         st.pd.freq[0].cut[0].emax = 1.0f;
         st.all_emax = 1.0f;
         st.flags.cut[0][0].sweep_completed = 1;
         st.range.antenna_angle = 123;
       }},
  };
  for (const shot& s : shots)
    if (!take(s, out, argv)) return 1;
  return 0;
}

// The real window on the range simulator: its controller on a
// pseudo-terminal (as COM3) and its analyser on a loopback address of the
// test's own, so tests can run side by side.
#pragma once

#include <QAbstractButton>
#include <QProcess>
#include <QTest>
#include <functional>
#include <memory>
#include <string>

#include "app/main_window.h"
#include "app/qt_range_link.h"
#include "app/scripted_ui.h"
#include "core/text/field_text.h"
#include "support/test_support.h"

namespace lobe::test {

struct range_fixture {
  QProcess sim;
  std::string pty;
  std::unique_ptr<lobe_state> st = make_lobe_state();
  run_log log;
  temp_dir dir;
  scripted_ui ui;
  std::unique_ptr<qt_range_link> link;
  std::unique_ptr<main_window> w;

  explicit range_fixture(const char* address) {
    sim.start(QString::fromLatin1(RANGESIM_PATH), {"--address", address, "--rate", "500"});
    if (!sim.waitForReadyRead(5000)) return;
    pty = sim.readLine().trimmed().toStdString();
    log.open(dir.path());
    set_field(st->settings.dsa_ip, address);
    link = std::make_unique<qt_range_link>(*st, log, std::vector<com_port_entry>{{3, pty, 0xCD}});
    link->probe_ports();
    link->dsa_init();
    window_state ws;
    ws.documents_folder = dir.path();
    for (const auto& p : link->ports()) {
      ws.com_ports.push_back(p.number);
      ws.com_ports_prov.push_back(p.capabilities);
    }
    ws.current_com_port = link->current_com_port();
    w = std::make_unique<main_window>(*st, log, *link, ws, &ui);
    link->attach(w.get());
    w->resize(1280, 820);
    w->show();
    w->start_timer();
  }
  ~range_fixture() {
    if (w) w->hide();
    if (sim.state() != QProcess::NotRunning) {
      sim.write("quit\n");
      sim.waitForFinished(2000);
    }
    if (sim.state() != QProcess::NotRunning) sim.kill();
  }
  void tell_sim(const char* line) {
    sim.write(line);
    sim.write("\n");
    sim.waitForBytesWritten(1000);
  }
  bool wait_for(const std::function<bool()>& c, int ms = 8000) { return QTest::qWaitFor(c, ms); }
  // The controller answers the greeting with its supply state. On a loaded
  // machine that answer can miss the first greeting; a user's click greets
  // it again (every mouse-button release does), and so does this.
  bool wait_for_test_range_mode() {
    auto shown = [&] { return w->shown_capture_mode() == 1; };
    for (int attempt = 0; attempt < 3; ++attempt) {
      if (wait_for(shown, 3000)) return true;
      w->mouse_up();
    }
    return shown();
  }
  std::string logged() { return read_bytes(dir.file("lobeview_log.txt")); }
  void click_button(int id) {
    auto* b = qobject_cast<QAbstractButton*>(w->control(id));
    ASSERT_NE(b, nullptr) << id;
    ASSERT_TRUE(b->isEnabled()) << id;
    b->click();
  }
  // A frequency with one cut, its level queries answered, then its sweep started.
  void start_sweep() {
    click_button(IDC_BUTTON_NEW_FR);
    click_button(IDC_PD_ADDCUT);
    wait_for([&] { return link->dsa().dsa_req_pending == DSA_REQ_NONE; });
    click_button(IDC_PD_SWEEP + 2);
  }
};

}  // namespace lobe::test

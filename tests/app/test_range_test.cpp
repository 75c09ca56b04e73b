// The test range end to end: the real window, QSerialPort on the simulator's
// pseudo-terminal and the analyser client on loopback; and the faults that
// come from outside: a controller that misbehaves or disappears, an analyser
// that stalls or drops out in the middle of a sweep.
#include <QAbstractButton>
#include <QProgressBar>
#include <QPushButton>
#include <QProcess>
#include <QTest>
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <memory>
#include <string>

#include "app/main_window.h"
#include "app/qt_range_link.h"
#include "app/resource_ids.h"
#include "app/scripted_ui.h"
#include "app/window_fixture.h"
#include "core/session/antenna_loader.h"
#include "core/text/c_numeric.h"
#include "core/text/field_text.h"
#include "core/range/range_codes.h"
#include "rangesim/sim_pattern.h"
#include "support/test_support.h"

namespace lobe {
namespace {

// The real window on the range simulator: its controller on a
// pseudo-terminal (as COM3) and its analyser on a loopback address of the
// test's own, so tests can run side by side.
struct range_fixture {
  QProcess sim;
  std::string pty;
  std::unique_ptr<lobe_state> st = make_lobe_state();
  run_log log;
  test::temp_dir dir;
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
  void click_strip(int dx) { QTest::mouseClick(w->turntable(), Qt::LeftButton, Qt::NoModifier, QPoint(dx, 20)); }
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
  std::string logged() { return test::read_bytes(dir.file("lobeview_log.txt")); }
  void click_button(QAbstractButton* b) {
    ASSERT_NE(b, nullptr);
    ASSERT_TRUE(b->isEnabled()) << b->text().toStdString();
    b->click();
  }
  QPushButton* add_cut() { return w->cuts().freqs().at(0).add_cut; }
  QPushButton* sweep_of(int c) { return w->cuts().row(0, c) ? w->cuts().row(0, c)->sweep : nullptr; }
  // A frequency with one cut, its level queries answered, then its sweep started.
  void start_sweep() {
    click_button(w->commands().add_freq);
    click_button(add_cut());
    wait_for([&] { return link->dsa().dsa_req_pending == DSA_REQ_NONE; });
    click_button(sweep_of(0));
  }
};

TEST(TestRange, PowerReportSwitchesToTestRangeMode) {
  range_fixture t("127.0.8.1");
  ASSERT_FALSE(t.pty.empty());
  ASSERT_TRUE(t.wait_for_test_range_mode());
  EXPECT_EQ(t.w->status_text(STB_COM_PORT), "TR");
  const std::string log = t.logged();
  EXPECT_NE(log.find(" - open_com_port - Connected to COM3 \r\n"), std::string::npos);
  EXPECT_NE(log.find(" - write_com_port - #5\n\r\n"), std::string::npos);
  EXPECT_NE(log.find(" - handle_com_data - Hardware power is on\r\n"), std::string::npos);
  EXPECT_EQ(t.w->menu_titles(), (std::vector<std::string>{"&File", "&View", "&Help", "Com port", "Labs"}));
  EXPECT_EQ(t.w->actions().com_ports.at(0)->text().toStdString(), "COM3 [0xCD]");
  EXPECT_TRUE(t.w->commands().add_freq->isVisible());
  // The timer completes the analyser connection in test-range mode.
  ASSERT_TRUE(t.wait_for([&] { return t.w->status_text(STB_DSA_CONN) == "DSA"; }));
  t.tell_sim("power off");
  ASSERT_TRUE(t.wait_for([&] { return t.w->shown_capture_mode() == 0; }));
  EXPECT_NE(t.logged().find("Hardware power is off"), std::string::npos);
}

TEST(TestRange, SweepCapturesTheSimulatedPattern) {
  range_fixture t("127.0.8.2");
  ASSERT_TRUE(t.wait_for_test_range_mode());
  ASSERT_TRUE(t.wait_for([&] { return t.link->dsa_connected() && t.link->dsa().dsa_setup == 0; }));
  t.click_button(t.w->commands().add_freq);
  ASSERT_TRUE(t.wait_for([&] { return std::string(t.st->pd.freq[0].patfre) == "450.00"; }))
      << "the new frequency reads the analyser's centre";
  t.click_button(t.add_cut());
  t.click_button(t.add_cut());
  ASSERT_EQ(t.st->pd.freq[0].numcut, 2);
  set_field(t.st->pd.freq[0].cut[0].patcut, "H");
  // The level queries of Add Cut are answered before the sweep starts, so one
  // chain of queries runs during the sweep.
  ASSERT_TRUE(t.wait_for([&] { return t.link->dsa().dsa_req_pending == DSA_REQ_NONE; }));

  t.click_button(t.sweep_of(0));
  EXPECT_EQ(t.ui.boxes.back().text, "Do you really want to\nstart a clockwise antenna sweep?");
  EXPECT_EQ(t.w->status_text(STB_ACTION), "Antenna sweep in progress");
  EXPECT_FALSE(t.w->commands().open->isEnabled());
  EXPECT_FALSE(t.sweep_of(1)->isEnabled());
  // The progress bar follows the sweep (on the screen itself too: the frame tests).
  ASSERT_TRUE(t.wait_for([&] { return t.st->range.antenna_angle >= 120; }, 20000));
  EXPECT_GE(t.w->commands().progress->value(), 115);
  ASSERT_TRUE(t.wait_for([&] { return t.w->status_text(STB_ACTION) == "Sweep done"; }, 20000));
  EXPECT_TRUE(t.w->commands().open->isEnabled());

  const cut_data_type& c = t.st->pd.freq[0].cut[0];
  ASSERT_EQ(c.nupoin, 360);
  double vmax = 0;
  for (int a = 0; a < 360; ++a) vmax = std::max(vmax, rangesim::pattern_volts(a, 450e6));
  // Every bearing with a reading of its own is exact. One the controller
  // reported before a fresh level had come (the first of the sweep, now and
  // then) has none: it is filled from its neighbours, and said so.
  const std::string log = t.logged();
  int filled = 0;
  for (int a = 0; a < 360; ++a) {
    if (log.find(c_format(" - Corrected angle %d to ", a)) != std::string::npos) {
      ++filled;
      continue;
    }
    // Levels are below the sweep's own peak; referred to the true one here.
    // The last reading before a bearing report was taken at that bearing, or
    // (the turntable moving on while the reply travelled) at the one before.
    const double below_true_peak = c.signal[a] - 20.0 * std::log10(c.emax / 1e3 / vmax);
    auto at = [&](int b) { return std::fabs(20.0 * std::log10(rangesim::pattern_volts((b + 360) % 360, 450e6) / vmax)); };
    ASSERT_LT(std::min(std::fabs(below_true_peak - at(a)), std::fabs(below_true_peak - at(a - 1))), 0.01) << a;
  }
  EXPECT_LE(filled, 3);
  EXPECT_EQ(t.st->range.bearings_without_reading, filled);
  EXPECT_NEAR(c.emax, vmax * 1e3, vmax * 1e3 * 2e-3) << "peak in mV";
  EXPECT_EQ(t.st->flags.cut[0][0].sweep_completed, 1);
  EXPECT_FLOAT_EQ(t.st->all_emax, c.emax);
  EXPECT_STREQ(c.patcut, "H");

  const std::string labz = t.dir.file("capture.labz");
  t.ui.file_names.push_back(labz);
  t.click_button(t.w->commands().save);
  EXPECT_EQ(t.ui.file_requests.back().default_extension, "labz");
  test::harness back;
  ASSERT_TRUE(open_file(*back.st, back.log, labz, "labz").ok);
  EXPECT_NEAR(back.cut(0, 0).emax, c.emax, 0.001);
  EXPECT_EQ(back.st->flags.cut[0][0].sweep_completed, 1);
  EXPECT_NEAR(back.cut(0, 0).signal[90], c.signal[90], 0.0006);
}

TEST(TestRange, PauseResumeStopThenAControllerThatSendsJunkAndDisappears) {
  range_fixture t("127.0.8.3");
  ASSERT_TRUE(t.wait_for_test_range_mode());
  ASSERT_TRUE(t.wait_for([&] { return t.link->dsa_connected() && t.link->dsa().dsa_setup == 0; }));
  t.start_sweep();
  ASSERT_TRUE(t.wait_for([&] { return t.st->range.antenna_angle > 20; }));
  t.click_strip(10);
  EXPECT_EQ(t.st->range.scan_state, SCANSTATE_PAUSED);
  EXPECT_EQ(t.w->status_text(STB_ACTION), "Sweep paused");
  QTest::qWait(100);
  const int paused_at = t.st->range.antenna_angle;
  QTest::qWait(200);
  EXPECT_EQ(t.st->range.antenna_angle, paused_at) << "the turntable stopped";
  t.click_strip(128);
  EXPECT_EQ(t.w->status_text(STB_ACTION), "Sweep resumed");
  ASSERT_TRUE(t.wait_for([&] { return t.st->range.antenna_angle > paused_at + 10; }));
  t.click_strip(200);  // collecting: pause again
  t.click_strip(127);  // paused, left of the split: stop
  EXPECT_EQ(t.st->range.scan_state, SCANSTATE_STOPPED);
  EXPECT_EQ(t.w->status_text(STB_ACTION), "");
  EXPECT_TRUE(t.w->commands().open->isEnabled());
  EXPECT_EQ(t.st->pd.freq[0].cut[0].nupoin, 0) << "a stopped sweep leaves the cut";
  EXPECT_NE(t.logged().find(" - write_com_port - #0\n\r\n"), std::string::npos);

  // Then the controller sends junk, and disappears: the window goes on.
  for (const char* junk : {"garbage", "long", "trace motor warm", "bearing 400"}) t.tell_sim(junk);
  ASSERT_TRUE(t.wait_for([&] { return t.logged().find("Capture angle 400 corrected to 0") != std::string::npos; }));
  ASSERT_TRUE(t.wait_for([&] { return t.logged().find("#T motor warm") != std::string::npos; }));
  t.tell_sim("bearing -7");
  ASSERT_TRUE(t.wait_for([&] { return t.st->range.antenna_angle == -7; }));
  t.tell_sim("quit");
  t.sim.waitForFinished(3000);
  ASSERT_TRUE(t.wait_for([&] { return t.st->range.serial_connected == 0; }));
  t.w->actions().views[1]->trigger();
  EXPECT_EQ(t.st->view.display_type, DISPLAY_TYPE_RECT);
  EXPECT_NE(t.logged().find("Serial port lost"), std::string::npos);
}

TEST(TestRange, PowerFlappingRebuildsOnlyOnARealChangeAtMostOncePerTurn) {
  window_fixture t(true);
  // A thousand off/on reports before the event loop comes round.
  for (int i = 0; i < 1000; ++i) {
    t.w->switch_capture(1);
    t.w->switch_capture(0);
  }
  t.w->switch_capture(1);
  EXPECT_EQ(t.w->capture_rebuilds(), 0) << "nothing is rebuilt inside the burst";
  t.settle();
  EXPECT_EQ(t.w->capture_rebuilds(), 1);
  EXPECT_EQ(t.w->shown_capture_mode(), 1);
  EXPECT_TRUE(t.w->commands().add_freq->isVisible());
  // Off and on again within one turn is no change at all.
  t.w->switch_capture(0);
  t.w->switch_capture(1);
  t.settle();
  EXPECT_EQ(t.w->capture_rebuilds(), 1);
  t.w->switch_capture(0);
  t.settle();
  EXPECT_EQ(t.w->capture_rebuilds(), 2);
  EXPECT_FALSE(t.w->commands().add_freq->isVisible());
}

TEST(Faults, AnalyserStallsAndDropsMidSweepAndTheSweepStillCompletes) {
  range_fixture t("127.0.9.1");
  // The analyser is connected by the timer of test-range mode.
  ASSERT_TRUE(t.wait_for_test_range_mode());
  ASSERT_TRUE(t.wait_for([&] { return t.link->dsa_connected() && t.link->dsa().dsa_setup == 0; }));
  t.start_sweep();
  ASSERT_TRUE(t.wait_for([&] { return t.st->range.antenna_angle > 30; }));
  t.tell_sim("stall");
  QTest::qWait(400);
  t.tell_sim("unstall");
  ASSERT_TRUE(t.wait_for([&] { return t.st->range.antenna_angle > 60; }));
  t.tell_sim("drop");
  ASSERT_TRUE(t.wait_for([&] { return t.w->status_text(STB_ACTION) == "Sweep done"; }, 60000));
  EXPECT_EQ(t.st->pd.freq[0].cut[0].nupoin, 360);
  for (int a = 0; a < 360; ++a) EXPECT_FALSE(std::isnan(t.st->pd.freq[0].cut[0].signal[a]));
  ASSERT_TRUE(t.wait_for([&] { return t.w->status_text(STB_DSA_CONN) == "DSA"; }, 10000)) << "reconnected";
}

// An analyser reply that pauses inside its number (a lost segment resent
// 350 ms later), and one of random bytes that starts like a number: neither
// is ever a level. The saved cut holds true levels or gaps only, and the
// message at the end counts the bearings without a reading and the replies
// that were no level.
TEST(Faults, TornAndGarbledAnalyserRepliesAreNoReading) {
  int address = 1;
  for (const char* fault : {"torn", "noise"}) {
    SCOPED_TRACE(fault);
    range_fixture t(("127.0.9." + std::to_string(10 + address++)).c_str());
    ASSERT_TRUE(t.wait_for_test_range_mode());
    ASSERT_TRUE(t.wait_for([&] { return t.link->dsa_connected() && t.link->dsa().dsa_setup == 0; }));
    t.tell_sim(fault);
    t.start_sweep();
    ASSERT_TRUE(t.wait_for([&] { return t.w->status_text(STB_ACTION) == "Sweep done"; }, 60000))
        << t.st->range.antenna_angle << " " << t.logged().substr(t.logged().size() > 3000 ? t.logged().size() - 3000 : 0);
    double vmax = 0;
    for (int a = 0; a < 360; ++a) vmax = std::max(vmax, rangesim::pattern_volts(a, 450e6));
    const cut_data_type& c = t.st->pd.freq[0].cut[0];
    ASSERT_EQ(c.nupoin, 360);
    EXPECT_NEAR(c.emax, vmax * 1e3, vmax * 1e3 * 2e-3) << "the peak is the true one, in mV";
    // Every level lies within the true pattern's range (or is a gap).
    const double deepest = std::fabs(20.0 * std::log10(rangesim::pattern_volts(180, 450e6) / vmax));
    for (int a = 0; a < 360; ++a) EXPECT_LE(c.signal[a], deepest + 0.01) << a;
    // The count said is the one at the sweep's end; a reply still in flight
    // then may be counted after it.
    const std::string said = t.w->status_text(STB_ERROR);
    int counted = -1;
    const std::size_t at = said.find("; ");
    ASSERT_NE(at, std::string::npos) << said;
    ASSERT_EQ(std::sscanf(said.c_str() + at, "; %d analyser replies were no level (torn or garbled)", &counted), 1) << said;
    EXPECT_GT(counted, 5);
    EXPECT_LE(counted, t.st->range.rejected_level_replies);
    EXPECT_EQ(said.rfind(c_format("Test range: %d of 360 bearings had no reading", t.st->range.bearings_without_reading), 0),
              0u)
        << said;
  }
}

}  // namespace
}  // namespace lobe

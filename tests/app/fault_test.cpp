// Faults from outside: files that vanish or cannot be written, a full disk,
// a controller that misbehaves or disappears, an analyser that stalls or
// drops out in the middle of a sweep. The program keeps working and says so.
#include <QAbstractButton>
#include <QApplication>
#include <QProcess>
#include <QTest>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>

#include "app/main_window.h"
#include "app/qt_range_link.h"
#include "app/resource_ids.h"
#include "app/scripted_ui.h"
#include "app/window_fixture.h"
#include "core/text/field_text.h"
#include "core/range/range_codes.h"
#include "support/range_fixture.h"
#include "support/test_support.h"

namespace lobe {
namespace {

// The window of the other window tests, with its log on disk and files
// opened by their full path.
struct window_only : window_fixture {
  window_only() { log.open(dir.path()); }
  void open(const std::string& path) {
    ui.file_names.push_back(path);
    click(IDC_BUTTON_OPEN);
  }
  std::string logged_text() { return test::read_bytes(dir.file("lobeview_log.txt")); }
};

// A file that vanished after the dialog, a folder, a place nobody may write
// and a disk that fills up mid-save: a box says so, and the pattern on
// screen and the user's previous file are kept.
TEST(Faults, FilesThatCannotBeReadOrWritten) {
  window_only t;
  t.open(test::data_path("convert/src.nsma"));
  for (const std::string& gone : {t.dir.file("gone.nsma"), t.dir.path()}) {
    t.open(gone);
    EXPECT_EQ(t.ui.boxes.back().text, "Unable to open antenna file.");
    EXPECT_EQ(t.st->pd.nofreq, 2) << gone;
  }
  t.ui.file_names.push_back("/proc/self/pattern.nsma");
  t.click(IDC_BUTTON_SAVE);
  EXPECT_EQ(t.ui.boxes.back().text, "Unable to open antenna file.");
  EXPECT_EQ(t.ui.boxes.back().caption, "IDC_BUTTON_SAVE processing");

  const std::string path = t.dir.file("keep.nsma");
  test::write_bytes(path, "the user's previous file");
  signal(SIGXFSZ, SIG_IGN);
  rlimit old{};
  getrlimit(RLIMIT_FSIZE, &old);
  rlimit small = old;
  small.rlim_cur = 4096;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  t.ui.file_names.push_back(path);
  t.click(IDC_BUTTON_SAVE);
  setrlimit(RLIMIT_FSIZE, &old);
  EXPECT_EQ(test::read_bytes(path), "the user's previous file");
  EXPECT_EQ(t.ui.boxes.back().text,
            "The file could not be written completely. Any previous file of that name was kept.");
  EXPECT_EQ(test::files_in(t.dir.path()), 2u) << "the file and the log; no temporary file is left";
  EXPECT_NE(t.logged_text().find(" - write_planet_file - Write to planet file failed\r\n"), std::string::npos);
}

using range_window = test::range_fixture;

TEST(Faults, AnalyserStallsAndDropsMidSweepAndTheSweepStillCompletes) {
  range_window t("127.0.9.1");
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

TEST(Faults, ControllerSendsJunkThenDisappears) {
  range_window t("127.0.9.2");
  ASSERT_TRUE(t.wait_for_test_range_mode());
  t.tell_sim("garbage");
  t.tell_sim("long");
  t.tell_sim("trace motor warm");
  t.tell_sim("bearing 400");
  ASSERT_TRUE(t.wait_for([&] { return t.logged().find("Capture angle 400 corrected to 0") != std::string::npos; }));
  ASSERT_TRUE(t.wait_for([&] { return t.logged().find("#T motor warm") != std::string::npos; }));
  t.tell_sim("bearing -7");
  ASSERT_TRUE(t.wait_for([&] { return t.st->range.antenna_angle == -7; }));
  t.tell_sim("quit");
  t.sim.waitForFinished(3000);
  ASSERT_TRUE(t.wait_for([&] { return t.st->range.serial_connected == 0; }));
  // The window goes on: a view change and a file still work.
  t.w->command(ID_VIEW_CART);
  EXPECT_EQ(t.st->view.display_type, DISPLAY_TYPE_RECT);
  EXPECT_NE(t.logged().find("Serial port lost"), std::string::npos);
}

}  // namespace
}  // namespace lobe

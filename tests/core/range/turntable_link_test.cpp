#include "core/range/turntable_link.h"

#include <gtest/gtest.h>

#include <cmath>

#include <string>
#include <vector>

#include "core/range/range_codes.h"
#include "core/range/sweep_capture.h"
#include "support/test_support.h"

namespace lobe {
namespace {

std::vector<std::string> frames(const std::string& bytes) {
  com_receiver rx;
  std::vector<std::string> out;
  for (char b : bytes)
    if (new_com_data(rx, b)) out.emplace_back(rx.xdata);
  return out;
}

TEST(TurntableFraming, MessagesEndAtCrAndStrayLineEndsAreSkipped) {
  EXPECT_EQ(frames("\n#C 3\r\n"), (std::vector<std::string>{"#C 3"}));
  EXPECT_EQ(frames("#A 1\r\n\r#A 2\n\r"), (std::vector<std::string>{"#A 1", "#A 2\n"})) << "LF inside is kept";
  EXPECT_EQ(frames("#A 1"), (std::vector<std::string>{})) << "no CR, no message";
  const std::string long45(45, 'x');
  const auto cut = frames(long45 + "\r");
  ASSERT_EQ(cut.size(), 2u);
  EXPECT_EQ(cut[0], std::string(39, 'x'));
  EXPECT_EQ(cut[1], std::string(6, 'x'));
  EXPECT_EQ(com_command(COM_TX_SWEEP), "#1\n");
  EXPECT_EQ(com_command(COM_MAN_S), "#8\n");
}

struct range_harness : test::harness {
  range_harness() {
    log.open(dir.path());
    st->range.capture_enabled = 1;
  }
  std::string logged() { return test::read_bytes(dir.file("lobeview_log.txt")); }
  void message(const char* m) { handle_com_data(*st, range, m); }
  test::temp_dir dir;
};

TEST(TurntableMessages, BearingsAreReadLikeScanfAndRecordedWhileCollecting) {
  range_harness h;
  h.message("#A 0x2D");
  EXPECT_EQ(h.st->range.antenna_angle, 45);
  h.message("#A45");
  EXPECT_EQ(h.st->range.antenna_angle, 45) << "a number joined to the tag is not read";
  h.message("#A 360");
  EXPECT_EQ(h.st->range.antenna_angle, 0);
  const std::string log = h.logged();
  EXPECT_NE(log.find(" - handle_com_data - Capture angle 360 corrected to 0\r\n"), std::string::npos);
  EXPECT_NE(log.find(" - handle_com_data - Degrees 45 Power 0.000000\r\n"), std::string::npos);
  h.message("#T hello range");
  EXPECT_NE(h.logged().find(" - handle_com_data - #T hello range\r\n"), std::string::npos);
  // Samples are recorded only while collecting.
  ASSERT_TRUE(take_level_reading(h.st->range, 0.0015, range_clock_ms()));
  h.message("#A 10");
  EXPECT_FLOAT_EQ(h.st->range.cbuff[10], 0.0f);
  h.st->range.scan_state = SCANSTATE_COLLECTING;
  h.message("#A 10");
  h.message("#A -3");
  h.message("#A 011");  // octal 9
  EXPECT_FLOAT_EQ(h.st->range.cbuff[10], 1.5f);
  EXPECT_FLOAT_EQ(h.st->range.cbuff[9], 1.5f);
  EXPECT_EQ(h.st->range.antenna_angle, 9);
}

TEST(TurntableMessages, ReturnCodes) {
  range_harness h;
  h.st->range.scan_state = SCANSTATE_COLLECTING;
  h.message("#C 1");
  EXPECT_EQ(h.events.status[STB_ERROR], "Test range: Receiver not working");
  EXPECT_EQ(h.st->range.scan_state, SCANSTATE_PAUSED);
  h.message("#C 5");
  EXPECT_EQ(h.st->range.scan_state, SCANSTATE_PAUSED) << "a hardware stop while paused changes nothing";
  for (const char* m : {"#C 2", "#C 4", "#C 8", "#C 99", "#Cx 6", "#B 1", "#Z 3"}) h.message(m);
  EXPECT_EQ(h.st->range.scan_state, SCANSTATE_PAUSED);

  h.st->range.capture_enabled = 0;
  h.message("#C 7");
  EXPECT_EQ(h.logged().find("Hardware power is off"), std::string::npos) << "already off";
  h.message("#C 6");
  EXPECT_EQ(h.events.capture_switches, (std::vector<int>{1})) << "test-range mode on";
  EXPECT_EQ(h.events.status[STB_COM_PORT], "TR");
  EXPECT_NE(h.logged().find(" - handle_com_data - Hardware power is on\r\n"), std::string::npos);
  h.st->range.capture_enabled = 1;  // as the window sets it
  h.message("#C 7");
  EXPECT_EQ(h.events.capture_switches, (std::vector<int>{1, 0})) << "and off again";
  // A completion outside a sweep is ignored.
  h.st->range.scan_state = SCANSTATE_STOPPED;
  h.events.status.clear();
  test::put_cut(*h.st, 0, 0, "H", {{0, 1}});
  h.st->range.cbuff[5] = 3.0f;
  h.message("#C 3");
  EXPECT_EQ(h.cut(0, 0).nupoin, 1);
  EXPECT_EQ(h.events.status[STB_ACTION], "");
}

TEST(SweepCapture, MissingPointsAreFilledOnlyWhenIsolated) {
  float cbuff[MAX_SAMPLES] = {};
  for (int a = 0; a < 360; ++a) cbuff[a] = 1.0f + a;
  cbuff[0] = 0.0f;
  cbuff[100] = 0.0f;
  cbuff[200] = cbuff[201] = 0.0f;
  run_log log;
  average_missing_points(cbuff, log);
  EXPECT_FLOAT_EQ(cbuff[0], (360.0f + 2.0f) / 2.0f) << "bearing 0 takes 359 and 1";
  EXPECT_FLOAT_EQ(cbuff[100], 101.0f);
  EXPECT_FLOAT_EQ(cbuff[200], 0.0f);
  EXPECT_FLOAT_EQ(cbuff[201], 0.0f);
}

// Only fresh, usable levels are recorded: a stalled analyser's old level or
// its "not a number" code is no reading for a new bearing.
TEST(SweepCapture, StaleAndNonFiniteLevelsAreNoReading) {
  range_harness h;
  h.st->range.scan_state = SCANSTATE_COLLECTING;
  long long now = range_clock_ms();
  ASSERT_TRUE(take_level_reading(h.st->range, 0.002, now));
  for (double code : {9.91e37, 1e38, -0.001, std::nan(""), HUGE_VAL}) {
    EXPECT_FALSE(take_level_reading(h.st->range, code, now)) << code;
    EXPECT_FLOAT_EQ(h.st->range.dsapwr, 2.0f) << "the value is not taken";
    EXPECT_FALSE(level_is_fresh(h.st->range, now)) << "and what was there is no reading any more";
  }
  // Readings 10 ms apart: a level 300 ms old is stale, one 250 ms old is not.
  for (int i = 0; i < 20; ++i) ASSERT_TRUE(take_level_reading(h.st->range, 0.001, now + 10 * i));
  now += 190;
  EXPECT_DOUBLE_EQ(stale_level_ms(h.st->range), MIN_STALE_LEVEL_MS);
  EXPECT_TRUE(level_is_fresh(h.st->range, now + 250));
  EXPECT_TRUE(level_is_fresh(h.st->range, now + 300)) << "the limit itself is still fresh";
  EXPECT_FALSE(level_is_fresh(h.st->range, now + 301));
  // Readings 400 ms apart: twice that is the limit.
  range_state slow;
  for (int i = 0; i < 30; ++i) take_level_reading(slow, 0.001, 400LL * i);
  EXPECT_NEAR(stale_level_ms(slow), 800.0, 1.0);
  EXPECT_TRUE(level_is_fresh(slow, 400LL * 29 + 700));
  // A stalled analyser: bearings reported after its last level has aged are left empty.
  h.st->range.level_at_ms = range_clock_ms() - 1000;
  h.message("#A 170");
  EXPECT_FLOAT_EQ(h.st->range.cbuff[170], 0.0f);
  take_level_reading(h.st->range, 0.003, range_clock_ms());
  h.message("#A 171");
  EXPECT_FLOAT_EQ(h.st->range.cbuff[171], 3.0f);
}

TEST(SweepCapture, ConversionToDbBelowThePeak) {
  range_harness h;
  test::put_cut(*h.st, 0, 1, "V", {});
  h.st->edit.capture_freq = 0;
  h.st->edit.capture_cut = 1;
  h.st->all_emax = 5.0f;
  for (int a = 0; a < 360; ++a) h.st->range.cbuff[a] = 10.0f;
  h.st->range.cbuff[90] = 20.0f;
  h.st->range.cbuff[45] = 0.0f;
  h.st->range.cbuff[46] = 0.0f;
  ASSERT_TRUE(load_captured_data(*h.st, h.range));
  const cut_data_type& c = h.cut(0, 1);
  EXPECT_EQ(c.nupoin, 360);
  EXPECT_FLOAT_EQ(c.signal[90], 0.0f);
  EXPECT_FLOAT_EQ(c.signal[0], 6.020599842f);
  EXPECT_FLOAT_EQ(c.signal[45], NO_READING_DB) << "two missing bearings stay a gap, not minus infinity";
  EXPECT_EQ(h.st->range.bearings_without_reading, 2);
  EXPECT_EQ(h.events.status[STB_ERROR],
            "Test range: 2 of 360 bearings had no reading (filled from their neighbours, or left as a gap)");
  EXPECT_FLOAT_EQ(c.angle[359], 359.0f);
  EXPECT_FLOAT_EQ(c.fstlst[1], 359.0f);
  EXPECT_FLOAT_EQ(c.emax, 20.0f);
  EXPECT_FLOAT_EQ(h.st->all_emax, 20.0f);
  EXPECT_EQ(h.st->flags.cut[0][1].sweep_completed, 1);
  EXPECT_STREQ(c.patcut, "V") << "the cut keeps its name";

  for (float& v : h.st->range.cbuff) v = 0.0f;
  h.st->pd.freq[0].cut[1].nupoin = 7;
  EXPECT_FALSE(load_captured_data(*h.st, h.range));
  EXPECT_EQ(h.cut(0, 1).nupoin, 7) << "no reading at all leaves the cut";
  EXPECT_EQ(h.events.status[STB_ERROR], "Test range: no analyser readings in the sweep");
  // No cut to load into leaves everything alone.
  for (int f : {-1, MAX_FREQ}) {
    for (int a = 0; a < 360; ++a) h.st->range.cbuff[a] = 1.0f;
    h.st->edit.capture_freq = f;
    EXPECT_FALSE(load_captured_data(*h.st, h.range)) << f;
    EXPECT_EQ(h.st->all_emax, 20.0f);
  }
}

}  // namespace
}  // namespace lobe

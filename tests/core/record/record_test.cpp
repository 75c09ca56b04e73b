// The pattern record's own rules: clearing, the header table, the limits of
// its tables, and the half-power crossings read from a cut.
#include <gtest/gtest.h>

#include <cstring>

#include "core/record/half_power.h"
#include "core/record/lobe_state.h"
#include "core/record/pattern_record.h"
#include "core/text/field_text.h"
#include "support/test_support.h"

namespace lobe {
namespace {

TEST(PatternRecord, ClearingCutDataTouchesOnlyCutsInUseAndTheFirst360Slots) {
  auto st = make_lobe_state();
  antenna_data_type& pd = st->pd;
  pd.nofreq = 1;
  pd.freq[0].numcut = 1;
  pd.freq[0].cut[0].signal[360] = 5.0f;
  pd.freq[0].cut[1].signal[0] = 6.0f;
  pd.freq[1].cut[0].signal[0] = 7.0f;
  clear_cut_data(pd);
  EXPECT_FLOAT_EQ(pd.freq[0].cut[0].signal[0], NO_SIG_DATA);
  EXPECT_FLOAT_EQ(pd.freq[0].cut[0].signal[359], NO_SIG_DATA);
  EXPECT_FLOAT_EQ(pd.freq[0].cut[0].signal[360], 5.0f);
  EXPECT_FLOAT_EQ(pd.freq[0].cut[1].signal[0], 6.0f);
  EXPECT_FLOAT_EQ(pd.freq[1].cut[0].signal[0], 7.0f);
  // A count past the table (a bad file) clears no further than the table.
  pd.freq[0].numcut = 100;
  for (int a = 0; a < MAX_SAMPLES; ++a) pd.freq[1].cut[0].angle[a] = pd.freq[1].cut[0].signal[a] = 1.0f + a;
  pd.nofreq = 1;
  const freq_data_type next = pd.freq[1];
  clear_cut_data(pd);
  EXPECT_EQ(std::memcmp(&next, &pd.freq[1], sizeof next), 0);
}

TEST(PatternRecord, AddingFrequenciesAndCutsStopsAtTheLimits) {
  auto st = make_lobe_state();
  for (int f = 0; f < MAX_FREQ; ++f) ASSERT_TRUE(add_freq_record(st->pd));
  EXPECT_FALSE(add_freq_record(st->pd));
  EXPECT_EQ(st->pd.nofreq, MAX_FREQ);
  st->flags.cut[2][0].hide = 1;
  for (int c = 0; c < MAX_CUTS; ++c) ASSERT_TRUE(add_cut_record(st->pd, st->flags, 2));
  EXPECT_FALSE(add_cut_record(st->pd, st->flags, 2));
  EXPECT_FALSE(add_cut_record(st->pd, st->flags, MAX_FREQ));
  const cut_data_type& c = st->pd.freq[2].cut[0];
  EXPECT_FLOAT_EQ(c.emax, 1.0f);
  EXPECT_EQ(c.nupoin, 0);
  EXPECT_EQ(st->flags.cut[2][0].hide, 0);
}

TEST(HalfPower, CrossingsAreInterpolatedBetweenSamples) {
  auto st = make_lobe_state();
  // 5-degree steps: 2 dB at 10, 4 dB at 15 -> 3 dB at 12.5; back up between 345 and 350.
  test::put_cut(*st, 0, 0, "H", {{0, 0}, {5, 1}, {10, 2}, {15, 4}, {180, 20}, {345, 5}, {350, 2}, {355, 1}});
  const auto x = level_crossings(st->pd.freq[0].cut[0]);
  ASSERT_EQ(x.size(), 2u);
  EXPECT_FLOAT_EQ(x[0].angle, 12.5f);
  EXPECT_TRUE(x[0].falling);
  EXPECT_NEAR(x[1].angle, 345.0f + 5.0f * 2.0f / 3.0f, 1e-4f);
  EXPECT_FALSE(x[1].falling);
  // A crossing between the last two points of a half-plane cut counts too.
  test::put_cut(*st, 0, 1, "V", {{-90, 10}, {0, 0}, {80, 2}, {90, 6}});
  const auto last = level_crossings(st->pd.freq[0].cut[1]);
  ASSERT_EQ(last.size(), 2u);
  EXPECT_FLOAT_EQ(last[1].angle, 82.5f);
}

TEST(HalfPower, TheJoinOfAFullCircleAndGaps) {
  auto st = make_lobe_state();
  // Peak at 180; the crossing back up lies between 359 and 0 (the join).
  std::vector<std::pair<float, float>> pts;
  for (int a = 0; a < 360; ++a) pts.emplace_back(static_cast<float>(a), a == 359 ? 2.0f : (a == 0 ? 4.0f : (a < 180 ? 5.0f : 1.0f)));
  test::put_cut(*st, 0, 0, "V", pts);
  auto x = level_crossings(st->pd.freq[0].cut[0]);
  ASSERT_EQ(x.size(), 2u);
  EXPECT_FLOAT_EQ(x[0].angle, 179.5f);
  EXPECT_NEAR(x[1].angle, 359.5f, 1e-4f) << "across the join, inside the cut's range";
  EXPECT_TRUE(x[1].falling);
  // No crossing is made up across a gap (no reading).
  test::put_cut(*st, 0, 1, "V", {{0, 1}, {1, 99}, {2, 5}});
  EXPECT_TRUE(level_crossings(st->pd.freq[0].cut[1]).empty());
  // Falling to exactly 3 dB is half power: down and up again at that sample.
  test::put_cut(*st, 0, 3, "H", {{0, 0}, {10, 3.0f}, {20, 0}, {200, 0}});
  x = level_crossings(st->pd.freq[0].cut[3]);
  ASSERT_EQ(x.size(), 2u);
  EXPECT_FLOAT_EQ(x[0].angle, 10.0f);
  EXPECT_TRUE(x[0].falling);
  EXPECT_FLOAT_EQ(x[1].angle, 10.0f);
  EXPECT_FALSE(x[1].falling);
  // Nor across the join when the first sample is a gap.
  test::put_full_cut(*st, 0, 4, "H", [](int a) { return a == 0 ? 99.0 : 1.0; });
  EXPECT_TRUE(level_crossings(st->pd.freq[0].cut[4]).empty());
  // A cut that never drops to half power has none.
  test::put_cut(*st, 0, 2, "H", {{0, 0}, {90, 1}, {180, 2.9f}, {270, 1}});
  EXPECT_TRUE(level_crossings(st->pd.freq[0].cut[2]).empty());
}

}  // namespace
}  // namespace lobe

// A pattern against a mask: the mask's level read off the library's rows as
// the chart draws them, and the verdict of cuts on, inside, outside and with
// gaps under it.
#include <gtest/gtest.h>

#include <memory>

#include "core/analysis/mask_check.h"
#include "core/formats/envelope_file.h"
#include "support/test_support.h"

namespace lobe {
namespace {

// The first envelope of a library written as a file writes it (lines end at CR).
envelope_data_type mask_of(const char* rows) {
  auto ed = std::make_unique<envelopes_type>();
  read_envelope_image(*ed, std::string("envelope,Mask\r") + rows);
  return ed->env[0];
}

// The library's own example: 3 dB down up to 10 degrees, 20 dB down from 10 to 180.
const char* const k_class_a = "0,10,3\r10,180,20\r";

TEST(MaskLevel, RowsStepsSlopesMirrorAndTheRowBeyondTheChart) {
  const envelope_data_type a = mask_of(k_class_a);
  const struct {
    double angle;
    std::optional<double> level;
  } class_a[] = {
      {0, 0.0},  {5, 3.0},     {10, 3.0},  // a step belongs to the mask: its lower requirement holds
      {11, 20},  {180, 20},    {-5, 3.0},  // mirrored about 0
      {355, 3.0}, {725, 3.0},  {190, 20},  // modulo 360
  };
  for (const auto& row : class_a) EXPECT_EQ(mask_level(a, row.angle), row.level) << row.angle;

  // Between rows a straight line; a first row of no level runs at 0 dB.
  const envelope_data_type slope = mask_of("0,10,0\r30,180,20\r");
  EXPECT_DOUBLE_EQ(*mask_level(slope, 5), 0.0);
  EXPECT_DOUBLE_EQ(*mask_level(slope, 20), 10.0);
  // A mask that ends at 90 degrees says nothing beyond.
  const envelope_data_type front = mask_of("0,90,3\r");
  EXPECT_EQ(mask_level(front, 120), std::nullopt);
  EXPECT_EQ(mask_level(front, 200), std::nullopt);
  EXPECT_EQ(mask_level(front, 270), 3.0) << "-90: the mirror side";
  // A row starting beyond 180 is where the last line heads, read up to 180.
  const envelope_data_type beyond = mask_of("0,10,3\r100,150,20\r200,220,30\r");
  EXPECT_DOUBLE_EQ(*mask_level(beyond, 175), 25.0);
  EXPECT_DOUBLE_EQ(*mask_level(beyond, 185), 25.0);
  EXPECT_EQ(mask_level(mask_of(""), 0), std::nullopt) << "a mask without rows";
}

mask_verdict verdict(const envelope_data_type& env, const std::function<double(int)>& level) {
  test::harness h;
  test::put_full_cut(*h.st, 0, 0, "H", level);
  return check_cut(h.st->pd.freq[0].cut[0], env);
}

double on_class_a(int a) {
  const int folded = a > 180 ? 360 - a : a;
  return folded == 0 ? 0.0 : folded <= 10 ? 3.0 : 20.0;
}

TEST(MaskCheck, OnTheMaskPassesOneDegreeOverFailsAndGapsAreNoPass) {
  const envelope_data_type a = mask_of(k_class_a);
  const mask_verdict on = verdict(a, on_class_a);
  EXPECT_EQ(on.outcome, mask_outcome::pass);
  EXPECT_EQ(on.worst_margin_db, 0.0);
  EXPECT_EQ(on.checked, 360);
  EXPECT_TRUE(on.failing.empty() && on.gaps.empty());

  const mask_verdict inside = verdict(a, [](int x) { return on_class_a(x) + 1.5; });
  EXPECT_EQ(inside.worst_margin_db, 1.5);

  // 19 dB down at 45 degrees where the mask asks 20, and again at 313..315.
  const mask_verdict over = verdict(a, [](int x) { return x == 45 || (x >= 313 && x <= 315) ? 19.0 : on_class_a(x); });
  EXPECT_EQ(over.outcome, mask_outcome::fail);
  EXPECT_EQ(over.failing, (std::vector<angle_range>{{45, 45}, {313, 315}}));
  EXPECT_EQ(over.worst_margin_db, -1.0);
  EXPECT_EQ(over.worst_angle, 45.0);

  // No reading at 100..102: reported, never passing.
  const mask_verdict gap = verdict(a, [](int x) { return x >= 100 && x <= 102 ? 99.0 : on_class_a(x); });
  EXPECT_EQ(gap.outcome, mask_outcome::incomplete);
  EXPECT_EQ(gap.gaps, (std::vector<angle_range>{{100, 102}}));
  EXPECT_EQ(gap.checked, 357);
  const mask_verdict both = verdict(a, [](int x) { return x == 100 ? 99.0 : x == 200 ? 1.0 : on_class_a(x); });
  EXPECT_EQ(both.outcome, mask_outcome::fail) << "a failure outweighs a gap";

  // Beyond a mask's last row nothing is checked; a mask under no point checks nothing.
  const mask_verdict front = verdict(mask_of("0,90,3\r"), [](int x) { return x > 90 && x < 270 ? 0.0 : 3.0; });
  EXPECT_EQ(front.outcome, mask_outcome::pass);
  EXPECT_EQ(front.checked, 181);
  EXPECT_EQ(verdict(mask_of(""), on_class_a).outcome, mask_outcome::unchecked);
}

}  // namespace
}  // namespace lobe

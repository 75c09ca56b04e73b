#include "core/formats/nec_reader.h"

#include <gtest/gtest.h>

#include "core/text/field_text.h"
#include "support/test_support.h"

namespace lobe {
namespace {

using test::harness;

TEST(NecReader, ZeroTo360KeepsThe360RowsFromZeroAsHorizontal) {
  harness h;
  ASSERT_TRUE(h.open_data("4nec/zero_to_360.txt"));
  EXPECT_EQ(h.st->file.file_type, FT_4NEC);
  ASSERT_EQ(h.st->pd.nofreq, 1);
  EXPECT_STREQ(h.st->pd.freq[0].patfre, "") << "a new first frequency has no text";
  ASSERT_EQ(h.st->pd.freq[0].numcut, 1);
  const cut_data_type& c = h.cut(0, 0);
  EXPECT_STREQ(c.patcut, "H");
  EXPECT_EQ(c.nupoin, 360);
  EXPECT_FLOAT_EQ(c.angle[0], 0.0f);
  EXPECT_FLOAT_EQ(c.angle[359], 359.0f);
  EXPECT_FLOAT_EQ(c.angle[360], END_MARKER);
  EXPECT_FLOAT_EQ(c.fstlst[0], 0.0f);
  EXPECT_FLOAT_EQ(c.fstlst[1], 359.0f);
  EXPECT_FLOAT_EQ(c.emax, 1.0f);
  EXPECT_NEAR(c.signal[29], 2.9f, 1e-5);
}

TEST(NecReader, MinusHalfTurnTableIsRotatedToStartAtZero) {
  harness h;
  ASSERT_TRUE(h.open_data("4nec/minus180_to_180.txt"));
  const cut_data_type& c = h.cut(0, 0);
  EXPECT_STREQ(c.patcut, "V") << "the first staged row is not at 0";
  ASSERT_EQ(c.nupoin, 360);
  for (int i = 0; i < 360; ++i) ASSERT_FLOAT_EQ(c.angle[i], static_cast<float>(i)) << i;
  EXPECT_NEAR(c.signal[0], 0.0f, 1e-6);
  EXPECT_NEAR(c.signal[181], 17.9f, 1e-4) << "181 degrees came from -179";
}

TEST(NecReader, LevelsAreShiftedToTheSmallestAndColumnsAreChosen) {
  harness h;
  ASSERT_TRUE(h.open_data("4nec/signals.txt"));
  const cut_data_type& c = h.cut(0, 0);
  EXPECT_NEAR(c.signal[0], 1.7f, 1e-5);
  EXPECT_NEAR(c.signal[1], 0.0f, 1e-6);
  EXPECT_NEAR(c.signal[2], 5.5f, 1e-5);

  harness cols;
  cols.st->nec = {2, 3};
  ASSERT_TRUE(cols.open_data("4nec/four_columns.txt"));
  const cut_data_type& k = cols.cut(0, 0);
  EXPECT_EQ(k.nupoin, 3) << "the heading line is skipped";
  EXPECT_STREQ(k.patcut, "V");
  EXPECT_FLOAT_EQ(k.angle[0], 355.0f);  // -5 + 360
  EXPECT_NEAR(k.signal[2], 2.0f, 1e-6);
}

TEST(NecReader, EachFileAddsACutUntilTheFrequencyIsFull) {
  harness h;
  for (int i = 0; i < MAX_CUTS; ++i) ASSERT_TRUE(h.open_data("4nec/signals.txt"));
  EXPECT_EQ(h.st->pd.freq[0].numcut, MAX_CUTS);
  set_field(h.st->pd.name, "kept");
  const std::string name_before = h.st->file.szFileName_name;
  EXPECT_FALSE(h.open_data("4nec/zero_to_360.txt"));
  EXPECT_EQ(h.report.failure_text().rfind("The first frequency already has 8 cuts", 0), 0u);
  EXPECT_EQ(h.st->pd.freq[0].numcut, MAX_CUTS);
  EXPECT_EQ(h.cut(0, 7).nupoin, 3);
  EXPECT_STREQ(h.st->pd.name, "kept");
}

TEST(NecReader, TooLongTableUsesTheFirst362Rows) {
  harness h;
  ASSERT_TRUE(h.open_data("4nec/too_long.txt"));
  EXPECT_EQ(h.status(STB_ERROR), "4NEC file error - too long");
  EXPECT_EQ(h.cut(0, 0).nupoin, 361) << "a 0-degree row after the first: the wrap skips row 0";
}

}  // namespace
}  // namespace lobe

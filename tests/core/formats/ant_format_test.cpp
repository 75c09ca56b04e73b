#include "core/formats/ant_format.h"

#include <gtest/gtest.h>

#include "core/formats/antenna_loader.h"
#include "core/text/field_text.h"
#include "core/formats/file_sink.h"
#include "support/test_support.h"

namespace lobe {
namespace {

using test::harness;

TEST(AntReader, V1IsOneHorizontalCutOfAbsoluteValues) {
  harness h;
  ASSERT_TRUE(h.open_data("ant/v1_negative.ant"));
  EXPECT_EQ(h.st->file.ant_file_type, AFT_ANT_V1);
  EXPECT_EQ(h.status(STB_ERROR), "buffer_ix = 360");
  ASSERT_EQ(h.st->pd.nofreq, 1);
  ASSERT_EQ(h.st->pd.freq[0].numcut, 1);
  const cut_data_type& c = h.cut(0, 0);
  EXPECT_STREQ(c.patcut, "H");
  EXPECT_EQ(c.nupoin, 360);
  EXPECT_FLOAT_EQ(c.fstlst[1], 359.0f);
  EXPECT_FLOAT_EQ(c.angle[123], 123.0f);
  EXPECT_FLOAT_EQ(c.signal[123], 12.3f);
}

TEST(AntReader, V2TakesVerticalAnglesFromTwoRuns) {
  harness h;
  ASSERT_TRUE(h.open_data("ant/v2_600.ant"));
  EXPECT_EQ(h.st->file.ant_file_type, AFT_ANT_V2);
  const cut_data_type& v = h.cut(0, 1);
  EXPECT_STREQ(v.patcut, "V");
  EXPECT_FLOAT_EQ(v.signal[270], 360.0f);
  EXPECT_FLOAT_EQ(v.signal[359], 449.0f);
  EXPECT_FLOAT_EQ(v.signal[0], 450.0f);
  EXPECT_FLOAT_EQ(v.signal[90], 540.0f) << "values 541 and later are ignored";
  EXPECT_FLOAT_EQ(v.signal[91], 99.0f);
  EXPECT_FLOAT_EQ(v.signal[269], 99.0f);
  EXPECT_FLOAT_EQ(v.angle[200], 200.0f);

  harness short_v2;
  ASSERT_TRUE(short_v2.open_data("ant/v2_540.ant"));
  EXPECT_EQ(short_v2.st->file.ant_file_type, AFT_ANT_V2);
  EXPECT_FLOAT_EQ(short_v2.cut(0, 1).signal[89], 539.0f);
  EXPECT_FLOAT_EQ(short_v2.cut(0, 1).signal[90], 99.0f) << "no line for angle 90";
}

TEST(AntReader, V3LineOrder) {
  harness h;
  ASSERT_TRUE(h.open_data("ant/v3.ant"));
  EXPECT_EQ(h.st->file.ant_file_type, AFT_ANT_V3);
  EXPECT_FLOAT_EQ(h.cut(0, 1).signal[270], 360.5f);
  EXPECT_FLOAT_EQ(h.cut(0, 1).signal[0], 450.5f);
  EXPECT_FLOAT_EQ(h.cut(0, 1).signal[269], 719.5f);
}

TEST(AntReader, TooLongShortAndBlankLines) {
  harness h;
  ASSERT_TRUE(h.open_data("ant/too_long.ant"));
  EXPECT_EQ(h.status(STB_ERROR), "buffer_ix = 721") << "the count follows the too-long errors";
  EXPECT_EQ(h.st->file.ant_file_type, AFT_ANT_V3);
  EXPECT_FLOAT_EQ(h.cut(0, 1).signal[269], 719.0f);

  harness s;
  s.st->file.ant_file_type = AFT_ANT_V2;
  ASSERT_TRUE(s.open_data("ant/short.ant"));
  EXPECT_EQ(s.status(STB_ERROR), "buffer_ix = 100");
  EXPECT_EQ(s.st->pd.nofreq, 0);
  EXPECT_EQ(s.st->file.ant_file_type, AFT_ANT_V2) << "unchanged when nothing is built";

  harness b;
  ASSERT_TRUE(b.open_data("ant/blank_lines.ant"));
  EXPECT_EQ(b.status(STB_ERROR), "buffer_ix = 360") << "blank lines are not counted";
  EXPECT_FLOAT_EQ(b.cut(0, 0).signal[359], 359.0f);
}

std::string write_ant(harness& h, int version) {
  h.st->file.ant_file_type = version;
  string_sink out;
  write_ant_file(*h.st, out, h.log);
  return out.bytes;
}

std::size_t lines_of(const std::string& s) {
  std::size_t n = 0;
  for (char c : s) n += c == '\n';
  return n;
}

TEST(AntWriter, VersionsAndCutSelection) {
  harness h;
  ASSERT_TRUE(h.open_data("ant/v3.ant"));
  std::string expected;
  for (int i = 0; i < 720; ++i) expected += "-" + std::to_string(i) + ".500\r\n";
  EXPECT_EQ(write_ant(h, AFT_ANT_V3), expected);
  const std::string v1 = write_ant(h, AFT_ANT_V1);
  EXPECT_EQ(lines_of(v1), 360u);
  const std::string v2 = write_ant(h, AFT_ANT_V2);
  EXPECT_EQ(lines_of(v2), 541u);
  harness back;
  back.load_text(FT_ANT, v2);
  EXPECT_EQ(back.st->file.ant_file_type, AFT_ANT_V2);
  EXPECT_FLOAT_EQ(back.cut(0, 1).signal[90], h.cut(0, 1).signal[90]);
  EXPECT_FLOAT_EQ(back.cut(0, 1).signal[91], 99.0f) << "angles 91 to 269 are not written";
}

TEST(AntWriter, TwoHorizontalCutsReadBackAsV3) {
  harness h;
  ASSERT_TRUE(h.open_data("ant/v3.ant"));
  set_field(h.st->pd.freq[0].cut[1].patcut, "az");
  h.st->pd.freq[0].cut[1].nupoin = 3;  // fewer points still write 360 lines
  const std::string out = write_ant(h, AFT_ANT_V1);
  EXPECT_EQ(lines_of(out), 720u);
  harness back;
  back.load_text(FT_ANT, out);
  EXPECT_EQ(back.st->file.ant_file_type, AFT_ANT_V3);
  EXPECT_FLOAT_EQ(back.cut(0, 1).signal[270], h.cut(0, 1).signal[0]);
  EXPECT_FLOAT_EQ(back.cut(0, 1).signal[0], h.cut(0, 1).signal[90]);
}

}  // namespace
}  // namespace lobe

#include "core/formats/ant_format.h"

#include <gtest/gtest.h>

#include "core/formats/antenna_loader.h"
#include "core/text/field_text.h"
#include "core/formats/file_sink.h"
#include "support/test_support.h"

namespace lobe {
namespace {

using test::harness;

std::string write_ant(harness& h, int version) {
  h.st->file.ant_file_type = version;
  string_sink out;
  write_ant_file(*h.st, out, h.log);
  return out.bytes;
}

TEST(AntWriter, VersionsAndCutSelection) {
  harness h;
  ASSERT_TRUE(h.open_data("ant/v3.ant"));
  std::string expected;
  for (int i = 0; i < 720; ++i) expected += "-" + std::to_string(i) + ".500\r\n";
  EXPECT_EQ(write_ant(h, AFT_ANT_V3), expected);
  const std::string v1 = write_ant(h, AFT_ANT_V1);
  EXPECT_EQ(test::lines_in(v1), 360u);
  const std::string v2 = write_ant(h, AFT_ANT_V2);
  EXPECT_EQ(test::lines_in(v2), 541u);
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
  EXPECT_EQ(test::lines_in(out), 720u);
  harness back;
  back.load_text(FT_ANT, out);
  EXPECT_EQ(back.st->file.ant_file_type, AFT_ANT_V3);
  EXPECT_FLOAT_EQ(back.cut(0, 1).signal[270], h.cut(0, 1).signal[0]);
  EXPECT_FLOAT_EQ(back.cut(0, 1).signal[0], h.cut(0, 1).signal[90]);
}

}  // namespace
}  // namespace lobe

// What each writer puts in its file: NSMA and LABZ byte for byte, Planet's
// one horizontal and one vertical cut, ANT's three versions.
#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <memory>
#include <string>

#include "core/session/save_routing.h"
#include "core/formats/ant_format.h"
#include "core/session/antenna_loader.h"
#include "core/io/file_sink.h"
#include "core/formats/nsma_writer.h"
#include "core/formats/planet_format.h"
#include "core/text/field_text.h"
#include "support/test_support.h"

namespace lobe {
namespace {

using test::harness;

// The record of the golden files (one frequency, one cut of three points,
// its peak 812.5), as read from the LABZ one.
void fill_small_record(harness& h) { ASSERT_TRUE(h.open_data("nsma/golden_small.labz")); }

std::string write(harness& h, int kwr_fmt) {
  string_sink out;
  write_nsma_file(*h.st, out, h.log, kwr_fmt, write_options_of(*h.st));
  return out.bytes;
}

TEST(NsmaWriter, SmallRecordMatchesGoldenFilesByteForByte) {
  harness h;
  fill_small_record(h);
  EXPECT_EQ(write(h, 0), test::read_bytes(test::data_path("nsma/golden_small.nsma")));

  h.st->ed.numenv = 2;
  set_field(h.st->ed.env[0].title, "Class B");
  set_field(h.st->ed.env[1].title, "Class A");
  h.st->ed.env[1].display = 1;
  EXPECT_EQ(write(h, 1), test::read_bytes(test::data_path("nsma/golden_small.labz")));
  h.st->ed.env[1].display = 0;
  EXPECT_EQ(write(h, 1).find("KWRENV"), std::string::npos) << "no active envelope, no KWRENV line";
  h.st->pd.freq[0].cut[0].signal[1] = NO_SIG_DATA;
  EXPECT_NE(write(h, 0).find("1.000,-0.000,\r\n"), std::string::npos) << "no signal is written as minus zero";
}

TEST(NsmaWriter, MissingFirstAndLastAnglesComeFromThePoints) {
  harness h;
  fill_small_record(h);
  cut_data_type& c = h.st->pd.freq[0].cut[0];
  c.fstlst[0] = c.fstlst[1] = FSTLST_UNSET;
  c.angle[0] = -5.0f;
  c.angle[2] = 7.5f;
  EXPECT_NE(write(h, 0).find("FSTLST:,-5.000,7.500\r\n"), std::string::npos);
  EXPECT_EQ(c.fstlst[0], FSTLST_UNSET) << "the writer takes the record as it is";
  test::temp_dir dir;
  ASSERT_TRUE(save_file(*h.st, h.log, dir.file("a.ant")).ok);
  EXPECT_EQ(c.fstlst[0], FSTLST_UNSET) << "an ANT file names no angles";
  ASSERT_TRUE(save_file(*h.st, h.log, dir.file("a.nsma")).ok);
  EXPECT_FLOAT_EQ(c.fstlst[0], -5.0f) << "the record keeps the angles its NSMA file names";
  EXPECT_FLOAT_EQ(c.fstlst[1], 7.5f);

  c.nupoin = 1;  // one point is first and last
  c.fstlst[0] = c.fstlst[1] = FSTLST_UNSET;
  EXPECT_NE(write(h, 0).find("NUPOIN:,1\r\nFSTLST:,-5.000,-5.000\r\n"), std::string::npos);
  c.nupoin = 0;
  c.fstlst[0] = c.fstlst[1] = FSTLST_UNSET;
  EXPECT_NE(write(h, 0).find("NUPOIN:,0\r\nFSTLST:,999.000,999.000\r\nENDFIL"), std::string::npos);
}

TEST(NsmaWriter, ScaleToStrongestShiftsPlainNsmaOnly) {
  harness h;
  fill_small_record(h);
  cut_data_type& c = h.st->pd.freq[0].cut[0];
  c.emax = 100.0f;
  h.st->all_emax = 1000.0f;
  h.st->view.scale_to_max_mode = 1;
  const std::string nsma = write(h, 0);
  EXPECT_NE(nsma.find("0.000,-20.000,\r\n1.000,-20.500,\r\n2.000,-21.250,\r\n"), std::string::npos) << nsma;
  const std::string labz = write(h, 1);
  EXPECT_NE(labz.find("0.000,-0.000,\r\n1.000,-0.500,\r\n2.000,-1.250,\r\n"), std::string::npos);
}

TEST(NsmaWriter, CommaDecimalLocaleStillWritesPoints) {
  const std::string old = std::setlocale(LC_ALL, nullptr);
  ASSERT_NE(std::setlocale(LC_ALL, "de_DE.UTF-8"), nullptr)
      << "the de_DE.UTF-8 locale is missing; scripts/setup.sh generates it";
  char probe[16];
  std::snprintf(probe, sizeof probe, "%.1f", 1.5);
  EXPECT_STREQ(probe, "1,5") << "the locale really uses a decimal comma";
  harness h;
  fill_small_record(h);
  const std::string out = write(h, 0);
  harness back;
  back.load_text(FT_NSMA99, out);
  std::setlocale(LC_ALL, old.c_str());
  EXPECT_NE(out.find("1.000,-0.500,\r\n"), std::string::npos);
  EXPECT_FLOAT_EQ(back.cut(0, 0).signal[2], 1.25f) << "and reads them back under that locale";
}

TEST(PlanetWriter, WritesTheFileItReadBackByteForByte) {
  harness h;
  ASSERT_TRUE(h.open_data("planet/basic.pla"));
  string_sink out;
  write_planet_file(*h.st, out, h.io, write_options_of(*h.st));
  EXPECT_EQ(out.bytes, test::read_bytes(test::data_path("planet/golden.pla")));
  // The file's levels have both signs (the load says so), then the save's notice.
  ASSERT_EQ(h.report.messages.size(), 2u);
  EXPECT_NE(h.report.messages[0].text.find("levels of both signs (from +12.25 to -3.50)"), std::string::npos);
  EXPECT_EQ(h.report.messages[1].text,
            "The Planet file format can only save one Horizontal and one Vertical cut. The first active ones found "
            "will be saved.");
  EXPECT_EQ(h.report.messages[1].kind, message_kind::save_notice);
}

TEST(PlanetWriter, FirstShownCutsPositiveLevels) {
  harness h;  // two frequencies (450 V/V, 470 H/H) of H, V, AZ and EL cuts
  ASSERT_TRUE(h.open_data("nsma/two_frequencies.nsma"));
  test::hide_cuts(*h.st, {{0, 0}, {0, 1}});
  string_sink out;
  write_planet_file(*h.st, out, h.io, write_options_of(*h.st));
  // Frequency 0's H and V cuts are hidden: its AZ and EL cuts are the first shown.
  EXPECT_NE(out.bytes.find("FREQUENCY 450\r\nH_WIDTH"), std::string::npos);
  EXPECT_NE(out.bytes.find("HORIZONTAL 2\r\n2.000 3.500\r\n12.000 3.500\r\nVERTICAL 2\r\n3.000 3.500\r\n13.000 3.500\r\n"),
            std::string::npos) << out.bytes;
  EXPECT_EQ(out.bytes.find("-"), std::string::npos) << "levels are positive";
}

// What `bytes` read back as, as an ANT file.
std::unique_ptr<harness> ant_read_back(const std::string& bytes) {
  auto back = std::make_unique<harness>();
  back->load_text(FT_ANT, bytes);
  return back;
}

std::string write_ant(harness& h, int version) {
  h.st->file.ant_file_type = version;
  string_sink out;
  write_ant_file(*h.st, out, h.log, write_options_of(*h.st));
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
  const auto back = ant_read_back(v2);
  EXPECT_EQ(back->st->file.ant_file_type, AFT_ANT_V2);
  EXPECT_FLOAT_EQ(back->cut(0, 1).signal[90], h.cut(0, 1).signal[90]);
  EXPECT_FLOAT_EQ(back->cut(0, 1).signal[91], 99.0f) << "angles 91 to 269 are not written";

  // Two horizontal cuts read back as V3.
  set_field(h.st->pd.freq[0].cut[1].patcut, "az");
  h.st->pd.freq[0].cut[1].nupoin = 3;  // fewer points still write 360 lines
  const std::string two = write_ant(h, AFT_ANT_V1);
  EXPECT_EQ(test::lines_in(two), 720u);
  const auto v3 = ant_read_back(two);
  EXPECT_EQ(v3->st->file.ant_file_type, AFT_ANT_V3);
  EXPECT_FLOAT_EQ(v3->cut(0, 1).signal[270], h.cut(0, 1).signal[0]);
  EXPECT_FLOAT_EQ(v3->cut(0, 1).signal[0], h.cut(0, 1).signal[90]);
}

class failing_sink : public byte_sink {
 public:
  bool write(const char*, std::size_t) override { return false; }
};

TEST(NsmaWriter, FailedWritesAreLoggedLineByLine) {
  harness h;
  test::temp_dir dir;
  fill_small_record(h);
  ASSERT_TRUE(h.log.open(dir.path()));
  failing_sink out;
  write_nsma_file(*h.st, out, h.log, 0, write_options_of(*h.st));
  const std::string log = test::read_bytes(dir.file("lobeview_log.txt"));
  EXPECT_NE(log.find(" - write_planet_file - Write to planet file failed\r\n"), std::string::npos);
  EXPECT_EQ(test::lines_in(log), test::lines_in(test::read_bytes(test::data_path("nsma/golden_small.nsma"))))
      << "one log line per line that could not be written";
}

}  // namespace
}  // namespace lobe

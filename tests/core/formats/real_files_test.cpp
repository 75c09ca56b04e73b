// The LF-only twin of a file of every format we read, and cuts longer than
// the record (published files with both are among the reader facts).
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <filesystem>

#include "core/formats/antenna_loader.h"
#include "core/text/field_text.h"
#include "core/formats/file_types.h"
#include "core/formats/long_cuts.h"
#include "support/test_support.h"

namespace lobe {
namespace {

using test::harness;

std::string with_lf(std::string s) {
  s.erase(std::remove(s.begin(), s.end(), '\r'), s.end());
  return s;
}

// Loads `bytes` as a file of that name, as the Open command does.
void load(harness& h, const std::string& name, const std::string& bytes, bool lf, bool resample = false) {
  test::temp_dir dir;
  const std::string path = dir.file(name);
  test::write_bytes(path, bytes);
  h.st->settings.lf_line_ends = lf;
  h.st->settings.resample_long_cuts = resample;
  h.report = open_file(*h.st, h.log, path, dialog_extension(path));
  ASSERT_TRUE(h.report.ok);
}

// Every format we read gives the same record from an LF-only file, with the
// opt-in, as from its CR LF twin; without it, nothing, and a box that says so.
TEST(RealFiles, LfOnlyTwinOfEveryFormatReadsTheSame) {
  for (const char* name : {"src.nsma", "src.adf", "src.labz", "src.pla", "src.ant", "src.txt", "src89.nsma"}) {
    SCOPED_TRACE(name);
    const std::string bytes = test::read_bytes(test::data_path(std::string("convert/") + name));
    ASSERT_NE(bytes.find("\r\n"), std::string::npos);
    harness crlf, lf, lf_plain;
    load(crlf, name, bytes, false);
    load(lf, name, with_lf(bytes), true);
    load(lf_plain, name, with_lf(bytes), false);
    EXPECT_GT(crlf.st->pd.freq[0].cut[0].nupoin, 0);
    EXPECT_EQ(std::memcmp(&crlf.st->pd, &lf.st->pd, sizeof crlf.st->pd), 0);
    EXPECT_EQ(crlf.st->file.file_type, lf.st->file.file_type);
    EXPECT_TRUE(lf.st->file.load_notices.empty());
    if (std::string(name) == "src.txt") continue;  // the 4NEC table reads any line end
    EXPECT_TRUE(lf_plain.st->file.lf_only_empty);
    ASSERT_FALSE(lf_plain.report.messages.empty());
    EXPECT_EQ(lf_plain.report.messages.back().kind, message_kind::load_notice);
    EXPECT_EQ(lf_plain.report.messages.back().text.rfind(LF_ONLY_NOTICE, 0), 0u);
  }
}

TEST(LongCuts, ResampledToWholeDegreesWithTheLargestDeviation) {
  cut_data_type cut{};
  // Linear in dB between the points: resampling a straight run loses nothing.
  std::vector<std::pair<float, float>> line;
  for (int i = 0; i <= 400; ++i) line.emplace_back(-0.25f + i * 0.5f, i * 0.1f);
  resample_result r = resample_to_degrees(line, cut);
  EXPECT_EQ(r.points_in, 401);
  EXPECT_EQ(r.points_out, 200);
  EXPECT_EQ(cut.angle[0], 0.0f) << "from the first whole degree";
  EXPECT_EQ(cut.angle[199], 199.0f);
  EXPECT_NEAR(cut.signal[10], 2.05f, 1e-4f);
  EXPECT_NEAR(r.largest_deviation_db, 0.0f, 1e-4f);
  EXPECT_EQ(cut.fstlst[0], 0.0f);
  EXPECT_EQ(cut.fstlst[1], 199.0f);
  EXPECT_EQ(cut.angle[200], END_MARKER);
  // A narrow notch between whole degrees is what the deviation reports.
  std::vector<std::pair<float, float>> notch = {{0.0f, 0.0f}, {1.0f, 0.0f}, {1.5f, 20.0f}, {2.0f, 0.0f}, {3.0f, 0.0f}};
  r = resample_to_degrees(notch, cut);
  EXPECT_EQ(r.points_out, 4);
  EXPECT_FLOAT_EQ(r.largest_deviation_db, 20.0f);
  // Never more than the record holds, unsorted input sorted, repeats once.
  std::vector<std::pair<float, float>> wide;
  for (int a = 500; a >= -100; --a) wide.emplace_back(static_cast<float>(a), 1.0f);
  wide.emplace_back(3.0f, 7.0f);
  r = resample_to_degrees(wide, cut);
  EXPECT_EQ(r.points_out, MAX_SAMPLES);
  EXPECT_EQ(cut.nupoin, MAX_SAMPLES);
  EXPECT_EQ(cut.angle[0], -100.0f);
  EXPECT_FLOAT_EQ(cut.signal[103], 1.0f) << "the first of equal angles stands";
  EXPECT_FLOAT_EQ(cut.signal[0], 1.0f) << "a full table has no end marker to write past its end";
  // A point that is no number is no point.
  std::vector<std::pair<float, float>> odd = {{0, 1}, {1, std::nanf("")}, {2, 3}, {std::nanf(""), 9}};
  r = resample_to_degrees(odd, cut);
  EXPECT_EQ(r.points_out, 3);
  EXPECT_FLOAT_EQ(cut.signal[1], 2.0f) << "interpolated between its good neighbours";
}

TEST(LongCuts, NsmaCutLongerThanTheRecordIsReportedOrResampled) {
  std::string file = "REVNUM:,NSMA  WG16.99.050\r\nNOFREQ:,1\r\nPATFRE:,900\r\nNUMCUT:,1\r\nPATCUT:,V\r\n"
                     "POLARI:,V/V\r\nNUPOIN:,720\r\nFSTLST:,0.0,359.5\r\n";
  for (int i = 0; i < 720; ++i) file += std::to_string(i * 0.5) + "," + std::to_string(-(i % 40) * 0.25) + ",\r\n";
  harness dropped, whole;
  load(dropped, "long.nsma", file, false);
  EXPECT_EQ(dropped.cut(0, 0).nupoin, MAX_SAMPLES);
  ASSERT_EQ(dropped.st->file.load_notices.size(), 1u);
  EXPECT_EQ(dropped.st->file.load_notices[0].rfind("Cut 1 (V) of 900 MHz: 358 of its 720 points were dropped", 0), 0u);
  ASSERT_EQ(dropped.report.messages.size(), 1u) << "the window says so in a message box";
  EXPECT_EQ(dropped.report.messages[0].kind, message_kind::load_notice);
  load(whole, "long.nsma", file, false, true);
  EXPECT_EQ(whole.cut(0, 0).nupoin, 360);
  EXPECT_EQ(whole.cut(0, 0).angle[359], 359.0f);
  EXPECT_FLOAT_EQ(whole.cut(0, 0).signal[359], (718 % 40) * 0.25f);
  EXPECT_TRUE(whole.report.messages.empty()) << "nothing lost: the status bar tells";
  EXPECT_NE(whole.status(STB_ERROR).find("720 points resampled to 360"), std::string::npos);
}

}  // namespace
}  // namespace lobe

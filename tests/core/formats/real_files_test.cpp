// Files nobody here wrote: the published pattern files in ../shared/realdata
// (skipped when the folder is absent), in both line-end forms, and the LF-only
// twin of a file of every format we read.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <sstream>

#include "core/formats/antenna_loader.h"
#include "core/text/field_text.h"
#include "core/formats/file_types.h"
#include "core/record/gain_units.h"
#include "core/formats/long_cuts.h"
#include "support/test_support.h"

namespace lobe {
namespace {

using test::harness;

std::string with_crlf(const std::string& s) {
  std::string out;
  for (std::size_t i = 0; i < s.size(); ++i) {
    if (s[i] == '\n' && (i == 0 || s[i - 1] != '\r')) out += '\r';
    out += s[i];
  }
  return out;
}

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

// What a published file says, read here with nothing of the program's readers:
// each section's announced count, its first and last angles, and the gain.
struct file_says {
  std::string gain;
  struct section {
    int announced = 0;
    std::vector<std::pair<float, float>> points;
  };
  std::vector<section> sections;
};

file_says read_what_it_says(const std::string& bytes, bool tagged) {
  file_says says;
  std::istringstream in(with_lf(bytes));
  std::string line;
  while (std::getline(in, line)) {
    float a = 0, l = 0;
    if (tagged) {
      if (line.rfind("MDGAIN:,", 0) == 0) says.gain = line.substr(8);
      if (line.rfind("NUPOIN:,", 0) == 0) says.sections.push_back({std::atoi(line.c_str() + 8), {}});
      else if (!says.sections.empty() && std::sscanf(line.c_str(), "%f,%f", &a, &l) == 2)
        says.sections.back().points.emplace_back(a, l);
    } else {
      if (line.rfind("GAIN ", 0) == 0) says.gain = line.substr(5);
      if (line.rfind("HORIZONTAL ", 0) == 0 || line.rfind("VERTICAL ", 0) == 0)
        says.sections.push_back({std::atoi(line.c_str() + line.find(' ') + 1), {}});
      else if (!says.sections.empty() && std::sscanf(line.c_str(), "%f %f", &a, &l) == 2)
        says.sections.back().points.emplace_back(a, l);
    }
  }
  return says;
}

TEST(RealFiles, PublishedFilesOpenWholeOrSayWhatWasDropped) {
  const std::filesystem::path folder(LOBE_REALDATA);
  if (!std::filesystem::is_directory(folder)) GTEST_SKIP() << "no " << folder;
  int files = 0;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    const std::string ext = entry.path().extension().string();
    if (ext != ".msi" && ext != ".adf") continue;
    ++files;
    SCOPED_TRACE(entry.path().filename().string());
    const std::string bytes = test::read_bytes(entry.path().string());
    const std::string name = entry.path().filename().string();
    const file_says says = read_what_it_says(bytes, ext == ".adf");
    ASSERT_FALSE(says.sections.empty());

    harness crlf, lf;
    load(crlf, name, with_crlf(bytes), false);
    load(lf, name, with_lf(bytes), true);
    EXPECT_EQ(std::memcmp(&crlf.st->pd, &lf.st->pd, sizeof crlf.st->pd), 0) << "LF-only reads as its CR LF twin";
    EXPECT_EQ(crlf.st->file.load_notices, lf.st->file.load_notices);

    const antenna_data_type& pd = crlf.st->pd;
    EXPECT_STREQ(pd.mdgain, says.gain.c_str());
    ASSERT_EQ(pd.nofreq, 1);
    ASSERT_EQ(pd.freq[0].numcut, static_cast<int>(says.sections.size()));
    for (std::size_t c = 0; c < says.sections.size(); ++c) {
      const auto& sec = says.sections[c];
      const cut_data_type& cut = pd.freq[0].cut[c];
      ASSERT_EQ(static_cast<int>(sec.points.size()), sec.announced);
      const int kept = std::min(sec.announced, MAX_SAMPLES);
      EXPECT_EQ(cut.nupoin, kept);
      EXPECT_EQ(cut.angle[0], sec.points.front().first);
      EXPECT_EQ(cut.angle[kept - 1], sec.points[static_cast<std::size_t>(kept - 1)].first);
      EXPECT_EQ(cut.signal[kept - 1], std::fabs(sec.points[static_cast<std::size_t>(kept - 1)].second));
      if (sec.announced <= MAX_SAMPLES) continue;
      // A cut longer than the record: said, and kept whole when asked for.
      const std::string dropped = std::to_string(sec.announced - MAX_SAMPLES) + " of its " +
                                  std::to_string(sec.announced) + " points were dropped";
      ASSERT_EQ(crlf.st->file.load_notices.size(), 1u);
      EXPECT_NE(crlf.st->file.load_notices[0].find(dropped), std::string::npos) << crlf.st->file.load_notices[0];
      harness whole;
      load(whole, name, bytes, true, true);
      EXPECT_EQ(whole.st->pd.freq[0].cut[c].nupoin, 360) << "or kept whole, resampled, when asked for";
    }
    // The unit the file gives its gain is the one the exposure chain uses.
    const gain_reading g = read_gain(pd.mdgain, pd.gunits);
    ASSERT_TRUE(g.valid);
    const bool says_dbi = says.gain.find("dBi") != std::string::npos ||
                          (ext == ".adf" && std::string(pd.gunits).rfind("DBI", 0) == 0);
    EXPECT_EQ(g.unit, says_dbi ? gain_unit::dbi : gain_unit::dbd);
  }
  EXPECT_GE(files, 5);
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

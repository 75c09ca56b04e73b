// What each reader leaves in the record: the facts of tests/data (LF-only
// twins among them), the cases that need more than a file, the start-up
// files at their limits, cuts longer than the record, and how a file is split
// into lines.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <map>
#include <memory>
#include <nlohmann/json.hpp>
#include <random>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "cli/pattern_json.h"
#include "core/session/antenna_loader.h"
#include "core/formats/pattern_reading.h"
#include "core/formats/envelope_file.h"
#include "core/formats/file_types.h"
#include "core/formats/help_file.h"
#include "core/formats/line_splitter.h"
#include "core/formats/long_cuts.h"
#include "core/session/save_routing.h"
#include "core/text/field_text.h"
#include "support/test_support.h"

namespace lobe {
namespace {

using test::harness;
using json = nlohmann::json;

// A fact's value: equal (numbers to 1e-4), or {"contains": text} for a part of a text.
bool same(const json& got, const json& want) {
  if (want.is_object() && want.contains("contains"))
    return got.is_string() && got.get<std::string>().find(want["contains"].get<std::string>()) != std::string::npos;
  if (got.is_number() && want.is_number()) return std::fabs(got.get<double>() - want.get<double>()) <= 1e-4;
  if (got.is_array() && want.is_array() && got.size() == want.size()) {
    for (std::size_t i = 0; i < got.size(); ++i)
      if (!same(got[i], want[i])) return false;
    return true;
  }
  return got == want;
}

// What a file reads as, dumped as lobeconv prints it: a pattern (read as the
// Open command does, with LF line ends or long cuts resampled if asked, or
// as the type given), an envelope library or a help file. Files are in
// tests/data, data/samples or ../shared/realdata (null when that is absent).
json dump_of(const std::string& file, const std::string& type) {
  static const std::map<std::string, int> types = {{"NSMA99", FT_NSMA99}, {"NSMA89", FT_NSMA89}, {"LABZ", FT_LABZ},
                                                   {"ADF", FT_ADF},       {"PLANET", FT_PLANET}, {"ANT", FT_ANT}};
  const auto under = [&](const char* prefix, const std::string& folder) {
    return file.rfind(prefix, 0) == 0 ? folder + file.substr(std::strlen(prefix) - 1) : "";
  };
  std::string path = under("samples/", LOBE_SAMPLES) + under("realdata/", LOBE_REALDATA);
  if (path.empty()) path = test::data_path(file);
  if (!std::filesystem::exists(path)) return nullptr;
  harness h;
  if (type == "ENVELOPES") {
    EXPECT_TRUE(read_envelope_file(h.st->ed, path)) << file;
    return envelopes_to_json(h.st->ed);
  }
  if (type == "HELP") {
    EXPECT_TRUE(read_help_file(h.st->help, path)) << file;
    return help_to_json(h.st->help);
  }
  if (type.empty() || type.rfind("LF", 0) == 0 || type == "RESAMPLE" || type.rfind("NEC ", 0) == 0) {
    if (type.rfind("NEC ", 0) == 0) h.st->nec = {type[4] - '1', type[6] - '1'};  // "NEC 3,4": columns from 1
    h.st->settings.lf_line_ends = type.rfind("LF", 0) == 0;
    h.st->settings.resample_long_cuts = type.find("RESAMPLE") != std::string::npos;
    h.report = open_file(*h.st, h.log, path, dialog_extension(path));
    EXPECT_TRUE(h.report.ok) << file;
  } else if (type.rfind("VIA ", 0) == 0) {  // saved as each extension in turn, and read back
    test::temp_dir dir;
    std::istringstream exts(type.substr(4));
    for (std::string ext; exts >> ext; path = dir.file("via." + ext)) {
      EXPECT_TRUE(open_file(*h.st, h.log, path, dialog_extension(path)).ok) << path;
      EXPECT_TRUE(save_file(*h.st, h.log, dir.file("via." + ext)).ok) << ext;
      h.st = make_lobe_state();
    }
    EXPECT_TRUE(open_file(*h.st, h.log, path, dialog_extension(path)).ok) << path;
  } else {
    h.load_text(types.at(type), test::read_bytes(path));
  }
  return json::parse(pattern_json_text(*h.st, h.status(STB_ERROR)));
}

// One fact per line of tests/data/reader_facts.jsonl: [file, type ("" for the
// Open command's choice from the extension, "VIA nsma pla" for the file saved
// as .nsma, read back, saved as .pla, read back), where in the dump, value, why].
TEST(Readers, EachFactOfEachFile) {
  std::map<std::pair<std::string, std::string>, json> dumps;
  std::istringstream facts(test::read_bytes(test::data_path("reader_facts.jsonl")));
  int checked = 0;
  for (std::string line; std::getline(facts, line);) {
    if (line.empty() || line[0] == '#') continue;
    const json f = json::parse(line);
    const std::string file = f[0], type = f[1];
    auto [it, fresh] = dumps.try_emplace({file, type});
    if (fresh) it->second = dump_of(file, type);
    if (it->second.is_null() && file.rfind("realdata/", 0) == 0) continue;  // no ../shared here
    const json::json_pointer where(f[2].get<std::string>());
    ASSERT_TRUE(it->second.contains(where)) << file << " has no " << where;
    EXPECT_TRUE(same(it->second.at(where), f[3]))
        << file << " " << where << ": " << it->second.at(where).dump() << ", not " << f[3].dump() << " (" << f[4] << ")";
    ++checked;
  }
  EXPECT_GT(checked, 190);
}

TEST(Readers, WhatALoadDoesBesidesTheRecord) {
  harness labz;
  labz.st->ed.numenv = 3;
  for (int e = 0; e < 3; ++e) set_field(labz.st->ed.env[e].title, e == 1 ? "Class A" : "Class B");
  labz.st->ed.env[2].display = 1;
  labz.load_text(FT_LABZ, test::read_bytes(test::data_path("nsma/kwrenv.labz")));
  EXPECT_STREQ(labz.st->view.envelope_disp_requested, "class a");
  EXPECT_EQ(labz.st->view.display_type, DISPLAY_TYPE_RECT);
  EXPECT_EQ(labz.st->ed.env[1].display, 1);
  EXPECT_EQ(labz.st->ed.env[2].display, 0) << "the one shown before is switched off";
  harness nsma;
  nsma.st->ed.numenv = 1;
  set_field(nsma.st->ed.env[0].title, "Class A");
  nsma.load_text(FT_NSMA99, test::read_bytes(test::data_path("nsma/kwrenv.nsma")));
  EXPECT_EQ(nsma.st->ed.env[0].display, 0) << "plain NSMA does not select the envelope";

  // A cut read from the older NSMA layout is no sweep of ours.
  harness nsma89;
  nsma89.st->flags.cut[0][0].sweep_completed = 1;
  nsma89.load_text(FT_NSMA89, test::read_bytes(test::data_path("convert/src89.nsma")));
  EXPECT_EQ(nsma89.st->flags.cut[0][0].sweep_completed, 0);
  harness ant;
  ant.st->file.ant_file_type = AFT_ANT_V2;
  ASSERT_TRUE(ant.open_data("ant/short.ant"));
  EXPECT_EQ(ant.status(STB_ERROR), "buffer_ix = 100");
  EXPECT_EQ(ant.st->pd.nofreq, 0);
  EXPECT_EQ(ant.st->file.ant_file_type, AFT_ANT_V2) << "unchanged when nothing is built";
}

// What one load must not keep of the last, nor write beyond a full cut.
TEST(Readers, NoStaleCutNamesAndNothingPastAFullCut) {
  harness h;
  ASSERT_TRUE(h.open(std::string(LOBE_SAMPLES) + "/yagi.nsma"));
  h.load_text(FT_NSMA89, "Make\rModel\r\r\rnone\r\rnone\r400 to 470\r\r\rXX 2\r0 0\r1 1\r");
  EXPECT_STREQ(h.st->pd.freq[0].cut[0].patcut, "") << "an unknown cut code names no cut";
  h.st->settings.signed_levels = 1;
  std::string file = "REVNUM:,x\rNOFREQ:,1\rPATFRE:,900\rNUMCUT:,2\rPATCUT:,H\rPOLARI:,V/V\rNUPOIN:,362\rFSTLST:,0,361\r";
  for (int a = 0; a < MAX_SAMPLES; ++a) file += std::to_string(a) + (a < 181 ? ",5\r" : ",-25\r");
  h.load_text(FT_NSMA99, file + "PATCUT:,V\rPOLARI:,V/V\rNUPOIN:,1\rFSTLST:,0,0\r0,0\r");
  EXPECT_FLOAT_EQ(h.st->pd.freq[0].cut[0].signal[0], 0.0f) << "read as gains";
  EXPECT_STREQ(h.st->pd.freq[0].cut[1].patcut, "V") << "the full cut's last point is its last";
}

TEST(EnvelopeFile, MissingFileMeansNoLibrary) {
  auto ed = std::make_unique<envelopes_type>();
  ed->numenv = 3;
  EXPECT_FALSE(read_envelope_file(*ed, test::data_path("envelopes/none.csv")));
  EXPECT_EQ(ed->numenv, 0);
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

using lines = std::vector<std::string>;

lines split(const std::string& image, bool lf_ends = false, int limit = LINE_LIMIT) {
  lines out;
  split_lines(image, limit, [&](const char* line) { out.emplace_back(line); }, lf_ends);
  return out;
}

// A line ends at CR and LF is dropped; the end of the file ends the last
// line, and a final CR LF hands over one more, empty, line. A long line is
// cut after 79 characters (198 in 4NEC tables) and the byte at the cut is lost.
TEST(LineSplitter, LinesEndAtCrAndLongOnesAreCut) {
  const std::string a78(78, 'A'), a79(79, 'A'), x200(200, 'x');
  const struct {
    std::string image;
    lines want;
  } rows[] = {
      {"one\r\ntwo", {"one", "two"}},
      {"one\r\ntwo\r\n", {"one", "two", ""}},
      {"a\r\n\r\nb", {"a", "", "b"}},
      {"a\rb\rc", {"a", "b", "c"}},
      {"", {}},
      {a78 + "Z\r\nnext", {a78 + "Z", "next"}},
      {a79 + "Z\r\nnext", {a79, "", "next"}},                  // the 80th is lost, the CR ends an empty line
      {"000,-1.000,\n001,-1.000,\n002,\n", {"000,-1.000,001,-1.000,002,"}},  // LF-only: one long line
  };
  for (const auto& r : rows) EXPECT_EQ(split(r.image), r.want) << r.image;
  const lines nec = split(x200 + "\r\n", false, LINE_LIMIT_4NEC);
  EXPECT_EQ(nec, (lines{std::string(198, 'x'), "x", ""})) << "198 arrive, the 199th is lost";
}

// The rules above a byte at a time, into a line of its own: what the
// splitter's shortcuts must agree with.
lines split_by_the_rules(const std::string& image, bool lf_ends, int limit) {
  lines out;
  std::string line;
  for (std::size_t i = 0; i < image.size(); ++i) {
    const char b = image[i];
    const bool last = i + 1 == image.size();
    if (lf_ends && b == '\n' && (i == 0 || image[i - 1] != '\r')) {
      out.push_back(std::exchange(line, ""));
      if (last) out.emplace_back();
    } else if (b == '\r' || static_cast<int>(line.size()) == limit) {
      out.push_back(std::exchange(line, ""));
    } else {
      if (b != '\n') line += b;
      if (last) out.push_back(line);
    }
  }
  return out;
}

TEST(LineSplitter, RandomImagesSplitAsTheRulesSay) {
  std::mt19937 rng(11);
  for (int t = 0; t < 200000; ++t) {
    const int limit = t % 2 ? 1 + static_cast<int>(rng() % 6) : LINE_LIMIT;
    const bool lf_ends = t % 4 < 2;
    const unsigned spread = limit == LINE_LIMIT ? 40 : 4;  // one byte in 20, or in 2, ends a line
    std::string image(rng() % (limit == LINE_LIMIT ? 400 : 30), 'a');
    for (char& c : image) {
      const unsigned r = rng() % spread;
      c = r == 0 ? '\r' : r == 1 ? '\n' : 'a';
    }
    ASSERT_EQ(split(image, lf_ends, limit), split_by_the_rules(image, lf_ends, limit)) << testing::PrintToString(image);
  }
}

}  // namespace
}  // namespace lobe

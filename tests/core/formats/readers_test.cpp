// What each reader leaves in the record: the facts of tests/data, the cases
// that need more than a file, and the start-up files at their limits.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <map>
#include <memory>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>

#include "cli/pattern_json.h"
#include "core/formats/antenna_loader.h"
#include "core/formats/envelope_file.h"
#include "core/formats/file_errors.h"
#include "core/formats/file_types.h"
#include "core/formats/help_file.h"
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
  if (type.empty() || type.rfind("LF", 0) == 0) {
    h.st->settings.lf_line_ends = type.rfind("LF", 0) == 0;
    h.st->settings.resample_long_cuts = type == "LF+RESAMPLE";
    h.report = open_file(*h.st, h.log, path, dialog_extension(path));
    EXPECT_TRUE(h.report.ok) << file;
  } else {
    h.load_text(types.at(type), test::read_bytes(path));
  }
  return pattern_to_json(*h.st, h.status(STB_ERROR));
}

// One fact per line of tests/data/reader_facts.jsonl: [file, type ("" for the
// Open command's choice from the extension), where in the dump, value, why].
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

TEST(Readers, LabzNamesTheEnvelopeToShowAndTheRightColumnsOfA4necTable) {
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

  harness cols;
  cols.st->nec = {2, 3};
  ASSERT_TRUE(cols.open_data("4nec/four_columns.txt"));
  EXPECT_EQ(cols.cut(0, 0).nupoin, 3) << "the heading line is skipped";
  EXPECT_STREQ(cols.cut(0, 0).patcut, "V");
  EXPECT_FLOAT_EQ(cols.cut(0, 0).angle[0], 355.0f);  // -5 + 360
  EXPECT_NEAR(cols.cut(0, 0).signal[2], 2.0f, 1e-6);
  harness short_rows;
  short_rows.st->nec = {2, 3};
  ASSERT_TRUE(short_rows.open_data("4nec/signals.txt"));
  EXPECT_EQ(short_rows.cut(0, 0).nupoin, 0) << "rows without the chosen columns are skipped";
  short_rows.st->nec = {3, 0};
  ASSERT_TRUE(short_rows.open_data("4nec/signals.txt"));
  EXPECT_EQ(short_rows.cut(0, 1).nupoin, 0) << "whichever of the two is missing";
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

TEST(Readers, EachFourNecFileAddsACutUntilTheFrequencyIsFull) {
  harness h;
  for (int i = 0; i < MAX_CUTS; ++i) ASSERT_TRUE(h.open_data("4nec/signals.txt"));
  set_field(h.st->pd.name, "kept");
  EXPECT_FALSE(h.open_data("4nec/zero_to_360.txt"));
  EXPECT_EQ(h.report.failure_text().rfind("The first frequency already has 8 cuts", 0), 0u);
  EXPECT_EQ(h.st->pd.freq[0].numcut, MAX_CUTS);
  EXPECT_EQ(h.cut(0, 7).nupoin, 3);
  EXPECT_STREQ(h.st->pd.name, "kept");
}

// Tags out of place, and "nan", "inf" and 1e308 (numbers to scanf, but no
// point): skipped like lines that do not parse, so nothing off the chart is
// drawn and no "-nan" is ever written back.
TEST(Readers, StrayTagsAndPointsThatAreNoNumbersAreSkipped) {
  harness h;
  h.load_text(FT_NSMA99,
              "REVNUM:,x\r\nPOLARI:,H/H\r\nNUPOIN:,3\r\nFSTLST:,1,2\r\n1,-1\r\nNOFREQ:,1\r\nPATFRE:,1\r\n"
              "NUMCUT:,-2\r\nPATCUT:,H\r\nNUPOIN:,-4\r\nFSTLST:,7\r\n1,-1\r\n");
  EXPECT_EQ(h.st->pd.freq[0].numcut, 0);
  EXPECT_EQ(h.cut(0, 0).nupoin, 0);
  EXPECT_FLOAT_EQ(h.cut(0, 0).fstlst[0], FSTLST_UNSET) << "one number is no FSTLST";
  EXPECT_EQ(h.st->file.file_errors, FILE_ERR_FSTLST);
  h.load_text(FT_NSMA99,
              "REVNUM:,NSMA  WG16.99.050\r\nNOFREQ:,1\r\nPATFRE:,900\r\nNUMCUT:,1\r\nPATCUT:,H\r\nNUPOIN:,6\r\n"
              "FSTLST:,0,5\r\n0,-1,\r\nnan,-2,\r\n1,inf,\r\n2,-1e308,\r\n3,-1500,\r\n4,-3,\r\n");
  EXPECT_EQ(h.cut(0, 0).angle[1], 4.0f) << "the four bad lines are skipped";
  EXPECT_EQ(h.cut(0, 0).signal[1], 3.0f);
  EXPECT_EQ(h.cut(0, 0).angle[2], END_MARKER);
  h.load_text(FT_PLANET, "NAME X\r\nFREQUENCY 900\r\nHORIZONTAL 3\r\n0 0\r\n1 -nan\r\n2 1e39\r\n");
  EXPECT_EQ(h.cut(0, 0).angle[1], END_MARKER);
}

TEST(EnvelopeFile, LibraryKeeps40MasksOf32Rows) {
  std::string text;
  for (int e = 0; e < 45; ++e) {
    text += "envelope,Mask " + std::to_string(e) + ",\r\n";
    for (int r = 0; r < 40; ++r) text += std::to_string(r) + "," + std::to_string(r + 1) + "," + std::to_string(e) + "\r\n";
  }
  auto ed = std::make_unique<envelopes_type>();
  read_envelope_image(*ed, text);
  ASSERT_EQ(ed->numenv, MAX_ENVELOPES);
  EXPECT_STREQ(ed->env[39].title, "Mask 39");
  EXPECT_EQ(ed->env[39].nupoin, MAX_ENV_SAMPLES);
  EXPECT_FLOAT_EQ(ed->env[39].signal[31], 39.0f) << "the 41st mask's rows do not land in the 40th";
  EXPECT_FLOAT_EQ(ed->env[39].angle1[31], 31.0f);
}

TEST(EnvelopeFile, MissingFileMeansNoLibrary) {
  auto ed = std::make_unique<envelopes_type>();
  ed->numenv = 3;
  EXPECT_FALSE(read_envelope_file(*ed, test::data_path("envelopes/none.csv")));
  EXPECT_EQ(ed->numenv, 0);
}

TEST(HelpFile, SectionsStopBelow4000Characters) {
  std::string text = "[VIEW]\r\n";
  for (int i = 0; i < 100; ++i) text += std::string(79, static_cast<char>('a' + i % 26)) + "\r\n";
  help_texts help;
  read_help_image(help, text);
  EXPECT_EQ(help.help_info_views.size(), HELP_TEXT_MAX);
  EXPECT_EQ(help.help_info_views.substr(0, 4), "\r\naa");
  help_texts none;
  EXPECT_FALSE(read_help_file(none, test::data_path("help/none.txt")));
}

}  // namespace
}  // namespace lobe

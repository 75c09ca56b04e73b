// What each reader leaves in the record, one fact per row: a file (read as
// its extension says, or as the type given), where in the dump of the record
// (a JSON pointer, as `lobeconv dump` prints it), and the value there.
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <nlohmann/json.hpp>
#include <string>

#include "cli/pattern_json.h"
#include "core/formats/file_errors.h"
#include "core/text/field_text.h"
#include "support/test_support.h"

namespace lobe {
namespace {

using test::harness;
using json = nlohmann::json;

struct fact {
  const char* file;
  int type;  // 0: the Open command's choice from the extension
  const char* where;
  json value;
  const char* why = "";
};

const std::string N(std::size_t n, char c) { return std::string(n, c); }

// clang-format off
const fact k_facts[] = {
  // NSMA 1999: counts, tags and the load-error report (NSMA files only).
  {"nsma/nofreq_zero.nsma", FT_NSMA99, "/nofreq", 1, "no usable NOFREQ: one frequency"},
  {"nsma/nofreq_zero.nsma", FT_NSMA99, "/file_errors", FILE_ERR_NOFREQ},
  {"nsma/nofreq_zero.nsma", FT_NSMA99, "/status_error", "Bad file param - NOFREQ! "},
  {"nsma/nofreq_zero.nsma", FT_NSMA99, "/freq/0/cut/0/nupoin", 3},
  {"nsma/nofreq_zero.nsma", FT_LABZ, "/file_errors", FILE_ERR_NOFREQ},
  {"nsma/nofreq_zero.nsma", FT_LABZ, "/status_error", "", "only NSMA files show the report"},
  {"nsma/nofreq_missing.nsma", FT_NSMA99, "/nofreq", 0},
  {"nsma/nofreq_missing.nsma", FT_NSMA99, "/file_errors", 0},
  {"nsma/both_errors.nsma", FT_NSMA99, "/status_error", "Bad file param - NOFREQ! FSTLST!"},
  {"nsma/both_errors.labz", FT_LABZ, "/file_errors", FILE_ERR_NOFREQ | FILE_ERR_FSTLST},
  {"nsma/both_errors.labz", FT_LABZ, "/status_error", ""},
  {"nsma/both_errors.labz", FT_ADF, "/status_error", ""},
  {"nsma/fstlst_missing.nsma", FT_NSMA99, "/status_error", "Bad file param - FSTLST!"},
  {"nsma/fstlst_missing.nsma", FT_NSMA99, "/freq/0/cut/0/signal", {0.0, 0.5, 1.25}, "points are still read"},
  {"nsma/nupoin_short.nsma", FT_NSMA99, "/freq/0/cut/0/nupoin", 5},
  {"nsma/nupoin_short.nsma", FT_NSMA99, "/freq/0/cut/0/angle/4", 4.0},
  {"nsma/nupoin_short.nsma", FT_NSMA99, "/freq/0/cut/0/next_angle", 1024.0, "points beyond NUPOIN are ignored"},
  {"nsma/fstlst_two_values.nsma", FT_NSMA99, "/freq/0/cut/0/fstlst", {-180.0, 179.0}},
  {"nsma/fstlst_two_values.nsma", FT_NSMA99, "/freq/0/cut/0/emax", 0.0},
  {"nsma/fstlst_two_values.nsma", FT_NSMA99, "/freq/0/cut/0/sweep_completed", 0},
  {"nsma/fstlst_three_values.labz", FT_LABZ, "/freq/0/cut/0/emax", 812.5, "a third FSTLST value is the peak"},
  {"nsma/fstlst_three_values.labz", FT_LABZ, "/all_emax", 812.5},
  {"nsma/fstlst_three_values.labz", FT_LABZ, "/freq/0/cut/0/sweep_completed", 1},
  {"nsma/lowercase_tags.nsma", FT_NSMA99, "/header/name", "abc-1", "tags in any case"},
  {"nsma/lowercase_tags.nsma", FT_NSMA99, "/header/make", "Maker"},
  {"nsma/lowercase_tags.nsma", FT_NSMA99, "/freq/0/patfre", "900"},
  {"nsma/lowercase_tags.nsma", FT_NSMA99, "/freq/0/cut/0/patcut", "h"},
  {"nsma/lowercase_tags.nsma", FT_NSMA99, "/freq/0/cut/0/polari", "h/h"},
  {"nsma/verbatim_values.nsma", FT_NSMA99, "/header/name", "Model 7 ,,  ", "values verbatim"},
  {"nsma/verbatim_values.nsma", FT_NSMA99, "/header/descr1", "  leading kept"},
  {"nsma/verbatim_values.nsma", FT_NSMA99, "/header/comnt1", "", "a tag line under eight characters has no value"},
  {"nsma/long_value.nsma", FT_NSMA99, "/header/gunits", N(15, 'G'), "cut to the field"},
  {"nsma/blanks_in_data.nsma", FT_NSMA99, "/freq/0/cut/0/angle", {10.0, 30.0, 40.0, 1024.0}, "\"20 ,-3\" does not match"},
  {"nsma/blanks_in_data.nsma", FT_NSMA99, "/freq/0/cut/0/signal/2", 10.0},
  {"nsma/cut_order.nsma", FT_NSMA99, "/nofreq", 2},
  {"nsma/cut_order.nsma", FT_NSMA99, "/freq/0/numcut", 2, "NUMCUT before the first PATFRE goes nowhere"},
  {"nsma/cut_order.nsma", FT_NSMA99, "/freq/0/cut/1/patcut", "V"},
  {"nsma/cut_order.nsma", FT_NSMA99, "/freq/0/cut/1/nupoin", 2},
  {"nsma/cut_order.nsma", FT_NSMA99, "/freq/1/patfre", "470"},
  {"nsma/cut_order.nsma", FT_NSMA99, "/freq/1/cut/0/nupoin", 1, "PATFRE restarts the cuts"},
  {"nsma/kwrenv.nsma", FT_NSMA99, "/display_type", DISPLAY_TYPE_RECT},
  {"nsma/revnum_lowercase.nsma", FT_NSMA99, "/file_type", FT_NSMA89, "no REVNUM: the older layout"},
  {"nsma/revnum_lowercase.nsma", FT_ADF, "/file_type", FT_ADF, "only .nsma files are checked"},
  {"nsma/revnum_lowercase.nsma", FT_ADF, "/header/name", "x"},
  // The older NSMA layout: header lines by position, cuts by code.
  {"nsma89/basic.nsma", 0, "/file_type", FT_NSMA89},
  {"nsma89/basic.nsma", 0, "/header/make", "ACME ANTENNAS"},
  {"nsma89/basic.nsma", 0, "/header/name", "YG-450"},
  {"nsma89/basic.nsma", 0, "/header/comnt1", "5 element yagi"},
  {"nsma89/basic.nsma", 0, "/header/filnum", "F123"},
  {"nsma89/basic.nsma", 0, "/header/comnt2", "", "NONE"},
  {"nsma89/basic.nsma", 0, "/header/dtdata", "19890312"},
  {"nsma89/basic.nsma", 0, "/header/descr1", "", "none-given starts with none"},
  {"nsma89/basic.nsma", 0, "/header/lowfrq", "406"},
  {"nsma89/basic.nsma", 0, "/header/hghfrq", "470"},
  {"nsma89/basic.nsma", 0, "/header/mdgain", "9.1"},
  {"nsma89/basic.nsma", 0, "/header/azwidt", "52"},
  {"nsma89/basic.nsma", 0, "/freq/0/patfre", "406"},
  {"nsma89/basic.nsma", 0, "/freq/0/numcut", 2},
  {"nsma89/basic.nsma", 0, "/freq/0/cut/0/polari", "H/H"},
  {"nsma89/basic.nsma", 0, "/freq/0/cut/0/angle/0", 0.0, "the line before the first cut header is ignored"},
  {"nsma89/basic.nsma", 0, "/freq/0/cut/0/signal/2", 6.0},
  {"nsma89/basic.nsma", 0, "/freq/0/cut/0/next_angle", 1024.0, "the fourth point is beyond the count"},
  {"nsma89/basic.nsma", 0, "/freq/0/cut/1/patcut", "V"},
  {"nsma89/basic.nsma", 0, "/freq/0/cut/1/polari", "V/V"},
  {"nsma89/basic.nsma", 0, "/freq/0/cut/1/nupoin", 181},
  {"nsma89/basic.nsma", 0, "/freq/0/cut/1/signal/0", 20.0},
  {"nsma89/ids.nsma", 0, "/header/comnt2", "Reverse pattern ID# - R123"},
  {"nsma89/ids.nsma", 0, "/header/descr1", "Manufacturer ID# - M-77"},
  {"nsma89/ids.nsma", 0, "/header/lowfrq", "450"},
  {"nsma89/ids.nsma", 0, "/header/hghfrq", "5", "a decimal point ends a digit run"},
  {"nsma89/one_frequency.nsma", 0, "/header/hghfrq", "NA"},
  {"nsma89/blank_header_line.nsma", 0, "/header/name", ""},
  {"nsma89/blank_header_line.nsma", 0, "/header/comnt1", "MODEL", "an empty line shifts every later value"},
  {"nsma89/blank_header_line.nsma", 0, "/header/hghfrq", "500"},
  {"nsma89/unknown_code.nsma", 0, "/freq/0/numcut", 1},
  {"nsma89/unknown_code.nsma", 0, "/freq/0/cut/0/patcut", ""},
  {"nsma89/unknown_code.nsma", 0, "/freq/0/cut/0/nupoin", 5},
  {"nsma89/nine_cuts.nsma", 0, "/freq/0/numcut", MAX_CUTS},
  {"nsma89/nine_cuts.nsma", 0, "/freq/0/cut/7/angle/0", 7.0},
  {"nsma89/nine_cuts.nsma", 0, "/freq/0/cut/7/signal/1", 7.0, "the ninth cut's points do not land in the eighth"},
  {"nsma89/nine_cuts.nsma", 0, "/freq/0/cut/7/next_angle", 1024.0},
  // Planet: keywords fill the header, sections the cuts.
  {"planet/basic.pla", 0, "/file_type", FT_PLANET},
  {"planet/basic.pla", 0, "/header/name", "Yagi 5"},
  {"planet/basic.pla", 0, "/header/lowfrq", "450"},
  {"planet/basic.pla", 0, "/header/hghfrq", "450"},
  {"planet/basic.pla", 0, "/header/azwidt", "52"},
  {"planet/basic.pla", 0, "/header/front_to_back", "18"},
  {"planet/basic.pla", 0, "/header/comnt1", "two cuts"},
  {"planet/basic.pla", 0, "/freq/0/patfre", "450"},
  {"planet/basic.pla", 0, "/freq/0/cut/0/polari", "V/V", "POLARIZATION fills cuts 0 and 1 ahead of them"},
  {"planet/basic.pla", 0, "/freq/0/cut/1/polari", "V/V"},
  {"planet/basic.pla", 0, "/freq/0/cut/0/nupoin", 4},
  {"planet/basic.pla", 0, "/freq/0/cut/0/fstlst", {0.0, 270.0}},
  {"planet/basic.pla", 0, "/freq/0/cut/0/signal/1", 3.5},
  {"planet/basic.pla", 0, "/freq/0/cut/0/next_angle", 1024.0},
  {"planet/basic.pla", 0, "/freq/0/cut/1/patcut", "V"},
  {"planet/basic.pla", 0, "/freq/0/cut/1/fstlst", {-90.0, 90.0}},
  {"planet/long_values.pla", 0, "/header/name", N(47, 'N'), "fixed positions and widths"},
  {"planet/long_values.pla", 0, "/header/tilt", N(19, 'T')},
  {"planet/long_values.pla", 0, "/header/mdgain", " 10.5", "two blanks before a value keep one"},
  {"planet/long_values.pla", 0, "/header/azwidt", N(15, '9')},
  {"planet/lowercase.pla", 0, "/header/name", "low"},
  {"planet/lowercase.pla", 0, "/freq/0/cut/0/nupoin", 2},
  {"planet/lowercase.pla", 0, "/freq/0/cut/0/signal/1", 2.0},
  {"planet/extra_points.pla", 0, "/freq/0/cut/0/nupoin", 2},
  {"planet/extra_points.pla", 0, "/freq/0/cut/0/angle/0", 0.0, "points before the first section are ignored"},
  {"planet/extra_points.pla", 0, "/freq/0/cut/0/next_angle", 1024.0},
  {"planet/frequency_after_cuts.pla", 0, "/freq/0/numcut", 0, "a later FREQUENCY hides the cuts"},
  {"planet/frequency_after_cuts.pla", 0, "/freq/0/patfre", "460"},
  {"planet/no_frequency.pla", 0, "/nofreq", 0},
  // ANT: versions by line count, levels made positive.
  {"ant/v1_negative.ant", 0, "/ant_file_type", AFT_ANT_V1},
  {"ant/v1_negative.ant", 0, "/status_error", "buffer_ix = 360"},
  {"ant/v1_negative.ant", 0, "/freq/0/numcut", 1},
  {"ant/v1_negative.ant", 0, "/freq/0/cut/0/patcut", "H"},
  {"ant/v1_negative.ant", 0, "/freq/0/cut/0/fstlst/1", 359.0},
  {"ant/v1_negative.ant", 0, "/freq/0/cut/0/angle/123", 123.0},
  {"ant/v1_negative.ant", 0, "/freq/0/cut/0/signal/123", 12.3},
  {"ant/v2_600.ant", 0, "/ant_file_type", AFT_ANT_V2},
  {"ant/v2_600.ant", 0, "/freq/0/cut/1/patcut", "V"},
  {"ant/v2_600.ant", 0, "/freq/0/cut/1/signal/270", 360.0, "vertical angles from two runs"},
  {"ant/v2_600.ant", 0, "/freq/0/cut/1/signal/359", 449.0},
  {"ant/v2_600.ant", 0, "/freq/0/cut/1/signal/0", 450.0},
  {"ant/v2_600.ant", 0, "/freq/0/cut/1/signal/90", 540.0, "values 541 and later are ignored"},
  {"ant/v2_600.ant", 0, "/freq/0/cut/1/signal/91", 99.0},
  {"ant/v2_600.ant", 0, "/freq/0/cut/1/signal/269", 99.0},
  {"ant/v2_600.ant", 0, "/freq/0/cut/1/angle/200", 200.0},
  {"ant/v2_540.ant", 0, "/ant_file_type", AFT_ANT_V2},
  {"ant/v2_540.ant", 0, "/freq/0/cut/1/signal/89", 539.0},
  {"ant/v2_540.ant", 0, "/freq/0/cut/1/signal/90", 99.0, "no line for angle 90"},
  {"ant/v3.ant", 0, "/ant_file_type", AFT_ANT_V3},
  {"ant/v3.ant", 0, "/freq/0/cut/1/signal/270", 360.5},
  {"ant/v3.ant", 0, "/freq/0/cut/1/signal/0", 450.5},
  {"ant/v3.ant", 0, "/freq/0/cut/1/signal/269", 719.5},
  {"ant/too_long.ant", 0, "/status_error", "buffer_ix = 721", "the count follows the too-long errors"},
  {"ant/too_long.ant", 0, "/ant_file_type", AFT_ANT_V3},
  {"ant/too_long.ant", 0, "/freq/0/cut/1/signal/269", 719.0},
  {"ant/blank_lines.ant", 0, "/status_error", "buffer_ix = 360", "blank lines are not counted"},
  {"ant/blank_lines.ant", 0, "/freq/0/cut/0/signal/359", 359.0},
  // 4NEC tables: one cut added, rotated to start at 0, levels from the smallest.
  {"4nec/zero_to_360.txt", 0, "/file_type", FT_4NEC},
  {"4nec/zero_to_360.txt", 0, "/freq/0/patfre", "", "a new first frequency has no text"},
  {"4nec/zero_to_360.txt", 0, "/freq/0/cut/0/patcut", "H"},
  {"4nec/zero_to_360.txt", 0, "/freq/0/cut/0/nupoin", 360},
  {"4nec/zero_to_360.txt", 0, "/freq/0/cut/0/angle/359", 359.0},
  {"4nec/zero_to_360.txt", 0, "/freq/0/cut/0/next_angle", 1024.0},
  {"4nec/zero_to_360.txt", 0, "/freq/0/cut/0/fstlst", {0.0, 359.0}},
  {"4nec/zero_to_360.txt", 0, "/freq/0/cut/0/emax", 1.0},
  {"4nec/zero_to_360.txt", 0, "/freq/0/cut/0/signal/29", 2.9},
  {"4nec/minus180_to_180.txt", 0, "/freq/0/cut/0/patcut", "V", "the first staged row is not at 0"},
  {"4nec/minus180_to_180.txt", 0, "/freq/0/cut/0/angle/0", 0.0},
  {"4nec/minus180_to_180.txt", 0, "/freq/0/cut/0/angle/359", 359.0},
  {"4nec/minus180_to_180.txt", 0, "/freq/0/cut/0/signal/0", 0.0},
  {"4nec/minus180_to_180.txt", 0, "/freq/0/cut/0/signal/181", 17.9, "181 degrees came from -179"},
  {"4nec/signals.txt", 0, "/freq/0/cut/0/signal", {1.7, 0.0, 5.5}},
  {"4nec/too_long.txt", 0, "/status_error", "4NEC file error - too long"},
  {"4nec/too_long.txt", 0, "/freq/0/cut/0/nupoin", 361, "a 0-degree row after the first: the wrap skips row 0"},
};
// clang-format on

bool same(const json& got, const json& want) {
  if (got.is_number() && want.is_number()) return std::fabs(got.get<double>() - want.get<double>()) <= 1e-4;
  if (got.is_array() && want.is_array() && got.size() == want.size()) {
    for (std::size_t i = 0; i < got.size(); ++i)
      if (!same(got[i], want[i])) return false;
    return true;
  }
  return got == want;
}

TEST(Readers, EachFactOfEachFile) {
  std::map<std::pair<std::string, int>, json> dumps;
  for (const fact& f : k_facts) {
    auto [it, fresh] = dumps.try_emplace({f.file, f.type});
    if (fresh) {
      harness h;
      if (f.type)
        h.load_text(f.type, test::read_bytes(test::data_path(f.file)));
      else
        EXPECT_TRUE(h.open_data(f.file)) << f.file;
      it->second = json(pattern_to_json(*h.st, h.status(STB_ERROR)));
    }
    const json::json_pointer where(f.where);
    ASSERT_TRUE(it->second.contains(where)) << f.file << " has no " << f.where;
    EXPECT_TRUE(same(it->second.at(where), f.value))
        << f.file << " " << f.where << ": " << it->second.at(where).dump() << ", not " << f.value.dump() << " ("
        << f.why << ")";
  }
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

// A file that announces and carries more than the record holds keeps what fits.
TEST(Readers, OversizedNsmaLoadsWhatFits) {
  std::string text = "REVNUM:,NSMA  WG16.99.050\r\nNOFREQ:,20\r\n";
  for (int f = 0; f < 14; ++f) {
    text += "PATFRE:," + std::to_string(100 + f) + "\r\nNUMCUT:,10\r\n";
    for (int c = 0; c < 10; ++c) {
      text += "PATCUT:,H" + std::to_string(c) + "\r\nPOLARI:,V/V\r\nNUPOIN:,400\r\nFSTLST:,0,399,5\r\n";
      if (f == 0 && c == 0)
        for (int p = 0; p < 400; ++p) text += std::to_string(p) + ",-" + std::to_string(p % 40) + ",\r\n";
      else
        text += "1,-2,\r\n";
    }
  }
  harness h;
  h.load_text(FT_NSMA99, text);
  EXPECT_EQ(h.st->pd.nofreq, MAX_FREQ);
  EXPECT_STREQ(h.st->pd.freq[11].patfre, "111");
  EXPECT_EQ(h.st->pd.freq[11].numcut, MAX_CUTS);
  EXPECT_STREQ(h.cut(11, 7).patcut, "H7");
  EXPECT_EQ(h.cut(0, 0).nupoin, MAX_SAMPLES);
  EXPECT_FLOAT_EQ(h.cut(0, 0).angle[361], 361.0f) << "a full cut has no end marker";
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

}  // namespace
}  // namespace lobe

#include "core/formats/nsma_reader.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "core/text/field_text.h"
#include "core/formats/file_errors.h"
#include "core/formats/file_sink.h"
#include "support/test_support.h"

namespace lobe {
namespace {

using test::harness;

void load_data(harness& h, int type, const std::string& name) {
  h.load_text(type, test::read_bytes(test::data_path("nsma/" + name)));
}

TEST(NsmaReader, NofreqWithoutUsableNumberAssumesOneAndComplains) {
  harness h;
  load_data(h, FT_NSMA99, "nofreq_zero.nsma");
  EXPECT_EQ(h.st->pd.nofreq, 1);
  EXPECT_EQ(h.st->file.file_errors, FILE_ERR_NOFREQ);
  EXPECT_EQ(h.status(STB_ERROR), "Bad file param - NOFREQ! ");
  EXPECT_EQ(h.cut(0, 0).nupoin, 3);

  harness labz;
  load_data(labz, FT_LABZ, "nofreq_zero.nsma");
  EXPECT_EQ(labz.st->file.file_errors, FILE_ERR_NOFREQ);
  EXPECT_EQ(labz.status(STB_ERROR), "") << "only NSMA files show the report";

  harness missing;
  load_data(missing, FT_NSMA99, "nofreq_missing.nsma");
  EXPECT_EQ(missing.st->pd.nofreq, 0);
  EXPECT_EQ(missing.st->file.file_errors, 0);
}

TEST(NsmaReader, LoadErrorReportCombinesFlagsAndIsShownForNsmaOnly) {
  harness h;
  load_data(h, FT_NSMA99, "both_errors.nsma");
  EXPECT_EQ(h.st->file.file_errors, FILE_ERR_NOFREQ | FILE_ERR_FSTLST);
  EXPECT_EQ(h.status(STB_ERROR), "Bad file param - NOFREQ! FSTLST!");

  harness only_fstlst;
  load_data(only_fstlst, FT_NSMA99, "fstlst_missing.nsma");
  EXPECT_EQ(only_fstlst.status(STB_ERROR), "Bad file param - FSTLST!");
  EXPECT_EQ(only_fstlst.cut(0, 0).nupoin, 3) << "points are still read";
  EXPECT_FLOAT_EQ(only_fstlst.cut(0, 0).signal[2], 1.25f);

  for (int type : {FT_LABZ, FT_ADF}) {
    harness quiet;
    load_data(quiet, type, "both_errors.labz");
    EXPECT_EQ(quiet.st->file.file_errors, FILE_ERR_NOFREQ | FILE_ERR_FSTLST);
    EXPECT_EQ(quiet.status(STB_ERROR), "");
  }
}

TEST(NsmaReader, PointsBeyondNupoinAreIgnoredAndEndMarkerFollowsLastPoint) {
  harness h;
  load_data(h, FT_NSMA99, "nupoin_short.nsma");
  const cut_data_type& c = h.cut(0, 0);
  EXPECT_EQ(c.nupoin, 5);
  EXPECT_FLOAT_EQ(c.angle[4], 4.0f);
  EXPECT_FLOAT_EQ(c.angle[5], END_MARKER);
  EXPECT_FLOAT_EQ(c.signal[4], 1.0f);
}

TEST(NsmaReader, FstlstCarriesThePeakLevelOnlyWithThreeValues) {
  harness two;
  load_data(two, FT_NSMA99, "fstlst_two_values.nsma");
  EXPECT_FLOAT_EQ(two.cut(0, 0).fstlst[0], -180.0f);
  EXPECT_FLOAT_EQ(two.cut(0, 0).fstlst[1], 179.0f);
  EXPECT_FLOAT_EQ(two.cut(0, 0).emax, 0.0f);
  EXPECT_EQ(two.st->flags.cut[0][0].sweep_completed, 0);

  harness three;
  test::temp_dir dir;
  ASSERT_TRUE(three.log.open(dir.path()));
  load_data(three, FT_LABZ, "fstlst_three_values.labz");
  EXPECT_FLOAT_EQ(three.cut(0, 0).emax, 812.5f);
  EXPECT_FLOAT_EQ(three.st->all_emax, 812.5f);
  EXPECT_EQ(three.st->flags.cut[0][0].sweep_completed, 1);
  const std::string log = test::read_bytes(dir.file("lobeview_log.txt"));
  EXPECT_NE(log.find(" - new_nsma_data - File contains: Emax 812.500000 AllEmax 812.500000\r\n"), std::string::npos)
      << log;
}

TEST(NsmaReader, TagsAnyCaseValuesVerbatim) {
  harness h;
  load_data(h, FT_NSMA99, "lowercase_tags.nsma");
  EXPECT_STREQ(h.st->pd.name, "abc-1");
  EXPECT_STREQ(h.st->pd.make, "Maker");
  EXPECT_STREQ(h.st->pd.freq[0].patfre, "900");
  EXPECT_STREQ(h.cut(0, 0).patcut, "h");
  EXPECT_STREQ(h.cut(0, 0).polari, "h/h");
  EXPECT_FLOAT_EQ(h.cut(0, 0).signal[0], 3.0f);

  harness v;
  load_data(v, FT_NSMA99, "verbatim_values.nsma");
  EXPECT_STREQ(v.st->pd.name, "Model 7 ,,  ");
  EXPECT_STREQ(v.st->pd.descr1, "  leading kept");
  EXPECT_STREQ(v.st->pd.comnt1, "") << "a tag line shorter than eight characters has no value";
  EXPECT_STREQ(v.st->pd.make, "");
}

TEST(NsmaReader, ValuesAreCutToTheFieldWidth) {
  harness h;
  load_data(h, FT_NSMA99, "long_value.nsma");
  EXPECT_EQ(std::string(h.st->pd.gunits), std::string(15, 'G'));
}

TEST(NsmaReader, DataLinesTakeBlanksAfterTheCommaAndDropSigns) {
  harness h;
  load_data(h, FT_NSMA99, "blanks_in_data.nsma");
  const cut_data_type& c = h.cut(0, 0);
  // "20 ,-3" does not match "%f,%f" and is skipped.
  EXPECT_FLOAT_EQ(c.angle[0], 10.0f);
  EXPECT_FLOAT_EQ(c.signal[0], 2.5f);
  EXPECT_FLOAT_EQ(c.angle[1], 30.0f);
  EXPECT_FLOAT_EQ(c.signal[1], 3.5f);
  EXPECT_FLOAT_EQ(c.angle[2], 40.0f);
  EXPECT_FLOAT_EQ(c.signal[2], 10.0f);
  EXPECT_FLOAT_EQ(c.angle[3], END_MARKER);
}

TEST(NsmaReader, CutsFollowPatcutAndPatfreResetsTheCutIndex) {
  harness h;
  load_data(h, FT_NSMA99, "cut_order.nsma");
  // NUMCUT and PATCUT before the first PATFRE have nowhere to go.
  EXPECT_EQ(h.st->pd.nofreq, 2);
  EXPECT_EQ(h.st->pd.freq[0].numcut, 2);
  EXPECT_STREQ(h.cut(0, 0).patcut, "H");
  EXPECT_STREQ(h.cut(0, 1).patcut, "V");
  EXPECT_EQ(h.cut(0, 1).nupoin, 2);
  EXPECT_STREQ(h.st->pd.freq[1].patfre, "470");
  EXPECT_STREQ(h.cut(1, 0).patcut, "H");
  EXPECT_EQ(h.cut(1, 0).nupoin, 1);
}

TEST(NsmaReader, KwrenvSwitchesToRectangularAndLabzSelectsTheEnvelope) {
  harness labz;
  labz.st->ed.numenv = 3;
  set_field(labz.st->ed.env[0].title, "Class B");
  set_field(labz.st->ed.env[1].title, "Class A");
  set_field(labz.st->ed.env[2].title, "Class C");
  labz.st->ed.env[2].display = 1;
  load_data(labz, FT_LABZ, "kwrenv.labz");
  EXPECT_STREQ(labz.st->view.envelope_disp_requested, "class a");
  EXPECT_EQ(labz.st->view.display_type, DISPLAY_TYPE_RECT);
  EXPECT_EQ(labz.st->ed.env[0].display, 0);
  EXPECT_EQ(labz.st->ed.env[1].display, 1);
  EXPECT_EQ(labz.st->ed.env[2].display, 0);

  harness nsma;
  nsma.st->ed.numenv = 1;
  set_field(nsma.st->ed.env[0].title, "Class A");
  load_data(nsma, FT_NSMA99, "kwrenv.nsma");
  EXPECT_EQ(nsma.st->view.display_type, DISPLAY_TYPE_RECT);
  EXPECT_EQ(nsma.st->ed.env[0].display, 0) << "plain NSMA does not select the envelope";
}

// A file that announces and carries more than the record holds keeps what fits.
TEST(NsmaReader, OversizedFileLoadsWhatFits) {
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
  const cut_data_type& big = h.cut(0, 0);
  EXPECT_EQ(big.nupoin, MAX_SAMPLES);
  EXPECT_FLOAT_EQ(big.angle[361], 361.0f) << "a full cut has no end marker";
  EXPECT_FLOAT_EQ(big.signal[361], 1.0f);
}

TEST(NsmaReader, StructureTagsWithoutTheirBlockAreIgnored) {
  harness h;
  h.load_text(FT_NSMA99,
              "REVNUM:,x\r\nPOLARI:,H/H\r\nNUPOIN:,3\r\nFSTLST:,1,2\r\n1,-1\r\nNOFREQ:,1\r\nPATFRE:,1\r\n"
              "NUMCUT:,-2\r\nPATCUT:,H\r\nNUPOIN:,-4\r\nFSTLST:,7\r\n1,-1\r\n");
  EXPECT_EQ(h.st->pd.freq[0].numcut, 0);
  EXPECT_EQ(h.cut(0, 0).nupoin, 0);
  EXPECT_FLOAT_EQ(h.cut(0, 0).fstlst[0], FSTLST_UNSET) << "one number is no FSTLST";
  EXPECT_EQ(h.st->file.file_errors, FILE_ERR_FSTLST);
}

}  // namespace
}  // namespace lobe

namespace lobe {
namespace {

// "nan", "inf" and 1e308 read as numbers, but a line of them is no point:
// skipped like a line that does not parse, so nothing off the chart is drawn
// and no "-nan" line is ever written back.
TEST(NsmaReader, PointsThatAreNoNumbersAreSkipped) {
  test::harness h;
  h.load_text(FT_NSMA99,
              "REVNUM:,NSMA  WG16.99.050\r\nNOFREQ:,1\r\nPATFRE:,900\r\nNUMCUT:,1\r\nPATCUT:,H\r\nNUPOIN:,6\r\n"
              "FSTLST:,0,5\r\n0,-1,\r\nnan,-2,\r\n1,inf,\r\n2,-1e308,\r\n3,-1500,\r\n4,-3,\r\n");
  const cut_data_type& c = h.cut(0, 0);
  ASSERT_EQ(c.nupoin, 6);
  EXPECT_EQ(c.angle[0], 0.0f);
  EXPECT_EQ(c.angle[1], 4.0f) << "the four bad lines are skipped";
  EXPECT_EQ(c.signal[1], 3.0f);
  EXPECT_EQ(c.angle[2], END_MARKER);
  test::harness p;
  p.load_text(FT_PLANET, "NAME X\r\nFREQUENCY 900\r\nHORIZONTAL 3\r\n0 0\r\n1 -nan\r\n2 1e39\r\n");
  EXPECT_EQ(p.cut(0, 0).angle[1], END_MARKER);
}

}  // namespace
}  // namespace lobe

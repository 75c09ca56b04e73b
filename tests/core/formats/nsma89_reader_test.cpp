#include "core/formats/nsma89_reader.h"

#include <gtest/gtest.h>

#include "support/test_support.h"

namespace lobe {
namespace {

using test::harness;

TEST(Nsma89Reader, HeaderByPositionAndCutsByCode) {
  harness h;
  ASSERT_TRUE(h.open_data("nsma89/basic.nsma"));
  const antenna_data_type& pd = h.st->pd;
  EXPECT_EQ(h.st->file.file_type, FT_NSMA89);
  EXPECT_STREQ(pd.make, "ACME ANTENNAS");
  EXPECT_STREQ(pd.name, "YG-450");
  EXPECT_STREQ(pd.comnt1, "5 element yagi");
  EXPECT_STREQ(pd.filnum, "F123");
  EXPECT_STREQ(pd.comnt2, "") << "NONE";
  EXPECT_STREQ(pd.dtdata, "19890312");
  EXPECT_STREQ(pd.descr1, "") << "none-given starts with none";
  EXPECT_STREQ(pd.lowfrq, "406");
  EXPECT_STREQ(pd.hghfrq, "470");
  EXPECT_STREQ(pd.freq[0].patfre, "406");
  EXPECT_STREQ(pd.mdgain, "9.1");
  EXPECT_STREQ(pd.azwidt, "52");
  ASSERT_EQ(pd.nofreq, 1);
  ASSERT_EQ(pd.freq[0].numcut, 2);
  const cut_data_type& hh = h.cut(0, 0);
  EXPECT_STREQ(hh.patcut, "H");
  EXPECT_STREQ(hh.polari, "H/H");
  EXPECT_EQ(hh.nupoin, 3);
  EXPECT_FLOAT_EQ(hh.angle[0], 0.0f) << "the data line before the first cut header is ignored";
  EXPECT_FLOAT_EQ(hh.signal[2], 6.0f);
  EXPECT_FLOAT_EQ(hh.angle[3], END_MARKER) << "the fourth point is beyond the count";
  const cut_data_type& ev = h.cut(0, 1);
  EXPECT_STREQ(ev.patcut, "V");
  EXPECT_STREQ(ev.polari, "V/V");
  EXPECT_EQ(ev.nupoin, 181);
  EXPECT_FLOAT_EQ(ev.signal[0], 20.0f);
}

TEST(Nsma89Reader, IdLinesAndFrequencyDigitRuns) {
  harness ids;
  ASSERT_TRUE(ids.open_data("nsma89/ids.nsma"));
  EXPECT_STREQ(ids.st->pd.comnt2, "Reverse pattern ID# - R123");
  EXPECT_STREQ(ids.st->pd.descr1, "Manufacturer ID# - M-77");
  EXPECT_STREQ(ids.st->pd.lowfrq, "450");
  EXPECT_STREQ(ids.st->pd.hghfrq, "5") << "a decimal point ends a digit run";

  harness one;
  ASSERT_TRUE(one.open_data("nsma89/one_frequency.nsma"));
  EXPECT_STREQ(one.st->pd.lowfrq, "450");
  EXPECT_STREQ(one.st->pd.hghfrq, "NA");

  harness blank;
  ASSERT_TRUE(blank.open_data("nsma89/blank_header_line.nsma"));
  EXPECT_STREQ(blank.st->pd.name, "");
  EXPECT_STREQ(blank.st->pd.comnt1, "MODEL") << "an empty line shifts every later value";
  EXPECT_STREQ(blank.st->pd.hghfrq, "500");
}

TEST(Nsma89Reader, UnknownCodesAndTheNinthCut) {
  harness h;
  ASSERT_TRUE(h.open_data("nsma89/unknown_code.nsma"));
  ASSERT_EQ(h.st->pd.freq[0].numcut, 1);
  EXPECT_STREQ(h.cut(0, 0).patcut, "");
  EXPECT_STREQ(h.cut(0, 0).polari, "");
  EXPECT_EQ(h.cut(0, 0).nupoin, 5);

  harness nine;
  ASSERT_TRUE(nine.open_data("nsma89/nine_cuts.nsma"));
  ASSERT_EQ(nine.st->pd.freq[0].numcut, MAX_CUTS);
  EXPECT_FLOAT_EQ(nine.cut(0, 7).angle[0], 7.0f);
  EXPECT_FLOAT_EQ(nine.cut(0, 7).signal[1], 7.0f) << "the ninth cut's points do not land in the eighth";
  EXPECT_FLOAT_EQ(nine.cut(0, 7).angle[2], END_MARKER);
}

}  // namespace
}  // namespace lobe

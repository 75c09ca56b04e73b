#include "core/record/pattern_record.h"

#include <gtest/gtest.h>

#include <cstring>

#include "core/text/field_text.h"
#include "core/record/lobe_state.h"

namespace lobe {
namespace {

TEST(PatternRecord, ClearingCutDataTouchesOnlyCutsInUseAndTheFirst360Slots) {
  auto st = make_lobe_state();
  antenna_data_type& pd = st->pd;
  pd.nofreq = 1;
  pd.freq[0].numcut = 1;
  pd.freq[0].cut[0].signal[360] = 5.0f;
  pd.freq[0].cut[1].signal[0] = 6.0f;
  pd.freq[1].cut[0].signal[0] = 7.0f;
  clear_cut_data(pd);
  EXPECT_FLOAT_EQ(pd.freq[0].cut[0].signal[0], NO_SIG_DATA);
  EXPECT_FLOAT_EQ(pd.freq[0].cut[0].signal[359], NO_SIG_DATA);
  EXPECT_FLOAT_EQ(pd.freq[0].cut[0].signal[360], 5.0f);
  EXPECT_FLOAT_EQ(pd.freq[0].cut[1].signal[0], 6.0f);
  EXPECT_FLOAT_EQ(pd.freq[1].cut[0].signal[0], 7.0f);
  // A count past the table (a bad file) clears no further than the table.
  pd.freq[0].numcut = 100;
  for (int a = 0; a < MAX_SAMPLES; ++a) pd.freq[1].cut[0].angle[a] = pd.freq[1].cut[0].signal[a] = 1.0f + a;
  pd.nofreq = 1;
  const freq_data_type next = pd.freq[1];
  clear_cut_data(pd);
  EXPECT_EQ(std::memcmp(&next, &pd.freq[1], sizeof next), 0);
}

TEST(PatternRecord, HeaderTableCoversEveryFieldWithItsWidth) {
  EXPECT_EQ(header_fields().size(), 33u);
  EXPECT_EQ(header_field_by_tag("frtoba")->size, sizeof(antenna_data_type::front_to_back));
  EXPECT_STREQ(header_field_by_tag("ELTILT")->name, "tilt");
  EXPECT_EQ(header_field_by_name("contyp")->size, 84u);
  EXPECT_EQ(header_field_by_tag("PATFRE"), nullptr);
  auto st = make_lobe_state();
  set_field(field_of(st->pd, *header_field_by_name("atvswr")), std::string(79, 'v'));
  EXPECT_EQ(std::string(st->pd.atvswr), std::string(15, 'v'));
}

TEST(PatternRecord, AddingFrequenciesAndCutsStopsAtTheLimits) {
  auto st = make_lobe_state();
  for (int f = 0; f < MAX_FREQ; ++f) ASSERT_TRUE(add_freq_record(st->pd));
  EXPECT_FALSE(add_freq_record(st->pd));
  EXPECT_EQ(st->pd.nofreq, MAX_FREQ);
  st->flags.cut[2][0].hide = 1;
  for (int c = 0; c < MAX_CUTS; ++c) ASSERT_TRUE(add_cut_record(st->pd, st->flags, 2));
  EXPECT_FALSE(add_cut_record(st->pd, st->flags, 2));
  EXPECT_FALSE(add_cut_record(st->pd, st->flags, MAX_FREQ));
  const cut_data_type& c = st->pd.freq[2].cut[0];
  EXPECT_FLOAT_EQ(c.emax, 1.0f);
  EXPECT_EQ(c.nupoin, 0);
  EXPECT_EQ(st->flags.cut[2][0].hide, 0);
}

}  // namespace
}  // namespace lobe

#include "core/formats/planet_format.h"

#include <gtest/gtest.h>

#include "core/text/field_text.h"
#include "core/formats/file_sink.h"
#include "support/test_support.h"

namespace lobe {
namespace {

using test::harness;

TEST(PlanetWriter, WritesTheFileItReadBackByteForByte) {
  harness h;
  ASSERT_TRUE(h.open_data("planet/basic.pla"));
  string_sink out;
  write_planet_file(*h.st, out, h.io);
  EXPECT_EQ(out.bytes, test::read_bytes(test::data_path("planet/golden.pla")));
  ASSERT_EQ(h.report.messages.size(), 1u);
  EXPECT_EQ(h.report.messages[0].text,
            "The Planet file format can only save one Horizontal and one Vertical cut. The first active ones found "
            "will be saved.");
  EXPECT_EQ(h.report.messages[0].kind, message_kind::save_notice);
}

// Two frequencies of H and V cuts; 470's cuts are 3 dB lower than 450's.
void two_frequencies(lobe_state& st) {
  clear_planet_header_data(st.pd, st.all_emax);
  st.pd.nofreq = 2;
  const char* names[] = {"H", "V", "AZ", "el"};
  for (int f = 0; f < 2; ++f) {
    set_field(st.pd.freq[f].patfre, f ? "470" : "450");
    st.pd.freq[f].numcut = 4;
    for (int c = 0; c < 4; ++c) {
      cut_data_type& cut = st.pd.freq[f].cut[c];
      set_field(cut.patcut, names[c]);
      set_field(cut.polari, f ? "H/H" : "V/V");
      cut.nupoin = 2;
      cut.emax = 100.0f;
      for (int p = 0; p < 2; ++p) {
        cut.angle[p] = static_cast<float>(p * 10 + c);
        cut.signal[p] = 3.5f * static_cast<float>(f + 1);
      }
    }
  }
}

TEST(PlanetWriter, FirstShownCutsPositiveLevels) {
  harness h;
  two_frequencies(*h.st);
  test::hide_cuts(*h.st, {{0, 0}, {0, 1}});
  string_sink out;
  write_planet_file(*h.st, out, h.io);
  // Frequency 0's H and V cuts are hidden: its AZ and el cuts are the first shown.
  EXPECT_NE(out.bytes.find("FREQUENCY 450\r\n"), std::string::npos);
  EXPECT_NE(out.bytes.find("POLARIZATION V/V\r\n"), std::string::npos);
  EXPECT_NE(out.bytes.find("HORIZONTAL 2\r\n2.000 3.500\r\n12.000 3.500\r\nVERTICAL 2\r\n3.000 3.500\r\n13.000 3.500\r\n"),
            std::string::npos)
      << out.bytes;
  EXPECT_EQ(out.bytes.find("-"), std::string::npos) << "levels are positive";
}

TEST(PlanetWriter, ScaleToStrongestAndMissingHorizontal) {
  harness h;
  two_frequencies(*h.st);
  h.st->pd.freq[0].cut[0].nupoin = 0;  // an empty cut is no candidate
  h.st->pd.freq[0].cut[2].nupoin = 0;
  test::hide_cuts(*h.st, {{1, 0}, {1, 2}});
  h.st->view.scale_to_max_mode = 1;
  h.st->all_emax = 1000.0f;
  string_sink out;
  write_planet_file(*h.st, out, h.io);
  // No horizontal cut qualifies: frequency and polarisation come from the vertical one.
  EXPECT_NE(out.bytes.find("FREQUENCY 450\r\n"), std::string::npos);
  EXPECT_EQ(out.bytes.find("HORIZONTAL"), std::string::npos);
  EXPECT_NE(out.bytes.find("VERTICAL 2\r\n1.000 23.500\r\n11.000 23.500\r\n"), std::string::npos) << out.bytes;

  test::hide_cuts(*h.st, {{0, 1}, {0, 3}, {1, 0}, {1, 1}, {1, 2}, {1, 3}});
  string_sink bare;
  write_planet_file(*h.st, bare, h.io);
  EXPECT_NE(bare.bytes.find("FREQUENCY \r\n"), std::string::npos);
  EXPECT_NE(bare.bytes.find("POLARIZATION \r\nCOMMENT \r\n"), std::string::npos);
  EXPECT_EQ(bare.bytes.rfind("COMMENT \r\n"), bare.bytes.size() - 10) << "header lines only";
}

}  // namespace
}  // namespace lobe

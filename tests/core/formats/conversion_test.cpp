// Every readable format converted to every writable one and read back: the
// values the target format can carry must survive.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "core/formats/antenna_loader.h"
#include "core/text/field_text.h"
#include "core/formats/file_types.h"
#include "core/formats/save_routing.h"
#include "support/test_support.h"

namespace lobe {
namespace {

using test::harness;

constexpr float k_three_decimals = 0.0006f;

bool horizontal(const cut_data_type& c) { return equals_nocase(c.patcut, "H") || equals_nocase(c.patcut, "AZ"); }

void expect_same_points(const cut_data_type& a, const cut_data_type& b, const std::string& where) {
  ASSERT_EQ(b.nupoin, a.nupoin) << where;
  for (int p = 0; p < a.nupoin; ++p) {
    ASSERT_NEAR(b.angle[p], a.angle[p], k_three_decimals) << where << " point " << p;
    ASSERT_NEAR(b.signal[p], a.signal[p], k_three_decimals) << where << " point " << p;
  }
}

void expect_nsma_copy(const lobe_state& src, const lobe_state& got, bool labz) {
  for (const auto& f : header_fields()) EXPECT_STREQ(field_text(got.pd, f), field_text(src.pd, f)) << f.name;
  ASSERT_EQ(got.pd.nofreq, src.pd.nofreq);
  for (int f = 0; f < src.pd.nofreq; ++f) {
    EXPECT_STREQ(got.pd.freq[f].patfre, src.pd.freq[f].patfre);
    ASSERT_EQ(got.pd.freq[f].numcut, src.pd.freq[f].numcut);
    for (int c = 0; c < src.pd.freq[f].numcut; ++c) {
      const cut_data_type& a = src.pd.freq[f].cut[c];
      const cut_data_type& b = got.pd.freq[f].cut[c];
      EXPECT_STREQ(b.patcut, a.patcut);
      EXPECT_STREQ(b.polari, a.polari);
      EXPECT_NEAR(b.emax, labz ? a.emax : 0.0f, k_three_decimals);
      expect_same_points(a, b, "cut " + std::to_string(f) + "/" + std::to_string(c));
    }
  }
}

void expect_planet_copy(const lobe_state& src, const lobe_state& got) {
  const cut_data_type* h = nullptr;
  const cut_data_type* v = nullptr;
  const char* patfre = "";
  for (int f = 0; f < src.pd.nofreq; ++f)
    for (int c = 0; c < src.pd.freq[f].numcut; ++c) {
      const cut_data_type& cut = src.pd.freq[f].cut[c];
      if (cut.nupoin == 0) continue;
      if (horizontal(cut) && !h) {
        h = &cut;
        patfre = src.pd.freq[f].patfre;
      }
      if (!horizontal(cut) && !v) v = &cut;
    }
  ASSERT_NE(h, nullptr);
  for (const char* name : {"name", "make", "azwidt", "elwidt", "front_to_back", "tilt", "comnt1"})
    EXPECT_STREQ(field_text(got.pd, *header_field_by_name(name)), field_text(src.pd, *header_field_by_name(name)));
  // Planet has no GUNITS: the gain takes its unit along, unless it came from Planet.
  std::string gain = src.pd.mdgain;
  if (src.file.loaded_file_type != FT_PLANET && !gain.empty())
    gain += std::string(src.pd.gunits).rfind("DBI", 0) == 0 ? " dBi" : " dBd";
  EXPECT_EQ(std::string(got.pd.mdgain), gain);
  EXPECT_STREQ(got.pd.lowfrq, patfre);
  EXPECT_STREQ(got.pd.freq[0].patfre, patfre);
  ASSERT_EQ(got.pd.nofreq, 1);
  ASSERT_EQ(got.pd.freq[0].numcut, v ? 2 : 1);
  EXPECT_STREQ(got.pd.freq[0].cut[0].polari, h->polari);
  expect_same_points(*h, got.pd.freq[0].cut[0], "horizontal");
  if (v) expect_same_points(*v, got.pd.freq[0].cut[1], "vertical");
}

void expect_ant_copy(const lobe_state& src, const lobe_state& got, int version) {
  const freq_data_type& fr = src.pd.freq[0];
  std::vector<const cut_data_type*> hs, vs;
  for (int c = 0; c < fr.numcut; ++c) (horizontal(fr.cut[c]) ? hs : vs).push_back(&fr.cut[c]);
  // What the file holds decides how it reads back.
  std::vector<float> values;
  for (const auto* h : hs)
    for (int i = 0; i < 360; ++i) values.push_back(h->signal[i]);
  if (version != AFT_ANT_V1)
    for (const auto* v : vs) {
      for (int i = 270; i < 360; ++i) values.push_back(v->signal[i]);
      for (int i = 0; i <= (version == AFT_ANT_V2 ? 90 : 269); ++i) values.push_back(v->signal[i]);
    }
  ASSERT_GE(values.size(), 360u);
  const int n = values.size() >= 720 ? 720 : values.size() >= 540 ? 541 : 360;
  EXPECT_EQ(got.file.ant_file_type, n == 720 ? 3 : n == 541 ? 2 : 1);
  const cut_data_type& gh = got.pd.freq[0].cut[0];
  for (int i = 0; i < 360; ++i) ASSERT_NEAR(gh.signal[i], values[static_cast<std::size_t>(i)], k_three_decimals) << i;
  if (n == 360) return;
  const cut_data_type& gv = got.pd.freq[0].cut[1];
  for (int k = 0; k < (n == 720 ? 360 : 181); ++k) {
    const int angle = (270 + k) % 360;
    ASSERT_NEAR(gv.signal[angle], values[static_cast<std::size_t>(360 + k)], k_three_decimals) << angle;
  }
  if (n == 541) {
    EXPECT_FLOAT_EQ(gv.signal[180], 99.0f);
  }
}

struct target {
  const char* ext;
  int ant_version;
};

class Conversion : public testing::TestWithParam<const char*> {};

TEST_P(Conversion, ReadsBackWhatTheTargetCarries) {
  const std::string source = test::data_path(std::string("convert/") + GetParam());
  for (const target& t : {target{"nsma", 0}, target{"adf", 0}, target{"labz", 0}, target{"pla", 0},
                          target{"ant", AFT_ANT_V1}, target{"ant", AFT_ANT_V2}, target{"ant", AFT_ANT_V3}}) {
    SCOPED_TRACE(std::string(GetParam()) + " -> " + t.ext + " " + std::to_string(t.ant_version));
    harness src;
    ASSERT_TRUE(open_file(*src.st, src.log, source, dialog_extension(source)).ok);
    test::temp_dir dir;
    const std::string out = dir.file(std::string("out.") + t.ext);
    src.st->file.ant_file_type = t.ant_version;
    ASSERT_TRUE(save_file(*src.st, src.log, out).ok);
    harness got;
    ASSERT_TRUE(open_file(*got.st, got.log, out, t.ext).ok);
    const std::string ext = t.ext;
    if (ext == "pla")
      expect_planet_copy(*src.st, *got.st);
    else if (ext == "ant")
      expect_ant_copy(*src.st, *got.st, t.ant_version);
    else
      expect_nsma_copy(*src.st, *got.st, ext == "labz");
  }
}

// A record of random values in every field, the largest there can be, written
// as NSMA and LABZ and read back.
TEST(NsmaWriter, EverythingWrittenReadsBackToThreeDecimals) {
  std::mt19937 rng(20261205);
  std::uniform_real_distribution<float> angle(-180.0f, 180.0f), level(0.0f, 60.0f), peak(0.001f, 5000.0f);
  for (const char* ext : {"nsma", "labz"}) {
    harness h;
    clear_planet_header_data(h.st->pd, h.st->all_emax);
    for (const auto& f : header_fields()) set_field(field_of(h.st->pd, f), std::string(f.name) + " value, with comma ");
    for (int f = 0; f < MAX_FREQ; ++f) {
      set_field(h.st->pd.freq[f].patfre, std::to_string(400 + f * 10) + ".5");
      for (int c = 0; c <= f % MAX_CUTS; ++c) {
        std::vector<std::pair<float, float>> pts((f * 37 + c * 11) % (MAX_SAMPLES + 1));
        for (auto& p : pts) p = {angle(rng), level(rng)};
        test::put_cut(*h.st, f, c, c % 2 ? "V" : "H", pts);
        cut_data_type& cut = h.st->pd.freq[f].cut[c];
        set_field(cut.polari, "V/V");
        cut.fstlst[0] = angle(rng);
        cut.fstlst[1] = angle(rng);
        cut.emax = peak(rng);
      }
    }
    test::temp_dir dir;
    const std::string out = dir.file(std::string("out.") + ext);
    ASSERT_TRUE(save_file(*h.st, h.log, out).ok);
    harness back;
    ASSERT_TRUE(open_file(*back.st, back.log, out, ext).ok);
    EXPECT_EQ(back.st->file.file_errors, 0);
    expect_nsma_copy(*h.st, *back.st, std::string(ext) == "labz");
    for (int f = 0; f < MAX_FREQ; ++f)
      for (int c = 0; c < h.st->pd.freq[f].numcut; ++c)
        if (h.cut(f, c).nupoin > 0) {
          EXPECT_NEAR(back.cut(f, c).fstlst[0], h.cut(f, c).fstlst[0], k_three_decimals);
          EXPECT_NEAR(back.cut(f, c).fstlst[1], h.cut(f, c).fstlst[1], k_three_decimals);
        }
  }
}

INSTANTIATE_TEST_SUITE_P(EveryReadableFormat, Conversion,
                         testing::Values("src.nsma", "src.adf", "src.labz", "src.pla", "src.ant", "src89.nsma",
                                         "src.txt"),
                         [](const testing::TestParamInfo<const char*>& info) {
                           std::string name = info.param;
                           for (char& c : name)
                             if (c == '.') c = '_';
                           return name;
                         });

}  // namespace
}  // namespace lobe

// A measured pattern against a reference: itself, shifted, across formats,
// against a reference with fewer cuts or another frequency.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "core/analysis/cut_verdicts.h"
#include "core/analysis/pattern_compare.h"
#include "core/formats/envelope_file.h"
#include "core/text/field_text.h"
#include "support/test_support.h"

namespace lobe {
namespace {

constexpr double PI = 3.14159265358979323846;

// A beam of power cos^4 at 0 degrees over a -25 dB back, `shift` dB further down, as
// a horizontal cut and a vertical one at `mhz`.
void put_panel(lobe_state& st, int f, const char* mhz, double shift) {
  auto level = [shift](int a) {
    const double c = std::cos(a * PI / 180.0);
    const double db = c > 0.0 ? std::max(-25.0, 40.0 * std::log10(std::max(c, 1e-6))) : -25.0;
    return shift - db;
  };
  test::put_full_cut(st, f, 0, "H", level);
  test::put_full_cut(st, f, 1, "V", level);
  set_field(st.pd.freq[f].patfre, mhz);
}

TEST(PatternCompare, ItselfShiftedAndAlignedOnThePeak) {
  test::harness m, r;
  put_panel(*m.st, 0, "900", 0.0);
  put_panel(*r.st, 0, "900", 0.0);
  const pattern_comparison same = compare_patterns(m.st->pd, m.st->flags, r.st->pd, {});
  ASSERT_EQ(same.matched.size(), 2u);
  EXPECT_TRUE(same.pass());
  for (const cut_comparison& c : same.matched) {
    EXPECT_EQ(c.main_lobe.rms_db, 0.0);
    EXPECT_EQ(c.above_floor.largest_db, 0.0);
    EXPECT_EQ(c.ref_cut, c.cut) << "H with H, V with V";
    for (const parameter_delta& p : c.parameters) {
      if (p.difference()) {
        EXPECT_EQ(*p.difference(), 0.0) << p.name;
      }
    }
  }
  EXPECT_TRUE(same.unmatched_measured.empty() && same.unmatched_reference.empty());

  // 2 dB weaker everywhere: 2 dB off, failing a 1 dB tolerance, equal below each peak.
  test::harness weak;
  put_panel(*weak.st, 0, "900", 2.0);
  const pattern_comparison off = compare_patterns(weak.st->pd, weak.st->flags, r.st->pd, {false, 1.0, 0.01});
  ASSERT_EQ(off.matched.size(), 2u);
  EXPECT_FALSE(off.pass());
  EXPECT_NEAR(*off.matched[0].main_lobe.rms_db, 2.0, 1e-6);
  EXPECT_NEAR(*off.matched[0].main_lobe.largest_db, -2.0, 1e-6) << "measured minus reference, in gain";
  EXPECT_TRUE(compare_patterns(weak.st->pd, weak.st->flags, r.st->pd, {false, 2.5, 0.01}).pass());
  const pattern_comparison aligned = compare_patterns(weak.st->pd, weak.st->flags, r.st->pd, {true, 1.0, 0.01});
  EXPECT_TRUE(aligned.pass());
  EXPECT_NEAR(*aligned.matched[0].main_lobe.rms_db, 0.0, 1e-6);
}

TEST(PatternCompare, TheMainLobeIsTheReferencesTenDbBeamwidth) {
  test::harness m, r;
  put_panel(*r.st, 0, "900", 0.0);
  put_panel(*m.st, 0, "900", 0.0);
  // 6 dB off at 120 degrees only: outside the main lobe, inside the -30 dB floor.
  m.st->pd.freq[0].cut[0].signal[120] += 6.0f;
  const cut_comparison c = compare_patterns(m.st->pd, m.st->flags, r.st->pd, {}).matched.at(0);
  EXPECT_EQ(c.main_lobe.rms_db, 0.0);
  EXPECT_NEAR(*c.above_floor.largest_db, -6.0, 1e-5);
  EXPECT_EQ(c.above_floor.largest_angle, 120.0);
  EXPECT_TRUE(c.pass);
  // Power cos^4: the 10 dB beamwidth is 2 acos(10^(-10/40)), 111.6 degrees.
  EXPECT_EQ(c.main_lobe.points, 111);
}

TEST(PatternCompare, MatchingByFrequencyKindAndWhatIsLeftOver) {
  test::harness m, r;
  put_panel(*m.st, 0, "900", 0.0);
  put_panel(*m.st, 1, "1800", 0.0);
  put_panel(*r.st, 0, "905", 0.0);  // within 1 % of 900
  r.st->pd.freq[0].numcut = 1;      // the reference has no vertical cut
  put_panel(*r.st, 1, "2000", 0.0);  // too far from 1800
  const pattern_comparison pc = compare_patterns(m.st->pd, m.st->flags, r.st->pd, {});
  ASSERT_EQ(pc.matched.size(), 1u);
  EXPECT_EQ((std::pair{pc.matched[0].ref_freq, pc.matched[0].ref_cut}), (std::pair{0, 0}));
  EXPECT_EQ(pc.unmatched_measured, (std::vector<std::pair<int, int>>{{0, 1}, {1, 0}, {1, 1}}));
  EXPECT_EQ(pc.unmatched_reference, (std::vector<std::pair<int, int>>{{1, 0}, {1, 1}}));
  EXPECT_FALSE(pc.pass()) << "matched cuts pass, but a pass needs every shown cut";
}

// The word a cut's row shows: a failure of either check first, then what
// could not be checked, then a pass; nothing without a check.
TEST(CutVerdicts, TheWordWeighsBothChecks) {
  auto ed = std::make_unique<envelopes_type>();
  read_envelope_image(*ed, "envelope,Loose\r0,180,0\renvelope,Tight\r0,10,0\r10,180,3\r");
  test::harness m, r;
  put_panel(*m.st, 0, "900", 0.0);
  put_panel(*m.st, 1, "1800", 0.0);
  put_panel(*r.st, 0, "900", 0.0);
  auto words = [&](const envelope_data_type* mask, const antenna_data_type* ref) {
    std::vector<std::string> out;
    for (const cut_verdict& v : cut_verdicts(m.st->pd, m.st->flags, mask, ref)) out.emplace_back(v.word());
    return out;
  };
  using words_t = std::vector<std::string>;
  EXPECT_EQ(words(nullptr, nullptr), (words_t{"", "", "", ""}));
  EXPECT_EQ(words(&ed->env[0], nullptr), (words_t{"pass", "pass", "pass", "pass"}));
  EXPECT_EQ(words(&ed->env[1], nullptr), (words_t{"fail", "fail", "fail", "fail"}));
  EXPECT_EQ(words(&ed->env[0], &r.st->pd), (words_t{"pass", "pass", "no reference", "no reference"}));
  EXPECT_EQ(words(&ed->env[1], &r.st->pd), (words_t{"fail", "fail", "fail", "fail"}));
  put_panel(*r.st, 1, "1800", 3.0);  // the reference 3 dB weaker at 1800
  EXPECT_EQ(words(nullptr, &r.st->pd), (words_t{"pass", "pass", "fail", "fail"}));

  m.st->flags.cut[0][1].hide = 1;  // a hidden cut has no verdict
  const std::vector<cut_verdict> shown = cut_verdicts(m.st->pd, m.st->flags, &ed->env[1], &r.st->pd);
  ASSERT_EQ(shown.size(), 3u);
  // Worst at 11 degrees, the first past the step: 40 log10(cos 11) = -0.32 dB against 3 dB down.
  EXPECT_EQ(verdict_summary(m.st->pd, shown[0]), "900 H : fail, mask -2.68 dB, ref 0.00 dB");
}

}  // namespace
}  // namespace lobe

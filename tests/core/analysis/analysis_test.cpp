// The parameters read off a cut, against patterns whose values are known in
// closed form, sampled as files sample them; and the edge cases.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <functional>

#include "core/analysis/cut_parameters.h"
#include "core/analysis/library_lint.h"
#include "core/text/c_numeric.h"
#include "core/text/field_text.h"
#include "support/test_support.h"

namespace lobe {
namespace {

constexpr double PI = 3.14159265358979323846;
double rad(double deg) { return deg * PI / 180.0; }

// A cut of `pattern` (dB relative to the peak, <= 0) sampled every `step`
// degrees from `from` over `span`, stored as files store it.
cut_data_type sampled(const char* patcut, const std::function<double(double)>& pattern, double step, double from,
                      double span) {
  test::harness h;
  std::vector<std::pair<float, float>> pts;
  for (double a = from; a < from + span - 1e-9 && pts.size() < MAX_SAMPLES; a += step)
    pts.emplace_back(static_cast<float>(a), static_cast<float>(-std::max(pattern(a), -60.0)));
  test::put_cut(*h.st, 0, 0, patcut, pts);
  return h.st->pd.freq[0].cut[0];
}
// Whole circle at `step` when it fits the record, else the front half.
cut_data_type sampled(const char* patcut, const std::function<double(double)>& pattern, double step) {
  return 360.0 / step <= MAX_SAMPLES ? sampled(patcut, pattern, step, -180.0, 360.0)
                                     : sampled(patcut, pattern, step, -90.0, 180.0 + step);
}

// cos^n field (power cos^2n) in front, nothing behind: HPBW = 2 acos(2^(-1/(2n))).
std::function<double(double)> cos_n(double n, double centre = 0.0) {
  return [=](double a) {
    const double c = std::cos(rad(a - centre));
    return c <= 0.0 ? -60.0 : 20.0 * n * std::log10(c);
  };
}
// A uniform broadside array of `n` elements half a wavelength apart.
std::function<double(double)> uniform_array(int n) {
  return [=](double a) {
    const double psi = PI * std::sin(rad(a));
    const double af = std::fabs(psi) < 1e-12 ? 1.0 : std::sin(n * psi / 2) / (n * std::sin(psi / 2));
    return 20.0 * std::log10(std::max(std::fabs(af), 1e-3));
  };
}
// The 3GPP TR 38.901 element, horizontal: -min(12 (phi/65)^2, 30); 65 degrees
// wide at 3 dB, a little wider at half power.
double element_3gpp(double a) { return -std::min(12.0 * std::pow(a / 65.0, 2), 30.0); }
const double k_3gpp_hpbw = 2 * 65 * std::sqrt(HALF_POWER_LEVEL_DB / 12);
// Half-power beamwidth of a cos^n field.
double cos_n_hpbw(double n) { return 2 * std::acos(std::pow(2.0, -1.0 / (2 * n))) * 180 / PI; }

TEST(CutParameters, BeamwidthsOfClosedFormPatterns) {
  const struct {
    const char* name;
    std::function<double(double)> pattern;
    double hpbw;
  } rows[] = {
      {"cos^1", cos_n(1), cos_n_hpbw(1)},
      {"cos^4", cos_n(4), cos_n_hpbw(4)},
      {"cos^20", cos_n(20), cos_n_hpbw(20)},
      {"3GPP element", element_3gpp, k_3gpp_hpbw},
  };
  for (const auto& r : rows)
    for (double step : {0.5, 1.0, 5.0}) {
      SCOPED_TRACE(std::string(r.name) + " every " + std::to_string(step));
      const cut_parameters p = analyse_cut(sampled("H", r.pattern, step));
      ASSERT_TRUE(p.hpbw);
      EXPECT_NEAR(*p.hpbw, r.hpbw, step < 2 ? 0.05 : 0.6);
      EXPECT_NEAR(*p.hpbw_left, -r.hpbw / 2, step < 2 ? 0.05 : 0.3);
      EXPECT_NEAR(*p.peak_angle, 0.0, 1e-9);
      EXPECT_NEAR(*p.squint_mid, 0.0, 1e-9);
    }
  // The 3GPP element's back: 30 dB at 180, and over 180 +/- 30.
  const cut_parameters e = analyse_cut(sampled("H", element_3gpp, 1.0));
  EXPECT_NEAR(*e.front_to_back, 30.0, 1e-6);
  EXPECT_NEAR(*e.front_to_back_total, 30.0, 1e-6);
  EXPECT_NEAR(*e.front_to_side_left, 12.0 * std::pow(90 / 65.0, 2), 0.01);
  EXPECT_NEAR(*e.bw10, 2 * 65 * std::sqrt(10.0 / 12), 0.05);
}

TEST(CutParameters, SidelobesAndNullsOfAUniformArray) {
  for (int n : {8, 12})
    for (double step : {0.5, 1.0}) {
      SCOPED_TRACE(std::to_string(n) + " elements every " + std::to_string(step));
      // The first sidelobe between the first and second nulls (sin = 2/n, 4/n), found finely.
      const double null1 = std::asin(2.0 / n) * 180 / PI, null2 = std::asin(4.0 / n) * 180 / PI;
      double lobe = -100, lobe_at = 0;
      for (double a = null1; a <= null2; a += 0.0005)
        if (uniform_array(n)(a) > lobe) lobe = uniform_array(n)(a), lobe_at = a;
      const cut_parameters p = analyse_cut(sampled("H", uniform_array(n), step, -90.0, 180.0 + step));
      ASSERT_TRUE(p.first_sidelobe_right && p.first_sidelobe_left);
      EXPECT_NEAR(p.first_sidelobe_right->level, lobe, 0.05);
      EXPECT_NEAR(p.first_sidelobe_left->level, lobe, 0.05);
      EXPECT_NEAR(p.first_sidelobe_right->angle, lobe_at, step / 2);
      EXPECT_NEAR(p.strongest_sidelobe->level, lobe, 0.05);
      EXPECT_NEAR(*p.first_null_right, null1, step / 2 + 1e-9);
      EXPECT_NEAR(*p.first_null_left, -null1, step / 2 + 1e-9);
    }
}

TEST(CutParameters, TiltSquintAndTheVerticalCutsOwnValues) {
  // A beam 6.3 degrees below the horizon over a floor 45 dB down, with a
  // lobe 12 dB down 12 degrees above the beam.
  const auto beam = [](double a) {
    const double main = cos_n(400, 6.3)(a);
    const double upper = -12.0 + cos_n(200, 6.3 - 12.0)(a);
    return std::max({main, upper, -45.0});
  };
  const cut_parameters v = analyse_cut(sampled("V", beam, 1.0));
  EXPECT_TRUE(v.vertical);
  EXPECT_NEAR(*v.tilt, 6.3, 0.05);
  ASSERT_TRUE(v.upper_sidelobe_suppression);
  EXPECT_NEAR(*v.upper_sidelobe_suppression, 12.0, 0.1);
  ASSERT_TRUE(v.first_lower_null_db);
  EXPECT_NEAR(*v.first_lower_null_db, -45.0, 0.1);
  EXPECT_FALSE(v.squint_mid);
  // A horizontal beam turned 4 degrees, stored 0..359: the wrap at 0 is no edge.
  const cut_parameters h = analyse_cut(sampled("H", cos_n(4, -4.0), 1.0, 0.0, 360.0));
  EXPECT_NEAR(*h.squint_mid, -4.0, 0.05);
  EXPECT_NEAR(*h.hpbw, cos_n_hpbw(4), 0.05);
  // And one pointing backwards: its beam spans the join at 180.
  const cut_parameters back =
      analyse_cut(sampled("H", [](double a) { return element_3gpp(std::remainder(a - 180, 360)); }, 1.0));
  EXPECT_NEAR(*back.hpbw, k_3gpp_hpbw, 0.05);
  EXPECT_NEAR(*back.hpbw_left, 180 - k_3gpp_hpbw / 2, 0.05);
}

TEST(CutParameters, OmniSinglePointGapsAndOpenEnds) {
  const cut_parameters omni = analyse_cut(sampled("H", [](double a) { return -1.4 + 1.4 * std::cos(rad(3 * a)); }, 1.0));
  EXPECT_TRUE(omni.omni);
  EXPECT_FALSE(omni.hpbw) << "no beamwidth, and no error";
  EXPECT_NEAR(omni.ripple_db, 2.8, 0.01);

  test::harness one;
  test::put_cut(*one.st, 0, 0, "H", {{10, 2}});
  const cut_parameters single = analyse_cut(one.cut(0, 0));
  EXPECT_EQ(single.points, 1);
  EXPECT_FLOAT_EQ(*single.peak_angle, 10.0);
  EXPECT_FLOAT_EQ(*single.peak_db, -2.0) << "the peak as stored: not normalised";
  EXPECT_FALSE(single.hpbw);

  // No reading (99 dB) where the right crossing would be: only the left is known.
  cut_data_type gap = sampled("H", element_3gpp, 1.0);
  for (int a = 30; a < 36; ++a) gap.signal[a + 180] = 99.0f;
  const cut_parameters g = analyse_cut(gap);
  EXPECT_FALSE(g.hpbw_right);
  EXPECT_NEAR(*g.hpbw_left, -k_3gpp_hpbw / 2, 0.05);
  EXPECT_FALSE(g.hpbw);
  // A half-plane cut has no back.
  const cut_parameters half = analyse_cut(sampled("H", element_3gpp, 1.0, -90.0, 181.0));
  EXPECT_FALSE(half.closed);
  EXPECT_FALSE(half.front_to_back);
  EXPECT_NEAR(*half.hpbw, k_3gpp_hpbw, 0.05);
}

TEST(CutParameters, PairsDirectivityAndTheHeadersClaims) {
  test::harness h;
  antenna_data_type& pd = h.st->pd;
  auto put = [&](int c, const char* patcut, const char* polari, const std::function<double(double)>& pattern, double floor) {
    const cut_data_type cut = sampled(patcut, pattern, 1.0);
    pd.freq[0].cut[c] = cut;
    set_field(pd.freq[0].cut[c].polari, polari);
    for (int p = 0; p < cut.nupoin; ++p) pd.freq[0].cut[c].signal[p] += static_cast<float>(floor);
  };
  pd.nofreq = 1;
  pd.freq[0].numcut = 3;
  put(0, "H", "V/V", element_3gpp, 0.0);
  put(1, "H", "V/H", [](double) { return 0.0; }, 20.0);  // cross-polar: 20 dB under the co-polar peak
  put(2, "V", "V/V", cos_n(40, 2.0), 0.0);
  const auto pairs = polar_pairs(pd);
  ASSERT_EQ(pairs.size(), 1u);
  EXPECT_EQ(pairs[0].cross, 1);
  EXPECT_NEAR(*pairs[0].xpd_boresight, 20.0, 1e-6);
  EXPECT_NEAR(*pairs[0].xpd_min_60, 20.0 - 12.0 * std::pow(60 / 65.0, 2), 0.01);
  // Front-to-back, total power: the worst case within 180 +/- 30 of co plus
  // cross: the co-polar cut's 30 dB cap plus the flat cross-polar 20 dB,
  // 10 log10(10^-3 + 10^-2) = -19.586 dB; of the co-polar cut alone, 30.
  const cut_parameters with_cross = analyse_cut_of(pd, 0, 0);
  EXPECT_NEAR(*with_cross.front_to_back_total, 19.586, 0.005);
  EXPECT_FALSE(with_cross.front_to_back_total_co_polar_only);
  const cut_parameters alone = analyse_cut(pd.freq[0].cut[0]);
  EXPECT_NEAR(*alone.front_to_back_total, 30.0, 0.005);
  EXPECT_TRUE(alone.front_to_back_total_co_polar_only);
  const auto d = directivity_estimates(pd);
  ASSERT_EQ(d.size(), 1u);
  const double hpbw_v = cos_n_hpbw(40);
  EXPECT_NEAR(*d[0].kraus_dbi, 10 * std::log10(41253 / (k_3gpp_hpbw * hpbw_v)), 0.02);
  EXPECT_NEAR(*d[0].integral_dbi, *d[0].kraus_dbi, 1.5) << "two estimates of one beam";

  // Claims within a degree or a dB pass; FRTOBA may be written negative.
  set_field(pd.azwidt, "65.5");
  set_field(pd.front_to_back, "-30");
  set_field(pd.elwidt, "13.8");
  set_field(pd.tilt, "0");
  set_field(pd.mdgain, "n/a");
  const auto claims = datasheet_check(pd);
  ASSERT_EQ(claims.size(), 2u);
  EXPECT_EQ(claims[0].field, "ELWIDT");
  EXPECT_NEAR(claims[0].computed, hpbw_v, 0.05);
  EXPECT_EQ(claims[0].text, c_format("ELWIDT says 13.8, the cuts give %.1f degrees", claims[0].computed));
  EXPECT_EQ(claims[1].field, "TILT");
  EXPECT_NEAR(claims[1].computed, 2.0, 0.05);
}

// At every lobe and null the analysis reports, the cut itself has that
// level: over every bundled sample and every shared published file.
TEST(CutParameters, ReportedLobesAndNullsLieWhereTheCutHasThem) {
  const std::vector<std::string> files = test::pattern_files_in({LOBE_SAMPLES, LOBE_REALDATA});
  ASSERT_GE(files.size(), 8u);
  int checked = 0;
  for (const std::string& file : files) {
    test::harness h;
    ASSERT_TRUE(h.open_published(file)) << file;
    for (int f = 0; f < count_in(h.st->pd.nofreq, MAX_FREQ); ++f)
      for (int c = 0; c < count_in(h.st->pd.freq[f].numcut, MAX_CUTS); ++c) {
        const cut_data_type& cut = h.cut(f, c);
        const cut_parameters p = analyse_cut(cut);
        // The cut's level relative to its strongest sample, interpolated.
        auto level = [&](double angle) { return levels_at(cut, angle, 1)[0]; };
        SCOPED_TRACE(file + " cut " + std::to_string(c));
        for (const auto& lobe : {p.first_sidelobe_left, p.first_sidelobe_right, p.strongest_sidelobe}) {
          if (!lobe) continue;
          ++checked;
          ASSERT_TRUE(level(lobe->angle)) << lobe->angle;
          EXPECT_NEAR(*level(lobe->angle), lobe->level, 0.5) << "lobe at " << lobe->angle;
        }
        for (const auto& null : {p.first_null_left, p.first_null_right}) {
          if (!null) continue;
          ++checked;
          ASSERT_TRUE(level(*null)) << *null;
          EXPECT_LT(*level(*null), -MIN_LOBE_PROMINENCE_DB) << "null at " << *null;
          // A null is lower than the first sidelobe on its side.
          const auto& lobe = *null == p.first_null_left ? p.first_sidelobe_left : p.first_sidelobe_right;
          if (lobe) {
            EXPECT_LT(*level(*null), lobe->level) << "null at " << *null;
          }
        }
        if (p.first_lower_null_db && p.first_null_right) {
          EXPECT_NEAR(*level(*p.first_null_right), *p.first_lower_null_db, 0.5);
        }
      }
  }
  EXPECT_GT(checked, 20);
}

// A published panel whose vertical cut has 459 points (0.1 degree near the
// beam): read whole, its half-power beamwidth is the 8.03 degrees a hand
// reading of the file gives; cut at 362 points it is not, and says so.
TEST(CutParameters, ALongPublishedCutReadWholeOrWarnedAbout) {
  const std::string file = LOBE_REALDATA "/RI-763MHz-18.5dBi-1-stack-20deg.msi";
  if (!std::filesystem::exists(file)) GTEST_SKIP() << "no " << file;
  for (bool whole : {true, false}) {
    test::harness h;
    h.st->settings.resample_long_cuts = whole;
    ASSERT_TRUE(h.open(file));
    const cut_parameters v = analyse_cut_of(h.st->pd, 0, 1);
    ASSERT_TRUE(v.hpbw);
    const std::vector<std::string> warnings = cut_warnings(*h.st, 0, 1);
    if (whole) {
      EXPECT_NEAR(*v.hpbw, 8.03, 0.05);
      EXPECT_TRUE(v.upper_sidelobe_suppression);
      EXPECT_TRUE(warnings.empty());
    } else {
      ASSERT_EQ(warnings.size(), 1u);
      EXPECT_EQ(warnings[0].rfind("97 points were dropped (a cut holds 362)", 0), 0u) << warnings[0];
    }
  }
}

// A converter that writes gains gives levels of both signs: the load says
// so, lint calls it an error, the parameters warn, and the opt-in reads them
// as gains.
TEST(CutParameters, LevelsOfBothSignsAreToldAndReadAsGainsOnRequest) {
  std::string file = "REVNUM:,TIA/EIA-804-B\r\nNOFREQ:,1\r\nPATFRE:,791\r\nNUMCUT:,1\r\nPATCUT:,V\r\n"
                     "POLARI:,V/V\r\nNUPOIN:,5\r\nFSTLST:,-2,2\r\n";
  for (const char* point : {"-2,6.0", "-1,9.5", "0,10.0", "1,-3.0", "2,-43.45"}) file += std::string(point) + "\r\n";
  for (bool opt_in : {false, true}) {
    test::harness h;
    h.st->settings.signed_levels = opt_in;
    h.load_text(FT_NSMA99, file);
    ASSERT_EQ(h.st->file.load_notices.size(), 1u);
    EXPECT_EQ(h.st->file.load_notices[0].rfind("Cut 1 (V) of 791 MHz: levels of both signs (from +10.00 to -43.45)", 0), 0u)
        << h.st->file.load_notices[0];
    const float* signal = h.cut(0, 0).signal;
    if (opt_in) {
      EXPECT_EQ(std::vector<float>(signal, signal + 5), (std::vector<float>{4.0f, 0.5f, 0.0f, 13.0f, 53.45f}));
    } else {
      EXPECT_EQ(std::vector<float>(signal, signal + 5), (std::vector<float>{6.0f, 9.5f, 10.0f, 3.0f, 43.45f}));
      const std::vector<lint_finding> findings = lint_pattern(*h.st);
      ASSERT_FALSE(findings.empty());
      EXPECT_TRUE(findings[0].error);
      const std::vector<std::string> warnings = cut_warnings(*h.st, 0, 0);
      ASSERT_EQ(warnings.size(), 2u);
      EXPECT_EQ(warnings[0].rfind("levels of both signs", 0), 0u);
      EXPECT_EQ(warnings[1].rfind("not normalised: its strongest point is 3.00 dB down", 0), 0u);
    }
  }
  // A normalised file's rounding above 0 is no second sign.
  test::harness rounded;
  rounded.load_text(FT_NSMA99, "REVNUM:,x\r\nNOFREQ:,1\r\nPATFRE:,900\r\nNUMCUT:,1\r\nPATCUT:,H\r\nPOLARI:,V/V\r\n"
                               "NUPOIN:,3\r\nFSTLST:,0,2\r\n0,0.02\r\n1,-3.0\r\n2,-20.0\r\n");
  EXPECT_TRUE(rounded.st->file.load_notices.empty());
}

TEST(LibraryLint, FindingsOfAFileAsLoaded) {
  test::harness h;
  test::put_cut(*h.st, 0, 0, "H", {{0, 1}, {1, 2}, {1, 3}, {0.5f, 99}, {3, NO_SIG_DATA}});
  set_field(h.st->pd.freq[0].patfre, "900");
  set_field(h.st->pd.mdgain, "10 dBi");
  set_field(h.st->pd.gunits, "DBD/DBD");
  h.st->file.load_notices = {"Cut 1 (H) of 900 MHz: 400 of its 762 points were dropped"};
  std::vector<std::string> found;
  for (const lint_finding& f : lint_pattern(*h.st)) found.push_back((f.error ? "E " : "W ") + f.text);
  EXPECT_EQ(found, (std::vector<std::string>{
                       "E Cut 1 (H) of 900 MHz: 400 of its 762 points were dropped",
                       "W MDGAIN \"10 dBi\" is in dBi, GUNITS \"DBD/DBD\" says dBd",
                       "E cut 1 (H) of 900 MHz: 1 angles repeat the one before",
                       "W cut 1 (H) of 900 MHz: angles do not increase (first at point 4, 1 places)",
                       "W cut 1 (H) of 900 MHz: 1 points hold no level (fewer points than NUPOIN)",
                       "W cut 1 (H) of 900 MHz: 1 points have no reading (98 dB or more down)",
                       "W cut 1 (H) of 900 MHz: not normalised, its strongest point is 1.00 dB down"}));
}

}  // namespace
}  // namespace lobe

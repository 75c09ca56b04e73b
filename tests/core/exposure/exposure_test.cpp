// 3D patterns from two cuts, and a site's exposure against the named
// standards' tables.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "core/exposure/site_exposure.h"
#include "support/test_support.h"

namespace lobe {
namespace {

// The 3GPP TR 38.901 element's two planes: 12 (angle/65)^2 dB down, 30 at most.
double plane_3gpp(double a) { return -std::min(12.0 * std::pow(std::remainder(a, 360.0) / 65.0, 2), 30.0); }

cut_data_type cut_of(const char* patcut, const std::function<double(double)>& level) {
  test::harness h;
  test::put_full_cut(*h.st, 0, 0, patcut, [&](int a) { return -level(a > 180 ? a - 360 : a); });
  return h.cut(0, 0);
}

TEST(Pattern3d, SummingRebuildsTheSeparable3gppElementAndEveryMethodKeepsBothCuts) {
  const cut_data_type h = cut_of("H", plane_3gpp), v = cut_of("V", plane_3gpp);
  const pattern_3d summing(h, v, method_3d::summing);
  EXPECT_DOUBLE_EQ(summing.floor_db(), -30.0) << "the deeper of the cuts' lowest levels";
  for (int el = -90; el <= 90; ++el)
    for (int az = -180; az < 180; ++az)
      ASSERT_NEAR(summing.gain(az, el), std::max(plane_3gpp(az) + plane_3gpp(el), -30.0), 0.01) << az << "," << el;
  // Off the planes the weighted method leans to the nearer plane: at 60, 30
  // the cuts give -10.225 and -2.556 dB, linear h 0.0949 and v 0.5552, weights
  // v (1 - h) = 0.5025 and h (1 - v) = 0.0422: -9.630 dB (summing: -12.781).
  EXPECT_NEAR(pattern_3d(h, v, method_3d::weighted).gain(60, 30), -9.630, 0.005);
  EXPECT_NEAR(pattern_3d(h, v, method_3d::hybrid).gain(60, 30), -9.630, 0.005) << "the higher of the two";
  EXPECT_NEAR(summing.gain(60, 30), -12.781, 0.005);
  // An asymmetric pair: each method gives back each cut on its own plane, and mirror images stay mirrored.
  const auto lopsided = [](double a) { return plane_3gpp(a) - (a > 0 ? 0.05 * a : 0.0); };
  for (method_3d m : {method_3d::summing, method_3d::weighted, method_3d::hybrid}) {
    const pattern_3d p(cut_of("H", lopsided), cut_of("V", plane_3gpp), m, -100.0);
    for (int a = -179; a < 180; ++a) {
      EXPECT_NEAR(p.gain(a, 0), lopsided(a), 1e-4) << a;
      if (a >= -90 && a <= 90) {
        EXPECT_NEAR(p.gain(0, a), plane_3gpp(a), 1e-4) << a;
      }
    }
    const pattern_3d even(cut_of("H", plane_3gpp), cut_of("V", plane_3gpp), m);
    for (int el = -90; el <= 90; el += 7)
      for (int az = 0; az < 180; az += 11) EXPECT_NEAR(even.gain(az, el), even.gain(-az, el), 1e-9);
  }
}

TEST(SiteExposure, LimitsAsTheStandardsTablesGiveThem) {
  const struct {
    exposure_standard s;
    double at400, at1710, at2000, at3500;
  } rows[] = {
      {exposure_standard::icnirp2020_public, 2.0, 8.55, 10.0, 10.0},
      {exposure_standard::icnirp2020_occupational, 10.0, 42.75, 50.0, 50.0},
      {exposure_standard::fcc_public, 400.0 / 150, 10.0, 10.0, 10.0},
      {exposure_standard::fcc_occupational, 400.0 / 30, 50.0, 50.0, 50.0},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(exposure_standard_name(r.s));
    EXPECT_EQ(exposure_standard_named(exposure_standard_name(r.s)), r.s);
    EXPECT_NEAR(*power_density_limit(r.s, 400), r.at400, 1e-9);
    EXPECT_NEAR(*power_density_limit(r.s, 1710), r.at1710, 1e-9);
    EXPECT_NEAR(*power_density_limit(r.s, 2000), r.at2000, 1e-9);
    EXPECT_NEAR(*power_density_limit(r.s, 3500), r.at3500, 1e-9);
  }
  EXPECT_FALSE(power_density_limit(exposure_standard::icnirp2020_public, 10.0)) << "below the table";
}

site_antenna isotropic(double eirp, double mhz, double x = 0, double y = 0, double z = 0) {
  site_antenna a;
  a.power_w = eirp, a.frequency_mhz = mhz, a.x = x, a.y = y, a.height = z;
  return a;
}

TEST(SiteExposure, BoundariesAndTheTotalExposureRatio) {
  // 5060 W EIRP at 10 W/m2: sqrt(5060 / (4 pi 10)) = 6.35 m every way; 1.6 times that over reflecting ground.
  site s;
  s.antennas = {isotropic(5060, 2000)};
  const compliance_boundary b = boundary_of(s, 0);
  for (double d : {b.front, b.back, b.left, b.right, b.above, b.below}) EXPECT_NEAR(d, 6.3458, 0.002);
  s.ground_reflection = true;
  EXPECT_NEAR(boundary_of(s, 0).front, 6.3458 * 1.6, 0.003);

  // Two bands at a point 20 m east of the first and 10 m up from the second:
  // 1000 W at 900 MHz (limit 4.5 W/m2): 1000 / (4 pi 400) = 0.19894 W/m2 -> 0.044210;
  // 300 W at 2600 MHz (limit 10): 300 / (4 pi 100) = 0.23873 -> 0.023873; TER 0.068083.
  site two;
  two.antennas = {isotropic(1000, 900), isotropic(300, 2600, 20, 0, -10)};
  EXPECT_NEAR(two.total_exposure_ratio(20, 0, 0), 0.068083, 0.068083 * 0.01);

  // A pattern 30 dB down behind: the boundary behind is 10^(30/20) times shorter.
  const cut_data_type hc = cut_of("H", plane_3gpp), vc = cut_of("V", plane_3gpp);
  site panel;
  panel.antennas = {isotropic(5060, 2000)};
  panel.antennas[0].pattern = std::make_shared<pattern_3d>(hc, vc, method_3d::summing);
  panel.antennas[0].azimuth = 90;
  const compliance_boundary p = boundary_of(panel, 0);
  EXPECT_NEAR(p.front, 6.3458, 0.002);
  EXPECT_NEAR(p.back, 6.3458 / std::pow(10.0, 1.5), 0.002);
  EXPECT_NEAR(p.right, 6.3458 * std::pow(10.0, plane_3gpp(90) / 20), 0.002);
  EXPECT_NEAR(panel.total_exposure_ratio(6.3458, 0, 0), 1.0, 0.001) << "azimuth 90 faces east";
}

}  // namespace
}  // namespace lobe

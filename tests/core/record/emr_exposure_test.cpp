#include "core/record/emr_exposure.h"

#include <gtest/gtest.h>

#include <cmath>

namespace lobe {
namespace {

TEST(EmrExposure, LimitBandsIncludeTheirLowerEdge) {
  EXPECT_FLOAT_EQ(gimme_public_power_density_limit(10.0f), 2.0f);
  EXPECT_FLOAT_EQ(gimme_occupational_power_density_limit(10.0f), 10.0f);
  EXPECT_FLOAT_EQ(gimme_public_power_density_limit(9.99f), 0.0f);
  EXPECT_FLOAT_EQ(gimme_occupational_power_density_limit(9.99f), 12.4f);
  EXPECT_FLOAT_EQ(gimme_public_power_density_limit(2000.0f), 10.0f);
  EXPECT_FLOAT_EQ(gimme_occupational_power_density_limit(2000.0f), 50.0f);
  EXPECT_FLOAT_EQ(gimme_public_power_density_limit(0.5f), 0.0f);
  EXPECT_FLOAT_EQ(gimme_occupational_power_density_limit(0.5f), 0.0f);
  EXPECT_FLOAT_EQ(gimme_occupational_power_density_limit(4.0f), 62.6f);
  EXPECT_FLOAT_EQ(gimme_occupational_power_density_limit(1.0f), 1001.0f);
  EXPECT_FLOAT_EQ(gimme_public_power_density_limit(1799.9f), 7.5f);
  EXPECT_FLOAT_EQ(gimme_public_power_density_limit(900.0f), 4.5f);
}

TEST(EmrExposure, WorkedExample) {
  const emr_transmitter t = emr_transmitter_quantities(200.0f, 3.0f, "10");
  EXPECT_NEAR(t.Tpower_dbw, 23.01f, 0.005f);
  EXPECT_NEAR(t.Apower, 100.24f, 0.005f);
  EXPECT_NEAR(t.GainDBi, 12.15f, 1e-5f);
  EXPECT_NEAR(t.GainLin, 16.41f, 0.005f);
  EXPECT_NEAR(t.EIRP, 1644.5f, 0.1f);
  EXPECT_NEAR(emr_safe_distance(t.EIRP, 4.5f), 5.39f, 0.005f);
  EXPECT_NEAR(emr_safe_distance(t.EIRP, 22.5f), 2.41f, 0.005f);
  const emr_point p = emr_point_quantities(t, -10.0f);
  EXPECT_NEAR(emr_safe_distance(p.eirp, 4.5f), 1.71f, 0.005f);
  EXPECT_NEAR(emr_safe_distance(p.eirp, 22.5f), 0.76f, 0.005f);
}

TEST(EmrExposure, GainAndFrequencyTexts) {
  const emr_transmitter empty = emr_transmitter_quantities(200.0f, 0.0f, "");
  EXPECT_FLOAT_EQ(empty.GainDBi, 2.15f);
  EXPECT_NEAR(empty.GainLin, 1.64f, 0.005f);
  EXPECT_FLOAT_EQ(emr_transmitter_quantities(200.0f, 0.0f, "n/a").GainDBd, 0.0f);
  EXPECT_FLOAT_EQ(*emr_frequency("450.5 MHz"), 450.5f);
  EXPECT_FALSE(emr_frequency("UHF").has_value());
  EXPECT_TRUE(std::isinf(emr_transmitter_quantities(0.0f, 0.0f, "").Tpower_dbw));
}

}  // namespace
}  // namespace lobe

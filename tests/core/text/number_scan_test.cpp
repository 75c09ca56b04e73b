// The quick number paths against scanf and printf themselves.
#include "core/text/number_scan.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>
#include <string>

#include "core/text/c_numeric.h"

namespace lobe {
namespace {

void expect_same_as_scanf(const std::string& line) {
  for (char sep : {',', ' '}) {
    float a1 = -7.0f, b1 = -7.0f, a2 = -7.0f, b2 = -7.0f;
    const int quick = scan_two_floats_raw(line.c_str(), sep, a1, b1);
    const int slow = sep == ',' ? c_sscanf(line.c_str(), "%f,%f", &a2, &b2) : c_sscanf(line.c_str(), "%f %f", &a2, &b2);
    ASSERT_EQ(quick, slow) << "[" << line << "] sep '" << sep << "'";
    if (slow >= 1 && !std::isnan(a2)) {
      ASSERT_EQ(std::memcmp(&a1, &a2, sizeof a1), 0) << line;
    }
    if (slow == 2 && !std::isnan(b2)) {
      ASSERT_EQ(std::memcmp(&b1, &b2, sizeof b1), 0) << line;
    }
  }
}

TEST(NumberScan, OddLinesBehaveAsScanf) {
  for (const char* line :
       {"10,-2.5", "10, -2.5", "10 ,-2.5", "  30,+3.5,", "1e5,2E-3", "1e,2", "1e+,2", ".5,-.25", "-.,1", ".,1", "-,1",
        "0x1p3,2", "inf,nan", "-inf,-nan", "1.e5,1", "1.5.3,2", "1,", ",1", "", "   ", "1e999,1", "1e-50,1",
        "123456789012345678901234567890,1", "1 2", "1\t2", "1,2,3", "7", "-0,-0.000", "+,+", "1e5x,2", "0,0x10",
        "3.4028235e38,-3.4028236e38", "1.17549435e-38,1.4e-45"})
    ASSERT_NO_FATAL_FAILURE(expect_same_as_scanf(line));
}

TEST(NumberScan, NumbersThatAreNoAngleOrLevelAreNotRead) {
  for (const char* line : {"inf,1", "1,nan", "-nan,-1", "1e308,2", "0,1e39", "0,-1000.5", "5,1e4"}) {
    float a = -7.0f, b = -7.0f;
    EXPECT_EQ(scan_two_floats(line, ',', a, b), 0) << line;
    EXPECT_EQ(a, -7.0f) << "nothing is stored from " << line;
    EXPECT_EQ(b, -7.0f) << line;
  }
  float a = 0, b = 0;
  EXPECT_EQ(scan_two_floats("359,-1000", ',', a, b), 2) << "1000 dB is still a level";
  EXPECT_EQ(b, -1000.0f);
  EXPECT_EQ(scan_two_floats("12 -3.5", ' ', a, b), 2);
}

TEST(NumberScan, RandomDecimalLinesBehaveAsScanf) {
  std::mt19937 rng(99);
  std::uniform_real_distribution<double> value(-400.0, 400.0);
  std::uniform_int_distribution<int> digits(0, 9), style(0, 5);
  for (int i = 0; i < 20000; ++i) {
    char line[128];
    const int s = style(rng);
    if (s == 0)
      std::snprintf(line, sizeof line, "%.3f,-%.3f,", value(rng), std::fabs(value(rng)));
    else if (s == 1)
      std::snprintf(line, sizeof line, "%.9g %.9g", value(rng), value(rng));
    else if (s == 2)
      std::snprintf(line, sizeof line, "%d,%d", digits(rng) * 37 - 180, -digits(rng));
    else if (s == 3)
      std::snprintf(line, sizeof line, "%.17e,%.2e", value(rng), value(rng));
    else
      std::snprintf(line, sizeof line, " %.1f ,  %.20f", value(rng), value(rng) / 1e6);
    ASSERT_NO_FATAL_FAILURE(expect_same_as_scanf(line));
  }
}

// Three decimals as printf writes them, for the doubles and the floats the
// writers print.
TEST(NumberScan, FixedThreeDecimalsAsPrintf) {
  auto same = [](auto v) {
    char quick[64], slow[64];
    format_fixed3(quick, v);
    c_snprintf(slow, sizeof slow, "%.3f", static_cast<double>(v));
    ASSERT_STREQ(quick, slow) << v;
  };
  for (double v : std::initializer_list<double>{0.0, -0.0, 0.0005, 0.0015, 0.0025, -0.0005, 1.0005, 2.5e-4, 999.9995,
                                                1e20, -1e-9, 0.000111f, INFINITY, -INFINITY, NAN, -NAN,
                                                3.4028234663852886e38, -3.4028234663852886e38})
    ASSERT_NO_FATAL_FAILURE(same(v));
  for (float f : {0.0f, -0.0f, 0.0625f, 0.1875f, -0.0625f, 1.0625f, 0.0005f, -0.0004f, 0.000111f, 999.9995f,
                  1e11f, 9.99e11f, 1e12f, 3.4e38f, -3.4e38f, INFINITY, -INFINITY, NAN, -NAN, 1e-45f})
    ASSERT_NO_FATAL_FAILURE(same(f));
  std::mt19937 rng(11);
  std::uniform_real_distribution<float> value(-400.0f, 400.0f);
  std::uniform_real_distribution<double> wide(-1000.0, 1000.0);
  std::uniform_int_distribution<int> exponent(-30, 40);
  for (int i = 0; i < 100000; ++i) ASSERT_NO_FATAL_FAILURE(same(value(rng)));
  for (int i = 0; i < 20000; ++i) ASSERT_NO_FATAL_FAILURE(same(std::ldexp(value(rng), exponent(rng))));
  for (int i = 0; i < 20000; ++i) ASSERT_NO_FATAL_FAILURE(same(wide(rng)));
}

}  // namespace
}  // namespace lobe

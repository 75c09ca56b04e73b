#include "core/record/emr_exposure.h"

#include <cmath>

#include "core/text/c_numeric.h"
#include "core/record/gain_units.h"

namespace lobe {

namespace {

struct limit_band {
  float lower;  // MHz, the band includes it
  float public_limit;
  float occupational_limit;
};

// From the top: the first band whose lower edge is at or below the frequency applies.
constexpr limit_band k_bands[] = {
    {2000.0f, 10.0f, 50.0f}, {1800.0f, 9.0f, 45.0f}, {1500.0f, 7.5f, 37.5f}, {1000.0f, 5.0f, 25.0f},
    {900.0f, 4.5f, 22.5f},   {800.0f, 4.0f, 20.0f},  {700.0f, 3.5f, 17.5f},  {600.0f, 3.0f, 15.0f},
    {500.0f, 2.5f, 12.5f},   {10.0f, 2.0f, 10.0f},   {9.0f, 0.0f, 12.4f},    {8.0f, 0.0f, 15.6f},
    {7.0f, 0.0f, 20.4f},     {6.0f, 0.0f, 27.8f},    {5.0f, 0.0f, 40.0f},    {4.0f, 0.0f, 62.6f},
    {3.0f, 0.0f, 111.0f},    {2.0f, 0.0f, 250.0f},   {1.5f, 0.0f, 445.0f},   {1.0f, 0.0f, 1001.0f},
};

const limit_band* band_of(float f) {
  for (const limit_band& b : k_bands)
    if (f >= b.lower) return &b;
  return nullptr;  // below 1 MHz, and not-a-number
}

}  // namespace

float gimme_public_power_density_limit(float freqMHz) {
  const limit_band* b = band_of(freqMHz);
  return b ? b->public_limit : 0.0f;
}

float gimme_occupational_power_density_limit(float freqMHz) {
  const limit_band* b = band_of(freqMHz);
  return b ? b->occupational_limit : 0.0f;
}

emr_transmitter emr_transmitter_quantities(float epower, float eloss, const char* mdgain, const char* gunits) {
  emr_transmitter t{};
  t.Tpower = epower;
  t.Tpower_dbw = 10.0f * std::log10(t.Tpower);
  t.Tloss = eloss;
  t.Apower = t.Tpower / std::pow(10.0f, t.Tloss / 10.0f);
  // A gain the file marks as dBi (its text, or GUNITS) is taken as dBi; with no
  // unit anywhere it is dBd.
  const gain_reading g = read_gain(mdgain ? mdgain : "", gunits ? gunits : "");
  t.GainDBd = g.valid ? g.dbd() : 0.0f;
  t.GainDBi = t.GainDBd + 2.15f;
  t.GainLin = std::pow(10.0f, t.GainDBi / 10.0f);
  t.EIRP = t.GainLin * t.Apower;
  return t;
}

std::optional<float> emr_frequency(const char* patfre) {
  float f = 0.0f;
  if (patfre == nullptr || c_sscanf(patfre, "%f", &f) != 1) return std::nullopt;
  return f;
}

float emr_safe_distance(float eirp, float limit) { return std::sqrt(eirp / (limit * FOUR_PI)); }

emr_point emr_point_quantities(const emr_transmitter& tx, float signal) {
  emr_point p{};
  p.gain_dbi = tx.GainDBd - std::fabs(signal) + 2.15f;
  p.gain_lin = std::pow(10.0f, p.gain_dbi / 10.0f);
  p.eirp = p.gain_lin * tx.Apower;
  return p;
}

}  // namespace lobe

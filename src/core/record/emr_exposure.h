// RF exposure: the power flux density limits by frequency and the chain from
// transmitter power, feeder loss and antenna gain to the distances beyond
// which the flux density falls below the public and occupational limits.
//
// Far field: S = EIRP / (4 pi R^2), so R = sqrt(EIRP / (4 pi S_limit)).
#pragma once

#include <optional>

namespace lobe {

inline constexpr float FOUR_PI = 12.566370614359172f;
// Limits below this are taken as "no limit defined at this frequency".
inline constexpr float EMR_LIMIT_DEFINED = 0.01f;

float gimme_public_power_density_limit(float freqMHz);
float gimme_occupational_power_density_limit(float freqMHz);

// The transmitter side of the chain, at boresight.
struct emr_transmitter {
  float Tpower;      // W
  float Tpower_dbw;  // dBW (minus infinity for 0 W)
  float Tloss;       // dB
  float Apower;      // W into the antenna
  float GainDBd;
  float GainDBi;
  float GainLin;
  float EIRP;  // W
};

// `mdgain` is the gain text of the pattern; empty or not a number counts as 0
// dBd. Its unit is "dBi" or "dBd" after the number, else the one `gunits`
// names, else dBd.
emr_transmitter emr_transmitter_quantities(float epower, float eloss, const char* mdgain,
                                           const char* gunits = nullptr);

// The frequency text of a cut in MHz, or nothing when it does not start with a number.
std::optional<float> emr_frequency(const char* patfre);

// Safe distance in metres for an EIRP and a limit (infinite where the limit is 0).
float emr_safe_distance(float eirp, float limit);

// EIRP of a point `signal` dB (either sign) below the boresight gain.
struct emr_point {
  float gain_dbi;
  float gain_lin;
  float eirp;
};
emr_point emr_point_quantities(const emr_transmitter& tx, float signal);

}  // namespace lobe

// What engineers read off a pattern, computed from its cuts: peak,
// beamwidths, front-to-back and front-to-side ratios, sidelobes, tilt,
// squint, cross-polar discrimination and a directivity estimate. Every value
// is defined in docs/ANALYSIS.md. Levels are in dB relative to the cut's
// peak (0 at the peak, negative below it); angles in degrees, in the range
// -180 to 180, where a vertical cut's positive angles lie below the horizon.
#pragma once

#include <cmath>
#include <optional>
#include <string>
#include <vector>

#include "core/record/lobe_state.h"

namespace lobe {

// A lobe between nulls must stand this far above the deeper of the two nulls
// beside it to count: ripple on a slope is no lobe.
inline constexpr double MIN_LOBE_PROMINENCE_DB = 1.0;
// Half power: the level of the half-power beamwidth (the charts' marks stay at 3.0 dB).
inline constexpr double HALF_POWER_LEVEL_DB = 3.0102999566398120;  // 10 log10 2
// A cut whose levels all lie within this of its peak has no beamwidth.
inline constexpr double OMNI_RIPPLE_DB = 3.0;

struct lobe_peak {
  double angle;
  double level;  // dB relative to the main peak (negative)
};

struct cut_parameters {
  int points = 0;          // samples used (no gaps, none past the end marker)
  bool closed = false;     // the samples go round the whole circle
  bool vertical = false;   // PATCUT says V or EL
  bool omni = false;       // levels within OMNI_RIPPLE_DB of the peak all round
  double ripple_db = 0.0;  // peak minus the lowest level
  std::optional<double> peak_angle;
  std::optional<double> peak_db;  // the stored level of the peak (0 when the cut is normalised)
  std::optional<double> hpbw, bw10;
  std::optional<double> hpbw_left, hpbw_right;  // the -3 dB crossings, interpolated
  std::optional<double> bw10_left, bw10_right;
  std::optional<double> front_to_back;        // dB below the peak at 180 from it
  std::optional<double> front_to_back_total;  // dB, peak over the highest total power within 180 +/- 30
  bool front_to_back_total_co_polar_only = false;  // no cross-polar twin to add
  std::optional<double> front_to_side_left, front_to_side_right;  // dB below the peak at -90 / +90 from it
  std::optional<double> first_null_left, first_null_right;       // angles of the first nulls
  std::optional<lobe_peak> first_sidelobe_left, first_sidelobe_right, strongest_sidelobe;
  // Vertical cuts.
  std::optional<double> tilt;                        // the peak's angle below the horizon
  std::optional<double> upper_sidelobe_suppression;  // dB: peak over the strongest lobe up to 20 above it
  std::optional<double> first_lower_null_db;         // level of the first null below the main beam
  // Horizontal cuts.
  std::optional<double> squint_peak;  // the peak's angle from boresight (0)
  std::optional<double> squint_mid;   // the -3 dB crossings' midpoint from boresight
};

// `cross`: the cut's cross-polar twin, when it has one (its power adds to
// the total front-to-back ratio).
cut_parameters analyse_cut(const cut_data_type& cut, const cut_data_type* cross = nullptr);
// The cut of frequency f that is cut c's cross-polar twin (same orientation,
// the signal polarisation crossed: V/V with V/H, H/H with H/V); -1 for none.
int cross_polar_twin(const freq_data_type& fr, int c);

// Cut c of frequency f analysed with its cross-polar twin, when it has one.
cut_parameters analyse_cut_of(const antenna_data_type& pd, int f, int c);

// A cut counts as normalised when its strongest point is at most this far down.
inline constexpr float NORMALISED_WITHIN_DB = 0.05f;

// A cut's points up to its end marker: those with no level (fewer points
// than NUPOIN), those with no reading (98 dB or more down), and the
// strongest stored level of the rest (infinite when there is none).
struct level_census {
  int no_level = 0, gaps = 0;
  float strongest = INFINITY;
  bool normalised() const { return !std::isfinite(strongest) || strongest <= NORMALISED_WITHIN_DB; }
};
level_census census_of(const cut_data_type& cut);

// Why the parameters of cut c of frequency f may not be what the file
// meant: points the load dropped, gaps, a cut not normalised, levels of
// both signs. One sentence each; none for a clean cut.
std::vector<std::string> cut_warnings(const lobe_state& st, int f, int c);

// An angle taken into -180 .. 180 degrees (180 itself becomes -180).
double wrap180(double a);

// A cut's levels (dB relative to its peak) at `count` whole-degree steps from
// `first`, each interpolated linearly in dB between the neighbouring
// samples; nullopt outside the samples or next to a gap.
std::vector<std::optional<double>> levels_at(const cut_data_type& cut, double first, int count);
// The cut's stored attenuations (dB below the file's 0 dB) at these angles,
// interpolated the same way (round the join of a closed cut).
std::vector<std::optional<double>> attenuations_at(const cut_data_type& cut, const std::vector<double>& angles);

// A co-polar cut and its cross-polar twin: same frequency, same orientation,
// signal polarisations crossed (V/V with V/H, H/H with H/V).
struct polar_pair {
  int freq, co, cross;
  std::optional<double> xpd_boresight;  // dB: cross below co at the co cut's peak
  std::optional<double> xpd_min_60;     // the least of that over +/- 60 around the peak
};
std::vector<polar_pair> polar_pairs(const antenna_data_type& pd);

// Directivity from the first horizontal and first vertical cut of a frequency.
struct directivity_estimate {
  int freq, horizontal, vertical;
  std::optional<double> kraus_dbi;     // 10 log10(41253 / (HPBW_h x HPBW_v))
  std::optional<double> integral_dbi;  // 4 pi over the integral of the product pattern
};
std::vector<directivity_estimate> directivity_estimates(const antenna_data_type& pd);

// A header field that claims a value the cuts give otherwise (by more than
// 1 degree or 1 dB).
struct datasheet_difference {
  std::string field;  // "AZWIDT", "ELWIDT", "FRTOBA", "TILT", "MDGAIN"
  std::string claimed;
  double computed;
  std::string text;  // one line saying so
};
std::vector<datasheet_difference> datasheet_check(const antenna_data_type& pd);

// The parameters of the chosen cuts as a text table (one line per cut, a
// heading first), then the polar pairs and directivity estimates among them.
// Then the warnings of those cuts, one line each.
std::string parameters_table(const lobe_state& st, bool shown_only);

}  // namespace lobe

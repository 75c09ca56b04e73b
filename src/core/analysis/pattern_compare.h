// A measured pattern against a reference (the datasheet's file, an earlier
// measurement): cuts matched by frequency and kind, the reference read at the
// measured angles, the deviations over the main lobe and over the angles the
// reference holds above -30 dB, the parameters' differences, and a verdict
// per cut. Every definition is in docs/VERDICTS.md.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/record/pattern_record.h"

namespace lobe {

struct compare_options {
  bool align_peak = false;         // each pattern taken relative to its own peak
  double tolerance_db = 1.0;       // the largest RMS deviation over the main lobe that passes
  double freq_tolerance = 0.01;    // a reference frequency within this fraction of the measured one
};

// The reference is "above -30 dB" where it lies less than this far below its peak.
inline constexpr double COMPARE_FLOOR_DB = 30.0;

struct deviation_stats {
  int points = 0;
  std::optional<double> rms_db;
  std::optional<double> largest_db;  // signed: measured minus reference, the one largest in size
  std::optional<double> largest_angle;
};

struct parameter_delta {
  const char* name;  // "hpbw", "bw10", "front_to_back", "tilt", "peak_angle", "first_sidelobe"
  std::optional<double> measured, reference;
  std::optional<double> difference() const {
    return measured && reference ? std::optional<double>(*measured - *reference) : std::nullopt;
  }
};

struct cut_comparison {
  int freq = 0, cut = 0;          // of the measured pattern
  int ref_freq = 0, ref_cut = 0;  // of the reference
  deviation_stats main_lobe, above_floor;
  std::vector<parameter_delta> parameters;
  bool pass = false;
};

struct pattern_comparison {
  std::vector<cut_comparison> matched;
  std::vector<std::pair<int, int>> unmatched_measured;   // shown measured cuts without a reference
  std::vector<std::pair<int, int>> unmatched_reference;  // reference cuts no measured cut matched
  // Every shown measured cut has its reference and passes.
  bool pass() const;
};

// One measured point against the reference read at its angle.
struct deviation_point {
  int index;         // the measured point's
  double angle;      // as the measured cut stores it
  double deviation;  // measured gain minus reference gain, dB
  bool main_lobe;    // within the reference's 10 dB beamwidth
  bool above_floor;  // where the reference is above -30 dB
};

// The deviation at every measured point of cut (f, c) that has a reading
// and where reference cut (rf, rc) has one, in the measured cut's order.
std::vector<deviation_point> deviation_curve(const antenna_data_type& measured, int f, int c,
                                             const antenna_data_type& reference, int rf, int rc,
                                             const compare_options& options);

pattern_comparison compare_patterns(const antenna_data_type& measured, const pattern_flags_type& shown,
                                    const antenna_data_type& reference, const compare_options& options);

// "146 MHz H H/H": a cut by its frequency, name and polarisation.
std::string cut_label(const antenna_data_type& pd, int f, int c);

// The comparison as lines of text: per matched cut its verdict, the two sets'
// deviations and the parameters' differences; then the cuts left unmatched.
std::string comparison_text(const antenna_data_type& measured, const antenna_data_type& reference,
                            const pattern_comparison& pc);

}  // namespace lobe

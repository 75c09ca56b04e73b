// Cuts longer than the record: a published file may give more points than
// the 362 a cut holds (a vertical cut at 0.1 degree near the beam, say). The
// readers keep the points beyond in the reader state; after the load they are
// either reported as dropped or, when the user asked for it, the whole cut is
// resampled to one point per degree.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "core/formats/pattern_io.h"

namespace lobe {

// "Cut 2 (V) of 900 MHz": a cut as the load's notices name it.
std::string cut_name(const antenna_data_type& pd, int f, int c);

// Keeps point `angle`, `level` (a stored level: dB below the peak) given for
// cut c of frequency f beyond the record's room.
void keep_beyond_record(reader_state& rs, int f, int c, float angle, float level);

// How many points of the current cut lie beyond the record so far.
int points_beyond_record(const reader_state& rs, int f, int c);

struct resample_result {
  int points_in = 0;
  int points_out = 0;
  float largest_deviation_db = 0.0f;
};

// Resamples `points` (angle, level) onto whole degrees from the first whole
// degree at or after the smallest angle, at most 362 of them: each level is
// interpolated linearly in dB between the two neighbouring points. The
// deviation is the largest difference, at an input point, between its level
// and the resampled cut read back by the same linear rule.
resample_result resample_to_degrees(std::vector<std::pair<float, float>> points, cut_data_type& cut);

// After a load: resamples the long cuts (settings.resample_long_cuts) or
// reports what was dropped, in st.file.load_notices.
void finish_long_cuts(pattern_record& rec, reader_state& rs);

}  // namespace lobe

// In-place edits of one cut: rotate by one sample, smooth, mirror one half
// onto the other, and undo the last smoothing or mirroring.
#pragma once

#include "core/record/lobe_state.h"

namespace lobe {

inline constexpr int ID_LABS_MIRROR_TOP = 4090;
inline constexpr int ID_LABS_MIRROR_RIGHT = 4091;
inline constexpr int ID_LABS_MIRROR_BOTTOM = 4092;
inline constexpr int ID_LABS_MIRROR_LEFT = 4093;

// Result codes of mirror_cut_data.
inline constexpr int MIRROR_OK = 0;
inline constexpr int MIRROR_NO_CUT = 1;
inline constexpr int MIRROR_NO_POINTS = 2;
inline constexpr int MIRROR_NOT_360 = 3;

// Rotates the signals of cut c of frequency f one place up (this_inc >= 1)
// or down. A cut outside the record is left alone.
void shift_cut_data(lobe_state& st, int f, int c, int this_inc);

// Circular three-point moving average of cut c of frequency f,
// re-referenced so the strongest smoothed point is 0 dB. Arms the undo.
void moving_average_cut_data(lobe_state& st, int f, int c);

// Mirrors the first shown cut (selected by the hide flags) for menu command
// `quad`; returns one of the MIRROR_ codes.
int mirror_cut_data(lobe_state& st, int quad);

// The message the caller shows for a mirror result, and whether it is an error.
struct mirror_message {
  const char* text;  // nullptr: nothing to show
  bool error;
};
mirror_message mirror_result_message(int code);

// Puts back the cut saved by the last smoothing or mirroring.
void undo_cut_data_edit(lobe_state& st);

}  // namespace lobe

// Everything one running Lobeview holds, grouped by role. The window owns
// one instance; tests and lobeconv make their own. Allocate it on the heap
// (make_lobe_state): the pattern alone is a few hundred kilobytes.
#pragma once

#include <bitset>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "core/record/action_report.h"
#include "core/record/envelope_library.h"
#include "core/record/help_texts.h"
#include "core/base/lobeview.h"
#include "core/record/pattern_record.h"
#include "core/settings/settings.h"

namespace lobe {

class run_log;

// The file last opened or saved.
struct file_state {
  int file_type = FT_NSMA99;  // makes "nsma" the default of the first save
  int ant_file_type = 0;
  std::string szFileName;       // full path
  std::string szFileName_name;  // title of the file last opened
  int filename_set = 0;
  int file_errors = 0;  // FILE_ERR_* bits of the last load
  int loaded_file_type = 0;  // the format the pattern was read from (0: none)
  // What the last load could not keep, or changed, in words for the user.
  std::vector<std::string> load_notices;
  bool lf_only_empty = false;  // the last file had LF-only line ends and gave no pattern
  std::vector<cut_load_facts> cut_facts;  // of the last load, for the cuts that have any
  const cut_load_facts* find_facts(int f, int c) const;
};

struct view_state {
  int display_type = DISPLAY_TYPE_POLAR;
  int mv_display = 0;   // 1: linear voltage scale, 0: dB
  int log_display = 0;  // dB scale only: 1 rings at 3, 6, 12, 24 (48) dB, 0 evenly spaced
  int centre_db_ix = 4;
  int scale_to_max_mode = 0;
  char envelope_disp_requested[80] = "";  // envelope title named by the file
};

struct emr_inputs {
  float epower = 200.0f;
  float eheight = 25.0f;
  float eloss = 0.0f;
};

// The one-level undo of smoothing and mirroring, and the cut the editing
// buttons and the sweep act on.
struct edit_state {
  int capture_freq = 0;
  int capture_cut = 0;
  float undo_buffer[MAX_SAMPLES][2] = {};
  int undo_nupoin = 0;  // the cut is given back whole: its count and
  float undo_fstlst[2] = {};  // first/last angles too, not only its points
  int undo_fr_freq = 0;
  int undo_fr_cut = -1;  // -1: nothing to undo
};

// The test range as the program sees it: the mode, the sweep and its samples.
struct range_state {
  int capture_enabled = 0;  // the controller reports its supply on
  int serial_connected = 0;
  int scan_state = 0;  // SCANSTATE_*
  int antenna_angle = 0;
  int manual_rotate = 0;
  float cbuff[MAX_SAMPLES] = {};  // linear level in mV per bearing 0..359; 0 = no reading
  float dsapwr = 0.0f;            // last analyser level in mV
  // When dsapwr was read (range_clock_ms), -1 when the last reply was no
  // reading; and the smoothed time between readings. A level older than
  // stale_level_ms() is no reading for a new bearing.
  long long level_at_ms = -1;
  double level_interval_ms = 0.0;
  int bearings_without_reading = 0;  // of the last completed sweep
  int rejected_level_replies = 0;    // replies to a level query that were no level, since the sweep began
};

// The pattern (pd, flags, all_emax) and what the program holds around it.
struct lobe_state : pattern_record {
  envelopes_type ed;
  file_state file;
  view_state view;
  emr_inputs emr;
  settings_state settings;
  nec_columns nec;
  edit_state edit;
  range_state range;
  help_texts help;
};

// A zero-filled state with the program's initial values.
std::unique_ptr<lobe_state> make_lobe_state();

}  // namespace lobe

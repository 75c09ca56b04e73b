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
#include "core/base/lobeview.h"
#include "core/record/pattern_record.h"
#include "core/settings/settings.h"

namespace lobe {

class run_log;

// What a load saw of one cut that the record itself does not keep.
struct cut_load_facts {
  int freq = 0;
  int cut = 0;
  int dropped_points = 0;    // given beyond the 362 the cut holds, and not kept
  bool mixed_signs = false;  // levels of both signs: gains written by a converter, most likely
};

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
  // The facts of cut c of frequency f, added when it has none yet.
  cut_load_facts& facts_of(int f, int c);
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

// Which columns of a 4NEC table hold the angle and the signal (0-based).
struct nec_columns {
  int nec_angle_col = 0;
  int nec_signal_col = 1;
};

// The three sections of the help text file, each kept below 4000 characters.
struct help_texts {
  std::string help_info_files;
  std::string help_info_views;
  std::string help_info_testrange;
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

struct lobe_state {
  antenna_data_type pd;
  pattern_flags_type flags;  // sweep_completed / hide per cut row
  float all_emax = 0.0f;     // largest peak level seen since the last reset
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

// Where a load's or a save's side effects go: the run log, and the report
// of what the user is to be told.
struct core_io {
  run_log& log;
  action_report& report;
};

// Points a file gives for one cut beyond the 362 the record holds.
struct long_cut {
  int freq = 0;
  int cut = 0;
  int declared = 0;                            // points the file announced for the cut
  std::vector<std::pair<float, float>> extra;  // angle, level of the points beyond
};

// Cursors of one load; they start afresh with every file.
struct reader_state {
  int fr_freq = -1;
  int fr_cut = -1;
  int fr_poin = 0;
  int linenumber = 0;
  int buffer_ix = 0;  // rows filled in capture_buffer
  float capture_buffer[MAX_ANTF_SAMPLES][2] = {};
  int declared = 0;  // points the current cut's header announced
  std::vector<long_cut> long_cuts;
  // Which stored points were written with a minus sign (the record keeps magnitudes).
  std::bitset<MAX_SAMPLES> negative[MAX_FREQ][MAX_CUTS];
};

// Notes the sign of point p of cut c of frequency f, as a file wrote it.
inline void note_level_sign(reader_state& rs, int f, int c, int p, float level) {
  if (level < 0.0f && f >= 0 && f < MAX_FREQ && c >= 0 && c < MAX_CUTS && p >= 0 && p < MAX_SAMPLES)
    rs.negative[f][c].set(static_cast<std::size_t>(p));
}

}  // namespace lobe

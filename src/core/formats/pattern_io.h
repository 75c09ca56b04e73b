// What the pattern readers and writers share with their callers. A reader
// fills a pattern_record and hands back a load_report of what it saw beside
// the pattern (notices, errors, the envelope and view a file asks for); a
// writer takes a const record and its write_options. Neither knows the
// window's or lobeconv's state: the caller applies the report.
#pragma once

#include <bitset>
#include <string>
#include <utility>
#include <vector>

#include "core/base/lobeview.h"
#include "core/record/action_report.h"
#include "core/record/pattern_record.h"

namespace lobe {

// How a file is to be read.
struct load_options {
  int file_type = 0;                // FT_*, from the name's extension
  bool lf_line_ends = false;        // lines may end in a bare LF
  bool resample_long_cuts = false;  // cuts longer than the record are resampled, not shortened
  bool signed_levels = false;       // cuts of both signs are read as gains
  nec_columns nec;                  // the 4NEC table's columns
};

// What a read found beside the pattern.
struct load_report {
  int file_type = 0;    // as read: an NSMA file without REVNUM is the older layout
  int ant_version = 0;  // AFT_ANT_*: what an ANT file's length made of it (0: none)
  int file_errors = 0;  // FILE_ERR_*
  // What the load could not keep, or changed, in words for the user.
  std::vector<std::string> notices;
  bool lf_only_empty = false;  // LF-only line ends, and no pattern
  std::vector<cut_load_facts> cut_facts;  // for the cuts that have any
  std::string envelope_requested;  // the envelope a KWRENV tag names
  bool cartesian_view = false;     // a KWRENV tag: the file is drawn against its envelope
  bool activate_envelope = false;  // the named envelope becomes the active one (LABZ)
  bool lines_read = false;         // the file's lines were read (not only the reset)

  // The facts of cut c of frequency f, added when it has none yet.
  cut_load_facts& facts_of(int f, int c) {
    for (cut_load_facts& x : cut_facts)
      if (x.freq == f && x.cut == c) return x;
    cut_facts.push_back({f, c});
    return cut_facts.back();
  }
};

// Points a file gives for one cut beyond the 362 the record holds.
struct long_cut {
  int freq = 0;
  int cut = 0;
  int declared = 0;                            // points the file announced for the cut
  std::vector<std::pair<float, float>> extra;  // angle, level of the points beyond
};

// One read: its options, its cursors and what it found. Starts afresh with every file.
struct reader_state {
  load_options options;
  load_report found;
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

// What a writer is told besides the record.
struct write_options {
  bool scale_to_strongest = false;  // "scale all to strongest signal" is on
  const char* envelope_shown = nullptr;  // title of the active envelope, if one is
  int ant_version = 0;              // AFT_ANT_*: which ANT layout to write
  int loaded_file_type = 0;         // the format the pattern was read from
};

class byte_sink;

// A format's reader: one line (NUL-terminated) at a time, then what it does
// once the lines are read; and its writer.
using line_parser = void (*)(pattern_record&, reader_state&, core_io&, const char*);
using read_finisher = void (*)(pattern_record&, reader_state&, core_io&);
using pattern_writer = void (*)(const pattern_record&, byte_sink&, core_io&, const write_options&);

}  // namespace lobe

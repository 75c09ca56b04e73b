// The rows of the data panel for one record: the line each frequency and
// each cut stands on, where a line is drawn, and which cut a row control or
// a line belongs to. Every place that lays out, paints or hit-tests the
// panel asks here, so the line arithmetic lives once.
#pragma once

#include <optional>

#include "core/record/pattern_record.h"
#include "draw/window_layout.h"

namespace lobe {

struct cut_ref {
  int freq;
  int cut;
  int number;  // the cut's place among all cuts of the record, for its colour
};

class panel_rows {
 public:
  // `top` is the top edge of the panel's area.
  panel_rows(const antenna_data_type& pd, int top) : pd_(pd), top_(top) {}

  // A frequency's line (its "Frequency" title), then one line for the column
  // titles, one per cut and one to separate it from the next frequency.
  int freq_line(int f) const;
  int cut_line(int f, int c) const { return freq_line(f) + 2 + c; }
  // The line after the last cut: where the EMR inputs begin.
  int end_line() const;
  // The y of `line`, `offset` pixels into it.
  int y(int line, int offset) const { return panel_line_y(top_, line, offset); }
  // The line under a y position, or -1 above the panel.
  int line_at(int y) const { return y < top_ ? -1 : (y - top_) / PANEL_LINE_HEIGHT; }

  // The cut on panel line `line`, if a cut stands there.
  std::optional<cut_ref> cut_at_line(int line) const;

  // Calls f(freq, cut, number) for every cut of the record in panel order.
  template <class F>
  void each_cut(F&& f) const {
    int number = 0;
    for (int fr = 0; fr < count_in(pd_.nofreq, MAX_FREQ); ++fr)
      for (int c = 0; c < count_in(pd_.freq[fr].numcut, MAX_CUTS); ++c, ++number) f(fr, c, number);
  }

 private:
  const antenna_data_type& pd_;
  int top_;
};

}  // namespace lobe

// Keeps the labels of a chart readable: a label whose box would overlap one
// already drawn, or come closer to it side by side than the gap, is moved,
// step by step along a given direction, until it is clear. The marks the
// labels belong to stay where they are.
#pragma once

#include <string_view>
#include <vector>

#include "draw/rect_chart.h"
#include "draw/surface.h"

namespace lobe {

class label_placer {
 public:
  // `gap`: the room kept between two labels on one line, so that "10.0" and
  // "33.0" never read as "10.033.0".
  explicit label_placer(int gap = 4) : gap_(gap) {}
  // A box already taken (a label or a mark drawn elsewhere).
  void reserve(const rect& box) { taken_.push_back(box); }
  void reserve_text(surface& dc, int x, int y, std::string_view text);
  // Labels must also lie wholly inside `area` (the chart's surroundings).
  void keep_inside(const rect& area) {
    bounds_ = area;
    bounded_ = true;
  }

  // Draws `text` at (x, y), or, when that box overlaps a taken one, at the
  // first of (x + k*dx, y + k*dy), k = 1 .. max_steps, that is clear (with
  // `both_ways`, k = 1, -1, 2, -2, ...). When none is, the label is left out
  // rather than drawn over another: returns false. A crowded chart loses
  // some angle labels, never its readability.
  bool place(surface& dc, int x, int y, std::string_view text, int dx, int dy, int max_steps = 4,
             bool both_ways = false);

  const std::vector<rect>& taken() const { return taken_; }
  // Whether `box` is clear of every taken box, the gap included.
  bool clear_of_taken(const rect& box) const;

 private:
  bool clear(const rect& box) const;
  int gap_;
  std::vector<rect> taken_;
  rect bounds_{};
  bool bounded_ = false;
};

bool overlaps(const rect& a, const rect& b);

}  // namespace lobe

#include "draw/label_placer.h"

namespace lobe {

bool overlaps(const rect& a, const rect& b) {
  return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

namespace {
rect box_at(int x, int y, point extent) { return {x, y, x + extent.x, y + extent.y}; }
}  // namespace

void label_placer::reserve_text(surface& dc, int x, int y, std::string_view text) {
  taken_.push_back(box_at(x, y, dc.text_extent(text)));
}

bool label_placer::clear_of_taken(const rect& box) const {
  const rect wide{box.left - gap_, box.top, box.right + gap_, box.bottom};
  for (const rect& t : taken_)
    if (overlaps(wide, t)) return false;
  return true;
}

bool label_placer::clear(const rect& box) const {
  if (bounded_ && (box.left < bounds_.left || box.top < bounds_.top || box.right > bounds_.right ||
                   box.bottom > bounds_.bottom))
    return false;
  return clear_of_taken(box);
}

bool label_placer::place(surface& dc, int x, int y, std::string_view text, int dx, int dy, int max_steps,
                         bool both_ways) {
  const point extent = dc.text_extent(text);
  const int tries = both_ways ? 2 * max_steps : max_steps;
  for (int i = 0; i <= tries; ++i) {
    const int k = !both_ways ? i : (i % 2 ? (i + 1) / 2 : -(i / 2));
    const rect box = box_at(x + k * dx, y + k * dy, extent);
    if (!clear(box)) continue;
    taken_.push_back(box);
    dc.text_out(box.left, box.top, text);
    return true;
  }
  return false;
}

}  // namespace lobe

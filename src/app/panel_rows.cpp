#include "app/panel_rows.h"

#include "draw/window_layout.h"

namespace lobe {

int panel_rows::freq_line(int f) const { return panel_freq_line(pd_, f); }

int panel_rows::end_line() const { return panel_end_line(pd_); }

std::optional<cut_ref> panel_rows::cut_at_line(int line) const {
  std::optional<cut_ref> found;
  each_cut([&](int f, int c, int number) {
    if (!found && cut_line(f, c) == line) found = cut_ref{f, c, number};
  });
  return found;
}

}  // namespace lobe

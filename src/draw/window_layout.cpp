#include "draw/window_layout.h"

#include <algorithm>

namespace lobe {

void set_window_parameters(window_layout& l, int width, int height, bool full_mode, int annuli) {
  const rect rc{0, 0, width, height};
  l.rRectArea = {rc.left + 265, rc.top + 35, full_mode ? rc.right - 315 : rc.right - 165, rc.bottom};
  if (l.rRectArea.right <= l.rRectArea.left) return;
  const int m = (l.rRectArea.left + l.rRectArea.right) / 2;
  l.rDescArea = {l.rRectArea.left, rc.top, l.rRectArea.right, rc.top + 60};
  l.rTrCtlArea = {m - 130, rc.bottom - 45, m + 130, rc.bottom - 5};
  // Between the progress bar and the line over "Display", tall enough for the bearing digits.
  l.rTrDegArea = {rc.left + 125, rc.top + 72, l.rRectArea.left - 5, rc.top + 90};
  l.rButtonArea = {rc.left + 5, rc.top + 5, rc.left + 255, rc.bottom - 5};
  l.rFileDataArea = {rc.left, full_mode ? rc.top + 220 : rc.top + 194, rc.left + 255, rc.bottom};
  l.rFreqDataArea = {l.rRectArea.right, rc.top, rc.right, rc.bottom - 90};
  const int w = l.rRectArea.right - l.rRectArea.left;
  const int h = l.rRectArea.bottom - l.rRectArea.top - 20;
  l.plot_centre_x = l.rRectArea.left + w / 2;
  l.plot_centre_y = l.rRectArea.top + h / 2;
  l.plot_radius = std::min(w, h) / 2 - 45;
  if (annuli > 0) l.plot_radius = (l.plot_radius / annuli) * annuli;
}

int panel_freq_line(const antenna_data_type& pd, int f) {
  int before = 0;
  for (int g = 0; g < f && g < MAX_FREQ; ++g) before += count_in(pd.freq[g].numcut, MAX_CUTS);
  return 3 * f + before;
}

int panel_cut_line(const antenna_data_type& pd, int f, int c) { return panel_freq_line(pd, f) + 2 + c; }

int panel_end_line(const antenna_data_type& pd) {
  const int n = count_in(pd.nofreq, MAX_FREQ);
  return n == 0 ? 0 : panel_freq_line(pd, n) - 1;
}

}  // namespace lobe

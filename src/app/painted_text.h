// Texts the window paints itself (captions, labels, the chart's notes, the
// bearing strip's numbers), each kept with its box so the layout tests can
// hold it clear of the controls.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "draw/rect_chart.h"
#include "draw/surface.h"

class QWidget;

namespace lobe {

// The window's own colours and label font.
inline constexpr colorref WINDOW_TEXT_COLOUR = rgb(0, 66, 117);
inline constexpr colorref WINDOW_LINE_COLOUR = rgb(230, 25, 56);  // frame lines, notes
inline constexpr colorref BEARING_COLOUR = rgb(2, 119, 212);
inline constexpr font WINDOW_LABEL_FONT{14, 400, false};

struct painted_text {
  lobe::rect box;  // in the client area's coordinates
  std::string text;
  const QWidget* owner = nullptr;  // the widget that painted it; none for the frame
};

// Draws `text` at (x, y) in the surface's font when it fits `room` pixels,
// else in the largest smaller one that does (down to 9 pixels), and keeps
// its box in `out`.
void fit_text(surface& dc, int x, int y, std::string_view text, int room, std::vector<painted_text>& out,
              const QWidget* owner = nullptr);

}  // namespace lobe

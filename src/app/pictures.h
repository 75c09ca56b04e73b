// Our own pictures for the window: logo, button images, turntable strips and
// the program icon, drawn once at start.
#pragma once

#include <QIcon>
#include <QPixmap>

namespace lobe {

struct window_pictures {
  QPixmap kwr;        // logo
  QPixmap sweep;      // sweep button of a cut row
  QPixmap del;        // delete button of a cut row
  QPixmap zoom;       // Zoom button
  QPixmap tr_shift;   // turntable strip while stopped: turn by hand at either end
  QPixmap bsweep;     // turntable strip while a sweep runs
  QPixmap bpause;     // turntable strip while paused: stop left, resume right
};

window_pictures make_window_pictures();
QIcon make_program_icon();

}  // namespace lobe

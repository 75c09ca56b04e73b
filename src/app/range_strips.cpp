#include "app/range_strips.h"

#include <QMouseEvent>
#include <QPainter>

#include "app/pictures.h"
#include "core/range/range_codes.h"
#include "core/text/c_numeric.h"
#include "draw_qt/qpainter_surface.h"

namespace lobe {

namespace {
const font k_bearing_font{16, 700, true};
// The stopped strip's arrows and the paused strip's halves.
constexpr int k_arrow_width = 79;
constexpr int k_resume_from = 128;
// The bearing strip's ends.
constexpr int k_zero_end = 44;
constexpr int k_full_from = 180;
}  // namespace

// A release is the window's (it ends a turn by hand); a press is the strip's.
void range_strip::mousePressEvent(QMouseEvent* e) {
  if (e->button() != Qt::LeftButton) return e->ignore();
  emit pressed(press_at(e->position().toPoint().x()));
}

turntable_strip::turntable_strip(QWidget* parent, const window_pictures& pictures)
    : range_strip(parent), pictures_(pictures) {
  setObjectName(QStringLiteral("turntable_strip"));
}

void turntable_strip::show_state(int scan_state) {
  if (scan_state == state_) return;
  state_ = scan_state;
  update();
}

void turntable_strip::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  const QPixmap& p = state_ == SCANSTATE_COLLECTING ? pictures_.bsweep
                     : state_ == SCANSTATE_PAUSED   ? pictures_.bpause
                                                    : pictures_.tr_shift;
  painter.drawPixmap(0, 0, p);
}

range_press turntable_strip::press_at(int x) const {
  if (state_ == SCANSTATE_COLLECTING) return range_press::pause;
  if (state_ == SCANSTATE_PAUSED) return x >= k_resume_from ? range_press::resume : range_press::stop;
  if (x < k_arrow_width) return range_press::turn_back;
  if (x > width() - k_arrow_width) return range_press::turn_forward;
  return range_press::none;
}

bearing_strip::bearing_strip(QWidget* client) : range_strip(client) { setObjectName(QStringLiteral("bearing_strip")); }

void bearing_strip::place(const lobe::rect& area) {
  area_ = area;
  setGeometry(0, area.top, std::max(0, area.right), std::max(0, area.bottom - area.top));
  update();
}

void bearing_strip::show_bearing(int bearing, int scan_state) {
  if (bearing == bearing_ && scan_state == state_) return;
  bearing_ = bearing;
  state_ = scan_state;
  update();
}

void bearing_strip::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.translate(-x(), -y());
  qpainter_surface dc(painter, true);
  texts_.clear();
  dc.set_text_color(WINDOW_TEXT_COLOUR);
  dc.select_font(WINDOW_LABEL_FONT);
  const int top = area_.top;
  fit_text(dc, 5, top, "0", area_.left - 5, texts_, this);
  fit_text(dc, 230, top, "360", 25, texts_, this);
  dc.select_font(k_bearing_font);
  dc.set_text_color(BEARING_COLOUR);
  fit_text(dc, area_.left, top, c_format("%i", bearing_), 225 - area_.left, texts_, this);
}

range_press bearing_strip::press_at(int x) const {
  if (state_ == SCANSTATE_COLLECTING) return range_press::pause;
  if (state_ != SCANSTATE_STOPPED) return range_press::none;
  if (x > k_full_from) return range_press::set_full;
  return x <= k_zero_end ? range_press::set_zero : range_press::none;
}

}  // namespace lobe

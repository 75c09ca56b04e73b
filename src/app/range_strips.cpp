#include "app/range_strips.h"

#include <QMouseEvent>
#include <QPainter>

#include "app/pictures.h"
#include "core/range/range_codes.h"
#include "core/text/c_numeric.h"
#include "draw_qt/qpainter_surface.h"

namespace lobe {

namespace {
const colorref k_text = rgb(0, 66, 117);
const colorref k_bearing = rgb(2, 119, 212);
const font k_label_font{14, 400, false};
const font k_bearing_font{16, 700, true};
// The stopped strip's arrows and the paused strip's halves.
constexpr int k_arrow_width = 79;
constexpr int k_resume_from = 128;
// The bearing strip's ends.
constexpr int k_zero_end = 44;
constexpr int k_full_from = 180;
}  // namespace

turntable_strip::turntable_strip(QWidget* parent, const window_pictures& pictures)
    : QWidget(parent), pictures_(pictures) {
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

void turntable_strip::mousePressEvent(QMouseEvent* e) {
  if (e->button() != Qt::LeftButton) return e->ignore();
  const int x = e->position().toPoint().x();
  range_press what = range_press::none;
  if (state_ == SCANSTATE_COLLECTING) {
    what = range_press::pause;
  } else if (state_ == SCANSTATE_PAUSED) {
    what = x >= k_resume_from ? range_press::resume : range_press::stop;
  } else if (x < k_arrow_width) {
    what = range_press::turn_back;
  } else if (x > width() - k_arrow_width) {
    what = range_press::turn_forward;
  }
  emit pressed(what);
}

bearing_strip::bearing_strip(QWidget* client) : QWidget(client) { setObjectName(QStringLiteral("bearing_strip")); }

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
  dc.set_text_color(k_text);
  dc.select_font(k_label_font);
  const int top = area_.top;
  fit_text(dc, 5, top, "0", area_.left - 5, texts_, this);
  fit_text(dc, 230, top, "360", 25, texts_, this);
  dc.select_font(k_bearing_font);
  dc.set_text_color(k_bearing);
  fit_text(dc, area_.left, top, c_format("%i", bearing_), 225 - area_.left, texts_, this);
}

void bearing_strip::mousePressEvent(QMouseEvent* e) {
  if (e->button() != Qt::LeftButton) return e->ignore();
  const int x = e->position().toPoint().x();
  range_press what = range_press::none;
  if (state_ == SCANSTATE_COLLECTING) {
    what = range_press::pause;
  } else if (state_ == SCANSTATE_STOPPED) {
    if (x <= k_zero_end) what = range_press::set_zero;
    if (x > k_full_from) what = range_press::set_full;
  }
  emit pressed(what);
}

}  // namespace lobe

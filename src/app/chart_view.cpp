#include "app/chart_view.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>

#include "app/pictures.h"
#include "core/text/c_numeric.h"
#include "draw/chart_scale.h"
#include "draw/view_renderer.h"
#include "draw_qt/qpainter_surface.h"

namespace lobe {

chart_view::chart_view(QWidget* client, const lobe_state& st, run_log& log, const window_pictures& pictures)
    : QWidget(client), zoom(new QPushButton(this)), st_(st), log_(log) {
  setObjectName(QStringLiteral("chart"));
  zoom->setObjectName(QStringLiteral("zoom"));
  zoom->setFocusPolicy(Qt::NoFocus);
  zoom->setIcon(QIcon(pictures.zoom));
  zoom->setIconSize(pictures.zoom.size());
  zoom->setToolTip(QStringLiteral("Zoom"));
}

// The widget starts at the chart area's left edge and the window's top; the
// drawing keeps the window's coordinates and is shifted into the widget.
void chart_view::place(const window_layout& layout, bool full) {
  layout_ = layout;
  full_ = full;
  const lobe::rect& ra = layout.rRectArea;
  setGeometry(ra.left, 0, std::max(0, ra.right - ra.left), std::max(0, ra.bottom));
  zoom->setGeometry(ra.right - 30 - ra.left, ra.bottom - 50, 28, 28);
  mark_changed();
}

void chart_view::set_reference(const antenna_data_type* reference) {
  reference_ = reference;
  mark_changed();
}

void chart_view::set_difference(bool on) {
  difference_ = on;
  mark_changed();
}

void chart_view::mark_changed() {
  changed_ = true;
  update();
}

void chart_view::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  const qreal ratio = devicePixelRatioF();
  const QSize pixels = size() * ratio;
  if (changed_ || cache_.size() != pixels) {
    cache_ = QPixmap(pixels);
    cache_.setDevicePixelRatio(ratio);
    cache_.fill(Qt::transparent);
    QPainter cache_painter(&cache_);
    cache_painter.translate(-x(), -y());
    draw(cache_painter);
    ++drawings_;
    changed_ = false;
  }
  painter.drawPixmap(0, 0, cache_);
  if (!drawn_) emit nothing_shown();
}

// The description strip and the notes first, then the chart over them, in a
// surface of its own so it starts from the default pen, font and colours.
void chart_view::draw(QPainter& painter) {
  texts_.clear();
  marks_ = {};
  {
    qpainter_surface dc(painter, true);
    dc.keep_marks(&marks_);
    dc.set_text_color(WINDOW_TEXT_COLOUR);
    descr_lines_ = draw_description_strip(dc, st_.pd, layout_);
    if (descr_lines_ == 0 && full_ && st_.view.display_type != DISPLAY_TYPE_EMR)
      dc.text_out(layout_.rFileDataArea.right + 15, 5, "Click here to add description data (NSMA)");
    paint_notes(dc);
  }
  qpainter_surface dc(painter, true);
  dc.keep_marks(&marks_);
  cut_ends ends;
  view_geometry g = window_view_geometry(layout_, descr_lines_);
  g.reference = reference_;
  g.difference = difference_;
  drawn_ = draw_view(st_, log_, dc, g, &ends);
  emit cuts_ended(ends);
}

// A note from x up to `limit` (window coordinates), or up to the first of
// the chart's buttons or strips to its right in that row.
void chart_view::note(surface& dc, int x, int y, std::string_view text, int limit) {
  const int height = WINDOW_LABEL_FONT.height;
  int right = limit;
  for (const QWidget* child : findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
    if (!child->isVisible()) continue;
    const QRect g = child->geometry().translated(pos());
    if (g.left() <= x || g.top() >= y + height || g.bottom() < y) continue;
    right = std::min(right, g.left() - 3);
  }
  fit_text(dc, x, y, text, right - x, texts_, this);
}

// What the chart's corner says: scaled levels, the dB centre or limit.
void chart_view::paint_notes(surface& dc) {
  const lobe::rect& ra = layout_.rRectArea;
  const int view = st_.view.display_type;
  // The notes stand beside the turntable strip where there is room, else above it.
  const lobe::rect& strip = layout_.rTrCtlArea;
  const bool crowded = st_.range.capture_enabled && ra.right - 100 < strip.right;
  const int notes_y = crowded ? strip.top - 20 : ra.bottom - 36;
  dc.select_font(WINDOW_LABEL_FONT);
  // Scaled levels are what Save As writes while the mode is on; say so.
  if (st_.view.scale_to_max_mode && view != DISPLAY_TYPE_EMR) {
    const colorref old = dc.set_text_color(WINDOW_LINE_COLOUR);
    note(dc, ra.left + 5, notes_y, SCALE_TO_MAX_NOTICE, ra.right - 105);
    dc.set_text_color(old);
  }
  if (!st_.view.mv_display) {
    const int db = centre_db_list[zoom_index(st_.view)];
    const int x = ra.right - 100;
    if (view == DISPLAY_TYPE_POLAR) note(dc, x, notes_y, c_format("-%ddB Centre", db), ra.right);
    // The difference chart has a scale of its own.
    const bool difference = difference_ && reference_;
    if ((view == DISPLAY_TYPE_RECT || view == DISPLAY_TYPE_RECT90) && !difference)
      note(dc, x, notes_y, c_format("-%ddB Limit", db), ra.right);
  }
}

// A click on the description strip in an editing mode opens its dialog;
// any other click belongs to the window.
void chart_view::mousePressEvent(QMouseEvent* e) {
  const QPoint p = e->position().toPoint() + pos();
  const lobe::rect& d = layout_.rDescArea;
  if (e->button() == Qt::LeftButton && full_ && p.x() > d.left && p.x() < d.right && p.y() > d.top &&
      p.y() < d.bottom && st_.view.display_type != DISPLAY_TYPE_EMR) {
    emit description_clicked();
    return;
  }
  e->ignore();
}

}  // namespace lobe

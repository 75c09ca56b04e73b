#include "draw_qt/qpainter_surface.h"

#include <QFontMetrics>
#include <QPainterPath>
#include <QPolygon>
#include <QString>
#include <cmath>
#include <vector>

namespace lobe {

QColor to_qcolor(colorref c) { return QColor(red_of(c), green_of(c), blue_of(c)); }

qpainter_surface::qpainter_surface(QPainter& painter, bool smooth) : painter_(painter), smooth_(smooth) {
  painter_.setRenderHint(QPainter::Antialiasing, false);
  painter_.setRenderHint(QPainter::TextAntialiasing, true);
  painter_.setBackgroundMode(Qt::TransparentMode);
  painter_.setPen(qt_pen());
  painter_.setBrush(Qt::NoBrush);
}

qpainter_surface::~qpainter_surface() { flush(); }

void qpainter_surface::smooth_for(bool curve) {
  const bool on = smooth_ && curve;
  if (painter_.testRenderHint(QPainter::Antialiasing) != on) painter_.setRenderHint(QPainter::Antialiasing, on);
}

void qpainter_surface::flush() {
  // A run of one segment is a frame or grid line; longer runs are traces.
  smooth_for(run_.size() > 2);
  if (run_.size() >= 2) painter_.drawPolyline(run_);
  run_.clear();
}

QPen qpainter_surface::qt_pen() const {
  if (pen_.style == pen_style::null) return QPen(Qt::NoPen);
  // Width 0 is Qt's cosmetic one-pixel pen, the thinnest line there is.
  QPen p(to_qcolor(pen_.colour), pen_.width, pen_.style == pen_style::dash_dot ? Qt::DashDotLine : Qt::SolidLine);
  p.setCapStyle(Qt::RoundCap);
  p.setJoinStyle(Qt::RoundJoin);
  return p;
}

pen qpainter_surface::select_pen(const pen& p) {
  const pen old = pen_;
  if (p == pen_) return old;
  flush();
  pen_ = p;
  painter_.setPen(qt_pen());
  return old;
}

brush qpainter_surface::select_brush(const brush& b) {
  const brush old = brush_;
  brush_ = b;
  return old;
}

// Fonts are asked for by cell height, as the charts were laid out: the
// largest Arial (Liberation Sans where Arial is absent) whose ascent plus
// descent fits the height.
const qpainter_surface::cached_font& qpainter_surface::qt_font(const font& f) {
  const auto key = std::make_tuple(f.height, f.weight, f.italic, f.fixed);
  auto it = fonts_.find(key);
  if (it != fonts_.end()) return it->second;
  QFont q(f.fixed ? QStringLiteral("Liberation Mono") : QStringLiteral("Arial"));
  if (f.fixed) q.setStyleHint(QFont::Monospace);
  q.setWeight(f.weight >= 700 ? QFont::Bold : QFont::Normal);
  q.setItalic(f.italic);
  int size = f.height > 1 ? f.height : 1;
  q.setPixelSize(size);
  while (size > 1 && QFontMetrics(q, painter_.device()).height() > f.height) q.setPixelSize(--size);
  return fonts_.emplace(key, cached_font{q, QFontMetrics(q, painter_.device()).ascent()}).first->second;
}

font qpainter_surface::select_font(const font& f) {
  const font old = font_;
  font_ = f;
  return old;
}

colorref qpainter_surface::set_text_color(colorref c) {
  const colorref old = text_colour_;
  text_colour_ = c;
  return old;
}

void qpainter_surface::move_to(int x, int y) {
  flush();
  current_ = {x, y};
}

void qpainter_surface::line_to(int x, int y) {
  if (run_.isEmpty()) run_.append(current_);
  run_.append(QPoint(x, y));
  current_ = {x, y};
}

void qpainter_surface::circle(int cx, int cy, int radius) {
  flush();
  smooth_for(false);
  painter_.setBrush(Qt::NoBrush);
  painter_.drawEllipse(QPoint(cx, cy), radius, radius);
}

namespace {
QPolygon to_polygon(std::span<const point> points) {
  QPolygon poly(static_cast<int>(points.size()));
  for (std::size_t i = 0; i < points.size(); ++i) poly.setPoint(static_cast<int>(i), points[i].x, points[i].y);
  return poly;
}
}  // namespace

void qpainter_surface::polyline(std::span<const point> points) {
  flush();
  smooth_for(points.size() > 2);
  const QPolygon poly = to_polygon(points);
  painter_.drawPolyline(poly);
  if (marks_ && !poly.isEmpty()) {
    const int half = (std::max(1, pen_.width) + 1) / 2;
    const QRect b = poly.boundingRect().adjusted(-half, -half, half, half);
    marks_->polylines.push_back({b.left(), b.top(), b.right() + 1, b.bottom() + 1});
  }
}

void qpainter_surface::polygon(std::span<const point> points) {
  flush();
  smooth_for(true);
  painter_.setBrush(brush_.null ? QBrush(Qt::NoBrush) : QBrush(to_qcolor(brush_.colour)));
  painter_.drawPolygon(to_polygon(points));
  painter_.setBrush(Qt::NoBrush);
}

void qpainter_surface::rectangle(int left, int top, int right, int bottom) {
  flush();
  smooth_for(false);
  const QRect r(QPoint(left, top), QPoint(right - 1, bottom - 1));
  if (!brush_.null) painter_.fillRect(r, to_qcolor(brush_.colour));
  if (pen_.style != pen_style::null) {
    painter_.setBrush(Qt::NoBrush);
    painter_.drawRect(r);
  }
}

void qpainter_surface::text_out(int x, int y, std::string_view text) {
  flush();
  const cached_font& f = qt_font(font_);
  painter_.setFont(f.font);
  painter_.setPen(to_qcolor(text_colour_));
  painter_.drawText(QPoint(x, y + f.ascent), QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size())));
  painter_.setPen(qt_pen());
  if (marks_) {
    const point extent = text_extent(text);
    marks_->texts.push_back({{x, y, x + extent.x, y + extent.y}, std::string(text)});
  }
}

point qpainter_surface::text_extent(std::string_view text) {
  const cached_font& f = qt_font(font_);
  const QFontMetrics m(f.font, painter_.device());
  return {m.horizontalAdvance(QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()))), m.height()};
}

void qpainter_surface::draw_picture(picture what, int x, int y, int width, int height) {
  flush();
  if (what == picture::logo) draw_logo(painter_, QRect(x, y, width, height));
}

void draw_logo(QPainter& painter, const QRect& where) {
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing, true);
  const int h = where.height();
  const QRectF lobe_box(where.left(), where.top(), h, h);
  // A cardioid lobe, the shape every directional antenna draws on our charts.
  QPainterPath lobe;
  const QPointF centre = lobe_box.center();
  for (int a = 0; a <= 360; a += 5) {
    const double t = a * M_PI / 180.0;
    const double rho = 0.5 * h * 0.5 * (1.0 + std::cos(t));
    const QPointF p(centre.x() - 0.15 * h + rho * std::cos(t), centre.y() + rho * std::sin(t));
    if (a == 0)
      lobe.moveTo(p);
    else
      lobe.lineTo(p);
  }
  painter.setPen(QPen(QColor(0, 66, 117), std::max(1, h / 20)));
  painter.setBrush(QColor(2, 119, 212, 90));
  painter.drawPath(lobe);
  painter.setBrush(Qt::NoBrush);
  painter.drawEllipse(lobe_box.adjusted(h * 0.05, h * 0.05, -h * 0.05, -h * 0.05));
  QFont f(QStringLiteral("Arial"));
  f.setBold(true);
  const QString name = QStringLiteral("Lobeview");
  const double room = where.width() - h * 1.2;
  int size = std::max(1, h * 6 / 10);
  f.setPixelSize(size);
  while (size > 1 && QFontMetrics(f, painter.device()).horizontalAdvance(name) > room) f.setPixelSize(--size);
  painter.setFont(f);
  painter.setPen(QColor(0, 66, 117));
  painter.drawText(QRectF(where.left() + h * 1.1, where.top(), where.width() - h * 1.1, h),
                   Qt::AlignVCenter | Qt::AlignLeft, name);
  painter.restore();
}

}  // namespace lobe

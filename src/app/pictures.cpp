#include "app/pictures.h"

#include <QFont>
#include <QPainter>
#include <QPainterPath>
#include <cmath>

#include "draw_qt/qpainter_surface.h"

namespace lobe {

namespace {

const QColor k_ink(0, 66, 117);
const QColor k_accent(2, 119, 212);
const QColor k_red(230, 25, 56);

QPixmap blank(int w, int h) {
  QPixmap p(w, h);
  p.fill(Qt::transparent);
  return p;
}

void arrow(QPainter& p, QPointF tip, double dir, double size) {
  QPolygonF head;
  head << tip << tip + QPointF(-dir * size, -size * 0.6) << tip + QPointF(-dir * size, size * 0.6);
  p.drawPolygon(head);
}

// The 260 x 40 turntable strip: a bar with a label and the click zones.
QPixmap strip(const QString& left, const QString& middle, const QString& right, const QColor& fill, int split) {
  QPixmap pm(260, 40);
  pm.fill(QColor(245, 247, 250));
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(k_ink, 1));
  p.setBrush(fill);
  p.drawRoundedRect(QRectF(0.5, 0.5, 259, 39), 6, 6);
  p.setPen(QPen(QColor(255, 255, 255, 180), 2));
  for (int x : {split}) {
    if (x > 0) p.drawLine(x, 4, x, 36);
  }
  QFont f(QStringLiteral("Arial"));
  f.setPixelSize(12);
  f.setBold(true);
  p.setFont(f);
  p.setPen(Qt::white);
  if (split > 0) {
    p.drawText(QRect(0, 0, split, 40), Qt::AlignCenter, left);
    p.drawText(QRect(split, 0, 260 - split, 40), Qt::AlignCenter, right);
  } else {
    p.drawText(QRect(0, 0, 260, 40), Qt::AlignCenter, middle);
  }
  return pm;
}

}  // namespace

namespace {

// The row buttons' sweep and delete icons, and the chart's zoom.
void draw_icons(window_pictures& w) {
  w.sweep = blank(18, 18);
  {
    QPainter p(&w.sweep);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(k_accent, 2));
    p.drawArc(QRectF(2, 2, 14, 14), 30 * 16, 300 * 16);
    p.setBrush(k_accent);
    p.setPen(Qt::NoPen);
    arrow(p, QPointF(15, 6), 1, 4);
  }
  w.del = blank(18, 18);
  {
    QPainter p(&w.del);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(k_red, 2.2));
    p.drawLine(QPointF(4, 4), QPointF(14, 14));
    p.drawLine(QPointF(14, 4), QPointF(4, 14));
  }
  w.zoom = blank(22, 22);
  {
    QPainter p(&w.zoom);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(k_ink, 2));
    p.drawEllipse(QRectF(3, 3, 11, 11));
    p.setPen(QPen(k_ink, 3));
    p.drawLine(QPointF(13, 13), QPointF(19, 19));
  }
}

// Stopped: hold the left end to turn back, the right end to turn forward.
QPixmap turntable_strip() {
  QPixmap strip_ = strip(QString(), QString(), QString(), k_ink, 0);
  QPainter p(&strip_);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(QColor(255, 255, 255, 180), 2));
  p.drawLine(79, 4, 79, 36);
  p.drawLine(181, 4, 181, 36);
  p.setPen(Qt::NoPen);
  p.setBrush(Qt::white);
  arrow(p, QPointF(14, 20), -1, 10);
  arrow(p, QPointF(246, 20), 1, 10);
  QFont f(QStringLiteral("Arial"));
  f.setPixelSize(11);
  p.setFont(f);
  p.setPen(Qt::white);
  p.drawText(QRect(20, 0, 59, 40), Qt::AlignCenter, QStringLiteral("reverse"));
  p.drawText(QRect(79, 0, 102, 40), Qt::AlignCenter, QStringLiteral("turntable"));
  p.drawText(QRect(181, 0, 59, 40), Qt::AlignCenter, QStringLiteral("forward"));
  p.end();
  return strip_;
}

}  // namespace

window_pictures make_window_pictures() {
  window_pictures w;
  w.kwr = blank(150, 60);
  {
    QPainter p(&w.kwr);
    draw_logo(p, QRect(0, 10, 150, 40));
  }
  draw_icons(w);
  w.tr_shift = turntable_strip();
  w.bsweep = strip(QString(), QStringLiteral("Sweeping - click to pause"), QString(), QColor(20, 140, 60), 0);
  w.bpause = strip(QStringLiteral("Stop"), QString(), QStringLiteral("Resume"), QColor(200, 120, 20), 128);
  return w;
}

QIcon make_program_icon() {
  QIcon icon;
  for (int size : {16, 32, 64, 128}) {
    QPixmap pm = blank(size, size);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(QColor(250, 252, 255));
    p.setPen(QPen(k_ink, std::max(1.0, size / 24.0)));
    p.drawEllipse(QRectF(1, 1, size - 2, size - 2));
    QPainterPath lobe;
    const QPointF c(size * 0.42, size * 0.5);
    for (int a = 0; a <= 360; a += 5) {
      const double t = a * M_PI / 180.0;
      const double rho = size * 0.26 * (1.0 + std::cos(t));
      const QPointF pt(c.x() + rho * std::cos(t), c.y() + rho * std::sin(t));
      a == 0 ? lobe.moveTo(pt) : lobe.lineTo(pt);
    }
    p.setBrush(QColor(2, 119, 212, 150));
    p.drawPath(lobe);
    icon.addPixmap(pm);
  }
  return icon;
}

}  // namespace lobe

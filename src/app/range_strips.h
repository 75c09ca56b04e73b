// The test range's two strips: the turntable strip under the chart (turn by
// hand while stopped, pause while sweeping, stop or resume while paused) and
// the bearing strip in the left column (the bearing as it turns; its ends
// set the controller's zero and 360). Each says what a click asks for; the
// window does it.
#pragma once

#include <QWidget>
#include <vector>

#include "app/painted_text.h"
#include "draw/window_layout.h"

namespace lobe {

struct window_pictures;

enum class range_press { none, pause, resume, stop, turn_back, turn_forward, set_zero, set_full };

// A strip the test range's clicks land on: it keeps the sweep's state and
// says by `pressed` what a left click asks for.
class range_strip : public QWidget {
  Q_OBJECT

 public:
  using QWidget::QWidget;

 signals:
  void pressed(range_press what);

 protected:
  // What a click at x (the strip's own coordinates) asks for in `state_`.
  virtual range_press press_at(int x) const = 0;
  void mousePressEvent(QMouseEvent* e) override;

  int state_ = 0;  // SCANSTATE_*
};

class turntable_strip : public range_strip {
  Q_OBJECT

 public:
  turntable_strip(QWidget* parent, const window_pictures& pictures);
  // The strip's picture for the sweep's state (collecting, paused, stopped).
  void show_state(int scan_state);

 protected:
  void paintEvent(QPaintEvent*) override;
  range_press press_at(int x) const override;

 private:
  const window_pictures& pictures_;
};

class bearing_strip : public range_strip {
  Q_OBJECT

 public:
  explicit bearing_strip(QWidget* client);
  // Spans the left column's row from its left edge to `area`'s right; the
  // bearing is written from `area`'s left.
  void place(const lobe::rect& area);
  void show_bearing(int bearing, int scan_state);
  const std::vector<painted_text>& painted_texts() const { return texts_; }

 protected:
  void paintEvent(QPaintEvent*) override;
  range_press press_at(int x) const override;

 private:
  lobe::rect area_{};
  int bearing_ = 0;
  std::vector<painted_text> texts_;
};

}  // namespace lobe

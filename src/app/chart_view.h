// The chart of the current view with the description strip above it, the
// notes in its corner (scaled levels, the dB centre or limit) and its zoom
// button. It draws from the record it is given; a drawing is kept as a
// picture and done again only when the window says the chart changed.
#pragma once

#include <QPixmap>
#include <QWidget>
#include <vector>

#include "app/painted_text.h"
#include "draw_qt/qpainter_surface.h"
#include "core/record/lobe_state.h"
#include "draw/window_layout.h"

class QPainter;
class QPushButton;

namespace lobe {

// Shown on the chart while "Scale all to strongest signal" is on.
inline constexpr const char* SCALE_TO_MAX_NOTICE = "Scaled to strongest signal";

class run_log;
struct window_pictures;

class chart_view : public QWidget {
  Q_OBJECT

 public:
  chart_view(QWidget* client, const lobe_state& st, run_log& log, const window_pictures& pictures);

  // Takes the chart's part of the window: from the top of the description
  // strip to the bottom of the chart area. `full` is the editing or
  // test-range mode, which offers the description strip to a click.
  void place(const window_layout& layout, bool full);
  // The record or the view changed: the next paint draws the chart again.
  void mark_changed();
  // A reference pattern to draw beside the pattern, or none.
  void set_reference(const antenna_data_type* reference);
  // With a reference, the Cartesian views draw the difference from it.
  void set_difference(bool on);

  // How often the chart was drawn (not just shown again from its picture).
  int drawings() const { return drawings_; }
  // Whether the last drawing showed a chart (the EMR view needs a cut).
  bool drawn() const { return drawn_; }
  const std::vector<painted_text>& painted_texts() const { return texts_; }
  // Every text and wedge of the last drawing, in the window's coordinates.
  const drawn_marks& marks() const { return marks_; }

  QPushButton* zoom;

 signals:
  void description_clicked();
  // Where each cut's drawing ended, for the window to shorten the cuts.
  void cuts_ended(const cut_ends& ends);
  // A paint found nothing to draw in the EMR view.
  void nothing_shown();

 protected:
  void paintEvent(QPaintEvent*) override;
  void mousePressEvent(QMouseEvent* e) override;

 private:
  void draw(QPainter& painter);
  void paint_notes(surface& dc);
  void note(surface& dc, int x, int y, std::string_view text, int limit);

  const lobe_state& st_;
  run_log& log_;
  window_layout layout_;
  bool full_ = false;
  int descr_lines_ = 0;
  const antenna_data_type* reference_ = nullptr;
  bool difference_ = false;
  bool changed_ = true;
  bool drawn_ = true;
  int drawings_ = 0;
  QPixmap cache_;
  std::vector<painted_text> texts_;
  drawn_marks marks_;
};

}  // namespace lobe

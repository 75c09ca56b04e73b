// The left column's fixed controls: Clear all, Add New Freq, the scale and
// grid choices, Open, Print, Save As, Undo, the sweep's progress bar, the
// pane choice and the chart's zoom button. The window connects their
// signals to what they do.
#pragma once

#include <vector>

class QProgressBar;
class QPushButton;
class QRadioButton;
class QWidget;

namespace lobe {

struct window_layout;
struct window_pictures;

class command_column {
 public:
  command_column(QWidget* client, const window_pictures& pictures);

  // Puts every control where the layout has room for it; view mode has no
  // editing buttons, and Add New Freq and the progress bar belong to the
  // test range alone.
  void place(const window_layout& layout, bool full, bool capture);
  // The controls a running sweep must not touch.
  std::vector<QWidget*> sweep_locked() const;

  QPushButton* clear_all;
  QPushButton* add_freq;
  QPushButton* open;
  QPushButton* print;
  QPushButton* save;
  QPushButton* undo;
  QPushButton* zoom;
  QRadioButton* log_grid;
  QRadioButton* lin_grid;
  QRadioButton* db_scale;
  QRadioButton* mv_scale;
  QRadioButton* description;
  QRadioButton* performance;
  QProgressBar* progress;
};

}  // namespace lobe

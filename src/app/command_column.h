// The left column's fixed controls: Clear all, Add New Freq, the scale and
// grid choices, Open, Print, Save As, Undo, the sweep's progress bar and the
// pane choice. The window connects their signals to what they do.
#pragma once

#include <vector>

class QProgressBar;
class QPushButton;
class QRadioButton;
class QWidget;

namespace lobe {

struct window_layout;

class command_column {
 public:
  explicit command_column(QWidget* client);

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
  QRadioButton* log_grid;
  QRadioButton* lin_grid;
  QRadioButton* db_scale;
  QRadioButton* mv_scale;
  QRadioButton* description;
  QRadioButton* performance;
  QProgressBar* progress;
};

}  // namespace lobe

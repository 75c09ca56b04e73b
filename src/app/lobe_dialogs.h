// The four small dialogs: ANT version, 4NEC columns, description lines and
// analyser address. Sizes follow their templates in dialog units, which are
// taken from the dialog's own font (a quarter of its average character width
// across, an eighth of its height down), so the dialogs grow with the font;
// a text that still does not fit widens its control. Each dialog stands over
// the chart's centre.
#pragma once

#include <QDialog>
#include <QLineEdit>
#include <QListWidget>
#include <array>
#include <string>

#include "app/modal_ui.h"

namespace lobe {

// Dialog units of a font, to pixels.
struct dialog_units {
  explicit dialog_units(const QFont& font);
  int x(int v) const { return (v * base_x + 2) / 4; }
  int y(int v) const { return (v * base_y + 4) / 8; }
  int base_x, base_y;
};

// Widens every label and button whose text does not fit, moving what lies to
// its right along and growing the dialog to match.
void fit_dialog_texts(QDialog& dialog);

class ant_version_dialog_box : public QDialog {
 public:
  explicit ant_version_dialog_box(QWidget* parent);
  int chosen = 0;  // AFT_ANT_V1..V3 once a button was pressed
};

class nec_column_dialog_box : public QDialog {
 public:
  explicit nec_column_dialog_box(QWidget* parent);
  QListWidget* angle_list;
  QListWidget* signal_list;
};

class description_dialog_box : public QDialog {
 public:
  description_dialog_box(QWidget* parent, const antenna_data_type& pd);
  std::array<QLineEdit*, 5> lines{};
};

class dsa_ip_dialog_box : public QDialog {
 public:
  dsa_ip_dialog_box(QWidget* parent, const std::string& ip);
  QLineEdit* address;
};

// Moves a dialog so that it stands centred over `at` (screen coordinates).
void place_dialog(QDialog& dialog, dialog_anchor at);

}  // namespace lobe

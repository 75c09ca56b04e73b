// The four small dialogs: ANT version, 4NEC columns, description lines and
// analyser address. Sizes follow their templates (dialog units of an 8-point
// font: 1.5 pixels across, 1.625 down); each stands over the chart's centre.
#pragma once

#include <QDialog>
#include <QLineEdit>
#include <QListWidget>
#include <array>
#include <string>

#include "app/modal_ui.h"

namespace lobe {

// Dialog units to pixels.
inline int du_x(int v) { return v * 3 / 2; }
inline int du_y(int v) { return v * 13 / 8; }

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

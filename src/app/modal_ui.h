// Every modal interaction of the main window goes through this interface:
// message boxes, questions, file, colour and print dialogs and our four
// small dialogs. The window uses the Qt implementation; tests script the
// answers.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/formats/format_table.h"
#include "core/record/lobe_state.h"

class QWidget;
class QPrinter;

namespace lobe {

enum class message_icon { error, warning, information, question };

// "NSMA Files (*.nsma)" and "*.nsma", made from the format table.
using file_filter = format_filter;

struct file_dialog_request {
  std::string folder;
  std::string default_extension;  // "" for none
  std::vector<file_filter> filters;
  std::string current_name;
};

// Where a dialog stands: centred over this point of the screen.
struct dialog_anchor {
  int x = 0;
  int y = 0;
};

class modal_ui {
 public:
  virtual ~modal_ui() = default;
  // Returns IDOK, or IDYES / IDNO for questions.
  virtual int message_box(const std::string& text, const std::string& caption, message_icon icon,
                          bool yes_no = false) = 0;
  virtual std::optional<std::string> open_file_name(const file_dialog_request& r) = 0;
  virtual std::optional<std::string> save_file_name(const file_dialog_request& r) = 0;
  // The four dialogs return 1 (accepted), 2 (cancelled) or -1 (could not be made).
  virtual int ant_version_dialog(dialog_anchor at, int& ant_file_type) = 0;
  virtual int nec_column_dialog(dialog_anchor at, int& angle_col, int& signal_col) = 0;
  virtual int description_dialog(dialog_anchor at, antenna_data_type& pd) = 0;
  virtual int dsa_ip_dialog(dialog_anchor at, std::string& ip) = 0;
  virtual std::optional<colorref> choose_colour(colorref initial, const std::vector<colorref>& custom) = 0;
  // Sets up `printer` (device, orientation, output file); false when cancelled.
  virtual bool print_setup(QPrinter& printer) = 0;
  // Shows a text to read (a table: fixed-width), until the user closes it.
  virtual void show_text(const std::string& title, const std::string& text) = 0;
};

// The dialogs of the desktop, parented to `owner`.
class qt_modal_ui : public modal_ui {
 public:
  explicit qt_modal_ui(QWidget* owner) : owner_(owner) {}
  int message_box(const std::string& text, const std::string& caption, message_icon icon, bool yes_no) override;
  std::optional<std::string> open_file_name(const file_dialog_request& r) override;
  std::optional<std::string> save_file_name(const file_dialog_request& r) override;
  int ant_version_dialog(dialog_anchor at, int& ant_file_type) override;
  int nec_column_dialog(dialog_anchor at, int& angle_col, int& signal_col) override;
  int description_dialog(dialog_anchor at, antenna_data_type& pd) override;
  int dsa_ip_dialog(dialog_anchor at, std::string& ip) override;
  std::optional<colorref> choose_colour(colorref initial, const std::vector<colorref>& custom) override;
  bool print_setup(QPrinter& printer) override;
  void show_text(const std::string& title, const std::string& text) override;

 private:
  QWidget* owner_;
};

}  // namespace lobe

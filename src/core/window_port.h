// What core asks of the main window: status-bar texts, message boxes, the
// envelope menu's check marks, rebuilding the data panel and the menus, and
// whether a cut's show box is ticked. The window implements it; tests and
// lobeconv use recorders or the do-nothing defaults below.
#pragma once

#include <string_view>

namespace lobe {

enum class message_icon { error, warning, information, question };

class window_port {
 public:
  virtual ~window_port() = default;
  virtual void set_status_text(int /*part*/, std::string_view /*text*/) {}
  virtual void message_box(std::string_view /*text*/, std::string_view /*caption*/, message_icon /*icon*/) {}
  virtual void check_envelope_item(int /*env*/, bool /*checked*/) {}
  // Drops the panel's header edits and frequency/cut rows (before the record changes).
  virtual void clear_panel() {}
  // Re-creates the panel from the record.
  virtual void rebuild_panel() {}
  virtual void rebuild_menus() {}
  // Copies what the user typed into the panel back into the record.
  virtual void read_form_data() {}
  virtual bool is_cut_shown(int /*f*/, int /*c*/) { return true; }
};

}  // namespace lobe

// What core asks of the main window: status-bar texts, message boxes, the
// envelope menu's check marks, rebuilding the data panel and the menus, and
// whether a cut's show box is ticked. The window implements it; tests and
// lobeconv use recorders or the do-nothing defaults below.
#pragma once

#include <string_view>

namespace lobe {

enum class message_icon { error, warning, information, question };

// Areas of the main window the test range asks to be redrawn.
enum class window_area { bearing_strip, turntable_strip, chart, freq_data };

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

  // The test range.
  virtual void redraw(window_area /*area*/) {}
  virtual void set_progress(int /*bearing*/) {}
  // Enters or leaves test-range mode (panel and menus rebuilt), then re-lays out the window.
  virtual void switch_capture(int /*b*/) {}
  // Locks / unlocks the controls that must not be used while a sweep runs.
  virtual void sweep_active() {}
  virtual void sweep_inactive() {}
  // "Open", "Print" and "Save As" usable again after a sweep.
  virtual void enable_file_buttons() {}
};

}  // namespace lobe

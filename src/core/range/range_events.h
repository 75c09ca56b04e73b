// What the test range tells the main window while bytes arrive from the
// turntable controller and the analyser: these come at any time, not as the
// answer to a command, so they cannot wait for a report.
#pragma once

#include <string_view>

#include "core/io/run_log.h"

namespace lobe {

// Areas of the main window the test range asks to be redrawn.
enum class window_area { bearing_strip, turntable_strip, chart, freq_data };

class range_events {
 public:
  virtual ~range_events() = default;
  virtual void set_status_text(int /*part*/, std::string_view /*text*/) {}
  virtual void redraw(window_area /*area*/) {}
  virtual void set_progress(int /*bearing*/) {}
  // A frequency's text changed: the data panel shows the record anew.
  virtual void panel_changed() {}
  // Enters or leaves test-range mode (panel and menus rebuilt), then re-lays out the window.
  virtual void switch_capture(int /*b*/) {}
  // Locks / unlocks the controls that must not be used while a sweep runs.
  virtual void sweep_active() {}
  virtual void sweep_inactive() {}
  // "Open", "Print" and "Save As" usable again after a sweep.
  virtual void enable_file_buttons() {}
};

// Where the test range's side effects go: the run log and the window.
struct range_io {
  run_log& log;
  range_events& events;
};

}  // namespace lobe

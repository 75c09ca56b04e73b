#include "core/range/turntable_link.h"

#include <cstring>

#include "core/text/c_numeric.h"
#include "core/range/range_codes.h"
#include "core/io/run_log.h"
#include "core/range/sweep_capture.h"
#include "core/range/range_events.h"

namespace lobe {

bool new_com_data(com_receiver& rx, char byte) {
  if (rx.ch_state != CM_DATA) {
    if (byte == '\n' || byte == '\r') return false;
    rx.xdata[0] = byte;
    rx.xdata_i = 1;
    rx.ch_state = CM_DATA;
    return false;
  }
  if (byte == '\r') {
    rx.xdata[rx.xdata_i] = '\0';
    rx.ch_state = CM_NOTHING;
    return true;
  }
  rx.xdata[rx.xdata_i++] = byte;
  if (rx.xdata_i >= COM_MESSAGE_MAX) {
    rx.xdata[COM_MESSAGE_MAX] = '\0';
    rx.ch_state = CM_NOTHING;
    return true;
  }
  return false;
}

std::string com_command(int code) { return c_format("#%u\n", static_cast<unsigned>(code)); }

void display_current_com_port(range_events& events) { events.set_status_text(STB_COM_PORT, "TR"); }

namespace {

void on_bearing(lobe_state& st, range_io& io, const char* xdata) {
  int bearing = 0;
  // The tag and anything joined to it is skipped: "#A45" carries no bearing.
  const bool read = c_sscanf(xdata, "%*s %i", &bearing) == 1;
  io.log.write_error_log("handle_com_data", c_format("Degrees %u Power %f", static_cast<unsigned>(bearing),
                                                     static_cast<double>(st.range.dsapwr)));
  if (!read) return;
  if (bearing > 359) {
    io.log.write_error_log("handle_com_data",
                           c_format("Capture angle %u corrected to 0", static_cast<unsigned>(bearing)));
    bearing = 0;
  }
  st.range.antenna_angle = bearing;
  if (st.range.scan_state == SCANSTATE_COLLECTING) {
    // A negative bearing has no sample slot; it only moves the display. A
    // level too old to belong to this bearing (the analyser stalled) is no
    // reading: the bearing stays empty and is filled or reported later.
    if (bearing >= 0 && level_is_fresh(st.range, range_clock_ms())) st.range.cbuff[bearing] = st.range.dsapwr;
    if (bearing % 5 == 0) {
      io.events.redraw(window_area::bearing_strip);
      if (bearing >= 0) io.events.set_progress(bearing);
    }
    return;
  }
  io.events.redraw(window_area::bearing_strip);
  if (bearing >= 0) io.events.set_progress(bearing);
}

void on_return_code(lobe_state& st, range_io& io, const char* xdata) {
  unsigned code = 0;
  if (c_sscanf(xdata, "%*s %u", &code) != 1) return;
  switch (code) {
    case RC_RECEIVER_ERR:
      io.events.set_status_text(STB_ERROR, "Test range: Receiver not working");
      range_stop(st, io);
      io.events.redraw(window_area::turntable_strip);
      return;
    case RC_COMPLETE:
      // A completion report with no sweep under way would overwrite the cut
      // last selected with stale samples: it is ignored.
      if (st.range.scan_state == SCANSTATE_STOPPED) {
        io.log.write_error_log("handle_com_data", "Sweep complete reported with no sweep under way - ignored");
        return;
      }
      st.range.scan_state = SCANSTATE_STOPPED;
      io.events.enable_file_buttons();
      io.events.set_status_text(STB_ACTION, "Sweep done");
      sweep_complete(st, io);
      io.events.sweep_inactive();
      return;
    case RC_HW_STOP:
      range_stop(st, io);
      io.events.redraw(window_area::turntable_strip);
      return;
    case RC_12V_ON:
      if (st.range.capture_enabled) return;
      io.events.switch_capture(1);
      display_current_com_port(io.events);
      io.log.write_error_log("handle_com_data", "Hardware power is on");
      return;
    case RC_12V_OFF:
      if (!st.range.capture_enabled) return;
      io.events.switch_capture(0);
      io.log.write_error_log("handle_com_data", "Hardware power is off");
      return;
    default:
      return;
  }
}

}  // namespace

void handle_com_data(lobe_state& st, range_io& io, const char* xdata) {
  if (std::strncmp(xdata, "#T", 2) == 0) {
    io.log.write_error_log("handle_com_data", xdata);
  } else if (std::strncmp(xdata, "#A", 2) == 0) {
    on_bearing(st, io, xdata);
  } else if (std::strncmp(xdata, "#C", 2) == 0) {
    on_return_code(st, io, xdata);
  }
}

}  // namespace lobe

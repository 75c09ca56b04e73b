// The turntable controller's serial protocol, 9600 baud 8N1.
//
// Host to controller, one command a message: "#", the code, LF.
//   #1\n           start a sweep          #0\n   stop
//   #5\n           hello: the controller answers with its supply state
// Controller to host, messages ended by CR (LF or CR outside a message is
// skipped, so CR LF and LF CR line ends work); at most 39 characters:
//   #A 123\r       the turntable reached bearing 123
//   #C 6\r         return code 6: the 12 V supply is on
//   #T text\r      a trace line for the log
// A sample exchange: host "#5\n", controller "#C 6\r"; host "#1\n",
// controller "#A 0\r", "#A 1\r", ... "#A 359\r", "#C 3\r".
#pragma once

#include <string>

#include "core/range/range_codes.h"
#include "core/range/range_events.h"
#include "core/record/lobe_state.h"

namespace lobe {

inline constexpr int CM_NOTHING = 0;
inline constexpr int CM_DATA = 4;
inline constexpr int COM_MESSAGE_MAX = 39;


// The receive framing.
struct com_receiver {
  int ch_state = CM_NOTHING;
  char xdata[COM_MESSAGE_MAX + 1] = {};
  int xdata_i = 0;
};

// Takes one received byte; true when a complete message now stands in rx.xdata.
bool new_com_data(com_receiver& rx, char byte);

// The bytes of one command: "#<code>\n".
std::string com_command(int code);

// Acts on the complete message in `xdata`: trace lines, bearing reports and
// return codes.
void handle_com_data(lobe_state& st, range_io& io, const char* xdata);

// "TR" in the status bar's port field.
void display_current_com_port(range_events& events);

}  // namespace lobe

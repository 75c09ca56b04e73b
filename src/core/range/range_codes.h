// Codes of the test range: turntable controller commands and sweep states,
// and the analyser requests the window starts.
#pragma once

namespace lobe {

// Host to controller: "#<code>\n".
inline constexpr int COM_TX_STOP = 0;
inline constexpr int COM_TX_SWEEP = 1;
inline constexpr int COM_TX_SET_360 = 3;
inline constexpr int COM_TX_SET_ZERO = 4;
inline constexpr int COM_HELLO = 5;
inline constexpr int COM_MAN_F = 6;
inline constexpr int COM_MAN_R = 7;
inline constexpr int COM_MAN_S = 8;

// The controller's return codes ("#C n").
inline constexpr int RC_RECEIVER_ERR = 1;
inline constexpr int RC_BUSY_REWINDING = 2;
inline constexpr int RC_COMPLETE = 3;
inline constexpr int RC_HOME = 4;
inline constexpr int RC_HW_STOP = 5;
inline constexpr int RC_12V_ON = 6;
inline constexpr int RC_12V_OFF = 7;
inline constexpr int RC_NOT_HOMED = 8;

inline constexpr int SCANSTATE_STOPPED = 0;
inline constexpr int SCANSTATE_COLLECTING = 1;
inline constexpr int SCANSTATE_PAUSED = 4;

inline constexpr int DSA_REQ_NONE = 0;
inline constexpr int DSA_REQ_PWR = 1;
inline constexpr int DSA_REQ_FREQ = 2;
inline constexpr int DSA_SET_FREQ = 8;

}  // namespace lobe

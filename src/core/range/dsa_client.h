// The DSA875 spectrum analyser, SCPI over one non-blocking TCP connection to
// port 5555. Every command is a line ended by LF, and so is every reply: a
// reply that arrives in pieces (TCP may split it anywhere) is put together up
// to its LF. Bytes without an LF are handed on only once the socket has been
// quiet for DSA_QUIET_MS, or when they fill the buffer: as a torn reply,
// which is never read as a level or a frequency, and whose tail (the bytes
// up to the next LF, when a resent segment brings them late) is dropped.
//
//   -> *IDN?                      <- Rigol Technologies,DSA875,DSA8A...,00.01.19
//   -> :SYST:OPT?                 <- ...
//   -> :unit:power v
//   -> :CALC:MARK:AOFF
//   -> :sens:freq:cent 433920000
//   -> :read:chp:chp?             <- 1.234e-03
//   -> :read:chp:chp?             <- 1.240e-03   (again and again while a sweep collects)
#pragma once

#include <string>

#include "core/range/range_events.h"
#include "core/record/lobe_state.h"

namespace lobe {

inline constexpr int DSA_BUF_SIZE = 256;
inline constexpr long long DSA_QUIET_MS = 200;
// The analyser's tuning range, with room to spare: a reply outside it is no frequency.
inline constexpr float MIN_DSA_FREQ_HZ = 1000.0f;
inline constexpr float MAX_DSA_FREQ_HZ = 100e9f;
inline constexpr const char* DEFAULT_PORT = "5555";

inline constexpr int DSA_REQ_SER = 3;
inline constexpr int DSA_REQ_LIC = 4;
inline constexpr int DSA_SET_CHP = 1;
inline constexpr int DSA_SET_V = 2;
inline constexpr int DSA_SET_DBM = 3;
inline constexpr int DSA_SET_LIN = 4;
inline constexpr int DSA_SET_LOG = 5;
inline constexpr int DSA_SET_REMOTE = 6;
inline constexpr int DSA_SET_LOCAL = 7;
inline constexpr int DSA_SET_MARKER_OFF = 9;

class dsa_client {
 public:
  dsa_client(lobe_state& st, range_io& io) : st_(st), io_(io) {}
  ~dsa_client();
  dsa_client(const dsa_client&) = delete;
  dsa_client& operator=(const dsa_client&) = delete;

  // (Re)starts the connection to `ip`; 1 when an attempt is under way or made.
  int dsa_init(const char* ip);
  // 1 when the wait itself failed (no socket, a dropped one), else 0.
  int dsa_wait_for_connect(long sec, long usec);
  void dsa_req(int req);
  void dsa_set(int req);
  void dsa_set_d(int req, int d);
  int dsa_req_xxx(const char* cmd);
  // 0 while bytes keep arriving or nothing came, -1 without a connection,
  // else the length of the reply collected in dsa_buf.
  int dsa_recv();
  // Acts on the reply in dsa_buf (terminated by the caller).
  void new_dsa_data();
  void dsa_cleanup();

  // Receives every waiting byte and hands on each complete reply (and an
  // unfinished one that has been quiet long enough); for the window's
  // readiness notification, and again DSA_QUIET_MS after bytes without an LF.
  void poll();
  bool has_partial_reply() const { return dsa_buf_ptr > 0; }
  // Whether the reply in dsa_buf came whole, up to its LF.
  bool reply_whole = true;

  int socket_fd() const { return socket_; }
  // Changes with every new socket, even when the system reuses its number.
  unsigned socket_generation() const { return generation_; }
  bool connected() const { return dsa_connected != 0; }
  int dsa_connected = 0;
  int dsa_setup = 0;
  int dsa_req_pending = 0;
  char dsa_buf[DSA_BUF_SIZE] = {};
  int dsa_buf_ptr = 0;
  int dsa_freq = 0;
  char dsa_ser[64] = {};
  char dsa_lic[128] = {};

 private:
  void close_socket();
  void hand_on_replies();
  void take_level_reply();
  bool discard_to_lf_ = false;  // the rest of a torn reply is still to come
  long long last_byte_ms_ = 0;
  lobe_state& st_;
  range_io& io_;
  int socket_ = -1;
  unsigned generation_ = 0;
};

}  // namespace lobe

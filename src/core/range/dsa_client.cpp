#include "core/range/dsa_client.h"

#include <cerrno>
#include <cmath>
#include <cstring>
#include <fcntl.h>
#include <netdb.h>
#include <sys/select.h>
#include <sys/socket.h>
#include <unistd.h>

#include "core/text/c_numeric.h"
#include "core/range/sweep_capture.h"
#include "core/text/field_text.h"
#include "core/range/range_codes.h"
#include "core/io/run_log.h"
#include "core/range/range_events.h"

namespace lobe {

namespace {

// The whole of `reply` is one finite decimal number, as SCPI writes one
// ("1.234560e-03", "433920000"), with at most blanks and the line end
// around it. No "nan", "inf", hexadecimal or trailing text.
bool instrument_number(const char* reply, double& out) {
  const char* p = reply;
  while (*p == ' ' || *p == '\t') ++p;
  const char* start = p;
  if (*p == '+' || *p == '-') ++p;
  int digits = 0;
  while (*p >= '0' && *p <= '9') ++p, ++digits;
  if (*p == '.') {
    ++p;
    while (*p >= '0' && *p <= '9') ++p, ++digits;
  }
  if (digits == 0) return false;
  if (*p == 'e' || *p == 'E') {
    ++p;
    if (*p == '+' || *p == '-') ++p;
    if (!(*p >= '0' && *p <= '9')) return false;
    while (*p >= '0' && *p <= '9') ++p;
  }
  const std::string number(start, p);
  while (*p == ' ' || *p == '\t' || *p == '\r' || *p == '\n') ++p;
  if (*p != '\0') return false;
  return c_sscanf(number.c_str(), "%lf", &out) == 1 && std::isfinite(out);
}

}  // namespace

dsa_client::~dsa_client() { close_socket(); }

void dsa_client::close_socket() {
  if (socket_ >= 0) ::close(socket_);
  socket_ = -1;
  discard_to_lf_ = false;  // a new connection starts a new stream
}

int dsa_client::dsa_init(const char* ip) {
  close_socket();
  addrinfo hints{};
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = SOCK_STREAM;
  hints.ai_protocol = IPPROTO_TCP;
  // Numeric addresses only: the analyser is named by its address, and a name
  // lookup could block the window.
  hints.ai_flags = AI_NUMERICHOST | AI_NUMERICSERV;
  addrinfo* result = nullptr;
  const int rc = getaddrinfo(ip, DEFAULT_PORT, &hints, &result);
  if (rc != 0) {
    io_.log.write_error_log("dsa_init", c_format("getaddrinfo failed: %d", rc));
    return 0;
  }
  socket_ = ::socket(result->ai_family, result->ai_socktype | SOCK_CLOEXEC, result->ai_protocol);
  ++generation_;
  if (socket_ < 0) {
    io_.log.write_error_log("dsa_init", c_format("Error at socket(): %ld", static_cast<long>(errno)));
    freeaddrinfo(result);
    return 0;
  }
  const int flags = fcntl(socket_, F_GETFL, 0);
  if (flags < 0 || fcntl(socket_, F_SETFL, flags | O_NONBLOCK) < 0) {
    io_.log.write_error_log("dsa_init", c_format("Non-blocking ioctl failed: %d", errno));
    close_socket();
    freeaddrinfo(result);
    return 0;
  }
  if (::connect(socket_, result->ai_addr, result->ai_addrlen) == 0) {
    io_.log.write_error_log("dsa_connect", "DSA875 connected");
  } else if (errno == EINPROGRESS) {
    io_.log.write_error_log("dsa_connect", "Server not ready to connect yet");
  } else {
    io_.log.write_error_log("dsa_connect", c_format("Unable to connect to server: %d", errno));
    freeaddrinfo(result);
    close_socket();
    return 0;
  }
  freeaddrinfo(result);
  return 1;
}

int dsa_client::dsa_wait_for_connect(long sec, long usec) {
  if (dsa_connected) return 0;
  if (socket_ < 0 || socket_ >= FD_SETSIZE) {
    io_.log.write_error_log("dsa_wait_for_connect", c_format("select failed: %d", EBADF));
    return 1;
  }
  fd_set writable;
  FD_ZERO(&writable);
  FD_SET(socket_, &writable);
  timeval wait{sec, usec};
  const int n = ::select(socket_ + 1, nullptr, &writable, nullptr, &wait);
  if (n < 0) {
    io_.log.write_error_log("dsa_wait_for_connect", c_format("select failed: %d", errno));
    return 1;
  }
  if (n == 1) {
    // Writable also means a refused attempt; the first send or receive then
    // fails and drops the socket, and the timer tries again.
    io_.log.write_error_log("dsa_wait_for_connect", "DSA875 connected");
    dsa_connected = 1;
    dsa_setup = 1;
    io_.events.set_status_text(STB_DSA_CONN, "DSA");
    dsa_req(DSA_REQ_SER);
    return 0;
  }
  if (n == 0) {
    io_.log.write_error_log("dsa_wait_for_connect", "DSA875 has not connected yet");
    return 0;
  }
  io_.log.write_error_log("dsa_wait_for_connect", c_format("Mystery - select completed: %d", n));
  return 0;
}

int dsa_client::dsa_req_xxx(const char* cmd) {
  if (socket_ < 0 || !dsa_connected) return 1;
  std::string line = cmd;
  line += '\n';
  const ssize_t sent = ::send(socket_, line.data(), line.size(), MSG_NOSIGNAL);
  if (sent < 0) {
    io_.log.write_error_log("dsa_req_xxx", c_format("Send failed: %d", errno));
    dsa_cleanup();
    return 1;
  }
  io_.log.write_error_log("dsa_req_xxx", c_format("%d Bytes Sent: %s", static_cast<int>(sent), cmd));
  return 0;
}

void dsa_client::dsa_req(int req) {
  dsa_req_pending = req;
  switch (req) {
    case DSA_REQ_PWR: dsa_req_xxx(":read:chp:chp?"); break;
    case DSA_REQ_FREQ: dsa_req_xxx(":sens:freq:cent?"); break;
    case DSA_REQ_SER:
      set_field(dsa_ser, "\n");
      dsa_req_xxx("*IDN?");
      break;
    case DSA_REQ_LIC:
      set_field(dsa_lic, "\n");
      dsa_req_xxx(":SYST:OPT?");
      break;
    default: dsa_req_pending = DSA_REQ_NONE; break;
  }
}

void dsa_client::dsa_set(int req) {
  switch (req) {
    case DSA_SET_CHP: dsa_req_xxx(":conf:chp"); break;
    case DSA_SET_V: dsa_req_xxx(":unit:power v"); break;
    case DSA_SET_DBM: dsa_req_xxx(":unit:power dbm"); break;
    case DSA_SET_LIN: dsa_req_xxx(":disp:win:trac:y:scal:spac LIN"); break;
    case DSA_SET_LOG: dsa_req_xxx(":disp:win:trac:y:scal:spac LOG"); break;
    case DSA_SET_REMOTE: dsa_req_xxx(":SYSTem:COMMunicate:BRMT 1"); break;
    case DSA_SET_LOCAL: dsa_req_xxx(":SYSTem:COMMunicate:BRMT 0"); break;
    case DSA_SET_MARKER_OFF: dsa_req_xxx(":CALC:MARK:AOFF"); break;
    default: break;
  }
}

void dsa_client::dsa_set_d(int req, int d) {
  if (req != DSA_SET_FREQ || d < 0 || d >= MAX_FREQ) return;
  float mhz = 0.0f;
  // A frequency text that is no number tunes nowhere.
  if (c_sscanf(st_.pd.freq[d].patfre, "%f", &mhz) != 1) return;
  const float hz = mhz * 1000000.0f;
  if (!std::isfinite(hz) || hz < MIN_DSA_FREQ_HZ || hz > MAX_DSA_FREQ_HZ) return;
  dsa_req_xxx(c_format(":sens:freq:cent %.0f", static_cast<double>(hz)).c_str());
}

int dsa_client::dsa_recv() {
  if (socket_ < 0 || !dsa_connected) return -1;
  // One byte stays free for the terminator the caller writes.
  const int room = DSA_BUF_SIZE - 1 - dsa_buf_ptr;
  if (room <= 0) return dsa_buf_ptr;
  const ssize_t n = ::recv(socket_, dsa_buf + dsa_buf_ptr, static_cast<std::size_t>(room), MSG_DONTWAIT);
  if (n > 0) {
    dsa_buf_ptr += static_cast<int>(n);
    return 0;
  }
  if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) return dsa_buf_ptr;
  if (n == 0)
    io_.log.write_error_log("dsa_recv", "Connection closed");
  else
    io_.log.write_error_log("dsa_recv", c_format("recv failed: %d", errno));
  dsa_cleanup();
  io_.events.set_status_text(STB_DSA_CONN, "");
  return -1;
}

void dsa_client::new_dsa_data() {
  float value = 0.0f;
  switch (dsa_req_pending) {
    case DSA_REQ_FREQ: {
      // Only a whole reply that is a frequency the instrument can be tuned to
      // is taken: a torn or garbled one must never retune the analyser.
      double hz = 0.0;
      if (!reply_whole || !instrument_number(dsa_buf, hz) || hz < MIN_DSA_FREQ_HZ || hz > MAX_DSA_FREQ_HZ) {
        io_.log.write_error_log("new_dsa_data", std::string("Not a frequency: ") + dsa_buf);
        dsa_req_pending = DSA_REQ_NONE;
        return;
      }
      value = static_cast<float>(hz);
      const float mhz = value / 1000000.0f;
      if (dsa_freq >= 0 && dsa_freq < MAX_FREQ)
        set_field(st_.pd.freq[dsa_freq].patfre, c_format("%.2f", static_cast<double>(mhz)));
      io_.events.panel_changed();
      dsa_req_pending = DSA_REQ_NONE;
      io_.log.write_error_log("new_dsa_data", c_format("Freq %d set to %.2f mHz", dsa_freq, static_cast<double>(mhz)));
      return;
    }
    case DSA_REQ_PWR: {
      take_level_reply();
      if (st_.range.scan_state == SCANSTATE_COLLECTING)
        dsa_req(DSA_REQ_PWR);
      else
        dsa_req_pending = DSA_REQ_NONE;
      return;
    }
    case DSA_REQ_SER:
      set_field(dsa_ser, dsa_buf);
      if (dsa_setup) dsa_req(DSA_REQ_LIC);
      io_.log.write_error_log("new_dsa_data", dsa_buf);
      return;
    case DSA_REQ_LIC:
      set_field(dsa_lic, dsa_buf);
      if (dsa_setup) {
        dsa_set(DSA_SET_V);
        dsa_set(DSA_SET_MARKER_OFF);
        dsa_setup = 0;
      }
      dsa_req_pending = DSA_REQ_NONE;
      io_.log.write_error_log("new_dsa_data", dsa_buf);
      // Connected again in the middle of a sweep: the level chain starts anew
      // so the samples are fresh readings.
      if (st_.range.scan_state == SCANSTATE_COLLECTING) dsa_req(DSA_REQ_PWR);
      return;
    default:
      return;
  }
}

// A level counts only when the whole reply, up to its LF, is one number in
// the instrument's form: a torn reply ("1.890" of "1.890123e-03") or bytes
// that merely start with digits are no reading, never a level a thousand
// times too high.
void dsa_client::take_level_reply() {
  double volts = 0.0;
  if (!reply_whole || !instrument_number(dsa_buf, volts)) {
    io_.log.write_error_log("new_dsa_data", std::string(reply_whole ? "Not a level: " : "Torn reply: ") + dsa_buf);
    st_.range.level_at_ms = -1;
    ++st_.range.rejected_level_replies;
    io_.events.set_status_text(STB_PWR, "no reading");
    return;
  }
  // "Not a number", overload and negative values are no reading either.
  if (take_level_reading(st_.range, volts, range_clock_ms()))
    io_.events.set_status_text(STB_PWR, c_format("%.3f mV", static_cast<double>(st_.range.dsapwr)));
  else
    io_.events.set_status_text(STB_PWR, "no reading");
}

void dsa_client::dsa_cleanup() {
  close_socket();
  dsa_connected = 0;
  io_.log.write_error_log("dsa_cleanup", "DSA875 disconnected");
}

void dsa_client::poll() {
  for (;;) {
    const int before = dsa_buf_ptr;
    const int n = dsa_recv();
    if (n < 0) return;
    if (dsa_buf_ptr > before) last_byte_ms_ = range_clock_ms();
    if (n == 0 && dsa_buf_ptr > before) continue;  // more may be waiting
    break;  // nothing more waiting, or the buffer is full
  }
  hand_on_replies();
}

void dsa_client::hand_on_replies() {
  while (dsa_buf_ptr > 0 && dsa_connected) {
    const void* lf = std::memchr(dsa_buf, '\n', static_cast<std::size_t>(dsa_buf_ptr));
    const bool torn = !lf && (dsa_buf_ptr >= DSA_BUF_SIZE - 1 || range_clock_ms() - last_byte_ms_ >= DSA_QUIET_MS);
    if (!lf && !torn) return;  // the rest of the reply is still on its way
    const int len = lf ? static_cast<int>(static_cast<const char*>(lf) - dsa_buf) + 1 : dsa_buf_ptr;
    const std::string rest(dsa_buf + len, static_cast<std::size_t>(dsa_buf_ptr - len));
    dsa_buf[len] = '\0';
    dsa_buf_ptr = 0;
    if (discard_to_lf_) {
      // The tail of a reply already handed on torn: dropped up to its LF.
      if (lf) discard_to_lf_ = false;
      io_.log.write_error_log("hand_on_replies", std::string("Dropped the rest of a torn reply: ") + dsa_buf);
    } else {
      reply_whole = !torn;
      if (torn) discard_to_lf_ = true;
      new_dsa_data();
      reply_whole = true;
    }
    std::memcpy(dsa_buf, rest.data(), rest.size());
    dsa_buf_ptr = static_cast<int>(rest.size());
  }
}

}  // namespace lobe

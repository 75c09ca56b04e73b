// rangesim: a test range without hardware. One process plays
//  - the turntable controller on a pseudo-terminal (its path is printed on
//    the first line of standard output), and
//  - the DSA875 analyser on TCP port 5555 of a loopback address,
// sharing one bearing, so a capture runs end to end.
//
//   rangesim [--address 127.0.0.1] [--rate 90] [--power on|off]
//
// Commands on standard input, one per line, inject what real hardware does:
//   power on | power off    report the 12 V supply (as the reply to hello does)
//   rxerr | hwstop          return codes 1 and 5 (a sweep stops)
//   trace TEXT              a "#T" trace line
//   garbage | long          junk bytes / a 60-character message
//   bearing N               report "#A N" once
//   stall | unstall         the analyser stops / resumes answering
//   torn | noise | clean    every tenth level reply pauses 350 ms after its
//                           first 5 bytes (a lost TCP segment resent) / is
//                           random bytes / all replies as they should be
//   drop                    the analyser closes its connection
//   quit
#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <random>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "core/range/range_codes.h"
#include "sim_pattern.h"

namespace {

using namespace lobe;  // the controller's command and return codes
using clock_type = std::chrono::steady_clock;

struct turntable {
  int angle = 0;
  bool power = true;
  int sweep_left = 0;  // bearings still to report in this sweep
  int step = 1;        // +1 clockwise, -1 anticlockwise
  bool sweeping = false;
  int manual = 0;      // +1 forward, -1 reverse, 0 still
  bool report_pending = false;
  clock_type::time_point next_move;
  clock_type::time_point report_due;
};

struct analyser {
  int client = -1;
  double freq_hz = 450e6;
  bool stalled = false;
  std::string in;
  int answers_at_bearing = 0;  // level replies since the turntable last moved
  enum { clean, torn, noise } faults = clean;
  int level_replies = 0;
  std::string late;  // bytes held back, and everything sent after them
  clock_type::time_point late_at;
  std::mt19937 random{20261206};
};

int master_fd = -1;
int slave_keep = -1;

void send_pty(const std::string& s) {
  if (write(master_fd, s.data(), s.size()) < 0) std::perror("rangesim: pty write");
}

void report(int code) { send_pty("#C " + std::to_string(code) + "\r"); }

bool open_pty() {
  master_fd = posix_openpt(O_RDWR | O_NOCTTY);
  if (master_fd < 0 || grantpt(master_fd) != 0 || unlockpt(master_fd) != 0) return false;
  const char* name = ptsname(master_fd);
  if (!name) return false;
  // Keep a raw slave open so the line never echoes and the master never sees EIO.
  slave_keep = open(name, O_RDWR | O_NOCTTY);
  if (slave_keep < 0) return false;
  termios t{};
  tcgetattr(slave_keep, &t);
  cfmakeraw(&t);
  tcsetattr(slave_keep, TCSANOW, &t);
  std::printf("%s\n", name);
  std::fflush(stdout);
  return true;
}

int listen_on(const char* address) {
  const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  const int one = 1;
  setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_port = htons(5555);
  if (inet_pton(AF_INET, address, &a.sin_addr) != 1 || (ntohl(a.sin_addr.s_addr) >> 24) != 127) {
    std::fprintf(stderr, "rangesim: %s is not a loopback address\n", address);
    std::exit(2);
  }
  if (bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0 || listen(fd, 2) != 0) {
    std::perror("rangesim: listen");
    std::exit(1);
  }
  return fd;
}

void handle_command(turntable& tt, analyser& an, int code, clock_type::duration period) {
  const auto now = clock_type::now();
  switch (code) {
    case COM_TX_STOP:
      // Stopping: the bearing just reached is reported at once.
      if (tt.report_pending) {
        send_pty("#A " + std::to_string(tt.angle) + "\r");
        tt.report_pending = false;
        if (tt.sweep_left > 0) --tt.sweep_left;
      }
      tt.sweeping = false;
      tt.manual = 0;
      break;
    case COM_TX_SWEEP:
      if (!tt.power) break;
      if (tt.sweep_left == 0) {
        tt.sweep_left = 360;
        tt.step = tt.angle < 181 ? 1 : -1;
        if (tt.angle == 360) tt.angle = 359;
        tt.report_pending = true;  // the starting bearing is the first sample
        tt.report_due = now + std::chrono::milliseconds(an.client >= 0 && !an.stalled ? 500 : 20);
        an.answers_at_bearing = 0;
      }
      tt.sweeping = true;
      tt.next_move = now + period;
      break;
    case COM_TX_SET_360: tt.angle = 360; send_pty("#A 360\r"); break;
    case COM_TX_SET_ZERO: tt.angle = 0; send_pty("#A 0\r"); break;
    case COM_HELLO: report(tt.power ? RC_12V_ON : RC_12V_OFF); break;
    case COM_MAN_F: tt.manual = 1; tt.next_move = now + period; break;
    case COM_MAN_R: tt.manual = -1; tt.next_move = now + period; break;
    case COM_MAN_S: tt.manual = 0; break;
    default: break;
  }
}

void analyser_line(analyser& an, const turntable& tt, const std::string& line) {
  auto send_now = [&](const std::string& s) {
    if (send(an.client, s.data(), s.size(), MSG_NOSIGNAL) < 0) std::perror("rangesim: send");
  };
  // Nothing overtakes bytes held back: TCP delivers in order.
  auto reply = [&](const std::string& s) {
    if (an.late.empty()) send_now(s);
    else an.late += s;
  };
  if (line == "*IDN?") {
    reply("Rigol Technologies,DSA875,RANGESIM01,00.01.19\n");
  } else if (line == ":SYST:OPT?") {
    reply("TG,EMI\n");
  } else if (line == ":sens:freq:cent?") {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.0f\n", an.freq_hz);
    reply(buf);
  } else if (line.rfind(":sens:freq:cent ", 0) == 0) {
    an.freq_hz = std::atof(line.c_str() + 16);
  } else if (line == ":read:chp:chp?") {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.6e\n", lobe::rangesim::pattern_volts((tt.angle % 360 + 360) % 360, an.freq_hz));
    const bool faulty = an.faults != analyser::clean && ++an.level_replies % 10 == 0;
    if (faulty && an.faults == analyser::torn && an.late.empty()) {
      send_now(std::string(buf, 5));
      an.late = buf + 5;
      an.late_at = clock_type::now() + std::chrono::milliseconds(350);
    } else if (faulty && an.faults == analyser::noise) {
      // One line that starts like a number and then is not one.
      std::string junk(2 + an.random() % 24, '\0');
      for (char& c : junk)
        while ((c = static_cast<char>(an.random() % 256)) == '\n') {}
      junk[0] = static_cast<char>('0' + an.random() % 10);
      junk[1] = "#x/%?;Z"[an.random() % 7];
      reply(junk + "\n");
    } else {
      reply(buf);
    }
    ++an.answers_at_bearing;
  }
}

}  // namespace

const char* const k_usage =
    "Usage: rangesim [--address 127.x.y.z] [--rate BEARINGS_PER_S] [--power on|off]\n"
    "\n"
    "A test range without hardware: the turntable controller on a pseudo-terminal\n"
    "(its path is the first line printed) and the DSA875 analyser on TCP port 5555\n"
    "of a loopback address (default 127.0.0.1; only 127.0.0.0/8 is accepted).\n"
    "Commands on standard input, one per line: power on, power off, rxerr, hwstop,\n"
    "trace TEXT, garbage, long, bearing N, stall, unstall, drop, torn, noise, clean,\n"
    "quit.\n";

namespace {

// Command lines from the controller's side of the pseudo-terminal.
void read_controller(turntable& tt, analyser& an, std::string& pty_in, clock_type::duration period) {
  char buf[256];
  const ssize_t n = read(master_fd, buf, sizeof buf);
  for (ssize_t i = 0; i < n; ++i) {
    if (buf[i] == '\n') {
      if (pty_in.size() > 1 && pty_in[0] == '#') handle_command(tt, an, std::atoi(pty_in.c_str() + 1), period);
      pty_in.clear();
    } else if (pty_in.size() < 64) {
      pty_in += buf[i];
    }
  }
}

void accept_analyser_client(int listener, analyser& an) {
  const int c = accept4(listener, nullptr, nullptr, SOCK_CLOEXEC);
  if (c < 0) return;
  if (an.client >= 0) close(an.client);
  an.client = c;
  an.in.clear();
  an.late.clear();
}

// A fault injected from standard input; false for "quit".
bool inject(const std::string& cmd, turntable& tt, analyser& an) {
  if (cmd == "quit") return false;
  if (cmd == "power on") { tt.power = true; report(RC_12V_ON); }
  if (cmd == "power off") { tt.power = false; tt.sweeping = false; report(RC_12V_OFF); }
  if (cmd == "rxerr") { tt.sweeping = false; report(RC_RECEIVER_ERR); }
  if (cmd == "hwstop") { tt.sweeping = false; report(RC_HW_STOP); }
  if (cmd.rfind("trace ", 0) == 0) send_pty("#T " + cmd.substr(6) + "\r");
  if (cmd.rfind("bearing ", 0) == 0) send_pty("#A " + cmd.substr(8) + "\r");
  if (cmd == "garbage") send_pty(std::string("\x01\xff#Z junk\n\r#Aab\r", 17));
  if (cmd == "long") send_pty(std::string(60, 'x') + "\r");
  if (cmd == "stall") an.stalled = true;
  if (cmd == "unstall") an.stalled = false;
  if (cmd == "drop" && an.client >= 0) { close(an.client); an.client = -1; an.late.clear(); }
  if (cmd == "torn") an.faults = analyser::torn;
  if (cmd == "noise") an.faults = analyser::noise;
  if (cmd == "clean") an.faults = analyser::clean;
  return true;
}

// Standard input's commands; false when it ends or says "quit".
bool read_injections(turntable& tt, analyser& an, std::string& stdin_in) {
  char buf[512];
  const ssize_t n = read(STDIN_FILENO, buf, sizeof buf);
  if (n <= 0) return false;
  stdin_in.append(buf, static_cast<std::size_t>(n));
  std::size_t nl;
  while ((nl = stdin_in.find('\n')) != std::string::npos) {
    const std::string cmd = stdin_in.substr(0, nl);
    stdin_in.erase(0, nl + 1);
    if (!inject(cmd, tt, an)) return false;
  }
  return true;
}

// The analyser's queries, each answered by analyser_line.
void read_analyser_queries(analyser& an, const turntable& tt) {
  char buf[512];
  const ssize_t n = recv(an.client, buf, sizeof buf, 0);
  if (n <= 0) {
    close(an.client);
    an.client = -1;
    return;
  }
  an.in.append(buf, static_cast<std::size_t>(n));
  std::size_t nl;
  while (an.client >= 0 && (nl = an.in.find('\n')) != std::string::npos) {
    const std::string line = an.in.substr(0, nl);
    an.in.erase(0, nl + 1);
    analyser_line(an, tt, line);
  }
}

// The turntable's reports and steps, and the analyser's held-back bytes, as time goes on.
void advance(turntable& tt, analyser& an, clock_type::time_point now, clock_type::duration period) {
  if (!an.late.empty() && an.client >= 0 && now >= an.late_at) {
    if (send(an.client, an.late.data(), an.late.size(), MSG_NOSIGNAL) < 0) std::perror("rangesim: send");
    an.late.clear();
  }
  // The bearing is reported once the program has taken in a level read at
  // it: a second query at this bearing means the reply to the first was
  // handled (each reply sends the next query). Without an analyser the
  // report comes after a while anyway.
  if (tt.report_pending && (an.answers_at_bearing > 1 || now >= tt.report_due)) {
    send_pty("#A " + std::to_string(tt.angle) + "\r");
    tt.report_pending = false;
    if (tt.sweep_left > 0) --tt.sweep_left;
    if (tt.sweep_left == 0 && tt.sweeping) {
      tt.sweeping = false;
      report(RC_COMPLETE);
    }
  }
  if (!tt.report_pending && (tt.sweeping || tt.manual) && now >= tt.next_move) {
    const int dir = tt.sweeping ? tt.step : tt.manual;
    tt.angle = ((tt.angle + dir) % 360 + 360) % 360;
    tt.report_pending = true;
    // With an analyser attached the report waits for its reading (up to
    // half a second, should it stall); without one it follows at once.
    tt.report_due = now + std::chrono::milliseconds(an.client >= 0 && !an.stalled ? 500 : 20);
    an.answers_at_bearing = 0;
    tt.next_move = now + period;
  }
}

}  // namespace

int main(int argc, char** argv) {
  const char* address = "127.0.0.1";
  double rate = 90.0;
  bool power = true;
  for (int i = 1; i < argc; ++i) {
    const std::string k = argv[i];
    if (k == "--help" || k == "-h") {
      std::fputs(k_usage, stdout);
      return 0;
    }
  }
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string k = argv[i];
    if (k == "--address") address = argv[i + 1];
    else if (k == "--rate") rate = std::atof(argv[i + 1]);
    else if (k == "--power") power = std::string(argv[i + 1]) == "on";
  }
  if (rate <= 0) rate = 90.0;
  if (!open_pty()) {
    std::perror("rangesim: pseudo-terminal");
    return 1;
  }
  const int listener = listen_on(address);
  turntable tt;
  tt.power = power;
  analyser an;
  const auto period = std::chrono::microseconds(static_cast<long long>(1e6 / rate));
  std::string pty_in, stdin_in;
  for (;;) {
    pollfd fds[4] = {{master_fd, POLLIN, 0}, {listener, POLLIN, 0}, {STDIN_FILENO, POLLIN, 0}, {an.client, POLLIN, 0}};
    const int nfds = an.client >= 0 && !an.stalled ? 4 : 3;
    const bool busy = tt.sweeping || tt.manual || tt.report_pending || !an.late.empty();
    poll(fds, nfds, busy ? 2 : 100);
    if (fds[0].revents & POLLIN) read_controller(tt, an, pty_in, period);
    if (fds[1].revents & POLLIN) accept_analyser_client(listener, an);
    if ((fds[2].revents & (POLLIN | POLLHUP)) && !read_injections(tt, an, stdin_in)) return 0;
    if (an.client >= 0 && !an.stalled && (fds[3].revents & (POLLIN | POLLHUP))) read_analyser_queries(an, tt);
    advance(tt, an, clock_type::now(), period);
  }
}

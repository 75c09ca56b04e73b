// The analyser client against a real TCP peer on loopback.
#include "core/range/dsa_client.h"

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <functional>
#include <string>
#include <thread>

#include "core/text/field_text.h"
#include "core/range/range_codes.h"
#include "support/test_support.h"

namespace lobe {
namespace {

// The analyser's side of the connection, driven step by step by the test.
class fake_analyser {
 public:
  explicit fake_analyser(const char* address) {
    listener_ = socket(AF_INET, SOCK_STREAM, 0);
    const int one = 1;
    setsockopt(listener_, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(5555);
    inet_pton(AF_INET, address, &a.sin_addr);
    ok = bind(listener_, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0 && listen(listener_, 1) == 0;
  }
  ~fake_analyser() {
    if (client_ >= 0) close(client_);
    close(listener_);
  }
  bool accept_client() {
    pollfd p{listener_, POLLIN, 0};
    if (::poll(&p, 1, 2000) != 1) return false;
    client_ = accept(listener_, nullptr, nullptr);
    return client_ >= 0;
  }
  // The next command line the program sent, or "" after two seconds.
  std::string line() {
    for (;;) {
      const auto nl = in_.find('\n');
      if (nl != std::string::npos) {
        std::string l = in_.substr(0, nl);
        in_.erase(0, nl + 1);
        return l;
      }
      pollfd p{client_, POLLIN, 0};
      if (::poll(&p, 1, 2000) != 1) return "";
      char buf[256];
      const ssize_t n = recv(client_, buf, sizeof buf, 0);
      if (n <= 0) return "";
      in_.append(buf, static_cast<std::size_t>(n));
    }
  }
  void send_text(const std::string& s) { ::send(client_, s.data(), s.size(), MSG_NOSIGNAL); }
  bool ok = false;

 private:
  int listener_ = -1;
  int client_ = -1;
  std::string in_;
};

// Each test has its own loopback address, so tests may run side by side.
struct client_harness : test::harness {
  std::string address;
  test::temp_dir dir;
  fake_analyser server;
  dsa_client dsa{*st, range};
  explicit client_harness(const char* addr) : address(addr), server(addr) { log.open(dir.path()); }
  // Polls the client until `done` holds (or two seconds pass).
  bool until(const std::function<bool()>& done) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    while (std::chrono::steady_clock::now() < end) {
      dsa.poll();
      if (done()) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return false;
  }
  std::string logged() { return test::read_bytes(dir.file("lobeview_log.txt")); }
  void connect_and_set_up() {
    ASSERT_TRUE(server.ok) << "cannot listen on " << address << ":5555";
    ASSERT_EQ(dsa.dsa_init(address.c_str()), 1);
    ASSERT_TRUE(server.accept_client());
    ASSERT_EQ(dsa.dsa_wait_for_connect(1, 0), 0);
    ASSERT_TRUE(dsa.connected());
    EXPECT_EQ(events.status[STB_DSA_CONN], "DSA");
    EXPECT_NE(logged().find(" - dsa_wait_for_connect - DSA875 connected\r\n"), std::string::npos);
    EXPECT_EQ(server.line(), "*IDN?");
    server.send_text("Rigol Technologies,DSA875,X,1\n");
    ASSERT_TRUE(until([&] { return dsa.dsa_req_pending == DSA_REQ_LIC; }));
    EXPECT_STREQ(dsa.dsa_ser, "Rigol Technologies,DSA875,X,1\n");
    EXPECT_EQ(server.line(), ":SYST:OPT?");
    server.send_text("TG\n");
    ASSERT_TRUE(until([&] { return dsa.dsa_setup == 0; }));
    EXPECT_EQ(server.line(), ":unit:power v");
    EXPECT_EQ(server.line(), ":CALC:MARK:AOFF");
  }
};

TEST(DsaClient, PowerChainWhileCollectingAndFrequencies) {
  client_harness h("127.0.7.2");
  h.connect_and_set_up();
  h.st->range.scan_state = SCANSTATE_COLLECTING;
  h.dsa.dsa_req(DSA_REQ_PWR);
  EXPECT_EQ(h.server.line(), ":read:chp:chp?");
  h.server.send_text("0.0012\n");
  ASSERT_TRUE(h.until([&] { return h.st->range.dsapwr > 1.0f; }));
  EXPECT_FLOAT_EQ(h.st->range.dsapwr, 1.2f);
  EXPECT_EQ(h.events.status[STB_PWR], "1.200 mV");
  EXPECT_EQ(h.server.line(), ":read:chp:chp?") << "the next query follows at once";
  h.st->range.scan_state = SCANSTATE_PAUSED;
  h.server.send_text("0.0024\n");
  ASSERT_TRUE(h.until([&] { return h.dsa.dsa_req_pending == DSA_REQ_NONE; }));
  EXPECT_FLOAT_EQ(h.st->range.dsapwr, 2.4f);

  // Frequencies are set from their text and read back into it.
  set_field(h.st->pd.freq[0].patfre, "433.92");
  set_field(h.st->pd.freq[1].patfre, "145.525");
  h.dsa.dsa_set_d(DSA_SET_FREQ, 0);
  h.dsa.dsa_set_d(DSA_SET_FREQ, 1);
  EXPECT_EQ(h.server.line(), ":sens:freq:cent 433920000");
  EXPECT_EQ(h.server.line(), ":sens:freq:cent 145524992");
  h.dsa.dsa_freq = 2;
  h.dsa.dsa_req(DSA_REQ_FREQ);
  EXPECT_EQ(h.server.line(), ":sens:freq:cent?");
  h.server.send_text("4.3392e8\n");
  ASSERT_TRUE(h.until([&] { return h.dsa.dsa_req_pending == DSA_REQ_NONE; }));
  EXPECT_STREQ(h.st->pd.freq[2].patfre, "433.92");
  EXPECT_NE(h.logged().find("Freq 2 set to 433.92 mHz"), std::string::npos);
  EXPECT_EQ(h.events.panel_changes, 1);
}

// TCP may split a reply anywhere: it is put together up to its LF.
TEST(DsaClient, ReplySplitAcrossSegmentsIsOneReply) {
  client_harness h("127.0.7.4");
  h.connect_and_set_up();
  h.dsa.dsa_freq = 0;
  h.dsa.dsa_req(DSA_REQ_FREQ);
  EXPECT_EQ(h.server.line(), ":sens:freq:cent?");
  h.server.send_text("4.3");
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  h.dsa.poll();
  EXPECT_EQ(h.dsa.dsa_req_pending, DSA_REQ_FREQ) << "half a reply is no reply";
  h.server.send_text("392e8\n");
  ASSERT_TRUE(h.until([&] { return h.dsa.dsa_req_pending == DSA_REQ_NONE; }));
  EXPECT_STREQ(h.st->pd.freq[0].patfre, "433.92");
  // Byte by byte, a level.
  h.st->range.scan_state = SCANSTATE_PAUSED;
  h.dsa.dsa_req(DSA_REQ_PWR);
  for (char b : std::string("2.5e-03\n")) {
    h.server.send_text(std::string(1, b));
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
    h.dsa.poll();
  }
  ASSERT_TRUE(h.until([&] { return h.dsa.dsa_req_pending == DSA_REQ_NONE; }));
  EXPECT_FLOAT_EQ(h.st->range.dsapwr, 2.5f);

  // Two replies in one segment are two replies.
  h.st->range.scan_state = SCANSTATE_COLLECTING;
  h.dsa.dsa_req(DSA_REQ_PWR);
  h.server.send_text("1e-3\n4e-3\n");
  ASSERT_TRUE(h.until([&] { return std::fabs(h.st->range.dsapwr - 4.0f) < 1e-6f; }));
  h.st->range.scan_state = SCANSTATE_PAUSED;
  h.server.send_text("5e-3\n");  // the chain's last query
  ASSERT_TRUE(h.until([&] { return h.dsa.dsa_req_pending == DSA_REQ_NONE; }));

  // A reply without its LF is handed on once the line has been quiet.
  h.dsa.dsa_req(DSA_REQ_PWR);
  EXPECT_EQ(h.server.line(), ":read:chp:chp?");
  h.server.send_text("0.0031");
  const auto sent = std::chrono::steady_clock::now();
  ASSERT_TRUE(h.until([&] { return h.dsa.dsa_req_pending == DSA_REQ_NONE; }));
  EXPECT_GE(std::chrono::steady_clock::now() - sent, std::chrono::milliseconds(DSA_QUIET_MS - 5));
  EXPECT_FLOAT_EQ(h.st->range.dsapwr, 3.1f);
}

// A reply that is no frequency retunes nothing; overload and "not a number"
// codes are no level.
TEST(DsaClient, RepliesThatAreNoReadingChangeNothing) {
  client_harness h("127.0.7.7");
  h.connect_and_set_up();
  set_field(h.st->pd.freq[0].patfre, "450.00");
  h.dsa.dsa_req(DSA_REQ_PWR);
  EXPECT_EQ(h.server.line(), ":read:chp:chp?");
  h.server.send_text("0.002\n");
  ASSERT_TRUE(h.until([&] { return h.dsa.dsa_req_pending == DSA_REQ_NONE; }));
  auto reply = [&](int req, const char* text) {
    h.dsa.dsa_freq = 0;
    h.dsa.dsa_req(req);
    EXPECT_EQ(h.server.line(), req == DSA_REQ_FREQ ? ":sens:freq:cent?" : ":read:chp:chp?");
    h.server.send_text(text);
    ASSERT_TRUE(h.until([&] { return h.dsa.dsa_req_pending == DSA_REQ_NONE; })) << text;
  };
  for (const char* bad : {"0\n", "4\n", "nan\n", "450000000 Hz\n", "-4.5e8\n"}) {
    reply(DSA_REQ_FREQ, bad);
    EXPECT_STREQ(h.st->pd.freq[0].patfre, "450.00") << bad << " was taken for a frequency";
  }
  for (const char* code : {"9.91E37\n", "inf\n", "-nan\n"}) {
    reply(DSA_REQ_PWR, code);
    EXPECT_FLOAT_EQ(h.st->range.dsapwr, 2.0f) << code;
    EXPECT_EQ(h.st->range.level_at_ms, -1) << code;
    EXPECT_EQ(h.events.status[STB_PWR], "no reading");
  }
  EXPECT_NE(h.logged().find(" - new_dsa_data - Not a frequency: 0\n"), std::string::npos);
  // A frequency field that is no tunable frequency sends nothing.
  set_field(h.st->pd.freq[1].patfre, "0.00");
  h.dsa.dsa_set_d(DSA_SET_FREQ, 1);
  h.dsa.dsa_set_d(DSA_SET_FREQ, 0);
  EXPECT_EQ(h.server.line(), ":sens:freq:cent 450000000") << "the first command sent is the good one";
}

}  // namespace
}  // namespace lobe

// The test range's two links: the turntable controller's messages (framing,
// bearings, return codes, the sweep it captures) and the analyser client
// against a real TCP peer on loopback.
#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <chrono>
#include <cmath>
#include <functional>
#include <netinet/in.h>
#include <poll.h>
#include <string>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>
#include <vector>

#include "core/range/dsa_client.h"
#include "core/range/range_codes.h"
#include "core/range/sweep_capture.h"
#include "core/range/turntable_link.h"
#include "core/text/field_text.h"
#include "support/test_support.h"

namespace lobe {
namespace {

std::vector<std::string> frames(const std::string& bytes) {
  com_receiver rx;
  std::vector<std::string> out;
  for (char b : bytes)
    if (new_com_data(rx, b)) out.emplace_back(rx.xdata);
  return out;
}

TEST(TurntableFraming, MessagesEndAtCrAndStrayLineEndsAreSkipped) {
  EXPECT_EQ(frames("\n#C 3\r\n"), (std::vector<std::string>{"#C 3"}));
  EXPECT_EQ(frames("#A 1\r\n\r#A 2\n\r"), (std::vector<std::string>{"#A 1", "#A 2\n"})) << "LF inside is kept";
  EXPECT_EQ(frames("#A 1"), (std::vector<std::string>{})) << "no CR, no message";
  const std::string long45(45, 'x');
  const auto cut = frames(long45 + "\r");
  ASSERT_EQ(cut.size(), 2u);
  EXPECT_EQ(cut[0], std::string(39, 'x'));
  EXPECT_EQ(cut[1], std::string(6, 'x'));
}

struct range_harness : test::harness {
  range_harness() {
    log.open(dir.path());
    st->range.capture_enabled = 1;
  }
  std::string logged() { return test::read_bytes(dir.file("lobeview_log.txt")); }
  void message(const char* m) { handle_com_data(*st, range, m); }
  test::temp_dir dir;
};

TEST(TurntableMessages, BearingsAreReadLikeScanfAndRecordedWhileCollecting) {
  range_harness h;
  h.message("#A 0x2D");
  EXPECT_EQ(h.st->range.antenna_angle, 45);
  h.message("#A45");
  EXPECT_EQ(h.st->range.antenna_angle, 45) << "a number joined to the tag is not read";
  h.message("#A 360");
  EXPECT_EQ(h.st->range.antenna_angle, 0);
  const std::string log = h.logged();
  EXPECT_NE(log.find(" - handle_com_data - Capture angle 360 corrected to 0\r\n"), std::string::npos);
  EXPECT_NE(log.find(" - handle_com_data - Degrees 45 Power 0.000000\r\n"), std::string::npos);
  h.message("#T hello range");
  EXPECT_NE(h.logged().find(" - handle_com_data - #T hello range\r\n"), std::string::npos);
  // Samples are recorded only while collecting.
  ASSERT_TRUE(take_level_reading(h.st->range, 0.0015, range_clock_ms()));
  h.message("#A 10");
  EXPECT_FLOAT_EQ(h.st->range.cbuff[10], 0.0f);
  h.st->range.scan_state = SCANSTATE_COLLECTING;
  h.message("#A 10");
  h.message("#A -3");
  h.message("#A -1");
  EXPECT_EQ(h.st->range.manual_rotate, 0) << "a bearing below 0 writes nothing before the table";
  h.message("#A 011");  // octal 9
  EXPECT_FLOAT_EQ(h.st->range.cbuff[10], 1.5f);
  EXPECT_FLOAT_EQ(h.st->range.cbuff[9], 1.5f);
  EXPECT_EQ(h.st->range.antenna_angle, 9);
}

TEST(TurntableMessages, ReturnCodes) {
  range_harness h;
  h.st->range.scan_state = SCANSTATE_COLLECTING;
  h.message("#C 1");
  EXPECT_EQ(h.events.status[STB_ERROR], "Test range: Receiver not working");
  EXPECT_EQ(h.st->range.scan_state, SCANSTATE_PAUSED);
  h.message("#C 5");
  EXPECT_EQ(h.st->range.scan_state, SCANSTATE_PAUSED) << "a hardware stop while paused changes nothing";
  for (const char* m : {"#C 2", "#C 4", "#C 8", "#C 99", "#Cx 6", "#B 1", "#Z 3"}) h.message(m);
  EXPECT_EQ(h.st->range.scan_state, SCANSTATE_PAUSED);

  h.st->range.capture_enabled = 0;
  h.message("#C 7");
  EXPECT_EQ(h.logged().find("Hardware power is off"), std::string::npos) << "already off";
  h.message("#C 6");
  EXPECT_EQ(h.events.capture_switches, (std::vector<int>{1})) << "test-range mode on";
  EXPECT_EQ(h.events.status[STB_COM_PORT], "TR");
  EXPECT_NE(h.logged().find(" - handle_com_data - Hardware power is on\r\n"), std::string::npos);
  h.st->range.capture_enabled = 1;  // as the window sets it
  h.message("#C 7");
  EXPECT_EQ(h.events.capture_switches, (std::vector<int>{1, 0})) << "and off again";
  // A completion outside a sweep is ignored.
  h.st->range.scan_state = SCANSTATE_STOPPED;
  h.events.status.clear();
  test::put_cut(*h.st, 0, 0, "H", {{0, 1}});
  h.st->range.cbuff[5] = 3.0f;
  h.message("#C 3");
  EXPECT_EQ(h.cut(0, 0).nupoin, 1);
  EXPECT_EQ(h.events.status[STB_ACTION], "");
}

// Only fresh, usable levels are recorded: a stalled analyser's old level or
// its "not a number" code is no reading for a new bearing.
TEST(SweepCapture, StaleAndNonFiniteLevelsAreNoReading) {
  range_harness h;
  h.st->range.scan_state = SCANSTATE_COLLECTING;
  long long now = range_clock_ms();
  ASSERT_TRUE(take_level_reading(h.st->range, 0.002, now));
  for (double code : {9.91e37, 1e38, -0.001, std::nan(""), HUGE_VAL}) {
    EXPECT_FALSE(take_level_reading(h.st->range, code, now)) << code;
    EXPECT_FLOAT_EQ(h.st->range.dsapwr, 2.0f) << "the value is not taken";
    EXPECT_FALSE(level_is_fresh(h.st->range, now)) << "and what was there is no reading any more";
  }
  // Readings 10 ms apart: a level 300 ms old is stale, one 250 ms old is not.
  for (int i = 0; i < 20; ++i) ASSERT_TRUE(take_level_reading(h.st->range, 0.001, now + 10 * i));
  now += 190;
  EXPECT_DOUBLE_EQ(stale_level_ms(h.st->range), MIN_STALE_LEVEL_MS);
  EXPECT_TRUE(level_is_fresh(h.st->range, now + 250));
  EXPECT_TRUE(level_is_fresh(h.st->range, now + 300)) << "the limit itself is still fresh";
  EXPECT_FALSE(level_is_fresh(h.st->range, now + 301));
  // Readings 400 ms apart: twice that is the limit.
  range_state slow;
  for (int i = 0; i < 30; ++i) take_level_reading(slow, 0.001, 400LL * i);
  EXPECT_NEAR(stale_level_ms(slow), 800.0, 1.0);
  EXPECT_TRUE(level_is_fresh(slow, 400LL * 29 + 700));
  // A stalled analyser: bearings reported after its last level has aged are left empty.
  h.st->range.level_at_ms = range_clock_ms() - 1000;
  h.message("#A 170");
  EXPECT_FLOAT_EQ(h.st->range.cbuff[170], 0.0f);
  take_level_reading(h.st->range, 0.003, range_clock_ms());
  h.message("#A 171");
  EXPECT_FLOAT_EQ(h.st->range.cbuff[171], 3.0f);
}

TEST(SweepCapture, ConversionToDbBelowThePeak) {
  range_harness h;
  test::put_cut(*h.st, 0, 1, "V", {});
  h.st->edit.capture_freq = 0;
  h.st->edit.capture_cut = 1;
  h.st->all_emax = 5.0f;
  for (int a = 0; a < 360; ++a) h.st->range.cbuff[a] = 10.0f;
  h.st->range.cbuff[90] = 20.0f;
  h.st->range.cbuff[45] = 0.0f;
  h.st->range.cbuff[46] = 0.0f;
  ASSERT_TRUE(load_captured_data(*h.st, h.range));
  const cut_data_type& c = h.cut(0, 1);
  EXPECT_EQ(c.nupoin, 360);
  EXPECT_FLOAT_EQ(c.signal[90], 0.0f);
  EXPECT_FLOAT_EQ(c.signal[0], 6.020599842f);
  EXPECT_FLOAT_EQ(c.signal[45], NO_READING_DB) << "two missing bearings stay a gap, not minus infinity";
  EXPECT_EQ(h.st->range.bearings_without_reading, 2);
  EXPECT_EQ(h.events.status[STB_ERROR],
            "Test range: 2 of 360 bearings had no reading (filled from their neighbours, or left as a gap)");
  EXPECT_FLOAT_EQ(c.angle[359], 359.0f);
  EXPECT_FLOAT_EQ(c.fstlst[1], 359.0f);
  EXPECT_FLOAT_EQ(c.emax, 20.0f);
  EXPECT_FLOAT_EQ(h.st->all_emax, 20.0f);
  EXPECT_EQ(h.st->flags.cut[0][1].sweep_completed, 1);
  EXPECT_STREQ(c.patcut, "V") << "the cut keeps its name";

  for (float& v : h.st->range.cbuff) v = 0.0f;
  h.st->pd.freq[0].cut[1].nupoin = 7;
  EXPECT_FALSE(load_captured_data(*h.st, h.range));
  EXPECT_EQ(h.cut(0, 1).nupoin, 7) << "no reading at all leaves the cut";
  EXPECT_EQ(h.events.status[STB_ERROR], "Test range: no analyser readings in the sweep");
  // No cut to load into leaves everything alone.
  for (int f : {-1, MAX_FREQ}) {
    for (int a = 0; a < 360; ++a) h.st->range.cbuff[a] = 1.0f;
    h.st->edit.capture_freq = f;
    EXPECT_FALSE(load_captured_data(*h.st, h.range)) << f;
    EXPECT_EQ(h.st->all_emax, 20.0f);
  }
  h.st->edit.capture_freq = 0;
  for (int a = 0; a < 360; ++a) h.st->range.cbuff[a] = a == 0 ? 40.0f : 10.0f;
  ASSERT_TRUE(load_captured_data(*h.st, h.range));
  EXPECT_FLOAT_EQ(h.cut(0, 1).emax, 40.0f) << "a peak at the first bearing is the peak as well";
}

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

  // A reply without its LF is handed on once the line has been quiet, torn:
  // no reading. Its tail, when a resent segment brings it late, is dropped.
  h.dsa.dsa_req(DSA_REQ_PWR);
  EXPECT_EQ(h.server.line(), ":read:chp:chp?");
  h.server.send_text("0.0031");
  const auto sent = std::chrono::steady_clock::now();
  ASSERT_TRUE(h.until([&] { return h.dsa.dsa_req_pending == DSA_REQ_NONE; }));
  EXPECT_GE(std::chrono::steady_clock::now() - sent, std::chrono::milliseconds(DSA_QUIET_MS - 5));
  EXPECT_FLOAT_EQ(h.st->range.dsapwr, 5.0f) << "the torn part is no level";
  EXPECT_EQ(h.st->range.level_at_ms, -1);
  EXPECT_EQ(h.st->range.rejected_level_replies, 1);
  h.dsa.dsa_req(DSA_REQ_PWR);
  h.server.send_text("23e-03\n0.0042\n");
  ASSERT_TRUE(h.until([&] { return h.dsa.dsa_req_pending == DSA_REQ_NONE; }));
  EXPECT_FLOAT_EQ(h.st->range.dsapwr, 4.2f) << "the tail was dropped, the next reply read";
  EXPECT_NE(h.logged().find(" - hand_on_replies - Dropped the rest of a torn reply: 23e-03\n"), std::string::npos);
  // A reply that fills the buffer without an LF is torn at once, not after the quiet time.
  h.dsa.dsa_req(DSA_REQ_PWR);
  EXPECT_EQ(h.server.line(), ":read:chp:chp?");
  h.server.send_text("1" + std::string(DSA_BUF_SIZE - 2, '0'));
  const auto full = std::chrono::steady_clock::now();
  ASSERT_TRUE(h.until([&] { return h.dsa.dsa_req_pending == DSA_REQ_NONE; }));
  EXPECT_LT(std::chrono::steady_clock::now() - full, std::chrono::milliseconds(DSA_QUIET_MS - 20));
  EXPECT_EQ(h.st->range.rejected_level_replies, 2);
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
  // Overload and "not a number" codes, and bytes that merely start like a number.
  for (const char* code : {"9.91E37\n", "inf\n", "-nan\n", "1.5e-03abc\n", "12#x\n", "\n", "0x1p-3\n", "1e\n"}) {
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

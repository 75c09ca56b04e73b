// Garbage, truncated and oversized files for every reader: no crash, no
// count outside its table, no write beside the state, and a program that
// loads the next good file as if nothing had happened.
#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "core/session/antenna_loader.h"
#include "core/formats/envelope_file.h"
#include "core/formats/help_file.h"
#include "core/formats/nec_reader.h"
#include "core/settings/private_profile.h"
#include "support/test_support.h"

namespace lobe {
namespace {

constexpr std::uint64_t k_canary = 0xC0FFEE11DEADBEEFull;

// The program state with guard words on both sides.
struct guarded_state {
  std::array<std::uint64_t, 256> before;
  lobe_state st;
  std::array<std::uint64_t, 256> after;
};

class BadInput : public testing::Test {
 protected:
  void SetUp() override {
    g_ = std::make_unique<guarded_state>();
    g_->before.fill(k_canary);
    g_->after.fill(k_canary);
  }

  void expect_sound_state() {
    for (auto w : g_->before) ASSERT_EQ(w, k_canary);
    for (auto w : g_->after) ASSERT_EQ(w, k_canary);
    const lobe_state& st = g_->st;
    ASSERT_GE(st.pd.nofreq, 0);
    ASSERT_LE(st.pd.nofreq, MAX_FREQ);
    for (const auto& f : header_fields()) ASSERT_NE(std::memchr(field_text(st.pd, f), 0, f.size), nullptr) << f.name;
    for (const freq_data_type& fr : st.pd.freq) {
      ASSERT_GE(fr.numcut, 0);
      ASSERT_LE(fr.numcut, MAX_CUTS);
      ASSERT_NE(std::memchr(fr.patfre, 0, sizeof fr.patfre), nullptr);
      for (const cut_data_type& c : fr.cut) {
        ASSERT_GE(c.nupoin, 0);
        ASSERT_LE(c.nupoin, MAX_SAMPLES);
        ASSERT_NE(std::memchr(c.patcut, 0, sizeof c.patcut), nullptr);
        ASSERT_NE(std::memchr(c.polari, 0, sizeof c.polari), nullptr);
      }
    }
    ASSERT_GE(st.ed.numenv, 0);
    ASSERT_LE(st.ed.numenv, MAX_ENVELOPES);
    for (const envelope_data_type& e : st.ed.env) {
      ASSERT_GE(e.nupoin, 0);
      ASSERT_LE(e.nupoin, MAX_ENV_SAMPLES);
      ASSERT_NE(std::memchr(e.title, 0, sizeof e.title), nullptr);
    }
    ASSERT_NE(std::memchr(st.view.envelope_disp_requested, 0, sizeof st.view.envelope_disp_requested), nullptr);
    ASSERT_LE(st.help.help_info_files.size(), HELP_TEXT_MAX);
    ASSERT_LE(st.help.help_info_views.size(), HELP_TEXT_MAX);
    ASSERT_LE(st.help.help_info_testrange.size(), HELP_TEXT_MAX);
  }

  // Feeds `image` to every reader.
  void feed_everyone(const std::string& image) {
    for (int type : {FT_PLANET, FT_NSMA99, FT_ADF, FT_LABZ, FT_ANT, FT_NSMA89}) {
      g_->st.file.file_type = type;
      read_antenna_image(g_->st, io_, &image);
      ASSERT_NO_FATAL_FAILURE(expect_sound_state());
    }
    const std::string tagged = "REVNUM" + image;
    g_->st.file.file_type = FT_NSMA99;
    read_antenna_image(g_->st, io_, &tagged);
    g_->st.nec = {static_cast<int>(image.size() % 4), static_cast<int>((image.size() / 4) % 4)};
    add_4nec_image(g_->st, io_, &image);
    read_envelope_image(g_->st.ed, image);
    read_help_image(g_->st.help, image);
    ASSERT_NO_FATAL_FAILURE(expect_sound_state());
    (void)find_profile_value(image, "Extra", "DSA-IP");
    (void)set_profile_value(image, "Palette", "00", "0x000000");
  }

  void expect_good_file_loads() {
    const std::string path = test::data_path("convert/src.nsma");
    ASSERT_TRUE(open_file(g_->st, log_, path, "nsma").ok);
    EXPECT_EQ(g_->st.file.file_errors, 0);
    ASSERT_EQ(g_->st.pd.nofreq, 2);
    EXPECT_EQ(g_->st.pd.freq[1].numcut, 2);
    EXPECT_EQ(g_->st.pd.freq[1].cut[1].nupoin, 360);
  }

  std::unique_ptr<guarded_state> g_;
  run_log log_;
  action_report report_;
  core_io io_{log_, report_};
};

// Lines built from the words the readers look for, numbers and separators.
std::string structured_garbage(std::mt19937& rng, std::size_t lines) {
  static const std::vector<std::string> words = {
      "REVNUM:,", "NOFREQ:,", "PATFRE:,", "NUMCUT:,", "PATCUT:,", "POLARI:,", "NUPOIN:,", "FSTLST:,", "KWRENV:,",
      "MODNUM:,", "HORIZONTAL ", "VERTICAL ", "FREQUENCY ", "POLARIZATION ", "NAME ", "envelope,", ";,", "[FILE]",
      "[TEST]", "HH ", "ELVV ", "-1", "0", "1", "7", "13", "99999999", "-2147483649", "361", "362", "363", "1e38",
      "-1e38", "nan", "inf", "0x1p4", ",", ", ", "'", " ", "\t", "-", "..", "1.5,", "-3.25,", "="};
  std::uniform_int_distribution<std::size_t> pick(0, words.size() - 1);
  std::uniform_int_distribution<int> len(0, 8), end(0, 9);
  std::string out;
  for (std::size_t l = 0; l < lines; ++l) {
    for (int k = len(rng); k > 0; --k) out += words[pick(rng)];
    const int e = end(rng);
    out += e < 7 ? "\r\n" : e == 7 ? "\n" : e == 8 ? "\r" : "";
  }
  return out;
}

TEST_F(BadInput, RandomBytes) {
  std::mt19937 rng(7);
  std::uniform_int_distribution<int> byte(0, 255);
  for (int round = 0; round < 40; ++round) {
    std::string image(static_cast<std::size_t>(round * 97), '\0');
    for (char& c : image) c = static_cast<char>(byte(rng));
    ASSERT_NO_FATAL_FAILURE(feed_everyone(image));
  }
  expect_good_file_loads();
}

TEST_F(BadInput, StructuredGarbage) {
  std::mt19937 rng(11);
  for (int round = 0; round < 60; ++round) ASSERT_NO_FATAL_FAILURE(feed_everyone(structured_garbage(rng, 200)));
  expect_good_file_loads();
}

TEST_F(BadInput, TruncatedFiles) {
  for (const char* name : {"convert/src.labz", "convert/src.pla", "convert/src.ant", "convert/src89.nsma",
                           "convert/src.txt", "envelopes/quirks.csv", "help/quirks.txt"}) {
    const std::string whole = test::read_bytes(test::data_path(name));
    for (std::size_t cut = 0; cut < whole.size(); cut += 1 + whole.size() / 61)
      ASSERT_NO_FATAL_FAILURE(feed_everyone(whole.substr(0, cut))) << name << " cut at " << cut;
  }
  expect_good_file_loads();
}

// Whatever the fuzzers ever found stays fixed: every kept input is fed to
// every reader again (tests/data/fuzz/<harness>/, the option byte included).
TEST_F(BadInput, FuzzFindingsStayFixed) {
  const std::filesystem::path root = test::data_path("fuzz");
  if (!std::filesystem::exists(root)) GTEST_SKIP() << "no fuzz findings kept";
  for (const auto& entry : std::filesystem::recursive_directory_iterator(root)) {
    if (!entry.is_regular_file()) continue;
    const std::string bytes = test::read_bytes(entry.path().string());
    ASSERT_NO_FATAL_FAILURE(feed_everyone(bytes)) << entry.path();
    if (!bytes.empty()) {
      ASSERT_NO_FATAL_FAILURE(feed_everyone(bytes.substr(1))) << entry.path();
    }
  }
  expect_good_file_loads();
}

TEST_F(BadInput, OversizedFiles) {
  std::string big = "REVNUM:,x\r\nNOFREQ:,4000000000\r\n";
  for (int f = 0; f < 30; ++f) {
    big += "PATFRE:,1\r\nNUMCUT:,4000000000\r\n";
    for (int c = 0; c < 20; ++c) big += "PATCUT:,H\r\nNUPOIN:,99999\r\nFSTLST:,0,1\r\n" + std::string(500, '1') + "\r\n";
  }
  for (int p = 0; p < 3000; ++p) big += "1 -2 3 4\r\n";
  for (int e = 0; e < 60; ++e) big += "envelope,E\r\n" + std::string(40 * 7, ' ') + "\r\n";
  big += std::string(100000, 'x');
  ASSERT_NO_FATAL_FAILURE(feed_everyone(big));
  expect_good_file_loads();
}

}  // namespace
}  // namespace lobe

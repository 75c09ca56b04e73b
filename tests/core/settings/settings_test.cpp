// The settings file (private-profile INI), the palette in it, and the run log.
#include "core/settings/settings.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <regex>
#include <tuple>

#include "core/record/lobe_state.h"
#include "core/settings/private_profile.h"
#include "core/io/run_log.h"
#include "support/test_support.h"

namespace lobe {
namespace {

const char* const k_ini =
    "; settings\r\n[Extra]\r\nEdit-enabled = 1\r\nHome-folder=  \"/srv/patterns\"  \r\nDSA-IP=127.0.0.9\r\n\r\n"
    "[Other]\r\nEdit-enabled=7\r\n";

TEST(PrivateProfile, ReadsKeysOfTheirSectionInAnyCaseWithDefaults) {
  test::temp_dir dir;
  const std::string path = dir.file("viewer.ini");
  EXPECT_EQ(get_private_profile_int("Extra", "Edit-enabled", 5, path), 5) << "no file";
  EXPECT_EQ(get_private_profile_string("Extra", "Home-folder", "C:\\lobeview", 100, path), "C:\\lobeview");
  test::write_bytes(path, k_ini);
  EXPECT_EQ(get_private_profile_int("extra", "EDIT-ENABLED", 0, path), 1);
  EXPECT_EQ(get_private_profile_int("Other", "Edit-enabled", 0, path), 7);
  EXPECT_EQ(get_private_profile_string("Extra", "Home-folder", "x", 100, path), "/srv/patterns");
  EXPECT_EQ(get_private_profile_string("Extra", "DSA-IP", "", 8, path), "127.0.0") << "cut to the buffer";
  test::write_bytes(path, "[Extra]\nEdit-enabled=\nOther=abc\nNeg=-12x\nBig=99999999999\nJustOver=2147483648\n");
  for (const auto& [section, key, value] : {std::tuple{"Extra", "Big", 2147483647}, {"Extra", "JustOver", 2147483647}, {"Extra", "Edit-enabled", 5},
                                            {"Extra", "Other", 0}, {"Extra", "Neg", -12}, {"Missing", "Other", 5}})
    EXPECT_EQ(get_private_profile_int(section, key, 5, path), value) << key << ": the largest int, the default, atoi";
}

TEST(PrivateProfile, WritingOneKeyKeepsTheRestOfTheFile) {
  std::string replaced = k_ini, added = k_ini;
  replaced.replace(replaced.find("DSA-IP=127.0.0.9"), 16, "dsa-ip=127.0.0.2");
  added.insert(added.find("\r\n[Other]"), "New=v\r\n");
  EXPECT_EQ(set_profile_value(k_ini, "EXTRA", "dsa-ip", "127.0.0.2"), replaced);
  EXPECT_EQ(set_profile_value(k_ini, "Extra", "New", "v"), added);
  EXPECT_EQ(set_profile_value(k_ini, "Palette", "00", "0"), std::string(k_ini) + "\r\n[Palette]\r\n00=0\r\n");
  EXPECT_EQ(set_profile_value("", "Palette", "00", "0"), "[Palette]\r\n00=0\r\n");
  EXPECT_EQ(set_profile_value("[Palette]\r\n00=1", "Palette", "01", "2"), "[Palette]\r\n00=1\r\n01=2\r\n");
  test::temp_dir dir;
  const std::string path = dir.file("new.ini");
  ASSERT_TRUE(write_private_profile_string("Extra", "DSA-IP", "127.0.0.1", path));
  ASSERT_TRUE(write_private_profile_string("Extra", "Home-folder", "/data", path));
  EXPECT_EQ(test::read_bytes(path), "[Extra]\r\nDSA-IP=127.0.0.1\r\nHome-folder=/data\r\n");
  EXPECT_FALSE(write_private_profile_string("Extra", "k", "v", dir.file("missing/new.ini")));
}

TEST(Settings, ExtraKeysTheirDefaultsAndWhereTheFileIs) {
  EXPECT_EQ(settings_path_for_executable("D:\\Apps\\viewer.exe"), "D:\\Apps\\viewer.ini");
  EXPECT_EQ(settings_path_for_executable("/opt/lobe.d/lobeview"), "/opt/lobe.d/lobeview.ini");
  test::temp_dir dir;
  run_log log;
  ASSERT_TRUE(log.open(dir.path()));
  auto st = make_lobe_state();
  EXPECT_STREQ(st->settings.dsa_ip, default_dsa_ip()) << "the analyser is looked for on loopback unless told";
  const char* home = std::getenv("HOME");
  const std::string saved = home ? home : "";
  setenv("HOME", "/home/range", 1);
  read_extra_settings(st->settings, log, dir.file("missing.ini"));
  setenv("HOME", saved.c_str(), 1);
  EXPECT_EQ(st->settings.edit_enabled, 0);
  EXPECT_STREQ(st->settings.homeFolder, "/home/range") << "the dialogs start at home";
  EXPECT_NE(test::read_bytes(dir.file("lobeview_log.txt")).find("Home folder /home/range "), std::string::npos);
  EXPECT_STREQ(st->settings.dsa_ip, default_dsa_ip());
  EXPECT_FALSE(st->settings.lf_line_ends) << "CR ends a line unless the user opts in";
  EXPECT_FALSE(st->settings.resample_long_cuts);
  EXPECT_FALSE(st->settings.signed_levels) << "levels are magnitudes unless the user opts in";
  const std::string ini = dir.file("lobeview.ini");
  const std::string text = "[Extra]\r\nEdit-enabled=1\r\nHome-folder=/srv/p\r\nDSA-IP=127.0.0.7\r\nLF-line-ends=1\r\n"
                           "Resample-long-cuts=1\r\nSigned-levels=1\r\n";
  test::write_bytes(ini, text);
  read_extra_settings(st->settings, log, ini);
  EXPECT_EQ(st->settings.edit_enabled, 1);
  EXPECT_STREQ(st->settings.homeFolder, "/srv/p");
  EXPECT_STREQ(st->settings.dsa_ip, "127.0.0.7");
  EXPECT_TRUE(st->settings.lf_line_ends);
  EXPECT_TRUE(st->settings.resample_long_cuts);
  EXPECT_TRUE(st->settings.signed_levels);
  EXPECT_NE(test::read_bytes(dir.file("lobeview_log.txt")).find(" - WinMain - Home folder /srv/p \r\n"),
            std::string::npos);
  ASSERT_TRUE(write_dsa_ip(st->settings, "127.0.0.8"));
  EXPECT_EQ(test::read_bytes(ini), std::string(text).replace(text.find("127.0.0.7"), 9, "127.0.0.8"));
}

TEST(Settings, PaletteReadsAnyBaseKeepsMissingEntriesAndWritesEachOnce) {
  EXPECT_EQ(bgrtorgb(0x00123456u), 0x00563412u);
  test::temp_dir dir;
  auto st = make_lobe_state();
  read_settings_file(st->settings, dir.path());
  EXPECT_EQ(st->settings.gr_colours, gr_colours_init()) << "no file: built-in palette";
  test::write_bytes(dir.file("lobeview.ini"), "[Palette]\r\n00=255\r\n01=0xff0000\r\n02=010\r\n03=\r\n");
  read_settings_file(st->settings, dir.path());
  EXPECT_EQ(st->settings.gr_colours[0], 0xFF0000u) << "stored as RGB, kept as BGR";
  EXPECT_EQ(st->settings.gr_colours[1], 0x0000FFu);
  EXPECT_EQ(st->settings.gr_colours[2], 0x080000u) << "leading zero is octal";
  EXPECT_EQ(st->settings.gr_colours[3], gr_colours_init()[3]);

  auto fresh = make_lobe_state();
  ASSERT_TRUE(write_settings_file(fresh->settings, dir.path()));
  const std::string text = test::read_bytes(dir.file("lobeview.ini"));
  EXPECT_EQ(text.rfind("[Palette]\r\n00=0x000000\r\n01=0x00ff00\r\n02=0x0000ff\r\n03=0xff0000\r\n04=0x007f00\r\n", 0), 0u);
  EXPECT_NE(text.find("27=0xa42400\r\n"), std::string::npos);
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 1 + PALETTE_SIZE) << "every entry once, none past the table";
  st->settings.gr_colours.fill(0);
  read_settings_file(st->settings, dir.path());
  EXPECT_EQ(st->settings.gr_colours, gr_colours_init());
}

// A long day on the range cannot fill a disk: past its limit the log keeps
// its first part, says where it was cut, and the latest lines go on in a
// second file that starts over whenever it is full.
TEST(RunLog, SizeLimitKeepsTheFirstPartAndTheLatestLines) {
  test::temp_dir dir;
  run_log log;
  ASSERT_TRUE(log.open(dir.path()));
  log.set_limit(2000);
  for (int i = 0; i < 200; ++i) log.write_error_log("dsa_req_xxx", "15 Bytes Sent: query " + std::to_string(i));
  log.close();
  const std::string first = test::read_bytes(dir.file("lobeview_log.txt"));
  const std::string last = test::read_bytes(dir.file("lobeview_log_last.txt"));
  EXPECT_LE(first.size(), 2200u);
  // A line is the date, the time, who wrote it and what it says.
  EXPECT_TRUE(std::regex_search(first, std::regex(R"(^\S+ - \d\d:\d\d:\d\d - dsa_req_xxx - 15 Bytes Sent: query 0\r\n)")))
      << first.substr(0, 60);
  EXPECT_NE(first.find(" - run_log - Log cut here at its size limit; the latest lines are in lobeview_log_last.txt\r\n"),
            std::string::npos);
  EXPECT_LE(last.size(), 2000u);
  EXPECT_NE(last.find("query 199\r\n"), std::string::npos) << "the newest line is kept";
  EXPECT_EQ(last.find("query 100\r\n"), std::string::npos) << "older lines made room";
  ASSERT_TRUE(log.open(dir.path()));
  EXPECT_FALSE(std::filesystem::exists(dir.file("lobeview_log_last.txt"))) << "a new start removes it";
  // A line that exactly fills the log still goes into it.
  log.write_error_log("dsa_req_xxx", "one line");
  log.close();
  const auto one_line = static_cast<long long>(test::read_bytes(dir.file("lobeview_log.txt")).size());
  ASSERT_TRUE(log.open(dir.path()));
  log.set_limit(one_line);
  log.write_error_log("dsa_req_xxx", "one line");
  log.close();
  EXPECT_EQ(test::read_bytes(dir.file("lobeview_log.txt")).find("run_log"), std::string::npos);
}

}  // namespace
}  // namespace lobe

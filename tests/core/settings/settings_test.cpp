#include "core/settings/settings.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "core/record/lobe_state.h"
#include "core/settings/run_log.h"
#include "support/test_support.h"

namespace lobe {
namespace {

TEST(Settings, BgrToRgbSwapsOuterBytesAndIsItsOwnInverse) {
  EXPECT_EQ(bgrtorgb(0x00FF0000u), 0x000000FFu);
  EXPECT_EQ(bgrtorgb(0x00123456u), 0x00563412u);
  for (colorref c : gr_colours_init()) EXPECT_EQ(bgrtorgb(bgrtorgb(c)), c);
}

TEST(Settings, SettingsFileSitsBesideTheExecutable) {
  EXPECT_EQ(settings_path_for_executable("D:\\Apps\\viewer.exe"), "D:\\Apps\\viewer.ini");
  EXPECT_EQ(settings_path_for_executable("/usr/bin/lobeview"), "/usr/bin/lobeview.ini");
  EXPECT_EQ(settings_path_for_executable("/opt/lobe.d/lobeview"), "/opt/lobe.d/lobeview.ini");
}

TEST(Settings, ExtraKeysAndTheirDefaults) {
  test::temp_dir dir;
  run_log log;
  ASSERT_TRUE(log.open(dir.path()));
  auto st = make_lobe_state();
  read_extra_settings(st->settings, log, dir.file("missing.ini"));
  EXPECT_EQ(st->settings.edit_enabled, 0);
  EXPECT_STREQ(st->settings.homeFolder, "C:\\lobeview");
  EXPECT_STREQ(st->settings.dsa_ip, default_dsa_ip());
  EXPECT_FALSE(st->settings.lf_line_ends) << "CR ends a line unless the user opts in";
  EXPECT_FALSE(st->settings.resample_long_cuts);

  const std::string opt_in = dir.file("opt_in.ini");
  test::write_bytes(opt_in, "[Extra]\r\nLF-line-ends=1\r\nResample-long-cuts=1\r\n");
  read_extra_settings(st->settings, log, opt_in);
  EXPECT_TRUE(st->settings.lf_line_ends);
  EXPECT_TRUE(st->settings.resample_long_cuts);

  const std::string ini = dir.file("lobeview.ini");
  test::write_bytes(ini, "[Extra]\r\nEdit-enabled=1\r\nHome-folder=/srv/p\r\nDSA-IP=127.0.0.7\r\n");
  read_extra_settings(st->settings, log, ini);
  EXPECT_EQ(st->settings.edit_enabled, 1);
  EXPECT_STREQ(st->settings.homeFolder, "/srv/p");
  EXPECT_STREQ(st->settings.dsa_ip, "127.0.0.7");
  EXPECT_NE(test::read_bytes(dir.file("lobeview_log.txt")).find(" - WinMain - Home folder /srv/p \r\n"),
            std::string::npos);

  ASSERT_TRUE(write_dsa_ip(st->settings, "127.0.0.8"));
  EXPECT_EQ(test::read_bytes(ini), "[Extra]\r\nEdit-enabled=1\r\nHome-folder=/srv/p\r\nDSA-IP=127.0.0.8\r\n");
}

TEST(Settings, PaletteReadsAnyBaseAndKeepsMissingEntries) {
  test::temp_dir dir;
  auto st = make_lobe_state();
  read_settings_file(st->settings, dir.path());
  EXPECT_EQ(st->settings.gr_colours, gr_colours_init()) << "no file: built-in palette";

  test::write_bytes(dir.file("lobeview.ini"), "[Palette]\r\n00=255\r\n01=0xff0000\r\n02=010\r\n03=\r\n");
  read_settings_file(st->settings, dir.path());
  EXPECT_EQ(st->settings.gr_colours[0], 0xFF0000u) << "255 is pure blue in file form";
  EXPECT_EQ(st->settings.gr_colours[1], 0x0000FFu) << "0xff0000 is pure red";
  EXPECT_EQ(st->settings.gr_colours[2], 0x080000u) << "leading zero is octal";
  EXPECT_EQ(st->settings.gr_colours[3], gr_colours_init()[3]);
  EXPECT_EQ(st->settings.gr_colours[27], gr_colours_init()[27]);
}

TEST(Settings, PaletteWritesAllEntriesInFileForm) {
  test::temp_dir dir;
  auto st = make_lobe_state();
  ASSERT_TRUE(write_settings_file(st->settings, dir.path()));
  const std::string text = test::read_bytes(dir.file("lobeview.ini"));
  EXPECT_EQ(text.rfind("[Palette]\r\n00=0x000000\r\n01=0x00ff00\r\n02=0x0000ff\r\n03=0xff0000\r\n", 0), 0u);
  EXPECT_NE(text.find("27=0xa42400\r\n"), std::string::npos);
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 1 + PALETTE_SIZE) << "every entry once, none past the table";
  auto back = make_lobe_state();
  back->settings.gr_colours.fill(0);
  read_settings_file(back->settings, dir.path());
  EXPECT_EQ(back->settings.gr_colours, gr_colours_init());
}

}  // namespace
}  // namespace lobe

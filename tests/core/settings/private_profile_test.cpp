#include "core/settings/private_profile.h"

#include <gtest/gtest.h>

#include "support/test_support.h"

namespace lobe {
namespace {

const char* const k_ini =
    "; settings\r\n"
    "[Extra]\r\n"
    "Edit-enabled = 1\r\n"
    "Home-folder=  \"/srv/patterns\"  \r\n"
    "DSA-IP=127.0.0.9\r\n"
    "\r\n"
    "[Other]\r\n"
    "Edit-enabled=7\r\n";

TEST(PrivateProfile, ReadsKeysOfTheirSectionInAnyCase) {
  test::temp_dir dir;
  const std::string path = dir.file("viewer.ini");
  test::write_bytes(path, k_ini);
  EXPECT_EQ(get_private_profile_int("extra", "EDIT-ENABLED", 0, path), 1);
  EXPECT_EQ(get_private_profile_int("Other", "Edit-enabled", 0, path), 7);
  EXPECT_EQ(get_private_profile_string("Extra", "Home-folder", "x", 100, path), "/srv/patterns");
  EXPECT_EQ(get_private_profile_string("Extra", "DSA-IP", "", 8, path), "127.0.0") << "cut to the buffer";
}

TEST(PrivateProfile, DefaultsForMissingFileSectionOrKey) {
  test::temp_dir dir;
  const std::string path = dir.file("viewer.ini");
  EXPECT_EQ(get_private_profile_int("Extra", "Edit-enabled", 5, path), 5);
  EXPECT_EQ(get_private_profile_string("Extra", "Home-folder", "C:\\lobeview", 100, path), "C:\\lobeview");
  test::write_bytes(path, "[Extra]\nEdit-enabled=\nOther=abc\nNeg=-12x\n");
  EXPECT_EQ(get_private_profile_int("Extra", "Edit-enabled", 5, path), 5);
  EXPECT_EQ(get_private_profile_int("Extra", "Other", 5, path), 0);
  EXPECT_EQ(get_private_profile_int("Extra", "Neg", 5, path), -12);
  EXPECT_EQ(get_private_profile_int("Missing", "Other", 3, path), 3);
}

TEST(PrivateProfile, WritingOneKeyKeepsTheRestOfTheFile) {
  const std::string replaced = set_profile_value(k_ini, "EXTRA", "dsa-ip", "127.0.0.2");
  std::string expected = k_ini;
  expected.replace(expected.find("DSA-IP=127.0.0.9"), 16, "dsa-ip=127.0.0.2");
  EXPECT_EQ(replaced, expected);

  const std::string added = set_profile_value(k_ini, "Extra", "New", "v");
  std::string with_new = k_ini;
  with_new.insert(with_new.find("\r\n[Other]"), "New=v\r\n");
  EXPECT_EQ(added, with_new);

  EXPECT_EQ(set_profile_value(k_ini, "Palette", "00", "0x000000"),
            std::string(k_ini) + "\r\n[Palette]\r\n00=0x000000\r\n");
  EXPECT_EQ(set_profile_value("", "Palette", "00", "0x000000"), "[Palette]\r\n00=0x000000\r\n");
  EXPECT_EQ(set_profile_value("[Palette]\r\n00=1", "Palette", "01", "2"), "[Palette]\r\n00=1\r\n01=2\r\n");
}

TEST(PrivateProfile, WriteCreatesTheFileAndReadsBack) {
  test::temp_dir dir;
  const std::string path = dir.file("new.ini");
  ASSERT_TRUE(write_private_profile_string("Extra", "DSA-IP", "127.0.0.1", path));
  ASSERT_TRUE(write_private_profile_string("Extra", "Home-folder", "/data", path));
  EXPECT_EQ(test::read_bytes(path), "[Extra]\r\nDSA-IP=127.0.0.1\r\nHome-folder=/data\r\n");
  EXPECT_FALSE(write_private_profile_string("Extra", "k", "v", dir.file("missing/new.ini")));
}

}  // namespace
}  // namespace lobe

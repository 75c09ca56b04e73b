#include "core/run_log.h"

#include <gtest/gtest.h>

#include <regex>

#include "support/test_support.h"

namespace lobe {
namespace {

TEST(RunLog, OneCrLfLinePerCallWithDateTimeSourceAndMessage) {
  test::temp_dir dir;
  run_log log;
  ASSERT_TRUE(log.open(dir.path()));
  log.write_error_log("WinMain", "Home folder /tmp ");
  log.write_error_log("dsa_init", "second");
  const std::string text = test::read_bytes(dir.file("lobeview_log.txt"));
  const std::regex line(R"(([^\r\n]+) - (\d\d:\d\d:\d\d) - ([^\r\n]+) - ([^\r\n]*)\r\n)");
  auto it = std::sregex_iterator(text.begin(), text.end(), line);
  ASSERT_NE(it, std::sregex_iterator());
  EXPECT_EQ((*it)[3], "WinMain");
  EXPECT_EQ((*it)[4], "Home folder /tmp ");
  EXPECT_EQ((*it).position(), 0);
  ++it;
  ASSERT_NE(it, std::sregex_iterator());
  EXPECT_EQ((*it)[3], "dsa_init");
  EXPECT_EQ(static_cast<std::size_t>((*it).position() + (*it).length()), text.size());
}

TEST(RunLog, EachStartBeginsAFreshLog) {
  test::temp_dir dir;
  test::write_bytes(dir.file("lobeview_log.txt"), "yesterday's run\r\n");
  run_log log;
  ASSERT_TRUE(log.open(dir.path()));
  log.write_error_log("WinMain", "today");
  const std::string text = test::read_bytes(dir.file("lobeview_log.txt"));
  EXPECT_EQ(text.find("yesterday"), std::string::npos);
  EXPECT_NE(text.find("today"), std::string::npos);
}

TEST(RunLog, SilentlyOffWhenTheFileCannotBeMade) {
  test::temp_dir dir;
  run_log log;
  EXPECT_FALSE(log.open(dir.file("missing/folder")));
  EXPECT_FALSE(log.error_file_open());
  log.write_error_log("WinMain", "goes nowhere");
}

TEST(RunLog, SystemTimeJoinsDateAndTime) {
  EXPECT_TRUE(std::regex_match(ss_get_system_time(), std::regex(R"(.+ - \d\d:\d\d:\d\d)")));
}

}  // namespace
}  // namespace lobe

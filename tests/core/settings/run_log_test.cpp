#include "core/settings/run_log.h"

#include <gtest/gtest.h>

#include <filesystem>

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
  EXPECT_NE(first.find("query 0\r\n"), std::string::npos);
  EXPECT_NE(first.find(" - run_log - Log cut here at its size limit; the latest lines are in lobeview_log_last.txt\r\n"),
            std::string::npos);
  EXPECT_LE(last.size(), 2000u);
  EXPECT_NE(last.find("query 199\r\n"), std::string::npos) << "the newest line is kept";
  EXPECT_EQ(last.find("query 100\r\n"), std::string::npos) << "older lines made room";
  // A new start removes the second file of the last run.
  ASSERT_TRUE(log.open(dir.path()));
  EXPECT_FALSE(std::filesystem::exists(dir.file("lobeview_log_last.txt")));
}

TEST(RunLog, SystemTimeJoinsDateAndTime) {
  EXPECT_TRUE(std::regex_match(ss_get_system_time(), std::regex(R"(.+ - \d\d:\d\d:\d\d)")));
}

}  // namespace
}  // namespace lobe

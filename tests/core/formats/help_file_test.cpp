#include "core/formats/help_file.h"

#include <gtest/gtest.h>

#include "support/test_support.h"

namespace lobe {
namespace {

TEST(HelpFile, SectionsCollectTheirLinesEachAfterCrLf) {
  help_texts help;
  ASSERT_TRUE(read_help_file(help, test::data_path("help/sections.txt")));
  EXPECT_EQ(help.help_info_files, "\r\nA\r\nB");
  EXPECT_EQ(help.help_info_views, "");
  EXPECT_EQ(help.help_info_testrange, "\r\nC");
}

TEST(HelpFile, SectionNamesAndTheLinesThatAreLost) {
  help_texts help;
  ASSERT_TRUE(read_help_file(help, test::data_path("help/quirks.txt")));
  // "[FIL]" names no section and is dropped; "[ view ]" reads as VIEW.
  EXPECT_EQ(help.help_info_files, "\r\nF1\r\nF2");
  EXPECT_EQ(help.help_info_views, "\r\nV1\r\n");
  EXPECT_EQ(help.help_info_testrange, "\r\nT1\r\n") << "the final CR LF adds an empty row";
}

TEST(HelpFile, SectionsStopBelow4000Characters) {
  std::string text = "[VIEW]\r\n";
  for (int i = 0; i < 100; ++i) text += std::string(79, static_cast<char>('a' + i % 26)) + "\r\n";
  help_texts help;
  read_help_image(help, text);
  EXPECT_EQ(help.help_info_views.size(), HELP_TEXT_MAX);
  EXPECT_EQ(help.help_info_views.substr(0, 4), "\r\naa");
  help_texts none;
  EXPECT_FALSE(read_help_file(none, test::data_path("help/none.txt")));
}

}  // namespace
}  // namespace lobe

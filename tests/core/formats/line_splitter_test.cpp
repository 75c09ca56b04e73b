#include "core/formats/line_splitter.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/test_support.h"

namespace lobe {
namespace {

std::vector<std::string> split_file(const std::string& name, int limit = LINE_LIMIT) {
  const std::string image = test::read_bytes(test::data_path("split/" + name));
  std::vector<std::string> lines;
  split_lines(image, limit, [&](const char* line) { lines.emplace_back(line); });
  return lines;
}

using lines = std::vector<std::string>;

TEST(LineSplitter, EndOfFileEndsTheLastLine) {
  EXPECT_EQ(split_file("no_final_newline.txt"), (lines{"one", "two"}));
  // CR LF at the very end hands one more, empty, line to the parser.
  EXPECT_EQ(split_file("crlf_final.txt"), (lines{"one", "two", ""}));
  EXPECT_EQ(split_file("empty_lines.txt"), (lines{"a", "", "b"}));
  EXPECT_EQ(split_file("lone_cr.txt"), (lines{"a", "b", "c"}));
  std::vector<std::string> none;
  split_lines("", LINE_LIMIT, [&](const char* line) { none.emplace_back(line); });
  EXPECT_TRUE(none.empty());
}

TEST(LineSplitter, LongLinesAreCutAndTheByteAtTheCutIsLost) {
  const std::string a78(78, 'A');
  EXPECT_EQ(split_file("line_79.txt"), (lines{a78 + "Z", "next"}));
  // 80 characters: the first 79 arrive, the 80th is lost, and the CR ends an empty line.
  const std::string a79(79, 'A');
  EXPECT_EQ(split_file("line_80.txt"), (lines{a79, "", "next"}));
}

TEST(LineSplitter, LfOnlyFileIsOneLongLineCutEvery79) {
  const lines got = split_file("lf_only.txt");
  std::string joined;
  for (int i = 0; i < 10; ++i) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%03d,-1.000,", i);
    joined += buf;
  }
  // 120 characters: 79, one lost, then the remaining 40 at the end of the file.
  ASSERT_EQ(got.size(), 2u);
  EXPECT_EQ(got[0], joined.substr(0, 79));
  EXPECT_EQ(got[1], joined.substr(80));
}

TEST(LineSplitter, FourNecLimitIs198) {
  const std::string image = std::string(200, 'x') + "\r\n";
  std::vector<std::string> got;
  split_lines(image, LINE_LIMIT_4NEC, [&](const char* line) { got.emplace_back(line); });
  // 198 arrive, the 199th is lost, the 200th ends at the CR, and the final LF ends an empty line.
  ASSERT_EQ(got.size(), 3u);
  EXPECT_EQ(got[0].size(), 198u);
  EXPECT_EQ(got[1], "x");
  EXPECT_EQ(got[2], "");
}

}  // namespace
}  // namespace lobe

namespace lobe {
namespace {

std::vector<std::string> split_text(const std::string& image, bool lf_ends, int limit = LINE_LIMIT) {
  std::vector<std::string> lines;
  split_lines(image, limit, [&](const char* line) { lines.emplace_back(line); }, lf_ends);
  return lines;
}

// With LF read as a line end, an LF-only file gives exactly the lines of its
// CR LF twin, cut rules and the last empty line included.
TEST(LineSplitter, LfEndsGiveTheLinesOfTheCrLfTwin) {
  const std::string a79(79, 'A'), a80(80, 'B');
  for (const std::string& lf : {std::string("one\ntwo\n"), std::string("one\ntwo"), std::string("\n\nx\n"),
                                a79 + "\nnext\n", a80 + "\nnext", std::string("a\r\nb\nc\r\n")}) {
    std::string twin;
    for (std::size_t i = 0; i < lf.size(); ++i) {
      if (lf[i] == '\n' && (i == 0 || lf[i - 1] != '\r')) twin += '\r';
      twin += lf[i];
    }
    EXPECT_EQ(split_text(lf, true), split_text(twin, false)) << lf;
    EXPECT_EQ(split_text(twin, true), split_text(twin, false)) << "CR LF files read the same either way";
  }
  EXPECT_EQ(split_text("one\ntwo\n", true), (lines{"one", "two", ""}));
  EXPECT_EQ(split_text("one\ntwo\n", false), (lines{"onetwo"})) << "without the opt-in LF is dropped";
}

}  // namespace
}  // namespace lobe

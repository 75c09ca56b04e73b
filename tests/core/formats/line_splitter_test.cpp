#include "core/formats/line_splitter.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace lobe {
namespace {

using lines = std::vector<std::string>;

lines split(const std::string& image, bool lf_ends = false, int limit = LINE_LIMIT) {
  lines out;
  split_lines(image, limit, [&](const char* line) { out.emplace_back(line); }, lf_ends);
  return out;
}

// A line ends at CR and LF is dropped; the end of the file ends the last
// line, and a final CR LF hands over one more, empty, line. A long line is
// cut after 79 characters (198 in 4NEC tables) and the byte at the cut is lost.
TEST(LineSplitter, LinesEndAtCrAndLongOnesAreCut) {
  const std::string a78(78, 'A'), a79(79, 'A'), x200(200, 'x');
  const struct {
    std::string image;
    lines want;
  } rows[] = {
      {"one\r\ntwo", {"one", "two"}},
      {"one\r\ntwo\r\n", {"one", "two", ""}},
      {"a\r\n\r\nb", {"a", "", "b"}},
      {"a\rb\rc", {"a", "b", "c"}},
      {"", {}},
      {a78 + "Z\r\nnext", {a78 + "Z", "next"}},
      {a79 + "Z\r\nnext", {a79, "", "next"}},                  // the 80th is lost, the CR ends an empty line
      {"000,-1.000,\n001,-1.000,\n002,\n", {"000,-1.000,001,-1.000,002,"}},  // LF-only: one long line
  };
  for (const auto& r : rows) EXPECT_EQ(split(r.image), r.want) << r.image;
  const lines nec = split(x200 + "\r\n", false, LINE_LIMIT_4NEC);
  EXPECT_EQ(nec, (lines{std::string(198, 'x'), "x", ""})) << "198 arrive, the 199th is lost";
}

}  // namespace
}  // namespace lobe

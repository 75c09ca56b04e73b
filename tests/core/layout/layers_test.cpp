// The core's folders are layers: each includes only its own headers and
// those of the layers below it, so that any folder can be read, built and
// tested with nothing above it.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <regex>
#include <string>

namespace lobe {
namespace {

// Lower first; folders of one rank may not include each other.
const std::map<std::string, int> k_rank = {
    {"base", 0},    {"text", 0},    {"io", 1},       {"settings", 2}, {"record", 3},
    {"formats", 4}, {"range", 4},   {"session", 5},  {"analysis", 6}, {"exposure", 7},
};

TEST(Layers, CoreFoldersIncludeOnlyThemselvesAndTheLayersBelow) {
  const std::filesystem::path core = std::filesystem::path(LOBE_SOURCE) / "src" / "core";
  const std::regex include(R"(^\s*#\s*include\s+"core/([a-z_]+)/)");
  int files = 0;
  for (const auto& folder : std::filesystem::directory_iterator(core)) {
    if (!folder.is_directory()) continue;
    const std::string name = folder.path().filename().string();
    ASSERT_TRUE(k_rank.count(name)) << "a new folder needs its place among the layers: " << name;
    for (const auto& file : std::filesystem::directory_iterator(folder)) {
      std::ifstream in(file.path());
      std::string line;
      ++files;
      while (std::getline(in, line)) {
        std::smatch m;
        if (!std::regex_search(line, m, include) || m[1] == name) continue;
        ASSERT_TRUE(k_rank.count(m[1])) << file.path() << ": " << line;
        EXPECT_LT(k_rank.at(m[1]), k_rank.at(name)) << file.path() << ": " << line;
      }
    }
  }
  EXPECT_GT(files, 50);
}

// Readers and writers fill and take a pattern record; what else a load
// changes is the loader's to apply, so no format file knows the whole state.
TEST(Layers, FormatsKnowTheRecordNotTheProgramState) {
  const std::filesystem::path formats = std::filesystem::path(LOBE_SOURCE) / "src" / "core" / "formats";
  int files = 0;
  for (const auto& file : std::filesystem::directory_iterator(formats)) {
    std::ifstream in(file.path());
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ++files;
    EXPECT_EQ(text.find("lobe_state"), std::string::npos) << file.path();
  }
  EXPECT_GT(files, 20);
}

}  // namespace
}  // namespace lobe

// The files the program reads at start, the envelope library and the help
// text, at their limits (what they read is in tests/data/reader_facts.jsonl).
#include "core/formats/envelope_file.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "core/formats/help_file.h"
#include "support/test_support.h"

namespace lobe {
namespace {

TEST(EnvelopeFile, LibraryKeeps40MasksOf32Rows) {
  std::string text;
  for (int e = 0; e < 45; ++e) {
    text += "envelope,Mask " + std::to_string(e) + ",\r\n";
    for (int r = 0; r < 40; ++r) text += std::to_string(r) + "," + std::to_string(r + 1) + "," + std::to_string(e) + "\r\n";
  }
  auto ed = std::make_unique<envelopes_type>();
  read_envelope_image(*ed, text);
  ASSERT_EQ(ed->numenv, MAX_ENVELOPES);
  EXPECT_STREQ(ed->env[39].title, "Mask 39");
  EXPECT_EQ(ed->env[39].nupoin, MAX_ENV_SAMPLES);
  EXPECT_FLOAT_EQ(ed->env[39].signal[31], 39.0f) << "the 41st mask's rows do not land in the 40th";
  EXPECT_FLOAT_EQ(ed->env[39].angle1[31], 31.0f);
}

TEST(EnvelopeFile, MissingFileMeansNoLibrary) {
  auto ed = std::make_unique<envelopes_type>();
  ed->numenv = 3;
  EXPECT_FALSE(read_envelope_file(*ed, test::data_path("envelopes/none.csv")));
  EXPECT_EQ(ed->numenv, 0);
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

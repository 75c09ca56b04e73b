// The files the program reads at start: the envelope library and the help text.
#include "core/formats/envelope_file.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "core/formats/help_file.h"
#include "support/test_support.h"

namespace lobe {
namespace {

std::unique_ptr<envelopes_type> load(const std::string& rel) {
  auto ed = std::make_unique<envelopes_type>();
  EXPECT_TRUE(read_envelope_file(*ed, test::data_path(rel)));
  return ed;
}

TEST(EnvelopeFile, EnvelopeLinesStartMasksAndRowsFillThem) {
  auto ed = load("envelopes/class_a.csv");
  ASSERT_EQ(ed->numenv, 1);
  const envelope_data_type& e = ed->env[0];
  EXPECT_STREQ(e.title, "Class A");
  EXPECT_EQ(e.display, 0);
  ASSERT_EQ(e.nupoin, 2);
  EXPECT_FLOAT_EQ(e.angle1[0], 0.0f);
  EXPECT_FLOAT_EQ(e.angle2[0], 10.0f);
  EXPECT_FLOAT_EQ(e.signal[0], 3.0f);
  EXPECT_FLOAT_EQ(e.angle2[1], 180.0f);
  EXPECT_FLOAT_EQ(e.signal[1], 20.0f);
}

TEST(EnvelopeFile, CommentsApostrophesSignsAndEmptyMasks) {
  auto ed = load("envelopes/quirks.csv");
  ASSERT_EQ(ed->numenv, 3);
  EXPECT_STREQ(ed->env[0].title, "Bob") << "an apostrophe ends the field";
  ASSERT_EQ(ed->env[0].nupoin, 1) << "rows before the first envelope and comment lines are not stored";
  EXPECT_FLOAT_EQ(ed->env[0].signal[0], -2.5f) << "signs are kept";
  EXPECT_STREQ(ed->env[1].title, "Empty");
  EXPECT_EQ(ed->env[1].nupoin, 0);
  EXPECT_STREQ(ed->env[2].title, "Last");
  ASSERT_EQ(ed->env[2].nupoin, 1) << "a row without three numbers is ignored";
  EXPECT_FLOAT_EQ(ed->env[2].angle2[0], 90.0f);
}

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

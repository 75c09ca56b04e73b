#include "core/save_routing.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "core/field_text.h"
#include "core/file_sink.h"
#include "core/nsma_writer.h"
#include "support/test_support.h"

namespace lobe {
namespace {

using test::harness;

void one_cut(lobe_state& st) {
  clear_planet_header_data(st.pd, st.all_emax);
  st.pd.nofreq = 1;
  set_field(st.pd.freq[0].patfre, "450");
  st.pd.freq[0].numcut = 1;
  cut_data_type& c = st.pd.freq[0].cut[0];
  set_field(c.patcut, "H");
  c.nupoin = 1;
  c.fstlst[0] = c.fstlst[1] = 0.0f;
  c.emax = 2.0f;
}

std::size_t files_in(const std::string& folder) {
  std::size_t n = 0;
  for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(folder)) ++n;
  return n;
}

TEST(SaveRouting, NothingToSaveWithoutAFirstCut) {
  harness h;
  EXPECT_FALSE(check_something_to_save(*h.st, h.io));
  h.st->pd.nofreq = 2;
  h.st->pd.freq[1].numcut = 1;
  EXPECT_FALSE(check_something_to_save(*h.st, h.io));
  ASSERT_EQ(h.win.boxes.size(), 2u);
  EXPECT_EQ(h.win.boxes[0].text, "Nothing to save.");
  EXPECT_EQ(h.win.boxes[0].caption, "IDC_BUTTON_SAVE processing");
  one_cut(*h.st);
  EXPECT_TRUE(check_something_to_save(*h.st, h.io));
}

TEST(SaveRouting, ExtensionChoosesTheWriterAndTheNextDefault) {
  test::temp_dir dir;
  harness h;
  one_cut(*h.st);
  const std::string labz = dir.file("capture.LABZ");
  ASSERT_TRUE(save_file(*h.st, h.io, labz));
  EXPECT_EQ(h.st->file.file_type, FT_LABZ);
  EXPECT_EQ(h.win.form_reads, 1) << "typed texts reach the record before writing";
  EXPECT_EQ(h.win.status[STB_FILENAME], "capture.LABZ");
  EXPECT_EQ(h.st->file.filename_set, 1);
  string_sink expected;
  write_nsma_file(*h.st, expected, h.log, 1);
  EXPECT_EQ(test::read_bytes(labz), expected.bytes);

  ASSERT_TRUE(save_file(*h.st, h.io, dir.file("plain.adf")));
  EXPECT_EQ(h.st->file.file_type, FT_ADF);
  EXPECT_EQ(test::read_bytes(dir.file("plain.adf")).find("FSTLST:,0.000,0.000\r\n") != std::string::npos, true);
}

TEST(SaveRouting, ReplacingAFileLeavesNothingElseBehind) {
  test::temp_dir dir;
  const std::string path = dir.file("p.nsma");
  test::write_bytes(path, "old contents");
  harness h;
  one_cut(*h.st);
  ASSERT_TRUE(save_file(*h.st, h.io, path));
  EXPECT_EQ(test::read_bytes(path).rfind("REVNUM:,NSMA  WG16.99.050\r\n", 0), 0u);
  EXPECT_EQ(files_in(dir.path()), 1u);
}

TEST(SaveRouting, UncreatableFileShowsTheBox) {
  test::temp_dir dir;
  harness h;
  one_cut(*h.st);
  EXPECT_FALSE(save_file(*h.st, h.io, dir.file("no/such/folder/p.nsma")));
  ASSERT_EQ(h.win.boxes.size(), 1u);
  EXPECT_EQ(h.win.boxes[0].text, "Unable to open antenna file.");
  EXPECT_EQ(h.win.boxes[0].caption, "IDC_BUTTON_SAVE processing");
  EXPECT_EQ(h.st->file.filename_set, 0);
}

}  // namespace
}  // namespace lobe

#include "core/formats/save_routing.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

#include "core/text/field_text.h"
#include "core/formats/file_sink.h"
#include "core/formats/nsma_writer.h"
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

// A save never replaces what it should not: it writes through a link, keeps
// the file's permission bits, and refuses what is no regular file or is
// read-only (even for root, who may write anything).
TEST(SaveRouting, SavesReplaceOnlyWhatTheyShould) {
  test::temp_dir dir;
  harness h;
  one_cut(*h.st);

  const std::string real = dir.file("real.nsma"), link = dir.file("link.nsma");
  test::write_bytes(real, "old");
  ASSERT_EQ(::symlink("real.nsma", link.c_str()), 0);
  ASSERT_TRUE(save_file(*h.st, h.io, link));
  struct stat info {};
  ASSERT_EQ(::lstat(link.c_str(), &info), 0);
  EXPECT_TRUE(S_ISLNK(info.st_mode)) << "the link stays a link";
  EXPECT_EQ(test::read_bytes(real).rfind("REVNUM:,", 0), 0u) << "and the file it names has the new content";

  const std::string kept = dir.file("kept.nsma");
  test::write_bytes(kept, "old");
  ASSERT_EQ(::chmod(kept.c_str(), 0640), 0);
  ASSERT_TRUE(save_file(*h.st, h.io, kept));
  ASSERT_EQ(::stat(kept.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0640u);

  const std::string readonly = dir.file("readonly.nsma"), fifo = dir.file("pipe.nsma"), folder = dir.file("sub.nsma");
  test::write_bytes(readonly, "precious");
  ASSERT_EQ(::chmod(readonly.c_str(), 0444), 0);
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
  ASSERT_EQ(::mkdir(folder.c_str(), 0755), 0);
  for (const std::string& target : {readonly, fifo, folder}) {
    h.win.boxes.clear();
    EXPECT_FALSE(save_file(*h.st, h.io, target)) << target;
    ASSERT_EQ(h.win.boxes.size(), 1u);
    EXPECT_EQ(h.win.boxes[0].text.rfind("Unable to open antenna file.\n", 0), 0u) << h.win.boxes[0].text;
  }
  EXPECT_EQ(test::read_bytes(readonly), "precious");
  ASSERT_EQ(::lstat(fifo.c_str(), &info), 0);
  EXPECT_TRUE(S_ISFIFO(info.st_mode));
  ASSERT_EQ(::lstat(folder.c_str(), &info), 0);
  EXPECT_TRUE(S_ISDIR(info.st_mode));
}

TEST(SaveRouting, TemporaryFilesOfAKilledSaveAreRemovedByTheNext) {
  test::temp_dir dir;
  harness h;
  one_cut(*h.st);
  // Left by a save whose process is gone (no process has pid 2^22 + 1 here),
  // and one of a save still under way in this very process.
  const std::string dead = dir.file("p.nsma.lobeview-4194305.AbCdEf");
  const std::string live = dir.file("q.nsma.lobeview-" + std::to_string(::getpid()) + ".XyZw12");
  const std::string mine = dir.file("notes.lobeview-x.txt");
  for (const std::string& f : {dead, live, mine}) test::write_bytes(f, "partial");
  ASSERT_TRUE(save_file(*h.st, h.io, dir.file("p.nsma")));
  EXPECT_FALSE(std::filesystem::exists(dead));
  EXPECT_TRUE(std::filesystem::exists(live));
  EXPECT_TRUE(std::filesystem::exists(mine)) << "a file that is no temporary of ours stays";
  EXPECT_EQ(files_in(dir.path()), 3u);
}

}  // namespace
}  // namespace lobe

#include "core/formats/save_routing.h"

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>

#include "core/text/field_text.h"
#include "core/formats/antenna_loader.h"
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

using test::files_in;

TEST(SaveRouting, NothingToSaveWithoutAFirstCut) {
  harness h;
  EXPECT_EQ(check_something_to_save(*h.st).failure_text(), "Nothing to save.");
  h.st->pd.nofreq = 2;
  h.st->pd.freq[1].numcut = 1;
  EXPECT_FALSE(check_something_to_save(*h.st).ok);
  one_cut(*h.st);
  EXPECT_TRUE(check_something_to_save(*h.st).ok);
}

TEST(SaveRouting, ExtensionChoosesTheWriterAndTheNextDefault) {
  test::temp_dir dir;
  harness h;
  one_cut(*h.st);
  const std::string labz = dir.file("capture.LABZ");
  const action_report r = save_file(*h.st, h.log, labz);
  ASSERT_TRUE(r.ok);
  EXPECT_TRUE(r.messages.empty()) << "a good save says nothing";
  EXPECT_EQ(h.st->file.file_type, FT_LABZ);
  EXPECT_EQ(r.status, (std::map<int, std::string>{{STB_FILENAME, "capture.LABZ"}}));
  EXPECT_EQ(h.st->file.filename_set, 1);
  string_sink expected;
  write_nsma_file(*h.st, expected, h.log, 1);
  EXPECT_EQ(test::read_bytes(labz), expected.bytes);

  test::write_bytes(dir.file("plain.adf"), "old contents");
  ASSERT_TRUE(save_file(*h.st, h.log, dir.file("plain.adf")).ok);
  EXPECT_EQ(h.st->file.file_type, FT_ADF);
  EXPECT_NE(test::read_bytes(dir.file("plain.adf")).find("FSTLST:,0.000,0.000\r\n"), std::string::npos);
  EXPECT_EQ(files_in(dir.path()), 2u) << "the old file replaced, nothing else left";
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
  ASSERT_TRUE(save_file(*h.st, h.log, link).ok);
  struct stat info {};
  ASSERT_EQ(::lstat(link.c_str(), &info), 0);
  EXPECT_TRUE(S_ISLNK(info.st_mode)) << "the link stays a link";
  EXPECT_EQ(test::read_bytes(real).rfind("REVNUM:,", 0), 0u) << "and the file it names has the new content";

  const std::string kept = dir.file("kept.nsma");
  test::write_bytes(kept, "old");
  ASSERT_EQ(::chmod(kept.c_str(), 0640), 0);
  ASSERT_TRUE(save_file(*h.st, h.log, kept).ok);
  ASSERT_EQ(::stat(kept.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0640u);

  const std::string saved_as = h.st->file.szFileName;
  const action_report r = save_file(*h.st, h.log, dir.file("no/such/folder/p.nsma"));
  EXPECT_EQ(r.failure_text(), "Unable to open antenna file.") << "a folder that is not there";
  EXPECT_TRUE(r.status.empty());
  EXPECT_EQ(h.st->file.szFileName, saved_as) << "a failed save does not rename the pattern";
  const std::string readonly = dir.file("readonly.nsma"), fifo = dir.file("pipe.nsma"), folder = dir.file("sub.nsma");
  test::write_bytes(readonly, "precious");
  ASSERT_EQ(::chmod(readonly.c_str(), 0444), 0);
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
  ASSERT_EQ(::mkdir(folder.c_str(), 0755), 0);
  for (const std::string& target : {readonly, fifo, folder}) {
    const action_report r = save_file(*h.st, h.log, target);
    EXPECT_FALSE(r.ok) << target;
    EXPECT_EQ(r.failure_text().rfind("Unable to open antenna file.\n", 0), 0u) << r.failure_text();
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
  ASSERT_TRUE(save_file(*h.st, h.log, dir.file("p.nsma")).ok);
  EXPECT_FALSE(std::filesystem::exists(dead));
  EXPECT_TRUE(std::filesystem::exists(live));
  EXPECT_TRUE(std::filesystem::exists(mine)) << "a file that is no temporary of ours stays";
  EXPECT_EQ(files_in(dir.path()), 3u);
}

// The file handles the program holds: a load or a save leaves none open.
std::size_t open_handles() { return files_in("/proc/self/fd"); }

TEST(AtomicFile, ReportsEachWriteAndLeavesNoHandleOrTemporaryBehind) {
  test::temp_dir dir;
  const std::size_t handles = open_handles();
  {
    atomic_file f;
    ASSERT_TRUE(f.open(dir.file("x.nsma")));
    EXPECT_TRUE(f.write("abc", 3)) << "a write that worked says so";
    EXPECT_EQ(files_in(dir.path()), 1u);
    remove_pending_temp_file();  // what the signal handlers do
    EXPECT_EQ(files_in(dir.path()), 0u);
  }
  harness h;
  one_cut(*h.st);
  ASSERT_TRUE(save_file(*h.st, h.log, dir.file("p.nsma")).ok);
  ASSERT_TRUE(h.open_data("convert/src.nsma"));
  EXPECT_FALSE(open_file(*h.st, h.log, dir.file("gone.nsma"), "nsma").ok);
  EXPECT_EQ(open_handles(), handles);
}

// A write that failed (here past the file-size limit) is not made good by a
// flush that works afterwards: the old file stays.
TEST(AtomicFile, AFailedWriteIsNeverCommitted) {
  test::temp_dir dir;
  const std::string path = dir.file("p.nsma");
  test::write_bytes(path, "old");
  auto write_past_the_limit = [&path] {
    std::signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{4096, 4096};
    setrlimit(RLIMIT_FSIZE, &limit);
    atomic_file f;
    if (!f.open(path)) std::_Exit(2);
    const std::string big(65536, 'x');
    const bool wrote = f.write(big.data(), big.size());
    std::_Exit(!wrote && !f.commit() ? 0 : 1);
  };
  EXPECT_EXIT(write_past_the_limit(), ::testing::ExitedWithCode(0), "");
  EXPECT_EQ(test::read_bytes(path), "old");
}

}  // namespace
}  // namespace lobe

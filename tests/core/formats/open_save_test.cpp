// Opening and saving a pattern: which type a name or extension means, what
// a load leaves in the record and reports, and what a save may replace.
#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include "core/session/antenna_loader.h"
#include "core/io/file_sink.h"
#include "core/formats/file_types.h"
#include "core/formats/nsma_writer.h"
#include "core/session/save_routing.h"
#include "core/base/lobeview.h"
#include "core/text/field_text.h"
#include "support/test_support.h"

namespace lobe {
namespace {

// The Open command and the Save routing take the extension in any case; the
// dialog's extension is at most four characters.
TEST(FileTypes, ExtensionsNamesAndTheirTypes) {
  for (const auto& [ext, type] : {std::pair{"nsma", FT_NSMA99}, {"Nsma", FT_NSMA99}, {"LABZ", FT_LABZ}, {"adf", FT_ADF},
                                  {"aNt", FT_ANT}, {"TXT", FT_4NEC}, {"pla", FT_PLANET}, {"msi", FT_PLANET}, {"", FT_PLANET}})
    EXPECT_EQ(open_type_from_extension(ext), type) << ext;
  for (const auto& [ext, type] : {std::pair{"labz", FT_LABZ}, {"NSMA", FT_NSMA99}, {"Adf", FT_ADF}, {"ant", FT_ANT},
                                  {"txt", FT_PLANET}, {"pla", FT_PLANET}})
    EXPECT_EQ(save_type_from_extension(ext), type) << ext;
  for (const auto& [path, ext] : {std::pair{"/data/p.nsma", "nsma"}, {"/data/p.nsmaold", "nsma"}, {"/data/p.v2.Ant", "Ant"},
                                  {"/data.d/pattern", ""}, {"C:\\x.y\\p.adf", "adf"}, {"/data/p.ab cd", "ab"}})
    EXPECT_EQ(dialog_extension(path), ext) << path;
}

using test::harness;

const std::string k_small = "REVNUM:,NSMA  WG16.99.050\r\nMODNUM:,M1\r\nNOFREQ:,1\r\nPATFRE:,450\r\nNUMCUT:,1\r\n"
                            "PATCUT:,H\r\nPOLARI:,V/V\r\nNUPOIN:,2\r\nFSTLST:,0,1\r\n0,-0\r\n1,-3\r\nENDFIL:,EOF\r\n";

TEST(AntennaLoader, OpenResetsTheViewNamesTheFileAndClearsThePreviousError) {
  test::temp_dir dir;
  const std::string path = dir.file("small.nsma"), bad = dir.file("bad.nsma");
  test::write_bytes(path, k_small);
  test::write_bytes(bad, "REVNUM:,x\r\nNOFREQ:,0\r\nPATFRE:,1\r\n");
  harness h;
  h.st->view.scale_to_max_mode = 1;
  h.st->view.centre_db_ix = 1;
  h.st->emr.eheight = 60.0f;
  h.st->all_emax = 99.0f;
  h.report = open_file(*h.st, h.log, bad, "nsma");
  EXPECT_EQ(h.status(STB_ERROR), "Bad file param - NOFREQ! ");
  h.report = open_file(*h.st, h.log, path, "nsma");
  ASSERT_TRUE(h.report.ok);
  EXPECT_EQ(h.st->file.file_type, FT_NSMA99);
  EXPECT_STREQ(h.st->pd.name, "M1");
  EXPECT_EQ(h.st->view.scale_to_max_mode, 0);
  EXPECT_EQ(h.st->view.centre_db_ix, 4);
  EXPECT_FLOAT_EQ(h.st->emr.eheight, 25.0f);
  EXPECT_FLOAT_EQ(h.st->all_emax, 0.0f);
  EXPECT_EQ(h.st->file.filename_set, 1);
  EXPECT_EQ(h.st->file.szFileName_name, "small.nsma");
  EXPECT_EQ(h.report.status, (std::map<int, std::string>{{STB_FILENAME, "small.nsma"}, {STB_ERROR, ""}}))
      << "a good load leaves no earlier error behind";
  EXPECT_TRUE(h.report.pattern_replaced);
  EXPECT_TRUE(h.report.messages.empty());
}

TEST(AntennaLoader, ClearingKeepsOldFrequencyTextsButNotTheirCounts) {
  test::temp_dir dir;
  const std::string two = dir.file("two.nsma"), empty = dir.file("empty.nsma");
  test::write_bytes(two, k_small);
  test::write_bytes(empty, "REVNUM:,x\r\n");
  harness h;
  ASSERT_TRUE(open_file(*h.st, h.log, two, "NSMA").ok);
  ASSERT_TRUE(open_file(*h.st, h.log, empty, "nsma").ok);
  EXPECT_EQ(h.st->pd.nofreq, 0);
  EXPECT_STREQ(h.st->pd.name, "");
  EXPECT_STREQ(h.st->pd.gunits, "DBD/DBD");
  EXPECT_STREQ(h.st->pd.pattyp, "typical");
  EXPECT_STREQ(h.st->pd.freq[0].patfre, "450");
  EXPECT_STREQ(h.st->pd.freq[0].cut[0].patcut, "H");
}

void one_cut(lobe_state& st) {
  test::put_cut(st, 0, 0, "H", {{0, 0}});
  st.pd.freq[0].cut[0].fstlst[0] = st.pd.freq[0].cut[0].fstlst[1] = 0.0f;
}

using test::files_in;

TEST(SaveRouting, SomethingToSaveAndTheExtensionChoosesTheWriter) {
  test::temp_dir dir;
  harness h;
  EXPECT_EQ(check_something_to_save(*h.st).failure_text(), "Nothing to save.");
  h.st->pd.nofreq = 2;
  h.st->pd.freq[1].numcut = 1;
  EXPECT_FALSE(check_something_to_save(*h.st).ok) << "the first frequency needs a cut";
  one_cut(*h.st);
  EXPECT_TRUE(check_something_to_save(*h.st).ok);
  const std::string labz = dir.file("capture.LABZ");
  const action_report r = save_file(*h.st, h.log, labz);
  ASSERT_TRUE(r.ok);
  EXPECT_TRUE(r.messages.empty()) << "a good save says nothing";
  EXPECT_EQ(h.st->file.file_type, FT_LABZ);
  EXPECT_EQ(r.status, (std::map<int, std::string>{{STB_FILENAME, "capture.LABZ"}}));
  EXPECT_EQ(h.st->file.filename_set, 1);
  string_sink expected;
  write_nsma_file(*h.st, expected, h.log, 1, write_options_of(*h.st));
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
  const std::string dead = dir.file(".p.nsma.lobeview-tmp.4194305.AbCdEf");
  const std::string live = dir.file(".q.nsma.lobeview-tmp." + std::to_string(::getpid()) + ".XyZw12");
  // The user's own files, whatever they look like, stay: the names of the
  // temporaries of earlier versions too.
  const std::vector<std::string> users = {
      dir.file("notes.lobeview-x.txt"),          dir.file("notes.lobeview-3999999.tar.gz"),
      dir.file("site.lobeview-2023.backup"),     dir.file("p.nsma.lobeview-4194305.AbCdEf"),
      dir.file(".p.nsma.lobeview-tmp.4194305.AbCdEfG"), dir.file(".p.nsma.lobeview-tmp.4194305.AbC-Ef"),
      dir.file("p.nsma.lobeview-tmp.4194305.AbCdEf")};
  for (const std::string& f : {dead, live}) test::write_bytes(f, "partial");
  for (const std::string& f : users) test::write_bytes(f, "the user's");
  const std::string link = dir.file(".p.nsma.lobeview-tmp.4194306.LinkXY");  // named so, but no file of ours
  ASSERT_EQ(::symlink("notes.lobeview-x.txt", link.c_str()), 0);
  ASSERT_TRUE(save_file(*h.st, h.log, dir.file("p.nsma")).ok);
  EXPECT_FALSE(std::filesystem::exists(dead));
  EXPECT_TRUE(std::filesystem::exists(live));
  for (const std::string& f : users) EXPECT_EQ(test::read_bytes(f), "the user's") << f;
  EXPECT_TRUE(std::filesystem::is_symlink(link)) << "and so does a link";
  EXPECT_EQ(files_in(dir.path()), 3u + users.size());
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

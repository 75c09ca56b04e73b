// Opening a pattern: what the Open command and a startup path leave in the
// record, and what they report.
#include "core/formats/antenna_loader.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>

#include "core/formats/file_image.h"
#include "core/text/field_text.h"
#include "support/test_support.h"

namespace lobe {
namespace {

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

TEST(AntennaLoader, UnopenableFileLeavesTheRecordAlone) {
  harness h;
  set_field(h.st->pd.name, "kept");
  h.st->pd.nofreq = 1;
  test::temp_dir dir;
  const std::string fifo = dir.file("pipe.nsma");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
  for (const std::string& path : {dir.file("missing.nsma"), dir.path(), fifo}) {
    const action_report r = open_file(*h.st, h.log, path, "nsma");
    EXPECT_FALSE(r.ok);
    EXPECT_FALSE(r.pattern_replaced);
    ASSERT_EQ(r.messages.size(), 1u);
    EXPECT_EQ(r.messages[0].kind, message_kind::failure);
    EXPECT_EQ(r.failure_text(), "Unable to open antenna file.");
  }
  EXPECT_STREQ(h.st->pd.name, "kept");
  EXPECT_EQ(h.st->pd.nofreq, 1);
}

TEST(AntennaLoader, StartupPathTakesTheTypeFromTheName) {
  test::temp_dir dir;
  const std::string mixed = dir.file("pattern.Nsma"), upper = dir.file("pattern.NSMA");
  test::write_bytes(mixed, k_small);
  test::write_bytes(upper, k_small);
  harness h;
  test::temp_dir logdir;
  ASSERT_TRUE(h.log.open(logdir.path()));
  action_report r = open_file_on_startup(*h.st, h.log, mixed);
  EXPECT_FALSE(r.ok);
  EXPECT_TRUE(r.messages.empty()) << "an unknown name is silently ignored";
  EXPECT_EQ(h.st->file.file_type, 0);

  r = open_file_on_startup(*h.st, h.log, upper);
  ASSERT_TRUE(r.ok);
  EXPECT_EQ(h.st->pd.nofreq, 1);
  EXPECT_EQ(*r.status_of(STB_FILENAME), "File: pattern.NSMA");
  const std::string log = test::read_bytes(logdir.file("lobeview_log.txt"));
  EXPECT_NE(log.find(" - lvfile - open_file_on_startup fn " + upper + " \r\n"), std::string::npos) << log;
  EXPECT_NE(log.find(" - lvfile - open_file_on_startup file_type 2 \r\n"), std::string::npos);

  r = open_file_on_startup(*h.st, h.log, dir.file("gone.labz"));
  EXPECT_EQ(r.failure_text(), "Unable to open file.");
  EXPECT_EQ(h.st->file.file_type, FT_LABZ);
}

// Only regular files of a sane size are read: a FIFO nobody writes to would
// block for ever, a device could be endless; a read error is no empty pattern.
TEST(AntennaLoader, OnlyRegularFilesOfASaneSizeAreRead) {
  test::temp_dir dir;
  const std::string fifo = dir.file("pipe.nsma"), big = dir.file("big.nsma");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
  errno = 0;
  EXPECT_EQ(open_for_reading(fifo), nullptr) << "returns at once";
  EXPECT_EQ(errno, ENODEV);
  EXPECT_EQ(open_for_reading(dir.path()), nullptr);
  EXPECT_EQ(errno, EISDIR);
  EXPECT_EQ(open_failure_text(EISDIR), "it is a folder");
  std::FILE* f = std::fopen(big.c_str(), "wb");
  ASSERT_NE(f, nullptr);
  ASSERT_EQ(::ftruncate(fileno(f), MAX_INPUT_BYTES + 1), 0);
  std::fclose(f);
  EXPECT_EQ(open_for_reading(big), nullptr);
  EXPECT_EQ(errno, EFBIG);
  harness h;
  EXPECT_FALSE(open_file_on_startup(*h.st, h.log, big).ok);

  h.st->file.file_type = FT_NSMA99;
  std::FILE* folder = std::fopen(dir.path().c_str(), "rb");  // opens, then fails to read (EISDIR)
  ASSERT_NE(folder, nullptr);
  EXPECT_FALSE(read_antenna_file(*h.st, h.io, folder));
  std::fclose(folder);
  h.st->view.centre_db_ix = 0;
  read_antenna_image(*h.st, h.io, nullptr);
  EXPECT_EQ(h.st->view.centre_db_ix, 4) << "the after-load steps still run";
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

}  // namespace
}  // namespace lobe

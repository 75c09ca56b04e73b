#include "core/formats/antenna_loader.h"
#include "core/formats/file_image.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <sys/stat.h>

#include "core/text/field_text.h"
#include "support/test_support.h"

namespace lobe {
namespace {

using test::harness;

const std::string k_small = "REVNUM:,NSMA  WG16.99.050\r\nMODNUM:,M1\r\nNOFREQ:,1\r\nPATFRE:,450\r\nNUMCUT:,1\r\n"
                            "PATCUT:,H\r\nPOLARI:,V/V\r\nNUPOIN:,2\r\nFSTLST:,0,1\r\n0,-0\r\n1,-3\r\nENDFIL:,EOF\r\n";

TEST(AntennaLoader, OpenCommandResetsViewStateAndNamesTheFile) {
  test::temp_dir dir;
  const std::string path = dir.file("small.nsma");
  test::write_bytes(path, k_small);
  harness h;
  h.st->view.scale_to_max_mode = 1;
  h.st->view.centre_db_ix = 1;
  h.st->emr.eheight = 60.0f;
  h.st->all_emax = 99.0f;
  ASSERT_TRUE(open_file(*h.st, h.io, path, "nsma"));
  EXPECT_EQ(h.st->file.file_type, FT_NSMA99);
  EXPECT_STREQ(h.st->pd.name, "M1");
  EXPECT_EQ(h.st->view.scale_to_max_mode, 0);
  EXPECT_EQ(h.st->view.centre_db_ix, 4);
  EXPECT_FLOAT_EQ(h.st->emr.eheight, 25.0f);
  EXPECT_FLOAT_EQ(h.st->all_emax, 0.0f);
  EXPECT_EQ(h.st->file.filename_set, 1);
  EXPECT_EQ(h.st->file.szFileName_name, "small.nsma");
  EXPECT_EQ(h.win.status[STB_FILENAME], "small.nsma");
  EXPECT_EQ(h.win.status[STB_ERROR], "");
  EXPECT_EQ(h.win.panel_clears, 1);
  EXPECT_EQ(h.win.panel_rebuilds, 1);
  EXPECT_EQ(h.win.menu_rebuilds, 1);
}

TEST(AntennaLoader, UnopenableFileLeavesTheRecordAlone) {
  harness h;
  set_field(h.st->pd.name, "kept");
  h.st->pd.nofreq = 1;
  test::temp_dir dir;
  for (const std::string& path : {dir.file("missing.nsma"), dir.path()}) {
    EXPECT_FALSE(open_file(*h.st, h.io, path, "nsma"));
    ASSERT_FALSE(h.win.boxes.empty());
    EXPECT_EQ(h.win.boxes.back().text, "Unable to open antenna file.");
    EXPECT_EQ(h.win.boxes.back().caption, "ID_FILE_OPEN processing");
    EXPECT_EQ(h.win.boxes.back().icon, message_icon::error);
  }
  EXPECT_STREQ(h.st->pd.name, "kept");
  EXPECT_EQ(h.st->pd.nofreq, 1);
  EXPECT_EQ(h.win.panel_clears, 0);
}

TEST(AntennaLoader, NsmaWithoutRevnumIsReadAsTheOlderLayout) {
  harness h;
  h.load_text(FT_NSMA99, test::read_bytes(test::data_path("nsma/revnum_lowercase.nsma")));
  EXPECT_EQ(h.st->file.file_type, FT_NSMA89);
  harness adf;
  adf.load_text(FT_ADF, test::read_bytes(test::data_path("nsma/revnum_lowercase.nsma")));
  EXPECT_EQ(adf.st->file.file_type, FT_ADF) << "only .nsma files are checked";
  EXPECT_STREQ(adf.st->pd.name, "x");
}

TEST(AntennaLoader, StartupPathTakesTheTypeFromTheName) {
  test::temp_dir dir;
  const std::string mixed = dir.file("pattern.Nsma");
  test::write_bytes(mixed, k_small);
  harness h;
  test::temp_dir logdir;
  ASSERT_TRUE(h.log.open(logdir.path()));
  EXPECT_FALSE(open_file_on_startup(*h.st, h.io, mixed));
  EXPECT_EQ(h.st->file.file_type, 0);
  EXPECT_TRUE(h.win.boxes.empty()) << "an unknown name is silently ignored";
  EXPECT_EQ(h.st->pd.nofreq, 0);

  const std::string upper = dir.file("pattern.NSMA");
  test::write_bytes(upper, k_small);
  ASSERT_TRUE(open_file_on_startup(*h.st, h.io, upper));
  EXPECT_EQ(h.st->pd.nofreq, 1);
  EXPECT_EQ(h.win.status[STB_FILENAME], "File: pattern.NSMA");
  const std::string log = test::read_bytes(logdir.file("lobeview_log.txt"));
  EXPECT_NE(log.find(" - lvfile - open_file_on_startup fn " + upper + " \r\n"), std::string::npos) << log;
  EXPECT_NE(log.find(" - lvfile - open_file_on_startup file_type 2 \r\n"), std::string::npos);

  EXPECT_FALSE(open_file_on_startup(*h.st, h.io, dir.file("gone.labz")));
  ASSERT_EQ(h.win.boxes.size(), 1u);
  EXPECT_EQ(h.win.boxes[0].text, "Unable to open file.");
  EXPECT_EQ(h.win.boxes[0].caption, "open_file_on_startup()");
  EXPECT_EQ(h.st->file.file_type, FT_LABZ);
}

TEST(AntennaLoader, UnreadableFileStillRunsTheAfterLoadSteps) {
  harness h;
  h.st->view.centre_db_ix = 0;
  h.st->file.file_type = FT_NSMA99;
  read_antenna_image(*h.st, h.io, nullptr);
  EXPECT_EQ(h.st->view.centre_db_ix, 4);
  EXPECT_EQ(h.st->file.file_type, FT_NSMA99) << "no bytes, no REVNUM test";
}

// Only regular files of a sane size are read: a FIFO nobody writes to would
// block for ever, a device could be endless.
TEST(AntennaLoader, OnlyRegularFilesOfASaneSizeAreOpened) {
  test::temp_dir dir;
  const std::string fifo = dir.file("pipe.nsma"), big = dir.file("big.nsma");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
  errno = 0;
  EXPECT_EQ(open_for_reading(fifo), nullptr) << "returns at once";
  EXPECT_EQ(errno, ENODEV);
  EXPECT_EQ(open_for_reading(dir.path()), nullptr);
  EXPECT_EQ(errno, EISDIR);
  EXPECT_EQ(open_failure_text(EISDIR), "it is a folder");
  {
    std::FILE* f = std::fopen(big.c_str(), "wb");
    ASSERT_NE(f, nullptr);
    ASSERT_EQ(::ftruncate(fileno(f), MAX_INPUT_BYTES + 1), 0);
    std::fclose(f);
  }
  EXPECT_EQ(open_for_reading(big), nullptr);
  EXPECT_EQ(errno, EFBIG);
  harness h;
  EXPECT_FALSE(open_file(*h.st, h.io, fifo, "nsma"));
  EXPECT_EQ(h.win.boxes.back().text, "Unable to open antenna file.");
  EXPECT_FALSE(open_file_on_startup(*h.st, h.io, big));
}

TEST(AntennaLoader, AReadErrorIsAnErrorNotAnEmptyPattern) {
  test::temp_dir dir;
  harness h;
  h.st->file.file_type = FT_NSMA99;
  // Reading a folder as a stream fails (EISDIR) after it was opened.
  std::FILE* f = std::fopen(dir.path().c_str(), "rb");
  ASSERT_NE(f, nullptr);
  EXPECT_FALSE(read_antenna_file(*h.st, h.io, f));
  std::fclose(f);
}

TEST(AntennaLoader, ClearingKeepsOldFrequencyTextsButNotTheirCounts) {
  test::temp_dir dir;
  const std::string two = dir.file("two.nsma");
  test::write_bytes(two, k_small);
  harness h;
  ASSERT_TRUE(open_file(*h.st, h.io, two, "NSMA"));
  const std::string empty = dir.file("empty.nsma");
  test::write_bytes(empty, "REVNUM:,x\r\n");
  ASSERT_TRUE(open_file(*h.st, h.io, empty, "nsma"));
  EXPECT_EQ(h.st->pd.nofreq, 0);
  EXPECT_STREQ(h.st->pd.name, "");
  EXPECT_STREQ(h.st->pd.gunits, "DBD/DBD");
  EXPECT_STREQ(h.st->pd.pattyp, "typical");
  EXPECT_STREQ(h.st->pd.freq[0].patfre, "450");
  EXPECT_STREQ(h.st->pd.freq[0].cut[0].patcut, "H");
}

// The published ADF file, when the shared folder is beside the repository.
TEST(AntennaLoader, RealAdfFileLoadsBothCuts) {
  const std::string path = std::string(LOBE_REALDATA) + "/TQJ-8010-9011DT0_0791_CO_P45_00T.adf";
  if (!std::filesystem::exists(path)) GTEST_SKIP() << "no real data here";
  harness h;
  ASSERT_TRUE(open_file(*h.st, h.io, path, "adf"));
  EXPECT_EQ(h.st->file.file_errors, 0);
  ASSERT_EQ(h.st->pd.nofreq, 1);
  ASSERT_EQ(h.st->pd.freq[0].numcut, 2);
  for (int c = 0; c < 2; ++c) {
    EXPECT_EQ(h.cut(0, c).nupoin, 360);
    EXPECT_FLOAT_EQ(h.cut(0, c).angle[0], -179.0f);
    EXPECT_FLOAT_EQ(h.cut(0, c).angle[359], 180.0f);
    EXPECT_FLOAT_EQ(h.cut(0, c).angle[360], END_MARKER);
  }
  EXPECT_FLOAT_EQ(h.cut(0, 0).signal[0], 8.31f);
}

}  // namespace
}  // namespace lobe

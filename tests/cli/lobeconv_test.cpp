// lobeconv as a user runs it: a real process, real files.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <algorithm>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <string>

#include "support/test_support.h"

namespace lobe {
namespace {

struct run_result {
  int status;
  std::string out;
  std::string err;
};

std::string quote(const std::string& s) {
  std::string q = "'";
  for (char c : s) q += (c == '\'') ? std::string("'\\''") : std::string(1, c);
  return q + "'";
}

run_result lobeconv(const std::string& args) {
  test::temp_dir dir;
  const std::string out = dir.file("out"), err = dir.file("err");
  const std::string cmd = quote(LOBECONV_PATH) + " " + args + " >" + quote(out) + " 2>" + quote(err);
  const int raw = std::system(cmd.c_str());
  return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, test::read_bytes(out), test::read_bytes(err)};
}

std::string data(const std::string& rel) { return quote(test::data_path(rel)); }

TEST(Lobeconv, DumpPrintsExactlyTheDocumentedKeys) {
  const run_result r = lobeconv("dump " + data("nsma/fstlst_three_values.labz"));
  ASSERT_EQ(r.status, 0) << r.err;
  const auto j = nlohmann::ordered_json::parse(r.out);
  std::vector<std::string> keys;
  for (const auto& [k, v] : j.items()) keys.push_back(k);
  EXPECT_EQ(keys, (std::vector<std::string>{"file_type", "ant_file_type", "file_errors", "status_error", "load_notices", "all_emax",
                                            "envelope_disp_requested", "display_type", "header", "nofreq", "freq"}));
  EXPECT_EQ(j["file_type"], 6);
  EXPECT_EQ(j["all_emax"], 812.5);
  EXPECT_EQ(j["header"].size(), 33u);
  EXPECT_EQ(j["header"]["gunits"], "DBD/DBD");
  const auto& cut = j["freq"][0]["cut"][0];
  std::vector<std::string> cut_keys;
  for (const auto& [k, v] : cut.items()) cut_keys.push_back(k);
  EXPECT_EQ(cut_keys, (std::vector<std::string>{"patcut", "polari", "nupoin", "fstlst", "emax", "sweep_completed",
                                                "hide", "angle", "signal", "half_power", "next_angle"}));
  EXPECT_EQ(cut["signal"], nlohmann::json({0.0, 0.5, 1.25}));
  EXPECT_EQ(cut["next_angle"], 1024.0);
  EXPECT_EQ(cut["sweep_completed"], 1);
}

TEST(Lobeconv, DumpShowsTheLoadErrorOfNsmaFiles) {
  const run_result r = lobeconv("dump " + data("nsma/both_errors.nsma"));
  ASSERT_EQ(r.status, 0) << r.err;
  const auto j = nlohmann::json::parse(r.out);
  EXPECT_EQ(j["status_error"], "Bad file param - NOFREQ! FSTLST!");
  EXPECT_EQ(j["file_errors"], 3);
}

TEST(Lobeconv, ConvertRoundTripsBetweenNsmaAndLabz) {
  test::temp_dir dir;
  const std::string labz = dir.file("copy.labz"), nsma = dir.file("copy.nsma");
  ASSERT_EQ(lobeconv("convert " + data("nsma/golden_small.labz") + " " + quote(labz)).status, 0);
  EXPECT_EQ(test::read_bytes(labz), test::read_bytes(test::data_path("nsma/golden_small.labz")).replace(
                                        test::read_bytes(test::data_path("nsma/golden_small.labz")).find("KWRENV"),
                                        17, ""))
      << "no envelope library, so no KWRENV line";
  ASSERT_EQ(lobeconv("convert " + quote(labz) + " " + quote(nsma)).status, 0);
  EXPECT_EQ(test::read_bytes(nsma), test::read_bytes(test::data_path("nsma/golden_small.nsma")));
}

TEST(Lobeconv, FailuresSayOneLineAndLeaveNoOutput) {
  test::temp_dir dir;
  const std::string out = dir.file("out.nsma");

  run_result r = lobeconv("convert " + quote(dir.file("missing.nsma")) + " " + quote(out));
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
  EXPECT_NE(r.err.find("missing.nsma"), std::string::npos);

  r = lobeconv("convert " + data("nsma/nofreq_missing.nsma") + " " + quote(out));
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("Nothing to save."), std::string::npos);

  r = lobeconv("convert " + data("nsma/golden_small.nsma") + " " + quote(dir.file("no/folder/out.nsma")));
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("Unable to open antenna file."), std::string::npos);

  r = lobeconv("convert " + data("nsma/golden_small.nsma") + " " + quote(out) + " --ant-version 4");
  EXPECT_EQ(r.status, 2);
  r = lobeconv("convert " + data("nsma/golden_small.nsma") + " " + quote(out) + " --nec-columns 0,2");
  EXPECT_EQ(r.status, 2);
  r = lobeconv("convert " + data("nsma/golden_small.nsma"));
  EXPECT_EQ(r.status, 2);
  r = lobeconv("frobnicate x");
  EXPECT_EQ(r.status, 2);
  r = lobeconv("");
  EXPECT_EQ(r.status, 2);

  EXPECT_FALSE(std::filesystem::exists(out));
  std::size_t left = 0;
  for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir.path())) ++left;
  EXPECT_EQ(left, 0u) << "no temporary files either";
}

TEST(Lobeconv, FailedConversionKeepsAnExistingOutput) {
  test::temp_dir dir;
  const std::string out = dir.file("keep.nsma");
  test::write_bytes(out, "precious");
  EXPECT_EQ(lobeconv("convert " + data("nsma/nofreq_missing.nsma") + " " + quote(out)).status, 1);
  EXPECT_EQ(test::read_bytes(out), "precious");
}

TEST(Lobeconv, HelpDocumentsEveryCommandAndOption) {
  const run_result r = lobeconv("--help");
  EXPECT_EQ(r.status, 0);
  for (const char* word :
       {"dump FILE", "convert IN OUT", "envelopes FILE", "help FILE", "--ant-version", "--nec-columns", "--log-dir"})
    EXPECT_NE(r.out.find(word), std::string::npos) << word;
}

TEST(Lobeconv, LogDirGetsTheRunLog) {
  test::temp_dir dir;
  ASSERT_EQ(lobeconv("dump " + data("nsma/fstlst_three_values.labz") + " --log-dir " + quote(dir.path())).status, 0);
  EXPECT_NE(test::read_bytes(dir.file("lobeview_log.txt")).find("new_nsma_data - File contains: Emax 812.500000"),
            std::string::npos);
}

TEST(Lobeconv, EnvelopesAndHelpAsJson) {
  run_result r = lobeconv("envelopes " + data("envelopes/class_a.csv"));
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(nlohmann::json::parse(r.out),
            nlohmann::json::parse(R"({"numenv":1,"env":[{"title":"Class A","nupoin":2,"rows":[[0,10,3],[10,180,20]]}]})"));
  r = lobeconv("help " + data("help/sections.txt"));
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(nlohmann::json::parse(r.out),
            nlohmann::json::parse(R"({"files":"\r\nA\r\nB","views":"","testrange":"\r\nC"})"));
  EXPECT_EQ(lobeconv("envelopes " + data("envelopes/none.csv")).status, 1);
}

TEST(Lobeconv, FourNecColumnsAntVersionAndPlanetNotice) {
  test::temp_dir dir;
  const std::string ant = dir.file("cut.ant");
  run_result r = lobeconv("convert " + data("4nec/four_columns.txt") + " " + quote(ant) + " --nec-columns 3,4");
  ASSERT_EQ(r.status, 0) << r.err;
  // One vertical cut and no horizontal one: nothing in V3's horizontal block, 360 vertical lines.
  std::size_t lines = 0;
  for (char c : test::read_bytes(ant)) lines += c == '\n';
  EXPECT_EQ(lines, 360u) << "the default version is 3";
  r = lobeconv("dump " + data("4nec/signals.txt"));
  ASSERT_EQ(r.status, 0) << r.err;
  const auto j = nlohmann::json::parse(r.out);
  EXPECT_EQ(j["nofreq"], 1);
  EXPECT_EQ(j["freq"][0]["numcut"], 1);

  const std::string pla = dir.file("out.pla");
  r = lobeconv("convert " + data("convert/src.nsma") + " " + quote(pla));
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.err.find("The Planet file format can only save one Horizontal and one Vertical cut."), std::string::npos);
  r = lobeconv("convert " + data("convert/src.nsma") + " " + quote(dir.file("v1.ant")) + " --ant-version 1");
  ASSERT_EQ(r.status, 0) << r.err;
  lines = 0;
  for (char c : test::read_bytes(dir.file("v1.ant"))) lines += c == '\n';
  EXPECT_EQ(lines, 360u);
}

// Width and height from a PNG's header.
std::pair<int, int> png_size(const std::string& bytes) {
  if (bytes.size() < 24 || bytes.compare(1, 3, "PNG") != 0) return {0, 0};
  auto be32 = [&](std::size_t at) {
    return (static_cast<unsigned char>(bytes[at]) << 24) | (static_cast<unsigned char>(bytes[at + 1]) << 16) |
           (static_cast<unsigned char>(bytes[at + 2]) << 8) | static_cast<unsigned char>(bytes[at + 3]);
  };
  return {be32(16), be32(20)};
}

TEST(Lobeconv, RenderWritesEachFormat) {
  test::temp_dir dir;
  run_result r = lobeconv("render " + data("convert/src.nsma") + " " + quote(dir.file("polar.png")) + " --size 640x480");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(png_size(test::read_bytes(dir.file("polar.png"))), std::make_pair(640, 480));
  r = lobeconv("render " + data("convert/src.nsma") + " " + quote(dir.file("rect.svg")) + " --view rect --grid log");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_NE(test::read_bytes(dir.file("rect.svg")).find("<svg"), std::string::npos);
  r = lobeconv("render " + data("convert/src.nsma") + " " + quote(dir.file("page.pdf")) + " --print landscape");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(test::read_bytes(dir.file("page.pdf")).rfind("%PDF", 0), 0u);
}

TEST(Lobeconv, RenderProblems) {
  test::temp_dir dir;
  run_result r = lobeconv("render " + data("convert/src.nsma") + " " + quote(dir.file("x.jpg")));
  EXPECT_EQ(r.status, 2);
  r = lobeconv("render " + data("convert/src.nsma") + " " + quote(dir.file("x.png")) + " --zoom 6");
  EXPECT_EQ(r.status, 2);
  r = lobeconv("render " + data("convert/src.nsma") + " " + quote(dir.file("x.png")) + " --envelopes " +
               data("envelopes/class_a.csv") + " --envelope Nope");
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("Nope"), std::string::npos);
  r = lobeconv("render " + data("convert/src.pla") + " " + quote(dir.file("emr.png")) + " --view emr");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.err, "") << "src.pla has a vertical cut at 450 MHz";
  r = lobeconv("render " + data("convert/src.txt") + " " + quote(dir.file("emr.png")) + " --view emr");
  EXPECT_EQ(r.status, 0);
  EXPECT_NE(r.err.find("Select a vertical (V or EL) cut to display the EMR chart"), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(dir.file("x.png")));
}

}  // namespace
}  // namespace lobe

namespace lobe {
namespace {

TEST(Lobeconv, LfOnlyFilesAreToldAboutAndReadWithLf) {
  test::temp_dir dir;
  std::string bytes = test::read_bytes(test::data_path("convert/src.pla"));
  bytes.erase(std::remove(bytes.begin(), bytes.end(), '\r'), bytes.end());
  const std::string lf = dir.file("lf.pla"), out = dir.file("out.nsma");
  test::write_bytes(lf, bytes);

  // dump still prints what was read (nothing) and exits 0, but says why.
  run_result r = lobeconv("dump " + quote(lf));
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(nlohmann::json::parse(r.out)["nofreq"], 0);
  EXPECT_NE(r.err.find("LF alone"), std::string::npos) << r.err;
  EXPECT_NE(r.err.find("--lf"), std::string::npos);
  // convert fails and leaves nothing behind.
  r = lobeconv("convert " + quote(lf) + " " + quote(out));
  EXPECT_EQ(r.status, 1);
  EXPECT_FALSE(std::filesystem::exists(out));
  // --lf before or after the arguments reads it as its CR LF twin.
  for (const std::string& args : {"--lf convert " + quote(lf) + " " + quote(out), "convert " + quote(lf) + " " + quote(out) + " --lf"}) {
    r = lobeconv(args);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(r.err.empty()) << r.err;
    const run_result twin = lobeconv("dump " + data("convert/src.pla"));
    const run_result mine = lobeconv("dump --lf " + quote(lf));
    EXPECT_TRUE(nlohmann::json::parse(twin.out)["freq"] == nlohmann::json::parse(mine.out)["freq"]);
  }
}

TEST(Lobeconv, LongCutsAreReportedOrResampled) {
  test::temp_dir dir;
  std::string file = "NAME LONG\r\nFREQUENCY 763\r\nGAIN 18.5 dBi\r\nVERTICAL 400\r\n";
  for (int i = 0; i < 400; ++i) file += std::to_string(i * 0.9) + " " + std::to_string((i % 20) * 0.5) + "\r\n";
  const std::string in = dir.file("long.msi");
  test::write_bytes(in, file);
  run_result r = lobeconv("dump " + quote(in));
  EXPECT_EQ(r.status, 0);
  EXPECT_NE(r.err.find("38 of its 400 points were dropped"), std::string::npos) << r.err;
  EXPECT_EQ(nlohmann::json::parse(r.out)["load_notices"].size(), 1u);
  r = lobeconv("dump --resample " + quote(in));
  EXPECT_EQ(r.status, 0);
  EXPECT_NE(r.err.find("400 points resampled to 360"), std::string::npos) << r.err;
  const auto cut = nlohmann::json::parse(r.out)["freq"][0]["cut"][0];
  EXPECT_EQ(cut["nupoin"], 360);
  EXPECT_EQ(cut["angle"][359], 359.0);
}

}  // namespace
}  // namespace lobe

namespace lobe {
namespace {

TEST(Lobeconv, InputsThatAreNoPatternFileAreRefusedWithTheReason) {
  test::temp_dir dir;
  run_result r = lobeconv("dump " + quote(dir.path()));
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("it is a folder"), std::string::npos) << r.err;
  const std::string fifo = dir.file("pipe.nsma");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
  // Bounded: a reader that waited on the FIFO would be cut off by timeout (124).
  const int raw = std::system(("timeout 10 " + quote(LOBECONV_PATH) + " dump " + quote(fifo) + " >/dev/null 2>" +
                               quote(dir.file("err")))
                                  .c_str());
  EXPECT_EQ(WEXITSTATUS(raw), 1) << "refused at once, not cut off after waiting";
  EXPECT_NE(test::read_bytes(dir.file("err")).find("not a regular file"), std::string::npos);
  const std::string big = dir.file("big.nsma");
  ASSERT_EQ(std::system(("truncate -s 65M " + quote(big)).c_str()), 0);
  r = lobeconv("convert " + quote(big) + " " + quote(dir.file("out.nsma")));
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("larger than the 64 MB"), std::string::npos) << r.err;
  // "--" ends the options: a name may start with a dash.
  const std::string dashed = dir.file("-odd.nsma");
  test::write_bytes(dashed, test::read_bytes(test::data_path("convert/src.nsma")));
  r = lobeconv("dump -- " + quote(dashed));
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(nlohmann::json::parse(r.out)["nofreq"], 2);
}

TEST(Lobeconv, BatchNamesThatCollideAreRefusedAndNamed) {
  test::temp_dir dir;
  const std::string out = dir.file("out");
  std::filesystem::create_directory(out);
  const run_result r = lobeconv("convert " + data("convert/src.nsma") + " " + data("convert/src.pla") + " " +
                                data("convert/src.ant") + " " + quote(out) + " --to labz");
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("would all be written to"), std::string::npos) << r.err;
  EXPECT_NE(r.err.find("src.pla"), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(out + "/src.labz")) << "neither replaces the other";
}

TEST(Lobeconv, RenderGoesThroughTheSameSafeReplace) {
  test::temp_dir dir;
  for (const char* ext : {"svg", "pdf", "png"}) {
    const std::string out = dir.file(std::string("chart.") + ext);
    test::write_bytes(out, "the old picture");
    // A disk that fills up: the file size limit makes every write past a few KB fail.
    const std::string cmd = "ulimit -f 4; " + quote(LOBECONV_PATH) + " render " + data("convert/src.nsma") + " " +
                            quote(out) + " --print portrait >/dev/null 2>" + quote(dir.file("err"));
    const int raw = std::system(("sh -c " + quote(cmd)).c_str());
    EXPECT_NE(WEXITSTATUS(raw), 0) << ext << ": a cut-off picture is a failure";
    EXPECT_EQ(test::read_bytes(out), "the old picture") << ext << ": the old file is kept";
    EXPECT_NE(test::read_bytes(dir.file("err")).find("cannot write"), std::string::npos) << ext;
    std::size_t temps = 0;
    for (const auto& e : std::filesystem::directory_iterator(dir.path()))
      temps += e.path().filename().string().find(".lobeview-") != std::string::npos;
    EXPECT_EQ(temps, 0u) << "no temporary file is left";
  }
  const run_result big = lobeconv("render " + data("convert/src.nsma") + " " + quote(dir.file("x.png")) + " --size 20000x20000");
  EXPECT_EQ(big.status, 2);
  EXPECT_NE(big.err.find("25 million"), std::string::npos);
}

}  // namespace
}  // namespace lobe

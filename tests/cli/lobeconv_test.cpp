// lobeconv as a user runs it: a real process, real files.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <thread>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <random>
#include <string>

#include "core/formats/format_table.h"
#include "core/io/file_sink.h"
#include "core/text/c_numeric.h"
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

// Runs `shell_prefix lobeconv args` in sh, bounded so that a hang fails (124).
run_result lobeconv(const std::string& args, const std::string& shell_prefix = "") {
  test::temp_dir dir;
  const std::string out = dir.file("out"), err = dir.file("err");
  const std::string cmd =
      shell_prefix + "timeout 20 " + quote(LOBECONV_PATH) + " " + args + " >" + quote(out) + " 2>" + quote(err);
  const int raw = std::system(("sh -c " + quote(cmd)).c_str());
  return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, test::read_bytes(out), test::read_bytes(err)};
}

std::string data(const std::string& rel) { return quote(test::data_path(rel)); }
using test::files_in;

// Every failure: its exit status, one line naming the reason, and no output file.
TEST(Lobeconv, FailuresSayWhyAndLeaveNothingBehind) {
  test::temp_dir dir;
  const std::string out = quote(dir.file("out.nsma")), good = data("nsma/golden_small.nsma");
  const std::string fifo = dir.file("pipe.nsma"), big = dir.file("big.nsma");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
  ASSERT_EQ(std::system(("truncate -s 65M " + quote(big)).c_str()), 0);
  const struct {
    std::string args;
    int status;
    std::string says;
    const char* shell_prefix = "";
  } rows[] = {
      {"convert " + quote(dir.file("missing.nsma")) + " " + out, 1, "missing.nsma"},
      {"convert " + data("nsma/nofreq_missing.nsma") + " " + out, 1, "Nothing to save."},
      {"convert " + good + " " + quote(dir.file("no/folder/out.nsma")), 1,
       "Unable to open antenna file. No such file or directory"},
      {"pattern3d " + data("../../data/samples/panel.nsma") + " " + quote(dir.file("o.csv")), 1,
       "cannot write " + dir.file("o.csv") + ": File too large", "ulimit -f 4; "},
      {"dump " + quote(dir.path()), 1, "it is a folder"},
      {"dump " + quote(fifo), 1, "not a regular file"},  // refused at once, not after waiting
      {"convert " + quote(big) + " " + out, 1, "larger than the 64 MB"},
      {"convert " + good + " " + out + " --ant-version 4", 2, ""},
      {"convert " + good + " " + out + " --nec-columns 0,2", 2, ""},
      {"convert " + good, 2, ""},
      {"frobnicate x", 2, ""},
      {"", 2, ""},
      {"envelopes " + data("envelopes/none.csv"), 1, ""},
      {"exposure " + data("nsma/golden_small.nsma"), 1, "not a JSON object"},
      {"exposure " + data("sites/wrong_types.json"), 1, "not a site file"},
      {"pattern3d " + data("../../data/samples/panel.nsma") + " " + quote(dir.file("g.csv")) + " --step 0.7", 2, "divide 180"},
      {"render " + good + " " + quote(dir.file("x.jpg")), 2, ".jpg"},
      {"render " + good + " " + quote(dir.file("x.png")) + " --zoom 6", 2, ""},
      {"render " + good + " " + quote(dir.file("x.png")) + " --size 20000x20000", 2, "25 million"},
      {"render " + good + " " + quote(dir.file("x.png")) + " --envelopes " + data("envelopes/class_a.csv") +
           " --envelope Nope",
       1, "Nope"},
  };
  for (const auto& row : rows) {
    const run_result r = lobeconv(row.args, row.shell_prefix);
    EXPECT_EQ(r.status, row.status) << row.args << "\n" << r.err;
    EXPECT_NE(r.err.find(row.says), std::string::npos) << row.args << "\n" << r.err;
    if (row.status == 1) {
      EXPECT_EQ(test::lines_in(r.err), 1u) << r.err;
    }
  }
  EXPECT_EQ(files_in(dir.path()), 2u) << "only the FIFO and the big file: no output, no temporary file";

  const std::string keep = dir.file("keep.nsma");
  test::write_bytes(keep, "precious");
  EXPECT_EQ(lobeconv("convert " + data("nsma/nofreq_missing.nsma") + " " + quote(keep)).status, 1);
  EXPECT_EQ(test::read_bytes(keep), "precious");
}

TEST(Lobeconv, HelpLogDirEnvelopesAndHelpFiles) {
  test::temp_dir dir;
  // --help lists every format of the format table, with what it holds.
  const std::string help = lobeconv("--help").out;
  for (const pattern_format& f : pattern_formats())
    if (f.extension) {
      EXPECT_NE(help.find(c_format("  .%-5s %s (", f.extension, f.name)), std::string::npos) << f.name;
      EXPECT_NE(help.find(f.carries), std::string::npos) << f.name;
    }
  ASSERT_EQ(lobeconv("dump " + data("nsma/fstlst_three_values.labz") + " --log-dir " + quote(dir.path())).status, 0);
  EXPECT_NE(test::read_bytes(dir.file("lobeview_log.txt")).find("new_nsma_data - File contains: Emax 812.500000"),
            std::string::npos);
  EXPECT_EQ(nlohmann::json::parse(lobeconv("envelopes " + data("envelopes/class_a.csv")).out)["numenv"], 1);
  EXPECT_EQ(nlohmann::json::parse(lobeconv("help " + data("help/sections.txt")).out)["testrange"], "\r\nC");
  // "--" ends the options: a name may start with a dash.
  const std::string dashed = dir.file("-odd.nsma");
  test::write_bytes(dashed, test::read_bytes(test::data_path("convert/src.nsma")));
  const run_result r = lobeconv("dump -- " + quote(dashed));
  EXPECT_EQ(nlohmann::json::parse(r.out)["nofreq"], 2) << r.err;
}

// analyse on every sample and published file: a row per cut with the
// documented keys; lint: one line per finding, status 1 when one is an error.
TEST(Lobeconv, AnalyseAndLintEveryBundledAndPublishedFile) {
  const std::vector<std::string> files = test::pattern_files_in({LOBE_SAMPLES, LOBE_REALDATA});
  ASSERT_GE(files.size(), 9u);
  for (const std::string& f : files) {
    const run_result r = lobeconv("analyse --json --lf --resample " + quote(f));
    ASSERT_EQ(r.status, 0) << f << r.err;
    const auto j = nlohmann::json::parse(r.out);
    ASSERT_FALSE(j["cuts"].empty()) << f;
    for (const char* key : {"freq", "cut", "patfre", "patcut", "polari", "peak_angle", "peak_db", "hpbw", "hpbw_angles",
                            "bw10", "front_to_back", "first_sidelobe_db"})
      EXPECT_TRUE(j["cuts"][0].contains(key)) << f << " " << key;
    EXPECT_EQ(lobeconv("analyse " + quote(f) + " --lf --resample").status, 0) << f;
  }
  const auto panel = nlohmann::json::parse(lobeconv("analyse --json " + data("../../data/samples/panel.pla")).out);
  EXPECT_NEAR(panel["cuts"][0]["hpbw"].get<double>(), 65.3, 0.1);
  EXPECT_TRUE(nlohmann::json::parse(lobeconv("analyse --json " + data("../../data/samples/dipole.nsma")).out)["cuts"][0]["hpbw"]
                  .is_null())
      << "an omnidirectional cut has no beamwidth";
  run_result r = lobeconv("lint " + data("../../data/samples/dipole.nsma") + " " + data("nsma/long_cut.nsma"));
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(test::lines_in(r.out), 1u) << r.out;
  EXPECT_EQ(r.out.rfind(test::data_path("nsma/long_cut.nsma") + ": error: Cut 1 (V) of 900 MHz: 358 of its 720", 0), 0u) << r.out;
  r = lobeconv("lint " + data("../../data/samples/yagi.nsma"));
  EXPECT_EQ(r.status, 0) << "header disagreements are warnings";
  EXPECT_NE(r.out.find(": warning: AZWIDT says 66, the cuts give 63.7 degrees\n"), std::string::npos) << r.out;
}

// The bundled example site's exposure, with its pictures.
TEST(Lobeconv, ExposureOfTheExampleSite) {
  test::temp_dir dir;
  const std::string site = data("../../data/example_site.json");
  // Numbers on the command line have a decimal point in any locale (German here, where installed).
  run_result r = lobeconv("exposure " + site + " --at 0,0,0.5 --standard fcc-public", "LC_ALL=de_DE.UTF-8 ");
  ASSERT_EQ(r.status, 0) << r.err;
  const auto j = nlohmann::json::parse(r.out);
  EXPECT_EQ(j["standard"], "fcc-public");
  ASSERT_EQ(j["antennas"].size(), 3u);
  EXPECT_NEAR(j["antennas"][0]["limit_w_m2"].get<double>(), 10.0, 1e-9);
  EXPECT_GT(j["antennas"][0]["boundary_m"]["front"].get<double>(), j["antennas"][0]["boundary_m"]["back"].get<double>());
  EXPECT_LT(j["ter"].get<double>(), 1.0) << "the foot of the mast";
  for (const char* view : {"top", "side"}) {
    r = lobeconv("exposure " + site + " --render " + quote(dir.file(std::string(view) + ".png")) + " --view " + view);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_GT(test::read_bytes(dir.file(std::string(view) + ".png")).size(), 1000u);
  }
  EXPECT_EQ(lobeconv("exposure " + site + " --standard who").status, 2);
}

// A site file nobody could build is refused, naming the field and why;
// what a real site can be gives answers, never a search limit as a distance.
TEST(Lobeconv, ExposureRefusesSitesThatCannotBeAndSaysWhy) {
  test::temp_dir dir;
  const std::string panel = test::data_path("../../data/samples/panel.nsma");
  test::write_bytes(dir.file("panel.nsma"), test::read_bytes(panel));
  test::write_bytes(dir.file("lf.nsma"), [&] {
    std::string t = test::read_bytes(panel);
    t.erase(std::remove(t.begin(), t.end(), '\r'), t.end());
    return t;
  }());
  ASSERT_EQ(::mkfifo(dir.file("fifo.nsma").c_str(), 0644), 0);
  auto site = [](const std::string& antenna) {
    return R"({"antennas": [{"frequency_mhz": 900, "power_w": 40, "gain_dbi": 15, )" + antenna + "}]}";
  };
  const struct {
    std::string json;
    const char* says;
  } rows[] = {
      {site(R"("x": 0)").replace(site("").find("40"), 2, "-40"), "antenna 1: \"power_w\" must be above 0 W"},
      {site(R"("loss_db": -100)"), "antenna 1: \"loss_db\" must be from 0 to 100 dB"},
      {site(R"("x": 0, "x": 5)"), "\"x\" is given twice"},
      {site(R"("y": 1e400)"), "not a JSON object"},
      {site(R"("height": 200000)"), "\"height\" must be within 100 km"},
      {site(R"("downtilt": 91)"), "\"downtilt\" must be from -90 to 90"},
      {site(R"("x": "5")"), "\"x\" is no number"},
      {site(R"("pattern": "missing.nsma")"), "missing.nsma: No such file"},
      {site(R"("pattern": "fifo.nsma")"), "not a regular file"},
      {site(R"("pattern": ".")"), "folder"},
      {site(R"("pattern": "lf.nsma")"), "LF"},
      {R"({"antennas": [{"frequency_mhz": 900, "power_w": 40, "gain_dbi": 400}]})", "\"gain_dbi\" must be from -50 to 60 dBi"},
      {R"({"antennas": [{"frequency_mhz": 900, "power_w": 1e308, "gain_dbi": 10}]})", "\"power_w\" must be above 0 W and at most 1e9 W"},
      {R"({"standard": "icnirp2020-public", "antennas": [{"frequency_mhz": 30, "power_w": 1, "gain_dbi": 0}]})", "30 MHz is outside"},
      {[] {
         std::string many = R"({"antennas": [)";
         for (int i = 0; i < 2001; ++i) many += std::string(i ? "," : "") + R"({"frequency_mhz": 900, "power_w": 1, "gain_dbi": 0})";
         return many + "]}";
       }(),
       "2001 antennas: a site holds at most 2000"},
  };
  for (const auto& row : rows) {
    test::write_bytes(dir.file("site.json"), row.json);
    const run_result r = lobeconv("exposure " + quote(dir.file("site.json")));
    EXPECT_EQ(r.status, 1) << row.json << "\n" << r.out;
    EXPECT_NE(r.err.find(row.says), std::string::npos) << row.json << "\n" << r.err;
    EXPECT_EQ(r.out, "") << row.json;
  }
  // The read options reach the site's pattern files.
  test::write_bytes(dir.file("site.json"), site(R"("pattern": "lf.nsma")"));
  EXPECT_EQ(lobeconv("exposure " + quote(dir.file("site.json")) + " --lf").status, 0);
  EXPECT_EQ(lobeconv("exposure " + quote(dir.file("site.json")) + " --at nan,0,1.5").status, 2);
  // A standard given on the command line is checked against every antenna's band too.
  test::write_bytes(dir.file("low.json"),
                    R"({"standard": "fcc-public", "antennas": [{"frequency_mhz": 10, "power_w": 1, "gain_dbi": 0}]})");
  run_result low = lobeconv("exposure " + quote(dir.file("low.json")) + " --standard icnirp2020-public");
  EXPECT_EQ(low.status, 1);
  EXPECT_NE(low.err.find("10 MHz is outside the limits of icnirp2020-public"), std::string::npos) << low.err;
  EXPECT_EQ(lobeconv("exposure " + quote(dir.file("site.json")) + " --at 1e6,0,1.5").status, 2);
  // A boundary past the search limit says so.
  test::write_bytes(dir.file("site.json"),
                    R"({"antennas": [{"frequency_mhz": 900, "power_w": 1e9, "gain_dbi": 60}]})");
  const run_result r = lobeconv("exposure " + quote(dir.file("site.json")));
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(nlohmann::json::parse(r.out)["antennas"][0]["boundary_m"]["front"], nlohmann::json({{"beyond_m", 10000.0}}))
      << r.out;
}

// No command writes over one of its own inputs, through a name, a link or a
// hard link: each is refused before anything is written, naming both.
TEST(Lobeconv, CommandsNeverWriteOverTheirOwnInput) {
  test::temp_dir dir;
  const std::string in = dir.file("in"), out = dir.file("out");
  std::filesystem::create_directories(in);
  std::filesystem::create_directories(out);
  const std::string a = in + "/a.nsma", b = in + "/b.pla";
  test::write_bytes(a, test::read_bytes(test::data_path("convert/src.nsma")));
  test::write_bytes(b, test::read_bytes(test::data_path("convert/src.pla")));
  const std::string a_bytes = test::read_bytes(a);
  ASSERT_EQ(::link(a.c_str(), dir.file("hard.nsma").c_str()), 0);
  ASSERT_EQ(::symlink(a.c_str(), (out + "/b.nsma").c_str()), 0);  // the batch's output for b is input a
  ASSERT_EQ(::symlink(a.c_str(), dir.file("picture.png").c_str()), 0);
  const struct {
    std::string args;
    std::string over;
  } rows[] = {
      {"pattern3d " + quote(a) + " " + quote(a), a},
      {"convert " + quote(a) + " " + quote(dir.file("hard.nsma")), a},
      {"convert " + quote(a) + " " + quote(in) + " --to nsma", a},
      {"convert " + quote(a) + " " + quote(b) + " " + quote(out) + " --to nsma", a},
      {"render " + quote(a) + " " + quote(dir.file("picture.png")), a},
  };
  for (const auto& row : rows) {
    const run_result r = lobeconv(row.args);
    EXPECT_EQ(r.status, 1) << row.args;
    EXPECT_NE(r.err.find("it is the same file as the input " + row.over), std::string::npos) << row.args << "\n" << r.err;
    EXPECT_EQ(test::read_bytes(a), a_bytes) << row.args;
  }
  EXPECT_FALSE(std::filesystem::exists(out + "/a.nsma")) << "nothing of the refused batch was written";
  // convert writes pattern files; a picture's name is pointed to render.
  for (const std::string& args : {"convert " + quote(a) + " " + quote(dir.file("x.PNG")),
                                  "convert " + quote(a) + " " + quote(out) + " --to svg"}) {
    const run_result r = lobeconv(args);
    EXPECT_EQ(r.status, 2) << args;
    EXPECT_NE(r.err.find("use lobeconv render"), std::string::npos) << r.err;
  }
  EXPECT_FALSE(std::filesystem::exists(dir.file("x.PNG")));
}

// Lines that are no point are no points: counts written match points
// written, no marker reaches a file, and no pattern is made of nothing.
TEST(Lobeconv, LinesThatAreNoPointsAreNoPointsOfTheCut) {
  test::temp_dir dir;
  std::string pla = "NAME nan\r\nFREQUENCY 900\r\nHORIZONTAL 360\r\n";
  for (int i = 0; i < 360; ++i) pla += "nan nan\r\n";
  pla += "VERTICAL 3\r\n0 0\r\nnan 1\r\n2 nan\r\n";
  test::write_bytes(dir.file("nan.pla"), pla);
  ASSERT_EQ(lobeconv("convert " + quote(dir.file("nan.pla")) + " " + quote(dir.file("nan.nsma"))).status, 0);
  const std::string nsma = test::read_bytes(dir.file("nan.nsma"));
  EXPECT_NE(nsma.find("NUPOIN:,0\r\nFSTLST:,0.000,0.000\r\nPATCUT:,V"), std::string::npos) << nsma;
  EXPECT_NE(nsma.find("NUPOIN:,1\r\nFSTLST:,0.000,0.000\r\n0.000,-0.000,\r\nENDFIL"), std::string::npos) << nsma;
  EXPECT_EQ(nsma.find("1024"), std::string::npos);
  const run_result r = lobeconv("pattern3d " + quote(dir.file("nan.pla")) + " " + quote(dir.file("3d.csv")));
  EXPECT_EQ(r.status, 1) << "no isotropic pattern from no points";
  // lint calls a file that gives no pattern an error, and says why.
  const std::vector<std::pair<std::string, std::string>> files = {
      {"", "the file is empty"},
      {"hello", "no point of any cut was read"},
      {std::string(1000, '\0'), "NUL bytes"},
      {std::string("\xff\xfeR\0E\0V\0N\0U\0M\0:\0", 16), "UTF-16"},
      {test::read_bytes(LOBECONV_PATH), "it is a program"}};
  for (const auto& [bytes, why] : files) {
    test::write_bytes(dir.file("odd.nsma"), bytes);
    const run_result lint = lobeconv("lint " + quote(dir.file("odd.nsma")));
    EXPECT_EQ(lint.status, 1) << why;
    EXPECT_NE(lint.out.find(": error: it holds no pattern: "), std::string::npos) << lint.out;
    EXPECT_NE(lint.out.find(why), std::string::npos) << lint.out;
  }
}

// The 3D grid is counted in whole steps: 0.2 degrees reaches 90 and 179.8.
TEST(Lobeconv, Pattern3dStepsCountTheGridInWholeNumbers) {
  test::temp_dir dir;
  const std::string csv = dir.file("g.csv");
  ASSERT_EQ(lobeconv("pattern3d " + data("../../data/samples/panel.nsma") + " " + quote(csv) + " --step 0.2").status, 0);
  const std::string rows = test::read_bytes(csv);
  EXPECT_EQ(test::lines_in(rows), 1u + 1800u * 901u);
  EXPECT_EQ(rows.substr(rows.rfind('\n', rows.size() - 2) + 1).rfind("179.8,90,", 0), 0u);
}

// A batch killed at any moment leaves no temporary or spare file behind.
TEST(Lobeconv, KilledBatchesLeaveNoTemporaryFile) {
  test::temp_dir dir;
  const std::string in = dir.file("in"), out = dir.file("out");
  std::filesystem::create_directories(in);
  std::filesystem::create_directories(out);
  const std::string src = test::read_bytes(test::data_path("convert/src.nsma"));
  std::vector<std::string> args = {"lobeconv", "convert"};
  for (int i = 0; i < 400; ++i) {
    const std::string f = in + "/p" + std::to_string(i) + ".nsma";
    test::write_bytes(f, src);
    args.push_back(f);
  }
  args.insert(args.end(), {out, "--to", "labz"});
  ASSERT_EQ(lobeconv("convert " + quote(in + "/p0.nsma") + " " + quote(out) + " --to labz").status, 0);
  std::mt19937 random(7);
  for (int run = 0; run < 16; ++run) {
    const pid_t pid = ::fork();
    if (pid == 0) {
      std::vector<char*> argv;
      for (std::string& a : args) argv.push_back(a.data());
      argv.push_back(nullptr);
      const int devnull = ::open("/dev/null", O_WRONLY);
      ::dup2(devnull, 1);
      ::dup2(devnull, 2);
      ::execv(LOBECONV_PATH, argv.data());
      ::_exit(127);
    }
    ASSERT_GT(pid, 0);
    std::this_thread::sleep_for(std::chrono::microseconds(2000 + random() % 60000));
    ::kill(pid, SIGTERM);
    int status = 0;
    ::waitpid(pid, &status, 0);
    for (const auto& e : std::filesystem::directory_iterator(out)) {
      long owner = 0;
      EXPECT_FALSE(is_temp_file_name(e.path().filename().string(), owner)) << "run " << run << ": " << e.path();
    }
  }
}

// Only render draws, and only lobeconv-render, which lobeconv hands it to, loads Qt.
TEST(Lobeconv, RenderWritesEachFormatThroughTheSafeReplace) {
  std::FILE* ldd = ::popen(("ldd " + quote(LOBECONV_PATH) + " | grep -c libQt").c_str(), "r");
  char qt_libraries[16] = {};
  ASSERT_NE(std::fgets(qt_libraries, sizeof qt_libraries, ldd), nullptr);
  ::pclose(ldd);
  EXPECT_STREQ(qt_libraries, "0\n") << "lobeconv itself";
  test::temp_dir dir;
  const std::string src = data("convert/src.nsma");
  run_result r = lobeconv("render " + src + " " + quote(dir.file("polar.png")) + " --size 640x480");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.err, "");
  // A PNG of 640 x 480: the width and height of its header, big-endian after "IHDR".
  EXPECT_EQ(test::read_bytes(dir.file("polar.png")).substr(12, 12), std::string("IHDR\0\0\x02\x80\0\0\x01\xe0", 12));
  ASSERT_EQ(lobeconv("render " + src + " " + quote(dir.file("rect.svg")) + " --view rect --grid log").status, 0);
  EXPECT_NE(test::read_bytes(dir.file("rect.svg")).find("<svg"), std::string::npos);
  ASSERT_EQ(lobeconv("render " + src + " " + quote(dir.file("page.pdf")) + " --print landscape").status, 0);
  EXPECT_EQ(test::read_bytes(dir.file("page.pdf")).rfind("%PDF", 0), 0u);
  r = lobeconv("render " + data("convert/src.pla") + " " + quote(dir.file("emr.png")) + " --view emr");
  EXPECT_EQ(r.err, "") << "src.pla has a vertical cut at 450 MHz";
  r = lobeconv("render " + data("convert/src.txt") + " " + quote(dir.file("emr.png")) + " --view emr");
  EXPECT_EQ(r.status, 0);
  EXPECT_NE(r.err.find("Select a vertical (V or EL) cut to display the EMR chart"), std::string::npos);

  // A disk that fills up: past 4 KB every write fails, and the old file stays.
  for (const char* ext : {"svg", "pdf", "png"}) {
    const std::string out = dir.file(std::string("chart.") + ext);
    test::write_bytes(out, "the old picture");
    r = lobeconv("render " + src + " " + quote(out) + " --print portrait", "ulimit -f 4; ");
    EXPECT_NE(r.status, 0) << ext << ": a cut-off picture is a failure";
    EXPECT_EQ(test::read_bytes(out), "the old picture") << ext;
    EXPECT_NE(r.err.find("cannot write"), std::string::npos) << ext;
  }
  for (const auto& e : std::filesystem::directory_iterator(dir.path()))
    EXPECT_EQ(e.path().filename().string().find(".lobeview-"), std::string::npos) << "no temporary file is left";
}

TEST(Lobeconv, BatchesRefuseCollidingNamesAndKeepOldFilesOnFailure) {
  test::temp_dir dir;
  const std::string out = dir.file("out");
  std::filesystem::create_directory(out);
  const run_result r = lobeconv("convert " + data("convert/src.nsma") + " " + data("convert/src.pla") + " " +
                                data("convert/src.ant") + " " + quote(out) + " --to labz");
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("would all be written to"), std::string::npos) << r.err;
  EXPECT_NE(r.err.find("src.pla"), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(out + "/src.labz")) << "neither replaces the other";

  // A batch syncs once at its end, but each file still replaces its old one
  // only when complete: past 4 KB (a full disk) the large file keeps its old
  // content, the small one is converted, and no temporary file is left.
  test::write_bytes(out + "/src.nsma", "the old file");
  const run_result full = lobeconv("convert " + data("convert/src.labz") + " " + data("nsma/golden_small.labz") + " " +
                                       quote(out) + " --to nsma",
                                   "ulimit -f 4; ");
  EXPECT_EQ(full.status, 1);
  EXPECT_EQ(test::read_bytes(out + "/src.nsma"), "the old file");
  EXPECT_EQ(test::read_bytes(out + "/golden_small.nsma"), test::read_bytes(test::data_path("nsma/golden_small.nsma")));
  EXPECT_EQ(files_in(out), 2u);

  // Again over the outputs: a replaced file of ours alone is reused as the
  // next output's temporary file (its blocks zeroed, or where the file system
  // cannot, as in memory, emptied); one with another name (a hard link) is not.
  const std::string alone = dir.file("alone");
  std::filesystem::create_directory(alone);
  ASSERT_EQ(lobeconv("convert " + data("planet/basic.pla") + " " + quote(alone) + " --to nsma").status, 0);
  const bool has_shm = std::filesystem::is_directory("/dev/shm");
  const test::temp_dir in_memory(has_shm ? "/dev/shm" : "");
  for (const std::string& folder : {out, in_memory.path()}) {
    const std::string shared = folder + "/shared.nsma", old = folder + "/old";
    std::filesystem::create_directory(old);
    test::write_bytes(shared, "another name for it");
    ASSERT_EQ(::link(shared.c_str(), (old + "/src.nsma").c_str()), 0);
    test::write_bytes(old + "/golden_small.nsma", std::string(100000, 'x'));  // longer than what reuses it
    test::write_bytes(old + "/basic.nsma", "replaced last: the spare left at the end");
    ASSERT_EQ(lobeconv("convert " + data("convert/src.labz") + " " + data("nsma/golden_small.labz") + " " +
                       data("planet/basic.pla") + " " + quote(old) + " --to nsma").status, 0);
    EXPECT_EQ(test::read_bytes(shared), "another name for it");
    EXPECT_EQ(test::read_bytes(old + "/basic.nsma"), test::read_bytes(alone + "/basic.nsma")) << "nothing of the reused file";
    EXPECT_EQ(test::read_bytes(old + "/golden_small.nsma"), test::read_bytes(test::data_path("nsma/golden_small.nsma")));
    EXPECT_EQ(files_in(old), 3u) << "no spare file left";
  }
}

// check and compare as a script uses them: the verdict in the exit status,
// a line per cut or JSON, and 2 when no verdict could be made.
TEST(Lobeconv, CheckAndCompareGiveTheirVerdictInTheExitStatus) {
  test::temp_dir dir;
  const std::string lib = data("../../data/kwr_envelopes.csv"), panel = data("../../data/samples/panel.labz");
  // The LABZ file names its mask (Class B wide); a narrower one is given.
  run_result r = lobeconv("check " + panel + " --envelopes " + lib + " --json");
  const auto own = nlohmann::json::parse(r.out);
  EXPECT_EQ(own["envelope"], "Class B wide");
  bool all = true;
  for (const auto& cut : own["cuts"]) {
    all = all && cut["pass"].get<bool>();
    EXPECT_EQ(cut["pass"], cut["verdict"] == "pass");
    EXPECT_TRUE(cut["failing_ranges"].is_array() && cut["gaps"].is_array());
  }
  EXPECT_EQ(r.status, all ? 0 : 1) << r.err;
  r = lobeconv("check " + panel + " --envelopes " + lib + " --envelope 'Class A narrow'");
  EXPECT_EQ(r.out.substr(0, r.out.find('\n')), "Envelope: Class A narrow");
  EXPECT_EQ(test::lines_in(r.out), own["cuts"].size() + 1);
  for (const char* args : {"", " --envelope Nope", " --envelopes /nonexistent.csv"})
    EXPECT_EQ(lobeconv("check " + data("../../data/samples/yagi.nsma") + args).status, 2) << args;

  // A pattern against itself in another format passes; 2 dB weaker it fails
  // a 1 dB tolerance and passes aligned on the peak.
  r = lobeconv("compare " + data("../../data/samples/panel.nsma") + " " + data("../../data/samples/panel.pla"));
  EXPECT_NE(r.out.find("pass"), std::string::npos) << r.out << r.err;
  const std::string weaker = dir.file("weaker.nsma");
  const std::string text = test::read_bytes(test::data_path("../../data/samples/yagi.nsma"));
  // Every level 2 dB further down (the file writes them negative; either sign reads as dB down).
  std::string shifted;
  for (std::size_t at = 0, end; at < text.size(); at = end + 1) {
    end = text.find('\r', at);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(at, end - at);
    float a = 0, l = 0;
    if (line.find(':') == std::string::npos && std::sscanf(line.c_str(), "%f,%f", &a, &l) == 2)
      line = c_format("%.3f,%.3f,", a, std::fabs(l) + 2.0f);
    shifted += line + (end < text.size() ? "\r" : "");
  }
  test::write_bytes(weaker, shifted);
  const std::string yagi = data("../../data/samples/yagi.nsma");
  EXPECT_EQ(lobeconv("compare " + quote(weaker) + " " + yagi + " --tolerance 1").status, 1);
  EXPECT_EQ(lobeconv("compare " + quote(weaker) + " " + yagi + " --tolerance 1 --align peak").status, 0);
  const auto j = nlohmann::json::parse(lobeconv("compare " + quote(weaker) + " " + yagi + " --json").out);
  EXPECT_NEAR(j["cuts"][0]["main_lobe"]["rms_db"].get<double>(), 2.0, 0.01);
  EXPECT_EQ(lobeconv("compare " + yagi).status, 2);
  EXPECT_EQ(lobeconv("compare " + yagi + " " + yagi + " --align sideways").status, 2);

  // The report: a printed page per frequency, then the text (one page here).
  const std::string pdf = dir.file("report.pdf"), png = dir.file("report.png");
  auto pages = [](const std::string& bytes) {
    std::size_t n = 0;
    for (std::size_t at = 0; (at = bytes.find("/Type /Page\n", at)) != std::string::npos; ++at) ++n;
    return n;
  };
  r = lobeconv("report " + yagi + " " + quote(pdf) + " --envelopes " + lib + " --envelope 'Class B wide' --reference " +
               quote(weaker));
  ASSERT_EQ(r.status, 0) << r.err;
  const std::string doc = test::read_bytes(pdf);
  EXPECT_EQ(doc.rfind("%PDF-", 0), 0u);
  EXPECT_EQ(pages(doc), 3u);
  ASSERT_EQ(lobeconv("report " + yagi + " " + quote(png)).status, 0);
  EXPECT_EQ(test::read_bytes(png).substr(1, 3), "PNG");
  EXPECT_EQ(lobeconv("report " + yagi + " " + quote(dir.file("report.svg"))).status, 2);
  EXPECT_EQ(lobeconv("report " + yagi + " " + quote(dir.file("r.pdf")) + " --reference /nonexistent.nsma").status, 2);
}

}  // namespace
}  // namespace lobe

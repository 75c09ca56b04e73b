// lobeconv converting a folder of typical two-cut files.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>

#include "bench_support.h"
#include "cli/lobeconv_commands.h"
#include "core/formats/file_sink.h"
#include "core/formats/nsma_writer.h"

namespace lobe::bench {
namespace {

void BM_BatchConvert1000TwoCutFiles(benchmark::State& state) {
  namespace fs = std::filesystem;
  const fs::path root = fs::temp_directory_path() / "lobeview-bench-batch";
  fs::remove_all(root);
  fs::create_directories(root / "in");
  fs::create_directories(root / "out");
  harness h;
  fill_largest(*h.st);
  h.st->pd.nofreq = 1;
  h.st->pd.freq[0].numcut = 2;
  h.st->pd.freq[0].cut[0].nupoin = h.st->pd.freq[0].cut[1].nupoin = 360;
  string_sink typical;
  write_nsma_file(*h.st, typical, h.log, 0);
  std::vector<std::string> args = {"convert"};
  for (int i = 0; i < 1000; ++i) {
    const fs::path p = root / "in" / ("pattern" + std::to_string(i) + ".nsma");
    FILE* f = std::fopen(p.c_str(), "wb");
    std::fwrite(typical.bytes.data(), 1, typical.bytes.size(), f);
    std::fclose(f);
    args.push_back(p.string());
  }
  args.push_back((root / "out").string());
  args.push_back("--to");
  args.push_back(state.range(0) ? "labz" : "pla");
  for (auto _ : state) {
    std::ostringstream out, err;
    if (run_lobeconv(args, out, err) != 0) state.SkipWithError(err.str().c_str());
  }
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * 1000);
  fs::remove_all(root);
}

BENCHMARK(BM_BatchConvert1000TwoCutFiles)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace lobe::bench

BENCHMARK_MAIN();

// lobeconv's work in-process: dump of the largest pattern, and a batch of
// conversions, each beside its floor (the least program doing the same work).
#include <benchmark/benchmark.h>

#include <charconv>
#include <cstdlib>
#include <filesystem>
#include <sstream>

#include "bench_support.h"
#include "cli/lobeconv_commands.h"
#include "cli/pattern_json.h"
#include "core/session/antenna_loader.h"
#include "core/io/file_sink.h"
#include "core/formats/file_types.h"
#include "core/formats/nsma_writer.h"
#include "core/session/save_routing.h"

namespace lobe::bench {
namespace {

void BM_DumpLargest(benchmark::State& state) {
  harness h;
  fill_largest(*h.st);
  for (auto _ : state) {
    const std::string text = pattern_json_text(*h.st, "");
    benchmark::DoNotOptimize(text.data());
  }
}

// Its floor: the same points' numbers, each as the shortest decimal of its
// float (to_chars), one to a line, without keys, layout or other fields.
void BM_DumpLargestFloorToChars(benchmark::State& state) {
  harness h;
  fill_largest(*h.st);
  for (auto _ : state) {
    std::string out;
    out.reserve(1 << 21);
    char buf[32];
    for (const freq_data_type& fr : h.st->pd.freq)
      for (const cut_data_type& cut : fr.cut)
        for (int p = 0; p < cut.nupoin; ++p)
          for (float v : {cut.angle[p], cut.signal[p]}) {
            out.append(buf, std::to_chars(buf, buf + sizeof buf, v).ptr);
            out += ",\n";
          }
    benchmark::DoNotOptimize(out.data());
  }
}

namespace fs = std::filesystem;

// 1000 typical two-cut NSMA files in a fresh folder; their paths.
std::vector<std::string> batch_inputs(const fs::path& root) {
  fs::remove_all(root);
  fs::create_directories(root / "in");
  fs::create_directories(root / "out");
  harness h;
  fill_largest(*h.st);
  h.st->pd.nofreq = 1;
  h.st->pd.freq[0].numcut = 2;
  h.st->pd.freq[0].cut[0].nupoin = h.st->pd.freq[0].cut[1].nupoin = 360;
  string_sink typical;
  write_nsma_file(*h.st, typical, h.log, 0, write_options_of(*h.st));
  std::vector<std::string> paths;
  for (int i = 0; i < 1000; ++i) {
    const fs::path p = root / "in" / ("pattern" + std::to_string(i) + ".nsma");
    FILE* f = std::fopen(p.c_str(), "wb");
    std::fwrite(typical.bytes.data(), 1, typical.bytes.size(), f);
    std::fclose(f);
    paths.push_back(p.string());
  }
  // The inputs on the disk before any timing: the batch's own sync at its
  // end should not pay for writing them.
  std::string why;
  sync_folder(root.string(), why);
  return paths;
}

// `lobeconv convert IN... OUT --to pla` over the 1000 files, the old outputs
// in place (each save replaces one), one sync at the end.
void BM_BatchConvert1000(benchmark::State& state) {
  const fs::path root = fs::temp_directory_path() / "lobeview-bench-batch";
  std::vector<std::string> args = {"convert"};
  for (const std::string& p : batch_inputs(root)) args.push_back(p);
  args.insert(args.end(), {(root / "out").string(), "--to", "pla"});
  const auto batch = [&] {
    std::ostringstream out, err;
    if (run_lobeconv(args, out, err) != 0) state.SkipWithError(err.str().c_str());
  };
  batch();  // the old outputs, made outside the timing
  std::string why;
  sync_folder(root.string(), why);
  for (auto _ : state) batch();
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * 1000);
  fs::remove_all(root);
}

// Its floor: the same loads and saves in a loop (the replaced files reused
// as the batch reuses them), no sync at all, no search for stale temporary
// files, no command line.
void BM_BatchConvert1000FloorNoSync(benchmark::State& state) {
  const fs::path root = fs::temp_directory_path() / "lobeview-bench-batch-floor";
  const std::vector<std::string> inputs = batch_inputs(root);
  spare_files spares;
  const save_options none{.sync_each_file = false, .sweep_stale_temps = false, .spares = &spares};
  harness h;
  const std::unique_ptr<lobe_state> start = std::make_unique<lobe_state>(*h.st);
  const auto batch = [&] {
    for (const std::string& in : inputs) {
      *h.st = *start;
      open_file(*h.st, h.log, in, "nsma");
      save_file(*h.st, h.log, (root / "out" / fs::path(in).stem()).string() + ".pla", none);
    }
  };
  batch();  // the old outputs, made outside the timing
  std::string why;
  sync_folder(root.string(), why);
  for (auto _ : state) batch();
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * 1000);
  fs::remove_all(root);
}

BENCHMARK(BM_DumpLargest)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DumpLargestFloorToChars)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BatchConvert1000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_BatchConvert1000FloorNoSync)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace lobe::bench

BENCHMARK_MAIN();

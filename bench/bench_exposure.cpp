// A site's compliance boundaries: a rooftop of 60 panels in 5 bands and a
// field of 1000 isotropic sources, beside the floor of checking an answer
// (the total exposure ratio once at each of the six boundary points).
#include <benchmark/benchmark.h>

#include <memory>

#include "core/exposure/site_exposure.h"
#include "core/session/antenna_loader.h"
#include "core/formats/file_types.h"
#include "core/record/lobe_state.h"
#include "core/io/run_log.h"

namespace lobe::bench {
namespace {

std::shared_ptr<const pattern_3d> sample_pattern(double mhz) {
  auto st = make_lobe_state();
  run_log log;
  const std::string file = LOBE_SAMPLES "/panel.nsma";
  open_file(*st, log, file, dialog_extension(file));
  std::shared_ptr<const pattern_3d> p;
  pattern_3d_of(st->pd, mhz, method_3d::summing, p);
  return p;
}

// Three sectors of four panels on each of five bands, 60 in all, on a 10 x 10 m roof.
site rooftop() {
  site s;
  const double bands[] = {700, 800, 1800, 2100, 2600};
  for (int i = 0; i < 60; ++i) {
    site_antenna a;
    a.frequency_mhz = bands[i % 5];
    a.pattern = sample_pattern(a.frequency_mhz);
    a.power_w = 40, a.loss_db = 1, a.gain_dbi = 17;
    a.x = (i / 15) * 3.0, a.y = (i % 15) * 0.7, a.height = 30;
    a.azimuth = (i % 3) * 120.0, a.downtilt = 4;
    s.antennas.push_back(a);
  }
  return s;
}

// 1000 small cells on a 32 x 32 grid, 10 m apart.
site field() {
  site s;
  const double bands[] = {900, 1800, 2100, 2600, 3500};
  for (int i = 0; i < 1000; ++i) {
    site_antenna a;
    a.frequency_mhz = bands[i % 5];
    a.power_w = 20;
    a.x = (i % 32) * 10.0, a.y = (i / 32) * 10.0, a.height = 20;
    s.antennas.push_back(a);
  }
  return s;
}

void boundaries(benchmark::State& state, const site& s) {
  for (auto _ : state) benchmark::DoNotOptimize(boundaries_of(s));
  state.counters["antennas"] = static_cast<double>(s.antennas.size());
}

void floor(benchmark::State& state, const site& s) {
  const std::vector<compliance_boundary> b = boundaries_of(s);
  for (auto _ : state) {
    double sum = 0.0;
    for (std::size_t a = 0; a < s.antennas.size(); ++a) {
      const site_antenna& ant = s.antennas[a];
      for (double r : {b[a].front, b[a].back, b[a].left, b[a].right, b[a].above, b[a].below})
        sum += s.total_exposure_ratio(ant.x + r, ant.y, ant.height);
    }
    benchmark::DoNotOptimize(sum);
  }
}

void BM_ExposureRooftop60(benchmark::State& state) { boundaries(state, rooftop()); }
void BM_ExposureRooftop60FloorOneRatioPerBoundary(benchmark::State& state) { floor(state, rooftop()); }
void BM_ExposureField1000(benchmark::State& state) { boundaries(state, field()); }
void BM_ExposureField1000FloorOneRatioPerBoundary(benchmark::State& state) { floor(state, field()); }

BENCHMARK(BM_ExposureRooftop60)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ExposureRooftop60FloorOneRatioPerBoundary)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExposureField1000)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(BM_ExposureField1000FloorOneRatioPerBoundary)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace lobe::bench

BENCHMARK_MAIN();

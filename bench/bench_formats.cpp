// Reading and writing the largest pattern of each format.
#include <benchmark/benchmark.h>

#include <charconv>
#include <cstring>
#include <iterator>

#include "bench_support.h"
#include "core/session/save_routing.h"
#include "core/formats/ant_format.h"
#include "core/session/antenna_loader.h"
#include "core/io/file_sink.h"
#include "core/formats/nec_reader.h"
#include "core/formats/nsma_writer.h"
#include "core/formats/planet_format.h"

namespace lobe::bench {
namespace {

std::string written(int format, int kwr_fmt = 0) {
  harness h;
  fill_largest(*h.st);
  string_sink out;
  if (format == FT_PLANET) {
    write_planet_file(*h.st, out, h.io, write_options_of(*h.st));
  } else if (format == FT_ANT) {
    h.st->file.ant_file_type = AFT_ANT_V3;
    write_ant_file(*h.st, out, h.log, write_options_of(*h.st));
  } else {
    write_nsma_file(*h.st, out, h.log, kwr_fmt, write_options_of(*h.st));
  }
  return out.bytes;
}

void read_format(benchmark::State& state, int format, const std::string& image) {
  harness h;
  for (auto _ : state) {
    h.st->file.file_type = format;
    read_antenna_image(*h.st, h.io, &image);
    benchmark::DoNotOptimize(h.st->pd.freq[0].cut[0].signal[0]);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(image.size()));
}

void write_format(benchmark::State& state, int format, int kwr_fmt) {
  harness h;
  fill_largest(*h.st);
  h.st->file.ant_file_type = AFT_ANT_V3;
  for (auto _ : state) {
    string_sink out;
    out.bytes.reserve(1 << 21);
    if (format == FT_PLANET)
      write_planet_file(*h.st, out, h.io, write_options_of(*h.st));
    else if (format == FT_ANT)
      write_ant_file(*h.st, out, h.log, write_options_of(*h.st));
    else
      write_nsma_file(*h.st, out, h.log, kwr_fmt, write_options_of(*h.st));
    benchmark::DoNotOptimize(out.bytes.data());
  }
}

void BM_ReadNsmaLargest(benchmark::State& s) { read_format(s, FT_NSMA99, written(FT_NSMA99)); }

// The floor of reading that file: its lines split at LF and each point line
// read as two numbers by from_chars into a table; no tags, no checks.
void BM_ReadNsmaLargestFloorFromChars(benchmark::State& state) {
  const std::string image = written(FT_NSMA99);
  static float table[2][MAX_FREQ * MAX_CUTS * MAX_SAMPLES];
  for (auto _ : state) {
    std::size_t n = 0;
    for (const char *p = image.data(), *end = p + image.size(); p < end;) {
      const char* eol = static_cast<const char*>(std::memchr(p, '\n', static_cast<std::size_t>(end - p)));
      if (!eol) eol = end;
      if ((*p >= '0' && *p <= '9') || *p == '-') {
        const auto a = std::from_chars(p, eol, table[0][n]);
        std::from_chars(a.ptr + 1, eol, table[1][n]);
        n = (n + 1) % std::size(table[0]);
      }
      p = eol + 1;
    }
    benchmark::DoNotOptimize(table[1][0]);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(image.size()));
}
void BM_WriteNsmaLargest(benchmark::State& s) { write_format(s, FT_NSMA99, 0); }
void BM_ReadLabzLargest(benchmark::State& s) { read_format(s, FT_LABZ, written(FT_LABZ, 1)); }
void BM_WriteLabzLargest(benchmark::State& s) { write_format(s, FT_LABZ, 1); }
void BM_ReadPlanet(benchmark::State& s) { read_format(s, FT_PLANET, written(FT_PLANET)); }
void BM_WritePlanet(benchmark::State& s) { write_format(s, FT_PLANET, 0); }
void BM_ReadAntV3(benchmark::State& s) { read_format(s, FT_ANT, written(FT_ANT)); }
void BM_WriteAntV3(benchmark::State& s) { write_format(s, FT_ANT, 0); }

void BM_Read4nec362Rows(benchmark::State& state) {
  std::string image;
  for (int a = -180; a < 182; ++a) image += std::to_string(a) + ".0  -" + std::to_string((a + 180) % 40) + ".25\r\n";
  harness h;
  for (auto _ : state) {
    h.st->pd.nofreq = 0;
    add_4nec_image(*h.st, h.io, &image);
    benchmark::DoNotOptimize(h.st->pd.freq[0].cut[0].signal[0]);
  }
}

BENCHMARK(BM_ReadNsmaLargest)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadNsmaLargestFloorFromChars)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WriteNsmaLargest)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadLabzLargest)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WriteLabzLargest)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadPlanet)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_WritePlanet)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ReadAntV3)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_WriteAntV3)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Read4nec362Rows)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace lobe::bench

BENCHMARK_MAIN();

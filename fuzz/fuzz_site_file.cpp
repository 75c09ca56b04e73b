// A site file as `lobeconv exposure` reads it; a site that reads is then
// measured, when it is small enough to measure in a fuzzing run.
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "cli/site_file.h"
#include "fuzz_support.h"

using namespace lobe;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::string path = [] {
    char name[] = "/tmp/lobeview-fuzz-site-XXXXXX";
    const int fd = ::mkstemp(name);
    if (fd >= 0) ::close(fd);
    return std::string(name);
  }();
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return 0;
  std::fwrite(data, 1, size, f);
  std::fclose(f);
  fuzz::harness h;
  site s;
  std::string problem;
  if (!read_site_file(path, *h.st, s, problem)) {
    if (problem.empty()) std::abort();  // a refusal always says why
    return 0;
  }
  if (s.antennas.size() > 3) return 0;
  for (std::size_t a = 0; a < s.antennas.size(); ++a) {
    const compliance_boundary b = boundary_of(s, static_cast<int>(a));
    for (double d : {b.front, b.back, b.left, b.right, b.above, b.below})
      if (!(d >= 0.0 && d <= BOUNDARY_SEARCH_LIMIT_M)) std::abort();
  }
  const double ter = s.total_exposure_ratio(1.0, 2.0, 3.0);
  if (std::isnan(ter) || ter < 0.0) std::abort();
  return 0;
}

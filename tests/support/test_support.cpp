#include "support/test_support.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>

#include "core/session/antenna_loader.h"
#include "core/formats/file_types.h"
#include "core/record/pattern_record.h"

namespace lobe::test {

std::string data_path(const std::string& rel) { return std::string(LOBE_TEST_DATA) + "/" + rel; }

std::string read_bytes(const std::string& path) {
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) throw std::runtime_error("cannot read " + path);
  std::string out;
  char buf[4096];
  std::size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) out.append(buf, n);
  std::fclose(f);
  return out;
}

void write_bytes(const std::string& path, std::string_view bytes) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) throw std::runtime_error("cannot write " + path);
  std::fwrite(bytes.data(), 1, bytes.size(), f);
  std::fclose(f);
}

std::size_t files_in(const std::string& folder) {
  return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(folder), {}));
}

std::size_t lines_in(std::string_view text) { return static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')); }

temp_dir::temp_dir(const std::string& parent) {
  const std::filesystem::path in = parent.empty() ? std::filesystem::temp_directory_path() : std::filesystem::path(parent);
  std::string pattern = (in / "lobeview-test-XXXXXX").string();
  if (!mkdtemp(pattern.data())) throw std::runtime_error("cannot make a temporary folder");
  path_ = pattern;
}

temp_dir::~temp_dir() {
  std::error_code ec;
  std::filesystem::remove_all(path_, ec);
}

void harness::load_text(int file_type, std::string_view text) {
  clear_cut_data(st->pd);
  clear_planet_header_data(st->pd, st->all_emax);
  st->file.file_type = file_type;
  const std::string image(text);
  report = {};
  read_antenna_image(*st, io, &image);
}

void put_cut(lobe_state& st, int f, int c, const char* patcut, const std::vector<std::pair<float, float>>& points) {
  if (st.pd.nofreq < f + 1) st.pd.nofreq = f + 1;
  if (st.pd.freq[f].numcut < c + 1) st.pd.freq[f].numcut = c + 1;
  cut_data_type& cut = st.pd.freq[f].cut[c];
  std::snprintf(cut.patcut, sizeof cut.patcut, "%s", patcut);
  cut.nupoin = static_cast<int>(points.size());
  for (std::size_t i = 0; i < points.size(); ++i) {
    cut.angle[i] = points[i].first;
    cut.signal[i] = points[i].second;
  }
  if (points.size() < MAX_SAMPLES) cut.angle[points.size()] = END_MARKER;
}

bool harness::open_data(const std::string& rel) { return open(data_path(rel)); }

bool harness::open_published(const std::string& path) {
  st->settings.lf_line_ends = true;
  st->settings.resample_long_cuts = true;
  st->settings.signed_levels = true;
  return open(path);
}

std::vector<std::string> pattern_files_in(std::initializer_list<const char*> folders) {
  std::vector<std::string> files;
  for (const char* folder : folders)
    if (std::filesystem::is_directory(folder))
      for (const auto& e : std::filesystem::directory_iterator(folder))
        if (e.path().extension() != ".md" && e.path().filename().string().rfind("LICENSE", 0) != 0)
          files.push_back(e.path().string());
  return files;
}

bool harness::open(const std::string& path) {
  report = open_file(*st, log, path, dialog_extension(path));
  return report.ok;
}

}  // namespace lobe::test

// Shared helpers for the tests: a scratch folder on disk, and a program
// state with the report of its last action in one object.
#pragma once

#include <initializer_list>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/record/lobe_state.h"
#include "core/io/run_log.h"
#include "core/range/range_events.h"

namespace lobe::test {

std::string data_path(const std::string& rel);
std::string read_bytes(const std::string& path);
void write_bytes(const std::string& path, std::string_view bytes);
// The pattern files in these folders (no READMEs or licences) that exist,
// for tests that run over every sample or published file.
std::vector<std::string> pattern_files_in(std::initializer_list<const char*> folders);

// Entries in a folder; lines (LF) in a text.
std::size_t files_in(const std::string& folder);
std::size_t lines_in(std::string_view text);

// What the test range told the window.
class recording_events : public range_events {
 public:
  void set_status_text(int part, std::string_view text) override { status[part] = text; }
  void panel_changed() override { ++panel_changes; }
  void switch_capture(int b) override { capture_switches.push_back(b); }

  std::map<int, std::string> status;
  std::vector<int> capture_switches;
  int panel_changes = 0;
};

// Puts a cut with these (angle, signal) points at frequency f, cut c, growing
// the counts to include it.
void put_cut(lobe_state& st, int f, int c, const char* patcut, const std::vector<std::pair<float, float>>& points);
// A 360-point cut at whole degrees 0..359 whose signal at angle a is level(a).
template <class Level>
void put_full_cut(lobe_state& st, int f, int c, const char* patcut, Level level) {
  std::vector<std::pair<float, float>> pts;
  for (int a = 0; a < 360; ++a) pts.emplace_back(static_cast<float>(a), static_cast<float>(level(a)));
  put_cut(st, f, c, patcut, pts);
}

// Unticks the show boxes of these (frequency, cut) rows.
inline void hide_cuts(lobe_state& st, std::initializer_list<std::pair<int, int>> rows) {
  for (const auto& [f, c] : rows) st.flags.cut[f][c].hide = 1;
}

// A folder under the system's temporary folder, removed with everything in it.
class temp_dir {
 public:
  // A new folder in the system's temporary folder, or in `parent`.
  explicit temp_dir(const std::string& parent = "");
  ~temp_dir();
  temp_dir(const temp_dir&) = delete;
  temp_dir& operator=(const temp_dir&) = delete;
  const std::string& path() const { return path_; }
  std::string file(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

// A program state with its log, the report of the last load or save, and
// the test range's events.
struct harness {
  std::unique_ptr<lobe_state> st = make_lobe_state();
  run_log log;
  action_report report;
  core_io io{log, report};
  recording_events events;
  range_io range{log, events};

  // Parses `text` as a file of `file_type` would be, without touching the disk.
  void load_text(int file_type, std::string_view text);
  // Loads a file from tests/data through the Open command.
  bool open_data(const std::string& rel);
  // Loads a file anywhere through the Open command.
  bool open(const std::string& path);
  // The same with the opt-ins a published file may need: LF line ends,
  // long cuts resampled, levels of both signs read as gains.
  bool open_published(const std::string& path);
  // The status field `part` as the last action left it ("" when it did not set it).
  std::string status(int part) const {
    const std::string* s = report.status_of(part);
    return s ? *s : "";
  }
  const cut_data_type& cut(int f, int c) const { return st->pd.freq[f].cut[c]; }
};

}  // namespace lobe::test

// Shared helpers for the tests: a window that records what core asked of it,
// a scratch folder on disk, and a loaded pattern in one object.
#pragma once

#include <map>
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/record/lobe_state.h"
#include "core/settings/run_log.h"
#include "core/record/window_port.h"

namespace lobe::test {

std::string data_path(const std::string& rel);
std::string read_bytes(const std::string& path);
void write_bytes(const std::string& path, std::string_view bytes);

class recording_window : public window_port {
 public:
  struct box {
    std::string text;
    std::string caption;
    message_icon icon;
  };
  void set_status_text(int part, std::string_view text) override {
    status[part] = text;
    status_log.emplace_back(part, std::string(text));
  }
  void message_box(std::string_view text, std::string_view caption, message_icon icon) override {
    boxes.push_back({std::string(text), std::string(caption), icon});
  }
  void check_envelope_item(int env, bool checked) override { envelope_checks.emplace_back(env, checked); }
  void clear_panel() override { ++panel_clears; }
  void rebuild_panel() override { ++panel_rebuilds; }
  void rebuild_menus() override { ++menu_rebuilds; }
  void read_form_data() override { ++form_reads; }
  bool is_cut_shown(int f, int c) override { return hidden.count({f, c}) == 0; }

  std::map<int, std::string> status;
  std::vector<std::pair<int, std::string>> status_log;
  std::set<std::pair<int, int>> hidden;
  std::vector<box> boxes;
  std::vector<std::pair<int, bool>> envelope_checks;
  int panel_clears = 0, panel_rebuilds = 0, menu_rebuilds = 0, form_reads = 0;
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

// A folder under the system's temporary folder, removed with everything in it.
class temp_dir {
 public:
  temp_dir();
  ~temp_dir();
  temp_dir(const temp_dir&) = delete;
  temp_dir& operator=(const temp_dir&) = delete;
  const std::string& path() const { return path_; }
  std::string file(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

// A program state with its log and a recording window.
struct harness {
  std::unique_ptr<lobe_state> st = make_lobe_state();
  run_log log;
  recording_window win;
  core_io io{log, win};

  // Parses `text` as a file of `file_type` would be, without touching the disk.
  void load_text(int file_type, std::string_view text);
  // Loads a file from tests/data through the Open command.
  bool open_data(const std::string& rel);
  const cut_data_type& cut(int f, int c) const { return st->pd.freq[f].cut[c]; }
};

}  // namespace lobe::test

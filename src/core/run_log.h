// The run log: one text file in the user's documents folder, recreated at
// every start, one line per event:
//   date - time - source - message CR LF
// When the file cannot be created, logging is silently off.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

namespace lobe {

class run_log {
 public:
  run_log() = default;
  ~run_log();
  run_log(const run_log&) = delete;
  run_log& operator=(const run_log&) = delete;

  // Creates (or truncates) LOBEVIEW_ERROR_FILE in `folder`. False when it
  // cannot be made; the log then stays off.
  bool open(const std::string& folder);
  void close();
  bool error_file_open() const { return file_ != nullptr; }
  const std::string& path() const { return path_; }

  void write_error_log(std::string_view fn, std::string_view buf);

 private:
  std::FILE* file_ = nullptr;
  std::string path_;
};

// The local date in the user's short date format and the local time in
// 24-hour form, joined by " - ".
std::string ss_get_system_time();

}  // namespace lobe

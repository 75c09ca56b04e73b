// The run log: one text file in the user's documents folder, recreated at
// every start, one line per event:
//   date - time - source - message CR LF
// When the file cannot be created, logging is silently off.
//
// The file has a size limit (LOG_LIMIT_BYTES): a long day on the range logs a
// line per level query, and must not fill a disk. Past the limit the log
// keeps its first part, says where it was cut, and goes on in a second file
// (LOBEVIEW_LAST_LOG_FILE beside it) that holds the latest lines: when that
// one reaches the limit too it starts again, so it always ends with the most
// recent events.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

namespace lobe {

class run_log {
 public:
  static constexpr long long LOG_LIMIT_BYTES = 20LL * 1024 * 1024;

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

  // For tests: a smaller limit.
  void set_limit(long long bytes) { limit_ = bytes; }
  const std::string& last_lines_path() const { return last_path_; }

 private:
  void write_line(const std::string& line);
  std::FILE* file_ = nullptr;
  std::string path_;
  std::string last_path_;
  long long written_ = 0;
  long long limit_ = LOG_LIMIT_BYTES;
  bool cut_ = false;
};

inline constexpr const char* LOBEVIEW_LAST_LOG_FILE = "lobeview_log_last.txt";

// The local date in the user's short date format and the local time in
// 24-hour form, joined by " - ".
std::string ss_get_system_time();

}  // namespace lobe

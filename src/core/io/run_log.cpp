#include "core/io/run_log.h"

#include <ctime>

#include "core/base/lobeview.h"

namespace lobe {

run_log::~run_log() { close(); }

bool run_log::open(const std::string& folder) {
  close();
  path_ = folder;
  if (!path_.empty() && path_.back() != '/') path_ += '/';
  last_path_ = path_ + LOBEVIEW_LAST_LOG_FILE;
  path_ += LOBEVIEW_ERROR_FILE;
  file_ = std::fopen(path_.c_str(), "wb");
  written_ = 0;
  cut_ = false;
  // A second file from an earlier run would be mistaken for this one's.
  std::remove(last_path_.c_str());
  return file_ != nullptr;
}

void run_log::close() {
  if (file_) std::fclose(file_);
  file_ = nullptr;
}

void run_log::write_error_log(std::string_view fn, std::string_view buf) {
  if (!file_) return;
  std::string line = ss_get_system_time();
  line += " - ";
  line += fn;
  line += " - ";
  line += buf;
  line += "\r\n";
  write_line(line);
}

void run_log::write_line(const std::string& line) {
  const long long size = static_cast<long long>(line.size());
  if (written_ + size > limit_) {
    if (!cut_) {
      const std::string note = ss_get_system_time() + " - run_log - Log cut here at its size limit; the latest lines are in " +
                               std::string(LOBEVIEW_LAST_LOG_FILE) + "\r\n";
      std::fwrite(note.data(), 1, note.size(), file_);
      cut_ = true;
    }
    // The first file is done; the second starts over whenever it is full.
    std::fclose(file_);
    file_ = std::fopen(last_path_.c_str(), "wb");
    written_ = 0;
    if (!file_) return;
  }
  // Flushed line by line: the log is what is left to read after a bad night on the range.
  std::fwrite(line.data(), 1, line.size(), file_);
  std::fflush(file_);
  written_ += size;
}

std::string ss_get_system_time() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char date[40] = "";
  char time[20] = "";
  if (std::strftime(date, sizeof date, "%x", &local) == 0) date[0] = '\0';
  if (std::strftime(time, sizeof time, "%H:%M:%S", &local) == 0) time[0] = '\0';
  std::string out = date;
  out += " - ";
  out += time;
  return out;
}

}  // namespace lobe

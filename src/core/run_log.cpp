#include "core/run_log.h"

#include <ctime>

#include "core/lobeview.h"

namespace lobe {

run_log::~run_log() { close(); }

bool run_log::open(const std::string& folder) {
  close();
  path_ = folder;
  if (!path_.empty() && path_.back() != '/') path_ += '/';
  path_ += LOBEVIEW_ERROR_FILE;
  file_ = std::fopen(path_.c_str(), "wb");
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
  // Flushed line by line: the log is what is left to read after a bad night on the range.
  std::fwrite(line.data(), 1, line.size(), file_);
  std::fflush(file_);
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

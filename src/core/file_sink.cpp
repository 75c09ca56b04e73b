#include "core/file_sink.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "core/run_log.h"

namespace lobe {

atomic_file::~atomic_file() { abandon(); }

bool atomic_file::open(const std::string& target) {
  abandon();
  target_ = target;
  write_failed_ = false;
  std::string pattern = target + ".XXXXXX";
  const int fd = mkstemp(pattern.data());
  if (fd < 0) return false;
  // mkstemp makes the file private; give it the permissions a plain create would.
  const mode_t mask = umask(0);
  umask(mask);
  struct stat old_stat {};
  const mode_t mode = (::stat(target.c_str(), &old_stat) == 0) ? (old_stat.st_mode & 07777) : (0666 & ~mask);
  fchmod(fd, mode);
  file_ = fdopen(fd, "wb");
  if (!file_) {
    ::close(fd);
    ::unlink(pattern.c_str());
    return false;
  }
  temp_ = pattern;
  return true;
}

bool atomic_file::write(const char* data, std::size_t len) {
  if (!file_) return false;
  if (len == 0) return true;
  const bool ok = std::fwrite(data, 1, len, file_) == len;
  if (!ok) write_failed_ = true;
  return ok;
}

bool atomic_file::commit() {
  if (!file_) return false;
  bool ok = !write_failed_ && std::fflush(file_) == 0 && fsync(fileno(file_)) == 0;
  ok = (std::fclose(file_) == 0) && ok;
  file_ = nullptr;
  if (ok) ok = std::rename(temp_.c_str(), target_.c_str()) == 0;
  if (!ok) ::unlink(temp_.c_str());
  temp_.clear();
  return ok;
}

void atomic_file::abandon() {
  if (file_) std::fclose(file_);
  file_ = nullptr;
  if (!temp_.empty()) ::unlink(temp_.c_str());
  temp_.clear();
}

void k_writefile(byte_sink& sink, run_log& log, const char* str, std::size_t str_len) {
  if (!sink.write(str, str_len)) log.write_error_log("write_planet_file", "Write to planet file failed");
}

}  // namespace lobe

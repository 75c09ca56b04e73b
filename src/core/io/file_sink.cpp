#include "core/io/file_sink.h"

#include <cctype>
#include <cerrno>
#include <csignal>
#include <pthread.h>
#include <cstdlib>
#include <cstring>
#include <cstdio>
#include <utility>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "core/io/run_log.h"

namespace lobe {

namespace {

// The temporary file being written, for a signal handler to remove: a
// process has at most one save under way, and a handler may only touch
// plain memory.
// A batch's spare file is one more.
struct pending_path {
  char path[4096];
  volatile std::sig_atomic_t set = 0;
  void note(const std::string& p) {
    set = 0;
    if (p.empty() || p.size() >= sizeof path) return;
    std::memcpy(path, p.c_str(), p.size() + 1);
    set = 1;
  }
};
pending_path g_pending_temp, g_spare;

void note_pending_temp(const std::string& path) { g_pending_temp.note(path); }

// Holds back the signals that end lobeconv while a temporary or spare file
// exists without its name being noted for the handler, or is being renamed:
// a kill then waits the few microseconds until the notes are right.
class termination_held {
 public:
  termination_held() {
    sigset_t held;
    sigemptyset(&held);
    for (int sig : {SIGTERM, SIGINT, SIGHUP}) sigaddset(&held, sig);
    pthread_sigmask(SIG_BLOCK, &held, &before_);
  }
  ~termination_held() { pthread_sigmask(SIG_SETMASK, &before_, nullptr); }
  termination_held(const termination_held&) = delete;
  termination_held& operator=(const termination_held&) = delete;

 private:
  sigset_t before_;
};

constexpr const char* k_temp_tag = ".lobeview-tmp.";

// The temporary name of a save to `path`, for mkstemp.
std::string temp_pattern(const std::string& path) {
  const auto slash = path.rfind('/');
  const std::string folder = slash == std::string::npos ? "" : path.substr(0, slash + 1);
  const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  return folder + "." + name + k_temp_tag + std::to_string(::getpid()) + ".XXXXXX";
}

std::string folder_of(const std::string& path) {
  const auto slash = path.rfind('/');
  return slash == std::string::npos ? std::string(".") : (slash == 0 ? std::string("/") : path.substr(0, slash));
}

// Follows a chain of symbolic links to the file it names (which need not
// exist yet); the path itself when it is no link.
std::string resolve_links(std::string path) {
  for (int hops = 0; hops < 40; ++hops) {
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return path;
    std::string link(4096, '\0');
    const ssize_t n = ::readlink(path.c_str(), link.data(), link.size() - 1);
    if (n <= 0) return path;
    link.resize(static_cast<std::size_t>(n));
    path = link[0] == '/' ? link : folder_of(path) + "/" + link;
  }
  return path;
}

// Opens a batch's spare file (the file the last save replaced, still named
// as its temporary file was) to be written over; -1 when there is none or it
// cannot be used, in which case it is removed. Its blocks are kept and zeroed
// (ext4 and XFS mark them unwritten, no data moves), then written over and
// cut to length at commit: emptying it would free them only for the write to
// allocate them again, and on a disk mounted with `discard` each free waits
// for the device. Zeroed, not merely written over: until the new bytes reach
// the disk a power cut can leave zeros in an output, never an older output's
// bytes. Where zeroing is not supported the spare is emptied after all.
int reuse_spare(const std::string& spare, std::string& name, off_t& old_size) {
  if (spare.empty()) return -1;
  int fd = ::open(spare.c_str(), O_WRONLY | O_NOFOLLOW | O_CLOEXEC);
  struct stat info {};
  const bool usable = fd >= 0 && ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
  if (usable && info.st_size > 0 && ::fallocate(fd, FALLOC_FL_ZERO_RANGE | FALLOC_FL_KEEP_SIZE, 0, info.st_size) == 0)
    old_size = info.st_size;
  if (usable && (old_size > 0 || ::ftruncate(fd, 0) == 0)) {
    name = spare;
    return fd;
  }
  if (fd >= 0) ::close(fd);
  ::unlink(spare.c_str());
  return -1;
}

}  // namespace

bool is_temp_file_name(const std::string& name, long& pid) {
  if (name.size() < 2 || name[0] != '.') return false;
  // The tag is searched from the end: a NAME may hold it too.
  const std::size_t tag = name.rfind(k_temp_tag);
  if (tag == std::string::npos || tag < 2) return false;
  std::size_t i = tag + std::strlen(k_temp_tag), digits = 0;
  pid = 0;
  for (; i < name.size() && name[i] >= '0' && name[i] <= '9' && digits < 10; ++i, ++digits)
    pid = pid * 10 + (name[i] - '0');
  if (digits == 0 || pid <= 0 || i >= name.size() || name[i] != '.' || name.size() - i - 1 != 6) return false;
  for (++i; i < name.size(); ++i)
    if (!std::isalnum(static_cast<unsigned char>(name[i]))) return false;
  return true;
}

void remove_stale_temp_files(const std::string& folder) {
  DIR* dir = ::opendir(folder.c_str());
  if (!dir) return;
  while (const dirent* e = ::readdir(dir)) {
    long pid = 0;
    if (!is_temp_file_name(e->d_name, pid)) continue;
    if (::kill(static_cast<pid_t>(pid), 0) == 0 || errno != ESRCH) continue;
    const std::string path = folder + "/" + e->d_name;
    struct stat info {};
    if (::lstat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) && info.st_uid == ::getuid()) ::unlink(path.c_str());
  }
  ::closedir(dir);
}

std::string spare_files::take(const std::string& folder) {
  if (path_.empty()) return "";
  if (folder_of(path_) != folder) {
    release();
    return "";
  }
  return std::exchange(path_, std::string());
}

void spare_files::keep(const std::string& path) {
  release();
  path_ = path;
  g_spare.note(path);
}

void spare_files::release() {
  const termination_held held;
  if (!path_.empty()) ::unlink(path_.c_str());
  g_spare.set = 0;
  path_.clear();
}

bool sync_folder(const std::string& folder, std::string& error) {
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) {
    error = std::strerror(errno);
    return false;
  }
  const bool ok = ::syncfs(fd) == 0 && ::fsync(fd) == 0;
  if (!ok) error = std::strerror(errno);
  ::close(fd);
  return ok;
}

void remove_pending_temp_file() {
  if (g_pending_temp.set) ::unlink(g_pending_temp.path);
  if (g_spare.set) ::unlink(g_spare.path);
}

atomic_file::~atomic_file() { abandon(); }

bool atomic_file::open(const std::string& target, const save_options& how) {
  abandon();
  sync_ = how.sync_each_file;
  spares_ = how.spares;
  error_.clear();
  refused_ = false;
  write_failed_ = false;
  // A link is written through: the file it names gets the new content.
  const std::string path = resolve_links(target);
  const mode_t mask = umask(0);
  umask(mask);
  mode_t mode = 0666 & ~mask;
  struct stat old_stat {};
  if (::stat(path.c_str(), &old_stat) == 0) {
    // Only a regular file is ever replaced, and only one its user may write.
    if (!S_ISREG(old_stat.st_mode)) {
      error_ = S_ISDIR(old_stat.st_mode) ? "It is a folder" : "It is not a regular file (a device, FIFO or socket)";
      refused_ = true;
      return false;
    }
    if (::access(path.c_str(), W_OK) != 0 || (old_stat.st_mode & 0222) == 0) {
      error_ = "The file is read-only, or you may not write it";
      refused_ = true;
      return false;
    }
    mode = old_stat.st_mode & 07777;
  } else if (errno != ENOENT) {
    error_ = std::strerror(errno);
    return false;
  }
  target_ = path;
  if (how.sweep_stale_temps) remove_stale_temp_files(folder_of(path));
  const termination_held held;
  std::string pattern = temp_pattern(path);
  spare_size_ = 0;
  int fd = spares_ ? reuse_spare(spares_->take(folder_of(path)), pattern, spare_size_) : -1;
  if (fd < 0) fd = mkstemp(pattern.data());
  if (fd < 0) {
    error_ = std::strerror(errno);
    return false;
  }
  // mkstemp makes the file private; give it the old file's permissions, or
  // those a plain create would.
  fchmod(fd, mode);
  file_ = fdopen(fd, "wb");
  if (!file_) {
    error_ = std::strerror(errno);
    ::close(fd);
    ::unlink(pattern.c_str());
    return false;
  }
  temp_ = pattern;
  note_pending_temp(temp_);
  return true;
}

bool atomic_file::write(const char* data, std::size_t len) {
  if (!file_) return false;
  if (len == 0) return true;
  const bool ok = std::fwrite(data, 1, len, file_) == len;
  if (!ok && !write_failed_) {
    write_failed_ = true;
    error_ = std::strerror(errno);  // the system's words: "No space left on device"
  }
  return ok;
}

bool atomic_file::commit() {
  if (!file_) return false;
  auto failed = [&](bool ok) {
    if (!ok && error_.empty()) error_ = std::strerror(errno);
    return ok;
  };
  bool ok = !write_failed_ && failed(std::fflush(file_) == 0);
  // A reused spare longer than the new content loses what is left of it.
  if (ok && spare_size_ > 0) {
    const off_t written = ::lseek(fileno(file_), 0, SEEK_CUR);
    ok = written >= 0 && (written >= spare_size_ || ::ftruncate(fileno(file_), written) == 0);
  }
  ok = ok && (!sync_ || failed(fsync(fileno(file_)) == 0));
  ok = failed(std::fclose(file_) == 0) && ok;
  file_ = nullptr;
  const termination_held held;
  if (ok) {
    // In a batch the old file, when it is ours alone, changes places with
    // the new one and is kept as the next temporary file.
    struct stat old {};
    if (spares_ && ::lstat(target_.c_str(), &old) == 0 && S_ISREG(old.st_mode) && old.st_nlink == 1 &&
        old.st_uid == ::getuid() &&
        ::renameat2(AT_FDCWD, temp_.c_str(), AT_FDCWD, target_.c_str(), RENAME_EXCHANGE) == 0) {
      spares_->keep(temp_);
    } else {
      ok = failed(std::rename(temp_.c_str(), target_.c_str()) == 0);
    }
  }
  if (!ok) {
    if (error_.empty()) error_ = write_failed_ ? "a write failed (is the disk full?)" : "the file could not be completed";
    ::unlink(temp_.c_str());
  }
  g_pending_temp.set = 0;
  temp_.clear();
  return ok;
}

void atomic_file::abandon() {
  if (file_) std::fclose(file_);
  file_ = nullptr;
  if (!temp_.empty()) ::unlink(temp_.c_str());
  if (!temp_.empty()) g_pending_temp.set = 0;
  temp_.clear();
}

void k_writefile(byte_sink& sink, run_log& log, const char* str, std::size_t str_len) {
  if (!sink.write(str, str_len)) log.write_error_log("write_planet_file", "Write to planet file failed");
}

}  // namespace lobe

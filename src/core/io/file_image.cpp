#include "core/io/file_image.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <new>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>

namespace lobe {

image_status read_file_image(std::FILE* file, std::string& image) {
  struct stat info {};
  if (fstat(fileno(file), &info) != 0 || info.st_size < 0) return image_status::no_size;
  try {
    image.assign(static_cast<std::size_t>(info.st_size), '\0');
  } catch (const std::bad_alloc&) {
    return image_status::no_size;
  } catch (const std::length_error&) {
    return image_status::no_size;
  }
  const std::size_t got = std::fread(image.data(), 1, image.size(), file);
  if (got != image.size()) {
    // A read error is an error; a file that shrank since it was measured is
    // read as far as it goes.
    if (std::ferror(file)) return image_status::read_failed;
    image.resize(got);
  }
  return image_status::ok;
}

std::optional<std::string> read_whole_file(const std::string& path) {
  std::FILE* f = open_for_reading(path);
  if (!f) return std::nullopt;
  std::string text;
  const image_status status = read_file_image(f, text);
  std::fclose(f);
  if (status == image_status::no_size) return std::nullopt;
  return text;
}

std::FILE* open_for_reading(const std::string& fn) {
  // Non-blocking, so that opening a FIFO nobody writes to returns at once;
  // only a regular file of a sane size is read.
  const int fd = ::open(fn.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return nullptr;
  struct stat info {};
  int refused = 0;
  if (fstat(fd, &info) != 0)
    refused = errno;
  else if (S_ISDIR(info.st_mode))
    refused = EISDIR;
  else if (!S_ISREG(info.st_mode))
    refused = ENODEV;
  else if (info.st_size > MAX_INPUT_BYTES)
    refused = EFBIG;
  if (refused == 0) {
    const int flags = fcntl(fd, F_GETFL);
    if (flags < 0 || fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) < 0) refused = errno;
  }
  std::FILE* f = refused == 0 ? fdopen(fd, "rb") : nullptr;
  if (!f) {
    const int e = refused ? refused : errno;
    ::close(fd);
    errno = e;
  }
  return f;
}

std::string open_failure_text(int e) {
  switch (e) {
    case EISDIR: return "it is a folder";
    case ENODEV: return "it is not a regular file (a device, FIFO or socket)";
    case EFBIG: return "it is larger than the 64 MB a pattern file can be";
    case 0: return "it cannot be read";
    default: return std::strerror(e);
  }
}

}  // namespace lobe

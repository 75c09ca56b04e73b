#include "core/file_image.h"

#include <new>
#include <stdexcept>
#include <sys/stat.h>

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
  if (std::fread(image.data(), 1, image.size(), file) != image.size()) return image_status::read_failed;
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
  std::FILE* f = std::fopen(fn.c_str(), "rb");
  if (!f) return nullptr;
  struct stat info {};
  if (fstat(fileno(f), &info) != 0 || S_ISDIR(info.st_mode)) {
    std::fclose(f);
    return nullptr;
  }
  return f;
}

}  // namespace lobe

#include "cli/output_guard.h"

#include <sys/stat.h>

#include <algorithm>
#include <cctype>

#include "core/formats/file_types.h"

namespace lobe::lobeconv {

std::optional<std::string> input_written_over(const std::string& output, const std::vector<std::string>& inputs) {
  struct stat out {};
  if (::stat(output.c_str(), &out) != 0) return std::nullopt;
  for (const std::string& in : inputs) {
    struct stat info {};
    if (::stat(in.c_str(), &info) == 0 && info.st_dev == out.st_dev && info.st_ino == out.st_ino) return in;
  }
  return std::nullopt;
}

bool refuse_output_over_input(const std::string& output, const std::vector<std::string>& inputs, std::ostream& err) {
  const auto input = input_written_over(output, inputs);
  if (!input) return false;
  err << "lobeconv: not writing " << output << ": it is the same file as the input " << *input << "\n";
  return true;
}

bool is_picture_name(const std::string& path) {
  std::string ext = dialog_extension(path);
  std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  for (const char* picture : {"png", "svg", "pdf", "jpg", "jpeg", "gif", "bmp", "tif", "tiff", "webp"})
    if (ext == picture) return true;
  return false;
}

}  // namespace lobe::lobeconv

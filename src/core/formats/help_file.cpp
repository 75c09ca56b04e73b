#include "core/formats/help_file.h"

#include <algorithm>

#include "core/text/c_numeric.h"
#include "core/text/field_text.h"
#include "core/io/file_image.h"
#include "core/formats/line_splitter.h"

namespace lobe {

namespace {

void append_line(std::string& section, const char* line) {
  std::string text = "\r\n";
  text += line;
  const std::size_t room = HELP_TEXT_MAX - std::min(section.size(), HELP_TEXT_MAX);
  section.append(text, 0, std::min(room, text.size()));
}

}  // namespace

void new_help_data(help_texts& help, int& help_file_proc, const char* pdata) {
  char name[5] = "";
  if (pdata[0] == '[' && c_sscanf(pdata, "[%4s", name) == 1) {
    if (equals_nocase(name, "FILE"))
      help_file_proc = 1;
    else if (equals_nocase(name, "VIEW"))
      help_file_proc = 2;
    else if (equals_nocase(name, "TEST"))
      help_file_proc = 3;
    return;
  }
  switch (help_file_proc) {
    case 1: append_line(help.help_info_files, pdata); break;
    case 2: append_line(help.help_info_views, pdata); break;
    case 3: append_line(help.help_info_testrange, pdata); break;
    default: break;  // text before the first section is dropped
  }
}

void read_help_image(help_texts& help, std::string_view image) {
  help = help_texts{};
  int help_file_proc = 0;
  split_lines(image, LINE_LIMIT, [&](const char* line) { new_help_data(help, help_file_proc, line); });
}

bool read_help_file(help_texts& help, const std::string& path) {
  help = help_texts{};
  std::FILE* file = open_for_reading(path);
  if (!file) return false;
  std::string image;
  if (read_file_image(file, image) == image_status::ok) read_help_image(help, image);
  std::fclose(file);
  return true;
}

}  // namespace lobe

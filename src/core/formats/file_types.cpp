#include "core/formats/file_types.h"

#include <cctype>

#include "core/formats/format_table.h"
#include "core/text/field_text.h"
#include "core/base/lobeview.h"

namespace lobe {

std::string file_title(std::string_view path) {
  const auto slash = path.find_last_of("/\\");
  return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

std::string dialog_extension(std::string_view path) {
  const std::string title = file_title(path);
  const auto dot = title.find_last_of('.');
  if (dot == std::string::npos) return "";
  std::string_view rest = std::string_view(title).substr(dot + 1);
  std::size_t i = 0;
  while (i < rest.size() && is_c_space(rest[i])) ++i;
  std::string out;
  while (i < rest.size() && !is_c_space(rest[i]) && out.size() < 4) out += rest[i++];
  return out;
}

int open_type_from_extension(std::string_view fx) {
  for (const pattern_format& f : pattern_formats())
    if (f.opened_by_extension && equals_nocase(fx, f.extension)) return f.type;
  return FT_BY_DEFAULT;
}

int save_type_from_extension(std::string_view fx) {
  for (const pattern_format& f : pattern_formats())
    if (f.saved_by_extension && equals_nocase(fx, f.extension)) return f.type;
  return FT_BY_DEFAULT;
}

}  // namespace lobe

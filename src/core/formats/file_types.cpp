#include "core/formats/file_types.h"

#include <array>
#include <utility>

#include "core/text/field_text.h"
#include "core/record/lobeview.h"

namespace lobe {

namespace {
}  // namespace

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
  if (equals_nocase(fx, "NSMA")) return FT_NSMA99;
  if (equals_nocase(fx, "LABZ")) return FT_LABZ;
  if (equals_nocase(fx, "ADF")) return FT_ADF;
  if (equals_nocase(fx, "ANT")) return FT_ANT;
  if (equals_nocase(fx, "TXT")) return FT_4NEC;
  return FT_PLANET;
}

int startup_type_from_name(std::string_view fn) {
  // Order matters: each match overrides the one before, so site.antenna.nsma is an ANT file.
  static constexpr std::array<std::pair<const char*, int>, 10> k_marks = {{
      {".nsma", FT_NSMA99},
      {".labz", FT_LABZ},
      {".adf", FT_ADF},
      {".ant", FT_ANT},
      {".pla", FT_PLANET},
      {".NSMA", FT_NSMA99},
      {".LABZ", FT_LABZ},
      {".ADF", FT_ADF},
      {".ANT", FT_ANT},
      {".PLA", FT_PLANET},
  }};
  int type = 0;
  for (const auto& [mark, t] : k_marks)
    if (fn.find(mark) != std::string_view::npos) type = t;
  return type;
}

int save_type_from_extension(std::string_view fx) {
  if (equals_nocase(fx, "LABZ")) return FT_LABZ;
  if (equals_nocase(fx, "NSMA")) return FT_NSMA99;
  if (equals_nocase(fx, "ADF")) return FT_ADF;
  if (equals_nocase(fx, "ANT")) return FT_ANT;
  return FT_PLANET;
}

}  // namespace lobe

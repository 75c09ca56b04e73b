#include "core/formats/format_table.h"

#include <array>

#include "core/formats/ant_format.h"
#include "core/formats/nsma89_reader.h"
#include "core/formats/nsma_reader.h"
#include "core/formats/nsma_writer.h"
#include "core/formats/planet_format.h"

namespace lobe {

namespace {

// Files named .nsma without REVNUM on their first line are of the older positional layout.
int nsma_by_content(std::string_view image) { return image.starts_with("REVNUM") ? FT_NSMA99 : FT_NSMA89; }

void write_nsma(const pattern_record& rec, byte_sink& out, core_io& io, const write_options& how) {
  write_nsma_file(rec, out, io.log, 0, how);
}
void write_labz(const pattern_record& rec, byte_sink& out, core_io& io, const write_options& how) {
  write_nsma_file(rec, out, io.log, 1, how);
}
void write_ant(const pattern_record& rec, byte_sink& out, core_io& io, const write_options& how) {
  write_ant_file(rec, out, io.log, how);
}

constexpr std::array<pattern_format, 7> k_formats = {{
    {.type = FT_NSMA99, .name = "NSMA 1999", .extension = "nsma", .opened_by_extension = true,
     .saved_by_extension = true, .type_by_content = nsma_by_content,
     .parse = new_nsma_data, .finish = nullptr, .write = write_nsma, .settles_first_last = true,
     .carries = "every frequency and cut, the whole header", .files = "NSMA Files"},
    {.type = FT_LABZ, .name = "LABZ", .extension = "labz", .opened_by_extension = true, .saved_by_extension = true,
     .type_by_content = nullptr, .parse = new_nsma_data, .finish = finish_labz_data,
     .write = write_labz, .settles_first_last = true,
     .carries = "as NSMA, plus each cut's peak level and the envelope shown", .files = "LABZ Files"},
    {.type = FT_ADF, .name = "ADF", .extension = "adf", .opened_by_extension = true, .saved_by_extension = true,
     .type_by_content = nullptr, .parse = new_nsma_data, .finish = nullptr,
     .write = write_nsma, .settles_first_last = true, .carries = "as NSMA (written as NSMA)", .files = "ADF Files"},
    {.type = FT_ANT, .name = "ANT V1/V2/V3", .extension = "ant", .opened_by_extension = true,
     .saved_by_extension = true, .type_by_content = nullptr, .parse = new_ant_data,
     .finish = post_process_ant_data, .write = write_ant, .settles_first_last = false,
     .carries = "one horizontal and one vertical cut of whole degrees, levels only", .files = "ANT Files"},
    {.type = FT_PLANET, .name = "Planet", .extension = "pla", .opened_by_extension = false,
     .saved_by_extension = false, .type_by_content = nullptr, .parse = new_planet_data,
     .finish = nullptr, .write = write_planet_file, .settles_first_last = false,
     .carries = "one horizontal and one vertical cut, name, make, frequency, gain and a few header fields",
     .files = "Planet Files"},
    {.type = FT_4NEC, .name = "4NEC table", .extension = "txt", .opened_by_extension = true,
     .saved_by_extension = false, .type_by_content = nullptr, .parse = nullptr,
     .finish = nullptr, .write = nullptr, .settles_first_last = false,
     .carries = "one cut, added to the first frequency", .files = "4NEC Files"},
    {.type = FT_NSMA89, .name = "NSMA, older positional layout", .extension = nullptr,
     .opened_by_extension = false, .saved_by_extension = false,
     .type_by_content = nullptr, .parse = new_nsma_89_data, .finish = nullptr, .write = nullptr,
     .settles_first_last = false, .carries = "the header and cuts of the older layout (read only)", .files = nullptr},
}};

}  // namespace

std::span<const pattern_format> pattern_formats() { return k_formats; }

std::vector<format_filter> format_filters(std::initializer_list<int> types) {
  std::vector<format_filter> out;
  for (int type : types)
    if (const pattern_format* f = format_of_type(type); f && f->files && f->extension)
      out.push_back({std::string(f->files) + " (*." + f->extension + ")", std::string("*.") + f->extension});
  out.push_back({"All Files (*.*)", "*.*"});
  return out;
}

const pattern_format* format_of_type(int type) {
  for (const pattern_format& f : k_formats)
    if (f.type == type) return &f;
  return nullptr;
}

}  // namespace lobe

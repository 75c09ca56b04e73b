#include "core/formats/format_table.h"

#include <array>

#include "core/formats/ant_format.h"
#include "core/formats/nsma89_reader.h"
#include "core/formats/nsma_reader.h"
#include "core/formats/nsma_writer.h"
#include "core/formats/planet_format.h"

namespace lobe {

namespace {

void parse_nsma(lobe_state& st, reader_state& rs, core_io& io, const char* line) { new_nsma_data(st, rs, io, line); }
void parse_planet(lobe_state& st, reader_state& rs, core_io&, const char* line) { new_planet_data(st, rs, line); }
void parse_ant(lobe_state&, reader_state& rs, core_io& io, const char* line) { new_ant_data(rs, io, line); }
void parse_nsma89(lobe_state& st, reader_state& rs, core_io&, const char* line) { new_nsma_89_data(st, rs, line); }

void write_nsma(lobe_state& st, byte_sink& out, core_io& io) { write_nsma_file(st, out, io.log, 0); }
void write_labz(lobe_state& st, byte_sink& out, core_io& io) { write_nsma_file(st, out, io.log, 1); }
void write_planet(lobe_state& st, byte_sink& out, core_io& io) { write_planet_file(st, out, io); }
void write_ant(lobe_state& st, byte_sink& out, core_io& io) { write_ant_file(st, out, io.log); }

constexpr std::array<pattern_format, 7> k_formats = {{
    {FT_NSMA99, "NSMA 1999", "nsma", true, true, true, parse_nsma, write_nsma,
     "every frequency and cut, the whole header", "NSMA Files"},
    {FT_LABZ, "LABZ", "labz", true, true, true, parse_nsma, write_labz,
     "as NSMA, plus each cut's peak level and the envelope shown", "LABZ Files"},
    {FT_ADF, "ADF", "adf", true, true, true, parse_nsma, write_nsma, "as NSMA (written as NSMA)", "ADF Files"},
    {FT_ANT, "ANT V1/V2/V3", "ant", true, true, true, parse_ant, write_ant,
     "one horizontal and one vertical cut of whole degrees, levels only", "ANT Files"},
    {FT_PLANET, "Planet", "pla", false, false, true, parse_planet, write_planet,
     "one horizontal and one vertical cut, name, make, frequency, gain and a few header fields", "Planet Files"},
    {FT_4NEC, "4NEC table", "txt", true, false, false, nullptr, nullptr, "one cut, added to the first frequency",
     "4NEC Files"},
    {FT_NSMA89, "NSMA, older positional layout", nullptr, false, false, false, parse_nsma89, nullptr,
     "the header and cuts of the older layout (read only)", nullptr},
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

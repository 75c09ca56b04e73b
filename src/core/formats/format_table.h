// Every pattern format in one table: its file type, the extension that
// names it, how its lines are parsed, how it is written and what it can
// carry. Opening, saving, the start-up path and lobeconv all choose from
// here; adding a format is one reader/writer file and one row.
#pragma once

#include <initializer_list>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/formats/pattern_io.h"

namespace lobe {

// One format: how files of it are named, recognised, read and written. A
// row is all a new format adds outside its own reader/writer file.
struct pattern_format {
  int type;                  // FT_*
  const char* name;
  const char* extension;     // lower case, without the dot; nullptr when none names it
  bool opened_by_extension;  // the Open command takes the extension (any case)
  bool saved_by_extension;   // the Save command writes it for the extension (any case)
  // The type a file of this extension really is, from its content; nullptr: the extension decides.
  int (*type_by_content)(std::string_view image);
  line_parser parse;         // nullptr: read apart (a 4NEC table adds one cut)
  read_finisher finish;      // after the lines; nullptr: nothing
  pattern_writer write;      // nullptr: never written (saved as NSMA)
  // A save leaves the first/last angles it wrote in the record (settle_first_last).
  bool settles_first_last;
  const char* carries;       // what a file of it can hold
  const char* files;         // how a file dialog names its files ("NSMA Files"); nullptr: not offered
};

std::span<const pattern_format> pattern_formats();

// The row of a file type; nullptr for none.
const pattern_format* format_of_type(int type);

// A file dialog's filter: "NSMA Files (*.nsma)" and "*.nsma".
struct format_filter {
  std::string description, pattern;
};
// The filters of these file types in this order, then "All Files (*.*)".
std::vector<format_filter> format_filters(std::initializer_list<int> types);

// What any other extension is taken for, when opening and when saving.
inline constexpr int FT_BY_DEFAULT = FT_PLANET;

}  // namespace lobe

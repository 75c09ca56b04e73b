#include "core/formats/pattern_reading.h"

#include <memory>

#include "core/formats/file_errors.h"
#include "core/formats/format_table.h"
#include "core/formats/line_splitter.h"
#include "core/formats/long_cuts.h"
#include "core/formats/signed_levels.h"

namespace lobe {

bool has_lf_only_line_ends(std::string_view image) {
  return image.find('\n') != std::string_view::npos && image.find('\r') == std::string_view::npos;
}

bool has_points(const antenna_data_type& pd) {
  for (int f = 0; f < count_in(pd.nofreq, MAX_FREQ); ++f)
    for (int c = 0; c < count_in(pd.freq[f].numcut, MAX_CUTS); ++c)
      if (points_to_write(pd.freq[f].cut[c]) > 0) return true;
  return false;
}

namespace {

void parse_lines(pattern_record& rec, reader_state& rs, core_io& io, const std::string& image) {
  const pattern_format* format = format_of_type(rs.found.file_type);
  if (format && format->type_by_content) rs.found.file_type = format->type_by_content(image);
  // The format's line parser, looked up once: no line changes the type.
  format = format_of_type(rs.found.file_type);
  if (const auto parse = format ? format->parse : nullptr)
    split_lines(image, LINE_LIMIT, [&](const char* line) { parse(rec, rs, io, line); }, rs.options.lf_line_ends);
  if (rs.found.file_errors != 0) report_file_errors(io.report, rs.found.file_type, rs.found.file_errors);
  rs.found.lines_read = true;
}

// The older NSMA layout takes each field from its line, so an LF-only file
// of it gives fields and points cut out of the wrong places, not nothing:
// that is dropped, and the user told as for the other formats.
void refuse_lf_only(pattern_record& rec, load_report& found) {
  if (found.file_type == FT_NSMA89 && has_points(rec.pd)) {
    clear_cut_data(rec.pd);
    clear_planet_header_data(rec.pd, rec.all_emax);
  }
  if (!has_points(rec.pd)) {
    found.lf_only_empty = true;
    found.notices.insert(found.notices.begin(), LF_ONLY_NOTICE);
  }
}

}  // namespace

load_report read_pattern_image(pattern_record& rec, const load_options& options, core_io& io,
                               const std::string* image) {
  auto rs = std::make_unique<reader_state>();  // a few kilobytes of staged rows
  rs->options = options;
  rs->found.file_type = options.file_type;
  if (image) parse_lines(rec, *rs, io, *image);
  const pattern_format* format = format_of_type(rs->found.file_type);
  if (format && format->finish) format->finish(rec, *rs, io);
  finish_long_cuts(rec, *rs);
  finish_signed_levels(rec, *rs);
  if (image && !options.lf_line_ends && has_lf_only_line_ends(*image)) refuse_lf_only(rec, rs->found);
  return std::move(rs->found);
}

}  // namespace lobe

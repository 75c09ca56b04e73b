#include "draw/print_page.h"

#include <algorithm>
#include <string>

#include "core/analysis/cut_verdicts.h"
#include "core/text/c_numeric.h"
#include "core/io/run_log.h"
#include "draw/chart_scale.h"
#include "draw/emr_chart.h"
#include "draw/polar_chart.h"
#include "draw/view_renderer.h"

namespace lobe {

page_geometry print_page_geometry(const page_setup& s) {
  page_geometry g{};
  g.ppm = (s.ppi * 10) / 254;
  g.margin = 12 * g.ppm;
  g.page = {g.margin, g.margin, s.horzres - g.margin, s.vertres - g.margin};
  g.page_width = g.page.right - g.page.left;
  g.page_height = g.page.bottom - g.page.top;
  const int foot = g.page.bottom - 32 * g.ppm;
  g.ft1 = {g.page.left, foot};
  g.ft2 = {g.page.left + (s.landscape ? g.page_width / 4 : g.page_width / 3), foot};
  g.ft3 = {g.page.right - (s.landscape ? g.page_width / 2 : g.page_width / 3), foot};
  g.ft = {g.page.left, g.page.bottom - 5 * g.ppm};
  g.cb1 = s.landscape ? point{g.page.left, g.page.top + 80 * g.ppm} : point{g.page.right - 44 * g.ppm, g.page.top + 14 * g.ppm};
  g.scf = static_cast<float>(static_cast<float>(s.ppi) / static_cast<float>(s.screen_ppi > 0 ? s.screen_ppi : 96) * 0.95);
  if (s.landscape) {
    g.gxh = (g.page.left + g.page.right) * 2 / 5 - 8 * g.ppm;
    g.gxv = (g.page.left + g.page.right) * 4 / 5 - 10 * g.ppm;
    g.gy = (g.page.top + g.page.bottom) / 2;
    g.radius = g.gy - 60 * g.ppm;
  } else {
    g.gxh = g.gxv = (g.page.left + g.page.right) / 2;
    g.gy = (g.page.top + g.page.bottom) / 2 + 10 * g.ppm;
    g.radius = g.gxh - 30 * g.ppm;
  }
  return g;
}

namespace {

font arial(float scf, int nominal, int weight, bool italic) { return {pix(double(scf) * nominal), weight, italic}; }

void labelled_row(surface& dc, float scf, int x, int y, std::string_view label, std::string_view data, int value_at) {
  dc.select_font(arial(scf, 16, 700, true));
  dc.text_out(x, y, label);
  dc.select_font(arial(scf, 16, 400, true));
  dc.text_out(pix(x + double(value_at) * scf), y, data);
}

// Rows of a block, each 15 screen units below the one before.
struct row_cursor {
  int x, y;
  float scf;
  void next() { y = pix(y + 15.0 * scf); }
};

// The captioned rows of a block of header fields.
void header_rows(surface& dc, row_cursor& at, const antenna_data_type& pd, page_block block) {
  for (const header_field* f : page_fields(block)) {
    print_string(dc, at.scf, at.x, at.y, f->caption, field_text(pd, *f));
    at.next();
  }
}

int filled_descriptions(const antenna_data_type& pd) { return static_cast<int>(description_lines(pd).size()); }

// The chart of the page: the polar and EMR charts are laid out in screen
// units (scaled by scf as they draw), the rectangular ones in device pixels.
view_geometry page_view_geometry(const lobe_state& st, const page_geometry& g, bool landscape, const page_extras& extras) {
  const float scf = g.scf;
  auto screen = [&](int v) { return pix(double(v) / double(scf)); };
  view_geometry v;
  v.scf = scf;
  v.xh = screen(g.gxh);
  v.xv = screen(g.gxv);
  v.y = screen(g.gy);
  v.radius = screen(g.radius);
  v.second_polar_grid = landscape;
  v.rch = {g.gxh - g.radius, g.gy - 5 * g.radius / 7, g.gxh + g.radius, g.gy + 5 * g.radius / 7};
  v.rcv = landscape ? rect{g.gxv - g.radius, v.rch.top, g.gxv + g.radius, v.rch.bottom} : v.rch;
  v.second_rect_grid = landscape;
  v.emr_left = screen(g.page.left);
  v.emr_right = screen(g.page.right);
  v.emr_y = screen(g.gy);
  v.emr_radius = screen(g.radius);
  v.emr_text.printing = true;
  v.emr_text.label_x = 55.0;
  v.emr_text.value_x = 315.0;
  v.emr_text.first_line_y = 95.0;
  v.emr_text.line_step = 16.0;
  v.emr_text.descr_lines = printed_emr_first_line(st, g, landscape);
  v.reference = extras.reference;
  v.difference = extras.difference;
  v.compare = extras.compare;
  return v;
}

}  // namespace

void print_string(surface& dc, float scf, int x, int y, std::string_view label, std::string_view data) {
  labelled_row(dc, scf, x, y, label, data, 140);
}

void print_f_string(surface& dc, float scf, int x, int y, std::string_view label, std::string_view data) {
  labelled_row(dc, scf, x, y, label, data, 90);
}

void print_cut_string(const lobe_state& st, surface& dc, float scf, int x, int y, std::string_view cut,
                      std::string_view pol, int graph_num) {
  pen_keeper keep(dc);
  // Half a millimetre on paper, whatever the printer's resolution.
  dc.select_pen({pen_style::solid, std::max(1, pix(2.0 * scf)), cut_colour(st, graph_num)});
  dc.move_to(x, pix(y + 8.0 * scf));
  dc.line_to(pix(x + 20.0 * scf), pix(y + 8.0 * scf));
  const colorref old = dc.set_text_color(rgb(40, 40, 40));
  dc.select_font(arial(scf, 16, 400, true));
  dc.text_out(pix(x + 35.0 * scf), y, cut);
  dc.text_out(pix(x + 65.0 * scf), y, pol);
  dc.set_text_color(old);
}

rect legend_box(const page_geometry& g, bool landscape, int display_type) {
  if (landscape) {
    // Under the header column, left of the horizontal chart, above the footer.
    const int chart_left = display_type == DISPLAY_TYPE_POLAR ? g.gxh - g.radius - 12 * g.ppm : g.gxh - g.radius;
    return {g.cb1.x, g.cb1.y, std::max(g.cb1.x + LEGEND_COLUMN_MM * g.ppm / 2, chart_left), g.ft1.y - 4 * g.ppm};
  }
  // Top right, above the chart; more columns may reach left over the
  // third of the page beside the header blocks.
  const int chart_top = display_type == DISPLAY_TYPE_POLAR ? g.gy - g.radius - 12 * g.ppm : g.gy - 5 * g.radius / 7 - 14 * g.ppm;
  return {g.page.right - g.page_width / 3, g.cb1.y, g.page.right, std::max(g.cb1.y + 15 * g.ppm, chart_top)};
}

legend_layout fit_legend(int rows, const rect& box, int row_height, int column_width, bool from_right) {
  const int one_column_left = from_right ? box.right - column_width : box.left;
  legend_layout best{one_column_left, box.top, 1, std::max(1, rows), 0.0f};
  if (rows <= 0 || row_height <= 0 || column_width <= 0) return {one_column_left, box.top, 1, 1, 1.0f};
  const double height = box.bottom - box.top, width = box.right - box.left;
  for (int columns = 1; columns <= rows; ++columns) {
    const int per_column = (rows + columns - 1) / columns;
    const double scale = std::min({1.0, height / (double(per_column) * row_height), width / (double(columns) * column_width)});
    if (scale > best.scale + 1e-9) {
      best.columns = columns;
      best.rows_per_column = per_column;
      best.scale = static_cast<float>(scale);
    }
    if (scale >= 1.0) break;
  }
  // One full-size column stands where the legend always stood: at the right
  // of its box on a portrait page, at the left on a landscape one.
  best.left = from_right ? box.right - pix(double(best.columns) * column_width * best.scale) : box.left;
  best.top = box.top;
  return best;
}

int printed_emr_first_line(const lobe_state& st, const page_geometry& g, bool landscape) {
  // The header column holds 8 rows (14 in landscape, where the second block
  // follows in the same column), and in portrait the description lines.
  double bottom = g.page.top + 14.0 * g.ppm;
  for (int i = 0; i < (landscape ? 14 : 8); ++i) bottom = pix(bottom + 15.0 * g.scf);
  if (!landscape) bottom += 4.0 * g.scf + filled_descriptions(st.pd) * 12.0 * g.scf;
  const double rows = (bottom / g.scf - 95.0) / 16.0;
  const int line = rows > 0 ? static_cast<int>(rows) + 1 : 0;
  return line + 1;  // and one blank row
}

namespace {

// The page's frame, title, print time, logo and version.
void print_frame(const lobe_state& st, surface& dc, const page_geometry& g, bool landscape) {
  const float scf = g.scf;
  dc.select_pen({pen_style::solid, pix(3.0 * scf), rgb(0, 0, 20)});
  const int l = g.page.left - g.ppm, t = g.page.top - g.ppm, r = g.page.right + g.ppm, b = g.page.bottom + g.ppm;
  dc.move_to(l, t);
  dc.line_to(r, t);
  dc.line_to(r, b);
  dc.line_to(l, b);
  dc.line_to(l, t);

  dc.select_font(arial(scf, 25, 700, true));
  dc.text_out(g.page.left + (landscape ? 90 : 60) * g.ppm, g.page.top,
              st.view.display_type == DISPLAY_TYPE_EMR ? "EMR Pattern Response" : "Antenna Radiation Pattern");
  dc.select_font(arial(scf, 15, 700, false));
  dc.text_out(g.page.right - 54 * g.ppm, g.page.top, "Printed - " + ss_get_system_time());
  dc.draw_picture(picture::logo, g.page.left + 2 * g.ppm, g.page.top + g.ppm, 35 * g.ppm, 10 * g.ppm);
  dc.select_font(arial(scf, 12, 400, true));
  dc.text_out(g.page.right - 18 * g.ppm, g.page.bottom + 2 * g.ppm, LOBEVIEW_VERSION);
}

// The header blocks at the top of the page, with the description lines.
void print_header(const antenna_data_type& pd, surface& dc, const page_geometry& g, bool landscape) {
  const float scf = g.scf;
  row_cursor at{g.page.left, g.page.top + 14 * g.ppm, scf};
  header_rows(dc, at, pd, page_block::identity);
  if (!landscape) {
    at.y = pix(at.y + 4.0 * scf);
    dc.select_font(arial(scf, 14, 400, true));
    for (const char* d : description_lines(pd)) {
      dc.text_out(g.page.left, at.y, d);
      at.y = pix(at.y + 12.0 * scf);
    }
    at = {g.page.left + g.page_width / 3 + 20 * g.ppm, g.page.top + 14 * g.ppm, scf};
  }
  header_rows(dc, at, pd, page_block::physical);

  if (landscape) {
    dc.select_font(arial(scf, 14, 400, true));
    int y = g.page.top + 14 * g.ppm;
    for (const char* d : description_lines(pd)) {
      dc.text_out(g.page.left + g.page_width * 3 / 5, y, d);
      y = pix(y + 15.0 * scf);
    }
  }
}

// The performance blocks and the file name at the foot of the page.
void print_footer(const lobe_state& st, surface& dc, const page_geometry& g) {
  const antenna_data_type& pd = st.pd;
  const float scf = g.scf;
  row_cursor col1{g.ft1.x, g.ft1.y, scf}, col2{g.ft2.x, g.ft2.y, scf}, col3{g.ft3.x, g.ft3.y, scf};
  header_rows(dc, col1, pd, page_block::band);
  header_rows(dc, col2, pd, page_block::beam);
  header_rows(dc, col3, pd, page_block::power);
  if (st.file.filename_set) print_string(dc, scf, g.ft.x, g.ft.y, "File", st.file.szFileName_name);
}

// A cut's verdict after its name in the legend, red when it fails, smaller
// where the column has no room for it.
void print_verdict_word(surface& dc, float scf, int x, int y, int column_w, std::string_view word) {
  if (word.empty()) return;
  const int left = pix(x + 100.0 * scf), room = x + column_w - left;
  font f = arial(scf, 14, 700, true);
  dc.select_font(f);
  while (dc.text_extent(word).x > room && f.height > 1) {
    f.height = f.height * 9 / 10;
    dc.select_font(f);
  }
  const colorref old = dc.set_text_color(word == "fail" ? VERDICT_FAIL_COLOUR : rgb(40, 40, 40));
  dc.text_out(left, y, word);
  dc.set_text_color(old);
}

// Rows the envelope's title (three) or the polar chart's centre (two) take
// under the legend's last row; the reference's name goes below them.
int legend_mask_rows(const envelope_data_type* env, bool polar) { return env ? 3 : polar ? 2 : 0; }

// The lines that close the legend, under its last row: the envelope's
// title, or the polar chart's centre, then the reference's name.
void print_legend_closing(const lobe_state& st, surface& dc, float lscf, const row_cursor& legend,
                          const envelope_data_type* env, const page_extras& extras) {
  const bool polar = st.view.display_type == DISPLAY_TYPE_POLAR;
  if (env) {
    const int y = pix(legend.y + 4.0 * lscf);
    dc.select_font(arial(lscf, 16, 700, true));
    dc.text_out(legend.x, y, "Envelope");
    dc.select_font(arial(lscf, 14, 400, true));
    dc.text_out(legend.x, pix(y + 15.0 * lscf), env->title);
  }
  if (polar) {
    dc.select_font(arial(lscf, 16, 700, true));
    dc.text_out(legend.x, pix(legend.y + 15.0 * lscf), c_format("Centre dB -%d", centre_db_list[zoom_index(st.view)]));
  }
  if (extras.reference) {
    const int y = pix(legend.y + (legend_mask_rows(env, polar) * 15.0 + 4.0) * lscf);
    dc.select_font(arial(lscf, 16, 700, true));
    dc.text_out(legend.x, y, "Reference");
    dc.select_font(arial(lscf, 14, 400, true));
    dc.text_out(legend.x, pix(y + 15.0 * lscf), extras.reference_name);
  }
}

// The legend: each frequency with its shown cuts, and the envelope or the
// polar chart's centre, fitted into its box.
void print_legend(const lobe_state& st, surface& dc, const page_geometry& g, bool landscape, const page_extras& extras) {
  if (st.view.display_type == DISPLAY_TYPE_EMR) return;
  const antenna_data_type& pd = st.pd;
  const float scf = g.scf;
  const bool rectangular = st.view.display_type == DISPLAY_TYPE_RECT || st.view.display_type == DISPLAY_TYPE_RECT90;
  const envelope_data_type* env = rectangular ? active_envelope(st.ed) : nullptr;
  const std::vector<cut_verdict> verdicts = env || extras.reference
                                                ? cut_verdicts(pd, st.flags, env, extras.reference, extras.compare)
                                                : std::vector<cut_verdict>{};
  int rows = 0;
  for (int f = 0; f < count_in(pd.nofreq, MAX_FREQ); ++f) {
    ++rows;
    for (int c = 0; c < count_in(pd.freq[f].numcut, MAX_CUTS); ++c) rows += cut_is_shown(st.flags, f, c);
  }
  const int closing =
      legend_mask_rows(env, st.view.display_type == DISPLAY_TYPE_POLAR) + (extras.reference ? 2 : 0);
  const legend_layout fit = fit_legend(rows + closing, legend_box(g, landscape, st.view.display_type),
                                       pix(15.0 * scf), LEGEND_COLUMN_MM * g.ppm, !landscape);
  const float lscf = scf * fit.scale;
  const int column_w = pix(LEGEND_COLUMN_MM * g.ppm * double(fit.scale));
  int row = 0;
  row_cursor legend{fit.left, fit.top, lscf};
  // Rows run down a column, then on at the top of the next.
  auto next = [&] {
    legend.next();
    if (++row % fit.rows_per_column == 0) legend = {legend.x + column_w, fit.top, lscf};
  };
  int number = 0;
  for (int f = 0; f < count_in(pd.nofreq, MAX_FREQ); ++f) {
    print_f_string(dc, lscf, legend.x, legend.y, "Frequency", pd.freq[f].patfre);
    next();
    for (int c = 0; c < count_in(pd.freq[f].numcut, MAX_CUTS); ++c, ++number) {
      if (!cut_is_shown(st.flags, f, c)) continue;
      const cut_data_type& cut = pd.freq[f].cut[c];
      print_cut_string(st, dc, lscf, legend.x, legend.y, cut.patcut, cut.polari, number);
      for (const cut_verdict& v : verdicts)
        if (v.freq == f && v.cut == c) print_verdict_word(dc, lscf, legend.x, legend.y, column_w, v.word());
      next();
    }
  }
  print_legend_closing(st, dc, lscf, legend, env, extras);
}

}  // namespace

bool print_chart(const lobe_state& st, run_log& log, surface& dc, const page_setup& setup, cut_ends* ends,
                 const page_extras& extras) {
  const page_geometry g = print_page_geometry(setup);
  const bool landscape = setup.landscape;
  const font old_font = dc.select_font(arial(g.scf, 14, 400, true));
  pen_keeper keep(dc);
  const bool chart_drawn = draw_view(st, log, dc, page_view_geometry(st, g, landscape, extras), ends);
  const colorref old_colour = dc.set_text_color(rgb(0, 0, 50));
  print_frame(st, dc, g, landscape);
  print_header(st.pd, dc, g, landscape);
  print_footer(st, dc, g);
  print_legend(st, dc, g, landscape, extras);
  dc.set_text_color(old_colour);
  dc.select_font(old_font);
  return chart_drawn;
}

}  // namespace lobe

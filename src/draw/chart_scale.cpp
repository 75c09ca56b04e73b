#include "draw/chart_scale.h"

#include "core/text/field_text.h"

namespace lobe {

chart_range chart_range_of(const view_state& v) {
  if (v.mv_display) return {40, 4, 10};
  const int ix = zoom_index(v);
  return {centre_db_list[ix], centre_db_annuli[ix], centre_db_list[ix] / centre_db_annuli[ix]};
}

float level_length(const view_state& v, float signal, float shift, float k) {
  if (v.mv_display) return std::pow(10.0f, -signal / 20.0f) * k;
  const float l = (static_cast<float>(chart_range_of(v).centre_dbs) - signal - shift) * k;
  return l < 0.0f ? 0.0f : l;
}

colorref cut_colour(const lobe_state& st, int n) {
  return st.settings.gr_colours[static_cast<std::size_t>((gr_colour_init + n) % PALETTE_SIZE)];
}

pen hpo_grey(float scf) { return {pen_style::solid, pix(0.4 * scf), rgb(210, 210, 210)}; }
pen hpo_black(float scf) { return {pen_style::solid, pix(0.5 * scf), rgb(120, 120, 120)}; }
pen hpo_pale(float scf) { return {pen_style::solid, pix(0.2 * scf), rgb(230, 230, 230)}; }
pen trace_pen(float scf, int width, colorref colour) {
  return {pen_style::solid, pix(static_cast<double>(width) * scf), colour};
}

}  // namespace lobe

#include "draw/emr_chart.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "core/text/c_numeric.h"
#include "core/record/emr_exposure.h"
#include "core/io/run_log.h"
#include "draw/chart_scale.h"
#include "draw/label_placer.h"

namespace lobe {

namespace {

const colorref k_public = rgb(255, 255, 0);
const colorref k_occupational = rgb(255, 0, 0);
const colorref k_red_earth = rgb(184, 105, 72);
const colorref k_antenna = rgb(184, 105, 248);

// "%.2f W (%.2f dBW)", with a clear text where 0 W has no dBW value.
std::string watts_and_dbw(float watts, float dbw) {
  if (!std::isfinite(dbw)) return c_format("%.2f W (no dBW value)", static_cast<double>(watts));
  return c_format("%.2f W (%.2f dBW)", static_cast<double>(watts), static_cast<double>(dbw));
}

bool defined(float limit) { return limit >= EMR_LIMIT_DEFINED; }

// The first shown, non-empty vertical cut whose frequency has a defined limit.
struct chosen_emr_cut {
  int f = -1, c = -1;
  float Efreq = 0.0f, SPlimit = 0.0f, SOlimit = 0.0f;
};

chosen_emr_cut choose_cut(const lobe_state& st) {
  chosen_emr_cut out;
  for (int f = 0; f < count_in(st.pd.nofreq, MAX_FREQ); ++f) {
    const freq_data_type& fr = st.pd.freq[f];
    for (int c = 0; c < count_in(fr.numcut, MAX_CUTS); ++c) {
      const cut_data_type& cut = fr.cut[c];
      if (!cut_is_shown(st.flags, f, c) || cut.nupoin == 0 || !is_vertical_cut(cut.patcut)) continue;
      const auto freq = emr_frequency(fr.patfre);
      if (!freq) continue;
      const float sp = gimme_public_power_density_limit(*freq), so = gimme_occupational_power_density_limit(*freq);
      if (!defined(sp) && !defined(so)) continue;
      out = {f, c, *freq, sp, so};
      return out;
    }
  }
  return out;
}

}  // namespace

void print_emr_string(surface& dc, float scf, emr_text_layout& layout, std::string_view label, std::string_view data) {
  // The text's cell fits its line, so no line's descenders touch the next.
  const int h = pix(std::min(16.0, layout.line_step) * scf);
  const int lx = pix(scf * layout.label_x), y = pix(scf * (layout.first_line_y + layout.descr_lines * layout.line_step));
  int dx = pix(scf * layout.value_x);
  dc.select_font({h, 700, true});
  dc.text_out(lx, y, label);
  const point label_extent = dc.text_extent(label);
  layout.texts.push_back({lx, y, lx + label_extent.x, y + label_extent.y});
  // A wide bold face must not run the label into its value.
  dx = std::max(dx, lx + label_extent.x + pix(6.0 * scf));
  dc.select_font({h, 400, true});
  dc.text_out(dx, y, data);
  const point data_extent = dc.text_extent(data);
  layout.texts.push_back({dx, y, dx + data_extent.x, y + data_extent.y});
  layout.descr_lines += 1;
}

namespace {

// The transmitter's block of texts: what is known before a cut is chosen.
void print_transmitter_block(surface& dc, float scf, emr_text_layout& layout, const emr_transmitter& tx) {
  print_emr_string(dc, scf, layout, "Transmitter power", watts_and_dbw(tx.Tpower, tx.Tpower_dbw));
  if (layout.printing) print_emr_string(dc, scf, layout, "Transmitter loss", c_format("%.2f dB", double(tx.Tloss)));
  print_emr_string(dc, scf, layout, "Antenna power", watts_and_dbw(tx.Apower, tx.Tpower_dbw - tx.Tloss));
  print_emr_string(dc, scf, layout, "Gain at 0 deg", c_format("%.2f DBi", double(tx.GainDBi)));
  print_emr_string(dc, scf, layout, "Linear gain at 0 deg", c_format("%.2f", double(tx.GainLin)));
  print_emr_string(dc, scf, layout, "EIRP at 0 deg", c_format("%.1f W", double(tx.EIRP)));
}

// The safe distances at boresight and the limits of the chosen cut's frequency.
struct emr_boresight {
  bool public_defined, occupational_defined;
  float RPsafe0, ROsafe0;
};

emr_boresight print_limits_block(surface& dc, float scf, emr_text_layout& layout, const emr_transmitter& tx,
                                 const chosen_emr_cut& pick) {
  // A limit of 0 means none is defined at this frequency: that zone, its
  // distance and its marker are left out and the text says so.
  emr_boresight b{defined(pick.SPlimit), defined(pick.SOlimit), 0.0f, 0.0f};
  if (b.public_defined) b.RPsafe0 = emr_safe_distance(tx.EIRP, pick.SPlimit);
  if (b.occupational_defined) b.ROsafe0 = emr_safe_distance(tx.EIRP, pick.SOlimit);
  auto distance_text = [](bool ok, float d) { return ok ? c_format("%.1fm", double(d)) : std::string("not defined"); };
  auto limit_text = [](bool ok, float l) { return ok ? c_format("%.1f W/m2", double(l)) : std::string("not defined"); };
  print_emr_string(dc, scf, layout, "Safe public distance at 0 deg", distance_text(b.public_defined, b.RPsafe0));
  print_emr_string(dc, scf, layout, "Safe occupational distance at 0 deg",
                   distance_text(b.occupational_defined, b.ROsafe0));
  print_emr_string(dc, scf, layout, "Frequency", c_format("%.1f MHz", double(pick.Efreq)));
  print_emr_string(dc, scf, layout, "Public power flux density limit", limit_text(b.public_defined, pick.SPlimit));
  print_emr_string(dc, scf, layout, "Occupational power flux density limit",
                   limit_text(b.occupational_defined, pick.SOlimit));
  return b;
}

// Where the side view stands: its centre, radius and metres-to-pixels scale.
struct emr_view {
  float scf;
  int centre_x, centre_y, r;
  float plot_scale;
  int x(double v) const { return scaled(v, scf); }
};

// A fan of triangles from the antenna to each point's safe distance, kept inside the chart.
void draw_zone(surface& dc, const emr_view& v, const cut_data_type& cut, const std::vector<float>& distance,
               colorref colour) {
  if (distance.empty()) return;
  dc.select_brush({false, colour});
  const point apex{v.x(v.centre_x), v.x(v.centre_y)};
  point first{}, previous{};
  for (std::size_t p = 0; p < distance.size(); ++p) {
    const double theta = cut.angle[p] / RADN;
    const double rho = double(distance[p]) * v.plot_scale;
    int xc = pix(v.centre_x + std::cos(theta) * rho), yc = pix(v.centre_y + std::sin(theta) * rho);
    yc = yc < v.centre_y - v.r + 40 ? v.centre_y - v.r + 40 : (yc > v.centre_y + v.r - 40 ? v.centre_y + v.r - 40 : yc);
    xc = xc < v.centre_x - v.r - 40 ? v.centre_x - v.r - 40 : (xc > v.centre_x + v.r + 40 ? v.centre_x + v.r + 40 : xc);
    const point here{v.x(xc), v.x(yc)};
    if (p == 0) {
      first = previous = here;
      continue;
    }
    const point tri[3] = {apex, here, previous};
    dc.polygon(tri);
    previous = here;
  }
  const point closing[3] = {apex, first, previous};
  dc.polygon(closing);
}

// The ground, the mast and the antenna at the top of it.
void draw_site(surface& dc, const emr_view& v, float eheight, int Xleft, int Xright) {
  // Single precision, as the heights and the scale are kept: 2.5 m at 10.8 px/m is exactly 27 px.
  const int ground_y = pix(static_cast<float>(v.centre_y) + eheight * v.plot_scale);
  dc.select_pen({pen_style::null, 0, 0});
  dc.select_brush({false, k_red_earth});
  dc.rectangle(v.x(Xleft + 20), v.x(ground_y), v.x(Xright - 20), v.x(ground_y + 25));
  const int mast_top_y = pix(static_cast<float>(v.centre_y) - (eheight / 10.0f) * v.plot_scale);
  const int mast_base_r = pix((eheight / 16.0f) * v.plot_scale);
  dc.select_pen({pen_style::solid, pix(2.0 * v.scf), rgb(20, 20, 220)});
  dc.move_to(v.x(v.centre_x - mast_base_r), v.x(ground_y));
  dc.line_to(v.x(v.centre_x), v.x(mast_top_y));
  dc.line_to(v.x(v.centre_x + mast_base_r), v.x(ground_y));
  dc.select_pen({pen_style::null, 0, 0});
  dc.select_brush({false, k_antenna});
  dc.rectangle(v.x(v.centre_x - 5), v.x(v.centre_y - 10), v.x(v.centre_x + 5), v.x(v.centre_y + 10));
}

}  // namespace

namespace {

// The safe distances of every point of the cut up to its end marker, each logged.
struct safe_distances {
  std::vector<float> rp, ro;  // public, occupational
};
safe_distances distances_of(const cut_data_type& cut, const chosen_emr_cut& pick, const emr_transmitter& tx,
                            const emr_boresight& b, run_log& log, cut_ends* ends) {
  safe_distances d;
  const int n = count_in(cut.nupoin, MAX_SAMPLES);
  for (int p = 0; p < n; ++p) {
    if (cut.angle[p] == END_MARKER) {
      if (ends) ends->push_back({pick.f, pick.c, p});
      break;
    }
    const emr_point pt = emr_point_quantities(tx, cut.signal[p]);
    d.rp.push_back(b.public_defined ? emr_safe_distance(pt.eirp, pick.SPlimit) : 0.0f);
    d.ro.push_back(b.occupational_defined ? emr_safe_distance(pt.eirp, pick.SOlimit) : 0.0f);
    log.write_error_log(
        "EMR", c_format("poin = %u signal = %f GainDBi = %f GainLin = %f EIRP = %f RPsafe = %f ROsafe = %f",
                        static_cast<unsigned>(p), std::fabs(double(cut.signal[p])), double(pt.gain_dbi),
                        double(pt.gain_lin), double(pt.eirp), double(d.rp.back()), double(d.ro.back())));
  }
  return d;
}

// The two-metre line, the boresight distance markers under the text block, and the antenna height.
void draw_markers(surface& dc, const emr_view& v, emr_text_layout& layout, const emr_boresight& b, float eheight) {
  const float scf = v.scf;
  const int centre_x = v.centre_x, centre_y = v.centre_y, r = v.r;
  const pen hpo_2m = layout.printing ? pen{pen_style::solid, pix(1.0 * scf), rgb(88, 88, 88)}
                                     : pen{pen_style::dash_dot, pix(1.0 * scf), rgb(0, 0, 0)};
  dc.select_pen(hpo_2m);
  const double y2 = centre_y + (double(eheight) - 2.0) * v.plot_scale;
  dc.move_to(v.x(centre_x - r + 10), v.x(y2));
  dc.line_to(v.x(centre_x + r - 10), v.x(y2));
  dc.text_out(v.x(centre_x + r - 10), v.x(y2 - 8), "2.0m");
  layout.descr_lines += 1;
  const double limits_y = double(scf) * (layout.first_line_y + layout.descr_lines * layout.line_step);
  // Two distances close together: the second label steps sideways off the
  // first, or is left out.
  label_placer labels(std::max(1, pix(4.0 * scf)));
  for (const rect& t : layout.texts) labels.reserve(t);
  auto marker = [&](float R) {
    const float x = static_cast<float>(centre_x) + R * v.plot_scale;
    dc.move_to(v.x(x), pix(limits_y + 20.0 * scf));
    dc.line_to(v.x(x), v.x(centre_y + 10));
    const std::string text = c_format("%.1fm", double(R));
    labels.place(dc, v.x(x - 8), pix(limits_y), text, dc.text_extent(text).x, 0, 1, true);
  };
  if (b.public_defined) marker(b.RPsafe0);
  if (b.occupational_defined) marker(b.ROsafe0);
  labels.place(dc, v.x(centre_x + r - 10), v.x(centre_y - 8), c_format("%.1fm", double(eheight)), 0, 0, 0);
  layout.texts = labels.taken();
}

}  // namespace

bool plot_emr_chart(const lobe_state& st, run_log& log, surface& dc, float scf, emr_text_layout& layout, int Xleft,
                    int Xright, int centre_y, int r, cut_ends* ends) {
  pen_keeper keep(dc);
  const brush old_brush = dc.select_brush({false, k_public});
  dc.select_pen({pen_style::null, 0, 0});
  struct brush_back {
    surface& dc;
    brush b;
    ~brush_back() { dc.select_brush(b); }
  } restore_brush{dc, old_brush};

  const int centre_x = (Xleft + Xright) / 2;
  const emr_transmitter tx = emr_transmitter_quantities(st.emr.epower, st.emr.eloss, st.pd.mdgain, st.pd.gunits);
  print_transmitter_block(dc, scf, layout, tx);
  const chosen_emr_cut pick = choose_cut(st);
  if (pick.f < 0) return false;
  const emr_boresight b = print_limits_block(dc, scf, layout, tx, pick);

  // The larger of the antenna height and the widest boresight distance spans r - 30.
  const float eheight = st.emr.eheight;
  float span_m = b.public_defined ? b.RPsafe0 : b.ROsafe0;
  if (!(span_m > eheight)) span_m = eheight;
  if (!(span_m > 0.0f) || !std::isfinite(span_m)) span_m = 1.0f;
  const emr_view v{scf, centre_x, centre_y, r, static_cast<float>(r - 30) / span_m};

  const cut_data_type& cut = st.pd.freq[pick.f].cut[pick.c];
  const safe_distances d = distances_of(cut, pick, tx, b, log, ends);
  if (b.public_defined) draw_zone(dc, v, cut, d.rp, k_public);
  if (b.occupational_defined) draw_zone(dc, v, cut, d.ro, k_occupational);
  draw_markers(dc, v, layout, b, eheight);
  draw_site(dc, v, eheight, Xleft, Xright);
  // The pointer to the chosen cut's row, where no text of the chart is.
  if (layout.pointer_at)
    if (const auto at = layout.pointer_at(st.pd, pick.f, pick.c)) {
      label_placer pointer(std::max(1, pix(4.0 * scf)));
      for (const rect& t : layout.texts) pointer.reserve(t);
      pointer.place(dc, at->x, at->y, ">>>", 0, 0, 0);
    }
  return true;
}

}  // namespace lobe

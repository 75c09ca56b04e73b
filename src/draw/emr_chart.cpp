#include "draw/emr_chart.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "core/text/c_numeric.h"
#include "core/record/emr_exposure.h"
#include "core/settings/run_log.h"
#include "draw/chart_scale.h"
#include "draw/window_layout.h"

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
  int ctline = 0;  // its line on the data panel
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
      out = {f, c, panel_cut_line(st.pd, f, c), *freq, sp, so};
      return out;
    }
  }
  return out;
}

}  // namespace

void print_emr_string(surface& dc, float scf, emr_text_layout& layout, std::string_view label, std::string_view data) {
  const int h = pix(16.0 * scf);
  int lx, dx, y;
  if (layout.printing) {
    lx = pix(scf * 55.0);
    dx = pix(scf * 315.0);
    y = pix(scf * (95.0 + layout.descr_lines * 16));
  } else {
    lx = pix(scf * (layout.rFileDataArea.right + 15.0));
    dx = pix(scf * (layout.rFileDataArea.right + 265.0));
    y = pix(scf * (15.0 + layout.descr_lines * 12));
  }
  dc.select_font({h, 700, true});
  dc.text_out(lx, y, label);
  // A wide bold face must not run the label into its value.
  dx = std::max(dx, lx + dc.text_extent(label).x + pix(6.0 * scf));
  dc.select_font({h, 400, true});
  dc.text_out(dx, y, data);
  layout.descr_lines += 1;
}

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
  print_emr_string(dc, scf, layout, "Transmitter power", watts_and_dbw(tx.Tpower, tx.Tpower_dbw));
  if (layout.printing) print_emr_string(dc, scf, layout, "Transmitter loss", c_format("%.2f dB", double(tx.Tloss)));
  print_emr_string(dc, scf, layout, "Antenna power", watts_and_dbw(tx.Apower, tx.Tpower_dbw - tx.Tloss));
  print_emr_string(dc, scf, layout, "Gain at 0 deg", c_format("%.2f DBi", double(tx.GainDBi)));
  print_emr_string(dc, scf, layout, "Linear gain at 0 deg", c_format("%.2f", double(tx.GainLin)));
  print_emr_string(dc, scf, layout, "EIRP at 0 deg", c_format("%.1f W", double(tx.EIRP)));

  const chosen_emr_cut pick = choose_cut(st);
  if (pick.f < 0) return false;
  if (!layout.printing)
    dc.text_out(layout.rFreqDataArea.left - 35, layout.rFreqDataArea.top + 5 + 25 * pick.ctline, ">>>");

  // A limit of 0 means none is defined at this frequency: that zone, its
  // distance and its marker are left out and the text says so.
  const bool public_defined = defined(pick.SPlimit), occupational_defined = defined(pick.SOlimit);
  const float RPsafe0 = public_defined ? emr_safe_distance(tx.EIRP, pick.SPlimit) : 0.0f;
  const float ROsafe0 = occupational_defined ? emr_safe_distance(tx.EIRP, pick.SOlimit) : 0.0f;
  auto distance_text = [](bool ok, float d) { return ok ? c_format("%.1fm", double(d)) : std::string("not defined"); };
  auto limit_text = [](bool ok, float l) { return ok ? c_format("%.1f W/m2", double(l)) : std::string("not defined"); };
  print_emr_string(dc, scf, layout, "Safe public distance at 0 deg", distance_text(public_defined, RPsafe0));
  print_emr_string(dc, scf, layout, "Safe occupational distance at 0 deg",
                   distance_text(occupational_defined, ROsafe0));
  print_emr_string(dc, scf, layout, "Frequency", c_format("%.1f MHz", double(pick.Efreq)));
  print_emr_string(dc, scf, layout, "Public power flux density limit", limit_text(public_defined, pick.SPlimit));
  print_emr_string(dc, scf, layout, "Occupational power flux density limit",
                   limit_text(occupational_defined, pick.SOlimit));

  // The larger of the antenna height and the widest boresight distance spans r - 30.
  const float eheight = st.emr.eheight;
  float span_m = public_defined ? RPsafe0 : ROsafe0;
  if (!(span_m > eheight)) span_m = eheight;
  if (!(span_m > 0.0f) || !std::isfinite(span_m)) span_m = 1.0f;
  const float plot_scale = static_cast<float>(r - 30) / span_m;

  const cut_data_type& cut = st.pd.freq[pick.f].cut[pick.c];
  std::vector<float> rp, ro;
  const int n = count_in(cut.nupoin, MAX_SAMPLES);
  for (int p = 0; p < n; ++p) {
    if (cut.angle[p] == END_MARKER) {
      if (ends) ends->push_back({pick.f, pick.c, p});
      break;
    }
    const emr_point pt = emr_point_quantities(tx, cut.signal[p]);
    rp.push_back(public_defined ? emr_safe_distance(pt.eirp, pick.SPlimit) : 0.0f);
    ro.push_back(occupational_defined ? emr_safe_distance(pt.eirp, pick.SOlimit) : 0.0f);
    log.write_error_log(
        "EMR", c_format("poin = %u signal = %f GainDBi = %f GainLin = %f EIRP = %f RPsafe = %f ROsafe = %f",
                        static_cast<unsigned>(p), std::fabs(double(cut.signal[p])), double(pt.gain_dbi),
                        double(pt.gain_lin), double(pt.eirp), double(rp.back()), double(ro.back())));
  }

  const point apex{scaled(centre_x, scf), scaled(centre_y, scf)};
  auto fan = [&](const std::vector<float>& distance, colorref colour) {
    if (distance.empty()) return;
    dc.select_brush({false, colour});
    point first{}, previous{};
    for (std::size_t p = 0; p < distance.size(); ++p) {
      const double theta = cut.angle[p] / RADN;
      const double rho = double(distance[p]) * plot_scale;
      int xc = pix(centre_x + std::cos(theta) * rho), yc = pix(centre_y + std::sin(theta) * rho);
      yc = yc < centre_y - r + 40 ? centre_y - r + 40 : (yc > centre_y + r - 40 ? centre_y + r - 40 : yc);
      xc = xc < centre_x - r - 40 ? centre_x - r - 40 : (xc > centre_x + r + 40 ? centre_x + r + 40 : xc);
      const point here{scaled(xc, scf), scaled(yc, scf)};
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
  };
  if (public_defined) fan(rp, k_public);
  if (occupational_defined) fan(ro, k_occupational);

  const pen hpo_2m = layout.printing ? pen{pen_style::solid, pix(1.0 * scf), rgb(88, 88, 88)}
                                     : pen{pen_style::dash_dot, pix(1.0 * scf), rgb(0, 0, 0)};
  dc.select_pen(hpo_2m);
  const double y2 = centre_y + (double(eheight) - 2.0) * plot_scale;
  dc.move_to(scaled(centre_x - r + 10, scf), scaled(y2, scf));
  dc.line_to(scaled(centre_x + r - 10, scf), scaled(y2, scf));
  dc.text_out(scaled(centre_x + r - 10, scf), scaled(y2 - 8, scf), "2.0m");
  layout.descr_lines += 1;

  const double limits_y =
      double(scf) * ((layout.printing ? 95 : 15) + layout.descr_lines * (layout.printing ? 16 : 12));
  auto marker = [&](float R) {
    const float x = static_cast<float>(centre_x) + R * plot_scale;
    dc.move_to(scaled(x, scf), pix(limits_y + 20.0 * scf));
    dc.line_to(scaled(x, scf), scaled(centre_y + 10, scf));
    dc.text_out(scaled(x - 8, scf), pix(limits_y), c_format("%.1fm", double(R)));
  };
  if (public_defined) marker(RPsafe0);
  if (occupational_defined) marker(ROsafe0);

  dc.text_out(scaled(centre_x + r - 10, scf), scaled(centre_y - 8, scf), c_format("%.1fm", double(eheight)));

  // Single precision, as the heights and the scale are kept: 2.5 m at 10.8 px/m is exactly 27 px.
  const int ground_y = pix(static_cast<float>(centre_y) + eheight * plot_scale);
  dc.select_pen({pen_style::null, 0, 0});
  dc.select_brush({false, k_red_earth});
  dc.rectangle(scaled(Xleft + 20, scf), scaled(ground_y, scf), scaled(Xright - 20, scf), scaled(ground_y + 25, scf));

  const int mast_top_y = pix(static_cast<float>(centre_y) - (eheight / 10.0f) * plot_scale);
  const int mast_base_r = pix((eheight / 16.0f) * plot_scale);
  dc.select_pen({pen_style::solid, pix(2.0 * scf), rgb(20, 20, 220)});
  dc.move_to(scaled(centre_x - mast_base_r, scf), scaled(ground_y, scf));
  dc.line_to(scaled(centre_x, scf), scaled(mast_top_y, scf));
  dc.line_to(scaled(centre_x + mast_base_r, scf), scaled(ground_y, scf));

  dc.select_pen({pen_style::null, 0, 0});
  dc.select_brush({false, k_antenna});
  dc.rectangle(scaled(centre_x - 5, scf), scaled(centre_y - 10, scf), scaled(centre_x + 5, scf),
               scaled(centre_y + 10, scf));
  return true;
}

}  // namespace lobe

// Every picture as it was last looked at: each view of the samples, both
// printed pages and the exposure maps, drawn on the recording surface (whose
// text widths are estimated, so the same on every machine), each reduced to
// a digest of its operations and compared with tests/data/pictures.txt. Any
// moved line, lost text or changed pen or colour shows here. When a change
// is meant, look at the pictures (lobeconv render) and then write the new
// digests with LOBE_WRITE_PICTURES=1.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>

#include "cli/site_file.h"
#include "core/formats/envelope_file.h"
#include "core/text/field_text.h"
#include "draw/chart_scale.h"
#include "draw/exposure_map.h"
#include "draw/print_page.h"
#include "draw/recording_surface.h"
#include "draw/view_renderer.h"
#include "support/test_support.h"

namespace lobe {
namespace {

// FNV-1a over every operation; the page's print date is left out.
std::uint64_t digest(const recording_surface& dc) {
  std::ostringstream s;
  for (const recorded_op& op : dc.ops) {
    if (op.text.rfind("Printed - ", 0) == 0) continue;
    s << op.kind << ' ' << op.radius << " [" << op.text << "] " << static_cast<int>(op.pen_used.style) << ','
      << op.pen_used.width << ',' << op.pen_used.colour << ' ' << op.brush_used.null << ',' << op.brush_used.colour
      << ' ' << op.font_used.height << ',' << op.font_used.weight << ',' << op.font_used.italic << ' '
      << op.text_colour;
    for (const point& p : op.points) s << ' ' << p.x << ',' << p.y;
    s << '\n';
  }
  std::uint64_t h = 1469598103934665603ull;
  for (const char c : s.str()) h = (h ^ static_cast<unsigned char>(c)) * 1099511628211ull;
  return h;
}

using drawing = std::function<void(recording_surface&)>;

// The chart of st's view as the window draws it in a 1280 x 800 client area.
void draw_in_window(test::harness& h, recording_surface& dc) {
  window_layout l;
  set_window_parameters(l, 1280, 800, true, centre_db_annuli[zoom_index(h.st->view)]);
  draw_view(*h.st, h.log, dc, window_view_geometry(l, 0));
}

// A view of a sample in the window's chart area, as the options set it.
drawing window_view(const char* sample, int view, std::function<void(lobe_state&)> options = {}) {
  return [=](recording_surface& dc) {
    test::harness h;
    ASSERT_TRUE(h.open(std::string(LOBE_SAMPLES) + "/" + sample));
    ASSERT_TRUE(read_envelope_file(h.st->ed, std::string(LOBE_SOURCE) + "/data/kwr_envelopes.csv"));
    h.st->view.display_type = view;
    if (options) options(*h.st);
    draw_in_window(h, dc);
  };
}

drawing page(const char* sample, int view, bool landscape) {
  return [=](recording_surface& dc) {
    test::harness h;
    ASSERT_TRUE(h.open(std::string(LOBE_SAMPLES) + "/" + sample));
    set_field(h.st->pd.descr1, "A description line");
    set_field(h.st->pd.descr3, "x");
    h.st->view.display_type = view;
    page_setup setup;
    setup.landscape = landscape;
    if (landscape) std::swap(setup.horzres, setup.vertres);
    print_chart(*h.st, h.log, dc, setup);
  };
}

// Every frequency and cut the record holds, each in its own colour, in the
// window or on the page (whose legend must find room for them all).
drawing largest_record(int view, bool on_page = false, int cuts = MAX_CUTS) {
  return [=](recording_surface& dc) {
    test::harness h;
    for (int f = 0; f < MAX_FREQ; ++f)
      for (int c = 0; c < cuts; ++c)
        test::put_full_cut(*h.st, f, c, c % 2 ? "V" : "H", [=](int a) { return (a * (f + 1) + 7 * c) % 40; });
    h.st->view.display_type = view;
    if (on_page) {
      print_chart(*h.st, h.log, dc, page_setup{});
      return;
    }
    draw_in_window(h, dc);
  };
}

// Cuts of known peaks, scaled to the strongest or not; one hidden, one vertical.
drawing scaled_to_strongest(bool on) {
  return [=](recording_surface& dc) {
    test::harness h;
    for (int c = 0; c < 3; ++c) test::put_full_cut(*h.st, 0, c, "H", [=](int a) { return (a + 40 * c) % 30; });
    test::put_full_cut(*h.st, 1, 0, "el", [](int a) { return a % 25; });
    test::hide_cuts(*h.st, {{0, 0}});
    h.st->pd.freq[0].cut[1].emax = 500.0f;
    h.st->pd.freq[0].cut[2].emax = 1000.0f;
    h.st->all_emax = 1000.0f;
    h.st->view.scale_to_max_mode = on ? 1 : 0;
    draw_in_window(h, dc);
  };
}

drawing exposure(bool top) {
  return [=](recording_surface& dc) {
    test::harness h;
    site s;
    std::string problem;
    ASSERT_TRUE(read_site_file(std::string(LOBE_SOURCE) + "/data/example_site.json", *h.st, s, problem)) << problem;
    exposure_view v;
    v.top = top;
    draw_exposure_map(s, v, dc, 800, 800);
  };
}

const std::map<std::string, drawing>& pictures() {
  static const std::map<std::string, drawing> all = {
      {"polar yagi", window_view("yagi.nsma", DISPLAY_TYPE_POLAR)},
      {"polar yagi log grid", window_view("yagi.nsma", DISPLAY_TYPE_POLAR, [](lobe_state& st) { st.view.log_display = 1; })},
      {"polar yagi voltage", window_view("yagi.nsma", DISPLAY_TYPE_POLAR, [](lobe_state& st) { st.view.mv_display = 1; })},
      {"polar panel zoomed", window_view("panel.nsma", DISPLAY_TYPE_POLAR, [](lobe_state& st) { st.view.centre_db_ix = 1; })},
      {"polar dipole strongest", window_view("dipole.nsma", DISPLAY_TYPE_POLAR,
                                             [](lobe_state& st) { st.view.scale_to_max_mode = 1; })},
      {"cartesian panel envelope", window_view("panel.nsma", DISPLAY_TYPE_RECT,
                                               [](lobe_state& st) { set_active_envelope(st.ed, 1); })},
      {"cartesian yagi voltage", window_view("yagi.nsma", DISPLAY_TYPE_RECT, [](lobe_state& st) { st.view.mv_display = 1; })},
      {"cartesian 0-90 panel", window_view("panel.nsma", DISPLAY_TYPE_RECT90)},
      {"emr panel", window_view("panel.nsma", DISPLAY_TYPE_EMR)},
      {"emr yagi voltage", window_view("yagi.nsma", DISPLAY_TYPE_EMR, [](lobe_state& st) { st.view.mv_display = 1; })},
      {"page polar yagi", page("yagi.nsma", DISPLAY_TYPE_POLAR, false)},
      {"page polar yagi landscape", page("yagi.nsma", DISPLAY_TYPE_POLAR, true)},
      {"page cartesian panel", page("panel.nsma", DISPLAY_TYPE_RECT, false)},
      {"page emr panel landscape", page("panel.nsma", DISPLAY_TYPE_EMR, true)},
      {"polar largest record", largest_record(DISPLAY_TYPE_POLAR)},
      {"polar scaled to the strongest", scaled_to_strongest(true)},
      {"polar of known peaks, not scaled", scaled_to_strongest(false)},
      {"cartesian largest record", largest_record(DISPLAY_TYPE_RECT)},
      {"page largest record", largest_record(DISPLAY_TYPE_POLAR, true)},
      {"page twelve frequencies of seven cuts", largest_record(DISPLAY_TYPE_POLAR, true, MAX_CUTS - 1)},
      {"exposure top", exposure(true)},
      {"exposure side", exposure(false)},
  };
  return all;
}

TEST(Pictures, EveryPictureIsAsLastLookedAt) {
  const std::string path = test::data_path("pictures.txt");
  std::map<std::string, std::string> expected;
  std::ifstream in(path);
  for (std::string line; std::getline(in, line);)
    if (const auto tab = line.find('\t'); tab != std::string::npos) expected[line.substr(tab + 1)] = line.substr(0, tab);
  std::ostringstream now;
  for (const auto& [name, draw] : pictures()) {
    recording_surface dc;
    draw(dc);
    EXPECT_GT(dc.ops.size(), 20u) << name << " draws next to nothing";
    char hex[17];
    std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(digest(dc)));
    now << hex << '\t' << name << '\n';
    EXPECT_EQ(expected[name], hex) << name << " is drawn differently";
  }
  if (std::getenv("LOBE_WRITE_PICTURES")) test::write_bytes(path, now.str());
}

}  // namespace
}  // namespace lobe

// The charts, checked by what a reader of a chart relies on: the polar trace
// closes, lifts the pen at a gap and ends at an end marker without changing
// the record; labels stay inside their area; the envelope masks and the
// angles that fail them; the reference traces and the difference chart; and
// the EMR chart's worked example, zones and markers. The pictures test holds
// the rest of each drawing.
#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <cstring>

#include "core/text/field_text.h"
#include "draw/chart_scale.h"
#include "draw/difference_chart.h"
#include "draw/emr_chart.h"
#include "draw/label_placer.h"
#include "draw/polar_chart.h"
#include "draw/recording_surface.h"
#include "draw/rect_chart.h"
#include "draw/view_renderer.h"
#include "draw/window_layout.h"
#include "support/test_support.h"

namespace lobe {
namespace {

using test::harness;

constexpr int X = 500, Y = 400, R = 300;
const rect k_area{100, 50, 700, 550};

struct traced {
  harness h;
  recording_surface dc;
  void draw() { plot_chart(*h.st, dc, 1.0f, X, X, Y, R); }
  std::vector<recorded_op> marks() const { return dc.of(recorded_op::op_polyline); }
  std::vector<std::string> mark_labels() const {
    std::vector<std::string> out;
    for (const auto& op : dc.of(recorded_op::op_text))
      if (op.text.find('.') != std::string::npos) out.push_back(op.text);  // not the degree labels
    return out;
  }
};

TEST(PolarChart, TraceClosesLeavesGapsAndKeepsToTheRecord) {
  traced t;
  test::put_cut(*t.h.st, 0, 0, "H", {{0, 0}, {90, 10}, {180, 1}});
  t.draw();
  const auto moves = t.dc.of(recorded_op::op_move);
  ASSERT_EQ(moves.size(), 1u);
  EXPECT_EQ(moves[0].points[0], (point{X + R, Y})) << "0 dB at 0 degrees: on the rim, right";
  const auto lines = t.dc.of(recorded_op::op_line);
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_NEAR(lines[0].points[1].x, X, 1) << "90 degrees is straight down";
  EXPECT_GT(lines[0].points[1].y, Y);
  EXPECT_EQ(lines[2].points[1], moves[0].points[0]) << "closing line back to the first point";
  EXPECT_EQ(lines[0].pen_used, (pen{pen_style::solid, 1, gr_colours_init()[0]}));

  traced gaps;
  test::put_cut(*gaps.h.st, 0, 0, "H", {{0, 1}, {10, 98}, {20, 99}, {30, 1}, {40, 1}});
  gaps.draw();
  EXPECT_EQ(gaps.dc.of(recorded_op::op_move).size(), 3u) << "pen up at 98 dB and beyond";
  EXPECT_EQ(gaps.dc.of(recorded_op::op_line).size(), 2u) << "30 -> 40 and the closing line";

  // A cut ends at its end marker, which the chart reports; drawing changes
  // nothing in the record.
  for (int type : {DISPLAY_TYPE_POLAR, DISPLAY_TYPE_RECT}) {
    harness h;
    h.st->view.display_type = type;
    test::put_full_cut(*h.st, 0, 0, "H", [](int) { return 1.0; });
    test::put_full_cut(*h.st, 0, 1, "H", [](int) { return 1.0; });
    h.st->pd.freq[0].cut[1].angle[5] = END_MARKER;
    const auto before = std::make_unique<lobe_state>(*h.st);
    recording_surface dc;
    cut_ends ends;
    if (type == DISPLAY_TYPE_POLAR) {
      init_chart(*h.st, dc, 1.0f, X, Y, R);
      plot_chart(*h.st, dc, 1.0f, X, X, Y, R, &ends);
    } else {
      init_rect_chart(*h.st, dc, 1.0f, k_area);
      plot_rect_chart(*h.st, dc, 1.0f, k_area, k_area, &ends);
    }
    ASSERT_EQ(ends.size(), 1u);
    EXPECT_EQ((std::array{ends[0].freq, ends[0].cut, ends[0].points}), (std::array{0, 1, 5}));
    EXPECT_EQ(std::memcmp(&before->pd, &h.st->pd, sizeof before->pd), 0);
    EXPECT_EQ(std::memcmp(&before->view, &h.st->view, sizeof before->view), 0);
    shorten_cuts(h.st->pd, ends);
    EXPECT_EQ(h.cut(0, 1).nupoin, 5);
    EXPECT_EQ(h.cut(0, 0).nupoin, 360);
  }
}

// A label must lie wholly inside its area: past any one edge is out.
TEST(LabelPlacer, KeepsEveryLabelWhollyInsideItsArea) {
  recording_surface dc;
  label_placer p;
  p.keep_inside({0, 0, 100, 100});
  const point e = dc.text_extent("label");
  EXPECT_FALSE(p.place(dc, 101 - e.x, 10, "label", 0, 0, 0)) << "past the right edge only";
  EXPECT_FALSE(p.place(dc, 10, 101 - e.y, "label", 0, 0, 0)) << "past the bottom only";
  EXPECT_TRUE(p.place(dc, 100 - e.x, 100 - e.y, "label", 0, 0, 0)) << "touching both";
  EXPECT_EQ(dc.of(recorded_op::op_text).size(), 1u);
}

// The rectangular chart.

struct rect_traced {
  harness h;
  recording_surface dc;
  explicit rect_traced(int display_type = DISPLAY_TYPE_RECT) { h.st->view.display_type = display_type; }
  void draw() { plot_rect_chart(*h.st, dc, 1.0f, k_area, k_area); }
};

const rect k_env_area{0, 0, 680, 400};  // W = 600: 1 px per 0.6 degree on 360, 6.6 px per degree on 90

void add_envelope(lobe_state& st, const char* title, std::initializer_list<std::array<float, 3>> rows, int display = 1) {
  envelope_data_type& e = st.ed.env[st.ed.numenv++];
  set_field(e.title, title);
  e.display = display;
  e.nupoin = 0;
  for (const auto& r : rows) {
    e.angle1[e.nupoin] = r[0];
    e.angle2[e.nupoin] = r[1];
    e.signal[e.nupoin] = r[2];
    ++e.nupoin;
  }
}

// The polylines drawn, each as its list of points from a move.
std::vector<std::vector<point>> draw_env(harness& h, int display_type) {
  h.st->view.display_type = display_type;
  recording_surface dc;
  init_rect_chart(*h.st, dc, 1.0f, k_env_area);
  dc.clear();
  plot_rect_env(*h.st, dc, 1.0f, k_env_area, k_env_area);
  std::vector<std::vector<point>> runs;
  for (const auto& op : dc.ops) {
    if (op.kind == recorded_op::op_move) runs.push_back({op.points[0]});
    if (op.kind == recorded_op::op_line) runs.back().push_back(op.points[1]);
    EXPECT_EQ(op.pen_used, (pen{pen_style::solid, 2, 0}));
  }
  return runs;
}

// A mask's steps in chart coordinates: from 0 dB at the centre line (or flat
// from 0 dB when its first level is 0), each row a step at angle1 to its
// level and on to angle2; mirrored on the 360-degree chart; rows beyond the
// 90-degree chart's span end at its edge.
TEST(EnvelopeOverlay, MasksAreStepsFromTheCentreMirroredOn360) {
  const rect_geometry g360 = rect_chart_geometry(k_env_area, 360, 4), g90 = rect_chart_geometry(k_env_area, 90, 4);
  auto at = [](const rect_geometry& g, int origin, float a, float level) {
    return point{pix(origin + g.x10_increment / 10.0f * a), pix(g.bottom - (40.0f - level) * g.y10_increment / 10.0f)};
  };
  const int O = g360.centre, L = g90.xc1;
  harness h;
  add_envelope(*h.st, "Step", {{5, 15, 3}, {20, 180, 20}});
  auto runs = draw_env(h, DISPLAY_TYPE_RECT);
  const std::vector<point> right = {at(g360, O, 0, 0),  at(g360, O, 5, 0),   at(g360, O, 5, 3),
                                    at(g360, O, 15, 3), at(g360, O, 20, 20), at(g360, O, 180, 20)};
  ASSERT_EQ(runs.size(), 2u);
  EXPECT_EQ(runs[0], right);
  ASSERT_EQ(runs[1].size(), right.size());
  for (std::size_t i = 1; i < right.size(); ++i) EXPECT_EQ(runs[1][i], (point{2 * O - right[i].x, right[i].y}));

  harness flat;
  add_envelope(*flat.st, "Flat", {{0, 10, 0}, {10, 80, 10}, {100, 180, 30}});
  add_envelope(*flat.st, "Off", {{0, 10, 5}}, 0);
  runs = draw_env(flat, DISPLAY_TYPE_RECT90);
  ASSERT_EQ(runs.size(), 1u) << "a mask not displayed is not drawn, and the 90 degree chart has no mirror";
  const point last = at(g90, L, 80, 10), beyond = at(g90, L, 100, 30);
  const int x90 = at(g90, L, 90, 0).x;
  EXPECT_EQ(runs[0], (std::vector<point>{at(g90, L, 0, 0), at(g90, L, 10, 0), at(g90, L, 10, 10), last,
                                         {x90, last.y + (beyond.y - last.y) * (x90 - last.x) / (beyond.x - last.x)}}));
  harness wide;
  add_envelope(*wide.st, "Clip", {{0, 10, 0}, {10, 200, 10}});
  EXPECT_EQ(draw_env(wide, DISPLAY_TYPE_RECT90)[0].back().x, x90) << "angle2 is clipped to the span";

  harness above, mv;
  add_envelope(*above.st, "Above", {{0, 10, -3}});
  EXPECT_EQ(draw_env(above, DISPLAY_TYPE_RECT)[0].size(), 2u) << "a first level below 0.001 takes the two-point start";
  mv.st->view.mv_display = 1;
  add_envelope(*mv.st, "Half", {{0, 10, 6.0206f}});
  EXPECT_NEAR(draw_env(mv, DISPLAY_TYPE_RECT)[0][2].y, g360.bottom - 2 * g360.y10_increment, 1) << "half the voltage";
}


// With a mask shown, the angles where a shown cut lies outside it are marked
// in red just under the axis, a degree wide, on either side of the 360
// degree chart and within the 90 degree one.
TEST(EnvelopeOverlay, FailingAnglesAreMarkedUnderTheAxis) {
  harness h;
  add_envelope(*h.st, "Class A", {{0, 10, 3}, {10, 180, 20}});
  test::put_full_cut(*h.st, 0, 0, "H", [](int a) { return a == 45 || a == 315 ? 19.0 : 30.0; });
  for (int type : {DISPLAY_TYPE_RECT, DISPLAY_TYPE_RECT90}) {
    h.st->view.display_type = type;
    const rect_geometry g = rect_chart_geometry(k_env_area, rect_span(type), 4);
    const int origin = type == DISPLAY_TYPE_RECT90 ? g.xc1 : g.centre;
    recording_surface dc;
    plot_rect_env(*h.st, dc, 1.0f, k_env_area, k_env_area);
    std::vector<int> marked;
    for (std::size_t i = 0; i + 1 < dc.ops.size(); ++i) {
      const recorded_op& line = dc.ops[i + 1];
      if (line.kind != recorded_op::op_line || line.pen_used.colour != rgb(230, 25, 56)) continue;
      EXPECT_EQ(line.points[0].y, g.bottom + 4);
      marked.push_back((line.points[0].x + line.points[1].x) / 2);
    }
    std::vector<int> expected = {pix(origin + 45 * g.x10_increment / 10.0)};
    if (type == DISPLAY_TYPE_RECT) expected.push_back(pix(origin - 45 * g.x10_increment / 10.0));
    ASSERT_EQ(marked.size(), expected.size()) << type;
    for (std::size_t i = 0; i < marked.size(); ++i) EXPECT_NEAR(marked[i], expected[i], 1) << type;
  }
  h.st->ed.env[0].display = 0;
  recording_surface none;
  plot_rect_env(*h.st, none, 1.0f, k_env_area, k_env_area);
  EXPECT_TRUE(none.ops.empty()) << "no mask shown, nothing marked";
}

// The difference chart: a cut 1.5 dB weaker than its reference is a flat
// line 1.5 dB under 0 across the chart, over a band of the tolerance; the
// cut without a reference draws nothing, a gap lifts the pen.
TEST(DifferenceChart, DeviationLineBandAndRange) {
  // A measured H and V cut at 900 MHz, and a reference with only an H cut,
  // on the window's chart geometry.
  harness h, ref;
  test::put_full_cut(*h.st, 0, 0, "H", [](int) { return 1.5; });
  test::put_full_cut(*h.st, 0, 1, "V", [](int) { return 3.0; });
  set_field(h.st->pd.freq[0].patfre, "900");
  test::put_full_cut(*ref.st, 0, 0, "H", [](int) { return 0.0; });
  set_field(ref.st->pd.freq[0].patfre, "900");
  window_layout l;
  set_window_parameters(l, 1280, 800, false, 4);
  view_geometry g = window_view_geometry(l, 0);
  g.reference = &ref.st->pd;
  h.st->pd.freq[0].cut[0].signal[100] = GAP_LEVEL;
  g.difference = true;
  g.compare.tolerance_db = 1.0;
  h.st->view.display_type = DISPLAY_TYPE_RECT;
  recording_surface dc;
  draw_view(*h.st, h.log, dc, g);
  const rect_trace_axes ax = rect_trace_axes_of(h.st->view, g.rch, g.rcv);
  // Half range 2 dB (twice the tolerance holds the 1.5 dB): 0 in the middle.
  const double per_db = (ax.g.bottom - ax.g.top) / 4.0, middle = (ax.g.bottom + ax.g.top) / 2.0;
  const std::vector<recorded_op> band = dc.of(recorded_op::op_rectangle);
  ASSERT_EQ(band.size(), 1u);
  EXPECT_EQ(band[0].brush_used.colour, DIFFERENCE_BAND_COLOUR);
  EXPECT_NEAR(band[0].points[0].y, middle - per_db, 1);
  EXPECT_NEAR(band[0].points[1].y, middle + per_db, 1);
  ASSERT_NE(dc.find_text("+2dB"), nullptr);
  ASSERT_NE(dc.find_text("-1dB"), nullptr);
  int segments = 0, left = 100000, right = -100000, moves = 0;
  for (std::size_t i = 0; i < dc.ops.size(); ++i) {
    const recorded_op& op = dc.ops[i];
    if (op.pen_used.colour == cut_colour(*h.st, 1) && op.kind == recorded_op::op_line) ADD_FAILURE() << "the V cut has no reference";
    if (op.pen_used.colour != cut_colour(*h.st, 0) || op.pen_used.width == 0) continue;
    if (op.kind == recorded_op::op_move) ++moves;
    if (op.kind != recorded_op::op_line) continue;
    ++segments;
    EXPECT_NEAR(op.points[1].y, middle + 1.5 * per_db, 1);
    left = std::min(left, op.points[0].x);
    right = std::max(right, op.points[1].x);
  }
  EXPECT_EQ(moves, 3) << "the start, after the gap at 100, and after the wrap at 180";
  EXPECT_GE(segments, 350);
  EXPECT_NEAR(left, ax.horizontal_origin - 179 * ax.x_scale, 1);
  EXPECT_NEAR(right, ax.horizontal_origin + 180 * ax.x_scale, 1);
  // Off the difference chart, the reference's H cut is drawn dash-dot in the H cut's colour.
  g.difference = false;
  for (int type : {DISPLAY_TYPE_POLAR, DISPLAY_TYPE_RECT}) {
    h.st->view.display_type = type;
    recording_surface plain;
    draw_view(*h.st, h.log, plain, g);
    int dashed = 0;
    for (const recorded_op& op : plain.ops)
      if (op.pen_used.style == pen_style::dash_dot && op.kind == recorded_op::op_line)
        dashed += op.pen_used.colour == cut_colour(*h.st, 0) ? 1 : -1000;
    EXPECT_GE(dashed, 300) << type;
  }

  // The range: twice the tolerance, or the largest deviation where the
  // reference is above -30 dB, rounded up to the next step.
  auto range = [](std::vector<deviation_point> curve, double tol) { return difference_half_range({curve}, tol); };
  EXPECT_EQ(range({{0, 0, 0.5, true, true}}, 1.0), 2.0);
  EXPECT_EQ(range({{0, 0, -2.5, true, true}}, 1.0), 3.0);
  EXPECT_EQ(range({{0, 0, 12.0, false, true}}, 0.5), 20.0);
  EXPECT_EQ(range({{0, 0, 45.0, false, false}}, 0.5), 1.0) << "a deep null does not stretch the chart";
  EXPECT_EQ(range({{0, 0, -70.0, false, true}}, 1.0), 50.0);
}

constexpr int CX = 600, CY = 400;  // the EMR chart's centre; R as above

// The worked example: 200 W, 3 dB loss, 10 dBd at 900 MHz.
struct emr_fixture {
  harness h;
  recording_surface dc;
  emr_text_layout layout;
  emr_fixture() {
    h.st->emr.epower = 200.0f;
    h.st->emr.eloss = 3.0f;
    h.st->emr.eheight = 25.0f;
    set_field(h.st->pd.mdgain, "10");
    set_field(h.st->pd.freq[0].patfre, "900");
    // The block's columns as the window gives them, and a pointer that says which cut it was asked for.
    layout.label_x = 255 + 15.0;
    layout.value_x = 255 + 265.0;
    layout.first_line_y = 15.0;
    layout.pointer_at = [](const antenna_data_type&, int f, int c) -> std::optional<point> {
      return point{1000 * f + c, 7};
    };
  }
  cut_ends ends;
  bool draw() { return plot_emr_chart(*h.st, h.log, dc, 1.0f, layout, CX - R, CX + R, CY, R, &ends); }
  std::string value_of(const char* label) const {
    const recorded_op* l = dc.find_text(label);
    if (!l) return "<missing>";
    for (const auto& op : dc.ops)
      if (op.kind == recorded_op::op_text && op.points[0].y == l->points[0].y && op.points[0].x > l->points[0].x)
        return op.text;
    return "<no value>";
  }
};

TEST(EmrChart, WorkedExampleNumbers) {
  emr_fixture t;
  test::put_full_cut(*t.h.st, 0, 0, "V", [](int a) { return a < 10 ? 0.0 : 10.0; });
  ASSERT_TRUE(t.draw());
  EXPECT_EQ(t.value_of("Transmitter power"), "200.00 W (23.01 dBW)");
  EXPECT_EQ(t.dc.find_text("Transmitter loss"), nullptr) << "on screen the loss is an input field";
  EXPECT_EQ(t.value_of("Antenna power"), "100.24 W (20.01 dBW)");
  EXPECT_EQ(t.value_of("Gain at 0 deg"), "12.15 DBi");
  EXPECT_EQ(t.value_of("Linear gain at 0 deg"), "16.41");
  EXPECT_EQ(t.value_of("EIRP at 0 deg"), "1644.5 W");
  EXPECT_EQ(t.value_of("Safe public distance at 0 deg"), "5.4m");
  EXPECT_EQ(t.value_of("Safe occupational distance at 0 deg"), "2.4m");
  EXPECT_EQ(t.value_of("Frequency"), "900.0 MHz");
  EXPECT_EQ(t.value_of("Public power flux density limit"), "4.5 W/m2");
  EXPECT_EQ(t.value_of("Occupational power flux density limit"), "22.5 W/m2");
}

// The zones' drawing is held by the pictures test; here the extreme inputs.
TEST(EmrChart, ZonesStayOnTheChartWhateverThePower) {
  // A million watts from a metre up.
  emr_fixture huge;
  huge.h.st->emr.epower = 1e6f;
  huge.h.st->emr.eheight = 1.0f;
  test::put_full_cut(*huge.h.st, 0, 0, "V", [](int) { return 40.0; });
  test::put_full_cut(*huge.h.st, 0, 1, "el", [](int) { return 0.0; });
  test::hide_cuts(*huge.h.st, {{0, 0}});
  ASSERT_TRUE(huge.draw());
  const recorded_op* pointer = huge.dc.find_text(">>>");
  ASSERT_NE(pointer, nullptr);
  EXPECT_EQ(pointer->points[0], (point{1, 7})) << "at the first shown vertical cut, where the caller says";
  for (const auto& tri : huge.dc.of(recorded_op::op_polygon))
    for (const point& p : tri.points) {
      EXPECT_LE(std::abs(p.y - CY), R - 40);
      EXPECT_LE(std::abs(p.x - CX), R + 40);
    }
}

TEST(EmrChart, UndefinedPublicLimitAndEndMarker) {
  emr_fixture t;
  set_field(t.h.st->pd.freq[0].patfre, "5");
  test::put_full_cut(*t.h.st, 0, 0, "V", [](int) { return 0.0; });
  t.h.st->pd.freq[0].cut[0].angle[181] = END_MARKER;
  test::temp_dir dir;
  ASSERT_TRUE(t.h.log.open(dir.path()));
  ASSERT_TRUE(t.draw()) << "5 MHz has an occupational limit";
  EXPECT_EQ(t.value_of("Safe public distance at 0 deg"), "not defined");
  EXPECT_EQ(t.value_of("Public power flux density limit"), "not defined");
  EXPECT_EQ(t.value_of("Occupational power flux density limit"), "40.0 W/m2");
  ASSERT_EQ(t.ends.size(), 1u);
  EXPECT_EQ(t.ends[0].points, 181) << "the end marker is reported, the record left alone";
  EXPECT_EQ(t.h.cut(0, 0).nupoin, 360);
  EXPECT_EQ(t.dc.of(recorded_op::op_polygon).size(), 181u) << "one zone of 181 points";
  const std::string log = test::read_bytes(dir.file("lobeview_log.txt"));
  EXPECT_EQ(test::lines_in(log), 181u) << "one log line per point drawn";
  EXPECT_NE(log.find(" - EMR - poin = 0 signal = 0.000000 GainDBi = 12.150000 "), std::string::npos) << log.substr(0, 300);
}

}  // namespace
}  // namespace lobe

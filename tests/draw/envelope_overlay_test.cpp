#include <gtest/gtest.h>

#include "core/text/field_text.h"
#include "draw/chart_scale.h"
#include "draw/recording_surface.h"
#include "draw/rect_chart.h"
#include "support/test_support.h"

namespace lobe {
namespace {

using test::harness;

const rect k_area{0, 0, 680, 400};  // W = 600: 1 px per 0.6 degree on 360, 6.6 px per degree on 90

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
  init_rect_chart(*h.st, dc, 1.0f, k_area);
  dc.clear();
  plot_rect_env(*h.st, dc, 1.0f, k_area, k_area);
  std::vector<std::vector<point>> runs;
  for (const auto& op : dc.ops) {
    if (op.kind == recorded_op::op_move) runs.push_back({op.points[0]});
    if (op.kind == recorded_op::op_line) runs.back().push_back(op.points[1]);
    EXPECT_EQ(op.pen_used, (pen{pen_style::solid, 2, 0}));
  }
  return runs;
}

struct chart_numbers {
  rect_geometry g;
  float xs, ys;
  int X(float a, int O) const { return pix(O + xs * a); }
  int Y(float s) const { return pix(g.bottom - (40.0f - s) * ys); }
};

chart_numbers numbers(int span) {
  const rect_geometry g = rect_chart_geometry(k_area, span, 4);
  return {g, g.x10_increment / 10.0f, 4.0f * g.y10_increment / 40.0f};
}

TEST(EnvelopeOverlay, StartsAndMirrorOn360Chart) {
  harness h;
  add_envelope(*h.st, "Step", {{5, 15, 3}, {20, 180, 20}});
  const auto runs = draw_env(h, DISPLAY_TYPE_RECT);
  const chart_numbers n = numbers(360);
  const int O = n.g.centre;
  ASSERT_EQ(runs.size(), 2u);
  const std::vector<point> right = {{O, n.Y(0)},           {n.X(5, O), n.Y(0)},   {n.X(5, O), n.Y(3)},
                                    {n.X(15, O), n.Y(3)},  {n.X(20, O), n.Y(20)}, {n.X(180, O), n.Y(20)}};
  EXPECT_EQ(runs[0], right);
  ASSERT_EQ(runs[1].size(), right.size());
  for (std::size_t i = 1; i < right.size(); ++i) EXPECT_EQ(runs[1][i], (point{2 * O - right[i].x, right[i].y}));
}

TEST(EnvelopeOverlay, FlatStartForAZeroFirstLevel) {
  harness h;
  add_envelope(*h.st, "Flat", {{0, 10, 0}, {10, 90, 10}});
  add_envelope(*h.st, "Off", {{0, 10, 5}}, 0);
  const auto runs = draw_env(h, DISPLAY_TYPE_RECT90);
  const chart_numbers n = numbers(90);
  const int O = n.g.xc1;
  ASSERT_EQ(runs.size(), 1u) << "a mask not displayed is not drawn, and the 90 degree chart has no mirror";
  EXPECT_EQ(runs[0], (std::vector<point>{{O, n.Y(0)}, {n.X(10, O), n.Y(0)}, {n.X(10, O), n.Y(10)},
                                         {n.X(90, O), n.Y(10)}}));
}

TEST(EnvelopeOverlay, RowsBeyondTheSpanEndAtItsEdge) {
  harness h;
  add_envelope(*h.st, "Over", {{0, 10, 0}, {10, 80, 10}, {100, 180, 30}});
  const auto runs = draw_env(h, DISPLAY_TYPE_RECT90);
  const chart_numbers n = numbers(90);
  const int O = n.g.xc1;
  ASSERT_EQ(runs.size(), 1u);
  const point last{n.X(80, O), n.Y(10)}, ovf{n.X(100, O), n.Y(30)};
  const int x90 = n.X(90, O);
  EXPECT_EQ(runs[0].back(), (point{x90, last.y + (ovf.y - last.y) * (x90 - last.x) / (ovf.x - last.x)}));

  harness wide;
  add_envelope(*wide.st, "Clip", {{0, 10, 0}, {10, 200, 10}});
  const auto clipped = draw_env(wide, DISPLAY_TYPE_RECT90);
  EXPECT_EQ(clipped[0].back().x, n.X(90, O)) << "angle2 is clipped to the span";
}

TEST(EnvelopeOverlay, LevelsAsStoredAndOnTheVoltageScale) {
  harness h;
  add_envelope(*h.st, "Above", {{0, 10, -3}});
  auto runs = draw_env(h, DISPLAY_TYPE_RECT);
  EXPECT_EQ(runs[0].size(), 2u) << "a first level below 0.001 takes the two-point start";

  harness mv;
  mv.st->view.mv_display = 1;
  add_envelope(*mv.st, "Half", {{0, 10, 6.0206f}});
  runs = draw_env(mv, DISPLAY_TYPE_RECT);
  const rect_geometry g = rect_chart_geometry(k_area, 360, 4);
  EXPECT_NEAR(runs[0][2].y, g.bottom - 2 * g.y10_increment, 1);
}

}  // namespace
}  // namespace lobe

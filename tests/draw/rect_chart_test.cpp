#include "draw/rect_chart.h"

#include <gtest/gtest.h>

#include "core/text/field_text.h"
#include "draw/chart_scale.h"
#include "draw/recording_surface.h"
#include "support/test_support.h"

namespace lobe {
namespace {

using test::harness;

const rect k_area{100, 50, 700, 550};  // 600 wide

TEST(RectGeometry, NumbersOfA600PixelChart) {
  const rect_geometry g = rect_chart_geometry(k_area, 360, 4);
  EXPECT_EQ(g.xc1, 140);
  EXPECT_EQ(g.width, 520);
  EXPECT_EQ(g.y_height, 292);
  EXPECT_EQ(g.bottom, 550 - (500 - 292) / 2);
  EXPECT_EQ(g.x10_increment, 14);
  EXPECT_EQ(g.right_edge, 36 * 14 + 140);
  EXPECT_EQ(g.centre, (36 * 14 + 140 + 140) / 2);
  EXPECT_EQ(g.y10_increment, 73);
  EXPECT_EQ(rect_chart_geometry(k_area, 90, 4).x10_increment, 57);
  // The grid with three divisions tops out one pixel lower than the traces' 0 dB.
  EXPECT_EQ(rect_chart_geometry(k_area, 360, 3).top - g.top, 1);
}

TEST(RectGeometry, NormalisedLevel) {
  view_state v;
  v.centre_dbs = 40;
  EXPECT_FLOAT_EQ(gimme_db_normalized_level(v, 50.0f, 7.0f), 0.0f);
  EXPECT_FLOAT_EQ(gimme_db_normalized_level(v, 10.0f, 2.0f), 60.0f);
  v.mv_display = 1;
  EXPECT_NEAR(gimme_db_normalized_level(v, 6.0206f, 100.0f), 50.0f, 1e-3);
}

TEST(RectGrid, LinesAndLabels) {
  harness h;
  h.st->view.display_type = DISPLAY_TYPE_RECT;
  h.st->view.centre_db_ix = 3;  // 35 dB in 5 steps of 7
  recording_surface dc;
  init_rect_chart(*h.st, dc, 1.0f, k_area);
  EXPECT_EQ(h.st->view.centre_dbs, 35);
  const rect_geometry g = rect_chart_geometry(k_area, 360, 5);
  const char* labels[] = {"-35dB", "-28dB", "-21dB", "-14dB", "-7dB", " 0dB"};
  for (int k = 0; k < 6; ++k) {
    const recorded_op* op = dc.find_text(labels[k]);
    ASSERT_NE(op, nullptr) << labels[k];
    EXPECT_EQ(op->points[0], (point{g.xc1 - 36, g.bottom - 8 - k * g.y10_increment})) << labels[k];
  }
  // 13 major lines, 24 minor ones, top, 4 level lines and bottom.
  const auto lines = dc.of(recorded_op::op_line);
  int major = 0;
  for (const auto& l : lines) major += l.pen_used == hpo_black(1.0f);
  EXPECT_EQ(major, 13);
  EXPECT_EQ(lines.size(), 13u + 24u + 1u + 4u + 1u);
  const recorded_op* minus180 = dc.find_text("-180");
  ASSERT_NE(minus180, nullptr);
  EXPECT_EQ(minus180->points[0], (point{g.xc1 - 10 + 8 - 8, g.bottom + 12}));
  EXPECT_EQ(dc.find_text("0")->points[0].x, g.xc1 - 10 + 6 * 3 * g.x10_increment + 8 - 2);
}

TEST(RectGrid, LogAndVoltageLabels) {
  harness h;
  h.st->view.log_display = 1;
  recording_surface dc;
  init_rect_chart(*h.st, dc, 1.0f, k_area);
  const rect_geometry g = rect_chart_geometry(k_area, 360, 4);
  EXPECT_EQ(dc.find_text("-3dB")->points[0], (point{g.xc1 - 37, g.top + 292 * 3 / 40 - 8}));
  EXPECT_EQ(dc.find_text("-40dB")->points[0], (point{g.xc1 - 37, g.bottom - 8}));
  EXPECT_NE(dc.find_text("-24dB"), nullptr);
  EXPECT_EQ(dc.find_text("-48dB"), nullptr);

  harness mv;
  mv.st->view.mv_display = 1;
  recording_surface vdc;
  init_rect_chart(*mv.st, vdc, 1.0f, k_area);
  EXPECT_EQ(vdc.find_text("0.00")->points[0].y, g.bottom - 8);
  EXPECT_EQ(vdc.find_text("1.00")->points[0].y, g.bottom - 8 - 4 * g.y10_increment);
}

struct rect_traced {
  harness h;
  recording_surface dc;
  void draw(int display_type) {
    h.st->view.display_type = display_type;
    init_rect_chart(*h.st, dc, 1.0f, k_area);
    dc.clear();
    plot_rect_chart(*h.st, h.win, dc, 1.0f, k_area, k_area);
  }
};

TEST(RectTrace, WrappedCutRunsInTwoJoinedParts) {
  rect_traced t;
  test::put_full_cut(*t.h.st, 0, 0, "H", [](int a) { return a % 40; });
  t.draw(DISPLAY_TYPE_RECT);
  const rect_geometry g = rect_chart_geometry(k_area, 360, 4);
  const auto moves = t.dc.of(recorded_op::op_move);
  ASSERT_EQ(moves.size(), 2u) << "start at 0, restart at -179";
  EXPECT_EQ(moves[0].points[0], (point{g.centre, g.bottom - 292}));
  EXPECT_EQ(moves[1].points[0].x, pix(g.centre + 1.4f * -179.0f));
  const auto lines = t.dc.of(recorded_op::op_line);
  EXPECT_EQ(lines.back().points[1], moves[0].points[0]) << "joined from -1 back to 0";
  EXPECT_EQ(lines.size(), 358u + 1u);
}

TEST(RectTrace, HalfPlaneCutHasNoClosingLine) {
  rect_traced t;
  std::vector<std::pair<float, float>> pts;
  for (int a = -180; a <= 180; a += 10) pts.emplace_back(a, 1.0f);
  test::put_cut(*t.h.st, 0, 0, "H", pts);
  t.draw(DISPLAY_TYPE_RECT);
  EXPECT_EQ(t.dc.of(recorded_op::op_move).size(), 1u);
  EXPECT_EQ(t.dc.of(recorded_op::op_line).size(), pts.size() - 1);
}

TEST(RectTrace, NinetyDegreeChartStopsBeyondItsSpan) {
  rect_traced t;
  test::put_cut(*t.h.st, 0, 0, "V", {{-90, 0}, {-30, 1}, {60, 2}, {91, 100}, {95, 0}});
  t.draw(DISPLAY_TYPE_RECT90);
  const rect_geometry g = rect_chart_geometry(k_area, 90, 4);
  const auto moves = t.dc.of(recorded_op::op_move);
  ASSERT_EQ(moves.size(), 1u);
  EXPECT_LT(moves[0].points[0].x, g.xc1) << "negative angles lie left of the chart";
  EXPECT_EQ(t.dc.of(recorded_op::op_line).size(), 2u);
  EXPECT_EQ(t.h.st->pd.freq[0].cut[0].nupoin, 5) << "leaving at the span does not trim the cut";
}

TEST(RectTrace, MarksAboveTheTopLineAndNoGapRule) {
  rect_traced t;
  test::put_cut(*t.h.st, 0, 0, "H", {{-20, 0}, {-10, 99}, {10, 1}});
  t.draw(DISPLAY_TYPE_RECT);
  const rect_geometry g = rect_chart_geometry(k_area, 360, 4);
  EXPECT_EQ(t.dc.of(recorded_op::op_line).size(), 2u) << "99 dB is drawn (on the bottom line)";
  EXPECT_EQ(t.dc.of(recorded_op::op_line)[0].points[1].y, g.bottom);
  const auto marks = t.dc.of(recorded_op::op_polyline);
  ASSERT_EQ(marks.size(), 2u);
  const int x = pix(g.centre + 1.4f * -10.0f);
  EXPECT_EQ(marks[0].points[1], (point{x, g.top - 4}));
  EXPECT_EQ(marks[0].points[0], (point{x + 2, g.top - 12}));
  EXPECT_EQ(t.dc.find_text("-10.0")->points[0], (point{x - 20, g.top - 30}));
}

}  // namespace
}  // namespace lobe

namespace lobe {
namespace {

TEST(RectTrace, NeighbouringMarkLabelsStackUpwards) {
  // "2.0", "3.0" and "10.0" would otherwise print over each other as one run of digits.
  rect_traced t;
  test::put_cut(*t.h.st, 0, 0, "H", {{0, 0}, {2, 5}});
  test::put_cut(*t.h.st, 0, 1, "H", {{0, 0}, {3, 5}});
  test::put_cut(*t.h.st, 0, 2, "H", {{0, 0}, {10, 5}});
  t.draw(DISPLAY_TYPE_RECT);
  const rect_geometry g = rect_chart_geometry(k_area, 360, 4);
  const recorded_op* a = t.dc.find_text("2.0");
  const recorded_op* b = t.dc.find_text("3.0");
  const recorded_op* c = t.dc.find_text("10.0");
  ASSERT_TRUE(a && b && c);
  EXPECT_EQ(a->points[0].y, g.top - 30);
  EXPECT_EQ(b->points[0].y, g.top - 30 - 14) << "one line up";
  EXPECT_EQ(c->points[0].y, g.top - 30 - 28);
  EXPECT_EQ(t.dc.of(recorded_op::op_polyline).size(), 3u) << "the marks stay on the top line";
}

}  // namespace
}  // namespace lobe

#include "draw/polar_chart.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "draw/chart_scale.h"
#include "draw/label_placer.h"
#include "draw/recording_surface.h"
#include "support/test_support.h"

namespace lobe {
namespace {

using test::harness;

constexpr int X = 500, Y = 400, R = 300;

// Where the angle rule puts a point `rho` from the centre (0 degrees right, 90 down).
point at(double degrees, double rho, int cx = X) {
  return {pix(cx + std::cos(degrees / RADN) * rho), pix(Y + std::sin(degrees / RADN) * rho)};
}

std::vector<int> radii_with(const recording_surface& dc, const pen& p) {
  std::vector<int> out;
  for (const auto& op : dc.of(recorded_op::op_circle))
    if (op.pen_used == p) out.push_back(op.radius);
  return out;
}

TEST(PolarGrid, LinearRingsAndLabels) {
  harness h;
  recording_surface dc;
  init_chart(*h.st, dc, 1.0f, X, Y, R);
  EXPECT_EQ(h.st->view.centre_dbs, 40);
  EXPECT_EQ(radii_with(dc, hpo_grey(1.0f)), (std::vector<int>{75, 150, 225}));
  EXPECT_EQ(radii_with(dc, hpo_pale(1.0f)), (std::vector<int>{37, 112, 187, 262}));
  EXPECT_EQ(radii_with(dc, hpo_black(1.0f)), (std::vector<int>{300}));
  const std::vector<std::pair<const char*, int>> labels = {
      {"-40dB", Y - 8}, {"-30dB", Y - 75}, {"-20dB", Y - 150}, {"-10dB", Y - 225}, {"0dB", Y - 300}};
  for (const auto& [text, y] : labels) {
    const recorded_op* op = dc.find_text(text);
    ASSERT_NE(op, nullptr) << text;
    EXPECT_EQ(op->points[0], (point{X + 4, y})) << text;
  }
  // "0" right of the chart, "90" below it, "180" left with its wider offset.
  EXPECT_EQ(dc.find_text("0")->points[0], (point{X + R + 5, Y}));
  EXPECT_EQ(dc.find_text("90")->points[0], at(90, R + 5));
  EXPECT_EQ(dc.find_text("180")->points[0], at(180, R + 25));
  EXPECT_EQ(dc.find_text("270")->points[0], at(270, R + 20));
  EXPECT_EQ(dc.find_text("300")->points[0], at(300, R + 15));
  // 12 major radials and 24 minor ones, each from half a ring spacing out to the rim.
  const auto lines = dc.of(recorded_op::op_line);
  EXPECT_EQ(lines.size(), 36u);
  const auto north = std::find_if(lines.begin(), lines.end(), [](const recorded_op& op) {
    return op.pen_used == hpo_black(1.0f) && op.points[1] == point{X, Y - R};
  });
  ASSERT_NE(north, lines.end());
  EXPECT_EQ(north->points[0], (point{X, pix(Y - 37.5)}));
}

TEST(PolarGrid, LogRings) {
  harness h;
  h.st->view.log_display = 1;
  recording_surface dc;
  init_chart(*h.st, dc, 1.0f, X, Y, R);
  EXPECT_EQ(radii_with(dc, hpo_black(1.0f)), (std::vector<int>{300}));
  EXPECT_EQ(radii_with(dc, hpo_grey(1.0f)), (std::vector<int>{277, 255, 210, 120, 37}));
  EXPECT_EQ(dc.find_text("-12dB")->points[0], (point{X + 4, Y - 210}));

  harness narrow;
  narrow.st->view.log_display = 1;
  narrow.st->view.centre_db_ix = 0;  // 20 dB
  recording_surface dc20;
  init_chart(*narrow.st, dc20, 1.0f, X, Y, R);
  EXPECT_EQ(radii_with(dc20, hpo_grey(1.0f)), (std::vector<int>{255, 210, 120, 37}));
  EXPECT_NE(dc20.find_text("-12dB"), nullptr);
  EXPECT_EQ(dc20.find_text("-24dB"), nullptr);
  EXPECT_NE(dc20.find_text("-20dB"), nullptr);
}

TEST(PolarGrid, VoltageScale) {
  harness h;
  h.st->view.mv_display = 1;
  h.st->view.centre_db_ix = 2;
  recording_surface dc;
  init_chart(*h.st, dc, 1.0f, X, Y, R);
  EXPECT_EQ(h.st->view.centre_dbs, 40);
  for (const char* t : {"0.25", "0.50", "0.75", "1.00"}) EXPECT_NE(dc.find_text(t), nullptr) << t;
  EXPECT_EQ(dc.find_text("1.00")->points[0], (point{X + 4, Y - R}));
  EXPECT_EQ(dc.find_text("0dB"), nullptr);
  EXPECT_EQ(radii_with(dc, hpo_pale(1.0f)).size(), 4u);
}

TEST(PolarGrid, ScaleFactorAppliesToGeometryAndPens) {
  harness h;
  recording_surface dc;
  init_chart(*h.st, dc, 2.0f, X, Y, R);
  EXPECT_EQ(radii_with(dc, hpo_black(2.0f)), (std::vector<int>{600}));
  EXPECT_EQ(hpo_black(2.0f).width, 1);
  EXPECT_EQ(hpo_grey(2.0f).width, 0);
  EXPECT_EQ(dc.find_text("-30dB")->points[0], (point{2 * (X + 4), 2 * (Y - 75)}));
  EXPECT_EQ(dc.of(recorded_op::op_circle)[0].points[0], (point{2 * X, 2 * Y}));
}

// The traces: one cut drawn on a fresh grid.
struct traced {
  harness h;
  recording_surface dc;
  void draw() {
    init_chart(*h.st, dc, 1.0f, X, Y, R);
    dc.clear();
    plot_chart(*h.st, h.win, dc, 1.0f, X, X, Y, R);
  }
  std::vector<recorded_op> marks() const { return dc.of(recorded_op::op_polyline); }
};

TEST(PolarTrace, PointsFollowTheAngleRuleAndTheCurveCloses) {
  traced t;
  // 0 dB right of the centre, 10 dB down (three quarters out) below it.
  test::put_cut(*t.h.st, 0, 0, "H", {{0, 0}, {90, 10}, {180, 1}});
  t.draw();
  const auto moves = t.dc.of(recorded_op::op_move);
  ASSERT_EQ(moves.size(), 1u);
  EXPECT_EQ(moves[0].points[0], (point{X + 300, Y}));
  const auto lines = t.dc.of(recorded_op::op_line);
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0].points[1], at(90, 225));
  EXPECT_EQ(lines[1].points[1], at(180, 292.5)) << "39 dB of 40 at 7.5 px/dB";
  EXPECT_EQ(lines[2].points[1], (point{X + 300, Y})) << "closing line back to the first point";
  EXPECT_EQ(lines[0].pen_used, (pen{pen_style::solid, 1, gr_colours_init()[0]}));
}

TEST(PolarTrace, GapsAtNinetyEightDb) {
  traced t;
  test::put_cut(*t.h.st, 0, 0, "H", {{0, 1}, {10, 98}, {20, 99}, {30, 1}, {40, 1}});
  t.draw();
  // Pen up at 10 (moved there), stays up at 20 (not visited), down again at 30.
  const auto moves = t.dc.of(recorded_op::op_move);
  ASSERT_EQ(moves.size(), 3u);
  const auto lines = t.dc.of(recorded_op::op_line);
  ASSERT_EQ(lines.size(), 2u) << "30 -> 40 and the closing line";
  EXPECT_EQ(lines[1].points[1], moves[0].points[0]);
}

TEST(PolarTrace, HalfPowerMarksAndTheirLabels) {
  traced t;
  test::put_cut(*t.h.st, 0, 0, "H", {{-10, 0}, {-5, 4}, {5, 2}, {370, 1}});
  t.draw();
  // Crossings at -5 (going down) and at 5 (coming back): one mark each.
  ASSERT_EQ(t.marks().size(), 2u);
  EXPECT_NE(t.dc.find_text("355.0"), nullptr);
  EXPECT_NE(t.dc.find_text("5.0"), nullptr);
  EXPECT_EQ(t.marks()[0].points.size(), 4u);
  EXPECT_EQ(t.marks()[0].pen_used.width, 3);
  EXPECT_EQ(t.marks()[0].points[1], at(-5, 300));
  EXPECT_EQ(t.marks()[0].points[0], t.marks()[0].points[3]) << "a closed wedge";
  EXPECT_EQ(t.dc.find_text("355.0")->points[0], (point{pix(X - 20 + std::cos(-5 / RADN) * 340), at(-5, 340).y}));

  traced exact;
  test::put_cut(*exact.h.st, 0, 0, "H", {{-20, 3.0f}, {-10, 1}});
  exact.draw();
  ASSERT_EQ(exact.marks().size(), 1u) << "3.0 at the start is already below the half-power level";
  EXPECT_NE(exact.dc.find_text("350.0"), nullptr) << "negative angles are labelled plus 360";

  traced quiet;
  test::put_cut(*quiet.h.st, 0, 0, "H", {{0, 0}, {1, 2.9f}, {2, 1}});
  quiet.draw();
  EXPECT_TRUE(quiet.marks().empty());

  traced wide;
  test::put_cut(*wide.h.st, 0, 0, "H", {{0, 0}, {370, 5}});
  wide.draw();
  EXPECT_NE(wide.dc.find_text("370.0"), nullptr);
}

TEST(PolarTrace, EndMarkerTrimsTheCut) {
  traced t;
  test::put_full_cut(*t.h.st, 0, 0, "H", [](int) { return 1.0; });
  t.h.st->pd.freq[0].cut[0].angle[5] = END_MARKER;
  t.draw();
  EXPECT_EQ(t.h.st->pd.freq[0].cut[0].nupoin, 5);
  EXPECT_EQ(t.dc.of(recorded_op::op_line).size(), 5u) << "four segments and the closing line";
}

TEST(PolarTrace, ScaleToStrongestShift) {
  traced t;
  test::put_cut(*t.h.st, 0, 0, "H", {{0, 0}});
  t.h.st->pd.freq[0].cut[0].emax = 500.0f;
  t.h.st->all_emax = 1000.0f;
  t.h.st->view.scale_to_max_mode = 1;
  t.draw();
  // 6.02 dB closer to the centre: 300 - 6.0206 * 7.5 = 254.8.
  EXPECT_EQ(t.dc.of(recorded_op::op_move)[0].points[0], (point{X + 254, Y}));

  traced unshifted;
  test::put_cut(*unshifted.h.st, 0, 0, "H", {{0, 0}});
  unshifted.h.st->pd.freq[0].cut[0].emax = 0.0f;
  unshifted.h.st->all_emax = 1000.0f;
  unshifted.h.st->view.scale_to_max_mode = 1;
  unshifted.draw();
  EXPECT_EQ(unshifted.dc.of(recorded_op::op_move)[0].points[0], (point{X + 300, Y}));
}

TEST(PolarTrace, HiddenCutsKeepTheirColourAndVerticalCutsTheirCentre) {
  traced t;
  test::put_cut(*t.h.st, 0, 0, "H", {{0, 0}});
  test::put_cut(*t.h.st, 0, 1, "H", {{0, 0}});
  test::put_cut(*t.h.st, 1, 0, "el", {{0, 0}});
  t.h.win.hidden = {{0, 0}};
  init_chart(*t.h.st, t.dc, 1.0f, X, Y, R);
  t.dc.clear();
  plot_chart(*t.h.st, t.h.win, t.dc, 1.0f, X, 900, Y, R);
  const auto moves = t.dc.of(recorded_op::op_move);
  ASSERT_EQ(moves.size(), 2u);
  EXPECT_EQ(moves[0].pen_used.colour, gr_colours_init()[1]);
  EXPECT_EQ(moves[1].pen_used.colour, gr_colours_init()[2]);
  EXPECT_EQ(moves[1].points[0], (point{900 + 300, Y})) << "vertical cuts use their own centre";
}

TEST(PolarTrace, NotANumberStaysOnTheSurface) {
  traced t;
  test::put_cut(*t.h.st, 0, 0, "H", {{0, std::nanf("")}, {std::nanf(""), 1}, {1e30f, 1e30f}});
  t.draw();
  for (const auto& op : t.dc.ops)
    for (const point& p : op.points) {
      EXPECT_LE(std::abs(p.x), 4000000);
      EXPECT_LE(std::abs(p.y), 4000000);
    }
}

}  // namespace
}  // namespace lobe

namespace lobe {
namespace {

// The boxes of every text drawn, by the recording surface's own measure.
std::vector<std::pair<std::string, rect>> text_boxes(const recording_surface& dc) {
  std::vector<std::pair<std::string, rect>> out;
  for (const auto& op : dc.of(recorded_op::op_text)) {
    const int w = static_cast<int>(op.text.size()) * op.font_used.height * 11 / 20;
    out.push_back({op.text, {op.points[0].x, op.points[0].y, op.points[0].x + w, op.points[0].y + op.font_used.height}});
  }
  return out;
}

bool boxes_overlap(const rect& a, const rect& b) {
  return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

TEST(PolarTrace, CrowdedHalfPowerLabelsStayReadable) {
  // Four cuts crossing 3 dB a degree apart near 0: the labels would sit on
  // top of each other and of the "0" degree label.
  harness h;
  for (int c = 0; c < 4; ++c)
    test::put_full_cut(*h.st, 0, c, "H", [c](int a) { return (a < 10 + c || a > 350 - c) ? 0.0 : 10.0; });
  recording_surface dc;
  init_chart(*h.st, dc, 1.0f, X, Y, R);
  plot_chart(*h.st, h.win, dc, 1.0f, X, X, Y, R);
  const auto boxes = text_boxes(dc);
  int angle_labels = 0;
  for (std::size_t i = 0; i < boxes.size(); ++i) {
    const bool is_angle = boxes[i].first.find('.') != std::string::npos && boxes[i].first.find("dB") == std::string::npos;
    angle_labels += is_angle;
    if (!is_angle) continue;
    for (std::size_t j = 0; j < boxes.size(); ++j) {
      if (i == j) continue;
      EXPECT_FALSE(boxes_overlap(boxes[i].second, boxes[j].second)) << boxes[i].first << " over " << boxes[j].first;
    }
  }
  EXPECT_EQ(angle_labels, 8) << "every crossing keeps its label when there is room";
  // The marks themselves stay on the rim at their angles.
  EXPECT_EQ(dc.of(recorded_op::op_polyline).size(), 8u);
  EXPECT_EQ(dc.find_text("10.0")->points[0], (point{pix(X - 20 + std::cos(10 / RADN) * 340), at(10, 340).y}))
      << "the first label takes its own place";
}

TEST(LabelPlacer, MovesAlongItsStepLeavesOutWhatCannotFit) {
  recording_surface dc;
  label_placer labels;
  labels.reserve({0, 0, 50, 14});
  EXPECT_TRUE(labels.place(dc, 10, 5, "1.0", 0, 14, 4));
  EXPECT_EQ(dc.ops.back().points[0], (point{10, 19})) << "one step down clears the reserved box";
  EXPECT_TRUE(labels.place(dc, 10, 5, "2.0", 0, 14, 4));
  EXPECT_EQ(dc.ops.back().points[0], (point{10, 33}));
  labels.keep_inside({0, 0, 100, 40});
  EXPECT_FALSE(labels.place(dc, 10, 5, "3.0", 0, 14, 4)) << "every step is taken or outside";
  EXPECT_EQ(dc.of(recorded_op::op_text).size(), 2u);
}

}  // namespace
}  // namespace lobe

namespace lobe {
namespace {

TEST(LabelPlacer, BothWaysTriesOneSideThenTheOther) {
  recording_surface dc;
  label_placer labels;
  labels.reserve({0, 0, 100, 14});  // the label's own place, taken
  EXPECT_TRUE(labels.place(dc, 0, 0, "a", 0, 20, 4, true));
  EXPECT_EQ(dc.ops.back().points[0], (point{0, 20})) << "one step one way first";
  EXPECT_TRUE(labels.place(dc, 0, 0, "b", 0, 20, 4, true));
  EXPECT_EQ(dc.ops.back().points[0], (point{0, -20})) << "then one step the other way";
  EXPECT_TRUE(labels.place(dc, 0, 0, "c", 0, 20, 4, true));
  EXPECT_EQ(dc.ops.back().points[0], (point{0, 40})) << "then two steps";
}

}  // namespace
}  // namespace lobe

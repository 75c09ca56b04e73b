// The window's layout and the one renderer of every view.
#include <gtest/gtest.h>


#include "core/text/field_text.h"
#include "draw/recording_surface.h"
#include "draw/view_renderer.h"
#include "draw/window_layout.h"
#include "support/test_support.h"

namespace lobe {
namespace {

// The chart fills its area with a whole number of rings, whatever the size.
TEST(WindowLayout, RadiusIsAWholeNumberOfRingsInsideTheChartArea) {
  for (int w = 900; w <= 2600; w += 137)
    for (int h = 620; h <= 1600; h += 91)
      for (int rings : {3, 4, 5}) {
        window_layout l;
        set_window_parameters(l, w, h, true, rings);
        EXPECT_EQ(l.plot_radius % rings, 0) << w << "x" << h;
        EXPECT_LE(l.plot_centre_x + l.plot_radius, l.rRectArea.right);
        EXPECT_GE(l.plot_centre_x - l.plot_radius, l.rRectArea.left);
        EXPECT_GE(l.plot_centre_y - l.plot_radius, l.rRectArea.top);
        EXPECT_GT(l.plot_radius, 100);
        // The left column, the chart and the right column side by side, edge to edge.
        EXPECT_EQ(l.rFileDataArea.left, 0);
        EXPECT_EQ(l.rButtonArea.left, 5);
        EXPECT_LT(l.rFileDataArea.right, l.rRectArea.left);
        EXPECT_EQ(l.rFreqDataArea.left, l.rRectArea.right);
        EXPECT_EQ(l.rFreqDataArea.right, w);
        EXPECT_EQ(l.rRectArea.bottom, h);
        EXPECT_EQ(l.rFileDataArea.top, 220) << "below the full mode's buttons (194 in view mode)";
      }
}

using test::harness;

TEST(ViewRenderer, EachViewDrawsItsOwnChart) {
  window_layout l;
  set_window_parameters(l, 1280, 800, false, 4);
  const view_geometry g = window_view_geometry(l, 0);
  for (int view : {DISPLAY_TYPE_POLAR, DISPLAY_TYPE_RECT, DISPLAY_TYPE_RECT90, DISPLAY_TYPE_EMR}) {
    harness h;
    test::put_full_cut(*h.st, 0, 0, "H", [](int a) { return a < 30 ? 0.0 : 10.0; });
    h.st->view.display_type = view;
    recording_surface dc;
    const bool drawn = draw_view(*h.st, h.log, dc, g);
    EXPECT_EQ(drawn, view != DISPLAY_TYPE_EMR) << "the EMR view needs a vertical cut";
    if (view == DISPLAY_TYPE_EMR) continue;
    EXPECT_EQ(dc.of(recorded_op::op_circle).empty(), view != DISPLAY_TYPE_POLAR) << view;
    EXPECT_FALSE(dc.of(recorded_op::op_line).empty()) << view;
  }
  // The description strip leaves out empty lines.
  harness h;
  set_field(h.st->pd.descr1, "first");
  set_field(h.st->pd.descr3, "third");
  recording_surface dc;
  EXPECT_EQ(draw_description_strip(dc, h.st->pd, l), 2);
  const auto texts = dc.of(recorded_op::op_text);
  ASSERT_EQ(texts.size(), 2u);
  EXPECT_EQ(texts[1].text, "third");
  EXPECT_EQ(texts[0].points[0], (point{l.rFileDataArea.right + 15, 5}));
  EXPECT_EQ(texts[1].points[0].y, 15) << "the next line, not a blank one";
}

}  // namespace
}  // namespace lobe

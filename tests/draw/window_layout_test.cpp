#include "draw/window_layout.h"

#include <gtest/gtest.h>

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

TEST(WindowLayout, TooNarrowKeepsTheRest) {
  window_layout l;
  set_window_parameters(l, 1280, 820, false, 4);
  const window_layout before = l;
  set_window_parameters(l, 300, 820, true, 4);
  EXPECT_LE(l.rRectArea.right, l.rRectArea.left);
  EXPECT_EQ(l.rFreqDataArea, before.rFreqDataArea);
  EXPECT_EQ(l.plot_radius, before.plot_radius);
}

}  // namespace
}  // namespace lobe

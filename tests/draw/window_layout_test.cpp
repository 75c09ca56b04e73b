#include "draw/window_layout.h"

#include <gtest/gtest.h>

namespace lobe {
namespace {

TEST(WindowLayout, FullAndViewMode) {
  window_layout full;
  set_window_parameters(full, 1264, 761, true, 4);
  EXPECT_EQ(full.rRectArea, (rect{265, 35, 949, 761}));
  EXPECT_EQ(full.rFreqDataArea, (rect{949, 0, 1264, 671}));
  EXPECT_EQ(full.rFileDataArea.top, 220);
  window_layout view;
  set_window_parameters(view, 1264, 761, false, 4);
  EXPECT_EQ(view.rRectArea.right, 1099);
  EXPECT_EQ(view.rFileDataArea.top, 194);
  EXPECT_EQ(view.rTrCtlArea, (rect{(265 + 1099) / 2 - 130, 716, (265 + 1099) / 2 + 130, 756}));
}

TEST(WindowLayout, RadiusIsAWholeNumberOfRings) {
  window_layout l;
  // w = 664, h = 706 - 35 - 20 = 651: 651 / 2 - 45 = 280, a multiple of 4 and of 5 already.
  set_window_parameters(l, 1094, 706, false, 3);
  EXPECT_EQ(l.plot_radius, 279);
  EXPECT_EQ(l.plot_centre_x, 265 + (1094 - 165 - 265) / 2);
  EXPECT_EQ(l.plot_centre_y, 35 + 651 / 2);
  // 287 becomes 284 with four rings.
  set_window_parameters(l, 265 + 664 + 165, 35 + 20 + 664, false, 4);
  EXPECT_EQ(l.plot_radius, 284);
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

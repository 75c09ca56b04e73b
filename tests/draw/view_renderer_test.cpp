#include "draw/view_renderer.h"

#include <gtest/gtest.h>

#include "core/text/field_text.h"
#include "draw/recording_surface.h"
#include "support/test_support.h"

namespace lobe {
namespace {

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
  EXPECT_EQ(texts[1].points[0].y - texts[0].points[0].y, 10) << "the next line, not a blank one";
}

}  // namespace
}  // namespace lobe

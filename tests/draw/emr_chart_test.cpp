#include "draw/emr_chart.h"

#include <gtest/gtest.h>

#include "core/text/field_text.h"
#include "draw/chart_scale.h"
#include "draw/recording_surface.h"
#include "support/test_support.h"

namespace lobe {
namespace {

using test::harness;

constexpr int CX = 600, CY = 400, R = 300;

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
    layout.rFileDataArea = {0, 194, 255, 820};
    layout.rFreqDataArea = {1115, 0, 1280, 730};
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

TEST(EmrChart, ZonesAndMarkersAgree) {
  emr_fixture t;
  test::put_full_cut(*t.h.st, 0, 0, "V", [](int) { return 0.0; });
  ASSERT_TRUE(t.draw());
  // Zones: 360 triangles each from the antenna, yellow (public) first, red over it.
  const auto tris = t.dc.of(recorded_op::op_polygon);
  ASSERT_EQ(tris.size(), 720u);
  EXPECT_EQ(tris[0].brush_used.colour, rgb(255, 255, 0));
  EXPECT_EQ(tris[360].brush_used.colour, rgb(255, 0, 0));
  EXPECT_EQ(tris[0].pen_used.style, pen_style::null) << "zones without outlines";
  EXPECT_EQ(tris[0].points[0], (point{CX, CY}));
  EXPECT_EQ(tris[359].points[1], tris[0].points[2]) << "the fan closes on the first point";
  // The distance markers stand where each zone reaches at 0 degrees (5.4 m and 2.4 m).
  const auto lines = t.dc.of(recorded_op::op_line);
  ASSERT_EQ(lines.size(), 5u) << "the two-metre line, two distance markers, the mast's legs";
  EXPECT_EQ(lines[3].points[1], lines[4].points[0]) << "the mast's legs meet";
  EXPECT_EQ(lines[1].points[1].x, tris[0].points[2].x) << "public marker";
  EXPECT_EQ(lines[2].points[1].x, tris[360].points[2].x) << "occupational marker";
  EXPECT_GT(lines[1].points[1].x, lines[2].points[1].x);
  EXPECT_NE(t.dc.find_text("2.0m"), nullptr);
  EXPECT_NE(t.dc.find_text("25.0m"), nullptr) << "the antenna height spans the chart";

  // A million watts from a metre up: the zones stay on the chart.
  emr_fixture huge;
  huge.h.st->emr.epower = 1e6f;
  huge.h.st->emr.eheight = 1.0f;
  test::put_full_cut(*huge.h.st, 0, 0, "V", [](int) { return 0.0; });
  ASSERT_TRUE(huge.draw());
  for (const auto& tri : huge.dc.of(recorded_op::op_polygon))
    for (const point& p : tri.points) {
      EXPECT_LE(std::abs(p.y - CY), R - 40);
      EXPECT_LE(std::abs(p.x - CX), R + 40);
    }
}

TEST(EmrChart, CutChoiceAndPointer) {
  emr_fixture t;
  test::put_full_cut(*t.h.st, 0, 0, "H", [](int) { return 0.0; });
  test::put_full_cut(*t.h.st, 0, 1, "V", [](int) { return 0.0; });
  test::put_full_cut(*t.h.st, 0, 2, "el", [](int) { return 0.0; });
  test::hide_cuts(*t.h.st, {{0, 1}});
  ASSERT_TRUE(t.draw());
  // Cut 2 of frequency 0 is panel line 2 + 2.
  const recorded_op* ptr = t.dc.find_text(">>>");
  ASSERT_NE(ptr, nullptr);
  EXPECT_EQ(ptr->points[0], (point{1115 - 35, 5 + 25 * 4}));
  EXPECT_EQ(ptr->font_used, (font{16, 400, true}));
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

#include "draw/print_page.h"

#include <gtest/gtest.h>

#include "core/text/field_text.h"
#include "draw/chart_scale.h"
#include "draw/recording_surface.h"
#include "support/test_support.h"

namespace lobe {
namespace {

using test::harness;

TEST(PrintPage, A4At600DpiPortraitGeometry) {
  const page_geometry g = print_page_geometry({4960, 7016, 600, 96, false});
  EXPECT_EQ(g.ppm, 23);
  EXPECT_EQ(g.margin, 276);
  EXPECT_EQ(g.page, (rect{276, 276, 4684, 6740}));
  EXPECT_EQ(g.gxh, 2480);
  EXPECT_EQ(g.gy, 3738);
  EXPECT_EQ(g.radius, 1790);
  EXPECT_FLOAT_EQ(g.scf, 5.9375f);
  EXPECT_EQ(g.cb1, (point{4684 - 44 * 23, 276 + 14 * 23}));
  EXPECT_EQ(g.ft2.x, 276 + (4684 - 276) / 3);
  EXPECT_EQ(print_page_geometry({2480, 3508, 300, 96, false}).margin, 132);
  EXPECT_FLOAT_EQ(print_page_geometry({2480, 3508, 192, 96, false}).scf, 1.9f);
}

TEST(PrintPage, LandscapeGeometry) {
  const page_geometry g = print_page_geometry({7016, 4960, 600, 96, true});
  EXPECT_EQ(g.gxh, (276 + 6740) * 2 / 5 - 8 * 23);
  EXPECT_EQ(g.gxv, (276 + 6740) * 4 / 5 - 10 * 23);
  EXPECT_EQ(g.gy, (276 + 4684) / 2);
  EXPECT_EQ(g.radius, g.gy - 60 * 23);
  EXPECT_EQ(g.cb1, (point{276, 276 + 80 * 23}));
  EXPECT_EQ(g.ft3.x, 6740 - (6740 - 276) / 2);
}

struct printed {
  harness h;
  recording_surface dc;
  bool print(bool landscape = false) {
    return print_chart(*h.st, h.log, dc,
                       landscape ? page_setup{7016, 4960, 600, 96, true} : page_setup{4960, 7016, 600, 96, false});
  }
};

TEST(PrintPage, PolarPageBlocks) {
  printed p;
  set_field(p.h.st->pd.name, "YAGI-5");
  set_field(p.h.st->pd.descr2, "second line");
  test::put_full_cut(*p.h.st, 0, 0, "H", [](int) { return 1.0; });
  test::put_full_cut(*p.h.st, 0, 1, "V", [](int) { return 1.0; });
  set_field(p.h.st->pd.freq[0].patfre, "450");
  test::hide_cuts(*p.h.st, {{0, 0}});
  ASSERT_TRUE(p.print());
  const float scf = 5.9375f;
  const recorded_op* title = p.dc.find_text("Antenna Radiation Pattern");
  ASSERT_NE(title, nullptr);
  EXPECT_EQ(title->points[0], (point{276 + 60 * 23, 276}));
  EXPECT_EQ(title->font_used, (font{pix(25 * scf), 700, true}));
  EXPECT_EQ(title->text_colour, rgb(0, 0, 50));
  EXPECT_EQ(p.dc.find_text("Version 12.2")->points[0], (point{4684 - 18 * 23, 6740 + 2 * 23}));
  const recorded_op* name = p.dc.find_text("Antenna Name");
  ASSERT_NE(name, nullptr);
  EXPECT_EQ(name->points[0], (point{276, 276 + 14 * 23}));
  EXPECT_EQ(p.dc.find_text("YAGI-5")->points[0], (point{pix(276 + 140 * scf), 276 + 14 * 23}));
  EXPECT_EQ(p.dc.find_text("Antenna Make")->points[0].y, pix(276 + 14 * 23 + 15 * scf));
  // The only description line follows the first block directly.
  const int after_block = [&] {
    int y = 276 + 14 * 23;
    for (int i = 0; i < 8; ++i) y = pix(y + 15.0 * scf);
    return pix(y + 4.0 * scf);
  }();
  EXPECT_EQ(p.dc.find_text("second line")->points[0], (point{276, after_block}));
  EXPECT_EQ(p.dc.find_text("Connector type")->points[0], (point{276 + 4408 / 3 + 20 * 23, 276 + 14 * 23}));
  EXPECT_EQ(p.dc.find_text("Low Freq")->points[0], (point{276, 6740 - 32 * 23}));
  EXPECT_EQ(p.dc.find_text("File"), nullptr) << "no file loaded";
  // Legend: the hidden H cut is left out, the V cut keeps colour 1.
  EXPECT_NE(p.dc.find_text("Frequency"), nullptr);
  EXPECT_EQ(p.dc.find_text("H"), nullptr);
  ASSERT_NE(p.dc.find_text("V"), nullptr);
  const recorded_op* sample = nullptr;
  for (const auto& op : p.dc.ops)
    if (op.kind == recorded_op::op_line && op.pen_used.colour == gr_colours_init()[1] && op.points[0].y > 276 &&
        op.points[0].y < 276 + 60 * 23)
      sample = &op;
  ASSERT_NE(sample, nullptr);
  EXPECT_GE(sample->pen_used.width * 254 / 600, 4) << "at least 0.4 mm wide on paper";
  EXPECT_EQ(sample->pen_used.colour, gr_colours_init()[1]);
  EXPECT_NE(p.dc.find_text("Centre dB -40"), nullptr);
  EXPECT_EQ(p.dc.of(recorded_op::op_picture).size(), 1u);
  EXPECT_EQ(p.dc.of(recorded_op::op_picture)[0].points[0], (point{276 + 2 * 23, 276 + 23}));
  // The chart: its outer ring at the page's radius, drawn in screen units times scf.
  int outer = 0;
  for (const auto& c : p.dc.of(recorded_op::op_circle)) outer = std::max(outer, c.radius);
  EXPECT_EQ(outer, pix(pix(1790 / scf) * scf));
}

TEST(PrintPage, LandscapeRectangularWithEnvelopeAndFile) {
  printed p;
  p.h.st->view.display_type = DISPLAY_TYPE_RECT;
  test::put_full_cut(*p.h.st, 0, 0, "H", [](int) { return 1.0; });
  set_field(p.h.st->pd.descr1, "first");
  p.h.st->file.filename_set = 1;
  p.h.st->file.szFileName_name = "yagi.nsma";
  p.h.st->ed.numenv = 1;
  set_field(p.h.st->ed.env[0].title, "Class A");
  p.h.st->ed.env[0].display = 1;
  p.h.st->ed.env[0].nupoin = 1;
  ASSERT_TRUE(p.print(true));
  EXPECT_EQ(p.dc.find_text("Antenna Radiation Pattern")->points[0].x, 276 + 90 * 23);
  EXPECT_EQ(p.dc.find_text("first")->points[0], (point{276 + 6464 * 3 / 5, 276 + 14 * 23}));
  EXPECT_NE(p.dc.find_text("yagi.nsma"), nullptr);
  EXPECT_EQ(p.dc.find_text("File")->points[0], (point{276, 4684 - 5 * 23}));
  EXPECT_NE(p.dc.find_text("Envelope"), nullptr);
  EXPECT_NE(p.dc.find_text("Class A"), nullptr);
  EXPECT_EQ(p.dc.find_text("Centre dB -40"), nullptr);
  // Two grids side by side: 26 major vertical lines.
  EXPECT_EQ(p.dc.find_text("-180") != nullptr, true);
  int labels = 0;
  for (const auto& op : p.dc.of(recorded_op::op_text)) labels += op.text == "-180";
  EXPECT_EQ(labels, 2);
}

TEST(PrintLegend, FitsItsBoxInColumnsWhenLong) {
  const rect box{900, 400, 2000, 1300};
  const legend_layout one = fit_legend(10, box, 89, 1012, true);
  EXPECT_EQ(one.columns, 1);
  EXPECT_FLOAT_EQ(one.scale, 1.0f);
  EXPECT_EQ(one.left, 2000 - 1012) << "where the single column always stood";
  for (int rows : {11, 30, 108}) {
    const legend_layout l = fit_legend(rows, box, 89, 1012, true);
    EXPECT_LE(l.rows_per_column * l.columns, rows + l.columns - 1) << rows;
    EXPECT_GE(l.rows_per_column * l.columns, rows) << rows;
    EXPECT_LE(l.rows_per_column * 89 * l.scale, 900.5) << rows << " rows fit the height";
    EXPECT_LE(l.columns * 1012 * l.scale, 1100.5) << rows << " columns fit the width";
    EXPECT_GE(l.left, box.left);
    EXPECT_LT(l.scale, 1.0f);
  }
  EXPECT_EQ(fit_legend(108, box, 89, 1012, false).left, 900) << "landscape legends start at the left";
}

TEST(PrintLegend, LargestPatternStaysInsideItsBox) {
  for (bool landscape : {false, true}) {
    printed p;
    p.h.st->pd.nofreq = MAX_FREQ;
    for (int f = 0; f < MAX_FREQ; ++f) {
      set_field(p.h.st->pd.freq[f].patfre, "400");
      for (int c = 0; c < MAX_CUTS; ++c) test::put_full_cut(*p.h.st, f, c, c % 2 ? "V" : "H", [](int) { return 1.0; });
    }
    ASSERT_TRUE(p.print(landscape));
    const page_geometry g = print_page_geometry(landscape ? page_setup{7016, 4960, 600, 96, true}
                                                          : page_setup{4960, 7016, 600, 96, false});
    const rect box = legend_box(g, landscape, DISPLAY_TYPE_POLAR);
    int rows = 0;
    for (const auto& op : p.dc.of(recorded_op::op_text)) {
      if (op.text != "Frequency" && op.text != "H" && op.text != "V" && op.text != "Centre dB -40") continue;
      ++rows;
      const point at = op.points[0];
      EXPECT_GE(at.x, box.left) << op.text;
      EXPECT_GE(at.y, box.top) << op.text;
      EXPECT_LE(at.y + op.font_used.height, box.bottom + 1) << op.text << " landscape " << landscape;
    }
    EXPECT_EQ(rows, MAX_FREQ * (1 + MAX_CUTS) + 1) << "every row is printed";
  }
}

TEST(PrintPage, EmrPageHasNoLegendAndItsBlockBelowTheHeader) {
  printed p;
  p.h.st->view.display_type = DISPLAY_TYPE_EMR;
  set_field(p.h.st->pd.freq[0].patfre, "900");
  test::put_full_cut(*p.h.st, 0, 0, "V", [](int) { return 0.0; });
  ASSERT_TRUE(p.print());
  EXPECT_NE(p.dc.find_text("EMR Pattern Response"), nullptr);
  EXPECT_EQ(p.dc.find_text("Frequency") != nullptr, true) << "the EMR block's own line";
  EXPECT_EQ(p.dc.find_text("Centre dB -40"), nullptr);
  EXPECT_NE(p.dc.find_text("Transmitter loss"), nullptr);
  const int header_last = p.dc.find_text("Comment2")->points[0].y;
  EXPECT_GT(p.dc.find_text("Transmitter power")->points[0].y, header_last);
  EXPECT_EQ(p.dc.find_text("Transmitter power")->points[0].x, pix(55 * 5.9375));
}

}  // namespace
}  // namespace lobe

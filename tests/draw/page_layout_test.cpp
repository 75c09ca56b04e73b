// Where things go: the one renderer of every view, and the printed page
// (every text inside the page and clear of the others, the legend of the
// largest pattern in its box). The window's layout and the page's margins
// are held by the pictures test.
#include <gtest/gtest.h>

#include "core/text/field_text.h"
#include "draw/chart_scale.h"
#include "core/formats/envelope_file.h"
#include "draw/print_page.h"
#include "draw/recording_surface.h"
#include "draw/view_renderer.h"
#include "draw/window_layout.h"
#include "support/test_support.h"

namespace lobe {
namespace {

using test::harness;

// Which view draws what is held by the pictures test; here what a view
// cannot draw, and the description strip.
TEST(ViewRenderer, TheEmrViewNeedsAVerticalCutAndTheStripItsLines) {
  window_layout l;
  set_window_parameters(l, 1280, 800, false, 4);
  const view_geometry g = window_view_geometry(l, 0);
  harness horizontal;
  test::put_full_cut(*horizontal.st, 0, 0, "H", [](int) { return 0.0; });
  horizontal.st->view.display_type = DISPLAY_TYPE_EMR;
  recording_surface dc0;
  EXPECT_FALSE(draw_view(*horizontal.st, horizontal.log, dc0, g)) << "the EMR view needs a vertical cut";
  // The description strip leaves out empty lines.
  harness h;
  set_field(h.st->pd.descr1, "first");
  set_field(h.st->pd.descr3, "third");
  recording_surface dc;
  EXPECT_EQ(draw_description_strip(dc, h.st->pd, l), 2);
  const auto texts = dc.of(recorded_op::op_text);
  ASSERT_EQ(texts.size(), 2u);
  EXPECT_EQ(texts[1].text, "third");
  EXPECT_EQ(texts[1].points[0].y, 16) << "the next line, not a blank one";
  EXPECT_LE(texts[1].font_used.height, texts[1].points[0].y - texts[0].points[0].y) << "lines clear of each other";
}


struct printed {
  harness h;
  recording_surface dc;
  page_extras extras;
  bool print(bool landscape = false) {
    return print_chart(*h.st, h.log, dc,
                       landscape ? page_setup{7016, 4960, 600, 96, true} : page_setup{4960, 7016, 600, 96, false},
                       nullptr, extras);
  }
  // Every text inside the printable page and clear of every other.
  void expect_texts_clear(const page_geometry& g) {
    std::vector<std::pair<std::string, rect>> boxes;
    for (const auto& op : dc.of(recorded_op::op_text)) {
      const point e = dc.text_extent(op.text);
      const rect box{op.points[0].x, op.points[0].y, op.points[0].x + e.x, op.points[0].y + e.y};
      EXPECT_TRUE(box.left >= g.page.left && box.right <= g.page.right && box.top >= g.page.top &&
                  box.bottom <= g.page.bottom + 3 * g.ppm)
          << "\"" << op.text << "\" leaves the page";
      for (const auto& [text, other] : boxes)
        EXPECT_FALSE(box.left < other.right && other.left < box.right && box.top < other.bottom && other.top < box.bottom)
            << "\"" << op.text << "\" over \"" << text << "\"";
      boxes.push_back({op.text, box});
    }
  }
};

// Every page, whatever it shows: each text inside the printable page, no
// two texts over each other (crowded half-power labels included), the
// legend leaving out hidden cuts.
TEST(PrintPage, EveryTextInsideThePageAndClearOfTheOthers) {
  for (int type : {DISPLAY_TYPE_POLAR, DISPLAY_TYPE_RECT, DISPLAY_TYPE_EMR})
    for (bool landscape : {false, true}) {
      SCOPED_TRACE("view " + std::to_string(type) + (landscape ? " landscape" : " portrait"));
      printed p;
      p.h.st->view.display_type = type;
      set_field(p.h.st->pd.name, "YAGI-5");
      set_field(p.h.st->pd.descr2, "second line");
      set_field(p.h.st->pd.freq[0].patfre, "450");
      // Cuts crossing 3 dB a degree apart near 0: their half-power labels crowd each other and the "0".
      for (const auto& [c, name] : {std::pair{0, "H"}, {1, "V"}, {2, "EL"}})
        test::put_full_cut(*p.h.st, 0, c, name, [c](int a) { return (a < 10 + c || a > 350 - c) ? 0.0 : 10.0; });
      test::hide_cuts(*p.h.st, {{0, 0}});
      if (landscape) {
        p.h.st->file.filename_set = 1;
        p.h.st->file.szFileName_name = "yagi.nsma";
        p.h.st->ed.numenv = 1;
        set_field(p.h.st->ed.env[0].title, "Class A");
        p.h.st->ed.env[0].display = 1;
        p.h.st->ed.env[0].nupoin = 1;
      }
      ASSERT_TRUE(p.print(landscape));
      const page_geometry g = print_page_geometry(landscape ? page_setup{7016, 4960, 600, 96, true}
                                                            : page_setup{4960, 7016, 600, 96, false});
      p.expect_texts_clear(g);
      // What each page says, in its blocks.
      const recorded_op* title =
          p.dc.find_text(type == DISPLAY_TYPE_EMR ? "EMR Pattern Response" : "Antenna Radiation Pattern");
      ASSERT_NE(title, nullptr);
      EXPECT_EQ(title->font_used.weight, 700);
      EXPECT_EQ(title->text_colour, rgb(0, 0, 50));
      for (const char* text : {"YAGI-5", "second line", "Version 12.2"}) EXPECT_NE(p.dc.find_text(text), nullptr) << text;
      EXPECT_EQ(p.dc.find_text("yagi.nsma") != nullptr, landscape) << "the file's name when there is one";
      EXPECT_EQ(p.dc.find_text("Class A") != nullptr, landscape && type == DISPLAY_TYPE_RECT) << "the envelope shown";
      EXPECT_EQ(p.dc.find_text("Centre dB -40") != nullptr, type == DISPLAY_TYPE_POLAR);
      EXPECT_EQ(p.dc.find_text("Transmitter power") != nullptr, type == DISPLAY_TYPE_EMR);
      EXPECT_EQ(p.dc.of(recorded_op::op_picture).size(), 1u) << "the logo";
      int minus_180 = 0;
      for (const auto& op : p.dc.of(recorded_op::op_text)) minus_180 += op.text == "-180";
      EXPECT_EQ(minus_180, type != DISPLAY_TYPE_RECT ? 0 : landscape ? 2 : 1) << "landscape: two grids side by side";
      if (type == DISPLAY_TYPE_EMR) {
        EXPECT_GT(p.dc.find_text("Transmitter power")->points[0].y, p.dc.find_text("Comment2")->points[0].y)
            << "the exposure block below the header";
      }
      if (type != DISPLAY_TYPE_EMR) {
        EXPECT_EQ(p.dc.find_text("H"), nullptr) << "the hidden cut is left out of the legend";
        EXPECT_NE(p.dc.find_text("V"), nullptr);
        EXPECT_NE(p.dc.find_text("EL"), nullptr);
        // The legend's sample lines: level strokes in their cut's colour.
        int samples = 0;
        const rect box = legend_box(g, landscape, type);
        for (const auto& op : p.dc.of(recorded_op::op_line))
          if (op.pen_used.colour == gr_colours_init()[1] && op.points[0].x >= box.left && op.points[0].x <= box.right &&
              op.points[0].y >= box.top && op.points[0].y <= box.bottom) {
            ++samples;
            EXPECT_EQ(op.points[0].y, op.points[1].y);
            EXPECT_GE(op.pen_used.width * 254 / 600, 4) << "legend lines at least 0.4 mm wide on paper";
          }
        EXPECT_EQ(samples, 1);
      }
    }
}

// With a mask and a reference, each cut of the legend is followed by its
// word, a failure in red, clear of every other text; the reference's name
// closes the legend, and its traces are drawn dash-dot.
TEST(PrintPage, EachCutOfTheLegendCarriesItsVerdict) {
  for (int type : {DISPLAY_TYPE_POLAR, DISPLAY_TYPE_RECT})
    for (bool landscape : {false, true}) {
      SCOPED_TRACE("view " + std::to_string(type) + (landscape ? " landscape" : " portrait"));
      printed p;
      harness ref;
      p.h.st->view.display_type = type;
      read_envelope_image(p.h.st->ed, "envelope,Loose\r0,180,0\r");
      p.h.st->ed.env[0].display = 1;
      for (harness* h : {&p.h, &ref}) {
        set_field(h->st->pd.freq[0].patfre, "450");
        test::put_full_cut(*h->st, 0, 0, "V", [](int a) { return a < 30 || a > 330 ? 0.0 : 10.0; });
        // The reference's EL cut 3 dB weaker than the measured one.
        const double down = h == &ref ? 3.0 : 0.0;
        test::put_full_cut(*h->st, 0, 1, "EL", [down](int a) { return (a < 20 || a > 340 ? 0.0 : 12.0) + down; });
      }
      p.extras.reference = &ref.st->pd;
      p.extras.reference_name = "datasheet.pla";
      ASSERT_TRUE(p.print(landscape));
      const recorded_op *v = p.dc.find_text("V"), *el = p.dc.find_text("EL");
      const recorded_op *pass = p.dc.find_text("pass"), *fail = p.dc.find_text("fail");
      ASSERT_TRUE(v && el && pass && fail);
      EXPECT_EQ(pass->points[0].y, v->points[0].y) << "on the V cut's row";
      EXPECT_GT(pass->points[0].x, v->points[0].x);
      EXPECT_EQ(fail->points[0].y, el->points[0].y) << "on the EL cut's row";
      EXPECT_EQ(fail->text_colour, VERDICT_FAIL_COLOUR);
      EXPECT_NE(p.dc.find_text("Reference"), nullptr);
      EXPECT_NE(p.dc.find_text("datasheet.pla"), nullptr);
      int dashed = 0;
      for (const auto& op : p.dc.of(recorded_op::op_line)) dashed += op.pen_used.style == pen_style::dash_dot;
      EXPECT_GT(dashed, 100) << "the reference's traces";
      p.expect_texts_clear(print_page_geometry(landscape ? page_setup{7016, 4960, 600, 96, true}
                                                         : page_setup{4960, 7016, 600, 96, false}));
    }
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

}  // namespace
}  // namespace lobe

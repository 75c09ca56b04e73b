// Painting the main window's frame: captions, frame lines, the pane's
// labels and the legend of the cut rows. The chart and the test range's
// strips paint themselves.
#include <cmath>

#include <QPainter>
#include <QTimer>

#include "app/main_window.h"
#include "core/analysis/cut_verdicts.h"
#include "core/text/c_numeric.h"
#include "draw/chart_scale.h"
#include "draw/emr_chart.h"
#include "draw_qt/qpainter_surface.h"

namespace lobe {

namespace {

const font k_caption_font{16, 700, false};

struct pane_label {
  const char* text;
  int x, y;
};

constexpr pane_label k_description_labels[] = {
    {"Make", 5, 33},       {"Model", 5, 58},        {"Comment 1", 5, 83}, {"Comment 2", 5, 108},
    {"Pattern ID#", 5, 130}, {"File#", 135, 130},   {"Feed", 5, 155},     {"orientation", 5, 165},
    {"Pattern", 135, 155}, {"type", 135, 165},      {"Connector", 5, 180}, {"type", 5, 190},
    {"Date", 5, 208},      {"Length", 5, 228},      {"(m)", 5, 238},      {"Width", 135, 228},
    {"(m)", 135, 238},     {"Depth", 5, 253},       {"(m)", 5, 263},      {"Weight", 135, 253},
    {"(kg)", 135, 263},
};

constexpr pane_label k_performance_labels[] = {
    {"Low Freq (MHz)", 5, 33},  {"High Freq (MHz)", 5, 58}, {"Gain Units", 5, 83},
    {"Low-band gain", 5, 108},  {"Mid-band gain", 5, 133},  {"High-band gain", 5, 158},
    {"AZ", 75, 183},            {"EL", 75, 208},            {"Mid-band", 5, 190},
    {"beamwidth", 5, 200},      {"VSWR", 5, 233},           {"Front-to-back (dB)", 5, 258},
    {"Downtilt (deg)", 5, 283}, {"Radiation", 5, 305},      {"centre (m)", 5, 315},
    {"PtP Iso (dB)", 5, 333},   {"Max Inp Pwr (W)", 5, 358},
};

void line(surface& dc, int x1, int y1, int x2, int y2) {
  dc.move_to(x1, y1);
  dc.line_to(x2, y2);
}

}  // namespace

void main_window::paint(QPainter& painter) {
  ++paints_;
  qpainter_surface dc(painter, true);
  mainwindow_paint(dc);
}

// Room for a text of the panel starting at x on the row y..y+height: up to the
// first visible control to its right, or to `limit`.
int main_window::room_right_of(int x, int y, int height, int limit) const {
  int right = limit;
  for (const QWidget* widget : client_->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
    if (!widget->isVisible()) continue;
    const QRect g = widget->geometry();
    if (g.left() <= x || g.top() >= y + height || g.bottom() < y) continue;
    right = std::min(right, g.left() - 3);
  }
  return right - x;
}

// A text of the frame: in its own font when it fits its room, else in the
// largest smaller one that does, so nothing runs under a control or out of
// its column. The box is kept for the layout checks.
void main_window::panel_text(surface& dc, int x, int y, std::string_view text, int limit) {
  const lobe::font current = dc.select_font({});
  dc.select_font(current);
  fit_text(dc, x, y, text, room_right_of(x, y, current.height, limit), painted_texts_);
}

// The box must not open inside a paint; it opens once the paint is over, and
// only once until the view or the shown cuts change.
void main_window::show_emr_message_later() {
  emr_message_shown_ = true;
  QTimer::singleShot(0, this, [this] {
    ui_.message_box(EMR_NO_CUT_MESSAGE, EMR_NO_CUT_CAPTION, message_icon::information);
  });
}

// The captions and lines of the command column and the header panes.
void main_window::paint_frame(surface& dc, bool full) {
  const int h = client_->height();
  if (!full) dc.draw_picture(picture::logo, 50, 22, pictures_.kwr.width(), pictures_.kwr.height());
  const int column = layout_.rButtonArea.right;
  dc.select_font(k_caption_font);
  panel_text(dc, 100, 92, "Display", column);
  panel_text(dc, 80, 142, "Antenna file data", column);
  if (st_.range.capture_enabled) panel_text(dc, 30, 5, "Pattern data capture enabled", column);
  dc.select_pen({pen_style::solid, 1, WINDOW_LINE_COLOUR});
  const lobe::rect& ra = layout_.rRectArea;
  line(dc, ra.right, 5, ra.right, h - 25);
  line(dc, ra.left - 10, 5, ra.left - 10, h - 25);
  line(dc, ra.left - 10, 90, 5, 90);
  line(dc, ra.left - 10, 140, 5, 140);
  dc.select_font(WINDOW_LABEL_FONT);
  const lobe::rect& fd = layout_.rFileDataArea;
  if (ws_.disp_desc) {
    for (const pane_label& l : k_description_labels) panel_text(dc, fd.left + l.x, fd.top + l.y, l.text, fd.right);
    if (full) dc.draw_picture(picture::logo, 50, h - 75, pictures_.kwr.width(), pictures_.kwr.height());
  } else {
    for (const pane_label& l : k_performance_labels) panel_text(dc, fd.left + l.x, fd.top + l.y, l.text, fd.right);
  }
}

// The data panel's texts: each frequency's captions, each cut's colour sample
// (and captured peak), then the envelope or the EMR inputs' labels.
void main_window::paint_cut_rows(surface& dc) {
  const lobe::rect& fr = layout_.rFreqDataArea;
  const int L = fr.left, R = fr.right;
  const int text_end = R - 5;  // texts keep the separators' margin from the window's edge
  ws_.cut_count = 0;
  const panel_rows rows = panel();
  for (int f = 0; f < count_in(st_.pd.nofreq, MAX_FREQ); ++f) {
    const int fline = rows.freq_line(f);
    if (f > 0) line(dc, L + 5, rows.y(fline - 1, 8), R - 5, rows.y(fline - 1, 8));
    panel_text(dc, L + 5, rows.y(fline, 8), "Frequency (MHz)", text_end);
    panel_text(dc, L + 40, rows.y(fline + 1, 8),
               st_.range.capture_enabled ? "Orientation  Polarisation          Peak dBm / mV         Shift"
                                         : "Orientation  Polarisation",
               text_end);
  }
  rows.each_cut([&](int f, int c, int number) {
    const int row = rows.cut_line(f, c);
    if (st_.range.capture_enabled && st_.flags.cut[f][c].sweep_completed) {
      const float emax = st_.pd.freq[f].cut[c].emax;
      const double d = st_.all_emax > 0 ? std::fabs(20.0 * std::log10(emax / st_.all_emax)) : 0.0;
      // Two lines in the room between the delete and the "A" buttons.
      // A large peak loses decimals rather than shrink below a readable size.
      const lobe::font old_font = dc.select_font({11, 400, false});
      const int x = L + 195, y = rows.y(row, 12);
      const int room = room_right_of(x, y, 11, text_end);
      std::string mv;
      for (int decimals = 3; decimals >= 0; --decimals) {
        mv = c_format("%.*fmV", decimals, double(emax));
        if (dc.text_extent(mv).x <= room) break;
      }
      panel_text(dc, x, rows.y(row, 1), c_format("%.1f", d), text_end);
      panel_text(dc, x, y, mv, text_end);
      dc.select_font(old_font);
    }
    dc.select_pen({pen_style::solid, 2, cut_colour(st_, number)});
    line(dc, L + 25, rows.y(row, 15), L + 50, rows.y(row, 15));
    dc.select_pen({pen_style::solid, 1, WINDOW_LINE_COLOUR});
    ++ws_.cut_count;
  });
  int row = rows.end_line();
  const int view = st_.view.display_type;
  const envelope_data_type* mask =
      view == DISPLAY_TYPE_RECT || view == DISPLAY_TYPE_RECT90 ? active_envelope(st_.ed) : nullptr;
  if (mask) panel_text(dc, L + 5, rows.y(row++, 20), std::string("Envelope: ") + mask->title, text_end);
  if (reference_ && view != DISPLAY_TYPE_EMR)
    panel_text(dc, L + 5, rows.y(row++, 20), "Reference: " + reference_name_, text_end);
  if ((mask || reference_) && view != DISPLAY_TYPE_EMR) paint_verdicts(dc, row, mask);
  if (view == DISPLAY_TYPE_EMR) {
    line(dc, L + 5, rows.y(row, 12), R - 5, rows.y(row, 12));
    for (const char* label : {"Tx power (W)", "Tx loss (dB)", "Antenna hgt (m)"}) panel_text(dc, L + 5, rows.y(row++, 18), label, text_end);
  }
}

// A line per shown cut under the mask and the reference lines: its verdict
// (a failure in red), the worst margin and the RMS deviation. Lines that
// would run below the panel are left out.
void main_window::paint_verdicts(surface& dc, int row, const envelope_data_type* mask) {
  const lobe::rect& fr = layout_.rFreqDataArea;
  const panel_rows rows = panel();
  for (const cut_verdict& v : cut_verdicts(st_.pd, st_.flags, mask, reference())) {
    const int y = rows.y(row++, 20);
    if (y + WINDOW_LABEL_FONT.height > fr.bottom) break;
    const bool fails = std::string_view(v.word()) == "fail";
    const colorref old = dc.set_text_color(fails ? VERDICT_FAIL_COLOUR : WINDOW_TEXT_COLOUR);
    panel_text(dc, fr.left + 15, y, verdict_summary(st_.pd, v), fr.right - 5);
    dc.set_text_color(old);
  }
}

void main_window::mainwindow_paint(surface& dc) {
  dc.set_text_color(WINDOW_TEXT_COLOUR);
  const bool full = full_mode();
  painted_texts_.clear();
  const pen old_pen = dc.select_pen({pen_style::solid, 1, WINDOW_LINE_COLOUR});
  paint_frame(dc, full);
  paint_cut_rows(dc);
  dc.select_pen(old_pen);
}

}  // namespace lobe

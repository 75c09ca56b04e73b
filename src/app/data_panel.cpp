// The data panel: header edits of the two panes, one row per frequency and
// per cut, and the EMR inputs. The record is the master copy; the panel is
// rebuilt from it whenever its shape changes, after its texts were read back.
#include <QCheckBox>
#include <cmath>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include "app/main_window.h"
#include "app/resource_ids.h"
#include "core/text/c_numeric.h"
#include "core/text/field_text.h"
#include "core/range/range_codes.h"
#include "draw/chart_scale.h"

namespace lobe {

void main_window::display_planet_header() {
  // The mode may have changed since the last layout; place the new controls
  // from the areas of the current one.
  set_window_parameters();
  const bool read_only = !full_mode();
  header_.show(st_.pd, ws_.disp_desc ? panel_pane::description : panel_pane::performance, read_only,
               layout_.rFileDataArea);
  cuts_->build(st_, read_only, full_mode());
  place_panel_rows();
  show_hide_emr_windows();
  emr_message_shown_ = false;
}

void main_window::place_panel_rows() { cuts_->place(panel(), layout_.rFreqDataArea); }

void main_window::clear_window_form_data() {
  header_.clear();
  cuts_->clear_emr();
}

// Every row the panel holds, whatever the record holds by now: a load
// replaces the record before the window rebuilds the panel.
void main_window::clear_window_cut_data() { cuts_->clear_rows(); }

void main_window::read_window_cut_data() { cuts_->read_into(st_.pd); }

void main_window::read_window_emr_data() {
  if (!cuts_->emr()) return;
  float* targets[] = {&st_.emr.epower, &st_.emr.eloss, &st_.emr.eheight};
  QLineEdit* edits[] = {cuts_->emr()->power, cuts_->emr()->loss, cuts_->emr()->height};
  const char* names[] = {"Tx power (W)", "Tx loss (dB)", "Antenna hgt (m)"};
  for (int i = 0; i < 3; ++i) {
    QLineEdit* e = edits[i];
    float v = 0.0f;
    char rest = 0;
    const QByteArray text = e->text().trimmed().toLatin1();
    // A power, a loss or a height below zero has no meaning here, and a
    // typing slip must not turn the chart into "nan": refuse it and keep the
    // last good value.
    if (c_sscanf(text.constData(), "%f %c", &v, &rest) == 1 && std::isfinite(v) && v >= 0.0f) {
      *targets[i] = v;
      continue;
    }
    e->setText(QString::fromStdString(c_format("%.1f", double(*targets[i]))));
    ui_.message_box(c_format("%s must be a number, 0 or more.\n\"%s\" was not taken; the value stays %.1f.", names[i],
                             text.constData(), double(*targets[i])),
                    "EMR input", message_icon::warning);
  }
}

void main_window::read_window_form_data() {
  read_window_cut_data();
  if (st_.view.display_type == DISPLAY_TYPE_EMR) read_window_emr_data();
  header_.read_into(st_.pd);
}

void main_window::show_hide_emr_windows() {
  cuts_->show_emr(st_.view.display_type == DISPLAY_TYPE_EMR);
}

void main_window::add_freq() {
  if (st_.pd.nofreq >= MAX_FREQ) return;
  read_window_form_data();
  clear_window_form_data();
  clear_window_cut_data();
  const int n = st_.pd.nofreq;
  link_.set_dsa_freq(n);
  add_freq_record(st_.pd);
  link_.dsa_req(DSA_REQ_FREQ);
  display_planet_header();
}

void main_window::add_cut(int f) {
  if (f < 0 || f >= count_in(st_.pd.nofreq, MAX_FREQ) || st_.pd.freq[f].numcut >= MAX_CUTS) return;
  read_window_form_data();
  clear_window_form_data();
  clear_window_cut_data();
  add_cut_record(st_.pd, st_.flags, f);
  link_.dsa_set_d(DSA_SET_FREQ, f);
  link_.dsa_req(DSA_REQ_PWR);
  display_planet_header();
}

void main_window::delete_cut(int f, int c) {
  read_window_form_data();
  clear_window_form_data();
  clear_window_cut_data();
  if (f >= 0 && f < count_in(st_.pd.nofreq, MAX_FREQ) && c >= 0 && c < count_in(st_.pd.freq[f].numcut, MAX_CUTS)) {
    // Later cuts move down whole; the row flags stay with their rows.
    freq_data_type& fr = st_.pd.freq[f];
    for (int k = c; k + 1 < count_in(fr.numcut, MAX_CUTS); ++k) fr.cut[k] = fr.cut[k + 1];
    fr.numcut -= 1;
  }
  display_planet_header();
}

void main_window::shwhid_button_click() {
  cuts_->read_shown(st_.flags);
  emr_message_shown_ = false;
}

// The controller reports its supply on or off. The mode follows at once; the
// panel, which takes a while to rebuild, follows once the event loop comes
// round, and only when the mode it was built for really changed: a
// controller flapping its supply a thousand times costs one rebuild.
void main_window::switch_capture(int b) {
  st_.range.capture_enabled = b;
  if (capture_rebuild_pending_) return;
  capture_rebuild_pending_ = true;
  QTimer::singleShot(0, this, [this] { rebuild_for_capture(); });
}

void main_window::rebuild_for_capture() {
  capture_rebuild_pending_ = false;
  const int now = st_.range.capture_enabled;
  if (now == panel_capture_) return;
  // The panel's texts are read as the panel was built (its mode), then it
  // is built again for the new one.
  st_.range.capture_enabled = panel_capture_;
  read_window_form_data();
  clear_window_form_data();
  clear_window_cut_data();
  st_.range.capture_enabled = now;
  panel_capture_ = now;
  ++capture_rebuilds_;
  mainwindow_menus();
  display_planet_header();
  mainwindow_size();
}

}  // namespace lobe

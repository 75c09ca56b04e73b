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

namespace {

struct pane_edit {
  int id;
  const char* field;
  int x, y, w;
};

// Description pane (offsets from the header panel's top-left corner).
constexpr pane_edit k_description[] = {
    {IDC_PD_MAKE, "make", 65, 30, 180},     {IDC_PD_NAME, "name", 65, 55, 180},
    {IDC_PD_COMNT1, "comnt1", 65, 80, 180}, {IDC_PD_COMNT2, "comnt2", 65, 105, 180},
    {IDC_PD_PATNUM, "patnum", 65, 130, 68}, {IDC_PD_FILNUM, "filnum", 177, 130, 68},
    {IDC_PD_FEDORN, "fedorn", 65, 155, 68}, {IDC_PD_PATTYP, "pattyp", 177, 155, 68},
    {IDC_PD_CONTYP, "contyp", 65, 180, 180}, {IDC_PD_DTDATA, "dtdata", 65, 205, 180},
    {IDC_PD_ANTLEN, "antlen", 65, 230, 68}, {IDC_PD_ANTWID, "antwid", 177, 230, 68},
    {IDC_PD_ANTDEP, "antdep", 65, 255, 68}, {IDC_PD_ANTWGT, "antwgt", 177, 255, 68},
};

constexpr pane_edit k_performance[] = {
    {IDC_PD_LOWFRQ, "lowfrq", 95, 30, 155},  {IDC_PD_HGHFRQ, "hghfrq", 95, 55, 155},
    {IDC_PD_GUNITS, "gunits", 95, 80, 155},  {IDC_PD_LWGAIN, "lwgain", 95, 105, 155},
    {IDC_PD_MDGAIN, "mdgain", 95, 130, 155}, {IDC_PD_HGGAIN, "hggain", 95, 155, 155},
    {IDC_PD_AZWIDT, "azwidt", 95, 180, 155}, {IDC_PD_ELWIDT, "elwidt", 95, 205, 155},
    {IDC_PD_ATVSWR, "atvswr", 95, 230, 155}, {IDC_PD_FRTOBA, "front_to_back", 95, 255, 155},
    {IDC_PD_ELTILT, "tilt", 95, 280, 155},   {IDC_PD_RADCTR, "radctr", 95, 305, 155},
    {IDC_PD_POTOPO, "potopo", 95, 330, 155}, {IDC_PD_MAXPOW, "maxpow", 95, 355, 155},
};

const pane_edit* pane_begin(int disp_desc) { return disp_desc ? std::begin(k_description) : std::begin(k_performance); }
const pane_edit* pane_end(int disp_desc) { return disp_desc ? std::end(k_description) : std::end(k_performance); }

QString latin1(const char* s) { return QString::fromLatin1(s); }

}  // namespace

QWidget* main_window::make_edit(int id, const char* text, int x, int y, int w, int max_len, bool read_only) {
  auto* e = new QLineEdit(client_);
  e->setGeometry(x, y, w, 20);
  e->setProperty("lobe_id", id);
  e->setMaxLength(max_len);
  e->setText(latin1(text));
  e->setCursorPosition(0);
  e->setReadOnly(read_only);
  controls_[id] = e;
  e->show();
  return e;
}

void main_window::display_planet_header() {
  // The mode may have changed since the last layout; place the new controls
  // from the areas of the current one.
  set_window_parameters();
  const bool read_only = !full_mode();
  const lobe::rect& fd = layout_.rFileDataArea;
  for (const pane_edit* p = pane_begin(ws_.disp_desc); p != pane_end(ws_.disp_desc); ++p) {
    const header_field& f = *header_field_by_name(p->field);
    make_edit(p->id, field_text(st_.pd, f), fd.left + p->x, fd.top + p->y, p->w, static_cast<int>(f.size) - 1,
              read_only);
  }
  // The controls are made here and placed by place_panel_rows, which a
  // resize calls too.
  const panel_rows rows = panel();
  for (int f = 0; f < count_in(st_.pd.nofreq, MAX_FREQ); ++f) {
    make_edit(IDC_PD_PATFRE + f, st_.pd.freq[f].patfre, 0, 0, 60, sizeof st_.pd.freq[f].patfre - 1, read_only);
    if (st_.range.capture_enabled) make_button(IDC_PD_ADDCUT + f, QStringLiteral("Add Cut"), 0, 0, 65, 22);
  }
  rows.each_cut([&](int f, int c, int) {
    const cut_data_type& cut = st_.pd.freq[f].cut[c];
    make_edit(rows.id(row_control::patcut, f, c), cut.patcut, 0, 0, 30, sizeof cut.patcut - 1, read_only);
    make_edit(rows.id(row_control::polari, f, c), cut.polari, 0, 0, 30, sizeof cut.polari - 1, read_only);
    const int show_id = rows.id(row_control::showhide, f, c);
    auto* box = new QCheckBox(client_);
    box->setProperty("lobe_id", show_id);
    box->setChecked(st_.flags.cut[f][c].hide == 0);
    connect(box, &QCheckBox::clicked, this, [this, show_id] { command(show_id); });
    controls_[show_id] = box;
    box->show();
    if (st_.range.capture_enabled)
      make_button(rows.id(row_control::sweep, f, c), QString(), 0, 0, 22, 22, &pictures_.sweep);
    if (full_mode()) {
      make_button(rows.id(row_control::del, f, c), QString(), 0, 0, 22, 22, &pictures_.del);
      make_button(rows.id(row_control::plus, f, c), QStringLiteral("+"), 0, 0, 22, 22);
      make_button(rows.id(row_control::minus, f, c), QStringLiteral("-"), 0, 0, 22, 22);
      make_button(rows.id(row_control::mavg, f, c), QStringLiteral("A"), 0, 0, 22, 22);
    }
  });
  const float values[] = {st_.emr.epower, st_.emr.eloss, st_.emr.eheight};
  const int ids[] = {IDC_PD_EPOWER, IDC_PD_ELOSS, IDC_PD_EHEIGHT};
  for (int i = 0; i < 3; ++i)
    make_edit(ids[i], c_format("%.1f", double(values[i])).c_str(), 0, 0, 60, 30, false)->setFocusPolicy(Qt::ClickFocus);
  make_button(IDC_BUTTON_EREF, QStringLiteral("Refresh"), 0, 0, 80, 25);
  place_panel_rows();
  show_hide_emr_windows();
  emr_message_shown_ = false;
}

void main_window::place_panel_rows() {
  const lobe::rect& fr = layout_.rFreqDataArea;
  const panel_rows rows = panel();
  auto put = [this](int id, int x, int y, int w, int h) {
    if (QWidget* c = control(id)) c->setGeometry(x, y, w, h);
  };
  for (int f = 0; f < count_in(st_.pd.nofreq, MAX_FREQ); ++f) {
    put(IDC_PD_PATFRE + f, fr.left + 94, rows.y(rows.freq_line(f), 5), 60, 20);
    put(IDC_PD_ADDCUT + f, fr.left + 180, rows.y(rows.freq_line(f), 5), 65, 22);
  }
  rows.each_cut([&](int f, int c, int) {
    const int y = rows.y(rows.cut_line(f, c), 5), y7 = rows.y(rows.cut_line(f, c), 7);
    put(rows.id(row_control::patcut, f, c), fr.left + 60, y, 30, 20);
    put(rows.id(row_control::polari, f, c), fr.left + 100, y, 30, 20);
    put(rows.id(row_control::showhide, f, c), fr.left + 5, y7, 16, 16);
    put(rows.id(row_control::sweep, f, c), fr.left + 140, y, 22, 22);
    put(rows.id(row_control::del, f, c), fr.left + 170, y, 22, 22);
    put(rows.id(row_control::mavg, f, c), fr.right - 75, y7, 22, 22);
    put(rows.id(row_control::plus, f, c), fr.right - 50, y7, 22, 22);
    put(rows.id(row_control::minus, f, c), fr.right - 25, y7, 22, 22);
  });
  int line = rows.end_line();
  for (int id : {IDC_PD_EPOWER, IDC_PD_ELOSS, IDC_PD_EHEIGHT}) put(id, fr.left + 94, rows.y(line++, 15), 60, 20);
  put(IDC_BUTTON_EREF, fr.left + 5, rows.y(line, 15), 80, 25);
}

void main_window::place_header_edits() {
  const lobe::rect& fd = layout_.rFileDataArea;
  for (const pane_edit* p = pane_begin(ws_.disp_desc); p != pane_end(ws_.disp_desc); ++p)
    if (QWidget* e = control(p->id)) e->setGeometry(fd.left + p->x, fd.top + p->y, p->w, 20);
}

void main_window::clear_window_form_data() {
  for (const pane_edit* p = pane_begin(ws_.disp_desc); p != pane_end(ws_.disp_desc); ++p) {
    if (QWidget* c = control(p->id)) { c->hide(); c->deleteLater(); }
    controls_.erase(p->id);
  }
  for (int id : {IDC_PD_EPOWER, IDC_PD_ELOSS, IDC_PD_EHEIGHT, IDC_BUTTON_EREF}) {
    if (QWidget* c = control(id)) { c->hide(); c->deleteLater(); }
    controls_.erase(id);
  }
}

void main_window::clear_window_cut_data() {
  auto drop = [this](int id) {
    if (QWidget* c = control(id)) { c->hide(); c->deleteLater(); }
    controls_.erase(id);
  };
  // Every row the panel holds, whatever the record holds by now: a load
  // replaces the record before the window rebuilds the panel.
  std::vector<int> rows;
  for (const auto& [id, widget] : controls_) {
    row_control kind;
    int line = 0;
    if (decode_row_control(id, kind, line) || (id >= IDC_PD_PATFRE && id < IDC_PD_PATFRE + MAX_FREQ) ||
        (id >= IDC_PD_ADDCUT && id < IDC_PD_ADDCUT + MAX_FREQ))
      rows.push_back(id);
  }
  for (int id : rows) drop(id);
}

void main_window::read_window_cut_data() {
  auto text_of = [this](int id) -> std::optional<QString> {
    auto* e = qobject_cast<QLineEdit*>(control(id));
    if (!e) return std::nullopt;
    return e->text();
  };
  for (int f = 0; f < count_in(st_.pd.nofreq, MAX_FREQ); ++f)
    if (auto t = text_of(IDC_PD_PATFRE + f)) set_field(st_.pd.freq[f].patfre, t->toLatin1().toStdString());
  const panel_rows rows = panel();
  rows.each_cut([&](int f, int c, int) {
    cut_data_type& cut = st_.pd.freq[f].cut[c];
    if (auto t = text_of(rows.id(row_control::patcut, f, c))) set_field(cut.patcut, t->toUpper().toLatin1().toStdString());
    if (auto t = text_of(rows.id(row_control::polari, f, c))) set_field(cut.polari, t->toUpper().toLatin1().toStdString());
  });
}

void main_window::read_window_emr_data() {
  float* targets[] = {&st_.emr.epower, &st_.emr.eloss, &st_.emr.eheight};
  const int ids[] = {IDC_PD_EPOWER, IDC_PD_ELOSS, IDC_PD_EHEIGHT};
  const char* names[] = {"Tx power (W)", "Tx loss (dB)", "Antenna hgt (m)"};
  for (int i = 0; i < 3; ++i) {
    auto* e = qobject_cast<QLineEdit*>(control(ids[i]));
    if (!e) continue;
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
  for (const pane_edit* p = pane_begin(ws_.disp_desc); p != pane_end(ws_.disp_desc); ++p) {
    auto* e = qobject_cast<QLineEdit*>(control(p->id));
    if (!e) continue;
    QString text = e->text();
    if (p->id == IDC_PD_GUNITS) text = text.toUpper();
    set_field(field_of(st_.pd, *header_field_by_name(p->field)), text.toLatin1().toStdString());
  }
}

void main_window::show_hide_emr_windows() {
  const bool on = st_.view.display_type == DISPLAY_TYPE_EMR;
  for (int id : {IDC_PD_EPOWER, IDC_PD_ELOSS, IDC_PD_EHEIGHT, IDC_BUTTON_EREF})
    if (QWidget* c = control(id)) c->setVisible(on);
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

void main_window::add_cut(int idc) {
  const int f = idc - IDC_PD_ADDCUT;
  if (f < 0 || f >= count_in(st_.pd.nofreq, MAX_FREQ) || st_.pd.freq[f].numcut >= MAX_CUTS) return;
  read_window_form_data();
  clear_window_form_data();
  clear_window_cut_data();
  add_cut_record(st_.pd, st_.flags, f);
  link_.dsa_set_d(DSA_SET_FREQ, f);
  link_.dsa_req(DSA_REQ_PWR);
  display_planet_header();
}

void main_window::delete_cut(int idc) {
  read_window_form_data();
  clear_window_form_data();
  clear_window_cut_data();
  row_control kind;
  if (const auto ref = panel().cut_of(idc, &kind); ref && kind == row_control::del) {
    // Later cuts move down whole; the row flags stay with their rows.
    freq_data_type& fr = st_.pd.freq[ref->freq];
    for (int k = ref->cut; k + 1 < count_in(fr.numcut, MAX_CUTS); ++k) fr.cut[k] = fr.cut[k + 1];
    fr.numcut -= 1;
  }
  display_planet_header();
}

bool main_window::find_row_button_cut(int idc) {
  const auto ref = panel().cut_of(idc);
  st_.edit.capture_freq = ref ? ref->freq : -1;  // no row: no cut to capture into
  st_.edit.capture_cut = ref ? ref->cut : 0;
  return ref.has_value();
}

void main_window::shwhid_button_click() {
  const panel_rows rows = panel();
  rows.each_cut([&](int f, int c, int) {
    if (auto* box = qobject_cast<QCheckBox*>(control(rows.id(row_control::showhide, f, c))))
      st_.flags.cut[f][c].hide = box->isChecked() ? 0 : 1;
  });
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

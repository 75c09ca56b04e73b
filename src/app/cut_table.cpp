#include "app/cut_table.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>

#include "app/pictures.h"
#include "core/text/c_numeric.h"
#include "core/text/field_text.h"

namespace lobe {

namespace {

void drop(QWidget* w) {
  if (!w) return;
  w->hide();
  w->deleteLater();
}

void put(QWidget* w, int x, int y, int width, int height) {
  if (w) w->setGeometry(x, y, width, height);
}

}  // namespace

QPushButton* cut_table::button(const QString& text, const QPixmap* picture) {
  auto* b = new QPushButton(text, client_);
  if (picture) {
    b->setIcon(QIcon(*picture));
    b->setIconSize(picture->size());
  }
  b->setFocusPolicy(Qt::NoFocus);
  b->show();
  return b;
}

QLineEdit* cut_table::edit(const char* text, int max_len, bool read_only) {
  auto* e = new QLineEdit(client_);
  e->setMaxLength(max_len);
  e->setText(QString::fromLatin1(text));
  e->setCursorPosition(0);
  e->setReadOnly(read_only);
  e->show();
  return e;
}

void cut_table::build(const lobe_state& st, bool read_only, bool editing) {
  clear_rows();
  clear_emr();
  const bool capture = st.range.capture_enabled != 0;
  const antenna_data_type& pd = st.pd;
  for (int f = 0; f < count_in(pd.nofreq, MAX_FREQ); ++f) {
    freq_row r{edit(pd.freq[f].patfre, sizeof pd.freq[f].patfre - 1, read_only), nullptr};
    if (capture) {
      r.add_cut = button(QStringLiteral("Add Cut"), nullptr);
      connect(r.add_cut, &QPushButton::clicked, this, [this, f] { emit add_cut(f); });
    }
    freqs_.push_back(r);
  }
  const panel_rows rows(pd, 0);
  rows.each_cut([&](int f, int c, int) {
    const cut_data_type& cut = pd.freq[f].cut[c];
    cut_row r{f, c, edit(cut.patcut, sizeof cut.patcut - 1, read_only), edit(cut.polari, sizeof cut.polari - 1, read_only),
              new QCheckBox(client_), nullptr, nullptr, nullptr, nullptr, nullptr};
    r.shown->setChecked(st.flags.cut[f][c].hide == 0);
    r.shown->show();
    connect(r.shown, &QCheckBox::clicked, this, [this] { emit shown_changed(); });
    if (capture) {
      r.sweep = button(QString(), &pictures_.sweep);
      connect(r.sweep, &QPushButton::clicked, this, [this, f, c] { emit sweep(f, c); });
    }
    if (editing) {
      r.del = button(QString(), &pictures_.del);
      r.plus = button(QStringLiteral("+"), nullptr);
      r.minus = button(QStringLiteral("-"), nullptr);
      r.mavg = button(QStringLiteral("A"), nullptr);
      connect(r.del, &QPushButton::clicked, this, [this, f, c] { emit remove(f, c); });
      connect(r.plus, &QPushButton::clicked, this, [this, f, c] { emit shift(f, c, 1); });
      connect(r.minus, &QPushButton::clicked, this, [this, f, c] { emit shift(f, c, -1); });
      connect(r.mavg, &QPushButton::clicked, this, [this, f, c] { emit smooth(f, c); });
    }
    cuts_.push_back(r);
  });
  const float values[] = {st.emr.epower, st.emr.eloss, st.emr.eheight};
  QLineEdit* inputs[3];
  for (int i = 0; i < 3; ++i) {
    inputs[i] = edit(c_format("%.1f", double(values[i])).c_str(), 30, false);
    inputs[i]->setFocusPolicy(Qt::ClickFocus);
  }
  emr_ = emr_row{inputs[0], inputs[1], inputs[2], button(QStringLiteral("Refresh"), nullptr)};
  connect(emr_->refresh, &QPushButton::clicked, this, [this] { emit emr_refresh(); });
}

void cut_table::place(const panel_rows& rows, const lobe::rect& fr) {
  for (int f = 0; f < static_cast<int>(freqs_.size()); ++f) {
    const int y = rows.y(rows.freq_line(f), 5);
    put(freqs_[static_cast<std::size_t>(f)].patfre, fr.left + 94, y, 60, 20);
    put(freqs_[static_cast<std::size_t>(f)].add_cut, fr.left + 180, y, 65, 22);
  }
  for (const cut_row& r : cuts_) {
    const int y = rows.y(rows.cut_line(r.freq, r.cut), 5), y7 = rows.y(rows.cut_line(r.freq, r.cut), 7);
    put(r.patcut, fr.left + 60, y, 30, 20);
    put(r.polari, fr.left + 100, y, 30, 20);
    put(r.shown, fr.left + 5, y7, 16, 16);
    put(r.sweep, fr.left + 140, y, 22, 22);
    put(r.del, fr.left + 170, y, 22, 22);
    put(r.mavg, fr.right - 75, y7, 22, 22);
    put(r.plus, fr.right - 50, y7, 22, 22);
    put(r.minus, fr.right - 25, y7, 22, 22);
  }
  if (!emr_) return;
  int line = rows.end_line();
  for (QLineEdit* e : {emr_->power, emr_->loss, emr_->height}) put(e, fr.left + 94, rows.y(line++, 15), 60, 20);
  put(emr_->refresh, fr.left + 5, rows.y(line, 15), 80, 25);
}

void cut_table::clear_rows() {
  for (const freq_row& r : freqs_) {
    drop(r.patfre);
    drop(r.add_cut);
  }
  for (const cut_row& r : cuts_)
    for (QWidget* w : std::initializer_list<QWidget*>{r.patcut, r.polari, r.shown, r.sweep, r.del, r.plus, r.minus, r.mavg})
      drop(w);
  freqs_.clear();
  cuts_.clear();
}

void cut_table::clear_emr() {
  if (!emr_) return;
  for (QWidget* w : std::initializer_list<QWidget*>{emr_->power, emr_->loss, emr_->height, emr_->refresh}) drop(w);
  emr_.reset();
}

void cut_table::read_into(antenna_data_type& pd) const {
  for (int f = 0; f < static_cast<int>(freqs_.size()) && f < MAX_FREQ; ++f)
    set_field(pd.freq[f].patfre, freqs_[static_cast<std::size_t>(f)].patfre->text().toLatin1().toStdString());
  for (const cut_row& r : cuts_) {
    cut_data_type& cut = pd.freq[r.freq].cut[r.cut];
    set_field(cut.patcut, r.patcut->text().toUpper().toLatin1().toStdString());
    set_field(cut.polari, r.polari->text().toUpper().toLatin1().toStdString());
  }
}

void cut_table::read_shown(pattern_flags_type& flags) const {
  for (const cut_row& r : cuts_) flags.cut[r.freq][r.cut].hide = r.shown->isChecked() ? 0 : 1;
}

void cut_table::show_emr(bool on) {
  if (!emr_) return;
  for (QWidget* w : std::initializer_list<QWidget*>{emr_->power, emr_->loss, emr_->height, emr_->refresh})
    w->setVisible(on);
}

const cut_table::cut_row* cut_table::row(int f, int c) const {
  for (const cut_row& r : cuts_)
    if (r.freq == f && r.cut == c) return &r;
  return nullptr;
}

std::vector<QWidget*> cut_table::sweep_locked() const {
  std::vector<QWidget*> out;
  for (const freq_row& r : freqs_)
    if (r.add_cut) out.push_back(r.add_cut);
  for (const cut_row& r : cuts_)
    for (QWidget* w : std::initializer_list<QWidget*>{r.sweep, r.del, r.plus, r.minus, r.mavg})
      if (w) out.push_back(w);
  return out;
}

}  // namespace lobe

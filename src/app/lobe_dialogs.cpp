#include "app/lobe_dialogs.h"

#include <QLabel>
#include <QPushButton>

#include "app/resource_ids.h"

namespace lobe {

namespace {

template <class W>
W* at(QWidget* parent, int id, int x, int y, int w, int h, W* widget) {
  const dialog_units du(parent->font());
  widget->setParent(parent);
  widget->setGeometry(du.x(x), du.y(y), du.x(w), du.y(h));
  widget->setProperty("lobe_id", id);
  return widget;
}

void set_size(QDialog* d, int w, int h) {
  const dialog_units du(d->font());
  d->setFixedSize(du.x(w), du.y(h));
}

QPushButton* button(QDialog* d, int id, const char* text, int x, int y, bool is_default) {
  auto* b = at(d, id, x, y, 50, 14, new QPushButton(QString::fromLatin1(text)));
  b->setDefault(is_default);
  b->setAutoDefault(is_default);
  return b;
}

// What a text needs across: the text itself and the control's own margins.
int needed_width(const QWidget& w, const QString& text, int margin) {
  return w.fontMetrics().horizontalAdvance(text) + margin;
}

}  // namespace

dialog_units::dialog_units(const QFont& font) {
  const QFontMetrics m(font);
  const QString alphabet = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
  base_x = std::max(1, (m.horizontalAdvance(alphabet) / 26 + 1) / 2);
  base_y = std::max(1, m.height());
}

void fit_dialog_texts(QDialog& dialog) {
  const auto children = dialog.findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
  int grown = 0;
  for (QWidget* w : children) {
    int need = 0;
    if (auto* b = qobject_cast<QPushButton*>(w))
      need = needed_width(*b, b->text(), 16);
    else if (auto* l = qobject_cast<QLabel*>(w))
      need = needed_width(*l, l->text(), 2);
    else
      continue;
    // A label may reach under the control beside it (the edit of its row)
    // or below it (the list under a heading); it ends where that begins.
    for (QWidget* other : children) {
      if (other == w || !w->geometry().intersects(other->geometry())) continue;
      if (other->x() > w->x())
        w->resize(other->x() - w->x() - 2, w->height());
      else if (other->y() > w->y())
        w->resize(w->width(), other->y() - w->y());
    }
    const int extra = need - w->width();
    if (extra <= 0) continue;
    const int old_right = w->x() + w->width();
    w->resize(need, w->height());
    for (QWidget* other : children)
      if (other != w && other->x() >= old_right) other->move(other->x() + extra, other->y());
    grown += extra;
  }
  if (grown > 0) dialog.setFixedSize(dialog.width() + grown, dialog.height());
}

void place_dialog(QDialog& dialog, dialog_anchor where) {
  dialog.move(where.x - dialog.width() / 2, where.y - dialog.height() / 2);
}

ant_version_dialog_box::ant_version_dialog_box(QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("Lobeview - Choose ANT file format"));
  set_size(this, 200, 30);
  const struct {
    int id;
    const char* text;
    int x;
    int version;
  } buttons[] = {{IDC_ANT_V1, "V1 (360 lines)", 20, 1}, {IDC_ANT_V2, "V2 (540 lines)", 80, 2},
                 {IDC_ANT_V3, "V3 (720 lines)", 140, 3}};
  for (const auto& b : buttons) {
    QPushButton* p = button(this, b.id, b.text, b.x, 10, b.version == 3);
    const int version = b.version;
    connect(p, &QPushButton::clicked, this, [this, version] {
      chosen = version;
      done(1);
    });
  }
  fit_dialog_texts(*this);
}

nec_column_dialog_box::nec_column_dialog_box(QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("Lobeview - Choose 4NEC file columns"));
  set_size(this, 190, 70);
  at(this, IDC_4NEC_T_A, 10, 10, 50, 14, new QLabel(QStringLiteral("Angle Column")));
  angle_list = at(this, IDC_4NEC_L_A, 10, 20, 50, 48, new QListWidget);
  at(this, IDC_4NEC_T_S, 70, 10, 50, 14, new QLabel(QStringLiteral("Signal Column")));
  signal_list = at(this, IDC_4NEC_L_S, 70, 20, 50, 48, new QListWidget);
  for (QListWidget* list : {angle_list, signal_list})
    for (const char* item : {"1", "2", "3", "4"}) list->addItem(QString::fromLatin1(item));
  angle_list->setCurrentRow(0);
  signal_list->setCurrentRow(1);
  connect(button(this, IDOK, "OK", 130, 20, true), &QPushButton::clicked, this, [this] { done(1); });
  connect(button(this, IDCANCEL, "Cancel", 130, 40, false), &QPushButton::clicked, this, [this] { done(2); });
  fit_dialog_texts(*this);
}

description_dialog_box::description_dialog_box(QWidget* parent, const antenna_data_type& pd) : QDialog(parent) {
  setWindowTitle(QStringLiteral("Lobeview - Edit the NSMA Description fields"));
  set_size(this, 350, 110);
  const char* texts[] = {pd.descr1, pd.descr2, pd.descr3, pd.descr4, pd.descr5};
  for (int i = 0; i < 5; ++i) {
    at(this, IDC_DLG_T_DSC1 + 2 * i, 5, 5 + 15 * i, 55, 14,
       new QLabel(QStringLiteral("DESCR%1").arg(i + 1)));
    lines[static_cast<std::size_t>(i)] = at(this, IDC_DLG_D_DSC1 + 2 * i, 40, 5 + 15 * i, 300, 14, new QLineEdit);
    lines[static_cast<std::size_t>(i)]->setMaxLength(79);
    lines[static_cast<std::size_t>(i)]->setText(QString::fromLatin1(texts[i]));
  }
  connect(button(this, IDOK, "OK", 100, 85, true), &QPushButton::clicked, this, [this] { done(1); });
  connect(button(this, IDCANCEL, "Cancel", 200, 85, false), &QPushButton::clicked, this, [this] { done(2); });
  fit_dialog_texts(*this);
}

dsa_ip_dialog_box::dsa_ip_dialog_box(QWidget* parent, const std::string& ip) : QDialog(parent) {
  setWindowTitle(QStringLiteral("Lobeview - Set the DSA 875 IP address"));
  set_size(this, 350, 55);
  at(this, IDC_DLG_T_DSA_IP, 5, 5, 55, 14, new QLabel(QStringLiteral("DSA_IP")));
  address = at(this, IDC_DLG_D_DSA_IP, 40, 5, 300, 14, new QLineEdit);
  address->setMaxLength(39);
  address->setText(QString::fromStdString(ip));
  connect(button(this, IDOK, "OK", 100, 30, true), &QPushButton::clicked, this, [this] { done(1); });
  connect(button(this, IDCANCEL, "Cancel", 200, 30, false), &QPushButton::clicked, this, [this] { done(2); });
  fit_dialog_texts(*this);
}

}  // namespace lobe

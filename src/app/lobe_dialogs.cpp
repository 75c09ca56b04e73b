#include "app/lobe_dialogs.h"

#include <QLabel>
#include <QPushButton>

#include "app/resource_ids.h"

namespace lobe {

namespace {

template <class W>
W* at(QWidget* parent, int id, int x, int y, int w, int h, W* widget) {
  widget->setParent(parent);
  widget->setGeometry(du_x(x), du_y(y), du_x(w), du_y(h));
  widget->setProperty("lobe_id", id);
  return widget;
}

QPushButton* button(QDialog* d, int id, const char* text, int x, int y, bool is_default) {
  auto* b = at(d, id, x, y, 50, 14, new QPushButton(QString::fromLatin1(text)));
  b->setDefault(is_default);
  b->setAutoDefault(is_default);
  return b;
}

}  // namespace

void place_dialog(QDialog& dialog, dialog_anchor where) {
  dialog.move(where.x - dialog.width() / 2, where.y - dialog.height() / 2);
}

ant_version_dialog_box::ant_version_dialog_box(QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("Lobeview - Choose ANT file format"));
  setFixedSize(du_x(200), du_y(30));
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
}

nec_column_dialog_box::nec_column_dialog_box(QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("Lobeview - Choose 4NEC file columns"));
  setFixedSize(du_x(190), du_y(70));
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
}

description_dialog_box::description_dialog_box(QWidget* parent, const antenna_data_type& pd) : QDialog(parent) {
  setWindowTitle(QStringLiteral("Lobeview - Edit the NSMA Description fields"));
  setFixedSize(du_x(350), du_y(110));
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
}

dsa_ip_dialog_box::dsa_ip_dialog_box(QWidget* parent, const std::string& ip) : QDialog(parent) {
  setWindowTitle(QStringLiteral("Lobeview - Set the DSA 875 IP address"));
  setFixedSize(du_x(350), du_y(55));
  at(this, IDC_DLG_T_DSA_IP, 5, 5, 55, 14, new QLabel(QStringLiteral("DSA_IP")));
  address = at(this, IDC_DLG_D_DSA_IP, 40, 5, 300, 14, new QLineEdit);
  address->setMaxLength(39);
  address->setText(QString::fromStdString(ip));
  connect(button(this, IDOK, "OK", 100, 30, true), &QPushButton::clicked, this, [this] { done(1); });
  connect(button(this, IDCANCEL, "Cancel", 200, 30, false), &QPushButton::clicked, this, [this] { done(2); });
}

}  // namespace lobe

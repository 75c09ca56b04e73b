#include "app/header_panes.h"

#include <QLineEdit>

#include "core/text/field_text.h"

namespace lobe {

namespace {

// An edit's box within the header area: the Description pane has whole rows
// and rows of two halves, the Performance pane one column of wider labels.
QRect box_of(const panel_place& p, const lobe::rect& area) {
  const int y = area.top + 30 + 25 * p.row;
  if (p.pane == panel_pane::performance) return {area.left + 95, y, 155, 20};
  switch (p.part) {
    case row_part::left: return {area.left + 65, y, 68, 20};
    case row_part::right: return {area.left + 177, y, 68, 20};
    case row_part::whole: break;
  }
  return {area.left + 65, y, 180, 20};
}

}  // namespace

void header_panes::show(const antenna_data_type& pd, panel_pane pane, bool read_only, const lobe::rect& area) {
  clear();
  pane_ = pane;
  for (const header_field& f : header_fields()) {
    if (f.panel.pane != pane || f.panel.row < 0) continue;
    auto* e = new QLineEdit(client_);
    e->setObjectName(QString::fromLatin1(f.name));
    e->setMaxLength(static_cast<int>(f.size) - 1);
    e->setText(QString::fromLatin1(field_text(pd, f)));
    e->setCursorPosition(0);
    e->setReadOnly(read_only);
    edits_.emplace_back(&f, e);
  }
  place(area);
  for (const auto& [f, e] : edits_) e->show();
}

void header_panes::place(const lobe::rect& area) {
  for (const auto& [f, e] : edits_) e->setGeometry(box_of(f->panel, area));
}

void header_panes::read_into(antenna_data_type& pd) const {
  for (const auto& [f, e] : edits_) {
    QString text = e->text();
    if (std::string_view(f->tag) == "GUNITS") text = text.toUpper();
    set_field(field_of(pd, *f), text.toLatin1().toStdString());
  }
}

void header_panes::clear() {
  for (const auto& [f, e] : edits_) {
    e->hide();
    e->deleteLater();
  }
  edits_.clear();
}

QLineEdit* header_panes::edit(std::string_view name) const {
  for (const auto& [f, e] : edits_)
    if (name == f->name) return e;
  return nullptr;
}

}  // namespace lobe

#include "app/command_column.h"

#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>

#include "draw/window_layout.h"

namespace lobe {

namespace {

QPushButton* button(QWidget* client, const char* name, const QString& text) {
  auto* b = new QPushButton(text, client);
  b->setObjectName(QString::fromLatin1(name));
  b->setFocusPolicy(Qt::NoFocus);
  return b;
}

QRadioButton* radio(QWidget* client, const char* name, const char* text) {
  auto* r = new QRadioButton(QString::fromLatin1(text), client);
  r->setObjectName(QString::fromLatin1(name));
  r->setAutoExclusive(false);  // the pairs are kept by the window, each by its command
  return r;
}

}  // namespace

command_column::command_column(QWidget* client)
    : clear_all(button(client, "clear_all", QStringLiteral("Clear all"))),
      add_freq(button(client, "add_freq", QStringLiteral("Add New Freq"))),
      open(button(client, "open", QStringLiteral("Open"))),
      print(button(client, "print", QStringLiteral("Print"))),
      save(button(client, "save", QStringLiteral("Save As"))),
      undo(button(client, "undo", QStringLiteral("Undo changes"))),
      log_grid(radio(client, "log_grid", "Log")),
      lin_grid(radio(client, "lin_grid", "Lin")),
      db_scale(radio(client, "db_scale", "dB")),
      mv_scale(radio(client, "mv_scale", "mV")),
      description(radio(client, "description", "Description")),
      performance(radio(client, "performance", "Performance")),
      progress(new QProgressBar(client)) {
  undo->setEnabled(false);
  lin_grid->setChecked(true);
  db_scale->setChecked(true);
  description->setChecked(true);
  progress->setObjectName(QStringLiteral("progress"));
  progress->setRange(0, 360);
  progress->setValue(0);
  progress->setTextVisible(false);
}

void command_column::place(const window_layout& layout, bool full, bool capture) {
  const lobe::rect& fd = layout.rFileDataArea;
  const struct {
    QWidget* widget;
    int x, y, w, h;
    bool shown;
  } places[] = {
      {clear_all, 5, 30, 120, 25, full},
      {add_freq, 130, 30, 120, 25, full && capture},
      {save, 5, 190, 120, 25, full},
      {undo, 130, 190, 120, 25, full},
      {db_scale, 140, 110, 50, 25, true},
      {mv_scale, 190, 110, 50, 25, true},
      {log_grid, 15, 110, 50, 25, true},
      {lin_grid, 65, 110, 50, 25, true},
      {open, 5, 160, 120, 25, true},
      {print, 130, 160, 120, 25, true},
      {progress, 5, 57, 245, 14, full && capture},  // clear of the bearing strip's numbers below
      {description, fd.left + 5, fd.top + 4, 118, 22, true},
      {performance, fd.left + 132, fd.top + 4, 118, 22, true},
  };
  for (const auto& p : places) {
    p.widget->setGeometry(p.x, p.y, p.w, p.h);
    p.widget->setVisible(p.shown);
  }
}

std::vector<QWidget*> command_column::sweep_locked() const {
  return {clear_all, add_freq, open, print, save, log_grid, lin_grid, db_scale, mv_scale};
}

}  // namespace lobe

#include "app/modal_ui.h"

#include <QColorDialog>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QVBoxLayout>
#include <QFontDatabase>
#include <QDialogButtonBox>
#include <QStandardPaths>

#include "app/lobe_dialogs.h"
#include "app/resource_ids.h"
#include "core/text/field_text.h"
#include "draw_qt/qpainter_surface.h"

namespace lobe {

namespace {

QString qs(const std::string& s) { return QString::fromLocal8Bit(s.c_str()); }

QString filter_text(const std::vector<file_filter>& filters) {
  QStringList parts;
  for (const auto& f : filters) {
    // Qt reads the patterns from the brackets of the description.
    parts << QString::fromStdString(f.description);
  }
  return parts.join(QStringLiteral(";;"));
}

// The folder the dialogs start in: the home folder of the settings when it
// exists, else the documents folder.
QString start_folder(const std::string& folder) {
  const QString f = qs(folder);
  if (!f.isEmpty() && QDir(f).exists()) return f;
  return QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
}

std::optional<std::string> run_file_dialog(QWidget* owner, const file_dialog_request& r, bool save) {
  QFileDialog dialog(owner);
  dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
  dialog.setDirectory(start_folder(r.folder));
  dialog.setNameFilter(filter_text(r.filters));
  if (!r.default_extension.empty()) dialog.setDefaultSuffix(QString::fromStdString(r.default_extension));
  if (!r.current_name.empty()) dialog.selectFile(qs(r.current_name));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return dialog.selectedFiles().first().toLocal8Bit().toStdString();
}

// Closing a dialog by its close box counts as Cancel.
int result_of(int exec_result) { return exec_result == 1 ? 1 : 2; }

}  // namespace

int qt_modal_ui::message_box(const std::string& text, const std::string& caption, message_icon icon, bool yes_no) {
  QMessageBox box(owner_);
  box.setWindowTitle(qs(caption));
  box.setText(qs(text));
  switch (icon) {
    case message_icon::error: box.setIcon(QMessageBox::Critical); break;
    case message_icon::warning: box.setIcon(QMessageBox::Warning); break;
    case message_icon::question: box.setIcon(QMessageBox::Question); break;
    default: box.setIcon(QMessageBox::Information); break;
  }
  if (yes_no) {
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
    return box.exec() == QMessageBox::No ? IDNO : IDYES;
  }
  box.setStandardButtons(QMessageBox::Ok);
  box.exec();
  return IDOK;
}

std::optional<std::string> qt_modal_ui::open_file_name(const file_dialog_request& r) {
  return run_file_dialog(owner_, r, false);
}

std::optional<std::string> qt_modal_ui::save_file_name(const file_dialog_request& r) {
  return run_file_dialog(owner_, r, true);
}

int qt_modal_ui::ant_version_dialog(dialog_anchor at, int& ant_file_type) {
  ant_version_dialog_box d(owner_);
  place_dialog(d, at);
  const int r = result_of(d.exec());
  if (r == 1) ant_file_type = d.chosen;
  return r;
}

int qt_modal_ui::nec_column_dialog(dialog_anchor at, int& angle_col, int& signal_col) {
  nec_column_dialog_box d(owner_);
  place_dialog(d, at);
  const int r = result_of(d.exec());
  if (r == 1) {
    angle_col = d.angle_list->currentRow();
    signal_col = d.signal_list->currentRow();
  }
  return r;
}

int qt_modal_ui::description_dialog(dialog_anchor at, antenna_data_type& pd) {
  description_dialog_box d(owner_, pd);
  place_dialog(d, at);
  const int r = result_of(d.exec());
  if (r == 1) {
    std::span<char> fields[] = {pd.descr1, pd.descr2, pd.descr3, pd.descr4, pd.descr5};
    for (std::size_t i = 0; i < 5; ++i) set_field(fields[i], d.lines[i]->text().left(79).toLatin1().toStdString());
  }
  return r;
}

int qt_modal_ui::dsa_ip_dialog(dialog_anchor at, std::string& ip) {
  dsa_ip_dialog_box d(owner_, ip);
  place_dialog(d, at);
  const int r = result_of(d.exec());
  if (r == 1) ip = d.address->text().left(39).toStdString();
  return r;
}

std::optional<colorref> qt_modal_ui::choose_colour(colorref initial, const std::vector<colorref>& custom) {
  for (std::size_t i = 0; i < custom.size() && i < 16; ++i)
    QColorDialog::setCustomColor(static_cast<int>(i), to_qcolor(custom[i]));
  const QColor c = QColorDialog::getColor(to_qcolor(initial), owner_);
  if (!c.isValid()) return std::nullopt;
  return rgb(c.red(), c.green(), c.blue());
}

bool qt_modal_ui::print_setup(QPrinter& printer) {
  printer.setFromTo(1, 1);
  QPrintDialog dialog(&printer, owner_);
  dialog.setMinMax(1, 65535);
  return dialog.exec() == QDialog::Accepted;
}

void qt_modal_ui::show_text(const std::string& title, const std::string& text) {
  QDialog d(owner_);
  d.setWindowTitle(QString::fromStdString(title));
  auto* layout = new QVBoxLayout(&d);
  auto* view = new QPlainTextEdit(QString::fromLocal8Bit(text.c_str()), &d);
  view->setReadOnly(true);
  view->setLineWrapMode(QPlainTextEdit::NoWrap);
  view->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  auto* close = new QDialogButtonBox(QDialogButtonBox::Close, &d);
  QObject::connect(close, &QDialogButtonBox::rejected, &d, &QDialog::reject);
  layout->addWidget(view);
  layout->addWidget(close);
  const QFontMetrics m(view->font());
  d.resize(std::min(m.horizontalAdvance(QString(110, QLatin1Char('x'))) + 60, 1400), 360);
  d.exec();
}

}  // namespace lobe

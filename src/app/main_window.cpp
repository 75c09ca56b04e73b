#include "app/main_window.h"

#include <QAction>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QUrl>

#include "app/resource_ids.h"
#include "core/session/antenna_loader.h"
#include "core/range/range_codes.h"
#include "core/settings/settings.h"
#include "draw/chart_scale.h"
#include "draw/label_placer.h"

namespace lobe {

// The client area: everything below the menu bar, status bar included, as
// the layout rules count it.
class client_area : public QWidget {
 public:
  explicit client_area(main_window& w) : QWidget(&w), w_(w) {
    setAcceptDrops(true);
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, Qt::white);
    setPalette(p);
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    w_.paint(painter);
  }
  void resizeEvent(QResizeEvent*) override { w_.mainwindow_size(); }
  void mousePressEvent(QMouseEvent* e) override {
    if (e->button() == Qt::LeftButton) w_.mouse_down(e->position().toPoint().x(), e->position().toPoint().y());
  }
  void mouseReleaseEvent(QMouseEvent* e) override {
    if (e->button() == Qt::LeftButton) w_.mouse_up();
  }
  void dragEnterEvent(QDragEnterEvent* e) override {
    if (e->mimeData()->hasUrls()) e->acceptProposedAction();
  }
  void dropEvent(QDropEvent* e) override {
    const auto urls = e->mimeData()->urls();
    if (urls.isEmpty()) return;
    w_.drop_file(urls.first().toLocalFile().left(199).toLocal8Bit().toStdString());
  }

 private:
  main_window& w_;
};

// The fields of the status bar sit at fixed right edges; they follow the bar
// whenever it changes size.
class status_fields_area : public QWidget {
 public:
  status_fields_area(QWidget* parent, main_window& w) : QWidget(parent), w_(w) {}

 protected:
  void resizeEvent(QResizeEvent*) override { w_.place_status_fields(); }

 private:
  main_window& w_;
};

main_window::main_window(lobe_state& st, run_log& log, range_link& link, window_state ws, modal_ui* ui)
    : st_(st),
      log_(log),
      link_(link),
      ws_(std::move(ws)),
      own_ui_(ui ? nullptr : std::make_unique<qt_modal_ui>(this)),
      ui_(ui ? *ui : *own_ui_),
      pictures_(make_window_pictures()) {
  setWindowTitle(QStringLiteral("Lobeview"));
  setWindowIcon(make_program_icon());
  client_ = new client_area(*this);
  setCentralWidget(client_);
  // Below this the three columns would run into each other.
  client_->setMinimumSize(MIN_CLIENT_W, MIN_CLIENT_H);
  QFont controls_font(QStringLiteral("Arial"));
  controls_font.setPixelSize(12);
  client_->setFont(controls_font);

  // The fixed menu; the run-time popups are appended by mainwindow_menus.
  auto add = [this](QMenu* menu, const char* text, int id, bool checkable = false) {
    QAction* a = menu->addAction(QString::fromLatin1(text));
    a->setCheckable(checkable);
    connect(a, &QAction::triggered, this, [this, id] { command(id); });
    actions_[id] = a;
  };
  QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
  add(file, "&Open", ID_FILE_OPEN);
  add(file, "Print", ID_FILE_PRINT);
  add(file, "E&xit", ID_FILE_EXIT);
  QMenu* view = menuBar()->addMenu(QStringLiteral("&View"));
  add(view, "Polar", ID_VIEW_POLAR, true);
  add(view, "Cartesian", ID_VIEW_CART, true);
  add(view, "Cartesian (0-90)", ID_VIEW_CART90, true);
  add(view, "EMR Exposure", ID_VIEW_EMR, true);
  view->addSeparator();
  add(view, "Parameters...", ID_VIEW_PARAMETERS);
  help_menu_ = menuBar()->addMenu(QStringLiteral("&Help"));
  add(help_menu_, "About", ID_HELP_ABOUT);
  add(help_menu_, "File types", ID_HELP_FILE);
  add(help_menu_, "Viewing", ID_HELP_VIEW);

  // WM_CREATE
  mainwindow_create();
  mainwindow_menus();
  clear_planet_header_data(st_.pd, st_.all_emax);
  display_planet_header();
  panel_capture_ = st_.range.capture_enabled;
  if (link_.serial_connected() && !st_.range.capture_enabled) link_.write_com_port(COM_HELLO);

  timer_.setInterval(1000);
  connect(&timer_, &QTimer::timeout, this, [this] {
    if (st_.range.capture_enabled && !link_.dsa_connected()) link_.timer_tick();
  });
}

void main_window::start_timer() { timer_.start(); }

main_window::~main_window() = default;

QWidget* main_window::client() const { return client_; }

void main_window::mainwindow_create() {
  // A real status bar docked under the client area, with its size grip; the
  // seven fields keep their fixed right edges inside it.
  QStatusBar* status = statusBar();
  status->setSizeGripEnabled(true);
  status->setProperty("lobe_id", ID_STATUSBAR);
  QFont status_font(QStringLiteral("Arial"));
  status_font.setPixelSize(11);
  status->setFont(status_font);
  status_bar_ = new status_fields_area(status, *this);
  status_bar_->setMinimumHeight(18);
  status->addWidget(status_bar_, 1);
  for (int i = 0; i < 7; ++i) {
    auto* field = new QLabel(status_bar_);
    field->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    status_fields_.push_back(field);
  }

  auto radio = [this](int id, const char* text) {
    auto* r = new QRadioButton(QString::fromLatin1(text), client_);
    r->setAutoExclusive(false);
    r->setProperty("lobe_id", id);
    connect(r, &QRadioButton::clicked, this, [this, id] { command(id); });
    controls_[id] = r;
    return r;
  };
  make_button(IDC_BUTTON_NEW, QStringLiteral("Clear all"), 5, 30, 120, 25);
  make_button(IDC_BUTTON_NEW_FR, QStringLiteral("Add New Freq"), 130, 30, 120, 25);
  radio(IDC_RBUTTON_LOG, "Log");
  radio(IDC_RBUTTON_LIN, "Lin")->setChecked(true);
  radio(IDC_RBUTTON_DB, "dB")->setChecked(true);
  radio(IDC_RBUTTON_MV, "mV");
  make_button(IDC_BUTTON_OPEN, QStringLiteral("Open"), 5, 160, 120, 25);
  make_button(IDC_BUTTON_PRINT, QStringLiteral("Print"), 130, 160, 120, 25);
  make_button(IDC_BUTTON_SAVE, QStringLiteral("Save As"), 5, 190, 120, 25);
  make_button(IDC_BUTTON_UNDO, QStringLiteral("Undo changes"), 130, 190, 120, 25)->setEnabled(false);
  make_button(IDC_BUTTON_ZOOM, QString(), 0, 0, 28, 28, &pictures_.zoom)->setToolTip(QStringLiteral("Zoom"));
  auto* bar = new QProgressBar(client_);
  bar->setRange(0, 360);
  bar->setValue(0);
  bar->setTextVisible(false);
  bar->setProperty("lobe_id", IDC_PROG_BAR);
  controls_[IDC_PROG_BAR] = bar;
  radio(IDC_RBUTTON_DESC, "Description")->setChecked(true);
  radio(IDC_RBUTTON_PERF, "Performance");
  set_status_text(STB_VERSION, std::string(LOBEVIEW_VERSION) + (st_.settings.edit_enabled ? "x" : ""));
}

QWidget* main_window::make_button(int id, const QString& text, int x, int y, int w, int h, const QPixmap* picture) {
  auto* b = new QPushButton(text, client_);
  if (picture) {
    b->setIcon(QIcon(*picture));
    b->setIconSize(picture->size());
  }
  b->setGeometry(x, y, w, h);
  b->setProperty("lobe_id", id);
  b->setFocusPolicy(Qt::NoFocus);
  connect(b, &QPushButton::clicked, this, [this, id] { command(id); });
  controls_[id] = b;
  b->show();
  return b;
}

QWidget* main_window::control(int id) const {
  auto it = controls_.find(id);
  return it == controls_.end() ? nullptr : it->second.data();
}

QAction* main_window::menu_action(int id) const {
  auto it = actions_.find(id);
  return it == actions_.end() ? nullptr : it->second;
}

std::vector<std::string> main_window::menu_titles() const {
  std::vector<std::string> out;
  for (QAction* a : menuBar()->actions()) out.push_back(a->text().toStdString());
  return out;
}

std::string main_window::status_text(int part) const {
  if (part < 0 || part >= static_cast<int>(status_fields_.size())) return "";
  return status_fields_[static_cast<std::size_t>(part)]->text().toLocal8Bit().toStdString();
}

void main_window::set_window_parameters() {
  lobe::set_window_parameters(layout_, client_->width(), client_->height(), full_mode(),
                            centre_db_annuli[zoom_index(st_.view)]);
}

void main_window::mainwindow_size() {
  set_window_parameters();
  // View mode has no editing buttons; "Add New Freq" and the progress bar
  // belong to the test range alone.
  const bool full = full_mode();
  for (int id : {IDC_BUTTON_NEW, IDC_BUTTON_SAVE, IDC_BUTTON_UNDO})
    if (QWidget* c = control(id)) c->setVisible(full);
  for (int id : {IDC_BUTTON_NEW_FR, IDC_PROG_BAR})
    if (QWidget* c = control(id)) c->setVisible(full && st_.range.capture_enabled);
  place_frame_controls();
  place_header_edits();
  place_panel_rows();
  show_hide_emr_windows();
  invalidate_all();
}

void main_window::place_frame_controls() {
  const lobe::rect& fd = layout_.rFileDataArea;
  const struct {
    int id, x, y, w, h;
  } places[] = {
      {IDC_BUTTON_NEW, 5, 30, 120, 25},       {IDC_BUTTON_NEW_FR, 130, 30, 120, 25},
      {IDC_BUTTON_SAVE, 5, 190, 120, 25},     {IDC_BUTTON_UNDO, 130, 190, 120, 25},
      {IDC_RBUTTON_DB, 140, 110, 50, 25},     {IDC_RBUTTON_MV, 190, 110, 50, 25},
      {IDC_RBUTTON_LOG, 15, 110, 50, 25},     {IDC_RBUTTON_LIN, 65, 110, 50, 25},
      {IDC_BUTTON_OPEN, 5, 160, 120, 25},     {IDC_BUTTON_PRINT, 130, 160, 120, 25},
      {IDC_BUTTON_ZOOM, layout_.rRectArea.right - 30, layout_.rRectArea.bottom - 50, 28, 28},
      {IDC_PROG_BAR, 5, 62, 245, 15},         {IDC_RBUTTON_DESC, fd.left + 5, fd.top + 4, 118, 22},
      {IDC_RBUTTON_PERF, fd.left + 132, fd.top + 4, 118, 22},
  };
  for (const auto& p : places)
    if (QWidget* c = control(p.id)) {
      c->setGeometry(p.x, p.y, p.w, p.h);
      if (p.id != IDC_BUTTON_NEW && p.id != IDC_BUTTON_NEW_FR && p.id != IDC_BUTTON_SAVE &&
          p.id != IDC_BUTTON_UNDO && p.id != IDC_PROG_BAR)
        c->show();
    }
}

void main_window::place_status_fields() {
  const int edges[] = {75, 300, 320, 350, 420, 620};
  const int width = status_bar_->width();
  int left = 0;
  for (int i = 0; i < 7; ++i) {
    const int right = i < 6 ? std::min(edges[i], width) : width;
    status_fields_[static_cast<std::size_t>(i)]->setGeometry(left, 0, std::max(0, right - left - 2),
                                                             status_bar_->height());
    left = right;
  }
}

void main_window::invalidate(const lobe::rect& r) {
  // The strips of the test range change at every bearing; the chart does not.
  if (!(r == layout_.rTrCtlArea) && !(r == layout_.rTrDegArea) && overlaps(r, layout_.rRectArea)) chart_dirty_ = true;
  client_->update(r.left, r.top, r.right - r.left, r.bottom - r.top);
}
void main_window::invalidate_all() {
  chart_dirty_ = true;
  client_->update();
}

void main_window::select_radio(int on, int off) {
  if (auto* r = qobject_cast<QRadioButton*>(control(on))) r->setChecked(true);
  if (auto* r = qobject_cast<QRadioButton*>(control(off))) r->setChecked(false);
}

void main_window::enable(int id, bool on) {
  if (QWidget* c = control(id)) c->setEnabled(on);
}

dialog_anchor main_window::plot_centre_on_screen() const {
  const QPoint p = client_->mapToGlobal(QPoint(layout_.plot_centre_x, layout_.plot_centre_y));
  return {p.x(), p.y()};
}

void main_window::set_status_text(int part, std::string_view text) {
  if (part < 0 || part >= static_cast<int>(status_fields_.size())) return;
  status_fields_[static_cast<std::size_t>(part)]->setText(
      QString::fromLocal8Bit(text.data(), static_cast<qsizetype>(text.size())));
}

void main_window::sync_envelope_menu() {
  for (int e = 0; e < count_in(st_.ed.numenv, MAX_ENVELOPES); ++e)
    if (QAction* a = menu_action(ID_ENV_1 + e)) a->setChecked(st_.ed.env[e].display != 0);
}

void main_window::show_report(const action_report& report, const char* caption) {
  if (report.pattern_replaced) {
    panel_changed();
    mainwindow_menus();
  }
  sync_envelope_menu();
  for (const auto& [part, text] : report.status) set_status_text(part, text);
  for (const action_message& m : report.messages) {
    switch (m.kind) {
      case message_kind::failure: ui_.message_box(m.text, caption, message_icon::error); break;
      case message_kind::load_notice: ui_.message_box(m.text, "Opening the file", message_icon::warning); break;
      case message_kind::save_notice: ui_.message_box(m.text, caption, message_icon::information); break;
    }
  }
}

void main_window::panel_changed() {
  clear_window_cut_data();
  clear_window_form_data();
  display_planet_header();
}

void main_window::redraw(window_area area) {
  switch (area) {
    case window_area::bearing_strip: invalidate(layout_.rTrDegArea); return;
    case window_area::turntable_strip: invalidate(layout_.rTrCtlArea); return;
    case window_area::chart: invalidate(layout_.rRectArea); return;
    case window_area::freq_data: invalidate(layout_.rFreqDataArea); return;
  }
}

void main_window::set_progress(int bearing) {
  if (auto* bar = qobject_cast<QProgressBar*>(control(IDC_PROG_BAR))) bar->setValue(bearing);
}

void main_window::drop_file(const std::string& path) {
  show_report(open_file_on_startup(st_, log_, path), "open_file_on_startup()");
  emr_message_shown_ = false;
  invalidate_all();
}

void main_window::closeEvent(QCloseEvent* e) {
  if (st_.range.capture_enabled) link_.write_com_port(COM_TX_STOP);
  if (st_.range.capture_enabled || st_.settings.edit_enabled) write_settings_file(st_.settings, ws_.documents_folder);
  e->accept();
}

}  // namespace lobe

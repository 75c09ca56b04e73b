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
#include <QScreen>
#include <QStatusBar>
#include <QUrl>

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
  QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
  actions_.open = add_action(file, "&Open", false, &main_window::open_flow);
  actions_.print = add_action(file, "Print", false, &main_window::print_flow);
  actions_.report = add_action(file, "Report...", false, &main_window::report_flow);
  actions_.compare_with = add_action(file, "Compare with...", false, &main_window::compare_flow);
  actions_.clear_reference = add_action(file, "Clear reference", false, &main_window::clear_reference_flow);
  actions_.clear_reference->setEnabled(false);
  actions_.exit = add_action(file, "E&xit", false, nullptr);
  connect(actions_.exit, &QAction::triggered, this, &QWidget::close);
  QMenu* view = menuBar()->addMenu(QStringLiteral("&View"));
  const char* views[] = {"Polar", "Cartesian", "Cartesian (0-90)", "EMR Exposure"};
  for (int i = 0; i < 4; ++i) {
    actions_.views[i] = add_action(view, views[i], true, nullptr);
    connect(actions_.views[i], &QAction::triggered, this, [this, i] { on_view(DISPLAY_TYPE_POLAR + i); });
  }
  actions_.difference = add_action(view, "Difference", true, &main_window::on_difference);
  actions_.difference->setEnabled(false);
  view->addSeparator();
  actions_.parameters = add_action(view, "Parameters...", false, &main_window::on_parameters);
  help_menu_ = menuBar()->addMenu(QStringLiteral("&Help"));
  actions_.about = add_action(help_menu_, "About", false, &main_window::on_about);
  actions_.help_files = add_action(help_menu_, "File types", false, nullptr);
  connect(actions_.help_files, &QAction::triggered, this, [this] { on_help(st_.help.help_info_files, "File types"); });
  actions_.help_views = add_action(help_menu_, "Viewing", false, nullptr);
  connect(actions_.help_views, &QAction::triggered, this, [this] { on_help(st_.help.help_info_views, "Graph viewing"); });

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

void main_window::show_first(QSize wanted) {
  resize(wanted);
  fit_to_screen();
  fitting_ = true;
  show();
  // Long enough for any window manager to frame the window; nothing runs after.
  QTimer::singleShot(2000, this, [this] { fitting_ = false; });
}

// As large as asked but no larger than the free area, frame included, and
// the frame's corner at the free area's: the title bar is never off-screen.
// Below the window's minimum size the bottom may still run off a very small
// screen, but never the title.
void main_window::fit_to_screen() {
  const QScreen* s = screen();
  if (!s) return;
  const QRect free_area = s->availableGeometry();
  const QRect frame = frameGeometry(), inner = geometry();
  const int extra_w = frame.width() - inner.width(), extra_h = frame.height() - inner.height();
  const QSize fits(free_area.width() - extra_w, free_area.height() - extra_h);
  if (!fits.isValid()) return;
  const QSize target = size().boundedTo(fits).expandedTo(minimumSizeHint());
  if (target != size()) resize(target);
  if (frame.topLeft() != free_area.topLeft()) move(free_area.topLeft());
}

bool main_window::event(QEvent* e) {
  const bool handled = QMainWindow::event(e);
  if (fitting_ && (e->type() == QEvent::Move || e->type() == QEvent::Resize || e->type() == QEvent::Show))
    QTimer::singleShot(0, this, [this] {
      if (fitting_) fit_to_screen();
    });
  return handled;
}

main_window::~main_window() = default;

QAction* main_window::add_action(QMenu* menu, const char* text, bool checkable, void (main_window::*slot)()) {
  QAction* a = menu->addAction(QString::fromLatin1(text));
  a->setCheckable(checkable);
  if (slot) connect(a, &QAction::triggered, this, slot);
  return a;
}

QWidget* main_window::client() const { return client_; }

void main_window::mainwindow_create() {
  // A real status bar docked under the client area, with its size grip; the
  // seven fields keep their fixed right edges inside it.
  QStatusBar* status = statusBar();
  status->setSizeGripEnabled(true);
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
    status_texts_.emplace_back();
  }

  commands_ = std::make_unique<command_column>(client_);
  header_ = header_panes(client_);
  cuts_ = std::make_unique<cut_table>(client_, pictures_);
  chart_ = new chart_view(client_, st_, log_, pictures_);
  turntable_ = new turntable_strip(chart_, pictures_);
  bearing_ = new bearing_strip(client_);
  connect_commands();
  connect_cut_table();
  connect_chart();
  set_status_text(STB_VERSION, std::string(LOBEVIEW_VERSION) + (st_.settings.edit_enabled ? "x" : ""));
}

std::vector<std::string> main_window::menu_titles() const {
  std::vector<std::string> out;
  for (QAction* a : menuBar()->actions()) out.push_back(a->text().toStdString());
  return out;
}

std::string main_window::status_text(int part) const {
  if (part < 0 || part >= static_cast<int>(status_texts_.size())) return "";
  return status_texts_[static_cast<std::size_t>(part)].toLocal8Bit().toStdString();
}

void main_window::set_window_parameters() {
  lobe::set_window_parameters(layout_, client_->width(), client_->height(), full_mode(),
                            centre_db_annuli[zoom_index(st_.view)]);
}

void main_window::mainwindow_size() {
  set_window_parameters();
  const bool capture = st_.range.capture_enabled != 0;
  commands_->place(layout_, full_mode(), capture);
  chart_->place(layout_, full_mode());
  const lobe::rect& t = layout_.rTrCtlArea;
  turntable_->setGeometry(t.left - chart_->x(), t.top - chart_->y(), t.right - t.left, t.bottom - t.top);
  turntable_->setVisible(capture);
  bearing_->place(layout_.rTrDegArea);
  bearing_->setVisible(capture);
  show_range_state();
  header_.place(layout_.rFileDataArea);
  place_panel_rows();
  show_hide_emr_windows();
  invalidate_all();
}

void main_window::place_status_fields() {
  const int edges[] = {75, 300, 320, 350, 420, 620};
  const int width = status_bar_->width();
  int left = 0;
  for (int i = 0; i < 7; ++i) {
    const int right = i < 6 ? std::min(edges[i], width) : width;
    status_fields_[static_cast<std::size_t>(i)]->setGeometry(left, 0, std::max(0, right - left - 2),
                                                             status_bar_->height());
    show_status_field(i);
    left = right;
  }
}

// A text longer than its field ends in "..." at a whole character, and the
// whole text is the field's tooltip.
void main_window::show_status_field(int part) {
  QLabel* field = status_fields_[static_cast<std::size_t>(part)];
  const QString& text = status_texts_[static_cast<std::size_t>(part)];
  const QFontMetrics metrics = field->fontMetrics();
  const int room = field->contentsRect().width() - 2 * field->margin() - 4;
  QString shown = text;
  if (metrics.horizontalAdvance(text) > room) {
    shown = text + QStringLiteral("...");
    while (!shown.startsWith(QStringLiteral("...")) && metrics.horizontalAdvance(shown) > room)
      shown.remove(shown.size() - 4, 1);
  }
  field->setText(shown);
  field->setToolTip(shown == text ? QString() : text);
}

// The strips of the test range change at every bearing; the chart does not.
void main_window::invalidate(const lobe::rect& r) {
  if (r == layout_.rTrCtlArea || r == layout_.rTrDegArea) return show_range_state();
  if (overlaps(r, layout_.rRectArea) || overlaps(r, layout_.rDescArea)) {
    chart_->mark_changed();
    // The data panel's verdicts follow the chart's levels.
    if (reference_ || active_envelope(st_.ed)) update_rect(layout_.rFreqDataArea);
  }
  update_rect(r);
}
void main_window::update_rect(const lobe::rect& r) { client_->update(r.left, r.top, r.right - r.left, r.bottom - r.top); }

void main_window::invalidate_all() {
  chart_->mark_changed();
  show_range_state();
  client_->update();
}

void main_window::show_range_state() {
  turntable_->show_state(st_.range.scan_state);
  bearing_->show_bearing(st_.range.antenna_angle, st_.range.scan_state);
}

std::vector<painted_text> main_window::painted_texts() const {
  std::vector<painted_text> all = painted_texts_;
  if (chart_->isVisible()) all.insert(all.end(), chart_->painted_texts().begin(), chart_->painted_texts().end());
  if (bearing_->isVisible()) all.insert(all.end(), bearing_->painted_texts().begin(), bearing_->painted_texts().end());
  return all;
}

void main_window::select_radio(QRadioButton* on, QRadioButton* off) {
  on->setChecked(true);
  off->setChecked(false);
}

dialog_anchor main_window::plot_centre_on_screen() const {
  const QPoint p = client_->mapToGlobal(QPoint(layout_.plot_centre_x, layout_.plot_centre_y));
  return {p.x(), p.y()};
}

void main_window::set_status_text(int part, std::string_view text) {
  if (part < 0 || part >= static_cast<int>(status_fields_.size())) return;
  status_texts_[static_cast<std::size_t>(part)] = QString::fromLocal8Bit(text.data(), static_cast<qsizetype>(text.size()));
  show_status_field(part);
}

void main_window::sync_envelope_menu() {
  const int n = std::min(count_in(st_.ed.numenv, MAX_ENVELOPES), static_cast<int>(actions_.envelopes.size()));
  for (int e = 0; e < n; ++e) actions_.envelopes[static_cast<std::size_t>(e)]->setChecked(st_.ed.env[e].display != 0);
}

void main_window::show_report(const action_report& report, const char* caption) {
  if (report.pattern_replaced) {
    panel_changed();
    mainwindow_menus();
  }
  sync_envelope_menu();
  for (const auto& [part, text] : report.status) set_status_text(part, text);
  // A box stands over what the report is about: the new pattern's panel and
  // chart are on screen before it, not the last file's.
  if (report.pattern_replaced && !report.messages.empty() && isVisible()) {
    mainwindow_size();
    client_->repaint();
  }
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
  commands_->progress->setValue(bearing);
  // setValue alone left the bar as first drawn for a whole sweep on X11.
  commands_->progress->update();
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

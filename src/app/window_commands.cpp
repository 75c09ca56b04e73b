// What the window's commands do: the command column's buttons and the cut
// table's row buttons, connected to the window's handlers, and the flows
// (open, save, print, clear, sweep) they start.
#include <QAction>
#include <QCheckBox>
#include <QPrinter>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <arpa/inet.h>

#include "app/main_window.h"
#include "app/resource_ids.h"
#include "core/analysis/cut_parameters.h"
#include "core/analysis/mask_check.h"
#include "core/analysis/pattern_compare.h"
#include "core/session/antenna_loader.h"
#include "core/text/c_numeric.h"
#include "core/record/cut_editing.h"
#include "core/text/field_text.h"
#include "core/formats/file_types.h"
#include "core/formats/pattern_reading.h"
#include "core/range/range_codes.h"
#include "core/range/sweep_capture.h"
#include "core/session/save_routing.h"
#include "core/settings/settings.h"
#include "draw/chart_scale.h"

namespace lobe {

namespace {

// The Open dialog offers the captured formats only in test-range mode.
const std::vector<file_filter> k_open_filters_view = format_filters({FT_NSMA99, FT_PLANET, FT_ADF, FT_ANT});
const std::vector<file_filter> k_open_filters_capture =
    format_filters({FT_NSMA99, FT_PLANET, FT_ADF, FT_ANT, FT_LABZ, FT_4NEC});

}  // namespace

void main_window::connect_commands() {
  const command_column& c = *commands_;
  connect(c.description, &QRadioButton::clicked, this, [this] { on_pane(true); });
  connect(c.performance, &QRadioButton::clicked, this, [this] { on_pane(false); });
  connect(c.clear_all, &QPushButton::clicked, this, &main_window::clear_all_flow);
  connect(c.add_freq, &QPushButton::clicked, this, &main_window::on_new_freq);
  connect(c.db_scale, &QRadioButton::clicked, this, [this] { on_scale(false); });
  connect(c.mv_scale, &QRadioButton::clicked, this, [this] { on_scale(true); });
  connect(c.log_grid, &QRadioButton::clicked, this, [this] { on_grid(true); });
  connect(c.lin_grid, &QRadioButton::clicked, this, [this] { on_grid(false); });
  connect(c.open, &QPushButton::clicked, this, &main_window::open_flow);
  connect(c.print, &QPushButton::clicked, this, &main_window::print_flow);
  connect(c.save, &QPushButton::clicked, this, &main_window::save_flow);
  connect(c.undo, &QPushButton::clicked, this, &main_window::on_undo);
}

void main_window::connect_cut_table() {
  const cut_table* t = cuts_.get();
  connect(t, &cut_table::add_cut, this, &main_window::on_add_cut);
  connect(t, &cut_table::shown_changed, this, [this] {
    shwhid_button_click();
    mainwindow_size();
  });
  connect(t, &cut_table::sweep, this, &main_window::on_sweep);
  connect(t, &cut_table::remove, this, &main_window::on_delete);
  connect(t, &cut_table::shift, this, &main_window::on_shift);
  connect(t, &cut_table::smooth, this, &main_window::on_smooth);
  connect(t, &cut_table::emr_refresh, this, &main_window::on_emr_refresh);
}

void main_window::connect_chart() {
  connect(chart_->zoom, &QPushButton::clicked, this, &main_window::on_zoom);
  connect(chart_, &chart_view::description_clicked, this, &main_window::on_description);
  connect(chart_, &chart_view::cuts_ended, this, [this](const cut_ends& ends) { shorten_cuts(st_.pd, ends); });
  connect(chart_, &chart_view::nothing_shown, this, [this] {
    if (!emr_message_shown_) show_emr_message_later();
  });
  connect(turntable_, &turntable_strip::pressed, this, &main_window::on_range_press);
  connect(bearing_, &bearing_strip::pressed, this, &main_window::on_range_press);
}

void main_window::on_pane(bool description) {
  select_radio(description ? commands_->description : commands_->performance,
               description ? commands_->performance : commands_->description);
  read_window_form_data();
  clear_window_form_data();
  clear_window_cut_data();
  ws_.disp_desc = description ? 1 : 0;
  display_planet_header();
  invalidate(layout_.rFileDataArea);
}

void main_window::on_new_freq() {
  add_freq();
  mainwindow_size();
}

void main_window::on_scale(bool mv) {
  select_radio(mv ? commands_->mv_scale : commands_->db_scale, mv ? commands_->db_scale : commands_->mv_scale);
  st_.view.mv_display = mv ? 1 : 0;
  for (QWidget* c : {static_cast<QWidget*>(commands_->lin_grid), static_cast<QWidget*>(commands_->log_grid),
                     static_cast<QWidget*>(chart_->zoom)})
    c->setEnabled(!mv);
  invalidate(layout_.rRectArea);
}

void main_window::on_zoom() {
  st_.view.centre_db_ix -= 1;
  if (st_.view.centre_db_ix < 0) st_.view.centre_db_ix = CENTRE_DB_SET - 1;
  set_window_parameters();
  invalidate(layout_.rRectArea);
}

void main_window::on_grid(bool log) {
  select_radio(log ? commands_->log_grid : commands_->lin_grid, log ? commands_->lin_grid : commands_->log_grid);
  st_.view.log_display = log ? 1 : 0;
  invalidate(layout_.rRectArea);
}

void main_window::on_undo() {
  if (st_.edit.undo_fr_cut < 0) {
    clear_window_cut_data();
    clear_window_form_data();
    display_planet_header();
  } else {
    undo_cut_data_edit(st_);
  }
  invalidate(layout_.rRectArea);
}

void main_window::on_emr_refresh() {
  read_window_form_data();
  invalidate_all();
}

void main_window::on_scale_to_max() {
  st_.view.scale_to_max_mode = st_.view.scale_to_max_mode ? 0 : 1;
  mainwindow_menus();
  mainwindow_size();
}

void main_window::on_view(int display_type) {
  st_.view.display_type = display_type;
  mainwindow_menus();
  chart_->zoom->setEnabled(display_type != DISPLAY_TYPE_EMR);
  emr_message_shown_ = false;
  mainwindow_size();
}

void main_window::on_about() {
  ui_.message_box(c_format("Lobeview %s\r\nAntenna data capture and plot\r\n", LOBEVIEW_VERSION),
                  "About this program...", message_icon::information);
}

void main_window::on_help(const std::string& text, const char* caption) {
  ui_.message_box(text, caption, message_icon::information);
}

void main_window::on_mirror(int direction) {
  const mirror_message m = mirror_result_message(mirror_cut_data(st_, direction));
  offer_undo();
  if (m.text) ui_.message_box(m.text, "mirror_cut_data()", m.error ? message_icon::error : message_icon::information);
  invalidate(layout_.rRectArea);
}

void main_window::on_reset_colours() {
  st_.settings.gr_colours = gr_colours_init();
  invalidate(layout_.rFreqDataArea);
  invalidate(layout_.rRectArea);
}

// What engineers read off the shown cuts, and the header fields they contradict.
void main_window::on_parameters() {
  std::string text = parameters_table(st_, true);
  for (const datasheet_difference& d : datasheet_check(st_.pd)) text += "Header: " + d.text + "\n";
  // With a reference, the comparison; with a mask shown, each shown cut's verdict against it.
  if (reference_) {
    text += "\nAgainst the reference " + reference_name_ + "\n";
    text += comparison_text(st_.pd, reference_->pd, compare_patterns(st_.pd, st_.flags, reference_->pd, {}));
  }
  if (const envelope_data_type* env = active_envelope(st_.ed)) {
    text += std::string("\nAgainst the mask ") + env->title + "\n";
    for (const mask_verdict& v : check_pattern(st_.pd, st_.flags, *env)) text += verdict_line(st_.pd, v);
  }
  ui_.show_text("Parameters", text);
}

void main_window::on_dsa_ip() {
  std::string ip = st_.settings.dsa_ip;
  const int r = ui_.dsa_ip_dialog(plot_centre_on_screen(), ip);
  if (r == -1) log_.write_error_log("WindowProcedure", "IDD_DSA_IP Dialog failed!");
  if (r != 1) return;
  // An address the analyser cannot have is refused here, not found out from the log.
  in_addr parsed{};
  if (inet_pton(AF_INET, ip.c_str(), &parsed) != 1) {
    ui_.message_box(c_format("\"%s\" is not an IP address (four numbers 0-255, such as 127.0.0.1).\n"
                             "The analyser is still looked for at %s.",
                             ip.c_str(), st_.settings.dsa_ip),
                    "Set DSA IP address", message_icon::warning);
    return;
  }
  write_dsa_ip(st_.settings, ip);
  link_.dsa_init();
}

// An envelope's menu item: show it, or hide it when it is the one shown.
void main_window::on_envelope_item(int e) {
  if (e < st_.ed.numenv && st_.ed.env[e].display)
    set_active_envelope(st_.ed, -1);
  else
    set_active_envelope(st_.ed, e);
  sync_envelope_menu();
  mainwindow_size();
}

// A serial port's menu item: the turntable's port from now on.
void main_window::on_com_port_item(int p) {
  const auto action = [this](int i) -> QAction* {
    return i >= 0 && i < static_cast<int>(actions_.com_ports.size()) ? actions_.com_ports[static_cast<std::size_t>(i)]
                                                                     : nullptr;
  };
  if (p != ws_.current_com_port) {
    if (QAction* a = action(ws_.current_com_port)) a->setChecked(false);
    if (QAction* a = action(p)) a->setChecked(true);
    ws_.current_com_port = p;
    link_.open_com_port(p);
  } else if (QAction* a = action(p)) {
    a->setChecked(true);
  }
}

// The buttons of a cut's row act on the row's own cut: no selection is left behind.
void main_window::on_shift(int f, int c, int step) {
  shift_cut_data(st_, f, c, step);
  invalidate(layout_.rRectArea);
}

void main_window::on_smooth(int f, int c) {
  moving_average_cut_data(st_, f, c);
  offer_undo();
  invalidate(layout_.rRectArea);
}

// A smoothing or a mirroring that kept the cut as it was can be taken back,
// however the file came (Open, the command line, a drop, a sweep).
void main_window::offer_undo() {
  if (st_.edit.undo_fr_cut >= 0) commands_->undo->setEnabled(true);
}

void main_window::on_sweep(int f, int c) {
  if (st_.range.scan_state == SCANSTATE_STOPPED) sweep_start_flow(f, c);
}

void main_window::on_delete(int f, int c) {
  if (ui_.message_box("Do you really want to\ndelete this cut?", "Delete cut", message_icon::question, true) == IDNO)
    return;
  delete_cut(f, c);
  mainwindow_size();
}

void main_window::on_add_cut(int f) {
  add_cut(f);
  mainwindow_size();
}

void main_window::clear_all_flow() {
  if (ui_.message_box("Do you really want to\ndiscard all the data?", "Clearing data", message_icon::question, true) ==
      IDNO)
    return;
  st_.file.filename_set = 0;
  set_status_text(STB_FILENAME, "");  // no file is open any more
  invalidate(layout_.rButtonArea);
  invalidate(layout_.rRectArea);
  clear_window_cut_data();
  clear_planet_header_data(st_.pd, st_.all_emax);
  clear_window_form_data();
  display_planet_header();
  commands_->undo->setEnabled(false);
  mainwindow_size();
}

void main_window::open_flow() {
  file_dialog_request r;
  r.folder = st_.settings.homeFolder;
  r.default_extension = st_.range.capture_enabled ? "" : "nsma";
  r.filters = st_.range.capture_enabled ? k_open_filters_capture : k_open_filters_view;
  const auto name = ui_.open_file_name(r);
  if (name) {
    st_.file.szFileName = *name;
    const std::string fx = dialog_extension(*name);
    if (equals_nocase(fx, "TXT")) {
      int angle = st_.nec.nec_angle_col, signal = st_.nec.nec_signal_col;
      const int d = ui_.nec_column_dialog(plot_centre_on_screen(), angle, signal);
      if (d == -1) log_.write_error_log("WindowProcedure", "IDD_4NEC_COL_SELECT Dialog failed!");
      if (d != 1) return;
      st_.nec = {angle, signal};
    }
    show_report(open_file(st_, log_, *name, fx), "ID_FILE_OPEN processing");
  }
  emr_message_shown_ = false;
  mainwindow_size();
  commands_->undo->setEnabled(true);
}

// File > Compare with...: a reference (the datasheet's file, an earlier
// measurement) read as Open reads a file, drawn beside the pattern and
// compared in View > Parameters and the report. The pattern stays as it is.
void main_window::compare_flow() {
  file_dialog_request r;
  r.folder = st_.settings.homeFolder;
  r.filters = k_open_filters_capture;
  const auto name = ui_.open_file_name(r);
  if (!name) return;
  // A fresh state with the pattern's reading options: a 4NEC table is added
  // to the pattern it is read into, which must not be the one on screen.
  std::unique_ptr<lobe_state> ref = make_lobe_state();
  ref->settings = st_.settings;
  ref->nec = st_.nec;
  const action_report loaded = open_file(*ref, log_, *name, dialog_extension(*name));
  if (!loaded.ok || !has_points(ref->pd)) {
    ui_.message_box("Unable to open antenna file.", "Compare with", message_icon::error);
    return;
  }
  reference_ = std::move(ref);
  reference_name_ = reference_->file.szFileName_name;
  actions_.clear_reference->setEnabled(true);
  actions_.difference->setEnabled(true);
  chart_->set_reference(&reference_->pd);
  invalidate(layout_.rFreqDataArea);
  set_status_text(STB_ACTION, "Compared with " + reference_name_);
}

void main_window::clear_reference_flow() {
  reference_.reset();
  reference_name_.clear();
  actions_.clear_reference->setEnabled(false);
  actions_.difference->setChecked(false);
  actions_.difference->setEnabled(false);
  chart_->set_difference(false);
  chart_->set_reference(nullptr);
  invalidate(layout_.rFreqDataArea);
  set_status_text(STB_ACTION, "");
}

// The difference is drawn on the Cartesian chart: from the polar or the EMR
// view it switches to the Cartesian one.
void main_window::on_difference() {
  const bool on = actions_.difference->isChecked() && reference_;
  chart_->set_difference(on);
  const int view = st_.view.display_type;
  if (on && view != DISPLAY_TYPE_RECT && view != DISPLAY_TYPE_RECT90) on_view(DISPLAY_TYPE_RECT);
}

void main_window::save_flow() {
  if (const action_report nothing = check_something_to_save(st_); !nothing.ok) {
    show_report(nothing, "IDC_BUTTON_SAVE processing");
    return;
  }
  file_dialog_request r;
  r.folder = st_.settings.homeFolder;
  r.current_name = st_.file.szFileName;
  // The format the file would be saved in comes first.
  if (st_.range.capture_enabled) {
    r.default_extension = "labz";
    r.filters = format_filters({FT_LABZ, FT_NSMA99, FT_PLANET, FT_ANT});
  } else if (st_.file.file_type == FT_PLANET) {
    r.default_extension = "pla";
    r.filters = format_filters({FT_PLANET, FT_NSMA99, FT_ANT});
  } else {
    r.default_extension = st_.file.file_type == FT_ANT ? "ant" : "nsma";
    r.filters = format_filters({FT_NSMA99, FT_PLANET, FT_ANT});
  }
  const auto name = ui_.save_file_name(r);
  if (!name) {
    commands_->undo->setEnabled(true);
    return;
  }
  st_.file.szFileName = *name;
  st_.file.file_type = save_type_from_extension(dialog_extension(*name));
  if (st_.file.file_type == FT_ANT) {
    int version = st_.file.ant_file_type;
    const int d = ui_.ant_version_dialog(plot_centre_on_screen(), version);
    if (d == -1) log_.write_error_log("WindowProcedure", "IDD_ANT_VER_SELECT Dialog failed!");
    if (d != 1) return;
    st_.file.ant_file_type = version;
  }
  read_window_form_data();
  const action_report saved = save_file(st_, log_, *name);
  show_report(saved, "IDC_BUTTON_SAVE processing");
  if (!saved.ok) return;
  commands_->undo->setEnabled(true);
}

void main_window::sweep_start_flow(int f, int c) {
  const char* question = st_.range.antenna_angle < 181 ? "Do you really want to\nstart a clockwise antenna sweep?"
                                                 : "Do you really want to\nstart an anticlockwise antenna sweep?";
  if (ui_.message_box(question, "Starting sweep", message_icon::question, true) == IDNO) return;
  st_.edit.capture_freq = f;
  st_.edit.capture_cut = c;
  link_.dsa_set_d(DSA_SET_FREQ, st_.edit.capture_freq);
  link_.dsa_req(DSA_REQ_PWR);
  for (int a = 0; a < MAX_BEARINGS; ++a) st_.range.cbuff[a] = 0.0f;
  st_.range.rejected_level_replies = 0;
  st_.range.scan_state = SCANSTATE_COLLECTING;
  link_.write_com_port(COM_TX_SWEEP);
  set_status_text(STB_ACTION, "Antenna sweep in progress");
  sweep_active();
}

void main_window::sweep_active() {
  for (QWidget* w : commands_->sweep_locked()) w->setEnabled(false);
  for (QWidget* w : cuts_->sweep_locked()) w->setEnabled(false);
  invalidate(layout_.rTrCtlArea);
}

void main_window::sweep_inactive() {
  for (QWidget* w : commands_->sweep_locked()) w->setEnabled(true);
  // Log and Lin stay off on the voltage scale.
  if (st_.view.mv_display) {
    commands_->log_grid->setEnabled(false);
    commands_->lin_grid->setEnabled(false);
  }
  for (QWidget* w : cuts_->sweep_locked()) w->setEnabled(true);
  invalidate(layout_.rTrCtlArea);
}

void main_window::enable_file_buttons() {
  for (QPushButton* b : {commands_->open, commands_->print, commands_->save}) b->setEnabled(true);
}

void main_window::mouse_down(int x, int y) {
  const int left = layout_.rFreqDataArea.left;
  if (full_mode() && x > left + 25 && x < left + 50) pick_colour(x, y);
}

void main_window::on_description() {
  const int r = ui_.description_dialog(plot_centre_on_screen(), st_.pd);
  if (r == -1) log_.write_error_log("WindowProcedure", "IDD_DESCR Dialog failed!");
  if (r == 1) invalidate(layout_.rDescArea);
}

// What a click on the turntable or the bearing strip asks of the controller.
void main_window::on_range_press(range_press what) {
  if (!st_.range.capture_enabled) return;
  switch (what) {
    case range_press::none: return;
    case range_press::pause: return pause_sweep();
    case range_press::set_zero: return link_.write_com_port(COM_TX_SET_ZERO);
    case range_press::set_full: return link_.write_com_port(COM_TX_SET_360);
    case range_press::resume:
      link_.write_com_port(COM_TX_SWEEP);
      st_.range.scan_state = SCANSTATE_COLLECTING;
      set_status_text(STB_ACTION, "Sweep resumed");
      // The level chain ended while paused; start it again so the samples
      // after the resume are fresh readings, not the last level repeated.
      link_.dsa_req(DSA_REQ_PWR);
      break;
    case range_press::stop:
      link_.write_com_port(COM_TX_STOP);
      sweep_inactive();
      st_.range.scan_state = SCANSTATE_STOPPED;
      set_status_text(STB_ACTION, "");
      break;
    case range_press::turn_back:
    case range_press::turn_forward:
      link_.write_com_port(what == range_press::turn_back ? COM_MAN_R : COM_MAN_F);
      st_.range.manual_rotate = 1;
      return;
  }
  show_range_state();
}

// A click on either strip while collecting: the controller stops, the sweep waits.
void main_window::pause_sweep() {
  link_.write_com_port(COM_TX_STOP);
  range_io io{log_, *this};
  range_stop(st_, io);
  invalidate(layout_.rTrCtlArea);
}

void main_window::mouse_up() {
  if (st_.range.manual_rotate) {
    link_.write_com_port(COM_MAN_S);
    st_.range.manual_rotate = 0;
  }
  if (link_.serial_connected() && !st_.range.capture_enabled) link_.write_com_port(COM_HELLO);
}

void main_window::pick_colour(int, int y) {
  // A cut's colour is the palette entry of its number among all cuts.
  const panel_rows rows = panel();
  const auto ref = rows.cut_at_line(rows.line_at(y));
  if (!ref) return;
  const std::size_t index = static_cast<std::size_t>(ref->number % PALETTE_SIZE);
  std::vector<colorref> custom(st_.settings.gr_colours.begin(), st_.settings.gr_colours.begin() + 16);
  if (auto chosen = ui_.choose_colour(st_.settings.gr_colours[index], custom)) {
    st_.settings.gr_colours[index] = *chosen;
    invalidate(layout_.rFreqDataArea);
    invalidate(layout_.rRectArea);
  }
}

}  // namespace lobe

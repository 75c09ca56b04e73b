// The command dispatch: every button, menu item and panel control arrives
// here by its id, fixed ids first, then the id ranges of the panel rows.
#include <QCheckBox>
#include <QPrinter>
#include <QProgressBar>

#include "app/main_window.h"
#include "app/resource_ids.h"
#include "core/analysis/cut_parameters.h"
#include "core/session/antenna_loader.h"
#include "core/text/c_numeric.h"
#include "core/record/cut_editing.h"
#include "core/text/field_text.h"
#include "core/formats/file_types.h"
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

void main_window::on_pane(int id) {
  select_radio(id, id == IDC_RBUTTON_DESC ? IDC_RBUTTON_PERF : IDC_RBUTTON_DESC);
  read_window_form_data();
  clear_window_form_data();
  clear_window_cut_data();
  ws_.disp_desc = id == IDC_RBUTTON_DESC ? 1 : 0;
  display_planet_header();
  invalidate(layout_.rFileDataArea);
}

void main_window::on_new_freq(int) {
  add_freq();
  mainwindow_size();
}

void main_window::on_scale(int id) {
  const bool mv = id == IDC_RBUTTON_MV;
  select_radio(id, mv ? IDC_RBUTTON_DB : IDC_RBUTTON_MV);
  st_.view.mv_display = mv ? 1 : 0;
  for (int c : {IDC_RBUTTON_LIN, IDC_RBUTTON_LOG, IDC_BUTTON_ZOOM}) enable(c, !mv);
  invalidate(layout_.rRectArea);
}

void main_window::on_zoom(int) {
  st_.view.centre_db_ix -= 1;
  if (st_.view.centre_db_ix < 0) st_.view.centre_db_ix = CENTRE_DB_SET - 1;
  set_window_parameters();
  invalidate(layout_.rRectArea);
}

void main_window::on_grid(int id) {
  select_radio(id, id == IDC_RBUTTON_LOG ? IDC_RBUTTON_LIN : IDC_RBUTTON_LOG);
  st_.view.log_display = id == IDC_RBUTTON_LOG ? 1 : 0;
  invalidate(layout_.rRectArea);
}

void main_window::on_undo(int) {
  if (st_.edit.undo_fr_cut < 0) {
    clear_window_cut_data();
    clear_window_form_data();
    display_planet_header();
  } else {
    undo_cut_data_edit(st_);
  }
  invalidate(layout_.rRectArea);
}

void main_window::on_emr_refresh(int) {
  read_window_form_data();
  invalidate_all();
}

void main_window::on_scale_to_max(int) {
  st_.view.scale_to_max_mode = st_.view.scale_to_max_mode ? 0 : 1;
  mainwindow_menus();
  mainwindow_size();
}

void main_window::on_view(int id) {
  st_.view.display_type = id == ID_VIEW_EMR     ? DISPLAY_TYPE_EMR
                          : id == ID_VIEW_POLAR ? DISPLAY_TYPE_POLAR
                          : id == ID_VIEW_CART  ? DISPLAY_TYPE_RECT
                                                : DISPLAY_TYPE_RECT90;
  mainwindow_menus();
  enable(IDC_BUTTON_ZOOM, id != ID_VIEW_EMR);
  emr_message_shown_ = false;
  mainwindow_size();
}

void main_window::on_help(int id) {
  switch (id) {
    case ID_HELP_ABOUT:
      ui_.message_box(c_format("Lobeview %s\r\nAntenna data capture and plot\r\n", LOBEVIEW_VERSION),
                      "About this program...", message_icon::information);
      return;
    case ID_HELP_FILE: ui_.message_box(st_.help.help_info_files, "File types", message_icon::information); return;
    case ID_HELP_VIEW: ui_.message_box(st_.help.help_info_views, "Graph viewing", message_icon::information); return;
    default: ui_.message_box(st_.help.help_info_testrange, "Test range", message_icon::information); return;
  }
}

void main_window::on_mirror(int id) {
  const mirror_message m = mirror_result_message(mirror_cut_data(st_, id));
  if (m.text) ui_.message_box(m.text, "mirror_cut_data()", m.error ? message_icon::error : message_icon::information);
  invalidate(layout_.rRectArea);
}

void main_window::on_reset_colours(int) {
  st_.settings.gr_colours = gr_colours_init();
  invalidate(layout_.rFreqDataArea);
  invalidate(layout_.rRectArea);
}

// What engineers read off the shown cuts, and the header fields they contradict.
void main_window::on_parameters(int) {
  std::string text = parameters_table(st_, true);
  for (const datasheet_difference& d : datasheet_check(st_.pd)) text += "Header: " + d.text + "\n";
  ui_.show_text("Parameters", text);
}

void main_window::on_dsa_ip(int) {
  std::string ip = st_.settings.dsa_ip;
  const int r = ui_.dsa_ip_dialog(plot_centre_on_screen(), ip);
  if (r == -1) log_.write_error_log("WindowProcedure", "IDD_DSA_IP Dialog failed!");
  if (r == 1) {
    write_dsa_ip(st_.settings, ip);
    link_.dsa_init();
  }
}

void main_window::on_clear_all(int) { clear_all_flow(); }
void main_window::on_open(int) { open_flow(); }
void main_window::on_print(int) { print_flow(); }
void main_window::on_save(int) { save_flow(); }
void main_window::on_exit(int) { close(); }

// Every fixed id and what it does; the id ranges of the menus and the panel
// rows follow in command().
const std::map<int, main_window::command_handler>& main_window::fixed_commands() {
  static const std::map<int, command_handler> table = {
      {IDC_RBUTTON_DESC, &main_window::on_pane},
      {IDC_RBUTTON_PERF, &main_window::on_pane},
      {IDC_BUTTON_NEW, &main_window::on_clear_all},
      {IDC_BUTTON_NEW_FR, &main_window::on_new_freq},
      {IDC_RBUTTON_DB, &main_window::on_scale},
      {IDC_RBUTTON_MV, &main_window::on_scale},
      {IDC_BUTTON_ZOOM, &main_window::on_zoom},
      {IDC_RBUTTON_LOG, &main_window::on_grid},
      {IDC_RBUTTON_LIN, &main_window::on_grid},
      {IDC_BUTTON_OPEN, &main_window::on_open},
      {ID_FILE_OPEN, &main_window::on_open},
      {IDC_BUTTON_PRINT, &main_window::on_print},
      {ID_FILE_PRINT, &main_window::on_print},
      {IDC_BUTTON_SAVE, &main_window::on_save},
      {IDC_BUTTON_UNDO, &main_window::on_undo},
      {IDC_BUTTON_EREF, &main_window::on_emr_refresh},
      {ID_LABS_SCALE_TO_MAX, &main_window::on_scale_to_max},
      {ID_FILE_EXIT, &main_window::on_exit},
      {ID_VIEW_EMR, &main_window::on_view},
      {ID_VIEW_POLAR, &main_window::on_view},
      {ID_VIEW_CART, &main_window::on_view},
      {ID_VIEW_CART90, &main_window::on_view},
      {ID_VIEW_PARAMETERS, &main_window::on_parameters},
      {ID_HELP_ABOUT, &main_window::on_help},
      {ID_HELP_FILE, &main_window::on_help},
      {ID_HELP_VIEW, &main_window::on_help},
      {ID_HELP_LABS, &main_window::on_help},
      {ID_LABS_MIRROR_TOP, &main_window::on_mirror},
      {ID_LABS_MIRROR_RIGHT, &main_window::on_mirror},
      {ID_LABS_MIRROR_BOTTOM, &main_window::on_mirror},
      {ID_LABS_MIRROR_LEFT, &main_window::on_mirror},
      {ID_LABS_RESET_COLOURS, &main_window::on_reset_colours},
      {ID_LABS_SET_DSA_IP, &main_window::on_dsa_ip},
  };
  return table;
}

// An envelope's menu item: show it, or hide it when it is the one shown.
void main_window::on_envelope_item(int id) {
  const int e = id - ID_ENV_1;
  if (e < st_.ed.numenv && st_.ed.env[e].display)
    set_active_envelope(st_.ed, -1);
  else
    set_active_envelope(st_.ed, e);
  sync_envelope_menu();
  mainwindow_size();
}

// A serial port's menu item: the turntable's port from now on.
void main_window::on_com_port_item(int id) {
  const int p = id - ID_COM_1;
  if (p != ws_.current_com_port) {
    if (QAction* a = menu_action(ID_COM_1 + ws_.current_com_port)) a->setChecked(false);
    if (QAction* a = menu_action(id)) a->setChecked(true);
    ws_.current_com_port = p;
    link_.open_com_port(p);
  } else if (QAction* a = menu_action(id)) {
    a->setChecked(true);
  }
}

// A button of a cut's row of the data panel.
void main_window::on_row_button(int id, row_control kind) {
  switch (kind) {
    case row_control::showhide:
      shwhid_button_click();
      mainwindow_size();
      return;
    case row_control::plus:
    case row_control::minus:
    case row_control::mavg: {
      // The row's own cut, named to the edit: no selection left behind.
      const auto ref = panel().cut_of(id);
      if (!ref) return;
      if (kind == row_control::mavg)
        moving_average_cut_data(st_, ref->freq, ref->cut);
      else
        shift_cut_data(st_, ref->freq, ref->cut, kind == row_control::plus ? 1 : -1);
      invalidate(layout_.rRectArea);
      return;
    }
    case row_control::sweep:
      if (st_.range.scan_state == SCANSTATE_STOPPED) sweep_start_flow(id);
      return;
    case row_control::del:
      if (ui_.message_box("Do you really want to\ndelete this cut?", "Delete cut", message_icon::question, true) ==
          IDNO)
        return;
      delete_cut(id);
      mainwindow_size();
      return;
    default:
      return;
  }
}

void main_window::command(int id, int notification) {
  if (const auto it = fixed_commands().find(id); it != fixed_commands().end()) {
    (this->*(it->second))(id);
    return;
  }
  // The id ranges, in the order they are tested.
  if (id >= ID_ENV_1 && id < ID_ENV_LIMIT) {
    on_envelope_item(id);
    return;
  }
  if (id >= ID_COM_1 && id < ID_COM_LIMIT) {
    on_com_port_item(id);
    return;
  }
  if (id >= IDC_PD_ADDCUT && id < IDC_PD_ADDCUT_LAST) {
    if (notification == 0) {
      add_cut(id);
      mainwindow_size();
    }
    return;
  }
  row_control kind;
  int line = 0;
  if (decode_row_control(id, kind, line) && notification == 0) on_row_button(id, kind);
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
  enable(IDC_BUTTON_UNDO, false);
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
  enable(IDC_BUTTON_UNDO, true);
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
    enable(IDC_BUTTON_UNDO, true);
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
  enable(IDC_BUTTON_UNDO, true);
}

void main_window::sweep_start_flow(int id) {
  const char* question = st_.range.antenna_angle < 181 ? "Do you really want to\nstart a clockwise antenna sweep?"
                                                 : "Do you really want to\nstart an anticlockwise antenna sweep?";
  if (ui_.message_box(question, "Starting sweep", message_icon::question, true) == IDNO) return;
  find_row_button_cut(id);
  link_.dsa_set_d(DSA_SET_FREQ, st_.edit.capture_freq);
  link_.dsa_req(DSA_REQ_PWR);
  for (int a = 0; a < MAX_BEARINGS; ++a) st_.range.cbuff[a] = 0.0f;
  st_.range.rejected_level_replies = 0;
  st_.range.scan_state = SCANSTATE_COLLECTING;
  link_.write_com_port(COM_TX_SWEEP);
  set_status_text(STB_ACTION, "Antenna sweep in progress");
  sweep_active();
}

namespace {
// The controls a running sweep must not touch.
constexpr int k_sweep_locked[] = {IDC_BUTTON_NEW, IDC_BUTTON_NEW_FR, IDC_BUTTON_OPEN, IDC_BUTTON_PRINT, IDC_BUTTON_SAVE,
                                  IDC_RBUTTON_LOG, IDC_RBUTTON_LIN, IDC_RBUTTON_DB, IDC_RBUTTON_MV};
}  // namespace

// The row buttons a sweep locks: Add Cut, sweep, delete, +, - and A.
bool main_window::is_sweep_locked_row(int id) const {
  row_control kind;
  int line = 0;
  if (id >= IDC_PD_ADDCUT && id < IDC_PD_ADDCUT_LAST) return true;
  return decode_row_control(id, kind, line) && kind != row_control::showhide && kind != row_control::patcut &&
         kind != row_control::polari;
}

void main_window::sweep_active() {
  for (int id : k_sweep_locked) enable(id, false);
  for (auto& [id, widget] : controls_)
    if (widget && is_sweep_locked_row(id)) widget->setEnabled(false);
  invalidate(layout_.rTrCtlArea);
}

void main_window::sweep_inactive() {
  for (int id : k_sweep_locked) enable(id, true);
  // Log and Lin stay off on the voltage scale.
  if (st_.view.mv_display) {
    enable(IDC_RBUTTON_LOG, false);
    enable(IDC_RBUTTON_LIN, false);
  }
  for (auto& [id, widget] : controls_)
    if (widget && is_sweep_locked_row(id)) widget->setEnabled(true);
  invalidate(layout_.rTrCtlArea);
}

void main_window::enable_file_buttons() {
  for (int id : {IDC_BUTTON_OPEN, IDC_BUTTON_PRINT, IDC_BUTTON_SAVE}) enable(id, true);
}

void main_window::mouse_down(int x, int y) {
  if (full_mode()) {
    const lobe::rect& d = layout_.rDescArea;
    if (x > d.left && x < d.right && y > d.top && y < d.bottom && st_.view.display_type != DISPLAY_TYPE_EMR) {
      const int r = ui_.description_dialog(plot_centre_on_screen(), st_.pd);
      if (r == -1) log_.write_error_log("WindowProcedure", "IDD_DESCR Dialog failed!");
      if (r == 1) invalidate(d);
      return;
    }
    const int left = layout_.rFreqDataArea.left;
    if (x > left + 25 && x < left + 50) pick_colour(x, y);
  }
  if (!st_.range.capture_enabled) return;
  const lobe::rect& deg = layout_.rTrDegArea;
  if (y >= deg.top && y <= deg.bottom && x < deg.right) {
    if (st_.range.scan_state == SCANSTATE_COLLECTING) {
      pause_sweep();
    } else if (st_.range.scan_state == SCANSTATE_STOPPED) {
      if (x <= 44) link_.write_com_port(COM_TX_SET_ZERO);
      if (x > 180) link_.write_com_port(COM_TX_SET_360);
    }
    return;
  }
  const lobe::rect& t = layout_.rTrCtlArea;
  if (x < t.left || x > t.right || y < t.top || y > t.bottom) return;
  if (st_.range.scan_state == SCANSTATE_COLLECTING) {
    pause_sweep();
  } else if (st_.range.scan_state == SCANSTATE_PAUSED) {
    if (x >= t.left + 128) {
      link_.write_com_port(COM_TX_SWEEP);
      st_.range.scan_state = SCANSTATE_COLLECTING;
      set_status_text(STB_ACTION, "Sweep resumed");
      // The level chain ended while paused; start it again so the samples
      // after the resume are fresh readings, not the last level repeated.
      link_.dsa_req(DSA_REQ_PWR);
    } else {
      link_.write_com_port(COM_TX_STOP);
      sweep_inactive();
      st_.range.scan_state = SCANSTATE_STOPPED;
      set_status_text(STB_ACTION, "");
    }
    invalidate(t);
  } else {
    if (x < t.left + 79 || x > t.right - 79) {
      link_.write_com_port(x < t.left + 79 ? COM_MAN_R : COM_MAN_F);
      st_.range.manual_rotate = 1;
    }
  }
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

// The main window: the menus' actions, the command column, the header panes,
// the cut table, the chart and the test range's strips, each connected to
// what it does; the frame's painting; the test range's events.
#pragma once

#include <QMainWindow>
#include <QPixmap>
#include <QPointer>
#include <QTimer>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/chart_view.h"
#include "app/command_column.h"
#include "app/cut_table.h"
#include "app/header_panes.h"
#include "app/modal_ui.h"
#include "app/painted_text.h"
#include "app/panel_rows.h"
#include "app/pictures.h"
#include "app/range_link.h"
#include "app/range_strips.h"
#include "core/record/lobe_state.h"
#include "core/io/run_log.h"
#include "core/range/range_events.h"
#include "core/record/action_report.h"
#include "draw/window_layout.h"

class QLabel;
class QMenu;
class QAction;
class QRadioButton;
class QPainter;
class QPrinter;

namespace lobe {

class surface;

// The smallest client area (above the status bar) at which the left column,
// a chart and the right column all still fit side by side.
inline constexpr int MIN_CLIENT_W = 900;
inline constexpr int MIN_CLIENT_H = 600;

// The Envelopes and Com port menus hold at most these many items.
inline constexpr int MAX_ENVELOPE_ITEMS = 30;
inline constexpr int MAX_COM_PORT_ITEMS = 40;

// Window-side state: the pane, the mode, the test range as the window sees it.
struct window_state {
  int disp_desc = 1;  // 1 Description pane, 0 Performance pane
  int landscape = 0;
  int cut_count = 0;
  bool env_file_open = false;
  std::vector<int> com_ports, com_ports_prov;
  int current_com_port = -1;
  std::string documents_folder;
};

class client_area;


// The menu bar's commands; the Labs, Envelopes and Com port menus and the
// test-range help appear once the mode or the files call for them.
struct window_actions {
  QAction* open = nullptr;
  QAction* print = nullptr;
  QAction* report = nullptr;
  QAction* compare_with = nullptr;
  QAction* clear_reference = nullptr;
  QAction* exit = nullptr;
  QAction* views[4] = {};  // by display type: polar, Cartesian, Cartesian 0-90, EMR
  QAction* difference = nullptr;  // the Cartesian views draw the difference from the reference
  QAction* parameters = nullptr;
  QAction* about = nullptr;
  QAction* help_files = nullptr;
  QAction* help_views = nullptr;
  QAction* help_range = nullptr;
  QAction* scale_to_max = nullptr;
  QAction* mirror[4] = {};  // top, right, bottom, left
  QAction* reset_colours = nullptr;
  QAction* dsa_ip = nullptr;
  std::vector<QAction*> envelopes;
  std::vector<QAction*> com_ports;
};

class main_window : public QMainWindow, public range_events {
 public:
  main_window(lobe_state& st, run_log& log, range_link& link, window_state ws, modal_ui* ui = nullptr);
  ~main_window() override;

  void mainwindow_size();
  // A click on the frame itself: a cut's colour sample picks its colour.
  void mouse_down(int x, int y);
  void mouse_up();
  void drop_file(const std::string& path);
  void paint(QPainter& painter);
  void print_to(QPrinter& printer);
  // The one-second timer, started once a command-line file is open.
  void start_timer();
  // Shows the window at its first size, `wanted` or less: the whole window,
  // its frame and title bar included, on the screen's free area. The frame
  // is known only once the window manager has framed the window, so the
  // size is fitted again as it arrives.
  void show_first(QSize wanted);

  // range_events
  void set_status_text(int part, std::string_view text) override;
  void panel_changed() override;
  void redraw(window_area area) override;
  void set_progress(int bearing) override;
  void switch_capture(int b) override;
  void sweep_active() override;
  void sweep_inactive() override;
  void enable_file_buttons() override;

  // Shows what a load or a save reports: the panel and menus rebuilt when
  // the record was replaced, the status fields, then each message in a box
  // captioned for the command that ran (`caption`).
  void show_report(const action_report& report, const char* caption);
  // The Envelopes menu's ticks from the envelopes' `display` flags.
  void sync_envelope_menu();

  // The data panel.
  void display_planet_header();
  void clear_window_form_data();
  void clear_window_cut_data();
  void read_window_form_data();
  void read_window_cut_data();
  void read_window_emr_data();
  void show_hide_emr_windows();
  void add_freq();
  void add_cut(int f);
  void delete_cut(int f, int c);
  void shwhid_button_click();
  void mainwindow_menus();

  // The reference pattern of File > Compare with..., or none.
  const antenna_data_type* reference() const { return reference_ ? &reference_->pd : nullptr; }

  // For tests and the screenshot tool.
  const window_actions& actions() const { return actions_; }
  const command_column& commands() const { return *commands_; }
  const header_panes& header() const { return header_; }
  const cut_table& cuts() const { return *cuts_; }
  const chart_view& chart() const { return *chart_; }
  turntable_strip* turntable() const { return turntable_; }
  bearing_strip* bearing() const { return bearing_; }
  std::string status_text(int part) const;
  const window_layout& layout() const { return layout_; }
  window_state& state() { return ws_; }
  QWidget* client() const;
  int paint_count() const { return paints_; }
  // How often the chart was drawn (not just shown again from its picture).
  int chart_drawings() const { return chart_->drawings(); }
  // How often the panel was rebuilt for a change of test-range mode.
  int capture_rebuilds() const { return capture_rebuilds_; }
  // The test-range mode the window shows (its panel and menus are built for).
  int shown_capture_mode() const { return panel_capture_; }
  // The texts of the frame, the chart and the bearing strip in their last
  // paints, with their boxes.
  std::vector<painted_text> painted_texts() const;
  std::vector<std::string> menu_titles() const;

 protected:
  void closeEvent(class QCloseEvent* e) override;
  bool event(QEvent* e) override;

 private:
  friend class client_area;
  friend class status_fields_area;

  void mainwindow_create();
  void connect_commands();
  void connect_cut_table();
  void connect_chart();
  void build_envelope_menu();
  void build_com_menu();
  void build_labs_menu();
  QAction* add_action(QMenu* menu, const char* text, bool checkable, void (main_window::*slot)());
  // Puts every frequency and cut row and the EMR inputs on their lines.
  void place_panel_rows();
  panel_rows panel() const { return {st_.pd, layout_.rFreqDataArea.top}; }
  void place_status_fields();
  void fit_to_screen();
  void show_status_field(int part);
  void rebuild_for_capture();
  void set_window_parameters();
  bool full_mode() const { return st_.range.capture_enabled || st_.settings.edit_enabled; }
  void invalidate(const lobe::rect& r);
  void invalidate_all();
  void update_rect(const lobe::rect& r);
  // The strips show the sweep's state and the bearing as they are now.
  void show_range_state();
  static void select_radio(QRadioButton* on, QRadioButton* off);

  // What the commands do.
  void on_pane(bool description);
  void on_new_freq();
  void on_scale(bool mv);
  void on_zoom();
  void on_grid(bool log);
  void on_undo();
  void on_emr_refresh();
  void on_scale_to_max();
  void on_view(int display_type);
  void on_help(const std::string& text, const char* caption);
  void on_about();
  void on_mirror(int direction);
  void on_reset_colours();
  void on_dsa_ip();
  void on_parameters();
  void on_envelope_item(int e);
  void on_com_port_item(int p);
  void on_shift(int f, int c, int step);
  void offer_undo();
  void on_smooth(int f, int c);
  void on_sweep(int f, int c);
  void on_delete(int f, int c);
  void on_add_cut(int f);

  // Command flows.
  void clear_all_flow();
  void open_flow();
  void save_flow();
  void print_flow();
  void report_flow();
  void compare_flow();
  void clear_reference_flow();
  void on_difference();
  void sweep_start_flow(int f, int c);
  void pause_sweep();
  void pick_colour(int x, int y);
  void on_description();
  void on_range_press(range_press what);
  void show_emr_message_later();

  void mainwindow_paint(surface& dc);
  void paint_frame(surface& dc, bool full);
  void paint_cut_rows(surface& dc);
  void paint_verdicts(surface& dc, int row, const envelope_data_type* mask);
  int room_right_of(int x, int y, int height, int limit) const;
  void panel_text(surface& dc, int x, int y, std::string_view text, int limit);
  dialog_anchor plot_centre_on_screen() const;


  lobe_state& st_;
  run_log& log_;
  range_link& link_;
  window_state ws_;
  std::unique_ptr<modal_ui> own_ui_;
  modal_ui& ui_;
  window_pictures pictures_;
  window_layout layout_;
  QWidget* client_ = nullptr;
  QWidget* status_bar_ = nullptr;
  std::vector<QLabel*> status_fields_;
  std::vector<QString> status_texts_;  // whole; a field shows as much as fits
  window_actions actions_;
  std::unique_ptr<command_column> commands_;
  header_panes header_{nullptr};
  std::unique_ptr<cut_table> cuts_;
  chart_view* chart_ = nullptr;
  std::unique_ptr<lobe_state> reference_;  // File > Compare with...
  std::string reference_name_;
  turntable_strip* turntable_ = nullptr;
  bearing_strip* bearing_ = nullptr;
  QMenu* help_menu_ = nullptr;
  bool env_menu_built_ = false, com_menu_built_ = false, labs_menu_built_ = false, help_labs_added_ = false;
  int paints_ = 0;
  int capture_rebuilds_ = 0;
  bool capture_rebuild_pending_ = false;
  int panel_capture_ = 0;  // the test-range mode the panel was built for
  std::vector<painted_text> painted_texts_;
  bool emr_message_shown_ = false;
  QTimer timer_;
  bool fitting_ = false;  // the first moments after show_first
};

}  // namespace lobe

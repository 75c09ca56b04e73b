// The test range on real transports: the turntable controller on a serial
// port (QSerialPort) and the analyser on a non-blocking socket watched by a
// QSocketNotifier. Nothing polls: bytes are handled as they arrive, in the
// order they arrive, one at a time through the same framing as always.
#pragma once

#include <QObject>
#include <QPointer>
#include <QSerialPort>
#include <QSocketNotifier>
#include <QTimer>
#include <memory>
#include <string>
#include <vector>

#include "app/range_link.h"
#include "core/range/dsa_client.h"
#include "core/record/lobe_state.h"
#include "core/io/run_log.h"
#include "core/range/turntable_link.h"

namespace lobe {

// Range events forwarded to the window once it exists; bytes that arrive
// before that wait in the transports.
class forwarding_range_events : public range_events {
 public:
  void attach(range_events* w) { target_ = w; }
  void set_status_text(int part, std::string_view t) override { if (target_) target_->set_status_text(part, t); }
  void panel_changed() override { if (target_) target_->panel_changed(); }
  void redraw(window_area a) override { if (target_) target_->redraw(a); }
  void set_progress(int b) override { if (target_) target_->set_progress(b); }
  void switch_capture(int b) override { if (target_) target_->switch_capture(b); }
  void sweep_active() override { if (target_) target_->sweep_active(); }
  void sweep_inactive() override { if (target_) target_->sweep_inactive(); }
  void enable_file_buttons() override { if (target_) target_->enable_file_buttons(); }

 private:
  range_events* target_ = nullptr;
};

// One serial device as the program numbers them: COMn.
struct com_port_entry {
  int number;
  std::string device;
  int capabilities;  // 0xCD marks the turntable controller
};

// The ports COM1..COM39: from section "Ports" of the program's settings file
// (COM3=/dev/ttyUSB0,0xCD), or else the system's serial devices in order,
// USB ones reporting 0xCD.
std::vector<com_port_entry> list_com_ports(const std::string& ini_name);
// Whether a serial device the system lists may be taken as the turntable's
// port when the settings have no "Ports" section.
bool is_test_range_candidate(const std::string& port_name, bool has_vendor_id);

class qt_range_link : public QObject, public range_link {
 public:
  qt_range_link(lobe_state& st, run_log& log, std::vector<com_port_entry> ports);
  ~qt_range_link() override;

  void attach(range_events* w) { win_.attach(w); }
  const std::vector<com_port_entry>& ports() const { return ports_; }
  int current_com_port() const { return current_com_port_; }

  void probe_ports() override;
  void open_com_port(int index) override;
  void write_com_port(int code) override;
  void dsa_init() override;
  void dsa_set_d(int req, int freq_index) override;
  void dsa_req(int req) override;
  void set_dsa_freq(int freq_index) override;
  void timer_tick() override;
  bool serial_connected() const override { return st_.range.serial_connected != 0; }
  bool dsa_connected() const override { return dsa_ && dsa_->connected(); }

  dsa_client& dsa() { return *dsa_; }

 private:
  void on_serial_bytes();
  void sync_notifier();
  void poll_analyser();

  lobe_state& st_;
  run_log& log_;
  forwarding_range_events win_;
  range_io io_{log_, win_};
  std::vector<com_port_entry> ports_;
  int current_com_port_ = -1;
  QSerialPort serial_;
  QTimer quiet_timer_;
  com_receiver rx_;
  std::unique_ptr<dsa_client> dsa_;
  QPointer<QSocketNotifier> notifier_;
  unsigned notifier_generation_ = 0;
};

}  // namespace lobe

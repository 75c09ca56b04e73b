// What the window asks of the test range: the turntable controller on its
// serial port and the analyser on the network. Without a range (the normal
// case) every call does nothing.
#pragma once

namespace lobe {

class range_link {
 public:
  virtual ~range_link() = default;
  // Start-up: find the serial ports and open the test-range port.
  virtual void probe_ports() {}
  virtual void write_com_port(int /*code*/) {}
  virtual void open_com_port(int /*index*/) {}
  virtual void dsa_init() {}
  virtual void dsa_set_d(int /*req*/, int /*freq_index*/) {}
  virtual void dsa_req(int /*req*/) {}
  virtual void set_dsa_freq(int /*freq_index*/) {}
  // The one-second timer while the test range is on and the analyser is not connected.
  virtual void timer_tick() {}
  virtual bool serial_connected() const { return false; }
  virtual bool dsa_connected() const { return false; }
};

}  // namespace lobe

#include "app/qt_range_link.h"

#include <QFileInfo>
#include <QSerialPortInfo>
#include <algorithm>

#include "core/text/c_numeric.h"
#include "core/settings/private_profile.h"
#include "core/range/range_codes.h"

namespace lobe {

std::vector<com_port_entry> list_com_ports(const std::string& ini_name) {
  std::vector<com_port_entry> out;
  for (int n = 1; n <= 39; ++n) {
    const std::string v = get_private_profile_string("Ports", c_format("COM%d", n), "", 300, ini_name);
    if (v.empty()) continue;
    const auto comma = v.find(',');
    const std::string device = v.substr(0, comma);
    const int caps = comma == std::string::npos ? 0 : static_cast<int>(std::strtol(v.c_str() + comma + 1, nullptr, 0));
    out.push_back({n, device, caps});
  }
  if (!out.empty()) return out;
  auto infos = QSerialPortInfo::availablePorts();
  std::sort(infos.begin(), infos.end(),
            [](const QSerialPortInfo& a, const QSerialPortInfo& b) { return a.systemLocation() < b.systemLocation(); });
  int n = 1;
  for (const auto& info : infos) {
    if (n > 39) break;
    if (!is_test_range_candidate(info.portName().toStdString(), info.hasVendorIdentifier())) continue;
    out.push_back({n++, info.systemLocation().toStdString(), info.hasVendorIdentifier() ? 0xCD : 0});
  }
  return out;
}

// The program greets a controller by writing to its port, so it must only
// ever write to a device somebody plugged in for it: a USB serial adapter.
// Built-in ports (ttyS*) are used only when the settings name them.
bool is_test_range_candidate(const std::string& port_name, bool has_vendor_id) {
  if (port_name.rfind("ttyS", 0) == 0) return false;
  return has_vendor_id || port_name.rfind("ttyUSB", 0) == 0 || port_name.rfind("ttyACM", 0) == 0;
}

qt_range_link::qt_range_link(lobe_state& st, run_log& log, std::vector<com_port_entry> ports)
    : st_(st), log_(log), ports_(std::move(ports)), dsa_(std::make_unique<dsa_client>(st, io_)) {
  quiet_timer_.setSingleShot(true);
  connect(&quiet_timer_, &QTimer::timeout, this, [this] { poll_analyser(); });
  connect(&serial_, &QSerialPort::readyRead, this, [this] { on_serial_bytes(); });
  connect(&serial_, &QSerialPort::errorOccurred, this, [this](QSerialPort::SerialPortError e) {
    // The controller's port went away (unplugged, or the simulator ended).
    if (e != QSerialPort::NoError && e != QSerialPort::TimeoutError && serial_.isOpen()) {
      log_.write_error_log("open_com_port", "Serial port lost: " + serial_.errorString().toStdString());
      serial_.close();
      st_.range.serial_connected = 0;
    }
  });
}

qt_range_link::~qt_range_link() {
  if (notifier_) delete notifier_.data();
}

void qt_range_link::probe_ports() {
  int hint = 255;
  int index = 0;
  std::vector<com_port_entry> found;
  for (const com_port_entry& p : ports_) {
    if (!QFileInfo::exists(QString::fromStdString(p.device))) continue;
    log_.write_error_log("WinMain", c_format("Found COM%u ", static_cast<unsigned>(p.number)));
    log_.write_error_log("WinMain", c_format("dwProvSubType = 0x%x dwProvCapabilities = 0x%x ", 1u,
                                             static_cast<unsigned>(p.capabilities)));
    if (p.capabilities == 0xCD) {
      hint = index;
      log_.write_error_log("WinMain",
                           c_format("Test range COM port hint set to COM%u ", static_cast<unsigned>(p.number)));
    }
    found.push_back(p);
    ++index;
  }
  ports_ = found;
  if (!ports_.empty()) open_com_port(hint != 255 ? hint : static_cast<int>(ports_.size()) - 1);
}

void qt_range_link::open_com_port(int index) {
  if (index < 0 || index >= static_cast<int>(ports_.size())) return;
  if (serial_.isOpen()) serial_.close();
  current_com_port_ = index;
  st_.range.serial_connected = 0;
  st_.range.capture_enabled = 0;
  const com_port_entry& p = ports_[static_cast<std::size_t>(index)];
  const std::string name = c_format("COM%u", static_cast<unsigned>(p.number));
  serial_.setPortName(QString::fromStdString(p.device));
  if (!serial_.open(QIODevice::ReadWrite)) {
    log_.write_error_log("open_com_port", c_format("Unable to get %s handle.", name.c_str()));
    return;
  }
  // 9600 baud, 8N1; flow control as the device has it.
  if (!serial_.setBaudRate(QSerialPort::Baud9600) || !serial_.setDataBits(QSerialPort::Data8) ||
      !serial_.setParity(QSerialPort::NoParity) || !serial_.setStopBits(QSerialPort::OneStop)) {
    log_.write_error_log("open_com_port", c_format("Unable to set %s state.", name.c_str()));
    return;
  }
  st_.range.serial_connected = 1;
  log_.write_error_log("open_com_port", c_format("Connected to %s ", name.c_str()));
  write_com_port(COM_HELLO);
}

void qt_range_link::write_com_port(int code) {
  const std::string msg = com_command(code);
  const bool ok = serial_.isOpen() && serial_.write(msg.data(), static_cast<qint64>(msg.size())) ==
                                          static_cast<qint64>(msg.size());
  log_.write_error_log("write_com_port", ok ? msg : "Write to serial port failed!");
}

void qt_range_link::on_serial_bytes() {
  const QByteArray bytes = serial_.readAll();
  for (char b : bytes)
    if (new_com_data(rx_, b)) handle_com_data(st_, io_, rx_.xdata);
}

void qt_range_link::dsa_init() {
  dsa_->dsa_init(st_.settings.dsa_ip);
  sync_notifier();
}

void qt_range_link::dsa_set_d(int req, int freq_index) {
  dsa_->dsa_set_d(req, freq_index);
  sync_notifier();
}

void qt_range_link::dsa_req(int req) {
  dsa_->dsa_req(req);
  sync_notifier();
}

void qt_range_link::set_dsa_freq(int freq_index) { dsa_->dsa_freq = freq_index; }

void qt_range_link::timer_tick() {
  if (dsa_->dsa_wait_for_connect(0, 1000) == 1) dsa_->dsa_init(st_.settings.dsa_ip);
  sync_notifier();
}

// A reply without its LF yet is looked at again once the socket has been
// quiet long enough to hand it on.
void qt_range_link::poll_analyser() {
  dsa_->poll();
  if (dsa_->has_partial_reply()) quiet_timer_.start(static_cast<int>(DSA_QUIET_MS) + 10);
  sync_notifier();
}

// The socket is watched only while it is connected: a socket still
// connecting (or refused) would report itself readable again and again.
void qt_range_link::sync_notifier() {
  const int fd = dsa_->connected() ? dsa_->socket_fd() : -1;
  if (notifier_ && notifier_->socket() == fd && notifier_generation_ == dsa_->socket_generation()) return;
  if (notifier_) {
    notifier_->setEnabled(false);
    notifier_->deleteLater();
    notifier_ = nullptr;
  }
  if (fd < 0) return;
  notifier_ = new QSocketNotifier(fd, QSocketNotifier::Read, this);
  notifier_generation_ = dsa_->socket_generation();
  connect(notifier_.data(), &QSocketNotifier::activated, this, [this] { poll_analyser(); });
}

}  // namespace lobe

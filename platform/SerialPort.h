#pragma once

#include <termios.h>

#include <memory>
#include <string>

#include "logger/LoggerLink.h"

namespace tellurix::platform {

enum class OpenError : std::uint8_t {
  None,
  NotFound,  // no such device (or no port name at all)
  Refused,   // held by another program, access denied, ...
};

// A POSIX serial port held exclusively: TIOCEXCL keeps other openers out, and an advisory
// lock on the device does the same for openers with the privilege to ignore TIOCEXCL.
class SerialPort final : public logger::LoggerLink {
 public:
  struct Opened {
    std::unique_ptr<SerialPort> port;  // null when the open failed
    OpenError error = OpenError::None;
    int errorNumber = 0;
  };

  // Opens the device, locks it and reads the driver's line settings once. The line is not
  // configured yet: the first Configure does that.
  static Opened Open(const std::string& devicePath);

  ~SerialPort() override;
  SerialPort(const SerialPort&) = delete;
  SerialPort& operator=(const SerialPort&) = delete;
  SerialPort(SerialPort&&) = delete;
  SerialPort& operator=(SerialPort&&) = delete;

  bool Configure(logger::LineSpeed speed) override;
  std::optional<std::size_t> BytesWaiting() override;
  bool Read(std::uint8_t* into, std::size_t n) override;
  bool Write(const std::uint8_t* bytes, std::size_t n) override;
  void DiscardInput() override;
  void Close() override;

 private:
  SerialPort(int fd, bool haveSettings, const termios& settings);

  int fd_ = -1;
  bool haveSettings_ = false;
  termios settings_{};  // as the driver reported them at open
};

// The device path of a port name: a name with a '/' is a path already, any other name is a
// device in /dev ("ttyUSB0" is /dev/ttyUSB0). An empty name has no path.
std::string devicePathOf(const std::string& portName);

}  // namespace tellurix::platform

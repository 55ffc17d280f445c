#include "SerialPort.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cerrno>

namespace tellurix::platform {
namespace {

using logger::LineSpeed;

constexpr int kIoWaitMs = 1000;  // a byte that was reported waiting, or room to write, comes at once

bool isMissingDevice(int error) {
  // ENXIO and ENODEV: the node is there but its device was unplugged.
  return error == ENOENT || error == ENOTDIR || error == ENXIO || error == ENODEV;
}

speed_t speedOf(LineSpeed speed) {
  return speed == LineSpeed::Baud921600 ? B921600 : B4800;
}

// The driver's settings with the speed and 8N1 set. The line must also pass every byte
// through untouched: records are binary, so echo, line editing, CR/LF translation and
// XON/XOFF would corrupt them. Hardware flow control and the modem lines stay as the driver
// has them.
termios lineSettings(const termios& driver, LineSpeed speed) {
  termios t = driver;
  t.c_iflag &= ~static_cast<tcflag_t>(IGNBRK | BRKINT | PARMRK | ISTRIP | INLCR | IGNCR | ICRNL | IXON |
                                      IXOFF | IXANY | INPCK);
  t.c_oflag &= ~static_cast<tcflag_t>(OPOST);
  t.c_lflag &= ~static_cast<tcflag_t>(ECHO | ECHONL | ICANON | ISIG | IEXTEN);
  t.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | CSTOPB);
  t.c_cflag |= CS8 | CREAD | CLOCAL;
  t.c_cc[VMIN] = 0;
  t.c_cc[VTIME] = 0;
  cfsetispeed(&t, speedOf(speed));
  cfsetospeed(&t, speedOf(speed));
  return t;
}

bool waitFor(int fd, short events) {
  pollfd p{fd, events, 0};
  for (;;) {
    const int r = ::poll(&p, 1, kIoWaitMs);
    if (r > 0) return (p.revents & events) != 0;
    if (r == 0 || errno != EINTR) return false;
  }
}

}  // namespace

std::string devicePathOf(const std::string& portName) {
  if (portName.empty() || portName.find('/') != std::string::npos) return portName;
  return "/dev/" + portName;
}

SerialPort::Opened SerialPort::Open(const std::string& devicePath) {
  Opened result;
  if (devicePath.empty()) {
    result.error = OpenError::NotFound;
    result.errorNumber = ENOENT;
    return result;
  }
  // Non-blocking, so that an open or read never waits for a carrier the logger lacks.
  const int fd = ::open(devicePath.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    result.errorNumber = errno;
    result.error = isMissingDevice(errno) ? OpenError::NotFound : OpenError::Refused;
    return result;
  }
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    result.errorNumber = errno;
    result.error = OpenError::Refused;
    ::close(fd);
    return result;
  }
  // Fails only on something that is no terminal, which Configure then refuses. The request
  // takes no argument; passing one keeps the variadic call from handing over an undefined value.
  ::ioctl(fd, TIOCEXCL, nullptr);
  termios settings{};
  const bool haveSettings = ::tcgetattr(fd, &settings) == 0;
  result.port.reset(new SerialPort(fd, haveSettings, settings));
  return result;
}

SerialPort::SerialPort(int fd, bool haveSettings, const termios& settings)
    : fd_(fd), haveSettings_(haveSettings), settings_(settings) {}

SerialPort::~SerialPort() {
  Close();
}

bool SerialPort::Configure(LineSpeed speed) {
  if (fd_ < 0 || !haveSettings_) return false;
  const termios wanted = lineSettings(settings_, speed);
  // TCSADRAIN: a frame written just before a speed change still leaves at the old speed.
  if (::tcsetattr(fd_, TCSADRAIN, &wanted) != 0) return false;
  // tcsetattr succeeds when any part applied; the speed is what matters.
  termios now{};
  return ::tcgetattr(fd_, &now) == 0 && cfgetospeed(&now) == speedOf(speed) && (now.c_cflag & CSIZE) == CS8 &&
         (now.c_cflag & (PARENB | CSTOPB)) == 0;
}

std::optional<std::size_t> SerialPort::BytesWaiting() {
  int waiting = 0;
  if (fd_ < 0 || ::ioctl(fd_, FIONREAD, &waiting) != 0 || waiting < 0) return std::nullopt;
  return static_cast<std::size_t>(waiting);
}

bool SerialPort::Read(std::uint8_t* into, std::size_t n) {
  std::size_t got = 0;
  while (got < n) {
    const ssize_t r = ::read(fd_, into + got, n - got);
    if (r > 0) {
      got += static_cast<std::size_t>(r);
    } else if (r == 0) {
      return false;  // hung up
    } else if (errno == EAGAIN) {
      if (!waitFor(fd_, POLLIN)) return false;
    } else if (errno != EINTR) {
      return false;
    }
  }
  return true;
}

bool SerialPort::Write(const std::uint8_t* bytes, std::size_t n) {
  std::size_t sent = 0;
  while (sent < n) {
    const ssize_t r = ::write(fd_, bytes + sent, n - sent);
    if (r > 0) {
      sent += static_cast<std::size_t>(r);
    } else if (r < 0 && errno == EAGAIN) {
      if (!waitFor(fd_, POLLOUT)) return false;
    } else if (r == 0 || errno != EINTR) {
      return false;
    }
  }
  return true;
}

void SerialPort::DiscardInput() {
  if (fd_ >= 0) ::tcflush(fd_, TCIFLUSH);
}

void SerialPort::Close() {
  if (fd_ < 0) return;
  // The exclusive mode belongs to the terminal, not to this descriptor: it would outlive the
  // close while anyone else keeps the device open.
  ::ioctl(fd_, TIOCNXCL, nullptr);
  ::flock(fd_, LOCK_UN);
  ::close(fd_);
  fd_ = -1;
}

}  // namespace tellurix::platform

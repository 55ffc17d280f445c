#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <numeric>
#include <thread>
#include <vector>

#include "platform/LoggerPort.h"
#include "platform/SerialPort.h"
#include "support/TestFiles.h"

namespace tellurix::logger {
namespace {

using platform::OpenLoggerLink;
using Bytes = std::vector<std::uint8_t>;

// A pseudo-terminal whose slave stands in for the bridge's tty.
class Pty {
 public:
  Pty() {
    master_ = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (master_ >= 0 && ::grantpt(master_) == 0 && ::unlockpt(master_) == 0) slave_ = ::ptsname(master_);
  }
  ~Pty() { closeMaster(); }
  Pty(const Pty&) = delete;
  Pty& operator=(const Pty&) = delete;

  [[nodiscard]] const std::string& slave() const { return slave_; }
  // The slave's settings (on Linux the master reads and sets them).
  termios settings() const {
    termios t{};
    ::tcgetattr(master_, &t);
    return t;
  }
  void set(const termios& t) const { ::tcsetattr(master_, TCSANOW, &t); }
  void send(const Bytes& bytes) const {
    EXPECT_EQ(::write(master_, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
  }
  Bytes receive(std::size_t n) const {
    Bytes got;
    pollfd p{master_, POLLIN, 0};
    while (got.size() < n && ::poll(&p, 1, 200) > 0) {
      std::uint8_t buffer[512];
      const ssize_t r = ::read(master_, buffer, sizeof buffer);
      if (r <= 0) break;
      got.insert(got.end(), buffer, buffer + r);
    }
    return got;
  }
  void closeMaster() {
    if (master_ >= 0) ::close(master_);
    master_ = -1;
  }

 private:
  int master_ = -1;
  std::string slave_;
};

std::unique_ptr<platform::SerialPort> openOrFail(const std::string& name) {
  auto opened = OpenLoggerLink(name);
  if (auto* failure = std::get_if<LinkFailure>(&opened)) {
    ADD_FAILURE() << failure->text;
    return nullptr;
  }
  return std::move(std::get<std::unique_ptr<platform::SerialPort>>(opened));
}

std::size_t waitForBytes(logger::LoggerLink& link, std::size_t n) {
  for (int i = 0; i < 200; ++i) {
    const std::size_t waiting = link.BytesWaiting().value_or(0);
    if (waiting >= n) return waiting;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return link.BytesWaiting().value_or(0);
}

struct FailureCase {
  const char* name;
  std::string (*port)(const testing::TempDir& dir);
  std::string (*text)(const std::string& port);
  const char* caption;
};
void PrintTo(const FailureCase& c, std::ostream* os) {
  *os << c.name;
}

class LinkFailureTest : public ::testing::TestWithParam<FailureCase> {};

TEST_P(LinkFailureTest, ShowsTheMessageAndEndsWithExitCodeZero) {
  testing::TempDir dir;
  testing::writeFile(dir.path() / "plain", "not a terminal");
  const std::string port = GetParam().port(dir);
  const auto opened = OpenLoggerLink(port);
  ASSERT_TRUE(std::holds_alternative<LinkFailure>(opened));
  EXPECT_EQ(std::get<LinkFailure>(opened), (LinkFailure{GetParam().text(port), GetParam().caption, 0}));
}

INSTANTIATE_TEST_SUITE_P(
    Ports, LinkFailureTest,
    ::testing::Values(
        FailureCase{"missing_device", [](const testing::TempDir& d) { return d.file("ttyUSB9"); },
                    [](const std::string& p) { return p + " Conflict Error!!"; }, "Comm Error"},
        FailureCase{
            "missing_device_by_name", [](const testing::TempDir&) { return std::string("ttyTellurixNone"); },
            [](const std::string&) { return std::string("ttyTellurixNone Conflict Error!!"); }, "Comm Error"},
        FailureCase{"no_port_name", [](const testing::TempDir&) { return std::string(); },
                    [](const std::string&) { return std::string(" Conflict Error!!"); }, "Comm Error"},
        FailureCase{"a_folder", [](const testing::TempDir& d) { return d.path().string(); },
                    [](const std::string&) { return std::string("Open Communication Error!!"); },
                    "Comm Error"},
        FailureCase{"not_a_terminal", [](const testing::TempDir& d) { return d.file("plain"); },
                    [](const std::string&) { return std::string("Communication Port Set Error!!"); },
                    "Set Error"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SerialPortTest, PortHeldByAnotherProcessIsRefused) {
  Pty pty;
  int held[2];
  int release[2];
  ASSERT_EQ(::pipe(held), 0);
  ASSERT_EQ(::pipe(release), 0);
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    ::close(release[1]);
    auto opened = OpenLoggerLink(pty.slave());
    const char ok = std::holds_alternative<LinkFailure>(opened) ? 'n' : 'y';
    (void)!::write(held[1], &ok, 1);
    char c;
    (void)!::read(release[0], &c, 1);
    ::_exit(0);  // the port closes with the process
  }
  ::close(release[0]);
  ::close(held[1]);
  char ok = 0;
  ASSERT_EQ(::read(held[0], &ok, 1), 1);
  ::close(held[0]);
  ASSERT_EQ(ok, 'y');

  const auto refused = OpenLoggerLink(pty.slave());
  ::close(release[1]);
  int status = 0;
  ::waitpid(child, &status, 0);
  ASSERT_TRUE(std::holds_alternative<LinkFailure>(refused));
  EXPECT_EQ(std::get<LinkFailure>(refused), (LinkFailure{"Open Communication Error!!", "Comm Error", 0}));
  EXPECT_NE(openOrFail(pty.slave()), nullptr) << "free again once the other program has gone";
}

TEST(SerialPortTest, SpeedChangesKeep8N1AndTheDriversFlowControl) {
  Pty pty;
  termios driver = pty.settings();
  driver.c_cflag |= CRTSCTS | CSTOPB | PARENB;
  pty.set(driver);
  auto port = openOrFail(pty.slave());
  ASSERT_NE(port, nullptr);
  for (const LineSpeed speed : {LineSpeed::Baud921600, LineSpeed::Baud4800}) {
    ASSERT_TRUE(port->Configure(speed));
    const termios t = pty.settings();
    EXPECT_EQ(cfgetospeed(&t), speed == LineSpeed::Baud921600 ? B921600 : B4800);
    EXPECT_EQ(t.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
    EXPECT_EQ(t.c_cflag & (PARENB | CSTOPB), 0U);
    EXPECT_NE(t.c_cflag & CRTSCTS, 0U) << "hardware flow control stays as the driver has it";
  }
}

TEST(SerialPortTest, EveryByteValuePassesBothWaysUntouched) {
  Pty pty;
  termios driver = pty.settings();  // a fresh terminal: line editing, echo, CR/LF and XON/XOFF handling
  driver.c_iflag |= ICRNL | IXON | IXOFF;
  driver.c_oflag |= OPOST | ONLCR;
  driver.c_lflag |= ICANON | ECHO | ISIG;
  pty.set(driver);
  auto port = openOrFail(pty.slave());
  ASSERT_NE(port, nullptr);
  Bytes all(256);
  std::iota(all.begin(), all.end(), 0);

  pty.send(all);
  ASSERT_EQ(waitForBytes(*port, all.size()), all.size());
  Bytes got(all.size());
  ASSERT_TRUE(port->Read(got.data(), got.size()));
  EXPECT_EQ(got, all);

  ASSERT_TRUE(port->Write(all.data(), all.size()));
  EXPECT_EQ(pty.receive(all.size() + 1), all) << "nothing echoed, nothing translated";
}

TEST(SerialPortTest, DiscardDropsWhatWaits) {
  Pty pty;
  auto port = openOrFail(pty.slave());
  ASSERT_NE(port, nullptr);
  pty.send(Bytes(10, 'x'));
  ASSERT_EQ(waitForBytes(*port, 10), 10U);
  port->DiscardInput();
  EXPECT_EQ(port->BytesWaiting(), 0U);
}

TEST(SerialPortTest, HungUpLineReportsNoBytesWaiting) {
  Pty pty;
  auto port = openOrFail(pty.slave());
  ASSERT_NE(port, nullptr);
  pty.closeMaster();
  EXPECT_EQ(port->BytesWaiting(), std::nullopt);
}

}  // namespace
}  // namespace tellurix::logger

// A GPS logger on a pseudo-terminal, for running the download without the device:
//   tellurix-logger-sim --link PATH [--log FILE | --records N] [--seed N] [--user-id TEXT]
//                       [--pace] [--split SEED] [--frames FILE] [--command-mode] [--hangup-after BYTES]
// The terminal's other end appears at PATH (a symbolic link) until the program is stopped.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <optional>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "SimulatedLogger.h"
#include "tools/demotrack/DemoTrack.h"
#include "tracklog/LogFile.h"
#include "tracklog/LogRecord.h"

namespace {

using namespace tellurix;
using loggersim::LineSpeed;
using loggersim::Segment;
using SteadyClock = std::chrono::steady_clock;

volatile std::sig_atomic_t stopRequested = 0;
void requestStop(int) {
  stopRequested = 1;
}

struct Options {
  std::string link;
  std::string logFile;
  std::uint32_t records = 28800;  // eight hours at one fix a second
  std::uint32_t seed = 20100909;
  std::string userId = "TELLURIX";
  bool pace = false;
  std::optional<std::uint32_t> splitSeed;
  std::string framesFile;
  bool commandMode = false;
  long long hangupAfter = -1;
};

[[noreturn]] void usage() {
  std::fprintf(
      stderr,
      "usage: tellurix-logger-sim --link PATH [--log FILE | --records N] [--seed N] [--user-id TEXT]\n"
      "                           [--pace] [--split SEED] [--frames FILE] [--command-mode]\n"
      "                           [--hangup-after BYTES]\n"
      "  --log FILE          the logger's memory: the whole records of FILE (default: a demo day)\n"
      "  --records N         records of the built-in demo track (default 28800)\n"
      "  --pace              send no faster than the line: 4800 or 921600 baud, 10 bits a byte\n"
      "  --split SEED        write in pieces of random size (1 to 700 bytes)\n"
      "  --frames FILE       write one line per frame received\n"
      "  --command-mode      start in command mode instead of streaming NMEA\n"
      "  --hangup-after N    close the line after N bytes of a transfer (a pulled cable)\n");
  std::exit(64);
}

Options parse(int argc, char** argv) {
  Options o;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    const auto value = [&]() -> std::string {
      if (i + 1 >= argc) usage();
      return argv[++i];
    };
    if (a == "--link")
      o.link = value();
    else if (a == "--log")
      o.logFile = value();
    else if (a == "--records")
      o.records = static_cast<std::uint32_t>(std::stoul(value()));
    else if (a == "--seed")
      o.seed = static_cast<std::uint32_t>(std::stoul(value()));
    else if (a == "--user-id")
      o.userId = value();
    else if (a == "--pace")
      o.pace = true;
    else if (a == "--split")
      o.splitSeed = static_cast<std::uint32_t>(std::stoul(value()));
    else if (a == "--frames")
      o.framesFile = value();
    else if (a == "--command-mode")
      o.commandMode = true;
    else if (a == "--hangup-after")
      o.hangupAfter = std::stoll(value());
    else
      usage();
  }
  if (o.link.empty()) usage();
  return o;
}

std::vector<tracklog::LogRecord> loadRecords(const Options& o) {
  std::vector<tracklog::LogRecord> records;
  if (!o.logFile.empty()) {
    tracklog::LogFileReader reader;
    if (!reader.open(o.logFile)) {
      std::fprintf(stderr, "cannot read %s\n", o.logFile.c_str());
      std::exit(1);
    }
    tracklog::LogRecord r;
    while (reader.next(r)) records.push_back(r);
    return records;
  }
  demotrack::DemoTrackOptions demo;
  demo.records = o.records;
  demo.seed = o.seed;
  for (const auto& p : demotrack::makeDemoTrack(demo)) records.push_back(tracklog::encodeLogRecord(p));
  return records;
}

// The speed the host has set its end of the line to.
std::optional<LineSpeed> hostSpeed(int slave) {
  termios t{};
  if (::tcgetattr(slave, &t) != 0) return std::nullopt;
  const speed_t s = cfgetospeed(&t);
  if (s == B921600) return LineSpeed::Baud921600;
  if (s == B4800) return LineSpeed::Baud4800;
  return std::nullopt;
}

double bytesPerSecond(LineSpeed speed) {
  return speed == LineSpeed::Baud921600 ? 92160.0 : 480.0;
}

class Line {
 public:
  Line(const Options& options, loggersim::SimulatedLogger& logger,
       std::function<void(const std::string&)> note)
      : options_(options), logger_(logger), note_(std::move(note)) {
    if (options.splitSeed) random_.seed(*options.splitSeed);
  }

  bool open() {
    master_ = ::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (master_ < 0 || ::grantpt(master_) != 0 || ::unlockpt(master_) != 0) return false;
    slaveName_ = ::ptsname(master_);
    // Held open so that the line stays up while no host has it.
    slave_ = ::open(slaveName_.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (slave_ < 0) return false;
    termios t{};
    ::tcgetattr(slave_, &t);
    cfmakeraw(&t);
    cfsetspeed(&t, B4800);
    ::tcsetattr(slave_, TCSANOW, &t);
    // Replace an earlier link of ours in one step; never clobber anything else.
    std::error_code error;
    const auto status = std::filesystem::symlink_status(options_.link, error);
    if (std::filesystem::exists(status) && !std::filesystem::is_symlink(status)) {
      std::fprintf(stderr, "%s exists and is no link\n", options_.link.c_str());
      return false;
    }
    const std::string temporary = options_.link + ".new";
    ::unlink(temporary.c_str());
    if (::symlink(slaveName_.c_str(), temporary.c_str()) != 0 ||
        ::rename(temporary.c_str(), options_.link.c_str()) != 0) {
      std::perror("link");
      return false;
    }
    std::printf("%s -> %s\n", options_.link.c_str(), slaveName_.c_str());
    std::fflush(stdout);
    return true;
  }

  void close() {
    std::error_code error;
    if (std::filesystem::read_symlink(options_.link, error) == slaveName_) ::unlink(options_.link.c_str());
    if (slave_ >= 0) ::close(slave_);
    if (master_ >= 0) ::close(master_);
  }

  // Runs until stopped or hung up.
  void run() {
    auto nextNmea = SteadyClock::now();
    while (stopRequested == 0) {
      const auto now = SteadyClock::now();
      if (logger_.Streaming() && now >= nextNmea) {
        // Nobody listening: a streaming logger loses what the line cannot take.
        if (queuedBytes() < 4096) logger_.StreamTick();
        nextNmea += std::chrono::seconds(1);
      }
      const int waitMs = sendSome(now);
      if (hungUp_) return;
      pollfd p{master_, POLLIN, 0};
      if (::poll(&p, 1, waitMs) > 0 && (p.revents & POLLIN) != 0) receive();
    }
  }

 private:
  std::size_t queuedBytes() const {
    std::size_t n = 0;
    for (const Segment& s : logger_.Output())
      n += s.bytes.size() - (&s == &logger_.Output().front() ? sent_ : 0);
    return n;
  }

  void receive() {
    std::uint8_t bytes[4096];
    const ssize_t n = ::read(master_, bytes, sizeof bytes);
    if (n <= 0) return;
    logger_.Receive({bytes, static_cast<std::size_t>(n)}, hostSpeed(slave_).value_or(LineSpeed::Baud4800));
  }

  // Writes what the line allows now; returns how long to wait before trying again (ms).
  int sendSome(SteadyClock::time_point now) {
    auto& output = logger_.Output();
    if (output.empty()) return 20;
    Segment& segment = output.front();
    if (sent_ == 0 && !started_) {
      // The host has to be at the segment's speed before it can take a byte of it.
      if (hostSpeed(slave_) != segment.speed) {
        if (!waitingSince_) waitingSince_ = now;
        if (now - *waitingSince_ < std::chrono::seconds(3)) return 2;
        note_("SpeedMismatch");
      }
      waitingSince_.reset();
      started_ = true;
      startedAt_ = now;
    }
    std::size_t allowed = segment.bytes.size() - sent_;
    if (options_.pace) {
      const double seconds = std::chrono::duration<double>(now - startedAt_).count();
      const auto due = static_cast<std::size_t>(seconds * bytesPerSecond(segment.speed));
      allowed = std::min(allowed, due > sent_ ? due - sent_ : 0);
    }
    if (options_.splitSeed)
      allowed = std::min<std::size_t>(allowed, std::uniform_int_distribution<std::size_t>(1, 700)(random_));
    if (segment.data && options_.hangupAfter >= 0) {
      const auto left = static_cast<std::size_t>(options_.hangupAfter) -
                        std::min<std::size_t>(sent_, static_cast<std::size_t>(options_.hangupAfter));
      if (left == 0) {
        hungUp_ = true;
        return 0;
      }
      allowed = std::min(allowed, left);
    }
    if (allowed > 0) {
      const ssize_t n = ::write(master_, segment.bytes.data() + sent_, allowed);
      if (n > 0) sent_ += static_cast<std::size_t>(n);
      if (n < 0 && errno == EAGAIN) return 1;  // the host is not reading fast enough
    }
    if (sent_ == segment.bytes.size()) {
      if (segment.data) {
        const double seconds = std::chrono::duration<double>(SteadyClock::now() - startedAt_).count();
        std::fprintf(stderr, "transfer: %zu bytes in %.3f s\n", segment.bytes.size(), seconds);
      }
      output.pop_front();
      sent_ = 0;
      started_ = false;
      return 0;
    }
    return options_.pace ? 2 : 0;
  }

  const Options& options_;
  loggersim::SimulatedLogger& logger_;
  int master_ = -1;
  int slave_ = -1;
  std::string slaveName_;
  std::size_t sent_ = 0;
  bool started_ = false;
  bool hungUp_ = false;
  SteadyClock::time_point startedAt_{};
  std::optional<SteadyClock::time_point> waitingSince_;
  std::mt19937 random_;
  std::function<void(const std::string&)> note_;
};

}  // namespace

int main(int argc, char** argv) {
  Options options;
  try {
    options = parse(argc, argv);
  } catch (const std::logic_error&) {  // a number that is none
    usage();
  }
  struct sigaction stop {};
  stop.sa_handler = requestStop;
  ::sigaction(SIGTERM, &stop, nullptr);
  ::sigaction(SIGINT, &stop, nullptr);
  ::sigaction(SIGHUP, &stop, nullptr);

  loggersim::SimulatedLogger logger(loadRecords(options), options.userId, options.commandMode);
  std::FILE* frames = nullptr;
  if (!options.framesFile.empty()) {
    frames = std::fopen(options.framesFile.c_str(), "w");
    if (frames == nullptr) {
      std::fprintf(stderr, "cannot write %s\n", options.framesFile.c_str());
      return 1;
    }
  }
  const auto writeLine = [frames](const std::string& line) {
    if (frames == nullptr) return;
    std::fprintf(frames, "%s\n", line.c_str());
    std::fflush(frames);
  };
  logger.log = writeLine;

  Line line(options, logger, writeLine);
  if (!line.open()) {
    line.close();
    return 1;
  }
  line.run();
  line.close();
  if (frames != nullptr) std::fclose(frames);
  return 0;
}

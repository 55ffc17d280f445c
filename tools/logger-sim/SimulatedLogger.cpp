#include "SimulatedLogger.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "logger/LoggerFrame.h"
#include "tracklog/LogRecord.h"

namespace tellurix::loggersim {
namespace {

using logger::FrameCode;

const char* frameName(std::uint8_t code) {
  switch (static_cast<FrameCode>(code)) {
    case FrameCode::QueryRecord:
      return "QueryRecord";
    case FrameCode::StartRead:
      return "StartRead";
    case FrameCode::EndSession:
      return "EndSession";
    case FrameCode::ClearMemory:
      return "ClearMemory";
    default:
      return "Unknown";
  }
}

const char* speedText(LineSpeed speed) {
  return speed == LineSpeed::Baud921600 ? "921600" : "4800";
}

std::string withChecksum(const char* body) {
  unsigned sum = 0;
  for (const char* c = body + 1; *c != '\0'; ++c) sum ^= static_cast<unsigned char>(*c);
  char text[160];
  std::snprintf(text, sizeof text, "%s*%02X\r\n", body, sum);
  return text;
}

// ddmm.mmmm (or dddmm.mmmm) and the hemisphere letter.
std::string nmeaAngle(double degrees, int degreeDigits, char positive, char negative) {
  const double a = std::fabs(degrees);
  const int whole = static_cast<int>(a);
  char text[32];
  std::snprintf(text, sizeof text, "%0*d%07.4f,%c", degreeDigits, whole, (a - whole) * 60,
                degrees < 0 ? negative : positive);
  return text;
}

}  // namespace

std::vector<std::uint8_t> transferOf(const std::vector<tracklog::LogRecord>& records) {
  std::vector<std::uint8_t> bytes;
  bytes.reserve(records.size() / logger::kRecordsPerPacket * logger::kFullPacketLength +
                logger::kFullPacketLength);
  for (std::size_t first = 0; first < records.size(); first += logger::kRecordsPerPacket) {
    const std::size_t count = std::min(logger::kRecordsPerPacket, records.size() - first);
    std::vector<std::uint8_t> payload;
    for (std::size_t r = first; r < first + count; ++r)
      payload.insert(payload.end(), records[r].begin(), records[r].end());
    const std::vector<std::uint8_t> packet = logger::BuildFrame(FrameCode::DataPacket, payload);
    bytes.insert(bytes.end(), packet.begin(), packet.end());
  }
  bytes.insert(bytes.end(), logger::kReadEnd.begin(), logger::kReadEnd.end());
  return bytes;
}

SimulatedLogger::SimulatedLogger(std::vector<tracklog::LogRecord> records, std::string userId,
                                 bool commandMode)
    : records_(std::move(records)), userId_(std::move(userId)), streaming_(!commandMode) {}

void SimulatedLogger::note(LineSpeed speed, const std::string& what, std::span<const std::uint8_t> bytes) {
  if (!log) return;
  std::string line = std::string(speedText(speed)) + " " + what;
  for (const std::uint8_t b : bytes) {
    char hex[4];
    std::snprintf(hex, sizeof hex, " %02X", b);
    line += hex;
  }
  log(line);
}

void SimulatedLogger::send(std::vector<std::uint8_t> bytes, LineSpeed speed, bool data) {
  output_.push_back(Segment{std::move(bytes), speed, data});
}

void SimulatedLogger::Receive(std::span<const std::uint8_t> bytes, LineSpeed hostSpeed) {
  input_.insert(input_.end(), bytes.begin(), bytes.end());
  if (streaming_) {
    takeNmea();
    if (streaming_) return;
  }
  takeFrames(hostSpeed);
}

void SimulatedLogger::takeNmea() {
  const auto& command = logger::kCommandModeSwitch;
  const auto at = std::search(input_.begin(), input_.end(), command.begin(), command.end(),
                              [](std::uint8_t b, char c) { return b == static_cast<std::uint8_t>(c); });
  if (at == input_.end()) {
    // Keep what may be the start of a switch split across reads.
    const std::size_t keep = std::min(input_.size(), command.size() - 1);
    input_.erase(input_.begin(), input_.end() - static_cast<std::ptrdiff_t>(keep));
    return;
  }
  input_.erase(input_.begin(), at + static_cast<std::ptrdiff_t>(command.size()));
  note(LineSpeed::Baud4800, "CommandModeSwitch");
  streaming_ = false;
  const std::string ack = std::string(logger::kCommandModeAck) + "\r\n";
  send({ack.begin(), ack.end()}, LineSpeed::Baud4800);
}

void SimulatedLogger::takeFrames(LineSpeed hostSpeed) {
  std::size_t p = 0;
  for (;;) {
    while (p + 1 < input_.size() && !(input_[p] == logger::kFrameSync && input_[p + 1] == logger::kFrameSync))
      ++p;
    if (p + 3 > input_.size()) break;
    const std::size_t length = input_[p + 2];
    if (length < logger::kFrameOverhead) {
      ++p;
      continue;
    }
    if (p + length > input_.size()) break;
    answer({input_.data() + p, length}, hostSpeed);
    p += length;
  }
  input_.erase(input_.begin(), input_.begin() + static_cast<std::ptrdiff_t>(std::min(p, input_.size())));
}

void SimulatedLogger::answer(std::span<const std::uint8_t> frame, LineSpeed hostSpeed) {
  note(hostSpeed, frameName(frame[3]), frame);
  switch (static_cast<FrameCode>(frame[3])) {
    case FrameCode::QueryRecord: {
      const auto n = static_cast<std::uint32_t>(records_.size());
      // The eight bytes the host does not interpret hold CR LF, 0x00 and '$' on purpose.
      const std::vector<std::uint8_t> payload{0x00,
                                              0x01,
                                              0xFF,
                                              0xFF,
                                              static_cast<std::uint8_t>(n >> 24),
                                              static_cast<std::uint8_t>(n >> 16),
                                              static_cast<std::uint8_t>(n >> 8),
                                              static_cast<std::uint8_t>(n),
                                              0x0D,
                                              0x0A,
                                              0x00,
                                              0x24};
      send(logger::BuildFrame(FrameCode::RecordCountReply, payload), LineSpeed::Baud4800);
      break;
    }
    case FrameCode::StartRead:
      send(transferOf(records_), LineSpeed::Baud921600, true);
      break;
    case FrameCode::EndSession: {
      std::vector<std::uint8_t> payload(logger::kUserIdLength, 0x00);
      std::copy_n(userId_.begin(), std::min(userId_.size(), payload.size()), payload.begin());
      send(logger::BuildFrame(FrameCode::UserIdReply, payload), LineSpeed::Baud4800);
      break;
    }
    case FrameCode::ClearMemory:
      records_.clear();
      break;
    default:
      break;
  }
}

void SimulatedLogger::StreamTick() {
  if (!streaming_) return;
  tracklog::TrackPoint p;
  p.latitude = 25.0339;
  p.longitude = 121.5645;
  if (!records_.empty()) p = tracklog::decodeLogRecord(records_[nmeaIndex_++ % records_.size()]);
  char body[128];
  const std::string lat = nmeaAngle(p.latitude, 2, 'N', 'S');
  const std::string lon = nmeaAngle(p.longitude, 3, 'E', 'W');
  std::snprintf(body, sizeof body, "$GPGGA,%02d%02d%02d.000,%s,%s,1,08,1.0,%.1f,M,0.0,M,,", p.hour, p.minute,
                p.second, lat.c_str(), lon.c_str(), static_cast<double>(p.altitude));
  std::string text = withChecksum(body);
  std::snprintf(body, sizeof body, "$GPRMC,%02d%02d%02d.000,A,%s,%s,%.1f,0.0,%02d%02d%02d,,,A", p.hour,
                p.minute, p.second, lat.c_str(), lon.c_str(), static_cast<double>(p.speed) * 0.54, p.day,
                p.month, p.year % 100);
  text += withChecksum(body);
  send({text.begin(), text.end()}, LineSpeed::Baud4800);
}

}  // namespace tellurix::loggersim

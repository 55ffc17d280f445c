#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "logger/LoggerLink.h"
#include "tracklog/LogRecord.h"

namespace tellurix::loggersim {

using logger::LineSpeed;

// Bytes the logger sends at one line speed; the host must be at that speed to take them.
struct Segment {
  std::vector<std::uint8_t> bytes;
  LineSpeed speed = LineSpeed::Baud4800;
  bool data = false;  // the records of a transfer
};

// The logger's side of the link, without the line: what it does with the bytes it receives,
// and what it has to send. It streams NMEA until it is switched into command mode.
class SimulatedLogger {
 public:
  SimulatedLogger(std::vector<tracklog::LogRecord> records, std::string userId, bool commandMode);

  // Bytes from the host; `hostSpeed` is the speed the host's line was set to.
  void Receive(std::span<const std::uint8_t> bytes, LineSpeed hostSpeed);
  // One second of streaming: a GGA and an RMC sentence (nothing in command mode).
  void StreamTick();

  [[nodiscard]] bool Streaming() const { return streaming_; }
  [[nodiscard]] std::size_t RecordCount() const { return records_.size(); }
  // What is to be sent, oldest first; the line takes from the front.
  std::deque<Segment>& Output() { return output_; }

  // Called with one line for everything received ("4800 QueryRecord 24 24 07 08 0F 0D 0A").
  std::function<void(const std::string& line)> log;

 private:
  void takeNmea();
  void takeFrames(LineSpeed hostSpeed);
  void answer(std::span<const std::uint8_t> frame, LineSpeed hostSpeed);
  void send(std::vector<std::uint8_t> bytes, LineSpeed speed, bool data = false);
  void note(LineSpeed speed, const std::string& what, std::span<const std::uint8_t> bytes = {});

  std::vector<tracklog::LogRecord> records_;
  std::string userId_;
  bool streaming_;
  std::size_t nmeaIndex_ = 0;
  std::vector<std::uint8_t> input_;
  std::deque<Segment> output_;
};

// Every record as data packets of 15 records, the last one short or full, then ReadEnd.
std::vector<std::uint8_t> transferOf(const std::vector<tracklog::LogRecord>& records);

}  // namespace tellurix::loggersim

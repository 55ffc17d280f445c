#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ScriptedLink.h"
#include "logger/LoggerFrame.h"
#include "tracklog/LogRecord.h"
#include "tracklog/TrackPoint.h"

namespace tellurix::testing {

inline Bytes bytesOf(std::string_view text) {
  return {text.begin(), text.end()};
}
template <std::size_t N>
Bytes bytesOf(const std::array<std::uint8_t, N>& frame) {
  return {frame.begin(), frame.end()};
}
inline Bytes join(std::initializer_list<Bytes> parts) {
  Bytes all;
  for (const Bytes& p : parts) all.insert(all.end(), p.begin(), p.end());
  return all;
}

inline Bytes countReply(std::uint32_t n) {
  return logger::BuildFrame(
      logger::FrameCode::RecordCountReply,
      Bytes{0, 0, 0, 0, static_cast<std::uint8_t>(n >> 24), static_cast<std::uint8_t>(n >> 16),
            static_cast<std::uint8_t>(n >> 8), static_cast<std::uint8_t>(n), 0, 0, 0, 0});
}
inline Bytes userIdReply(const std::string& id) {
  Bytes payload(32, 0);
  std::copy(id.begin(), id.end(), payload.begin());
  return logger::BuildFrame(logger::FrameCode::UserIdReply, payload);
}

// The records of a drive and the download stream that carries them.
inline Bytes recordsOf(const std::vector<tracklog::TrackPoint>& points) {
  Bytes bytes;
  for (const auto& p : points) {
    const auto r = tracklog::encodeLogRecord(p);
    bytes.insert(bytes.end(), r.begin(), r.end());
  }
  return bytes;
}
inline Bytes streamOf(const Bytes& records) {
  Bytes stream;
  for (std::size_t at = 0; at < records.size(); at += 240) {
    const std::size_t n = std::min<std::size_t>(240, records.size() - at);
    stream = join({stream, logger::BuildFrame(logger::FrameCode::DataPacket, {records.data() + at, n})});
  }
  return join({stream, bytesOf(logger::kReadEnd)});
}

// Lets `bytes` arrive in blocks of `block` bytes, one block per poll.
inline void arriveInBlocks(ScriptedLink& link, const Bytes& bytes, std::size_t block = 2000) {
  for (std::size_t at = 0; at < bytes.size(); at += block) {
    const auto from = bytes.begin() + static_cast<std::ptrdiff_t>(at);
    link.Arrive(Bytes(from, from + static_cast<std::ptrdiff_t>(std::min(block, bytes.size() - at))));
  }
}

// A logger already in command mode up to its record count: nothing waits at the probe and at
// Timer2's tick, then tmrQueryRecord finds the count. The transfer comes next.
inline void scriptUpToCount(ScriptedLink& link, std::uint32_t records) {
  link.Arrive({});
  link.Arrive({});
  link.Arrive(countReply(records));
}

// A whole download of `records` (whole log records), and the user id when there is one.
inline void scriptDownload(ScriptedLink& link, const Bytes& records,
                           const std::optional<std::string>& userId = std::nullopt) {
  scriptUpToCount(link, static_cast<std::uint32_t>(records.size() / 16));
  arriveInBlocks(link, streamOf(records));
  if (userId) link.Arrive(userIdReply(*userId));
}

}  // namespace tellurix::testing

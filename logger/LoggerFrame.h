#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tellurix::logger {

// A command-mode packet: '$' '$' Length Command Payload... Checksum CR LF, where Length counts
// the whole frame. Receivers never check the checksum or the terminator.
enum class FrameCode : std::uint8_t {
  StartRead = 0x02,
  DataPacket = 0x03,
  ClearMemory = 0x04,
  QueryRecord = 0x08,
  RecordCountReply = 0x09,
  ReadEnd = 0x0A,
  EndSession = 0x0D,
  UserIdReply = 0x0E,
};

inline constexpr std::uint8_t kFrameSync = 0x24;
inline constexpr std::size_t kFrameOverhead = 7;       // sync, sync, Length, Command, Checksum, CR, LF
inline constexpr std::size_t kFullPacketLength = 247;  // 15 records
inline constexpr std::size_t kRecordsPerPacket = 15;
inline constexpr std::size_t kUserIdLength = 32;

// XOR of Length, Command and every payload byte.
std::uint8_t FrameChecksum(std::uint8_t length, std::uint8_t command, std::span<const std::uint8_t> payload);

// The whole frame; the payload holds at most 248 bytes.
std::vector<std::uint8_t> BuildFrame(FrameCode command, std::span<const std::uint8_t> payload = {});

// The frames the program sends, and the end mark of a download.
inline constexpr std::array<std::uint8_t, 7> kQueryRecord{0x24, 0x24, 0x07, 0x08, 0x0F, 0x0D, 0x0A};
inline constexpr std::array<std::uint8_t, 9> kStartRead{0x24, 0x24, 0x09, 0x02, 0x01, 0x08, 0x02, 0x0D, 0x0A};
// Its command and checksum are CR and LF: the frame holds CR LF twice.
inline constexpr std::array<std::uint8_t, 7> kEndSession{0x24, 0x24, 0x07, 0x0D, 0x0A, 0x0D, 0x0A};
inline constexpr std::array<std::uint8_t, 7> kClearMemory{0x24, 0x24, 0x07, 0x04, 0x03, 0x0D, 0x0A};
// Its checksum is 0x00.
inline constexpr std::array<std::uint8_t, 8> kReadEnd{0x24, 0x24, 0x08, 0x0A, 0x02, 0x00, 0x0D, 0x0A};

// NMEA, outside command mode.
inline constexpr std::string_view kCommandModeSwitch = "$PSRF109,1,1,0*33\r\n";
inline constexpr std::string_view kCommandModeAck = "$PSRFTXT,1,2,2*52";
inline constexpr std::string_view kNmeaMark = "$GP";

// The recognisers look at one block of received bytes at every position; none of them stops
// at a 0x00 byte or treats CR LF as a break. A reply that does not lie wholly in the block is
// not recognised.
bool HasNmeaStream(std::span<const std::uint8_t> block);
bool HasCommandModeAck(std::span<const std::uint8_t> block);
// The count of the last RecordCountReply in the block (big-endian at frame offsets 8..11).
std::optional<std::uint32_t> FindRecordCount(std::span<const std::uint8_t> block);
// The user id of the first UserIdReply: its text up to a 0x00 byte, at most 32 characters.
std::optional<std::string> FindUserId(std::span<const std::uint8_t> block);

// Bytes 0, 1 and 3 of a data packet's header; `at` must have four bytes.
inline bool StartsDataPacket(const std::uint8_t* at) {
  return at[0] == kFrameSync && at[1] == kFrameSync &&
         at[3] == static_cast<std::uint8_t>(FrameCode::DataPacket);
}

bool EndsWithReadEnd(std::span<const std::uint8_t> bytes);

}  // namespace tellurix::logger

#include "LoggerFrame.h"

#include <algorithm>
#include <stdexcept>

namespace tellurix::logger {
namespace {

constexpr std::size_t kCountOffset = 8;
constexpr std::size_t kUserIdOffset = 4;

template <typename Pattern>
const std::uint8_t* findFrom(std::span<const std::uint8_t> block, const std::uint8_t* from,
                             const Pattern& pattern) {
  return std::search(from, block.data() + block.size(), pattern.begin(), pattern.end(),
                     [](std::uint8_t byte, auto p) { return byte == static_cast<std::uint8_t>(p); });
}

template <typename Pattern>
bool contains(std::span<const std::uint8_t> block, const Pattern& pattern) {
  return findFrom(block, block.data(), pattern) != block.data() + block.size();
}

constexpr std::array<std::uint8_t, 4> kCountHeader{0x24, 0x24, 0x13, 0x09};
constexpr std::array<std::uint8_t, 4> kUserIdHeader{0x24, 0x24, 0x27, 0x0E};

}  // namespace

std::uint8_t FrameChecksum(std::uint8_t length, std::uint8_t command, std::span<const std::uint8_t> payload) {
  std::uint8_t sum = length ^ command;
  for (const std::uint8_t b : payload) sum ^= b;
  return sum;
}

std::vector<std::uint8_t> BuildFrame(FrameCode command, std::span<const std::uint8_t> payload) {
  if (payload.size() > 255 - kFrameOverhead) throw std::length_error("frame payload over 248 bytes");
  const auto length = static_cast<std::uint8_t>(payload.size() + kFrameOverhead);
  const auto code = static_cast<std::uint8_t>(command);
  std::vector<std::uint8_t> frame(length);
  frame[0] = kFrameSync;
  frame[1] = kFrameSync;
  frame[2] = length;
  frame[3] = code;
  std::copy(payload.begin(), payload.end(), frame.begin() + 4);
  frame[length - 3U] = FrameChecksum(length, code, payload);
  frame[length - 2U] = 0x0D;
  frame[length - 1U] = 0x0A;
  return frame;
}

bool HasNmeaStream(std::span<const std::uint8_t> block) {
  return contains(block, kNmeaMark);
}

bool HasCommandModeAck(std::span<const std::uint8_t> block) {
  return contains(block, kCommandModeAck);
}

std::optional<std::uint32_t> FindRecordCount(std::span<const std::uint8_t> block) {
  std::optional<std::uint32_t> count;
  const std::uint8_t* end = block.data() + block.size();
  for (const std::uint8_t* p = findFrom(block, block.data(), kCountHeader); p != end;
       p = findFrom(block, p + 1, kCountHeader)) {
    if (end - p < static_cast<std::ptrdiff_t>(kCountOffset + 4)) break;
    const std::uint8_t* b = p + kCountOffset;
    count = static_cast<std::uint32_t>(b[0]) << 24 | static_cast<std::uint32_t>(b[1]) << 16 |
            static_cast<std::uint32_t>(b[2]) << 8 | static_cast<std::uint32_t>(b[3]);
  }
  return count;
}

std::optional<std::string> FindUserId(std::span<const std::uint8_t> block) {
  const std::uint8_t* end = block.data() + block.size();
  for (const std::uint8_t* p = findFrom(block, block.data(), kUserIdHeader); p != end;
       p = findFrom(block, p + 1, kUserIdHeader)) {
    const std::uint8_t* text = p + kUserIdOffset;
    const std::uint8_t* limit = text + std::min<std::ptrdiff_t>(kUserIdLength, end - text);
    const std::uint8_t* stop = std::find(text, limit, 0x00);
    // Complete when the 0x00 or all 32 characters are here; a cut-off text is no reply.
    if (stop == limit && limit - text < static_cast<std::ptrdiff_t>(kUserIdLength)) continue;
    return std::string(text, stop);
  }
  return std::nullopt;
}

bool EndsWithReadEnd(std::span<const std::uint8_t> bytes) {
  return bytes.size() >= kReadEnd.size() &&
         std::equal(kReadEnd.begin(), kReadEnd.end(), bytes.end() - kReadEnd.size());
}

}  // namespace tellurix::logger

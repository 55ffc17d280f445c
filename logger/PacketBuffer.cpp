#include "PacketBuffer.h"

#include <algorithm>
#include <cstring>

namespace tellurix::logger {
namespace {

constexpr std::size_t kFullPayload = kFullPacketLength - kFrameOverhead;  // 240

// The payload length a header announces. A Length under 7 carries nothing, and no packet
// is taken beyond the bytes it occupies.
std::size_t payloadLength(std::uint8_t length, std::size_t room) {
  return length < kFrameOverhead ? 0 : std::min<std::size_t>(length - kFrameOverhead, room);
}

}  // namespace

bool PacketBuffer::Take(std::span<const std::uint8_t> block, const PayloadSink& sink) {
  while (!block.empty()) {
    const std::size_t n = std::min(block.size(), kMaxBlock);
    if (takeBlock(block.first(n), sink)) return true;
    block = block.subspan(n);
  }
  return false;
}

bool PacketBuffer::takeBlock(std::span<const std::uint8_t> block, const PayloadSink& sink) {
  std::memcpy(bytes_.data() + held_, block.data(), block.size());
  const std::size_t total = held_ + block.size();

  // Every position scanned here had room for a whole packet behind it, so one that starts
  // no packet never will: the bytes from where the scan stopped are all that must be kept.
  // Without garbage that is what follows the last packet taken; over garbage it is at most
  // the last 246 bytes.
  std::size_t i = 0;
  while (total - i >= kFullPacketLength) {
    if (StartsDataPacket(bytes_.data() + i)) {
      sink(bytes_.data() + i + 4, payloadLength(bytes_[i + 2], kFullPayload));
      i += kFullPacketLength;
    } else {
      ++i;
    }
  }
  held_ = total - i;
  std::memmove(bytes_.data(), bytes_.data() + i, held_);

  if (!EndsWithReadEnd(Held()) || insidePacket()) return false;
  takeShortLastPacket(sink);
  return true;
}

std::size_t PacketBuffer::firstHeader() const {
  for (std::size_t i = 0; i + 4 <= held_; ++i) {
    if (StartsDataPacket(bytes_.data() + i)) return i;
  }
  return held_;
}

bool PacketBuffer::insidePacket() const {
  // Held bytes from a header on that are fewer than its packet and ReadEnd together still
  // belong to that packet, whatever its records look like. Bytes in front of the header
  // (which start no packet, as the scan will find) do not change that.
  const std::size_t header = firstHeader();
  return header < held_ && held_ - header < std::size_t{bytes_[header + 2]} + kReadEnd.size();
}

void PacketBuffer::takeShortLastPacket(const PayloadSink& sink) const {
  // Only what lies before ReadEnd and the packet's own checksum and CR LF is payload.
  const std::size_t beforeEnd = held_ - kReadEnd.size();
  const std::size_t header = firstHeader();
  if (header >= beforeEnd || beforeEnd - header < kFrameOverhead) return;
  sink(bytes_.data() + header + 4, payloadLength(bytes_[header + 2], beforeEnd - header - kFrameOverhead));
}

}  // namespace tellurix::logger

#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>

#include "LoggerFrame.h"

namespace tellurix::logger {

// Reassembles the download stream into record payloads. The held bytes always begin where a
// data packet may begin, and are fewer than a full packet.
class PacketBuffer {
 public:
  // The reader reads at most this many bytes at once; more waiting is an overrun.
  static constexpr std::size_t kMaxBlock = 4343;

  // Receives each packet's payload, in stream order.
  using PayloadSink = std::function<void(const std::uint8_t* payload, std::size_t size)>;

  // Appends received bytes, hands the payload of every full packet now complete to `sink`,
  // and reports whether the held bytes end with ReadEnd: then a short last packet in front
  // of it has been handed over too, and the download is complete. Eight bytes that look like
  // ReadEnd within a packet whose header is held are records, not the end, also when bytes
  // that are no packet came before that header.
  bool Take(std::span<const std::uint8_t> block, const PayloadSink& sink);

  [[nodiscard]] std::span<const std::uint8_t> Held() const { return {bytes_.data(), held_}; }

 private:
  bool takeBlock(std::span<const std::uint8_t> block, const PayloadSink& sink);
  // Where the first data packet header among the held bytes starts; the held count if none.
  [[nodiscard]] std::size_t firstHeader() const;
  [[nodiscard]] bool insidePacket() const;
  void takeShortLastPacket(const PayloadSink& sink) const;

  std::array<std::uint8_t, kFullPacketLength - 1 + kMaxBlock> bytes_{};
  std::size_t held_ = 0;
};

}  // namespace tellurix::logger

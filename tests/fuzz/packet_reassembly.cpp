// The download's packet reassembly fed a byte stream cut into reads of any size.
//
// The first input byte picks the stream:
//  - even: a well-formed download built from the input (a run of bytes without '$' in front,
//    full packets, a short or full last packet, ReadEnd). Every record must reach the log, in
//    order, and the download must end exactly with the last read.
//  - odd: the rest of the input as it stands. The full packets handed over must be those a
//    plain left-to-right scan of the same bytes finds, whatever the reads; at the end one
//    short packet may follow.
// Reads are cut at sizes taken from the input, up to the reader's limit of one read.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "FuzzSupport.h"
#include "logger/LoggerFrame.h"
#include "logger/PacketBuffer.h"

namespace {

using tellurix::fuzz::InputReader;
using tellurix::logger::PacketBuffer;
using Bytes = std::vector<std::uint8_t>;

constexpr std::size_t kFull = tellurix::logger::kFullPacketLength;
constexpr std::size_t kRecord = 16;

struct Delivered {
  std::vector<Bytes> payloads;
  std::size_t consumed = 0;  // stream bytes taken when the download completed, or all of them
  bool complete = false;
};

// Cuts the stream at the sizes given (cycled) and feeds the reads one by one, as the reader
// thread does, until the buffer reports the end.
Delivered feed(const Bytes& stream, const std::vector<std::size_t>& cuts) {
  Delivered out;
  PacketBuffer buffer;
  const PacketBuffer::PayloadSink sink = [&out](const std::uint8_t* payload, std::size_t size) {
    out.payloads.emplace_back(payload, payload + size);
  };
  std::size_t at = 0;
  for (std::size_t k = 0; at < stream.size(); ++k) {
    const std::size_t n = std::min(cuts[k % cuts.size()], stream.size() - at);
    const bool done = buffer.Take({stream.data() + at, n}, sink);
    at += n;
    // The held bytes are always fewer than a full packet.
    FUZZ_EXPECT(buffer.Held().size() < kFull);
    if (done) {
      out.complete = true;
      break;
    }
  }
  out.consumed = at;
  return out;
}

std::vector<std::size_t> readCuts(InputReader& in) {
  const std::size_t count = 1 + in.byte() % 16;
  std::vector<std::size_t> cuts;
  for (std::size_t i = 0; i < count; ++i) {
    const std::uint8_t b = in.byte();
    // Mostly small reads, sometimes up to the most the reader takes at once.
    cuts.push_back(b < 0xF0 ? 1 + b : std::min<std::size_t>(1 + (b - 0xF0) * 600, PacketBuffer::kMaxBlock));
  }
  return cuts;
}

void wellFormedDownload(InputReader& in) {
  const std::size_t noise = in.byte() % 40;
  const std::size_t recordCount = in.word() % 200;
  const std::vector<std::size_t> cuts = readCuts(in);

  Bytes stream;
  for (const std::uint8_t b : in.take(noise)) stream.push_back(b == tellurix::logger::kFrameSync ? 0x25 : b);
  // Record bytes come from the input (so that they can look like frames), then a pattern.
  Bytes records;
  const auto given = in.take(recordCount * kRecord);
  records.assign(given.begin(), given.end());
  while (records.size() < recordCount * kRecord)
    records.push_back(static_cast<std::uint8_t>(records.size() * 7));

  for (std::size_t first = 0; first < records.size(); first += 15 * kRecord) {
    const std::size_t size = std::min<std::size_t>(15 * kRecord, records.size() - first);
    const Bytes packet =
        tellurix::logger::BuildFrame(tellurix::logger::FrameCode::DataPacket, {records.data() + first, size});
    stream.insert(stream.end(), packet.begin(), packet.end());
  }
  stream.insert(stream.end(), tellurix::logger::kReadEnd.begin(), tellurix::logger::kReadEnd.end());

  const Delivered got = feed(stream, cuts);
  FUZZ_EXPECT(got.complete);
  FUZZ_EXPECT(got.consumed == stream.size());
  Bytes logged;
  for (const Bytes& p : got.payloads) {
    FUZZ_EXPECT(p.size() % kRecord == 0);
    logged.insert(logged.end(), p.begin(), p.end());
  }
  FUZZ_EXPECT(logged == records);
}

// The full packets a scan of the whole of `bytes` finds, and where the scan stopped.
std::vector<Bytes> scanFullPackets(const Bytes& bytes, std::size_t& stop) {
  std::vector<Bytes> packets;
  std::size_t i = 0;
  while (bytes.size() - i >= kFull) {
    if (tellurix::logger::StartsDataPacket(bytes.data() + i)) {
      const std::size_t length = bytes[i + 2];
      const std::size_t payload = length < 7 ? 0 : std::min<std::size_t>(length - 7, kFull - 7);
      packets.emplace_back(bytes.begin() + static_cast<std::ptrdiff_t>(i + 4),
                           bytes.begin() + static_cast<std::ptrdiff_t>(i + 4 + payload));
      i += kFull;
    } else {
      ++i;
    }
  }
  stop = i;
  return packets;
}

void anyStream(InputReader& in) {
  const std::vector<std::size_t> cuts = readCuts(in);
  const Bytes stream(in.rest().begin(), in.rest().end());
  const Delivered got = feed(stream, cuts);

  const Bytes consumed(stream.begin(), stream.begin() + static_cast<std::ptrdiff_t>(got.consumed));
  std::size_t stop = 0;
  const std::vector<Bytes> expected = scanFullPackets(consumed, stop);
  FUZZ_EXPECT(got.payloads.size() >= expected.size());
  FUZZ_EXPECT(std::equal(expected.begin(), expected.end(), got.payloads.begin()));
  const std::size_t extra = got.payloads.size() - expected.size();
  if (!got.complete) {
    FUZZ_EXPECT(extra == 0);
    return;
  }
  // The end is ReadEnd as the last bytes read, and at most one short packet from the held
  // bytes before it follows the full ones.
  FUZZ_EXPECT(tellurix::logger::EndsWithReadEnd(consumed));
  FUZZ_EXPECT(extra <= 1);
  if (extra == 1) {
    const Bytes& last = got.payloads.back();
    FUZZ_EXPECT(last.size() < kFull - 7);
    bool found = false;
    for (std::size_t q = stop; !found && q + 4 + last.size() + 8 <= consumed.size(); ++q) {
      found = tellurix::logger::StartsDataPacket(consumed.data() + q) &&
              std::equal(last.begin(), last.end(), consumed.begin() + static_cast<std::ptrdiff_t>(q + 4));
    }
    FUZZ_EXPECT(found);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  InputReader in(data, size);
  if (in.byte() % 2 == 0) {
    wellFormedDownload(in);
  } else {
    anyStream(in);
  }
  return 0;
}

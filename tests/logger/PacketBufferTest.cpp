#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "logger/PacketBuffer.h"

namespace tellurix::logger {
namespace {

using Bytes = std::vector<std::uint8_t>;

// Records whose bytes tell where they came from: record r is r, r, r ... (mod 251).
Bytes records(int first, int count) {
  Bytes bytes;
  for (int r = first; r < first + count; ++r)
    bytes.insert(bytes.end(), 16, static_cast<std::uint8_t>(r % 251));
  return bytes;
}

Bytes packet(int first, int count) {
  return BuildFrame(FrameCode::DataPacket, records(first, count));
}

Bytes readEnd() {
  return {kReadEnd.begin(), kReadEnd.end()};
}

Bytes join(std::initializer_list<Bytes> parts) {
  Bytes all;
  for (const Bytes& p : parts) all.insert(all.end(), p.begin(), p.end());
  return all;
}

// Garbage that holds no packet header: '$' pairs without the data code among other bytes.
Bytes garbage(std::size_t n) {
  Bytes g;
  for (std::size_t i = 0; i < n; ++i) g.push_back(i % 5 == 4 ? 0x11 : 0x24);
  return g;
}

struct StreamCase {
  const char* name;
  Bytes stream;
  Bytes payload;  // what must reach the log file
  bool complete;
};
void PrintTo(const StreamCase& c, std::ostream* os) {
  *os << c.name;
}

// How a stream is cut into reads.
struct Chunking {
  const char* name;
  std::vector<std::size_t> (*cuts)(std::size_t size);
};
void PrintTo(const Chunking& c, std::ostream* os) {
  *os << c.name;
}

std::vector<std::size_t> whole(std::size_t size) {
  return {size};
}
std::vector<std::size_t> bytewise(std::size_t size) {
  return std::vector<std::size_t>(size, 1);
}
std::vector<std::size_t> everyHundred(std::size_t size) {
  std::vector<std::size_t> cuts(size / 100, 100);
  if (size % 100 != 0) cuts.push_back(size % 100);
  return cuts;
}
template <unsigned Seed>
std::vector<std::size_t> random(std::size_t size) {
  std::mt19937 generator(Seed);
  std::vector<std::size_t> cuts;
  for (std::size_t left = size; left > 0;) {
    const std::size_t n = std::min(left, std::uniform_int_distribution<std::size_t>(1, 600)(generator));
    cuts.push_back(n);
    left -= n;
  }
  return cuts;
}

const StreamCase kStreams[] = {
    {"zero_records_is_read_end_alone", readEnd(), {}, true},
    {"one_full_packet_then_read_end", join({packet(0, 15), readEnd()}), records(0, 15), true},
    {"short_last_packet_with_read_end", join({packet(0, 15), packet(15, 5), readEnd()}), records(0, 20),
     true},
    {"short_last_packet_alone", join({packet(0, 1), readEnd()}), records(0, 1), true},
    {"many_packets", join({packet(0, 15), packet(15, 15), packet(30, 15), packet(45, 14), readEnd()}),
     records(0, 59), true},
    {"empty_packet_carries_nothing", join({packet(0, 15), packet(15, 0), readEnd()}), records(0, 15), true},
    {"garbage_before_the_first_packet", join({garbage(13), packet(0, 15), packet(15, 3), readEnd()}),
     records(0, 18), true},
    {"garbage_between_packets",
     join({packet(0, 15), garbage(7), packet(15, 15), garbage(1), packet(30, 15), readEnd()}), records(0, 45),
     true},
    // Longer than a packet without a header: only the last 246 bytes can still start one.
    {"long_garbage_resynchronises",
     join({garbage(700), packet(0, 15), garbage(300), packet(15, 15), readEnd()}), records(0, 30), true},
    {"no_read_end_is_not_complete", join({packet(0, 15), packet(15, 15)}), records(0, 30), false},
    // Records that happen to hold ReadEnd's eight bytes, in a full and in a short last packet.
    {"read_end_inside_a_full_packet_is_records",
     BuildFrame(FrameCode::DataPacket, join({records(0, 14), readEnd(), Bytes(8, 0)})),
     join({records(0, 14), readEnd(), Bytes(8, 0)}), false},
    {"read_end_inside_the_short_last_packet_is_records",
     join({packet(0, 15), BuildFrame(FrameCode::DataPacket, join({records(15, 3), readEnd(), Bytes(8, 0)})),
           readEnd()}),
     join({records(0, 18), readEnd(), Bytes(8, 0)}), true},
    // Garbage in front of a packet leaves the packet's header inside the held bytes, not at
    // their front: its records are still records, and a short last packet is still written.
    {"read_end_inside_a_full_packet_behind_garbage",
     join({garbage(5), BuildFrame(FrameCode::DataPacket, join({records(0, 14), readEnd(), Bytes(8, 0)})),
           packet(15, 2), readEnd()}),
     join({records(0, 14), readEnd(), Bytes(8, 0), records(15, 2)}), true},
    {"read_end_inside_the_short_last_packet_behind_garbage",
     join({garbage(5), BuildFrame(FrameCode::DataPacket, join({records(0, 3), readEnd(), Bytes(8, 0)})),
           readEnd()}),
     join({records(0, 3), readEnd(), Bytes(8, 0)}), true},
    {"short_last_packet_behind_garbage", join({garbage(9), packet(0, 3), readEnd()}), records(0, 3), true},
};

const Chunking kChunkings[] = {
    {"whole", whole},        {"bytewise", bytewise},  {"every_100", everyHundred},
    {"random_1", random<1>}, {"random_2", random<2>}, {"random_3", random<3>},
};

class ReassemblyTest : public ::testing::TestWithParam<std::tuple<StreamCase, Chunking>> {};

// However the stream is cut into reads, the same payload arrives, the held bytes stay under a
// packet, and completion comes with the last byte of ReadEnd, not before.
TEST_P(ReassemblyTest, PayloadDoesNotDependOnTheReads) {
  const auto& [stream, chunking] = GetParam();
  PacketBuffer buffer;
  Bytes written;
  const auto sink = [&written](const std::uint8_t* p, std::size_t n) {
    written.insert(written.end(), p, p + n);
  };
  std::size_t at = 0;
  bool complete = false;
  for (const std::size_t n : chunking.cuts(stream.stream.size())) {
    ASSERT_FALSE(complete) << "completed before byte " << at;
    complete = buffer.Take({stream.stream.data() + at, n}, sink);
    at += n;
    ASSERT_LT(buffer.Held().size(), kFullPacketLength);
  }
  EXPECT_EQ(complete, stream.complete);
  EXPECT_EQ(written, stream.payload);
}

INSTANTIATE_TEST_SUITE_P(Streams, ReassemblyTest,
                         ::testing::Combine(::testing::ValuesIn(kStreams), ::testing::ValuesIn(kChunkings)),
                         [](const auto& info) {
                           return std::string(std::get<0>(info.param).name) + "__" +
                                  std::get<1>(info.param).name;
                         });

class PacketBufferTest : public ::testing::Test {
 protected:
  bool take(const Bytes& block) {
    return buffer.Take(
        block, [this](const std::uint8_t* p, std::size_t n) { written.insert(written.end(), p, p + n); });
  }
  PacketBuffer buffer;
  Bytes written;
};

TEST_F(PacketBufferTest, ExactlyOnePacketHeldIsTakenAtOnce) {
  EXPECT_FALSE(take(packet(0, 15)));
  EXPECT_EQ(written, records(0, 15));
  EXPECT_TRUE(buffer.Held().empty());
}

TEST_F(PacketBufferTest, SplitPacketIsHeldUntilItsRestArrives) {
  const Bytes p = packet(0, 15);
  EXPECT_FALSE(take(Bytes(p.begin(), p.begin() + 200)));
  EXPECT_TRUE(written.empty());
  EXPECT_EQ(buffer.Held().size(), 200U);
  EXPECT_FALSE(take(Bytes(p.begin() + 200, p.end())));
  EXPECT_EQ(written, records(0, 15));
}

TEST_F(PacketBufferTest, ShortLastPacketIsWrittenWithReadEnd) {
  const Bytes last = join({packet(0, 5), readEnd()});
  ASSERT_EQ(last.size(), 95U);  // Length 87 and ReadEnd
  EXPECT_TRUE(take(last));
  EXPECT_EQ(written.size(), 80U);
}

TEST_F(PacketBufferTest, FullLastPacketLeavesOnlyReadEndHeld) {
  EXPECT_TRUE(take(join({packet(0, 15), readEnd()})));
  EXPECT_EQ(written, records(0, 15));
  EXPECT_EQ(Bytes(buffer.Held().begin(), buffer.Held().end()), readEnd());
}

TEST_F(PacketBufferTest, HeaderInsideAPacketIsPayload) {
  // The scan jumps a whole packet: a header pattern among its records is no packet.
  Bytes inner = records(0, 15);
  inner[16] = 0x24;
  inner[17] = 0x24;
  inner[18] = 0xF7;
  inner[19] = 0x03;
  EXPECT_TRUE(take(join({BuildFrame(FrameCode::DataPacket, inner), packet(15, 15), readEnd()})));
  EXPECT_EQ(written, join({inner, records(15, 15)}));
}

TEST_F(PacketBufferTest, LengthByteNeverReachesBeyondItsPacket) {
  // A full slot whose Length claims 248 payload bytes takes only the 240 it occupies.
  Bytes full = packet(0, 15);
  full[2] = 0xFF;
  EXPECT_TRUE(take(join({full, packet(15, 2), readEnd()})));
  EXPECT_EQ(written, records(0, 17));
}

TEST_F(PacketBufferTest, ShortPacketClaimingMoreIsAwaited) {
  // Its Length says more is to come, so the ReadEnd-like tail is still its payload.
  Bytes last = packet(0, 2);
  last[2] = 0xF0;
  EXPECT_FALSE(take(join({last, readEnd()})));
  EXPECT_TRUE(written.empty());
}

TEST_F(PacketBufferTest, BlockLargerThanOneReadIsTakenInPieces) {
  Bytes stream;
  for (int p = 0; p < 40; ++p) stream = join({stream, packet(p * 15, 15)});
  stream = join({stream, readEnd()});
  ASSERT_GT(stream.size(), PacketBuffer::kMaxBlock);
  EXPECT_TRUE(take(stream));
  EXPECT_EQ(written, records(0, 600));
}

}  // namespace
}  // namespace tellurix::logger

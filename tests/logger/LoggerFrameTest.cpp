#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "logger/LoggerFrame.h"

namespace tellurix::logger {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes bytesOf(std::string_view text) {
  return {text.begin(), text.end()};
}
Bytes operator+(Bytes a, const Bytes& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}
template <std::size_t N>
Bytes bytesOf(const std::array<std::uint8_t, N>& frame) {
  return {frame.begin(), frame.end()};
}

struct ConstantCase {
  const char* name;
  FrameCode code;
  Bytes payload;
  Bytes constant;
};
void PrintTo(const ConstantCase& c, std::ostream* os) {
  *os << c.name;
}

class FrameConstantTest : public ::testing::TestWithParam<ConstantCase> {};

// The constants are what the builder makes of their command and payload, and what the
// logger documents, byte for byte.
TEST_P(FrameConstantTest, BuilderAndConstantAgree) {
  EXPECT_EQ(BuildFrame(GetParam().code, GetParam().payload), GetParam().constant);
}

INSTANTIATE_TEST_SUITE_P(
    Frames, FrameConstantTest,
    ::testing::Values(ConstantCase{"QueryRecord", FrameCode::QueryRecord, {}, bytesOf(kQueryRecord)},
                      ConstantCase{"StartRead", FrameCode::StartRead, {0x01, 0x08}, bytesOf(kStartRead)},
                      ConstantCase{"EndSession", FrameCode::EndSession, {}, bytesOf(kEndSession)},
                      ConstantCase{"ClearMemory", FrameCode::ClearMemory, {}, bytesOf(kClearMemory)},
                      ConstantCase{"ReadEnd", FrameCode::ReadEnd, {0x02}, bytesOf(kReadEnd)},
                      ConstantCase{"literal_EndSession",
                                   FrameCode::EndSession,
                                   {},
                                   {0x24, 0x24, 0x07, 0x0D, 0x0A, 0x0D, 0x0A}},
                      ConstantCase{"literal_ReadEnd_has_zero_checksum",
                                   FrameCode::ReadEnd,
                                   {0x02},
                                   {0x24, 0x24, 0x08, 0x0A, 0x02, 0x00, 0x0D, 0x0A}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(FrameChecksumTest, IsTheXorOfLengthCommandAndPayload) {
  const Bytes payload{0x01, 0x08};
  EXPECT_EQ(FrameChecksum(0x09, 0x02, payload), 0x02);
  EXPECT_EQ(FrameChecksum(0x07, 0x08, {}), 0x0F);
  EXPECT_EQ(FrameChecksum(0x08, 0x0A, Bytes{0x02}), 0x00);
}

TEST(FrameBuilderTest, AFullDataPacketIs247Bytes) {
  const Bytes frame = BuildFrame(FrameCode::DataPacket, Bytes(240, 0xAB));
  ASSERT_EQ(frame.size(), kFullPacketLength);
  EXPECT_EQ(frame[2], 0xF7);
  EXPECT_TRUE(StartsDataPacket(frame.data()));
  EXPECT_THROW(BuildFrame(FrameCode::DataPacket, Bytes(249, 0)), std::length_error);
}

TEST(CommandModeTest, SwitchIsNineteenBytesWithCrLf) {
  EXPECT_EQ(kCommandModeSwitch.size(), 19U);
  EXPECT_EQ(kCommandModeSwitch.substr(17), "\r\n");
}

struct RecogniseCase {
  const char* name;
  Bytes block;
  bool nmea;
  bool ack;
  std::optional<std::uint32_t> count;
  std::optional<std::string> userId;
};
void PrintTo(const RecogniseCase& c, std::ostream* os) {
  *os << c.name;
}

Bytes countReply(std::uint8_t b8, std::uint8_t b9, std::uint8_t b10, std::uint8_t b11) {
  return {0x24, 0x24, 0x13, 0x09, 0xAA, 0xBB, 0xCC, 0xDD, b8, b9, b10, b11, 0, 0, 0, 0, 0x5C, 0x0D, 0x0A};
}
Bytes userIdReply(const std::string& id) {
  Bytes payload(32, 0x00);
  std::copy(id.begin(), id.end(), payload.begin());
  return BuildFrame(FrameCode::UserIdReply, payload);
}

class RecogniserTest : public ::testing::TestWithParam<RecogniseCase> {};

TEST_P(RecogniserTest, FindsWhatTheBlockHolds) {
  const RecogniseCase& c = GetParam();
  EXPECT_EQ(HasNmeaStream(c.block), c.nmea);
  EXPECT_EQ(HasCommandModeAck(c.block), c.ack);
  EXPECT_EQ(FindRecordCount(c.block), c.count);
  EXPECT_EQ(FindUserId(c.block), c.userId);
}

INSTANTIATE_TEST_SUITE_P(
    Blocks, RecogniserTest,
    ::testing::Values(
        RecogniseCase{"empty", {}, false, false, std::nullopt, std::nullopt},
        RecogniseCase{"nmea_after_zero_bytes", Bytes{0x00, 0x00} + bytesOf("\r\n$GPGGA,1"), true, false,
                      std::nullopt, std::nullopt},
        RecogniseCase{"ack_without_crlf_at_block_end", bytesOf("$GPRMC,x*00\r\n$PSRFTXT,1,2,2*52"), true,
                      true, std::nullopt, std::nullopt},
        RecogniseCase{"ack_cut_short_is_none", bytesOf("$PSRFTXT,1,2,2*5"), false, false, std::nullopt,
                      std::nullopt},
        RecogniseCase{"count_with_high_bytes_zero_is_300", Bytes{0x00} + countReply(0x00, 0x00, 0x01, 0x2C),
                      false, false, 300U, std::nullopt},
        RecogniseCase{"count_is_unsigned_32_bit", countReply(0xFF, 0x00, 0x00, 0x01), false, false,
                      0xFF000001U, std::nullopt},
        RecogniseCase{"last_count_wins", countReply(0, 0, 0, 5) + countReply(0, 0, 0, 7), false, false, 7U,
                      std::nullopt},
        RecogniseCase{"count_cut_before_its_digits_is_none",
                      Bytes{0x24, 0x24, 0x13, 0x09, 0, 0, 0, 0, 0, 0, 1}, false, false, std::nullopt,
                      std::nullopt},
        RecogniseCase{"user_id_ends_at_zero", bytesOf("\r\n") + userIdReply("FLEET-07"), false, false,
                      std::nullopt, std::string("FLEET-07")},
        RecogniseCase{"user_id_of_32_characters", userIdReply(std::string(32, 'Q')), false, false,
                      std::nullopt, std::string(32, 'Q')},
        RecogniseCase{"empty_user_id", userIdReply(""), false, false, std::nullopt, std::string()},
        RecogniseCase{"first_user_id_wins", userIdReply("A") + userIdReply("B"), false, false, std::nullopt,
                      std::string("A")},
        RecogniseCase{"user_id_cut_short_is_none", Bytes{0x24, 0x24, 0x27, 0x0E} + bytesOf("HALF"), false,
                      false, std::nullopt, std::nullopt}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ReadEndTest, IsRecognisedOnlyAsTheLastEightBytes) {
  const Bytes end = bytesOf(kReadEnd);
  EXPECT_TRUE(EndsWithReadEnd(end));
  EXPECT_TRUE(EndsWithReadEnd(Bytes{1, 2, 3} + end));
  EXPECT_FALSE(EndsWithReadEnd(end + Bytes{0x00}));
  EXPECT_FALSE(EndsWithReadEnd(Bytes(end.begin() + 1, end.end())));
}

}  // namespace
}  // namespace tellurix::logger

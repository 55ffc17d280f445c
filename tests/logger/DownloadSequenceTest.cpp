#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "LoggerScript.h"
#include "ScriptedLink.h"
#include "logger/LoggerFrame.h"
#include "logger/Readrs232.h"
#include "support/LogBuilder.h"
#include "support/TestFiles.h"
#include "tools/headless/HeadlessWindow.h"
#include "tracklog/LogRecord.h"

namespace tellurix::logger {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using headless::HeadlessWindow;
using testing::Bytes;
using testing::bytesOf;
using testing::countReply;
using testing::fix;
using testing::join;
using testing::recordsOf;
using testing::streamOf;
using testing::userIdReply;

// Whether each of `frame`'s bytes went out in a write call of its own, at `speed`.
::testing::AssertionResult sentBytewise(const std::vector<testing::ScriptedLink::Written>& writes,
                                        const Bytes& frame, LineSpeed speed) {
  for (std::size_t start = 0; start + frame.size() <= writes.size(); ++start) {
    bool all = true;
    for (std::size_t i = 0; i < frame.size() && all; ++i) {
      all = writes[start + i].bytes == Bytes{frame[i]} && writes[start + i].speed == speed;
    }
    if (all) return ::testing::AssertionSuccess();
  }
  return ::testing::AssertionFailure() << "frame not written one byte per call at that speed";
}

// A window, a scripted logger and the sequence between them, in a folder of its own.
struct Rig {
  explicit Rig(const std::string& folder) : sequence(link, window, window.Poster(), clock, folder) {}

  // Runs the window until the sequence reaches `phase` (or stalls).
  bool runTo(DownloadPhase phase, std::chrono::milliseconds limit = 5s) {
    return window.RunUntil(
               sequence,
               [&] { return sequence.Phase() == phase || sequence.Phase() == DownloadPhase::Stalled; },
               limit) &&
           sequence.Phase() == phase;
  }
  // Probe and Timer2 with a logger already in command mode, then the count: the reader runs.
  void startReading(std::optional<std::uint32_t> reported) {
    sequence.Probe();
    sequence.Timer2Tick();
    if (reported) link.Arrive(countReply(*reported));
    sequence.QueryRecordTick();
  }
  [[nodiscard]] const TRead232* reader() const { return sequence.Reader(); }
  std::vector<std::string> eventsAfter(const std::string& first) const {
    const auto at = std::find(window.events.begin(), window.events.end(), first);
    return at == window.events.end() ? std::vector<std::string>{}
                                     : std::vector<std::string>(at + 1, window.events.end());
  }

  testing::ScriptedLink link;
  testing::RecordingClock clock;
  HeadlessWindow window;
  DownloadSequence sequence;
};

class DownloadSequenceTest : public ::testing::Test {
 protected:
  std::string logPath() const { return dir.file("LOGDATA.BIN"); }
  testing::TempDir dir;
  Rig rig{dir.path().string()};
};

struct ProbeCase {
  const char* name;
  Bytes waiting;
  bool switched;
  std::vector<long> waits;
  DownloadPhase phase;
};
void PrintTo(const ProbeCase& c, std::ostream* os) {
  *os << c.name;
}

class ProbeTest : public ::testing::TestWithParam<ProbeCase> {};

TEST_P(ProbeTest, SwitchesOnlyAStreamingLogger) {
  const ProbeCase& c = GetParam();
  testing::TempDir dir;
  Rig rig(dir.path().string());
  rig.link.Arrive(c.waiting);
  rig.sequence.Probe();

  const bool stalled = c.phase == DownloadPhase::Stalled;
  EXPECT_EQ(rig.sequence.Phase(), c.phase);
  EXPECT_EQ(rig.clock.Waits(), c.waits);
  const auto writes = rig.link.Writes();
  if (c.switched) {
    ASSERT_EQ(writes.size(), 1U) << "the switch goes out in one write";
    EXPECT_EQ(writes[0].bytes, bytesOf(kCommandModeSwitch));
  } else {
    EXPECT_TRUE(writes.empty());
  }
  EXPECT_EQ(rig.window.TimerRunning(DownloadTimer::Timer2), !stalled);
  EXPECT_EQ(rig.window.chartPreferenceLoaded, !stalled);
  EXPECT_EQ(rig.sequence.Reader() != nullptr, !stalled);
  EXPECT_EQ(rig.link.Discards(), stalled ? 1 : 0);
}

INSTANTIATE_TEST_SUITE_P(
    Waiting, ProbeTest,
    ::testing::Values(
        ProbeCase{"nmea_after_zero_bytes",
                  join({Bytes{0, 0}, bytesOf("$GPGGA,053015.000,2502.0340,N*5C\r\n")}),
                  true,
                  {1000, 2000},
                  DownloadPhase::AwaitAck},
        ProbeCase{"nothing_waiting", {}, false, {1000}, DownloadPhase::AwaitAck},
        ProbeCase{"other_bytes", bytesOf("$PSRFTXT,1,2,2*52\r\n"), false, {1000}, DownloadPhase::AwaitAck},
        ProbeCase{"4096_waiting_are_read",
                  join({Bytes(4093, 'x'), bytesOf("$GP")}),
                  true,
                  {1000, 2000},
                  DownloadPhase::AwaitAck},
        ProbeCase{"4097_waiting_end_the_start_up", Bytes(4097, 'x'), false, {1000}, DownloadPhase::Stalled}),
    [](const auto& info) { return std::string(info.param.name); });

struct AckCase {
  const char* name;
  Bytes waiting;
  std::optional<std::size_t> reportWaiting;  // pretend this many are waiting
  DownloadPhase phase;
};
void PrintTo(const AckCase& c, std::ostream* os) {
  *os << c.name;
}

class Timer2Test : public ::testing::TestWithParam<AckCase> {};

TEST_P(Timer2Test, QueriesOnlyALoggerInCommandMode) {
  const AckCase& c = GetParam();
  testing::TempDir dir;
  testing::writeFile(dir.path() / "LOGDATA.BIN", "previous");
  Rig rig(dir.path().string());
  rig.sequence.Probe();
  rig.link.Arrive(c.waiting);
  if (c.reportWaiting) rig.link.ReportWaiting(*c.reportWaiting);
  rig.sequence.Timer2Tick();

  EXPECT_EQ(rig.sequence.Phase(), c.phase);
  const bool queried = c.phase == DownloadPhase::AwaitCount;
  if (queried) {
    EXPECT_TRUE(sentBytewise(rig.link.Writes(), bytesOf(kQueryRecord), LineSpeed::Baud4800));
    EXPECT_EQ(rig.clock.Waits().back(), 300);
  } else {
    EXPECT_TRUE(rig.link.Writes().empty());
  }
  EXPECT_EQ(rig.window.TimerRunning(DownloadTimer::Timer2), c.phase == DownloadPhase::AwaitAck);
  EXPECT_EQ(rig.window.TimerRunning(DownloadTimer::QueryRecord), queried);
  EXPECT_EQ(fs::exists(rig.sequence.PartPath()), queried);
  EXPECT_EQ(testing::readFile(dir.path() / "LOGDATA.BIN"), "previous")
      << "the log is replaced only at completion";
}

INSTANTIATE_TEST_SUITE_P(
    Waiting, Timer2Test,
    ::testing::Values(AckCase{"nothing_waiting", {}, std::nullopt, DownloadPhase::AwaitCount},
                      AckCase{"ack_after_nmea", bytesOf("$GPRMC,1*00\r\n$PSRFTXT,1,2,2*52"), std::nullopt,
                              DownloadPhase::AwaitCount},
                      AckCase{"nmea_without_ack", bytesOf("$GPRMC,1*00\r\n"), std::nullopt,
                              DownloadPhase::Stalled},
                      AckCase{"overflow_tries_again", {}, 4097, DownloadPhase::AwaitAck}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(DownloadFileTest, UnwritableFolderIsFatal) {
  Rig rig("/nonexistent/tellurix");
  rig.sequence.Probe();
  try {
    rig.sequence.Timer2Tick();
    FAIL() << "no error";
  } catch (const tracklog::FatalError& error) {
    EXPECT_STREQ(error.what(), "BINFILE file write open error");
    EXPECT_EQ(error.exitCode(), 1);
  }
}

TEST_F(DownloadSequenceTest, LastRecordCountWinsAndStartReadFollowsAtOldSpeed) {
  rig.sequence.Probe();
  rig.sequence.Timer2Tick();
  rig.link.Arrive(join({countReply(5), bytesOf("\r\n"), countReply(300)}));
  rig.sequence.QueryRecordTick();

  EXPECT_EQ(rig.sequence.Counters().ReportedRecordCount, 300U);
  EXPECT_TRUE(sentBytewise(rig.link.Writes(), bytesOf(kStartRead), LineSpeed::Baud4800));
  EXPECT_EQ(rig.link.Discards(), 1);
  EXPECT_EQ(rig.clock.Waits().back(), 100);
  EXPECT_EQ(rig.link.Speeds(), std::vector<LineSpeed>{LineSpeed::Baud921600});
  EXPECT_FALSE(rig.window.TimerRunning(DownloadTimer::QueryRecord));
  EXPECT_TRUE(rig.window.TimerRunning(DownloadTimer::Timer3));
  EXPECT_EQ(rig.sequence.Phase(), DownloadPhase::Reading);
}

TEST_F(DownloadSequenceTest, NoCountStillStartsTheTransfer) {
  rig.startReading(std::nullopt);
  EXPECT_EQ(rig.sequence.Counters().ReportedRecordCount, 0U);
  EXPECT_EQ(rig.sequence.Phase(), DownloadPhase::Reading);
  rig.sequence.Timer3Tick();
  EXPECT_EQ(rig.window.progress, 0);
}

// What the window shows once the completion's jobs have run: the commands, the figures, the
// log's span in the filter and in Reset's snapshot, and the final status, which no progress
// tick overwrites. Make Report can be clicked only once the new log is in place.
TEST_F(DownloadSequenceTest, CompletionReplacesTheLogAndShowsItsFigures) {
  testing::writeFile(logPath(), "previous");
  const Bytes records = recordsOf(testing::straightDrive(fix(25, 121, 0, 2010, 9, 9, 5, 3, 7), 20, 10, 50));
  const Bytes stream = streamOf(records);
  std::string logWhenEnabled;
  rig.window.observer = [&](const std::string& event) {
    if (event == "Enable btnOK") logWhenEnabled = testing::readFile(logPath());
  };
  rig.startReading(20);
  // A packet cut in two, then the short last packet with ReadEnd split off its last byte.
  rig.link.Arrive(Bytes(stream.begin(), stream.begin() + 100));
  rig.link.Arrive(Bytes(stream.begin() + 100, stream.end() - 1));
  rig.link.Arrive(Bytes(stream.end() - 1, stream.end()));
  ASSERT_TRUE(rig.runTo(DownloadPhase::AwaitUserId));
  ASSERT_TRUE(rig.window.RunUntil(
      rig.sequence, [&] { return rig.window.TimerRunning(DownloadTimer::Timer1); }, 5s));

  const std::string log(records.begin(), records.end());
  EXPECT_TRUE(testing::sameBytes(log, testing::readFile(logPath())));
  EXPECT_TRUE(testing::sameBytes(log, logWhenEnabled));
  EXPECT_FALSE(fs::exists(rig.sequence.PartPath()));
  const DownloadCounters& c = rig.sequence.Counters();
  EXPECT_EQ(c.ReceivedByteCount.load(), 320U);
  EXPECT_EQ(c.StoredRecordCount, 20U);
  EXPECT_EQ(c.MemoryUsePercent, 0U);

  const HeadlessWindow& w = rig.window;
  EXPECT_EQ(w.enabled,
            (std::vector<CommandButton>{CommandButton::Ok, CommandButton::Close, CommandButton::SetTimeZone,
                                        CommandButton::Clear, CommandButton::Reset}));
  EXPECT_EQ(w.recordCount, "20");
  EXPECT_EQ(w.percentage, "0 %");
  EXPECT_EQ(w.progress, 0);  // the memory use, not the transfer's 100
  EXPECT_EQ(w.logStart, (LogTime{"2010", " 9", " 9", " 5", " 3", " 7"}));
  EXPECT_EQ(w.logEnd, (LogTime{"2010", " 9", " 9", " 5", " 3", "26"}));
  EXPECT_EQ(w.resetFilter, w.filter) << "Reset goes back to the filled filter";
  EXPECT_EQ(w.status, "100% Read Complete");
  EXPECT_EQ(w.statusColour, StatusColour::Red);
  EXPECT_FALSE(w.TimerRunning(DownloadTimer::Timer3));
  // The reader notes how it ended only after the completion it ran.
  ASSERT_TRUE(rig.window.RunUntil(
      rig.sequence, [&] { return rig.reader()->Finished(); }, 5s));
  EXPECT_EQ(rig.reader()->End(), ReaderEnd::Completed);

  // EndSession leaves at 921600 before the line returns to 4800.
  EXPECT_TRUE(sentBytewise(rig.link.Writes(), bytesOf(kEndSession), LineSpeed::Baud921600));
  EXPECT_EQ(rig.link.Speeds(), (std::vector<LineSpeed>{LineSpeed::Baud921600, LineSpeed::Baud4800}));
}

TEST_F(DownloadSequenceTest, LoggerWithoutRecordsGivesAnEmptyLog) {
  testing::writeFile(logPath(), "previous");
  rig.startReading(0);
  rig.link.Arrive(bytesOf(kReadEnd));
  ASSERT_TRUE(rig.runTo(DownloadPhase::AwaitUserId));

  EXPECT_EQ(testing::readFile(logPath()), "");
  EXPECT_EQ(rig.sequence.Counters().StoredRecordCount, 0U);
  EXPECT_EQ(rig.window.recordCount, "0");
  EXPECT_EQ(rig.window.percentage, "0 %");
  EXPECT_EQ(rig.window.logStart, (LogTime{"2000", " 0", " 0", " 0", " 0", " 0"}));
  EXPECT_EQ(rig.window.logEnd, EmptyLogTime());
}

struct StallCase {
  const char* name;
  bool overrun;  // else the line is lost
  ReaderEnd end;
};
void PrintTo(const StallCase& c, std::ostream* os) {
  *os << c.name;
}

class StallTest : public ::testing::TestWithParam<StallCase> {};

// A transfer that ends early leaves the previous log as it was and nothing beside it.
TEST_P(StallTest, KeepsThePreviousLog) {
  testing::TempDir dir;
  testing::writeFile(dir.path() / "LOGDATA.BIN", "previous");
  {
    Rig rig(dir.path().string());
    rig.startReading(300);
    const Bytes stream = streamOf(Bytes(240 * 3, 0x11));
    rig.link.Arrive(Bytes(stream.begin(), stream.begin() + 600));
    if (GetParam().overrun) {
      rig.link.ReportWaiting(PacketBuffer::kMaxBlock + 1);
    } else {
      rig.link.LoseLine();
    }
    ASSERT_FALSE(rig.runTo(DownloadPhase::AwaitUserId, 3s));
    EXPECT_EQ(rig.sequence.Phase(), DownloadPhase::Stalled);
    EXPECT_EQ(rig.reader()->End(), GetParam().end);
    EXPECT_LT(rig.reader()->Rounds(), 10U) << "the reader ends instead of polling on";
    EXPECT_EQ(rig.link.Discards(), GetParam().overrun ? 2 : 1);
    EXPECT_TRUE(rig.window.TimerRunning(DownloadTimer::Timer3)) << "the window keeps showing the last figure";
    EXPECT_TRUE(rig.window.enabled.empty());
  }
  EXPECT_EQ(testing::readFile(dir.path() / "LOGDATA.BIN"), "previous");
  EXPECT_FALSE(fs::exists(dir.path() / "LOGDATA.BIN.part"));
}

INSTANTIATE_TEST_SUITE_P(Ends, StallTest,
                         ::testing::Values(StallCase{"overrun", true, ReaderEnd::Overrun},
                                           StallCase{"cable_pulled", false, ReaderEnd::LineLost}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(DownloadSequenceTest, ProgressShowsThePreviousTicksFigure) {
  rig.sequence.Counters().ReportedRecordCount = 1000;
  rig.sequence.Counters().ReceivedByteCount = 8000;
  rig.sequence.Timer3Tick();
  EXPECT_EQ(rig.window.status, "0% Reading...... ");
  EXPECT_EQ(rig.window.progress, 50);
  rig.sequence.Timer3Tick();
  EXPECT_EQ(rig.window.status, "50% Reading...... ");
  EXPECT_EQ(rig.window.statusColour, StatusColour::Black);
}

class AfterDownloadTest : public DownloadSequenceTest {
 protected:
  AfterDownloadTest() {
    rig.startReading(0);
    rig.link.Arrive(bytesOf(kReadEnd));
    EXPECT_TRUE(rig.runTo(DownloadPhase::AwaitUserId));
  }
};

TEST_F(AfterDownloadTest, UserIdSplitBetweenTwoTicksIsFound) {
  const Bytes reply = join({bytesOf("\r\n"), userIdReply("FLEET-07")});
  rig.link.Arrive(Bytes(reply.begin(), reply.begin() + 9));
  rig.sequence.Timer1Tick();
  EXPECT_EQ(rig.sequence.Phase(), DownloadPhase::AwaitUserId);
  rig.link.Arrive(Bytes(reply.begin() + 9, reply.end()));
  rig.sequence.Timer1Tick();
  EXPECT_EQ(rig.sequence.Phase(), DownloadPhase::Ready);
  EXPECT_EQ(rig.sequence.Counters().UserId, "FLEET-07");
  EXPECT_EQ(rig.window.userId, "FLEET-07");
  EXPECT_FALSE(rig.window.TimerRunning(DownloadTimer::Timer1));
}

TEST_F(AfterDownloadTest, EmptyUserIdLeavesTheLabel) {
  rig.link.Arrive(userIdReply(""));
  rig.sequence.Timer1Tick();
  EXPECT_EQ(rig.sequence.Phase(), DownloadPhase::Ready);
  EXPECT_EQ(rig.eventsAfter("StartTimer Timer1"), std::vector<std::string>{"StopTimer Timer1"});
}

TEST_F(AfterDownloadTest, OverflowKeepsWaitingForTheUserId) {
  rig.link.ReportWaiting(4097);
  rig.sequence.Timer1Tick();
  EXPECT_EQ(rig.sequence.Phase(), DownloadPhase::AwaitUserId);
  EXPECT_TRUE(rig.window.TimerRunning(DownloadTimer::Timer1));
}

struct ClearCase {
  const char* name;
  bool yes;
};
void PrintTo(const ClearCase& c, std::ostream* os) {
  *os << c.name;
}

class ClearTest : public ::testing::TestWithParam<ClearCase> {};

TEST_P(ClearTest, ErasesOnlyAfterYes) {
  testing::TempDir dir;
  Rig rig(dir.path().string());
  rig.startReading(0);
  rig.link.Arrive(bytesOf(kReadEnd));
  ASSERT_TRUE(rig.runTo(DownloadPhase::AwaitUserId));
  const std::size_t writesBefore = rig.link.Writes().size();
  rig.window.answer = GetParam().yes;
  rig.sequence.Clear();

  EXPECT_EQ(rig.window.questions,
            std::vector<std::string>{"Note: Are you sure to clear the logging memory?"});
  const auto writes = rig.link.Writes();
  if (GetParam().yes) {
    EXPECT_TRUE(sentBytewise(writes, bytesOf(kClearMemory), LineSpeed::Baud4800));
    EXPECT_EQ(rig.window.recordCount, "0");
    EXPECT_EQ(rig.window.percentage, "0%") << "no blank, unlike the completion's";
  } else {
    EXPECT_EQ(writes.size(), writesBefore);
    EXPECT_EQ(rig.window.percentage, "0 %");
  }
}

INSTANTIATE_TEST_SUITE_P(Answers, ClearTest,
                         ::testing::Values(ClearCase{"yes", true}, ClearCase{"no", false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(DownloadSequenceTest, ClearWaitsUntilThePortIsHandedBack) {
  rig.startReading(10);
  rig.sequence.Clear();
  EXPECT_TRUE(rig.window.questions.empty());
}

struct PercentCase {
  const char* name;
  std::uint32_t received;
  std::uint32_t reported;
  std::uint32_t percent;
};
void PrintTo(const PercentCase& c, std::ostream* os) {
  *os << c.name;
}

class ProgressPercentTest : public ::testing::TestWithParam<PercentCase> {};

TEST_P(ProgressPercentTest, IsUnsigned32BitArithmetic) {
  EXPECT_EQ(ProgressPercent(GetParam().received, GetParam().reported), GetParam().percent);
}

INSTANTIATE_TEST_SUITE_P(
    Figures, ProgressPercentTest,
    ::testing::Values(PercentCase{"half_of_1000_records", 8000, 1000, 50},
                      PercentCase{"no_count", 8000, 0, 0}, PercentCase{"truncated", 15999, 1000, 99},
                      PercentCase{"all", 16000, 1000, 100},
                      // 2^28 records are 2^32 bytes, which wraps to 0: no division by zero.
                      PercentCase{"count_whose_bytes_wrap_to_zero", 8000, 0x10000000, 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(MemoryUsePercentTest, IsTruncatedOnTheCapacityOf131071) {
  EXPECT_EQ(MemoryUsePercentOf(13107), 9U);
  EXPECT_EQ(MemoryUsePercentOf(1310), 0U);
  EXPECT_EQ(MemoryUsePercentOf(1311), 1U);
  EXPECT_EQ(MemoryUsePercentOf(131071), 100U);
}

TEST(LogTimeTest, FieldsAreCutFromTheBlankPaddedText) {
  EXPECT_EQ(LogTimeOf(fix(0, 0, 0, 2010, 12, 9, 23, 5, 0)), (LogTime{"2010", "12", " 9", "23", " 5", " 0"}));
  EXPECT_EQ(EmptyLogTime(), (LogTime{"2000", " 0", " 0", " 0", " 0", " 0"}));
}

}  // namespace
}  // namespace tellurix::logger

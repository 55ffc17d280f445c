#include <fcntl.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "SimulatorProcess.h"
#include "logger/Readrs232.h"
#include "platform/LoggerPort.h"
#include "support/TestFiles.h"
#include "tools/demotrack/DemoTrack.h"
#include "tools/headless/HeadlessWindow.h"

namespace tellurix::logger {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using headless::HeadlessWindow;
using platform::OpenLoggerLink;

// The sequence's waits a tenth as long; the reader's 20 ms rhythm as it is.
class ShortClock final : public Clock {
 public:
  void SleepFor(std::chrono::milliseconds d) override {
    std::this_thread::sleep_for(d >= 100ms ? d / 10 : d);
  }
};

// The program's side: the port the simulator offers, a window and the download.
class Program {
 public:
  Program(const std::string& port, const std::string& folder) {
    auto opened = OpenLoggerLink(port);
    if (auto* failure = std::get_if<LinkFailure>(&opened)) {
      ADD_FAILURE() << failure->text;
      return;
    }
    port_ = std::move(std::get<std::unique_ptr<platform::SerialPort>>(opened));
    sequence = std::make_unique<DownloadSequence>(*port_, window, window.Poster(), clock_, folder);
    sequence->Probe();
  }

  bool runTo(DownloadPhase phase, std::chrono::milliseconds limit = 30s) {
    if (!sequence) return false;
    return window.RunUntil(
               *sequence,
               [&] { return sequence->Phase() == phase || sequence->Phase() == DownloadPhase::Stalled; },
               limit) &&
           sequence->Phase() == phase;
  }

  HeadlessWindow window;
  std::unique_ptr<DownloadSequence> sequence;

 private:
  ShortClock clock_;
  std::unique_ptr<platform::SerialPort> port_;
};

class SimulatorDownloadTest : public ::testing::Test {
 protected:
  // A logger memory of `records` demo records.
  std::vector<tracklog::TrackPoint> fillMemory(std::uint32_t records) {
    demotrack::DemoTrackOptions options;
    options.records = records;
    auto points = demotrack::makeDemoTrack(options);
    EXPECT_TRUE(demotrack::writeLogFile(memory(), points));
    return points;
  }
  std::vector<std::string> frames() const {
    std::vector<std::string> lines;
    std::string all = testing::readFile(dir.file("frames.txt"));
    for (std::size_t at = 0; at < all.size();) {
      const std::size_t end = all.find('\n', at);
      lines.push_back(all.substr(at, end - at));
      at = end == std::string::npos ? all.size() : end + 1;
    }
    return lines;
  }
  std::string link() const { return dir.file("ttyLOGGER"); }
  std::string memory() const { return dir.file("memory.bin"); }
  std::string logPath() const { return dir.file("LOGDATA.BIN"); }
  std::vector<std::string> simulatorOptions(const std::vector<std::string>& more) const {
    std::vector<std::string> options{"--log",     memory(),  "--frames", dir.file("frames.txt"),
                                     "--user-id", "FLEET-07"};
    options.insert(options.end(), more.begin(), more.end());
    return options;
  }

  testing::TempDir dir;
};

struct SizeCase {
  const char* name;
  std::uint32_t records;
  std::uint32_t memoryUse;
};
void PrintTo(const SizeCase& c, std::ostream* os) {
  *os << c.name;
}

class SimulatorSizeTest : public SimulatorDownloadTest, public ::testing::WithParamInterface<SizeCase> {};

TEST_P(SimulatorSizeTest, DownloadsTheWholeMemoryInRandomPieces) {
  const auto points = fillMemory(GetParam().records);
  testing::SimulatorProcess simulator(link(), simulatorOptions({"--split", "5"}));
  ASSERT_TRUE(simulator.Ready());
  Program program(link(), dir.path().string());
  ASSERT_TRUE(program.runTo(DownloadPhase::Ready))
      << "stopped in phase " << static_cast<int>(program.sequence->Phase());

  EXPECT_TRUE(testing::sameBytes(testing::readFile(memory()), testing::readFile(logPath())));
  const DownloadCounters& c = program.sequence->Counters();
  EXPECT_EQ(c.ReportedRecordCount, GetParam().records);
  EXPECT_EQ(c.ReceivedByteCount.load(), GetParam().records * 16);
  EXPECT_EQ(c.StoredRecordCount, GetParam().records);
  EXPECT_EQ(c.MemoryUsePercent, GetParam().memoryUse);
  EXPECT_EQ(program.window.logStart, LogTimeOf(points.front()));
  EXPECT_EQ(program.window.logEnd, LogTimeOf(points.back()));
  EXPECT_EQ(c.UserId, "FLEET-07");

  const HeadlessWindow& w = program.window;
  EXPECT_EQ(w.recordCount, std::to_string(GetParam().records));
  EXPECT_EQ(w.percentage, std::to_string(GetParam().memoryUse) + " %");
  EXPECT_EQ(w.progress, static_cast<int>(GetParam().memoryUse));
  EXPECT_EQ(w.status, "100% Read Complete");
  EXPECT_EQ(w.userId, "FLEET-07");
  EXPECT_EQ(w.enabled.size(), 5U);

  // What the logger received, and at which speed; nothing arrived at a speed the host had left.
  const std::vector<std::string> received = frames();
  ASSERT_EQ(received.size(), 4U) << testing::readFile(dir.file("frames.txt"));
  EXPECT_EQ(received[0], "4800 CommandModeSwitch");
  EXPECT_EQ(received[1], "4800 QueryRecord 24 24 07 08 0F 0D 0A");
  EXPECT_EQ(received[2], "4800 StartRead 24 24 09 02 01 08 02 0D 0A");
  EXPECT_TRUE(received[3].ends_with(" EndSession 24 24 07 0D 0A 0D 0A")) << received[3];
}

INSTANTIATE_TEST_SUITE_P(Memories, SimulatorSizeTest,
                         ::testing::Values(SizeCase{"short_last_packet", 3007, 2},
                                           SizeCase{"full_last_packet", 3000, 2},
                                           SizeCase{"one_record", 1, 0}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(SimulatorDownloadTest, EmptyMemoryGivesAnEmptyLog) {
  testing::writeFile(memory(), "");
  testing::writeFile(logPath(), "previous");
  testing::SimulatorProcess simulator(link(), simulatorOptions({}));
  ASSERT_TRUE(simulator.Ready());
  Program program(link(), dir.path().string());
  ASSERT_TRUE(program.runTo(DownloadPhase::Ready));

  EXPECT_EQ(testing::readFile(logPath()), "");
  EXPECT_EQ(program.sequence->Counters().StoredRecordCount, 0U);
  EXPECT_EQ(program.window.logStart, EmptyLogTime());
  EXPECT_EQ(program.window.recordCount, "0");
  EXPECT_EQ(program.window.percentage, "0 %");
  EXPECT_EQ(program.window.userId, "FLEET-07");
}

TEST_F(SimulatorDownloadTest, ClearedMemoryIsEmptyAtTheNextStart) {
  fillMemory(45);
  testing::SimulatorProcess simulator(link(), simulatorOptions({}));
  ASSERT_TRUE(simulator.Ready());
  {
    Program program(link(), dir.path().string());
    ASSERT_TRUE(program.runTo(DownloadPhase::Ready));
    EXPECT_EQ(testing::readFile(logPath()).size(), 45U * 16);
    program.sequence->Clear();
    EXPECT_EQ(program.window.recordCount, "0");
    EXPECT_EQ(program.window.percentage, "0%");
    EXPECT_EQ(testing::readFile(logPath()).size(), 45U * 16) << "Clear leaves the log file";
    program.sequence->Close();
  }
  // The logger stays in command mode: the next start sends no switch and finds nothing stored.
  Program again(link(), dir.path().string());
  ASSERT_TRUE(again.runTo(DownloadPhase::Ready));
  EXPECT_EQ(testing::readFile(logPath()), "");
  const std::vector<std::string> received = frames();
  ASSERT_EQ(received.size(), 8U) << testing::readFile(dir.file("frames.txt"));
  EXPECT_EQ(received[4], "4800 ClearMemory 24 24 07 04 03 0D 0A");
  EXPECT_EQ(received[5], "4800 QueryRecord 24 24 07 08 0F 0D 0A");
}

TEST_F(SimulatorDownloadTest, PulledCableKeepsThePreviousLog) {
  fillMemory(3000);
  testing::writeFile(logPath(), "previous");
  testing::SimulatorProcess simulator(link(), simulatorOptions({"--hangup-after", "20000"}));
  ASSERT_TRUE(simulator.Ready());
  {
    Program program(link(), dir.path().string());
    EXPECT_FALSE(program.runTo(DownloadPhase::Ready, 10s));
    EXPECT_EQ(program.sequence->Phase(), DownloadPhase::Stalled);
    ASSERT_NE(program.sequence->Reader(), nullptr);
    EXPECT_EQ(program.sequence->Reader()->End(), ReaderEnd::LineLost);
    EXPECT_GT(program.sequence->Counters().ReceivedByteCount.load(), 0U);
    EXPECT_TRUE(program.window.enabled.empty());
  }
  EXPECT_TRUE(simulator.WaitForExit(1s));
  EXPECT_EQ(testing::readFile(logPath()), "previous");
  EXPECT_FALSE(fs::exists(logPath() + ".part"));
}

}  // namespace
}  // namespace tellurix::logger

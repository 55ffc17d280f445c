// The real program against the simulated logger on a pseudo-terminal: the whole start-up,
// download and Close, as a user's run goes.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <sstream>
#include <string>

#include "logger/SimulatorProcess.h"
#include "support/TestFiles.h"
#include "tellurix/Version.h"
#include "tools/demotrack/DemoTrack.h"
#include "tracklog/Calendar.h"

namespace tellurix::testing {
namespace {

namespace fs = std::filesystem;

// The "control=text" lines the program prints with TELLURIX_PRINT_DOWNLOAD.
std::map<std::string, std::string> shownTexts(const std::string& out) {
  std::map<std::string, std::string> texts;
  std::istringstream lines(out);
  for (std::string line; std::getline(lines, line);) {
    const std::size_t equals = line.find('=');
    if (equals != std::string::npos) texts[line.substr(0, equals)] = line.substr(equals + 1);
  }
  return texts;
}

// The filter's six texts for a UTC fix shown in Taipei.
std::vector<std::string> inTaipei(const tracklog::TrackPoint& utc) {
  const tracklog::CalendarTime t =
      tracklog::addSeconds({utc.year, utc.month, utc.day, utc.hour, utc.minute, utc.second}, 8 * 3600);
  return {std::to_string(t.year), std::to_string(t.month),  std::to_string(t.day),
          std::to_string(t.hour), std::to_string(t.minute), std::to_string(t.second)};
}

TEST(Program, DownloadsTheSimulatedLoggerAndFillsTheFilter) {
  TempDir dir;
  // A program folder of its own: the program keeps its log and settings beside itself.
  const std::string program = dir.file("tellurix");
  fs::copy_file(builtProgram("shell/tellurix"), program);
  fs::permissions(program, fs::perms::owner_all);

  demotrack::DemoTrackOptions demo;
  demo.records = 3007;
  const auto points = demotrack::makeDemoTrack(demo);
  ASSERT_TRUE(demotrack::writeLogFile(dir.file("memory.bin"), points));
  const std::string port = dir.file("ttyLOGGER");
  SimulatorProcess simulator(port,
                             {"--log", dir.file("memory.bin"), "--user-id", "FLEET-07", "--split", "7"});
  ASSERT_TRUE(simulator.Ready());
  // Discovery reads the port from the settings file the window loads.
  writeFile(dir.path() / "Tellurix.ini", "[Setting]\r\nPort=" + port + "\r\n");

  // Under the leak checker the font configuration's own leaks are no finding of ours.
  const CommandResult run = runCommand("cd " + shellQuoted(dir.path().string()) +
                                       " && env -u TELLURIX_PORT QT_QPA_PLATFORM=offscreen"
                                       " LSAN_OPTIONS=suppressions=" +
                                       shellQuoted(testsDir() + "/shell/lsan.supp") +
                                       " TELLURIX_PRINT_DOWNLOAD=1 timeout 60 ./tellurix");
  ASSERT_EQ(run.status, 0) << run.out << run.err;
  EXPECT_TRUE(sameBytes(readFile(dir.file("memory.bin")), readFile(dir.file("LOGDATA.BIN"))));
  EXPECT_FALSE(fs::exists(dir.file("LOGDATA.BIN.part")));

  auto texts = shownTexts(run.out);
  const std::vector<std::string> start = inTaipei(points.front());
  const std::vector<std::string> end = inTaipei(points.back());
  const char* startFields[] = {"cboStartYear", "cboStartMonth", "cboStartDay",
                               "cboStartHour", "cboStartMin",   "cboStartSec"};
  const char* endFields[] = {"cboEndYear", "cboEndMonth", "cboEndDay",
                             "cboEndHour", "cboEndMin",   "cboEndSec"};
  for (std::size_t i = 0; i < 6; ++i) {
    EXPECT_EQ(texts[startFields[i]], start[i]) << startFields[i];
    EXPECT_EQ(texts[endFields[i]], end[i]) << endFields[i];
  }
  EXPECT_EQ(texts["cboTimeZone"], "(UTC+08:00) Taipei");
  EXPECT_EQ(texts["lblLogShow"], "3007");
  EXPECT_EQ(texts["lblPercentageShow"], "2 %");
  EXPECT_EQ(texts["proStatus"], "2");
  EXPECT_EQ(texts["lblUserID"], "FLEET-07");
  EXPECT_EQ(texts["lblStatus"], "100% Read Complete");
  // Close leaves the settings file as it was: the port is read, never written.
  EXPECT_EQ(readFile(dir.path() / "Tellurix.ini"), "[Setting]\r\nPort=" + port + "\r\n");
}

// Package tools and users ask for the version where there may be no display at all.
TEST(Program, PrintsItsVersionWithoutADisplay) {
  const CommandResult run = runCommand("env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM " +
                                       shellQuoted(builtProgram("shell/tellurix")) + " --version");
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, std::string("tellurix ") + kVersion + "\n");
}

}  // namespace
}  // namespace tellurix::testing

// The batch tool on inputs and outputs it cannot use: each ends with the program's own message
// on stderr and its exit code, never with "Report Done", and leaves the log as it was.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "support/LogBuilder.h"
#include "support/ScratchMount.h"
#include "support/TestFiles.h"

namespace tellurix {
namespace {

namespace fs = std::filesystem;
using testing::fix;
using testing::shellQuoted;

enum class BadInput { FolderUnderAFile, ReadOnlyDisk, FullDisk, ReportTextFull, NoLog, LogIsAFolder };

struct BadInputCase {
  const char* name;
  BadInput input;
  int status;
  const char* err;
};
void PrintTo(const BadInputCase& c, std::ostream* os) {
  *os << c.name;
}

class CliBadInputTest : public ::testing::TestWithParam<BadInputCase> {
 protected:
  CliBadInputTest() {
    // 3000 fixes a second apart: some 210 kB of RMC sentences.
    testing::writeLog(logPath(),
                      testing::straightDrive(fix(25, 121.5, 40, 2010, 9, 9, 10, 0, 0), 3000, 11, 40));
  }

  testing::CommandResult report(const std::string& log, const std::string& out) const {
    return testing::runCommand(testing::toolCommand("tools/cli/tellurix-cli") + " report --log " +
                               shellQuoted(log) + " --out " + shellQuoted(out) +
                               " --start '2010/9/9 0:0:0' --end '2010/9/10 0:0:0' --excel");
  }
  [[nodiscard]] std::string logPath() const { return dir.file("LOGDATA.BIN"); }

  testing::TempDir dir;
};

TEST_P(CliBadInputTest, EndsWithTheMessageAndExitCode) {
  const BadInputCase& c = GetParam();
  std::unique_ptr<testing::ScratchMount> disk;
  std::string log = logPath();
  std::string out = dir.file("out/trip");
  switch (c.input) {
    case BadInput::FolderUnderAFile:
      testing::writeFile(dir.path() / "out", "a file where the folder should be");
      break;
    case BadInput::ReadOnlyDisk:
    case BadInput::FullDisk:
      disk = std::make_unique<testing::ScratchMount>(64 * 1024, c.input == BadInput::ReadOnlyDisk);
      if (!disk->mounted()) GTEST_SKIP() << disk->failure();
      out = (disk->path() / "trip").string();
      break;
    case BadInput::ReportTextFull:
      if (!fs::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
      fs::create_directories(dir.path() / "out/2010-09-09");
      fs::create_symlink("/dev/full", dir.path() / "out/2010-09-09/trip-report.txt");
      break;
    case BadInput::NoLog:
      log = dir.file("gone/LOGDATA.BIN");
      break;
    case BadInput::LogIsAFolder:
      log = dir.path().string();
      break;
  }
  const std::string logBytes = testing::readFile(logPath());
  const auto result = report(log, out);
  EXPECT_EQ(result.status, c.status);
  EXPECT_EQ(result.err, c.err);
  EXPECT_EQ(result.out, "");
  EXPECT_EQ(testing::readFile(logPath()), logBytes);
}

INSTANTIATE_TEST_SUITE_P(
    Inputs, CliBadInputTest,
    ::testing::Values(BadInputCase{"report_folder_under_a_file", BadInput::FolderUnderAFile, 1,
                                   "Report_File file read open error\n"},
                      BadInputCase{"report_folder_on_a_read_only_disk", BadInput::ReadOnlyDisk, 1,
                                   "Report_File file read open error\n"},
                      BadInputCase{"full_disk", BadInput::FullDisk, 1, "GPRMC_File file write open error\n"},
                      BadInputCase{"report_text_that_cannot_be_written", BadInput::ReportTextFull, 1,
                                   "Report_File file read open error\n"},
                      BadInputCase{"no_log", BadInput::NoLog, 2,
                                   "Empty Data: Empty. No report was generated.\n"},
                      BadInputCase{"log_that_is_a_folder", BadInput::LogIsAFolder, 2,
                                   "Empty Data: Empty. No report was generated.\n"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tellurix

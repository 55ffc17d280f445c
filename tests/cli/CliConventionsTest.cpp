// The batch tool answers the conventional questions the way scripts and package tools expect:
// help on stdout with success, the version from the build, and usage errors on stderr.
#include <gtest/gtest.h>

#include <string>

#include "support/TestFiles.h"
#include "tellurix/Version.h"

namespace tellurix {
namespace {

testing::CommandResult cli(const std::string& args) {
  return testing::runCommand(testing::toolCommand("tools/cli/tellurix-cli") + " " + args);
}

TEST(CliConventions, HelpIsTheUsageOnStdoutWithSuccess) {
  for (const char* flag : {"--help", "-h"}) {
    const auto result = cli(flag);
    EXPECT_EQ(result.status, 0) << flag;
    EXPECT_EQ(result.err, "") << flag;
    EXPECT_TRUE(result.out.starts_with("usage:\n")) << flag << ": " << result.out;
    EXPECT_NE(result.out.find("tellurix-cli report "), std::string::npos) << flag;
  }
}

TEST(CliConventions, VersionIsTheBuildsVersion) {
  const auto result = cli("--version");
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(result.out, std::string("tellurix-cli ") + kVersion + "\n");
  EXPECT_EQ(result.err, "");
}

TEST(CliConventions, WrongCommandLinesStayUsageErrors) {
  const auto help = cli("--help");
  for (const char* args : {"", "report --no-such-option", "report --out", "frobnicate", "--helps"}) {
    const auto result = cli(args);
    EXPECT_EQ(result.status, 64) << args;
    EXPECT_EQ(result.out, "") << args;
    EXPECT_NE(result.err.find(help.out), std::string::npos) << args << ": the usage belongs on stderr";
  }
}

}  // namespace
}  // namespace tellurix

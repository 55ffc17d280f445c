#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace tellurix::testing {

// A fresh folder under the system's temporary folder, removed with the fixture.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  [[nodiscard]] const std::filesystem::path& path() const { return path_; }
  [[nodiscard]] std::string file(const std::string& name) const { return (path_ / name).string(); }

 private:
  std::filesystem::path path_;
};

std::string readFile(const std::filesystem::path& path);
void writeFile(const std::filesystem::path& path, const std::string& bytes);

// The file's lines split at CR LF; a missing CR before a LF is kept visible as "<LF>".
std::vector<std::string> crlfLines(const std::string& bytes);

// Compares byte for byte and, on a difference, prints a unified diff of the two.
::testing::AssertionResult sameBytes(const std::string& expected, const std::string& actual);

// The golden file tests/golden/<name>, compared byte for byte with `actual`. With
// TELLURIX_UPDATE_GOLDEN=1 in the environment the golden file is rewritten instead.
::testing::AssertionResult matchesGolden(const std::string& name, const std::string& actual);

// Runs a shell command and returns its exit status; stdout and stderr are captured.
struct CommandResult {
  int status = -1;
  std::string out;
  std::string err;
};
CommandResult runCommand(const std::string& command);

// A path inside the build tree (for the tools the tests run).
std::string builtProgram(const std::string& relativePath);

// The shell command that starts a built tool: its quoted path, behind the command in
// TELLURIX_TOOL_WRAPPER when that is set (tools/valgrind.sh runs the tools under memcheck so).
std::string toolCommand(const std::string& relativePath);

// The tests' source folder (fixtures, golden files).
std::string testsDir();

// Quotes a text for the shell.
std::string shellQuoted(const std::string& text);

}  // namespace tellurix::testing

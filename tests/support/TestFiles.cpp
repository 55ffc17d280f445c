#include "TestFiles.h"

#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <random>
#include <sstream>

namespace tellurix::testing {
namespace fs = std::filesystem;

TempDir::TempDir() {
  std::random_device device;
  for (;;) {
    path_ = fs::temp_directory_path() / ("tellurix-test-" + std::to_string(device()));
    if (fs::create_directory(path_)) break;
  }
}

TempDir::~TempDir() {
  std::error_code ignored;
  fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, ignored);
  fs::remove_all(path_, ignored);
}

std::string readFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

void writeFile(const fs::path& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
}

std::vector<std::string> crlfLines(const std::string& bytes) {
  std::vector<std::string> lines;
  std::string line;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') {
      lines.push_back(line);
      line.clear();
      ++i;
    } else if (bytes[i] == '\n') {
      line += "<LF>";
    } else {
      line += bytes[i];
    }
  }
  if (!line.empty()) lines.push_back(line + "<no line end>");
  return lines;
}

namespace {

fs::path goldenDir() {
  return fs::path(TELLURIX_TESTS_DIR) / "golden";
}

}  // namespace

::testing::AssertionResult sameBytes(const std::string& expected, const std::string& actual) {
  if (expected == actual) return ::testing::AssertionSuccess();
  TempDir dir;
  writeFile(dir.path() / "expected", expected);
  writeFile(dir.path() / "actual", actual);
  const CommandResult diff =
      runCommand("diff -u --label expected --label actual " + shellQuoted(dir.file("expected")) + " " +
                 shellQuoted(dir.file("actual")) + " | cat -A | head -n 80");
  return ::testing::AssertionFailure()
         << "bytes differ (" << expected.size() << " expected, " << actual.size() << " actual):\n"
         << diff.out;
}

::testing::AssertionResult matchesGolden(const std::string& name, const std::string& actual) {
  const fs::path golden = goldenDir() / name;
  const char* update = std::getenv("TELLURIX_UPDATE_GOLDEN");
  if (update != nullptr && std::string(update) == "1") {
    fs::create_directories(golden.parent_path());
    writeFile(golden, actual);
    return ::testing::AssertionSuccess();
  }
  if (!fs::exists(golden)) return ::testing::AssertionFailure() << "missing golden file " << golden;
  return sameBytes(readFile(golden), actual) << " (golden file " << golden << ")";
}

CommandResult runCommand(const std::string& command) {
  TempDir dir;
  const std::string out = dir.file("out");
  const std::string err = dir.file("err");
  const int raw = std::system((command + " >" + shellQuoted(out) + " 2>" + shellQuoted(err)).c_str());
  CommandResult result;
  result.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  result.out = readFile(out);
  result.err = readFile(err);
  return result;
}

std::string builtProgram(const std::string& relativePath) {
  return (fs::path(TELLURIX_BINARY_DIR) / relativePath).string();
}

std::string toolCommand(const std::string& relativePath) {
  const std::string tool = shellQuoted(builtProgram(relativePath));
  const char* wrapper = std::getenv("TELLURIX_TOOL_WRAPPER");
  return wrapper != nullptr && *wrapper != '\0' ? std::string(wrapper) + " " + tool : tool;
}

std::string testsDir() {
  return TELLURIX_TESTS_DIR;
}

std::string shellQuoted(const std::string& text) {
  std::string quoted = "'";
  for (const char c : text) {
    if (c == '\'') {
      quoted += "'\\''";
    } else {
      quoted += c;
    }
  }
  return quoted + "'";
}

}  // namespace tellurix::testing

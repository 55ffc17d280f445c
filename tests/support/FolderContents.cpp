#include "FolderContents.h"

#include "TestFiles.h"

namespace tellurix::testing {
namespace fs = std::filesystem;

FolderContents folderContents(const fs::path& folder) {
  FolderContents contents;
  if (!fs::exists(folder)) return contents;
  for (const auto& entry : fs::recursive_directory_iterator(folder)) {
    if (!entry.is_regular_file()) continue;
    const std::string name = fs::relative(entry.path(), folder).generic_string();
    if (entry.path().extension() == ".xls") {
      const CommandResult parts =
          runCommand("unzip -p " + shellQuoted(entry.path().string()) + " -x docProps/core.xml");
      contents[name] = parts.status == 0 ? parts.out : "unzip failed: " + parts.err;
    } else {
      contents[name] = readFile(entry.path());
    }
  }
  return contents;
}

::testing::AssertionResult sameFolders(const FolderContents& expected, const FolderContents& actual) {
  std::string differences;
  std::string firstDiff;
  for (const auto& [name, bytes] : expected) {
    const auto found = actual.find(name);
    if (found == actual.end()) {
      differences += "  missing " + name + "\n";
    } else if (found->second != bytes) {
      differences += "  changed " + name + "\n";
      if (firstDiff.empty()) firstDiff = sameBytes(bytes, found->second).message();
    }
  }
  for (const auto& [name, bytes] : actual) {
    if (expected.count(name) == 0) differences += "  extra " + name + "\n";
  }
  if (differences.empty()) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "the folders differ:\n" << differences << firstDiff;
}

}  // namespace tellurix::testing

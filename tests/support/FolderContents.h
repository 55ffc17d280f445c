#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>

namespace tellurix::testing {

// Every file under a folder by its path relative to the folder, with its bytes.
using FolderContents = std::map<std::string, std::string>;

// A workbook (".xls", a zip) stands as its parts unzipped in archive order, less
// docProps/core.xml: the zip's entry times and the creation time in that part come from the
// clock, not from the run.
FolderContents folderContents(const std::filesystem::path& folder);

// The same files with the same bytes; on a difference names every missing, extra or changed
// file and shows the diff of the first changed one.
::testing::AssertionResult sameFolders(const FolderContents& expected, const FolderContents& actual);

}  // namespace tellurix::testing

#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "PhotoList.h"
#include "TaggingUi.h"
#include "report/ReportSession.h"

namespace tellurix::tagging {

// The folder beside the last report's files that holds a copy of every loaded photo.
std::string photoFolderOf(const report::ReportNames& names);

// Where the copy of the photo `name` lives; the preview and Remove use it.
std::string photoCopyPath(const report::ReportNames& names, std::string_view name);

enum class LoadOutcome {
  Complete,      // "Loading complete"
  FileNotFound,  // a copy could not be read: the message was shown and the rest not loaded
};

// The Load command for the files chosen in the open dialog, in their order: every file whose
// name the list does not hold yet is copied into the photo folder (replacing an older copy),
// and its copy's capture time and track position make a new row. Processes events once per
// file. A ConversionError from the position lookup ends the command with the row added.
LoadOutcome loadPhotos(PhotoList& list, const std::vector<std::string>& chosenPaths,
                       const report::ReportSession& session, TaggingUi& ui);

// The Remove command: the selected rows (indexes into the list as it stands) and their copies
// go. False when nothing was selected and nothing happened; after a removal the window
// clears its preview.
bool removePhotos(PhotoList& list, const std::vector<std::size_t>& selectedRows,
                  const report::ReportNames& names);

}  // namespace tellurix::tagging

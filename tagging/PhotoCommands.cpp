#include "PhotoCommands.h"

#include <filesystem>
#include <system_error>

#include "CaptureTime.h"

namespace tellurix::tagging {

namespace fs = std::filesystem;

std::string photoFolderOf(const report::ReportNames& names) {
  return names.reportFolder + "photo";
}

std::string photoCopyPath(const report::ReportNames& names, std::string_view name) {
  return names.reportFolder + "photo/" + std::string(name);
}

LoadOutcome loadPhotos(PhotoList& list, const std::vector<std::string>& chosenPaths,
                       const report::ReportSession& session, TaggingUi& ui) {
  ui.setStatusText("Loading pictures...");
  std::error_code ignored;
  fs::create_directory(photoFolderOf(session.names), ignored);
  for (const std::string& chosen : chosenPaths) {
    ui.processEvents();
    const std::string name = fs::path(chosen).filename().string();
    if (list.contains(name)) continue;
    const std::string copy = photoCopyPath(session.names, name);
    // A failed copy is not reported on its own: reading the copy finds it missing. A photo
    // chosen from the photo folder itself is its own copy and is read in place.
    if (fs::copy_file(chosen, copy, fs::copy_options::overwrite_existing, ignored)) {
      // Photos from a write-protected card keep that mode in their copy; the copy is ours and
      // takes its position later, so its owner may write it.
      fs::permissions(copy, fs::perms::owner_write, fs::perm_options::add, ignored);
    }
    std::optional<std::string> date = readCaptureTime(copy);
    if (!date) {
      ui.showOkCancel("File not found", "Notice");
      return LoadOutcome::FileNotFound;
    }
    list.append(name, *date);
    const std::size_t row = list.size() - 1;
    const auto position = lookupPhotoPosition(*date, session.store, ui);
    // The lookup processes events; only a row still in its place takes the position.
    if (row < list.size() && list.row(row).name == name) list.setPosition(row, position);
  }
  ui.setStatusText("Loading complete");
  return LoadOutcome::Complete;
}

bool removePhotos(PhotoList& list, const std::vector<std::size_t>& selectedRows,
                  const report::ReportNames& names) {
  std::vector<bool> selected(list.size(), false);
  bool any = false;
  for (const std::size_t row : selectedRows) {
    if (row < selected.size()) {
      selected[row] = true;
      any = true;
    }
  }
  if (!any) return false;
  // In list order; a removed row's place is taken by the next one.
  std::size_t at = 0;
  for (const bool remove : selected) {
    if (!remove) {
      ++at;
      continue;
    }
    // Only a file: a row never names a folder, and the photo folder must not go with it.
    std::error_code ignored;
    const std::string copy = photoCopyPath(names, list.row(at).name);
    if (!fs::is_directory(fs::symlink_status(copy, ignored))) fs::remove(copy, ignored);
    list.removeAt(at);
  }
  return true;
}

}  // namespace tellurix::tagging

#include "PhotoPathCommand.h"

#include <cstdio>
#include <iostream>

#include "CliArguments.h"
#include "ReportCommand.h"
#include "tagging/CameraClock.h"
#include "tagging/PhotoCommands.h"
#include "tagging/PhotoPath.h"
#include "tracklog/Errors.h"

namespace tellurix::cli {
namespace {

// The photo window's message box as a line on stderr, like the report's.
class CliTaggingUi final : public tagging::TaggingUi {
 public:
  void processEvents() override {}
  void setStatusText(std::string_view /*text*/) override {}
  void showOkCancel(std::string_view text, std::string_view caption) override {
    std::cerr << caption << ": " << text << '\n';
    shownMessage = true;
  }

  bool shownMessage = false;
};

// "D H M S": four texts separated by single spaces, each going to its field as typed.
tagging::FixedClockFields adjustFields(const std::string& text) {
  std::vector<std::string> parts(1);
  for (const char c : text) {
    if (c == ' ') {
      parts.emplace_back();
    } else {
      parts.back() += c;
    }
  }
  if (parts.size() != 4) throw UsageError("--adjust takes \"DAYS HOURS MINUTES SECONDS\"");
  return {parts[0], parts[1], parts[2], parts[3]};
}

// A date read from a damaged file, or a name, may hold any byte; one line must stay one line.
std::string oneLine(std::string line) {
  for (char& c : line) {
    if ((static_cast<unsigned char>(c) < 0x20 && c != '\t') || c == 0x7F) c = '?';
  }
  return line;
}

void printRows(const tagging::PhotoList& list) {
  for (const tagging::PhotoEntry& row : list.rows()) {
    const std::string line = oneLine(row.name + '\t' + row.date + '\t' + row.latitude + '\t' + row.longitude);
    std::fputs(line.c_str(), stdout);
    std::fputc('\n', stdout);
  }
}

}  // namespace

int photoPathCommand(const std::vector<std::string>& args) {
  std::set<std::string> valueOptions = reportValueOptions();
  valueOptions.insert({"--photo", "--adjust"});
  std::set<std::string> flagOptions = reportFlagOptions();
  flagOptions.insert("--no-exif");
  const CliArguments parsed(args, valueOptions, flagOptions);
  const tagging::PhotoPositions positions =
      parsed.flag("--no-exif") ? tagging::PhotoPositions::Leave : tagging::PhotoPositions::Write;
  const std::vector<std::string> photos = parsed.values("--photo");
  if (photos.empty()) throw UsageError("photo-path takes one --photo FILE or more");
  const std::optional<std::string> adjust = parsed.value("--adjust");
  std::optional<tagging::FixedClockFields> offset;
  if (adjust) offset = adjustFields(*adjust);

  report::ReportSession session;
  if (const int status = runReport(parsed, session); status != kExitDone) return status;

  tracklog::FixedFields fields = reportFields(parsed);
  tagging::PhotoList list;
  CliTaggingUi ui;
  try {
    tagging::loadPhotos(list, photos, session, ui);
    if (offset) {
      tagging::CameraClock clock;
      clock.applyAdjustment(*offset, list, session.store, ui);
    }
    const tagging::PhotoPathResult made = tagging::makePhotoPath(list, session, fields, ui, positions);
    // Not an error: the photo path and the other copies are complete.
    for (const std::string& name : made.notTagged)
      std::cerr << "Notice: " << oneLine(name) << ": position not written into the photo copy\n";
  } catch (const tracklog::ConversionError& e) {
    std::cerr << "Conversion error: " << e.what() << '\n';
    return kExitRefused;
  } catch (const tracklog::FatalError& e) {
    std::cerr << e.what() << '\n';
    return e.exitCode();
  }
  printRows(list);
  // Load stopped at a photo it could not read; the rows say which were placed.
  return ui.shownMessage ? kExitFatal : kExitDone;
}

}  // namespace tellurix::cli

// A report run over any log file bytes. Every record decodes; the run ends with one of its
// outcomes or with the program's own fatal or conversion error, nothing else; and every KML
// file it leaves in the report folder is well formed XML.
//
// Input: four bytes of settings (unit, chart output, window, zone, over speed, stop period),
// then the log file. The window either spans every date a record can hold or starts at the
// first record's date (made valid) and runs for a few years.

#include <libxml/parser.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <filesystem>
#include <string>

#include "FuzzSupport.h"
#include "report/ReportRun.h"
#include "tracklog/Errors.h"
#include "tracklog/LogFile.h"
#include "tracklog/LogRecord.h"

namespace {

namespace fs = std::filesystem;
using tellurix::tracklog::Field;

// The window's answers: the save dialog gives the path, the rest is dropped.
class SilentUi final : public tellurix::report::ReportUi {
 public:
  explicit SilentUi(std::string outputPath) : outputPath_(std::move(outputPath)) {}
  void saveSettings() override {}
  std::optional<std::string> chooseOutputPath() override { return outputPath_; }
  void showMessage(std::string_view /*text*/, std::string_view /*caption*/) override {}
  void setStatusText(std::string_view /*text*/) override {}
  void setStatusColour(tellurix::report::StatusColour /*colour*/) override {}
  void startBlink() override {}
  void stopBlink() override {}
  void repaint() override {}
  void recordRead() override {}

 private:
  std::string outputPath_;
};

constexpr std::array<const char*, 8> kZones{"(GMT) Casablanca, Monrovia",
                                            "(GMT+08:00) Taipei",
                                            "(GMT-05:00) Eastern Time (US & Canada)",
                                            "(GMT+05:45) Kathmandu",
                                            "(GMT-03:30) Newfoundland",
                                            "(GMT+13:00) Nuku'alofa",
                                            "(GMT-12:00) International Date Line West",
                                            "(GMT+09:30) Adelaide"};
constexpr std::array<const char*, 3> kUnits{"KPH", "MPH", "knots"};

void setTime(tellurix::tracklog::FixedFields& fields, Field first, const std::array<int, 6>& values) {
  for (int i = 0; i < 6; ++i) {
    fields.set(static_cast<Field>(static_cast<int>(first) + i),
               std::to_string(values[static_cast<std::size_t>(i)]));
  }
}

void quietXml(void* /*context*/, const char* /*message*/, ...) {}

void expectWellFormedKml(const fs::path& folder) {
  std::error_code error;
  for (fs::recursive_directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
    if (!it->is_regular_file() || it->path().extension() != ".kml") continue;
    xmlDocPtr doc =
        xmlReadFile(it->path().c_str(), nullptr, XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING);
    if (doc == nullptr) std::fprintf(stderr, "not well formed: %s\n", it->path().c_str());
    FUZZ_EXPECT(doc != nullptr);
    xmlFreeDoc(doc);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const tellurix::fuzz::ScratchDir scratch;
  static const bool xmlReady = [] {
    xmlInitParser();
    xmlSetGenericErrorFunc(nullptr, quietXml);
    return true;
  }();
  (void)xmlReady;
  scratch.clear();

  tellurix::fuzz::InputReader in(data, size);
  const std::uint8_t flags = in.byte();
  const std::uint8_t zone = in.byte();
  const std::uint8_t overSpeed = in.byte();
  const std::uint8_t stopPeriod = in.byte();
  const auto log = in.rest();

  tellurix::tracklog::FixedFields fields;
  fields.set(Field::SpeedUnit, kUnits[(flags & 3) % kUnits.size()]);
  fields.setExcelReports((flags & 4) != 0);
  fields.set(Field::TimeZone, kZones[zone % kZones.size()]);
  fields.set(Field::OverSpeed, std::to_string(overSpeed));
  fields.set(Field::StopPeriod, std::to_string(stopPeriod % 64));
  if ((flags & 8) == 0 || log.size() < tellurix::tracklog::kLogRecordSize) {
    setTime(fields, Field::StartYear, {0, 1, 1, 0, 0, 0});
    setTime(fields, Field::EndYear, {9999, 12, 31, 23, 59, 59});
  } else {
    const auto first = tellurix::tracklog::decodeLogRecord(log.data());
    const int year = first.year;
    const int month = std::clamp<int>(first.month, 1, 12);
    const int day = std::clamp<int>(first.day, 1, 28);
    setTime(fields, Field::StartYear, {year, month, day, std::min<int>(first.hour, 23), 0, 0});
    setTime(fields, Field::EndYear, {year + 1 + (flags >> 4) % 4, month, day, 0, 0, 0});
  }

  // Any 16 bytes decode, also past what a logger would store.
  for (std::size_t at = 0; at + tellurix::tracklog::kLogRecordSize <= log.size();
       at += tellurix::tracklog::kLogRecordSize) {
    (void)tellurix::tracklog::decodeLogRecord(log.data() + at);
  }

  const std::string logPath = scratch.file("LOGDATA.BIN");
  tellurix::fuzz::writeBytes(logPath, log);
  tellurix::report::ReportEnvironment environment;
  environment.logPath = logPath;
  environment.receivedByteCount =
      static_cast<std::uint32_t>(tellurix::tracklog::wholeRecordBytes(log.size()));
  environment.userId = "FUZZ01";

  // One session for all inputs, as the program has one, but with what a run leaves behind
  // cleared: a fresh one per input costs more than the run (its track store is large).
  static tellurix::report::ReportSession session;
  session.store.pointCount = 0;
  session.zone = {};
  session.stats = {};
  session.names = {};
  SilentUi ui(scratch.file("out/trip"));
  try {
    const auto outcome = tellurix::report::ReportRun(session, fields, ui, environment).run();
    if (outcome == tellurix::report::RunOutcome::Done) {
      FUZZ_EXPECT(fs::exists(session.names.reportFolder + session.names.pointKmlName));
      FUZZ_EXPECT(fs::exists(session.names.reportFolder + session.names.pathKmlName));
    }
  } catch (const tellurix::tracklog::FatalError& e) {
    FUZZ_EXPECT(e.exitCode() == 1 || e.exitCode() == 0);
  } catch (const tellurix::tracklog::ConversionError&) {
  }
  expectWellFormedKml(scratch.path());
  return 0;
}

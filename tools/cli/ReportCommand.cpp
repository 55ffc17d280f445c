#include "ReportCommand.h"

#include <cstdio>
#include <filesystem>
#include <iostream>
#include <system_error>

#include "platform/ProgramFolder.h"
#include "report/ReportRun.h"
#include "tracklog/Errors.h"
#include "tracklog/LogFile.h"

namespace tellurix::cli {
namespace {

using tracklog::Field;

// The window's message boxes as lines on stderr; the save dialog answers with --out.
class CliReportUi final : public report::ReportUi {
 public:
  explicit CliReportUi(std::string outputPath) : outputPath_(std::move(outputPath)) {}

  void saveSettings() override {}  // the batch tool writes no settings file
  std::optional<std::string> chooseOutputPath() override { return outputPath_; }
  void showMessage(std::string_view text, std::string_view caption) override {
    if (caption.empty()) {
      std::cerr << text << '\n';
    } else {
      std::cerr << caption << ": " << text << '\n';
    }
  }
  void setStatusText(std::string_view /*text*/) override {}
  void setStatusColour(report::StatusColour /*colour*/) override {}
  void startBlink() override {}
  void stopBlink() override {}
  void repaint() override {}
  void recordRead() override {}

 private:
  std::string outputPath_;
};

// "Y/M/D h:m:s" split at '/', ' ' and ':' into six texts exactly as typed; missing parts are empty.
void setTimeFields(tracklog::FixedFields& fields, const std::string& text, Field first) {
  std::string part;
  int index = 0;
  auto flush = [&] {
    if (index < 6) fields.set(static_cast<Field>(static_cast<int>(first) + index), part);
    ++index;
    part.clear();
  };
  for (const char c : text) {
    if (c == '/' || c == ' ' || c == ':') {
      flush();
    } else {
      part += c;
    }
  }
  flush();
  while (index < 6) flush();
}

std::uint32_t wholeRecordBytesOf(const std::string& path) {
  std::error_code error;
  const auto size = std::filesystem::file_size(path, error);
  if (error) return 0;
  return static_cast<std::uint32_t>(tracklog::wholeRecordBytes(size));
}

}  // namespace

const std::set<std::string>& reportValueOptions() {
  static const std::set<std::string> options{"--out",  "--start",      "--end",         "--log",    "--zone",
                                             "--unit", "--over-speed", "--stop-period", "--user-id"};
  return options;
}

const std::set<std::string>& reportFlagOptions() {
  static const std::set<std::string> options{"--excel"};
  return options;
}

tracklog::FixedFields reportFields(const CliArguments& args) {
  tracklog::FixedFields fields;
  setTimeFields(fields, args.required("--start"), Field::StartYear);
  setTimeFields(fields, args.required("--end"), Field::EndYear);
  fields.set(Field::TimeZone, args.valueOr("--zone", ""));
  fields.set(Field::SpeedUnit, args.valueOr("--unit", "KPH"));
  fields.set(Field::OverSpeed, args.valueOr("--over-speed", "90"));
  fields.set(Field::StopPeriod, args.valueOr("--stop-period", "10"));
  fields.setExcelReports(args.flag("--excel"));
  return fields;
}

int runReport(const CliArguments& args, report::ReportSession& session) {
  tracklog::FixedFields fields = reportFields(args);
  CliReportUi ui(args.required("--out"));
  report::ReportEnvironment environment;
  environment.logPath = args.valueOr("--log", platform::programFolder() + "/LOGDATA.BIN");
  environment.receivedByteCount = wholeRecordBytesOf(environment.logPath);
  environment.userId = args.valueOr("--user-id", "");
  try {
    switch (report::ReportRun(session, fields, ui, environment).run()) {
      case report::RunOutcome::Done:
        return kExitDone;
      case report::RunOutcome::NoMatch:
        return kExitNoMatch;
      case report::RunOutcome::Refused:
      case report::RunOutcome::Cancelled:
        return kExitRefused;
    }
  } catch (const tracklog::ConversionError& e) {
    std::cerr << "Conversion error: " << e.what() << '\n';
    return kExitRefused;
  } catch (const tracklog::FatalError& e) {
    std::cerr << e.what() << '\n';
    return e.exitCode();
  }
  return kExitRefused;
}

int reportCommand(const std::vector<std::string>& args) {
  const CliArguments parsed(args, reportValueOptions(), reportFlagOptions());
  report::ReportSession session;
  const int status = runReport(parsed, session);
  if (status == kExitDone) std::cout << "Report Done\n";
  return status;
}

}  // namespace tellurix::cli

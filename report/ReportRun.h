#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "ReportOutputs.h"
#include "ReportRequest.h"
#include "ReportSession.h"
#include "ReportUi.h"
#include "WorkerPool.h"
#include "tracklog/FieldSource.h"

namespace tellurix::report {

// What the run needs besides the window's fields.
struct ReportEnvironment {
  std::string logPath;                  // LOGDATA.BIN in the program's folder
  std::uint32_t receivedByteCount = 0;  // record bytes the download wrote in this program run
  std::string userId;
  unsigned outputThreads = WorkerPool::coreCount();  // that write the outputs after the read
};

enum class RunOutcome {
  Refused,    // a validation message was shown
  Cancelled,  // the save dialog was cancelled
  NoMatch,    // "No Match Record !"
  Done,       // "Report Done"
};

// One Make Report command. Fatal file errors throw FatalError, unguarded conversions of field
// texts ConversionError; both leave the files written so far as they are.
class ReportRun {
 public:
  ReportRun(ReportSession& session, tracklog::FieldSource& fields, ReportUi& ui,
            ReportEnvironment environment);
  ReportRun(const ReportRun&) = delete;
  ReportRun& operator=(const ReportRun&) = delete;
  ReportRun(ReportRun&&) = delete;
  ReportRun& operator=(ReportRun&&) = delete;
  ~ReportRun();

  RunOutcome run();

 private:
  void resetRunState();
  std::optional<ReportWindow> validate();
  void startWorking();
  void refuseWindowOrder();
  void readLog(const ReportWindow& window, const std::string& outputPath);
  void keepPoint(const tracklog::TrackPoint& local, const tracklog::TrackPoint& utc,
                 const ReportWindow& window, const std::string& outputPath);
  void reportNoMatch();
  void writeReport();
  void finishWorking();

  ReportSession& session_;
  tracklog::FieldSource& fields_;
  ReportUi& ui_;
  ReportEnvironment environment_;
  ReportOutputs outputs_;
  bool blinking_ = false;
};

}  // namespace tellurix::report

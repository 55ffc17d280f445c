#include "ReportRun.h"

#include "CsvExport.h"
#include "GpxTrack.h"
#include "Legs.h"
#include "RmcWriter.h"
#include "SummaryReport.h"
#include "TimeKey.h"
#include "TripKml.h"
#include "charts/ChartWorkbook.h"
#include "tracklog/Errors.h"
#include "tracklog/Geodesy.h"
#include "tracklog/LogFile.h"

namespace tellurix::report {

using tracklog::Field;
using tracklog::TrackPoint;

namespace {

// A workbook that cannot be written is reported, and the run goes on to finish its KML files.
void writeChartWorkbook(const ReportSession& session, tracklog::FieldSource& fields, ReportUi& ui) {
  const charts::ChartTables tables = chartTables(session.stats, session.store.pointCount);
  const std::string path = session.names.reportFolder + session.names.reportBaseName + "-SpeedChart.xls";
  if (!charts::WriteChartWorkbook(tables, fields.text(Field::SpeedUnit), path)) {
    ui.showMessage("excel file read open error", "");
  }
}

}  // namespace

ReportRun::ReportRun(ReportSession& session, tracklog::FieldSource& fields, ReportUi& ui,
                     ReportEnvironment environment)
    : session_(session), fields_(fields), ui_(ui), environment_(std::move(environment)) {}

// A run that ends with an exception must not leave the status line blinking "Making Report...".
ReportRun::~ReportRun() {
  if (!blinking_) return;
  ui_.stopBlink();
  ui_.setStatusText("");
}

RunOutcome ReportRun::run() {
  resetRunState();
  ui_.saveSettings();
  const std::optional<ReportWindow> window = validate();
  if (!window) return RunOutcome::Refused;

  const std::optional<std::string> outputPath = ui_.chooseOutputPath();
  if (!outputPath) return RunOutcome::Cancelled;

  startWorking();
  if (timeKey(window->start) >= timeKey(window->end)) {
    refuseWindowOrder();
    return RunOutcome::Refused;
  }

  readLog(*window, *outputPath);
  if (fields_.excelReports() && session_.store.pointCount > 0) {
    writeCsvFiles(
        {fields_, session_.zone, session_.store, session_.stats, session_.names, environment_.userId});
  }
  if (session_.store.pointCount == 0) {
    reportNoMatch();
    return RunOutcome::NoMatch;
  }
  writeReport();
  finishWorking();
  return RunOutcome::Done;
}

void ReportRun::resetRunState() {
  ui_.setStatusText("");
  session_.store.pointCount = 0;
  session_.stats = TravelStats{};
  session_.results = ReportResults{};
}

std::optional<ReportWindow> ReportRun::validate() {
  auto result = validateRequest(fields_, environment_.receivedByteCount);
  if (const auto* refusal = std::get_if<Refusal>(&result)) {
    ui_.showMessage(refusal->text, refusal->caption);
    return std::nullopt;
  }
  return std::get<ReportWindow>(result);
}

void ReportRun::startWorking() {
  ui_.setStatusColour(StatusColour::Black);
  ui_.setStatusText("Making Report...");
  ui_.startBlink();
  blinking_ = true;
  ui_.repaint();
}

void ReportRun::refuseWindowOrder() {
  const Refusal refusal = endNotAfterStartRefusal();
  ui_.showMessage(refusal.text, refusal.caption);
  ui_.stopBlink();
  blinking_ = false;
  ui_.setStatusText("");
}

void ReportRun::readLog(const ReportWindow& window, const std::string& outputPath) {
  tracklog::LogFileReader log;
  if (!log.open(environment_.logPath)) throw tracklog::FatalError("bin file read open error in Quorvel", 1);
  const std::int64_t startKey = timeKey(window.start);
  const std::int64_t endKey = timeKey(window.end);

  tracklog::LogRecord record;
  while (log.next(record)) {
    ui_.recordRead();
    const TrackPoint utc = tracklog::decodeLogRecord(record);
    TrackPoint local = utc;
    tracklog::ApplyZoneOffset(session_.zone, fields_.text(Field::TimeZone), local);
    const std::int64_t key = timeKey(tracklog::calendarTimeOf(local));
    if (key < startKey || key > endKey) continue;
    // A log larger than the logger's memory: points beyond the store's capacity are not selected.
    if (session_.store.pointCount == tracklog::TrackStore::kCapacity) continue;
    keepPoint(local, utc, window, outputPath);
  }
  log.close();
  outputs_.rmc.closeOrFail();
}

void ReportRun::keepPoint(const TrackPoint& local, const TrackPoint& utc, const ReportWindow& window,
                          const std::string& outputPath) {
  tracklog::TrackStore& store = session_.store;
  if (store.pointCount == 0) {
    openReportOutputs(outputs_, session_.names, outputPath, window.start, local, environment_.userId);
  }
  writeRmcSentence(outputs_.rmc.get(), utc);
  const TrackPoint* previous = store.pointCount > 0 ? &store.local(store.pointCount - 1) : nullptr;
  session_.stats.addPoint(local, previous);
  store.storePoint(store.pointCount, local, utc);
  store.pointCount += 1;
}

void ReportRun::reportNoMatch() {
  ui_.showMessage("No Match Record !", "");
  ui_.stopBlink();
  blinking_ = false;
  ui_.setStatusColour(StatusColour::Red);
  ui_.setStatusText("");
}

void ReportRun::writeReport() {
  TravelStats& stats = session_.stats;
  const tracklog::TrackStore& store = session_.store;
  for (std::uint32_t i = 0; i + 1 < store.pointCount; ++i) {
    const TrackPoint& a = store.local(i);
    const TrackPoint& b = store.local(i + 1);
    stats.totalDistance += tracklog::distanceMetres(a.latitude, a.longitude, b.latitude, b.longitude);
  }
  const RunContext context{fields_, session_.zone, store, stats, session_.names, environment_.userId};
  std::FILE* reportText = outputs_.reportText.get();

  writeSummaryHead(reportText, context);
  const std::vector<Leg> legs = findLegs(store.localPoints(), store.pointCount, fields_);
  for (const Leg& leg : legs) {
    if (leg.endsInStop) stats.totalStopSeconds += leg.stopSeconds;
  }
  session_.results = collectResults(store, stats.maxSpeed, legs, fields_);
  writeTripKml(outputs_, context, legs, [&](const Leg& leg) { writeLegBlock(reportText, context, leg); });
  writeSummaryTail(reportText, context);
  outputs_.reportText.closeOrFail();
  if (fields_.excelReports()) writeChartWorkbook(session_, fields_, ui_);
  closeTripKml(outputs_, context);
  // The GPX track is an extra for other tools: a failure is shown and the finished report kept.
  if (!writeTripGpx(context, legs)) ui_.showMessage("GPX file write open error", "");
}

void ReportRun::finishWorking() {
  ui_.stopBlink();
  blinking_ = false;
  ui_.repaint();
  ui_.setStatusColour(StatusColour::Navy);
  ui_.setStatusText("Report Done");
  session_.results.done = true;
}

}  // namespace tellurix::report

#include "ReportRun.h"

#include <exception>
#include <latch>
#include <optional>

#include "CsvExport.h"
#include "GpxTrack.h"
#include "Legs.h"
#include "OutputJobs.h"
#include "RmcWriter.h"
#include "SummaryReport.h"
#include "TimeKey.h"
#include "TripKml.h"
#include "charts/ChartWorkbook.h"
#include "tracklog/Errors.h"
#include "tracklog/Geodesy.h"
#include "tracklog/LogFile.h"
#include "tracklog/TextBuffer.h"

namespace tellurix::report {

using tracklog::Field;
using tracklog::TrackPoint;

namespace {

// A workbook that cannot be written is reported, and the run goes on to finish its KML files.
bool writeChartWorkbook(const RunContext& run) {
  const charts::ChartTables tables = chartTables(run.stats, run.store.pointCount);
  const std::string path = run.names.reportFolder + run.names.reportBaseName + "-SpeedChart.xls";
  return charts::WriteChartWorkbook(tables, run.fields.text(Field::SpeedUnit), path);
}

void writeRmcFile(tracklog::OutputFile& file, const tracklog::TrackStore& store) {
  {
    tracklog::TextBuffer text(file.get());
    writeRmcTrack(text, store);
  }
  file.closeOrFail();
}

// The trip path document with the leg files.
void writePathKmlFile(tracklog::OutputFile& file, const TripKml& trip, OutputJob& job) {
  {
    tracklog::TextBuffer path(file.get());
    trip.writePathHead(path);
    trip.writeLegFiles(path);
    job.at(OutputStep::Placemarks);
    trip.writePlacemarks(&path, nullptr);
    job.at(OutputStep::PathKml);
    trip.writeEnd(path);
  }
  file.closeOrFail();
}

void writePointKmlFile(tracklog::OutputFile& file, const TripKml& trip, OutputJob& job) {
  {
    tracklog::TextBuffer points(file.get());
    trip.writePointHead(points);
    trip.writePlacemarks(nullptr, &points);
    job.at(OutputStep::PointKml);
    trip.writeEnd(points);
  }
  file.closeOrFail();
}

// The legs, for the jobs that wait for them. A run that stops at finding them (a stop period
// that is no number) or at the over-speed limit never comes to the steps after that.
class FoundLegs {
 public:
  // Tells the waiting jobs, when the job finding the legs ends, whether it ended with a failure.
  class Announcement {
   public:
    Announcement(FoundLegs& found, const OutputJob& job) : found_(found), job_(job) {}
    Announcement(const Announcement&) = delete;
    Announcement& operator=(const Announcement&) = delete;
    ~Announcement() {
      if (std::uncaught_exceptions() > exceptions_) found_.failedAt_ = job_.step();
      found_.ready_.count_down();
    }

   private:
    FoundLegs& found_;
    const OutputJob& job_;
    int exceptions_ = std::uncaught_exceptions();
  };

  // The legs once they are found; null where the run stops before `step`.
  const std::vector<Leg>* waitFor(OutputStep step) {
    ready_.wait();
    return failedAt_ && step > *failedAt_ ? nullptr : &legs;
  }

  std::vector<Leg> legs;

 private:
  std::latch ready_{1};
  std::optional<OutputStep> failedAt_;
};

void writeReportTextRest(tracklog::OutputFile& file, const RunContext& run, const std::vector<Leg>& legs) {
  for (const Leg& leg : legs) writeLegBlock(file.get(), run, leg);
  writeSummaryTail(file.get(), run);
  file.closeOrFail();
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
}

// The RMC sentences are written from the store once the read is done, with the other outputs.
void ReportRun::keepPoint(const TrackPoint& local, const TrackPoint& utc, const ReportWindow& window,
                          const std::string& outputPath) {
  tracklog::TrackStore& store = session_.store;
  if (store.pointCount == 0) {
    openReportOutputs(outputs_, session_.names, outputPath, window.start, local, environment_.userId);
  }
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

// The outputs are independent of each other: each is written by a job of its own, with its
// own copy of the fields' texts and of the zone state, while the window waits as it always has
// until the whole report is written. The legs are found by a job too, beside the outputs that
// need none. Failures are reported afterwards in the order the outputs have always been
// written in.
void ReportRun::writeReport() {
  TravelStats& stats = session_.stats;
  const tracklog::TrackStore& store = session_.store;
  for (std::uint32_t i = 0; i + 1 < store.pointCount; ++i) {
    const TrackPoint& a = store.local(i);
    const TrackPoint& b = store.local(i + 1);
    stats.totalDistance += tracklog::distanceMetres(a.latitude, a.longitude, b.latitude, b.longitude);
  }
  writeSummaryHead(outputs_.reportText.get(),
                   {fields_, session_.zone, store, stats, session_.names, environment_.userId});

  // Nothing reads the window from here on but these copies: no event is processed until the
  // report is done, so they hold what the window shows.
  tracklog::FixedFields shown = tracklog::fixedCopyOf(fields_);
  const bool excel = shown.excelReports();
  const auto job = [&](auto write) {
    return [this, &shown, &stats, write](OutputJob& progress) {
      tracklog::FixedFields fields = shown;
      tracklog::ZoneState zone = session_.zone;
      write(RunContext{fields, zone, session_.store, stats, session_.names, environment_.userId}, progress);
    };
  };

  FoundLegs found;
  OutputJobs jobs;
  jobs.add(OutputStep::Legs, job([&](const RunContext& run, OutputJob& progress) {
             const FoundLegs::Announcement announcement(found, progress);
             std::vector<Leg> legs = findLegs(store.localPoints(), store.pointCount, run.fields);
             for (const Leg& leg : legs) {
               if (leg.endsInStop) stats.totalStopSeconds += leg.stopSeconds;
             }
             found.legs = std::move(legs);
             progress.at(OutputStep::Placemarks);
             TripKml(run, found.legs).checkLimit();
           }));
  jobs.add(OutputStep::Rmc,
           job([&](const RunContext& run, OutputJob&) { writeRmcFile(outputs_.rmc, run.store); }));
  // The largest first, so that the last to finish is a small one.
  jobs.add(OutputStep::Placemarks, job([&](const RunContext& run, OutputJob& progress) {
             if (const auto* legs = found.waitFor(OutputStep::Placemarks)) {
               writePointKmlFile(outputs_.pointKml, TripKml(run, *legs), progress);
             }
           }));
  jobs.add(OutputStep::LegFiles, job([&](const RunContext& run, OutputJob& progress) {
             if (const auto* legs = found.waitFor(OutputStep::LegFiles)) {
               writePathKmlFile(outputs_.pathKml, TripKml(run, *legs), progress);
             }
           }));
  // The GPX track is an extra for other tools: a failure is shown and the finished report kept.
  jobs.add(OutputStep::Gpx, job([&](const RunContext& run, OutputJob& progress) {
             const auto* legs = found.waitFor(OutputStep::Gpx);
             if (legs != nullptr && !writeTripGpx(run, *legs))
               progress.showMessage("GPX file write open error");
           }));
  if (excel) {
    jobs.add(OutputStep::Csv, job([](const RunContext& run, OutputJob&) { writeCsvFiles(run); }));
  }
  jobs.add(OutputStep::ReportText, job([&](const RunContext& run, OutputJob&) {
             if (const auto* legs = found.waitFor(OutputStep::ReportText)) {
               writeReportTextRest(outputs_.reportText, run, *legs);
             }
           }));
  if (excel) {
    jobs.addAfterEarlierSteps(OutputStep::Workbook, job([](const RunContext& run, OutputJob& progress) {
                                if (!writeChartWorkbook(run))
                                  progress.showMessage("excel file read open error");
                              }));
  }
  jobs.run(WorkerPool(environment_.outputThreads));
  session_.results = collectResults(store, stats.maxSpeed, std::move(found.legs), fields_);
  jobs.report(ui_);
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

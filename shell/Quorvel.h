#pragma once

#include <QElapsedTimer>
#include <QPointer>
#include <QWidget>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "WindowDownload.h"
#include "logger/DownloadSequence.h"
#include "logger/DownloadView.h"
#include "map/TripData.h"
#include "platform/LoggerPort.h"
#include "platform/ProfileFile.h"
#include "report/ReportRun.h"
#include "report/ReportSession.h"
#include "report/ReportUi.h"
#include "shellcore/FilterFill.h"
#include "tracklog/FieldSource.h"
#include "tripview/TripView.h"

class QCheckBox;
class QComboBox;
class QFileDialog;
class QGroupBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QTimer;

namespace tellurix::desktop {
class Desktop;
}

namespace tellurix::shell {

class WindowFields;

// The main window: the download's progress, the report filter and the commands. The window
// owns the program's one ReportSession, which photo tagging reads after a run, and the
// logger's line with the download that runs over it.
//
// The controls are public under their own names (also their objectName), as the tests
// address them.
class TfrmFilter final : public QWidget, public logger::DownloadView {
 public:
  // Builds the controls and the zone list and loads the settings. `programFolder` holds
  // LOGDATA.BIN and Tellurix.ini.
  TfrmFilter(std::string programFolder, desktop::Desktop& desktop, QWidget* parent = nullptr);
  TfrmFilter(const TfrmFilter&) = delete;
  TfrmFilter& operator=(const TfrmFilter&) = delete;
  TfrmFilter(TfrmFilter&&) = delete;
  TfrmFilter& operator=(TfrmFilter&&) = delete;
  ~TfrmFilter() override;

  QLabel* lblUserID;
  QGroupBox* gpbFilter;
  QLabel* lblStatus;
  QLabel* lblDataTime;
  QLabel* lblStartTime;
  QComboBox* cboStartYear;
  QComboBox* cboStartMonth;
  QComboBox* cboStartDay;
  QComboBox* cboStartHour;
  QComboBox* cboStartMin;
  QComboBox* cboStartSec;
  QLabel* lblEndTime;
  QComboBox* cboEndYear;
  QComboBox* cboEndMonth;
  QComboBox* cboEndDay;
  QComboBox* cboEndHour;
  QComboBox* cboEndMin;
  QComboBox* cboEndSec;
  QComboBox* cboTimeZone;
  QPushButton* btnReset;
  QPushButton* btnSetTimeZone;
  QLabel* lblSpeed;
  QLineEdit* memSpeed;
  QComboBox* cboSpeedUnit;
  QLabel* lblStopPointTimePeriod;
  QLineEdit* memStopPointTimePeriod;
  QLabel* lblMinute;
  QCheckBox* chkGpsSpeedChart;
  QLabel* lblLog;
  QLabel* lblLogShow;
  QProgressBar* proStatus;
  QLabel* lblPercentage;
  QLabel* lblPercentageShow;
  QPushButton* btnClear;
  QPushButton* btnOK;
  QPushButton* btnClose;
  QPushButton* btnTagging;
  QPushButton* btnViewReport;
  QPushButton* btnMap;

  // The download's timers (WindowDownload's, as logger::kDownloadTimers names and times them;
  // created stopped, the download sequence drives them) and the blink.
  QTimer* Timer2;
  QTimer* tmrQueryRecord;
  QTimer* Timer3;
  QTimer* Timer1;
  QTimer* Timer4;  // 200 ms, the status line's blink while a report is made

  QFileDialog* SaveDialog1;

  // The rest of the window's creation, before it is first shown: finds and opens the logger's
  // line, then the download's probe, which waits 1 to 3 s, starts Timer2, loads the chart
  // preference and creates the reader. A line that cannot be had is shown in its box: then,
  // and when a fatal error has ended the download already, the exit code the program ends with
  // before its event loop runs. The clock must outlive the window.
  [[nodiscard]] std::optional<int> StartDownload(const LinkOpener& open, logger::Clock& clock);
  [[nodiscard]] std::optional<int> StartDownload() {
    return StartDownload(platform::openLoggerPort, systemClock_);
  }
  // The download, once started.
  [[nodiscard]] const logger::DownloadSequence* download() const { return download_->sequence(); }

  // --- Zones, filter and settings ---
  void FillZoneList();
  // Fills the twelve filter fields from the log's span kept last, in the zone of
  // cboTimeZone's text. Throws ConversionError for a zone text whose offset digits are not a
  // number.
  void FillFilterFromLog();
  void LoadSettings();
  void SaveReportSettings();
  void SaveZoneIndex();

  // --- What the download does to the window (logger::DownloadView) ---
  void StartTimer(logger::DownloadTimer timer) override;
  void StopTimer(logger::DownloadTimer timer) override;
  void EnableButton(logger::CommandButton button) override;
  void LoadChartPreference() override;
  void SetStatusText(std::string_view text) override;
  void SetStatusColour(logger::StatusColour colour) override;
  void SetStatusColour(report::StatusColour colour);  // the report run's colours
  void ProcessMessages() override;
  void SetProgress(int percent) override;
  void SetRecordCountText(std::string_view text) override;
  void SetPercentageText(std::string_view text) override;
  void SetUserId(std::string_view text) override;
  // Keeps the log's span (UTC) for SetTimeZone and fills the filter from it.
  void FillFilterFromLog(const logger::LogTime& start, const logger::LogTime& end) override;
  // Takes the twelve filter texts and the zone index for Reset.
  void SaveResetSnapshot() override;
  bool Ask(std::string_view text, std::string_view caption) override;

  // The photo tagging window: Tagging disables this window and shows it. Its close gives this
  // window back; minimising it does not.
  void setTaggingWindow(QWidget* window);

  // --- Commands ---
  // The buttons run them through desktop::runCommand, which reports an error that escapes
  // and ends the program on a fatal one; called directly, the errors reach the caller.
  void btnOKClick();
  void btnCloseClick();
  void btnSetTimeZoneClick();
  void btnResetClick();
  void btnClearClick();
  void btnViewReportClick();
  void btnTaggingClick();
  // Trip Map: the trip of the last report that ended in Report Done, in the trip view.
  void btnMapClick();
  void Timer4Timer();

  [[nodiscard]] report::ReportSession& session() { return *session_; }
  // The trip view Trip Map opened last, while it is open.
  [[nodiscard]] tripview::TfrmTripView* tripView() const { return tripView_; }
  // The window's fields as the core reads them; photo tagging reads unit, limit and stop period.
  [[nodiscard]] tracklog::FieldSource& fields();
  [[nodiscard]] const std::string& programFolder() const { return programFolder_; }
  [[nodiscard]] std::string logPath() const { return programFolder_ + "/LOGDATA.BIN"; }
  // Tellurix.ini in the program folder, where the photo window keeps its settings too.
  [[nodiscard]] shellcore::ProfileStore& settings() { return settings_; }
  [[nodiscard]] const std::string& settingsPath() const { return settings_.path(); }
  // Ticks of the blink since the program started; never reset.
  [[nodiscard]] std::uint64_t blinkTicks() const { return blinkTicks_; }
  // Called once per record during Make Report: lets the window process its events, at most
  // once every 10 ms so that a full log is not slowed down.
  void reportRecordRead();
  void startReportEvents() { sinceEvents_.invalidate(); }

 private:
  // The twelve filter fields and the zone list's index, as Reset restores them.
  struct FilterSnapshot {
    shellcore::FilterTexts fields = shellcore::emptyLogFilter();
    int zoneIndex = -1;
  };

  void createControls();
  void layOutControls();
  void placeTimeFields(QWidget* block);
  void connectCommands();
  void setFilterTexts(const shellcore::FilterTexts& texts);
  [[nodiscard]] shellcore::FilterTexts filterTexts() const;
  [[nodiscard]] QPushButton* buttonOf(logger::CommandButton button) const;
  // The command buttons, which a running report holds disabled.
  [[nodiscard]] std::vector<QWidget*> commandButtons() const;
  // What Make Report reads: the downloaded log and the logger's user id.
  [[nodiscard]] report::ReportEnvironment reportSource() const;
  // A Make Report run that ended with "Report Done": the commands that need a report.
  void reportDone();

  std::string programFolder_;
  desktop::Desktop& desktop_;
  platform::ProfileFile settings_;
  std::unique_ptr<report::ReportSession> session_;
  std::unique_ptr<WindowFields> fields_;
  logger::LogTime logStartTime_ = logger::EmptyLogTime();
  logger::LogTime logEndTime_ = logger::EmptyLogTime();
  FilterSnapshot resetSnapshot_;
  std::uint64_t blinkTicks_ = 0;
  QElapsedTimer sinceEvents_;
  QPointer<QWidget> taggingWindow_;
  // What the last Done report left for the trip view; later runs refill the session.
  std::shared_ptr<const map::TripData> lastTrip_;
  QPointer<tripview::TfrmTripView> tripView_;

  logger::SystemClock systemClock_;
  std::unique_ptr<WindowDownload> download_;
};

}  // namespace tellurix::shell

#pragma once

#include <QElapsedTimer>
#include <QPointer>
#include <QWidget>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>

#include "FilterFill.h"
#include "LoggerPort.h"
#include "logger/DownloadSequence.h"
#include "logger/DownloadView.h"
#include "report/ReportSession.h"
#include "report/ReportUi.h"
#include "tracklog/Errors.h"
#include "tracklog/FieldSource.h"

class QCheckBox;
class QComboBox;
class QFileDialog;
class QGroupBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QTimer;

namespace tellurix::shell {

class Desktop;
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
  TfrmFilter(std::string programFolder, Desktop& desktop, QWidget* parent = nullptr);
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

  // The download's timers (created stopped; the download sequence drives them) and the blink.
  QTimer* Timer2;          // 100 ms
  QTimer* tmrQueryRecord;  // 100 ms
  QTimer* Timer3;          // 20 ms
  QTimer* Timer1;          // 1000 ms
  QTimer* Timer4;          // 200 ms, the status line's blink while a report is made

  QFileDialog* SaveDialog1;

  // The rest of the window's creation, before it is first shown: finds and opens the logger's
  // line (a failure is shown in its box and ends the program with its code, 0), then the
  // download's probe, which waits 1 to 3 s, starts Timer2, loads the chart preference and
  // creates the reader. False when the program was to end. The clock must outlive the window.
  bool StartDownload(const LinkOpener& open, logger::Clock& clock);
  bool StartDownload() { return StartDownload(openLoggerPort, systemClock_); }
  // The download, once started.
  [[nodiscard]] const logger::DownloadSequence* download() const { return download_.get(); }

  // --- Zones, filter and settings ---
  void FillZoneList();
  // Fills the twelve filter fields from the log's span kept last, in the zone of
  // cboTimeZone's text. Throws ConversionError for a zone text whose offset digits are not a
  // number.
  void FillFilterFromLog();
  // Takes the twelve filter texts and the zone index for Reset.
  void ResetSnapshot();
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
  void SaveResetSnapshot(logger::FilterSnapshot& snapshot) override;
  bool Ask(std::string_view text, std::string_view caption) override;

  // The photo tagging window: Tagging disables this window and shows it. Its close gives this
  // window back; minimising it does not.
  void setTaggingWindow(QWidget* window);

  // --- Commands ---
  void btnOKClick();
  void btnCloseClick();
  void btnSetTimeZoneClick();
  void btnResetClick();
  void btnClearClick();
  void btnViewReportClick();
  void btnTaggingClick();
  void Timer4Timer();
  void Timer2Timer() { downloadTick(&logger::DownloadSequence::Timer2Tick); }
  void tmrQueryRecordTimer() { downloadTick(&logger::DownloadSequence::QueryRecordTick); }
  void Timer3Timer() { downloadTick(&logger::DownloadSequence::Timer3Tick); }
  void Timer1Timer() { downloadTick(&logger::DownloadSequence::Timer1Tick); }

  [[nodiscard]] report::ReportSession& session() { return *session_; }
  // The window's fields as the core reads them; photo tagging reads unit, limit and stop period.
  [[nodiscard]] tracklog::FieldSource& fields();
  [[nodiscard]] const std::string& programFolder() const { return programFolder_; }
  [[nodiscard]] std::string logPath() const { return programFolder_ + "/LOGDATA.BIN"; }
  [[nodiscard]] std::string settingsPath() const;
  // Ticks of the blink since the program started; never reset.
  [[nodiscard]] std::uint64_t blinkTicks() const { return blinkTicks_; }
  // Called once per record during Make Report: lets the window process its events, at most
  // once every 10 ms so that a full log is not slowed down.
  void reportRecordRead();
  void startReportEvents() { sinceEvents_.invalidate(); }

 private:
  void createControls();
  void layOutControls();
  void placeTimeFields(QWidget* block);
  void connectCommands();
  void setFilterTexts(const FilterTexts& texts);
  [[nodiscard]] FilterTexts filterTexts() const;
  // Runs a command; an error escaping it is reported and the program goes on.
  void guarded(const std::function<void()>& command);

  [[nodiscard]] QTimer* timerOf(logger::DownloadTimer timer) const;
  [[nodiscard]] QPushButton* buttonOf(logger::CommandButton button) const;
  void downloadTick(void (logger::DownloadSequence::*tick)());
  // One entry of the download or one posted job. A FatalError is shown and ends the program;
  // any other error is reported and the program goes on.
  void downloadStep(const std::function<void()>& step);
  void endWithFatalError(const tracklog::FatalError& error);
  // From any thread: the job runs on the window thread, after the jobs posted before it.
  void postToWindow(logger::WindowJob job);
  // Runs the posted jobs, unless a step is running: one that processes messages in its
  // middle must not see the reader's jobs overtake its own rest.
  void runPostedJobs();
  [[nodiscard]] std::uint32_t receivedByteCount() const;
  [[nodiscard]] std::string userId() const;

  std::string programFolder_;
  Desktop& desktop_;
  std::unique_ptr<report::ReportSession> session_;
  std::unique_ptr<WindowFields> fields_;
  logger::LogTime logStartTime_ = logger::EmptyLogTime();
  logger::LogTime logEndTime_ = logger::EmptyLogTime();
  std::uint64_t blinkTicks_ = 0;
  QElapsedTimer sinceEvents_;
  QPointer<QWidget> taggingWindow_;
  std::array<QPushButton*, 7> commands_{};

  // The line outlives the download that uses it.
  logger::SystemClock systemClock_;
  std::unique_ptr<platform::LoggerLink> link_;
  std::unique_ptr<logger::DownloadSequence> download_;
  std::mutex postedMutex_;
  std::deque<logger::WindowJob> posted_;
  int stepDepth_ = 0;
  bool downloadEnded_ = false;  // a fatal error ended it (only a test's desktop goes on)
};

}  // namespace tellurix::shell

#pragma once

#include <QElapsedTimer>
#include <QPointer>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "FilterFill.h"
#include "report/ReportSession.h"
#include "report/ReportUi.h"
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
// owns the program's one ReportSession, which photo tagging reads after a run.
//
// The controls are public under their own names (also their objectName), as the download
// sequence and the tests address them.
class TfrmFilter final : public QWidget {
 public:
  // `programFolder` holds LOGDATA.BIN and Tellurix.ini.
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

  // --- Zones, filter and settings ---
  void FillZoneList();
  // Keeps the log's span (UTC, as the download cut it) and fills the twelve filter fields
  // with it in the zone of cboTimeZone's text. Throws ConversionError for a zone text whose
  // offset digits are not a number.
  void fillFilterFromLog(const LogTimeTexts& start, const LogTimeTexts& end);
  void FillFilterFromLog();  // again, from the span kept last
  // The twelve filter texts and the zone index, for Reset.
  void ResetSnapshot();
  void LoadSettings();
  void SaveReportSettings();
  void SaveZoneIndex();
  void LoadChartPreference();

  // --- What the download sequence does to the window ---
  // Make Report, Close, SetTimeZone, Clear, Reset, in this order.
  void enableDownloadCommands();
  void setReceivedByteCount(std::uint32_t bytes) { receivedByteCount_ = bytes; }
  void showRecordCount(std::string_view text);  // lblLogShow
  void showMemoryUse(std::string_view text);    // lblPercentageShow
  void setProgress(int percent);
  [[nodiscard]] int progress() const;
  void setStatusText(std::string_view text);
  void setStatusColour(report::StatusColour colour);
  // Shown only when not empty; reports name their files after it.
  void showUserId(std::string_view userId);
  void processEvents();
  // The Clear command's question; true when the user answered Yes.
  bool confirmClearMemory();
  // The logger's side of Clear and Close, set by the download sequence.
  void setClearCommand(std::function<void()> command) { clearCommand_ = std::move(command); }
  void setCloseLinkCommand(std::function<void()> command) { closeLinkCommand_ = std::move(command); }

  // The photo tagging window: Tagging disables this window and shows it; this window is
  // enabled again when it hides.
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

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  struct Snapshot {
    FilterTexts texts = emptyLogFilter();
    int zoneIndex = -1;
  };

  void createControls();
  void layOutControls();
  void placeTimeFields(QWidget* block);
  void connectCommands();
  void setFilterTexts(const FilterTexts& texts);
  [[nodiscard]] FilterTexts filterTexts() const;
  // Runs a command; an error escaping it is reported and the program goes on.
  void guarded(const std::function<void()>& command);

  std::string programFolder_;
  Desktop& desktop_;
  std::unique_ptr<report::ReportSession> session_;
  std::unique_ptr<WindowFields> fields_;
  std::uint32_t receivedByteCount_ = 0;
  std::string userId_;
  LogTimeTexts logStartTime_;
  LogTimeTexts logEndTime_;
  Snapshot resetSnapshot_;
  std::uint64_t blinkTicks_ = 0;
  QElapsedTimer sinceEvents_;
  std::function<void()> clearCommand_;
  std::function<void()> closeLinkCommand_;
  QPointer<QWidget> taggingWindow_;
  bool tagging_ = false;
  std::array<QPushButton*, 7> commands_{};
};

}  // namespace tellurix::shell

#pragma once

#include <QElapsedTimer>
#include <QPointer>
#include <QWidget>
#include <array>
#include <functional>
#include <memory>
#include <string>

#include "CameraClock.h"
#include "PhotoList.h"
#include "report/ReportSession.h"
#include "shellcore/ProfileStore.h"
#include "tracklog/FieldSource.h"

class QCheckBox;
class QComboBox;
class QFileDialog;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QStatusBar;
class QTableWidget;
class QTimer;

namespace tellurix::desktop {
class Desktop;
}

namespace tellurix::tagging {

// Even rows light cyan, odd rows the desktop's tooltip colour, by the row's current index.
QColor lsvPhotoRowColour(int row);

// The photo tagging window: the photo list with Load, Remove, preview and sort, the camera
// clock and Make Photo Path. Created hidden at program start and kept for the program's
// lifetime; closing only hides it. It works on what the last report run left in `session`
// and reads the unit, over-speed limit, stop period and zone from the main window's `fields`.
// Whether Make Photo Path writes the positions into the photo copies is kept in `settings` (the
// main window's Tellurix.ini): read when the window is created, written at every change.
// A window of its own, not a child of `mainWindow`: that one is disabled while this one is
// shown, and a child would be disabled with it. Its close (Close or the close box) shows and
// enables `mainWindow` again; minimising it does not.
//
// The controls are public under their own names (also their objectName), as the tests address them.
class TfrmTagging final : public QWidget {
 public:
  TfrmTagging(report::ReportSession& session, tracklog::FieldSource& fields, QWidget* mainWindow,
              desktop::Desktop& desktop, shellcore::ProfileStore& settings);
  TfrmTagging(const TfrmTagging&) = delete;
  TfrmTagging& operator=(const TfrmTagging&) = delete;
  TfrmTagging(TfrmTagging&&) = delete;
  TfrmTagging& operator=(TfrmTagging&&) = delete;
  ~TfrmTagging() override;

  QGroupBox* gpbPhoto;
  QTableWidget* lsvPhoto;
  QPushButton* btnLoad;
  QPushButton* btnRemove;
  QPushButton* btnMake;
  QPushButton* btnClose;
  QCheckBox* chkWriteExif;  // "Write positions into photo copies", checked unless the settings say no
  QGroupBox* gpbTime;
  QLabel* lblDay;
  QComboBox* cboDay;
  QLabel* lblHour;
  QComboBox* cboHour;
  QLabel* lblMinute;
  QComboBox* cboMinute;
  QLabel* lblSecond;
  QComboBox* cboSecond;
  QLabel* lblSystemTime;
  QLineEdit* edtSystemTime;
  QLabel* lblCameraTime;
  QLineEdit* edtCameraTime;
  QPushButton* btnApplyAdjustment;
  QGroupBox* gpbPriview;
  QLabel* imgPriview;
  QStatusBar* StatusBar1;
  QFileDialog* opdLoad;
  QTimer* tmrAdjust;  // 10 ms, from creation to the end of the program

  // --- Commands and events ---
  void btnLoadClick();
  void lsvPhotoClick();
  void btnRemoveClick();
  void lsvPhotoColumnClick(int column);
  void btnCloseClick();
  void btnMakeClick();
  void btnApplyAdjustmentClick();
  void tmrAdjustTimer();

  // The text of status panel 0 or 1.
  [[nodiscard]] QString statusText(int panel) const;
  void setStatusText(std::string_view text);
  [[nodiscard]] const PhotoList& photos() const { return list_; }
  [[nodiscard]] const CameraClock& cameraClock() const { return clock_; }
  // The clock that System Time shows; the tests pin it.
  void setLocalClock(LocalClock& clock) { localClock_ = &clock; }
  // Lets the window process pending events, at most once every 10 ms so that a walk over a
  // full track is not slowed down; new rows show as they are added.
  void processEvents();

 protected:
  void closeEvent(QCloseEvent* event) override;  // FormClose
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  class Ui;
  class OffsetFields;

  void createControls();
  void layOutControls();
  void connectCommands();
  // Runs a command with the window's commands disabled; an error that ends it is reported, a
  // fatal one ends the program.
  void command(const std::function<void()>& body);
  void clearPreview();
  // The list view shows the photo list again, keeping the selected rows selected.
  void showRows();
  void showNewRows();
  // Starts the list empty when the last report went to another folder than the listed photos.
  void forgetPhotosOfAnotherReport();

  report::ReportSession& session_;
  tracklog::FieldSource& fields_;
  QPointer<QWidget> mainWindow_;
  desktop::Desktop& desktop_;
  shellcore::ProfileStore& settings_;
  PhotoList list_;
  std::string listFolder_;  // the report folder whose photo folder holds the listed photos' copies
  CameraClock clock_;
  SystemLocalClock systemClock_;
  LocalClock* localClock_ = &systemClock_;
  std::unique_ptr<Ui> ui_;
  std::unique_ptr<OffsetFields> offsetFields_;
  std::array<QLabel*, 2> statusPanels_{};
  bool busy_ = false;
  QElapsedTimer sinceEvents_;
};

}  // namespace tellurix::tagging

#include <QAbstractItemView>
#include <QCheckBox>
#include <QFileDialog>
#include <QGroupBox>
#include <QLineEdit>
#include <QProgressBar>
#include <QTimer>

#include "WindowFixture.h"
#include "logger/DownloadView.h"
#include "logger/Readrs232.h"
#include "shell/WindowReportUi.h"
#include "tripview/TripMapWidget.h"
#include "tripview/TripView.h"

namespace tellurix::testing {
namespace {

// What a control shows: a label's, button's or check box's text, a group's title, a field's
// or drop-down's current text, a progress bar's value.
std::string shownText(const QObject* control) {
  if (const auto* w = qobject_cast<const QLabel*>(control)) return w->text().toStdString();
  if (const auto* w = qobject_cast<const QAbstractButton*>(control)) return w->text().toStdString();
  if (const auto* w = qobject_cast<const QGroupBox*>(control)) return w->title().toStdString();
  if (const auto* w = qobject_cast<const QLineEdit*>(control)) return w->text().toStdString();
  if (const auto* w = qobject_cast<const QComboBox*>(control)) return w->currentText().toStdString();
  if (const auto* w = qobject_cast<const QProgressBar*>(control)) return std::to_string(w->value());
  return "?";
}

std::vector<std::string> items(const QComboBox* box) {
  std::vector<std::string> out;
  for (int i = 0; i < box->count(); ++i) out.push_back(box->itemText(i).toStdString());
  return out;
}

std::vector<std::string> numbers(int first, int last) {
  std::vector<std::string> out;
  for (int n = first; n <= last; ++n) out.push_back(std::to_string(n));
  return out;
}

struct Control {
  const char* name;
  const char* kind;
  const char* text;
};

// As a first run without settings file shows them.
constexpr Control kControls[] = {
    {"lblUserID", "QLabel", ""},
    {"gpbFilter", "QGroupBox", "Report Filter"},
    {"lblStatus", "QLabel", "Data Reading......"},
    {"lblDataTime", "QLabel", "  yyyy         mm          dd            hh          mm         ss      "},
    {"lblStartTime", "QLabel", "Report Start Time:"},
    {"cboStartYear", "QComboBox", "2000"},
    {"cboStartMonth", "QComboBox", "1"},
    {"cboStartDay", "QComboBox", "1"},
    {"cboStartHour", "QComboBox", "0"},
    {"cboStartMin", "QComboBox", "0"},
    {"cboStartSec", "QComboBox", "0"},
    {"lblEndTime", "QLabel", "Report End Time:"},
    {"cboEndYear", "QComboBox", "2000"},
    {"cboEndMonth", "QComboBox", "1"},
    {"cboEndDay", "QComboBox", "1"},
    {"cboEndHour", "QComboBox", "0"},
    {"cboEndMin", "QComboBox", "0"},
    {"cboEndSec", "QComboBox", "0"},
    {"cboTimeZone", "QComboBox", "(UTC+08:00) Taipei"},
    {"btnReset", "QPushButton", "Reset"},
    {"btnSetTimeZone", "QPushButton", "SetTimeZone"},
    {"lblSpeed", "QLabel", "    Over Speed:"},
    {"memSpeed", "QLineEdit", "90"},
    {"cboSpeedUnit", "QComboBox", "KPH"},  // "KMH" until the settings are loaded
    {"lblStopPointTimePeriod", "QLabel", "Stop Point Time Period :"},
    {"memStopPointTimePeriod", "QLineEdit", "10"},
    {"lblMinute", "QLabel", "Minutes"},
    {"chkGpsSpeedChart", "QCheckBox", "Excel Reports"},
    {"lblLog", "QLabel", "  No. of records :"},
    {"lblLogShow", "QLabel", ""},
    {"proStatus", "QProgressBar", "0"},
    {"lblPercentage", "QLabel", "Percentage :"},
    {"lblPercentageShow", "QLabel", ""},
    {"btnClear", "QPushButton", "Clear"},
    {"btnOK", "QPushButton", "Make Report"},
    {"btnClose", "QPushButton", "Close"},
    {"btnTagging", "QPushButton", "Tagging"},
    {"btnViewReport", "QPushButton", "View Report"},
    {"btnMap", "QPushButton", "Trip Map"},
};

TEST_F(WindowTest, EveryControlHasItsNameKindAndFirstRunContent) {
  shell::TfrmFilter& w = open();
  for (const Control& c : kControls) {
    const auto* control = w.findChild<QWidget*>(QString::fromLatin1(c.name));
    ASSERT_NE(control, nullptr) << c.name;
    EXPECT_TRUE(control->inherits(c.kind)) << c.name << " is a " << control->metaObject()->className();
    EXPECT_EQ(shownText(control), c.text) << c.name;
  }
  EXPECT_FALSE(w.chkGpsSpeedChart->isChecked());
  EXPECT_EQ(w.proStatus->minimum(), 0);
  EXPECT_EQ(w.proStatus->maximum(), 100);
  EXPECT_EQ(w.memSpeed->maxLength(), 5);
  EXPECT_TRUE(w.memSpeed->alignment() & Qt::AlignRight);
  EXPECT_TRUE(w.memStopPointTimePeriod->alignment() & Qt::AlignRight);
  EXPECT_TRUE(w.lblUserID->alignment() & Qt::AlignRight);
  EXPECT_TRUE(w.lblStatus->alignment() & Qt::AlignHCenter);
  EXPECT_EQ(w.cboTimeZone->maxVisibleItems(), 30);
  for (const QComboBox* box : w.gpbFilter->findChildren<QComboBox*>())
    EXPECT_TRUE(box->isEditable()) << box->objectName().toStdString();
}

// A script picks its --zone from the batch tool's list; the window's list is what users pick from.
TEST_F(WindowTest, TheBatchToolListsTheWindowsZonesInItsOrder) {
  shell::TfrmFilter& w = open();
  std::string shown;
  for (int i = 0; i < w.cboTimeZone->count(); ++i) shown += w.cboTimeZone->itemText(i).toStdString() + "\n";
  const CommandResult zones = runCommand(toolCommand("tools/cli/tellurix-cli") + " zones");
  ASSERT_EQ(zones.status, 0) << zones.err;
  EXPECT_EQ(zones.out, shown);
  EXPECT_EQ(w.cboTimeZone->count(), 90);
}

TEST_F(WindowTest, TheDropDownsOfferTheirValues) {
  shell::TfrmFilter& w = open();
  struct Offer {
    const QComboBox* box;
    std::vector<std::string> values;
  };
  const Offer offers[] = {
      {w.cboStartYear, numbers(2007, 2015)}, {w.cboEndYear, numbers(2007, 2015)},
      {w.cboStartMonth, numbers(1, 12)},     {w.cboEndMonth, numbers(1, 12)},
      {w.cboStartDay, numbers(1, 31)},       {w.cboEndDay, numbers(1, 31)},
      {w.cboStartHour, numbers(0, 23)},      {w.cboEndHour, numbers(0, 23)},
      {w.cboStartMin, numbers(0, 59)},       {w.cboEndMin, numbers(0, 59)},
      {w.cboStartSec, numbers(0, 59)},       {w.cboEndSec, numbers(0, 59)},
      {w.cboSpeedUnit, {"KPH", "MPH"}},
  };
  for (const Offer& o : offers) EXPECT_EQ(items(o.box), o.values) << o.box->objectName().toStdString();
}

TEST_F(WindowTest, FixedSizeWithTheDownloadsOwnTimersAndTheSaveDialog) {
  shell::TfrmFilter& w = open();
  EXPECT_EQ(w.windowTitle().toStdString(), "Tellurix v1.0.1.3");
  const Qt::WindowFlags flags = w.windowFlags();
  EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
  EXPECT_FALSE(flags & Qt::WindowMinimizeButtonHint);
  EXPECT_FALSE(flags & Qt::WindowMaximizeButtonHint);
  w.show();
  EXPECT_EQ(w.minimumSize(), w.maximumSize());

  // The download's timers are the ones its sequence starts and stops, at the intervals the
  // headless window runs them at too.
  const std::pair<logger::DownloadTimer, const QTimer*> downloadTimers[] = {
      {logger::DownloadTimer::Timer2, w.Timer2},
      {logger::DownloadTimer::QueryRecord, w.tmrQueryRecord},
      {logger::DownloadTimer::Timer3, w.Timer3},
      {logger::DownloadTimer::Timer1, w.Timer1}};
  for (const auto& [which, timer] : downloadTimers) {
    const char* name = logger::NameOf(which);
    EXPECT_EQ(w.findChild<QTimer*>(QString::fromLatin1(name)), timer) << name;
    EXPECT_EQ(timer->intervalAsDuration(), logger::IntervalOf(which)) << name;
    EXPECT_FALSE(timer->isActive()) << name;
  }
  EXPECT_EQ(w.findChild<QTimer*>(QStringLiteral("Timer4")), w.Timer4);
  EXPECT_EQ(w.Timer4->interval(), 200);  // the blink
  EXPECT_FALSE(w.Timer4->isActive());
  const auto* dialog = w.findChild<QFileDialog*>(QStringLiteral("SaveDialog1"));
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(dialog->acceptMode(), QFileDialog::AcceptSave);
  EXPECT_EQ(dialog->nameFilters(), QStringList{QStringLiteral("All Files (*)")});
}

TEST_F(WindowTest, CommandsFollowTheDownloadAndTheFirstDoneReport) {
  shell::TfrmFilter& w = open();
  EXPECT_EQ(commandStates(), "0000000");
  EXPECT_TRUE(w.cboStartYear->isEnabled());  // the filter can be edited while downloading
  EXPECT_TRUE(w.cboTimeZone->isEnabled());

  download(shortDrive());
  EXPECT_EQ(commandStates(), "1111100");
  EXPECT_EQ(status(), "100% Read Complete");
  EXPECT_EQ(statusColour(), QColor(255, 0, 0));

  w.cboEndHour->setEditText(QStringLiteral("0"));  // end before start: refused
  w.btnOK->click();
  EXPECT_EQ(desktop.of("message"),
            std::vector<std::string>{
                "Input Error|Invalid Setting:The \" End Time\" earlier or equal than\" Start Time\"."});
  EXPECT_EQ(commandStates(), "1111100");

  w.btnResetClick();
  w.btnOK->click();
  EXPECT_EQ(status(), "Report Done");
  EXPECT_EQ(statusColour(), QColor(0, 0, 128));
  EXPECT_EQ(commandStates(), "1111111");

  w.cboStartYear->setEditText(QStringLiteral("2011"));  // a year later: matches nothing
  w.cboEndYear->setEditText(QStringLiteral("2011"));
  w.btnOK->click();
  EXPECT_EQ(desktop.of("message").back(), "Tellurix|No Match Record !");
  EXPECT_EQ(status(), "");
  EXPECT_EQ(statusColour(), QColor(255, 0, 0));
  EXPECT_EQ(commandStates(), "1111111");  // once enabled, for the rest of the run
}

TEST_F(WindowTest, WhileAReportIsMadeEventsRunAndNoCommandCanBeClicked) {
  shell::TfrmFilter& w = open();
  download(shortDrive(200));
  std::string duringRun;
  int runsStarted = 0;
  desktop.whileSaveDialogIsOpen = [&] {
    ++runsStarted;
    EXPECT_EQ(status(), "");  // cleared as the run starts
    // Posted now, delivered while the log is read.
    QTimer::singleShot(0, &w, [&] {
      duringRun = commandStates() + " " + status() + (w.Timer4->isActive() ? " blinking" : "");
      w.btnOK->click();
    });
  };
  w.btnOK->click();
  EXPECT_EQ(duringRun, "0000000 Making Report... blinking");
  EXPECT_EQ(runsStarted, 1);
  EXPECT_EQ(status(), "Report Done");
  EXPECT_FALSE(w.Timer4->isActive());
  EXPECT_EQ(w.session().store.pointCount, 200U);
}

TEST_F(WindowTest, MakeReportWritesTheReportAndViewReportOpensItsFolder) {
  shell::TfrmFilter& w = open();
  download(shortDrive(), "ID-7");
  EXPECT_EQ(w.cboStartHour->currentText().toStdString(), "10");  // Taipei, the first run's zone
  EXPECT_EQ(w.cboStartSec->currentText().toStdString(), "5");
  ASSERT_TRUE(runUntil([&] { return !w.Timer1->isActive(); }));
  EXPECT_EQ(w.lblUserID->text().toStdString(), "ID-7");

  w.btnOK->click();
  EXPECT_EQ(desktop.of("save dialog"), std::vector<std::string>{"All Files (*)"});
  EXPECT_EQ(desktop.of("message"), std::vector<std::string>{});
  ASSERT_EQ(status(), "Report Done");
  const std::string folder = dir.file("out/2010-09-09") + "/";
  EXPECT_EQ(w.session().names.reportFolder, folder);
  EXPECT_EQ(w.session().store.pointCount, 30U);
  const std::vector<std::string> rmc = crlfLines(readFile(folder + "trip-rmc.txt"));
  ASSERT_EQ(rmc.size(), 30U);
  EXPECT_EQ(rmc[0].substr(0, 13), "$GPRMC,020005");  // UTC
  EXPECT_TRUE(std::filesystem::exists(folder + "trip-ID-7-2010-09-09.kml"));

  w.btnViewReport->click();
  EXPECT_EQ(desktop.of("open"), std::vector<std::string>{folder});
}

TEST_F(WindowTest, RefusalsAndCancelLeaveTheWindowReady) {
  writeLog(dir.file("LOGDATA.BIN"), shortDrive());  // an earlier run's log does not count
  shell::TfrmFilter& w = open();
  download({});
  EXPECT_EQ(w.lblLogShow->text().toStdString(), "0");
  EXPECT_EQ(w.lblPercentageShow->text().toStdString(), "0 %");
  EXPECT_EQ(w.cboStartYear->currentText().toStdString(), "2000");
  w.btnOK->click();  // nothing downloaded
  EXPECT_EQ(desktop.of("message"), std::vector<std::string>{"Empty Data|Empty. No report was generated."});

  open();  // the next start
  download(shortDrive());
  desktop.savePath.reset();
  window->btnOK->click();  // cancelled
  EXPECT_EQ(desktop.of("message").size(), 1U);
  EXPECT_EQ(status(), "");
  EXPECT_EQ(commandStates(), "1111100");
}

TEST_F(WindowTest, AConversionErrorIsReportedAndTheProgramGoesOn) {
  shell::TfrmFilter& w = open();
  download(shortDrive());
  w.cboStartYear->setEditText(QStringLiteral("20x0"));
  EXPECT_EQ(runEventLoop([&] { w.btnOK->click(); }, std::chrono::milliseconds(300)), std::nullopt)
      << "the program must go on";
  EXPECT_EQ(desktop.of("error"), std::vector<std::string>{"'20x0' is not a valid integer value"});
  EXPECT_EQ(commandStates(), "1111100");

  w.cboTimeZone->setEditText(QStringLiteral("(GMT+8:00) Typed"));
  w.btnSetTimeZone->click();
  EXPECT_EQ(desktop.of("error").back(), "'8:' is not a valid integer value");
}

TEST_F(WindowTest, AMissingLogFileIsShownAndEndsTheProgramWithItsCode) {
  shell::TfrmFilter& w = open();
  download(shortDrive());
  std::filesystem::remove(w.logPath());
  EXPECT_EQ(runEventLoop([&] { w.btnOK->click(); }), 1);
  EXPECT_EQ(desktop.of("message"), std::vector<std::string>{"Tellurix|bin file read open error in Quorvel"});
}

TEST_F(WindowTest, SetTimeZoneRefillsSavesAndSnapshotsAndResetRestoresIt) {
  shell::TfrmFilter& w = open();
  download(shortDrive());  // 2010-09-09 02:00:05 .. 02:00:34 UTC
  const int bogota = w.cboTimeZone->findText(QStringLiteral("(UTC-05:00) Bogota, Lima, Quito"));
  ASSERT_GE(bogota, 0);
  w.cboTimeZone->setCurrentIndex(bogota);
  w.btnSetTimeZone->click();
  auto start = [&] {
    std::string t;
    for (const QComboBox* b : {w.cboStartYear, w.cboStartMonth, w.cboStartDay, w.cboStartHour, w.cboStartMin,
                               w.cboStartSec, w.cboEndHour, w.cboEndMin, w.cboEndSec}) {
      t += b->currentText().toStdString() + " ";
    }
    return t;
  };
  EXPECT_EQ(start(), "2010 9 8 21 0 5 21 0 34 ");
  EXPECT_NE(settings().find("TimeZone=" + std::to_string(bogota)), std::string::npos) << settings();

  w.cboStartDay->setEditText(QStringLiteral("1"));
  w.cboEndSec->setEditText(QStringLiteral("59"));
  w.cboTimeZone->setCurrentIndex(3);
  w.btnReset->click();
  EXPECT_EQ(start(), "2010 9 8 21 0 5 21 0 34 ");
  EXPECT_EQ(w.cboTimeZone->currentIndex(), bogota);
}

TEST_F(WindowTest, TheBlinkCounterCarriesOverBetweenRuns) {
  shell::TfrmFilter& w = open();
  shell::WindowReportUi ui(w, desktop);
  std::vector<QColor> colours;
  auto tick = [&] {
    w.Timer4Timer();
    colours.push_back(statusColour());
    EXPECT_EQ(status(), "Making Report...");
  };
  ui.startBlink();
  EXPECT_TRUE(w.Timer4->isActive());
  tick();
  tick();
  tick();
  ui.stopBlink();
  EXPECT_FALSE(w.Timer4->isActive());
  ui.startBlink();  // the next run
  tick();
  const QColor black(0, 0, 0);
  const QColor red(255, 0, 0);
  EXPECT_EQ(colours, (std::vector<QColor>{black, red, black, red}));
  EXPECT_EQ(w.blinkTicks(), 4U);
}

// The photo window gives the main window back when it closes (tests/tagging).
TEST_F(WindowTest, TaggingDisablesTheWindowAndShowsThePhotoWindow) {
  shell::TfrmFilter& w = open();
  w.btnTaggingClick();  // no photo window yet: nothing happens
  EXPECT_TRUE(w.isEnabled());

  QWidget photos;
  w.setTaggingWindow(&photos);
  w.btnTaggingClick();
  EXPECT_FALSE(w.isEnabled());
  EXPECT_TRUE(photos.isVisible());
}

TEST_F(WindowTest, CloseEndsTheProgramWithZeroAfterTheLoggerLink) {
  shell::TfrmFilter& w = open();
  download(shortDrive());
  EXPECT_EQ(runEventLoop([&] { w.btnClose->click(); }), 0);
  EXPECT_TRUE(link->Closed());
  EXPECT_TRUE(w.download()->Reader()->Finished());
  EXPECT_EQ(desktop.events, std::vector<std::string>{});
}

TEST_F(WindowTest, TheFieldsAreReadLiveAtEveryUse) {
  shell::TfrmFilter& w = open();
  download(shortDrive());
  w.cboTimeZone->setEditText(QStringLiteral("(UTC+09:00) Tokyo"));  // typed, not SetTimeZone
  w.cboStartHour->setEditText(QStringLiteral("11"));
  w.cboEndHour->setEditText(QStringLiteral("11"));
  w.cboEndSec->setEditText(QStringLiteral("20"));
  w.btnOK->click();
  ASSERT_EQ(status(), "Report Done");
  EXPECT_EQ(w.session().zone.label, "(GMT+9:00)");
  EXPECT_EQ(w.session().store.pointCount, 16U);  // 11:00:05 to 11:00:20 Tokyo time
}

// Trip Map comes with View Report and shows the last report that was done, also after a later
// run has refilled the session with nothing.
TEST_F(WindowTest, TripMapShowsTheLastDoneReportAndFollowsTheNextOne) {
  writeSettings("[Map]\r\nTileUrl=\r\n");  // no tile server for a test
  shell::TfrmFilter& w = open();
  download(shortDrive());
  EXPECT_FALSE(w.btnMap->isEnabled());
  bool heldDuringRun = false;
  desktop.whileSaveDialogIsOpen = [&] {
    QTimer::singleShot(0, &w, [&] { heldDuringRun = !w.btnMap->isEnabled(); });
  };
  w.btnOK->click();
  ASSERT_EQ(status(), "Report Done");
  EXPECT_TRUE(heldDuringRun);
  ASSERT_TRUE(w.btnMap->isEnabled());

  w.btnMap->click();
  tripview::TfrmTripView* view = w.tripView();
  ASSERT_NE(view, nullptr);
  EXPECT_TRUE(view->isVisible());
  EXPECT_TRUE(view->isWindow());
  EXPECT_EQ(view->trip()->points.size(), 30U);
  EXPECT_EQ(view->pbxMap->scene().markerLayers().front().markers.size(), 3U) << "Begin, End, MaxSpeed";
  w.btnMap->click();
  EXPECT_EQ(w.tripView(), view) << "one window for one report";

  w.cboStartYear->setEditText(QStringLiteral("2011"));  // matches nothing: the session is emptied
  w.cboEndYear->setEditText(QStringLiteral("2011"));
  w.btnOK->click();
  ASSERT_EQ(w.session().store.pointCount, 0U);
  view->close();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  w.btnMap->click();
  ASSERT_NE(w.tripView(), nullptr);
  EXPECT_EQ(w.tripView()->trip()->points.size(), 30U);

  w.btnResetClick();
  w.cboEndSec->setEditText(QStringLiteral("14"));  // 10:00:05 to 10:00:14
  w.btnOK->click();
  ASSERT_EQ(status(), "Report Done");
  w.btnMap->click();
  EXPECT_EQ(w.tripView()->trip()->points.size(), 10U);
  EXPECT_EQ(desktop.of("message").size(), 1U) << "only the run that matched nothing said so";
}

}  // namespace
}  // namespace tellurix::testing

#include <gtest/gtest.h>
#include <qpa/qwindowsysteminterface.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QStatusBar>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <QWindow>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ExifFixtures.h"
#include "GeotagFixtures.h"
#include "JpegWriter.h"
#include "kml/KmlOutline.h"
#include "platform/ProfileFile.h"
#include "shell/WindowFixture.h"
#include "shellcore/SettingsFile.h"
#include "tagging/PhotoCommands.h"
#include "tagging/PhotoPath.h"
#include "tagging/Tagging.h"

namespace tellurix::testing {
namespace {

namespace fs = std::filesystem;
using tagging::TfrmTagging;

class PinnedClock final : public tagging::LocalClock {
 public:
  tracklog::CalendarTime now() override { return {2010, 9, 9, 14, 5, 3}; }
};

// A JPEG of one colour, 640 x 240, with an Exif date when `exifDate` is not empty.
std::string photoBytes(const std::string& folder, const std::string& exifDate,
                       tagging::fixtures::Rgb colour) {
  const std::string plain = folder + "/plain.tmp";
  tagging::fixtures::writeJpeg(plain, 640, 240, [colour](int, int) { return colour; });
  const std::string jpeg = readFile(plain);
  fs::remove(plain);
  if (exifDate.empty()) return jpeg;
  tagging::fixtures::ExifLayout layout;
  layout.date = exifDate;
  return "\xFF\xD8" + tagging::fixtures::segment(0xE1, tagging::fixtures::exifPayload(layout)) +
         jpeg.substr(2);
}

std::string latitudeOf(const tracklog::TrackPoint& p) {
  char text[32];
  std::snprintf(text, sizeof text, "(%.6f)", p.latitude);
  return text;
}

// A report on 30 points from 10:00:05 to 10:00:34 Taipei time, then the photo window attached
// to the main window as the program does it, and a camera folder with photos.
class TaggingWindowTest : public WindowTest {
 protected:
  void SetUp() override {
    open();
    download(shortDrive());
    window->btnOKClick();
    ASSERT_EQ(status(), "Report Done");
    openTagging();
    fs::create_directories(dir.path() / "camera");
  }

  // The photo window as the program creates it at start; a second call stands for the next run.
  void openTagging() {
    window->setTaggingWindow(nullptr);
    tagging.reset();
    tagging = std::make_unique<TfrmTagging>(window->session(), window->fields(), window.get(), photoDesktop,
                                            window->settings());
    window->setTaggingWindow(tagging.get());
  }

  std::string camera(const std::string& name, const std::string& exifDate,
                     tagging::fixtures::Rgb colour = {200, 30, 30}) const {
    const std::string path = dir.file("camera/" + name);
    writeFile(path, photoBytes(dir.path().string(), exifDate, colour));
    return path;
  }

  void load(const std::vector<std::string>& paths) {
    photoDesktop.chosen = paths;
    tagging->btnLoadClick();
  }
  // The three photos of most tests: B at point 10, a at point 0, C without a date.
  void loadThree() {
    load({camera("B.jpg", "2010:09:09 10:00:15"), camera("a.jpg", "2010:09:09 10:00:05", {30, 30, 200}),
          camera("C.jpg", "")});
  }

  // What the list view shows, one "Name|Date|Latitude|Longitude" per row.
  [[nodiscard]] std::vector<std::string> shownRows() const {
    std::vector<std::string> rows;
    for (int r = 0; r < tagging->lsvPhoto->rowCount(); ++r) {
      std::string row;
      for (int c = 0; c < 4; ++c) {
        const QTableWidgetItem* item = tagging->lsvPhoto->item(r, c);
        row += (c > 0 ? "|" : "") + (item != nullptr ? item->text().toStdString() : std::string("?"));
      }
      rows.push_back(row);
    }
    return rows;
  }
  [[nodiscard]] std::vector<std::string> shownNames() const {
    std::vector<std::string> names;
    for (const std::string& row : shownRows()) names.push_back(row.substr(0, row.find('|')));
    return names;
  }
  [[nodiscard]] std::string lat(std::uint32_t point) const {
    return latitudeOf(window->session().store.utc(point));
  }

  // A click as the mouse gives it: press and release at `at` in `widget`.
  static void click(QWidget* widget, QPoint at) {
    QMouseEvent press(QEvent::MouseButtonPress, at, widget->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, at, widget->mapToGlobal(at), Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &press);
    QCoreApplication::sendEvent(widget, &release);
  }
  void clickHeader(int column) const {
    QHeaderView* header = tagging->lsvPhoto->horizontalHeader();
    click(header->viewport(), {header->sectionViewportPosition(column) + 10, header->height() / 2});
  }
  void clickRow(int row) const {
    const QRect cell = tagging->lsvPhoto->visualRect(tagging->lsvPhoto->model()->index(row, 0));
    click(tagging->lsvPhoto->viewport(), cell.center());
  }
  [[nodiscard]] QColor previewPixel(int x, int y) const {
    return tagging->imgPriview->pixmap().toImage().pixelColor(x, y);
  }

  // "1" or "0" for Load, Remove, Make Photo Path, Close, Apply Adjustment, the write check box
  // and the column sort.
  [[nodiscard]] std::string commandStates() const {
    std::string states;
    const std::array<const QAbstractButton*, 6> buttons{
        tagging->btnLoad,  tagging->btnRemove,          tagging->btnMake,
        tagging->btnClose, tagging->btnApplyAdjustment, tagging->chkWriteExif};
    for (const QAbstractButton* b : buttons) {
      states += b->isEnabled() ? '1' : '0';
    }
    states += tagging->lsvPhoto->horizontalHeader()->sectionsClickable() ? '1' : '0';
    return states;
  }

  void setOffset(const char* day, const char* hour, const char* minute, const char* second) const {
    tagging->cboDay->setEditText(QString::fromLatin1(day));
    tagging->cboHour->setEditText(QString::fromLatin1(hour));
    tagging->cboMinute->setEditText(QString::fromLatin1(minute));
    tagging->cboSecond->setEditText(QString::fromLatin1(second));
  }

  ScriptedDesktop photoDesktop;  // the photo window's, apart from the main window's
  std::unique_ptr<TfrmTagging> tagging;
};

std::string shownText(const QObject* control) {
  if (const auto* w = qobject_cast<const QLabel*>(control)) return w->text().toStdString();
  if (const auto* w = qobject_cast<const QAbstractButton*>(control)) return w->text().toStdString();
  if (const auto* w = qobject_cast<const QGroupBox*>(control)) return w->title().toStdString();
  if (const auto* w = qobject_cast<const QLineEdit*>(control)) return w->text().toStdString();
  if (const auto* w = qobject_cast<const QComboBox*>(control)) return w->currentText().toStdString();
  return "";
}

std::vector<std::string> items(const QComboBox* box) {
  std::vector<std::string> out;
  for (int i = 0; i < box->count(); ++i) out.push_back(box->itemText(i).toStdString());
  return out;
}

std::vector<std::string> countDown(int from) {
  std::vector<std::string> out;
  for (int n = from; n >= -from; --n) out.push_back(std::to_string(n));
  return out;
}

struct Control {
  const char* name;
  const char* kind;
  const char* text;
};

constexpr Control kControls[] = {
    {"gpbPhoto", "QGroupBox", "Photo"},
    {"lsvPhoto", "QTableWidget", ""},
    {"btnLoad", "QPushButton", "Load ..."},
    {"btnRemove", "QPushButton", "Remove"},
    {"btnMake", "QPushButton", "Make Photo Path"},
    {"btnClose", "QPushButton", "Close"},
    {"chkWriteExif", "QCheckBox", "Write positions into photo copies"},
    {"gpbTime", "QGroupBox", "Camera time Adjustment"},
    {"lblDay", "QLabel", "Day"},
    {"cboDay", "QComboBox", "0"},
    {"lblHour", "QLabel", "Hour"},
    {"cboHour", "QComboBox", "0"},
    {"lblMinute", "QLabel", "Minute"},
    {"cboMinute", "QComboBox", "0"},
    {"lblSecond", "QLabel", "Second"},
    {"cboSecond", "QComboBox", "0"},
    {"lblSystemTime", "QLabel", "System Time"},
    {"lblCameraTime", "QLabel", "Camera Time"},
    {"btnApplyAdjustment", "QPushButton", "Apply Adjustment"},
    {"gpbPriview", "QGroupBox", "Priview"},
    {"imgPriview", "QLabel", ""},
    {"StatusBar1", "QStatusBar", ""},
    {"StatusBar1Panel0", "QLabel", "Ready"},
    {"StatusBar1Panel1", "QLabel", ""},
};

TEST_F(TaggingWindowTest, EveryControlHasItsNameKindAndFirstContent) {
  EXPECT_EQ(tagging->windowTitle().toStdString(), "Photo Tagging");
  EXPECT_FALSE(tagging->isVisible());  // created hidden
  for (const Control& c : kControls) {
    const auto* control = tagging->findChild<QWidget*>(QString::fromLatin1(c.name));
    ASSERT_NE(control, nullptr) << c.name;
    EXPECT_TRUE(control->inherits(c.kind)) << c.name << " is a " << control->metaObject()->className();
    EXPECT_EQ(shownText(control), c.text) << c.name;
  }
  EXPECT_FALSE(tagging->windowFlags() & Qt::WindowMaximizeButtonHint);
  EXPECT_TRUE(tagging->windowFlags() & Qt::WindowMinimizeButtonHint);
  EXPECT_EQ(tagging->findChild<QLabel*>(QStringLiteral("StatusBar1Panel1"))->width(), 50);

  const QTableWidget* list = tagging->lsvPhoto;
  for (const auto& [column, title, width] : {std::tuple{0, "Name", 120}, std::tuple{1, "Date", 120},
                                             std::tuple{2, "Latitude", 80}, std::tuple{3, "Longitude", 80}}) {
    EXPECT_EQ(list->horizontalHeaderItem(column)->text().toStdString(), title);
    EXPECT_GE(list->columnWidth(column), width) << title;
  }
  // Widened where the desktop's font needs it: a date and a position show whole.
  EXPECT_GE(list->columnWidth(1),
            list->fontMetrics().horizontalAdvance(QStringLiteral("2010/09/09 10:00:15")));
  EXPECT_GE(list->columnWidth(3), list->fontMetrics().horizontalAdvance(QStringLiteral("(-121.564500)")));
  EXPECT_TRUE(list->showGrid());
  EXPECT_EQ(list->selectionBehavior(), QAbstractItemView::SelectRows);
  EXPECT_EQ(list->selectionMode(), QAbstractItemView::ExtendedSelection);
  EXPECT_EQ(list->editTriggers(), QAbstractItemView::NoEditTriggers);
  EXPECT_EQ(list->frameShape(), QFrame::NoFrame);

  EXPECT_EQ(items(tagging->cboDay), countDown(30));
  EXPECT_EQ(items(tagging->cboHour), countDown(23));
  EXPECT_EQ(items(tagging->cboMinute), countDown(59));
  EXPECT_EQ(items(tagging->cboSecond), countDown(59));
  EXPECT_EQ(tagging->cboDay->lineEdit()->maxLength(), 5);
  for (const QComboBox* box : {tagging->cboHour, tagging->cboMinute, tagging->cboSecond})
    EXPECT_EQ(box->lineEdit()->maxLength(), 3);
  for (const QLineEdit* edit : {tagging->edtSystemTime, tagging->edtCameraTime}) {
    EXPECT_TRUE(edit->isReadOnly());
    EXPECT_EQ(edit->palette().color(QPalette::Base), QColor(255, 255, 0));
  }
  EXPECT_TRUE(tagging->tmrAdjust->isActive());  // while hidden too
  EXPECT_EQ(tagging->tmrAdjust->interval(), 10);

  EXPECT_EQ(tagging->imgPriview->size(), QSize(298, 222));
  EXPECT_EQ(previewPixel(0, 0), QColor(Qt::white));
  EXPECT_EQ(previewPixel(297, 221), QColor(Qt::white));
}

// How the user leaves the photo window. Minimising it first only puts it aside: the main window
// stays disabled, so no report can replace the track its photos are placed on meanwhile.
enum class Leave { CloseButton, CloseBox, MinimiseThenCloseBox, MinimiseThenCloseButton };
struct LeaveCase {
  const char* name;
  Leave how;
};
void PrintTo(const LeaveCase& c, std::ostream* os) {
  *os << c.name;
}

class LeaveTest : public TaggingWindowTest, public ::testing::WithParamInterface<LeaveCase> {};

TEST_P(LeaveTest, OnlyTheCloseGivesTheMainWindowBack) {
  const Leave how = GetParam().how;
  window->show();
  window->btnTaggingClick();
  ASSERT_TRUE(tagging->isVisible());
  EXPECT_FALSE(window->isEnabled());
  QWindow* photoWindow = tagging->windowHandle();
  ASSERT_NE(photoWindow, nullptr);

  if (how == Leave::MinimiseThenCloseBox || how == Leave::MinimiseThenCloseButton) {
    // As a desktop does it: the window system minimises the window, Qt hides the widget.
    QWindowSystemInterface::handleWindowStateChanged<QWindowSystemInterface::SynchronousDelivery>(
        photoWindow, Qt::WindowMinimized);
    ASSERT_TRUE(tagging->isMinimized());
    EXPECT_FALSE(window->isEnabled());
    EXPECT_FALSE(window->btnOK->isEnabled());
    QWindowSystemInterface::handleWindowStateChanged<QWindowSystemInterface::SynchronousDelivery>(
        photoWindow, Qt::WindowNoState);
    EXPECT_FALSE(window->isEnabled());
  }
  if (how == Leave::CloseBox || how == Leave::MinimiseThenCloseBox) {
    QWindowSystemInterface::handleCloseEvent<QWindowSystemInterface::SynchronousDelivery>(photoWindow);
  } else {
    tagging->btnClose->click();
  }
  EXPECT_FALSE(tagging->isVisible());
  EXPECT_TRUE(window->isEnabled());
  EXPECT_TRUE(window->isVisible());
}

INSTANTIATE_TEST_SUITE_P(
    Ways, LeaveTest,
    ::testing::Values(LeaveCase{"close_button", Leave::CloseButton}, LeaveCase{"close_box", Leave::CloseBox},
                      LeaveCase{"minimise_then_close_box", Leave::MinimiseThenCloseBox},
                      LeaveCase{"minimise_then_close_button", Leave::MinimiseThenCloseButton}),
    [](const auto& info) { return std::string(info.param.name); });

// The user's way through the window: load, sort, preview, remove, apply, make.
TEST_F(TaggingWindowTest, LoadSortRemoveApplyAndMakeThePath) {
  window->btnTaggingClick();
  loadThree();
  EXPECT_EQ(photoDesktop.events,
            std::vector<std::string>{"open-dialog Photos (*.jpg *.jpeg);;All Files (*)"});
  EXPECT_TRUE(photoDesktop.multipleFiles);
  EXPECT_EQ(shownRows(), (std::vector<std::string>{"B.jpg|2010/09/09 10:00:15|" + lat(10) + "|(121.564500)",
                                                   "a.jpg|2010/09/09 10:00:05|" + lat(0) + "|(121.564500)",
                                                   "C.jpg|2000/06/06 10:10:10||"}));
  EXPECT_EQ(tagging->statusText(0).toStdString(), "Loading complete");
  const report::ReportNames& names = window->session().names;
  for (const char* name : {"a.jpg", "B.jpg", "C.jpg"})
    EXPECT_TRUE(fs::exists(tagging::photoCopyPath(names, name)));

  clickHeader(0);
  EXPECT_EQ(shownNames(), (std::vector<std::string>{"a.jpg", "B.jpg", "C.jpg"}));  // letter case ignored
  clickHeader(1);
  EXPECT_EQ(shownNames(), (std::vector<std::string>{"C.jpg", "a.jpg", "B.jpg"}));

  clickRow(1);  // a.jpg, blue, 298 x 111 at the top left
  EXPECT_EQ(tagging->lsvPhoto->currentRow(), 1);
  const QColor blue = previewPixel(5, 5);
  EXPECT_LT(blue.red(), 60);
  EXPECT_GT(blue.blue(), 170);
  EXPECT_EQ(previewPixel(5, 150), QColor(Qt::white));

  tagging->btnRemove->click();
  EXPECT_EQ(shownNames(), (std::vector<std::string>{"C.jpg", "B.jpg"}));
  EXPECT_FALSE(fs::exists(tagging::photoCopyPath(names, "a.jpg")));
  EXPECT_EQ(previewPixel(5, 5), QColor(Qt::white));

  setOffset("0", "0", "0", "10");
  tagging->btnApplyAdjustment->click();
  EXPECT_EQ(shownRows(),
            (std::vector<std::string>{"C.jpg|2000/06/06 10:10:20||",
                                      "B.jpg|2010/09/09 10:00:25|" + lat(20) + "|(121.564500)"}));

  load({camera("d.jpg", "2010:09:09 10:00:07")});  // camera time, not shifted by the earlier Apply
  clickHeader(0);
  tagging->btnMake->click();
  EXPECT_EQ(tagging->statusText(0).toStdString(), "Make complete");
  EXPECT_EQ(shownNames(), (std::vector<std::string>{"C.jpg", "d.jpg", "B.jpg"}));  // by date
  const std::string path = tagging::photoPathFileOf(names);
  // C is older than the track and d comes a second after point 1: both go by the walk.
  EXPECT_EQ(
      kmlOutline(readFile(path))
          .rfind("photo_trip-2010-09-09_point.kml Begin Point 1 Start 1 C.jpg MaxSpeed d.jpg MaxSpeed", 0),
      0U);
  const auto lint = runCommand("xmllint --noout " + shellQuoted(path));
  EXPECT_EQ(lint.status, 0) << lint.err;
  EXPECT_EQ(photoDesktop.events.size(), 2U);  // the two open dialogs, no message
}

// The copies of the listed photos lie in the photo folder of the report they were loaded for.
// A new report in the same folder keeps the list; one in another folder starts it empty, so
// that Preview, Remove and Make Photo Path never look for those copies where they are not. The
// old copies stay where they are.
TEST_F(TaggingWindowTest, AReportInAnotherFolderStartsAnEmptyPhotoList) {
  window->btnTaggingClick();
  loadThree();
  const report::ReportNames first = window->session().names;
  tagging->btnClose->click();

  window->btnOK->click();
  ASSERT_EQ(status(), "Report Done");
  window->btnTaggingClick();
  EXPECT_EQ(shownNames(), (std::vector<std::string>{"B.jpg", "a.jpg", "C.jpg"}));
  tagging->btnClose->click();

  desktop.savePath = dir.file("elsewhere/trip");
  window->btnOK->click();
  ASSERT_EQ(status(), "Report Done");
  ASSERT_NE(window->session().names.reportFolder, first.reportFolder);
  window->btnTaggingClick();
  EXPECT_EQ(shownRows(), std::vector<std::string>{});
  EXPECT_EQ(tagging->photos().size(), 0U);
  for (const char* name : {"a.jpg", "B.jpg", "C.jpg"})
    EXPECT_TRUE(fs::exists(tagging::photoCopyPath(first, name))) << name;

  load({camera("a.jpg", "2010:09:09 10:00:05")});  // the same name again, now for this report
  EXPECT_EQ(shownNames(), std::vector<std::string>{"a.jpg"});
  EXPECT_TRUE(fs::exists(tagging::photoCopyPath(window->session().names, "a.jpg")));
  tagging->btnMake->click();
  EXPECT_EQ(tagging->statusText(0).toStdString(), "Make complete");
  EXPECT_NE(readFile(tagging::photoPathFileOf(window->session().names)).find("a.jpg"), std::string::npos);
}

// Everything the window offers stays disabled while a command processes events, and a
// close request waits; afterwards all is as before.
enum class Held { Load, ApplyAdjustment, MakePhotoPath };
struct HeldCase {
  const char* name;
  Held command;
};
void PrintTo(const HeldCase& c, std::ostream* os) {
  *os << c.name;
}

class CommandsHeldTest : public TaggingWindowTest, public ::testing::WithParamInterface<HeldCase> {};

TEST_P(CommandsHeldTest, NothingElseStartsMeanwhile) {
  window->btnTaggingClick();
  loadThree();
  std::string during;
  bool visibleAfterClose = false;
  QTimer::singleShot(0, [&] {
    during = commandStates();
    tagging->close();
    visibleAfterClose = tagging->isVisible();
  });
  switch (GetParam().command) {
    case Held::Load:
      load({camera("e.jpg", "2010:09:09 10:00:09")});
      break;
    case Held::ApplyAdjustment:
      tagging->btnApplyAdjustment->click();
      break;
    case Held::MakePhotoPath:
      tagging->btnMake->click();
      break;
  }
  EXPECT_EQ(during, "0000000");
  EXPECT_TRUE(visibleAfterClose);
  EXPECT_EQ(commandStates(), "1111111");
  EXPECT_TRUE(tagging->isVisible());
}

INSTANTIATE_TEST_SUITE_P(Commands, CommandsHeldTest,
                         ::testing::Values(HeldCase{"load", Held::Load},
                                           HeldCase{"apply_adjustment", Held::ApplyAdjustment},
                                           HeldCase{"make_photo_path", Held::MakePhotoPath}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(TaggingWindowTest, AnUnreadableFileEndsLoadWithNotice) {
  load({camera("a.jpg", "2010:09:09 10:00:05"), dir.file("camera/gone.jpg"),
        camera("b.jpg", "2010:09:09 10:00:06")});
  EXPECT_EQ(shownNames(), std::vector<std::string>{"a.jpg"});
  EXPECT_EQ(photoDesktop.events.back(), "ok-cancel Notice|File not found");
  EXPECT_EQ(tagging->statusText(0).toStdString(), "Loading pictures...");
}

// A date with a letter in one field converts in no command: each ends with the error box
// naming the text, and the window's commands come back.
TEST_F(TaggingWindowTest, ADateThatIsNoNumberEndsTheCommandWithTheErrorBox) {
  load({camera("bad.jpg", "2010:09:0x 10:00:05")});
  const std::string error = "error '2010090x100005' is not a valid integer value";
  EXPECT_EQ(photoDesktop.events.back(), error);
  EXPECT_EQ(shownRows(), std::vector<std::string>{"bad.jpg|2010/09/0x 10:00:05||"});
  EXPECT_EQ(commandStates(), "1111111");

  tagging->btnMake->click();
  EXPECT_EQ(photoDesktop.events.back(), error);
  EXPECT_EQ(tagging->statusText(0).toStdString(), "Integrating pictures with trip track ...");
  EXPECT_EQ(commandStates(), "1111111");
}

TEST_F(TaggingWindowTest, APhotoPathThatCannotBeCreatedEndsTheProgram) {
  loadThree();
  fs::create_directories(tagging::photoPathFileOf(window->session().names));
  EXPECT_EQ(runEventLoop([&] { tagging->btnMake->click(); }), 1);
  EXPECT_EQ(photoDesktop.events.back(), "message Tellurix|file write open error");
}

// The fields as the user sets them feed the clock: only the change since the last Apply moves
// the dates, and every Apply looks the positions up again.
TEST_F(TaggingWindowTest, ApplyAdjustmentShiftsByTheChangeSinceTheLastApply) {
  load({camera("a.jpg", "2010:09:09 10:00:05")});
  struct Step {
    std::array<const char*, 4> fields;
    std::string row;
  };
  const Step steps[] = {
      {{"0", "0", "0", "10"}, "a.jpg|2010/09/09 10:00:15|" + lat(10) + "|(121.564500)"},
      {{"0", "0", "0", "10"}, "a.jpg|2010/09/09 10:00:15|" + lat(10) + "|(121.564500)"},
      {{"0", "1", "0", "0"}, "a.jpg|2010/09/09 11:00:05||"},
      {{"0", "2", "0", "0"}, "a.jpg|2010/09/09 12:00:05||"},
      {{"0", "0", "0", "0"}, "a.jpg|2010/09/09 10:00:05|" + lat(0) + "|(121.564500)"},
      {{"-1", "0", "0", "0"}, "a.jpg|2010/09/08 10:00:05||"},
  };
  for (const Step& step : steps) {
    setOffset(step.fields[0], step.fields[1], step.fields[2], step.fields[3]);
    tagging->btnApplyAdjustment->click();
    EXPECT_EQ(shownRows(), std::vector<std::string>{step.row}) << step.fields[0] << " " << step.fields[1];
  }
}

TEST_F(TaggingWindowTest, TheClockShowsCameraTimeAndResetsWhatDoesNotConvert) {
  PinnedClock clock;
  tagging->setLocalClock(clock);
  setOffset("0", "1", "0", "0");
  tagging->tmrAdjustTimer();
  EXPECT_EQ(tagging->edtSystemTime->text().toStdString(), "2010/09/09 14:05:03");
  EXPECT_EQ(tagging->edtCameraTime->text().toStdString(), "2010/09/09 13:05:03");

  tagging->cboDay->setEditText(QStringLiteral("0-"));  // a minus typed after the 0
  tagging->tmrAdjustTimer();
  for (const QComboBox* box : {tagging->cboDay, tagging->cboHour, tagging->cboMinute, tagging->cboSecond})
    EXPECT_EQ(box->currentText().toStdString(), "0") << box->objectName().toStdString();
  EXPECT_EQ(tagging->edtCameraTime->text().toStdString(), "2010/09/09 13:05:03");  // the last good offset
  tagging->tmrAdjustTimer();
  EXPECT_EQ(tagging->edtCameraTime->text().toStdString(), "2010/09/09 14:05:03");
}

// The offset fields take the keyboard focus themselves and hand every key on to their text: what
// is typed there passes the same filter. A letter or '+' that got through would not convert, and
// the next tick would set all four fields to 0, losing the other three offsets as well.
TEST_F(TaggingWindowTest, OnlyDigitsMinusAndBackspaceReachTheFocusedOffsetField) {
  PinnedClock clock;
  tagging->setLocalClock(clock);
  tagging->show();
  tagging->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(tagging.get()));
  setOffset("1", "2", "", "4");
  QComboBox* minute = tagging->cboMinute;
  minute->setFocus();
  ASSERT_EQ(QApplication::focusWidget(), minute);

  QTest::keyClicks(minute, QStringLiteral("1a+"));
  EXPECT_EQ(minute->currentText().toStdString(), "1");
  QTest::keyClicks(minute, QStringLiteral(" 5\r"));  // a blank and a control character too
  QTest::keyClick(minute, Qt::Key_Backspace);
  QTest::keyClick(minute, Qt::Key_Home);  // keys without a character still move the cursor
  QTest::keyClick(minute, Qt::Key_Minus);
  QTest::keyClick(minute, Qt::Key_End);
  QTest::keyClicks(minute, QStringLiteral("0"));
  EXPECT_EQ(minute->currentText().toStdString(), "-10");
  // An input method hands over whole texts; one holding a letter does not reach the field.
  QInputMethodEvent composed;
  composed.setCommitString(QStringLiteral("\u00e9"));
  QCoreApplication::sendEvent(minute, &composed);
  EXPECT_EQ(minute->currentText().toStdString(), "-10");

  tagging->tmrAdjustTimer();
  std::vector<std::string> offsets;
  for (const QComboBox* box : {tagging->cboDay, tagging->cboHour, tagging->cboMinute, tagging->cboSecond})
    offsets.push_back(box->currentText().toStdString());
  EXPECT_EQ(offsets, (std::vector<std::string>{"1", "2", "-10", "4"}));
  // 2010/09/09 14:05:03 less 1 day 2 hours -10 minutes 4 seconds.
  EXPECT_EQ(tagging->edtCameraTime->text().toStdString(), "2010/09/08 12:14:59");
}

// Light cyan and the tooltip colour by the rows' current places, after a sort and a removal too.
TEST_F(TaggingWindowTest, RowsAreStripedByTheirIndex) {
  tagging->show();
  load({camera("r0.jpg", ""), camera("r1.jpg", ""), camera("r2.jpg", ""), camera("r3.jpg", "")});
  auto colours = [this] {
    tagging->lsvPhoto->clearSelection();
    const QImage shown = tagging->lsvPhoto->viewport()->grab().toImage();
    std::vector<QColor> out;
    for (int row = 0; row < tagging->lsvPhoto->rowCount(); ++row) {
      const QRect cell = tagging->lsvPhoto->visualRect(tagging->lsvPhoto->model()->index(row, 2));
      out.push_back(shown.pixelColor(cell.center()));  // the empty Latitude cell
    }
    return out;
  };
  const QColor cyan(224, 255, 255);
  const QColor tooltip = QApplication::palette().color(QPalette::ToolTipBase);
  ASSERT_NE(cyan, tooltip);
  EXPECT_EQ(colours(), (std::vector<QColor>{cyan, tooltip, cyan, tooltip}));
  tagging->lsvPhoto->selectRow(0);
  tagging->btnRemove->click();
  EXPECT_EQ(colours(), (std::vector<QColor>{cyan, tooltip, cyan}));
  EXPECT_EQ(shownNames().front(), "r1.jpg");
}

// Checked at first; every change goes to the settings file at once and the next run's window
// starts with it.
TEST_F(TaggingWindowTest, TheWriteCheckBoxIsRememberedInTheSettingsFile) {
  const std::string path = shellcore::settingsPath(window->programFolder());
  auto stored = [&] { return platform::readProfileString(path, "Setting", "WritePhotoPositions"); };
  EXPECT_TRUE(tagging->chkWriteExif->isChecked());
  EXPECT_EQ(stored(), std::nullopt);

  tagging->chkWriteExif->click();
  EXPECT_EQ(stored(), "0");
  openTagging();
  EXPECT_FALSE(tagging->chkWriteExif->isChecked());
  tagging->chkWriteExif->click();
  EXPECT_EQ(stored(), "1");
  openTagging();
  EXPECT_TRUE(tagging->chkWriteExif->isChecked());
  EXPECT_EQ(platform::readProfileString(path, "Setting", "Unit"), "KPH");  // the report's settings stay
}

// Unchecked, Make Photo Path leaves the copies as loaded; checked, it writes the positions, and
// a copy that cannot take one is counted in the status line. The user's own files never change.
TEST_F(TaggingWindowTest, MakeWritesThePositionsIntoTheCopiesWhenChecked) {
  window->btnTaggingClick();
  loadThree();
  const report::ReportNames& names = window->session().names;
  const std::vector<std::string> photos{"a.jpg", "B.jpg", "C.jpg"};
  std::vector<std::string> originals;
  for (const std::string& name : photos) originals.push_back(readFile(dir.file("camera/" + name)));
  auto copiesAsLoaded = [&] {
    for (std::size_t i = 0; i < photos.size(); ++i) {
      if (readFile(tagging::photoCopyPath(names, photos[i])) != originals[i]) return false;
    }
    return true;
  };

  tagging->chkWriteExif->setChecked(false);
  tagging->btnMake->click();
  EXPECT_EQ(tagging->statusText(0).toStdString(), "Make complete");
  EXPECT_TRUE(copiesAsLoaded());

  tagging->chkWriteExif->setChecked(true);
  tagging->btnMake->click();
  EXPECT_EQ(tagging->statusText(0).toStdString(), "Make complete");
  const auto b = tagging::fixtures::readBack(tagging::photoCopyPath(names, "B.jpg"));
  ASSERT_TRUE(b);
  EXPECT_NEAR(b->latitude, window->session().store.utc(10).latitude, 1e-7);
  EXPECT_EQ(b->dateTimeOriginal, "2010:09:09 10:00:15");
  EXPECT_TRUE(tagging::fixtures::readBack(tagging::photoCopyPath(names, "C.jpg")));  // placed at point 1

  fs::remove(tagging::photoCopyPath(names, "a.jpg"));
  fs::create_directory(tagging::photoCopyPath(names, "a.jpg"));
  fs::permissions(tagging::photoCopyPath(names, "B.jpg"), fs::perms::owner_read);
  tagging->btnMake->click();
  EXPECT_EQ(tagging->statusText(0).toStdString(), "Make complete (2 photos not tagged)");
  EXPECT_EQ(photoDesktop.events.size(), 1U);  // the open dialog, no message
  for (std::size_t i = 0; i < photos.size(); ++i)
    EXPECT_EQ(readFile(dir.file("camera/" + photos[i])), originals[i]);
}

}  // namespace
}  // namespace tellurix::testing

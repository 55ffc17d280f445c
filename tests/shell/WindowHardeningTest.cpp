// The main window over many runs and over files it cannot use: repeated reports write the same
// bytes, and every output or input that fails ends with its message and exit code while the
// log and the settings stay as they were.
#include <QCheckBox>
#include <QLineEdit>
#include <filesystem>
#include <memory>

#include "WindowFixture.h"
#include "support/FolderContents.h"
#include "support/ScratchMount.h"
#include "tools/demotrack/DemoTrack.h"

namespace tellurix::testing {
namespace {

namespace fs = std::filesystem;

class WindowHardeningTest : public WindowTest {
 protected:
  // A report into a fresh output folder; what it wrote.
  FolderContents makeReport() {
    fs::remove_all(dir.path() / "out");
    window->btnOK->click();
    EXPECT_EQ(status(), "Report Done") << ::testing::PrintToString(desktop.events);
    return folderContents(dir.path() / "out");
  }
  void makeOtherReport() {
    fs::remove_all(dir.path() / "out");
    window->btnOK->click();
  }
};

TEST_F(WindowHardeningTest, TheSameReportAgainWritesTheSameBytesWhateverRanBetween) {
  shell::TfrmFilter& w = open();
  demotrack::DemoTrackOptions demo;
  demo.records = 12000;
  download(demotrack::makeDemoTrack(demo), "ID-7");
  ASSERT_TRUE(runUntil([&] { return !w.Timer1->isActive(); }));  // the user id has come
  w.chkGpsSpeedChart->setChecked(true);
  w.memSpeed->setText(QStringLiteral("50"));
  const FolderContents first = makeReport();
  ASSERT_GE(first.size(), 10U);  // three legs

  const int zone = w.cboTimeZone->currentIndex();
  const int bogota = w.cboTimeZone->findText(QStringLiteral("(UTC-05:00) Bogota, Lima, Quito"));
  ASSERT_GE(bogota, 0);
  const QString startHour = w.cboStartHour->currentText();
  const struct {
    const char* name;
    std::function<void()> change;
    std::function<void()> undo;
  } between[] = {
      // SetTimeZone refills the window from the log in the new zone, and back.
      {"zone",
       [&] {
         w.cboTimeZone->setCurrentIndex(bogota);
         w.btnSetTimeZone->click();
       },
       [&] {
         w.cboTimeZone->setCurrentIndex(zone);
         w.btnSetTimeZone->click();
       }},
      {"unit", [&] { w.cboSpeedUnit->setEditText(QStringLiteral("MPH")); },
       [&] { w.cboSpeedUnit->setEditText(QStringLiteral("KPH")); }},
      {"window", [&] { w.cboStartHour->setEditText(QString::number(startHour.toInt() + 1)); },
       [&] { w.cboStartHour->setEditText(startHour); }},
      {"no excel reports", [&] { w.chkGpsSpeedChart->setChecked(false); },
       [&] { w.chkGpsSpeedChart->setChecked(true); }},
  };
  for (const auto& run : between) {
    run.change();
    makeOtherReport();
    EXPECT_EQ(status(), "Report Done") << run.name;
    run.undo();
    EXPECT_TRUE(sameFolders(first, makeReport())) << "after a run with another " << run.name;
  }
}

enum class BadInput { FolderUnderAFile, ReportTextFull, FullDisk, VanishedLog };

struct BadInputCase {
  const char* name;
  BadInput input;
  const char* message;
};
void PrintTo(const BadInputCase& c, std::ostream* os) {
  *os << c.name;
}

class WindowBadInputTest : public WindowHardeningTest, public ::testing::WithParamInterface<BadInputCase> {};

TEST_P(WindowBadInputTest, ShowsTheMessageEndsWithOneAndKeepsLogAndSettings) {
  const BadInputCase& c = GetParam();
  std::unique_ptr<ScratchMount> disk;
  fs::path programFolder = dir.path();
  if (c.input == BadInput::FullDisk) {
    disk = std::make_unique<ScratchMount>(256 * 1024);
    if (!disk->mounted()) GTEST_SKIP() << disk->failure();
    programFolder = disk->path();
    desktop.savePath = (programFolder / "out" / "trip").string();
  }
  const std::string settingsText = "[Setting]\r\nOver Speed=70\r\nUnit=KPH\r\nTime Period=5\r\n";
  writeFile(programFolder / "Tellurix.ini", settingsText);
  window = std::make_unique<shell::TfrmFilter>(programFolder.string(), desktop);
  download(shortDrive());
  const fs::path log = window->logPath();
  const std::string logBytes = readFile(log);
  ASSERT_EQ(logBytes.size(), 30U * 16);

  switch (c.input) {
    case BadInput::FolderUnderAFile:
      writeFile(dir.path() / "out", "a file where the folder should be");
      break;
    case BadInput::ReportTextFull:
      if (!fs::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
      fs::create_directories(dir.path() / "out/2010-09-09");
      fs::create_symlink("/dev/full", dir.path() / "out/2010-09-09/trip-report.txt");
      break;
    case BadInput::FullDisk:
      disk->fill();
      break;
    case BadInput::VanishedLog:
      fs::remove(log);
      break;
  }
  window->memSpeed->setText(QStringLiteral("80"));  // saved first thing, where the disk has room
  EXPECT_EQ(runEventLoop([&] { window->btnOK->click(); }), 1);

  EXPECT_EQ(desktop.of("message"), std::vector<std::string>{std::string("Tellurix|") + c.message});
  EXPECT_NE(status(), "Report Done");
  EXPECT_FALSE(window->btnViewReport->isEnabled());
  if (c.input != BadInput::VanishedLog) {
    EXPECT_EQ(readFile(log), logBytes);
  }
  const std::string settings = readFile(programFolder / "Tellurix.ini");
  if (c.input == BadInput::FullDisk) {
    EXPECT_EQ(settings, settingsText) << "a settings file that cannot be rewritten is kept whole";
  } else {
    EXPECT_NE(settings.find("Over Speed=80\r\n"), std::string::npos) << settings;
  }
  EXPECT_FALSE(fs::exists(programFolder / "Tellurix.ini.new"));
}

INSTANTIATE_TEST_SUITE_P(
    Inputs, WindowBadInputTest,
    ::testing::Values(BadInputCase{"report_folder_under_a_file", BadInput::FolderUnderAFile,
                                   "Report_File file read open error"},
                      BadInputCase{"report_text_that_cannot_be_written", BadInput::ReportTextFull,
                                   "Report_File file read open error"},
                      BadInputCase{"full_disk", BadInput::FullDisk, "GPRMC_File file write open error"},
                      BadInputCase{"vanished_log", BadInput::VanishedLog,
                                   "bin file read open error in Quorvel"}),
    [](const auto& info) { return std::string(info.param.name); });

// A folder where the settings file belongs: the window starts with the defaults and reports as
// usual; the folder and what it holds stay.
TEST_F(WindowHardeningTest, ASettingsFileThatIsAFolderGivesTheDefaultsAndReportsGoOn) {
  fs::create_directories(dir.path() / "Tellurix.ini");
  writeFile(dir.path() / "Tellurix.ini" / "kept.txt", "kept");
  shell::TfrmFilter& w = open();
  EXPECT_EQ(w.memSpeed->text().toStdString(), "90");
  EXPECT_EQ(w.cboSpeedUnit->currentText().toStdString(), "KPH");
  EXPECT_EQ(w.memStopPointTimePeriod->text().toStdString(), "10");
  EXPECT_EQ(w.cboTimeZone->currentIndex(), 74);

  download(shortDrive());
  w.btnSetTimeZone->click();
  w.btnOK->click();
  EXPECT_EQ(status(), "Report Done");
  EXPECT_EQ(desktop.of("message"), std::vector<std::string>{});
  EXPECT_EQ(desktop.of("error"), std::vector<std::string>{});
  EXPECT_TRUE(fs::is_directory(dir.path() / "Tellurix.ini"));
  EXPECT_EQ(readFile(dir.path() / "Tellurix.ini" / "kept.txt"), "kept");
  EXPECT_FALSE(fs::exists(dir.path() / "Tellurix.ini.new"));
}

}  // namespace
}  // namespace tellurix::testing

// The window driving the logger's download: its timers, the reader's changes, the commands
// the download enables, Clear, and the start-up failures.
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <QCheckBox>
#include <QProgressBar>
#include <QWindow>
#include <condition_variable>
#include <cstdlib>
#include <filesystem>
#include <mutex>

#include "WindowFixture.h"
#include "logger/Readrs232.h"

namespace tellurix::testing {
namespace {

namespace fs = std::filesystem;

std::string fieldTexts(const std::array<QComboBox*, 6>& boxes) {
  std::string texts;
  for (const QComboBox* box : boxes) texts += box->currentText().toStdString() + " ";
  return texts;
}

TEST_F(WindowTest, TheDownloadEnablesItsCommandsAndADoneReportTheRest) {
  writeSettings("[Setting]\nViewGpsSpeedChart=1\n");
  shell::TfrmFilter& w = open();
  EXPECT_EQ(commandStates(), "0000000");
  EXPECT_FALSE(w.chkGpsSpeedChart->isChecked());

  // 13107 records fill 9 % of the memory. The logger sends half of them, then waits for the test.
  const auto points = straightDrive(fix(25.0339, 121.5645, 36, 2010, 9, 9, 2, 0, 5), 13107, 10, 36);
  const Bytes records = recordsOf(points);
  const Bytes stream = streamOf(records);
  const auto half = stream.begin() + static_cast<std::ptrdiff_t>(stream.size() / 2);
  ASSERT_TRUE(startDownload([&](ScriptedLink& l) {
    scriptUpToCount(l, 13107);
    arriveInBlocks(l, Bytes(stream.begin(), half));
  }));
  // The probe has run before the window shows.
  EXPECT_TRUE(w.Timer2->isActive());
  EXPECT_TRUE(w.chkGpsSpeedChart->isChecked());
  EXPECT_EQ(commandStates(), "0000000");

  const auto reading = [&] {
    return link->ScriptDone() && w.proStatus->value() > 0 &&
           status() == std::to_string(w.proStatus->value()) + "% Reading...... ";
  };
  ASSERT_TRUE(runUntil(reading)) << status();
  EXPECT_FALSE(w.Timer2->isActive());
  EXPECT_FALSE(w.tmrQueryRecord->isActive());
  EXPECT_TRUE(w.Timer3->isActive());
  EXPECT_LT(w.proStatus->value(), 100);
  EXPECT_EQ(statusColour(), QColor(0, 0, 0));
  EXPECT_EQ(commandStates(), "0000000");
  EXPECT_TRUE(w.cboStartYear->isEnabled());  // the filter can be edited while downloading

  arriveInBlocks(*link, Bytes(half, stream.end()));
  ASSERT_TRUE(runUntil([&] { return w.Timer1->isActive(); })) << status();
  EXPECT_EQ(commandStates(), "1111100");
  EXPECT_FALSE(w.Timer3->isActive());
  // The completion's texts stand, not a last progress tick's.
  EXPECT_EQ(status(), "100% Read Complete");
  EXPECT_EQ(statusColour(), QColor(255, 0, 0));
  EXPECT_EQ(w.proStatus->value(), 9);
  EXPECT_EQ(w.lblLogShow->text().toStdString(), "13107");
  EXPECT_EQ(w.lblPercentageShow->text().toStdString(), "9 %");
  EXPECT_TRUE(sameBytes(std::string(records.begin(), records.end()), readFile(w.logPath())));
  // 02:00:05 to 05:38:31 UTC, in Taipei.
  EXPECT_EQ(fieldTexts({w.cboStartYear, w.cboStartMonth, w.cboStartDay, w.cboStartHour, w.cboStartMin,
                        w.cboStartSec}),
            "2010 9 9 10 0 5 ");
  EXPECT_EQ(fieldTexts({w.cboEndYear, w.cboEndMonth, w.cboEndDay, w.cboEndHour, w.cboEndMin, w.cboEndSec}),
            "2010 9 9 13 38 31 ");
  EXPECT_EQ(w.lblUserID->text().toStdString(), "");

  link->Arrive(userIdReply("FLEET-07"));
  ASSERT_TRUE(runUntil([&] { return !w.Timer1->isActive(); }));
  EXPECT_EQ(w.lblUserID->text().toStdString(), "FLEET-07");

  w.btnOK->click();
  ASSERT_EQ(status(), "Report Done");
  EXPECT_EQ(commandStates(), "1111111");
  EXPECT_EQ(w.session().store.pointCount, 13107U);
  EXPECT_TRUE(fs::exists(dir.file("out/2010-09-09/trip-FLEET-07-2010-09-09.kml")));  // the user id
}

// The reader's 20 ms rhythm, held up while `hold` is set; the other waits take a millisecond.
class HeldClock final : public logger::Clock {
 public:
  void SleepFor(std::chrono::milliseconds duration) override {
    std::unique_lock lock(mutex_);
    if (duration == logger::TRead232::kRhythm) released_.wait(lock, [this] { return !held_; });
    lock.unlock();
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  void hold() {
    const std::lock_guard lock(mutex_);
    held_ = true;
  }
  void release() {
    {
      const std::lock_guard lock(mutex_);
      held_ = false;
    }
    released_.notify_all();
  }

 private:
  std::mutex mutex_;
  std::condition_variable released_;
  bool held_ = false;
};

// Lets the reader complete the download just as a Timer3 tick begins: its changes are then
// waiting on the window thread while the tick processes messages.
class CompleteAtTheNextTick final : public QObject {
 public:
  CompleteAtTheNextTick(HeldClock& clock, const logger::DownloadSequence& download)
      : clock_(clock), download_(download) {}
  bool eventFilter(QObject* timer, QEvent* event) override {
    if (event->type() != QEvent::Timer || done_) return false;
    done_ = true;
    clock_.release();
    // The reader posts all of the completion before it waits for the user id.
    for (int i = 0; i < 5000 && download_.Phase() != logger::DownloadPhase::AwaitUserId; ++i)
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    timer->event(event);  // the tick itself
    return true;
  }

 private:
  HeldClock& clock_;
  const logger::DownloadSequence& download_;
  bool done_ = false;
};

TEST_F(WindowTest, ACompletionThatArrivesDuringAProgressTickIsShownAfterIt) {
  shell::TfrmFilter& w = open();
  const Bytes stream = streamOf(recordsOf(shortDrive()));
  const auto readEnd = stream.end() - static_cast<std::ptrdiff_t>(logger::kReadEnd.size());
  HeldClock heldClock;
  ASSERT_TRUE(startDownload(
      [&](ScriptedLink& l) {
        scriptUpToCount(l, 30);
        l.Arrive(Bytes(stream.begin(), readEnd));
      },
      heldClock));
  ASSERT_TRUE(runUntil([&] { return link->ScriptDone() && w.Timer3->isActive(); }));

  heldClock.hold();
  link->Arrive(Bytes(readEnd, stream.end()));
  CompleteAtTheNextTick tick(heldClock, *w.download());
  w.Timer3->installEventFilter(&tick);
  ASSERT_TRUE(runUntil([&] { return w.Timer1->isActive(); }));
  w.Timer3->removeEventFilter(&tick);

  EXPECT_EQ(w.download()->Phase(), logger::DownloadPhase::AwaitUserId);
  EXPECT_EQ(status(), "100% Read Complete");
  EXPECT_EQ(statusColour(), QColor(255, 0, 0));
  EXPECT_EQ(w.proStatus->value(), 0);  // the memory use of 30 records, not the transfer's 100
  EXPECT_FALSE(w.Timer3->isActive());
}

TEST_F(WindowTest, AZoneThatIsNoZoneAtTheCompletionIsReportedAndResetStillRestoresTheFilter) {
  shell::TfrmFilter& w = open();
  w.cboTimeZone->setEditText(QStringLiteral("(GMT+8:00) Typed"));  // the filter fill reads it
  download(shortDrive());
  EXPECT_EQ(desktop.of("error"), std::vector<std::string>{"'8:' is not a valid integer value"});
  EXPECT_EQ(status(), "100% Read Complete");
  EXPECT_EQ(commandStates(), "1111100");
  EXPECT_EQ(w.cboStartYear->currentText().toStdString(), "2000");  // not filled

  // Reset goes back to the fields and the zone as the completion left them, not to blanks.
  const std::string filled =
      fieldTexts(
          {w.cboStartYear, w.cboStartMonth, w.cboStartDay, w.cboStartHour, w.cboStartMin, w.cboStartSec}) +
      fieldTexts({w.cboEndYear, w.cboEndMonth, w.cboEndDay, w.cboEndHour, w.cboEndMin, w.cboEndSec});
  ASSERT_EQ(filled, "2000 1 1 0 0 0 2000 1 1 0 0 0 ");
  w.cboStartDay->setEditText(QStringLiteral("9"));
  w.cboEndSec->setEditText(QStringLiteral("59"));
  w.cboTimeZone->setCurrentIndex(3);
  w.btnReset->click();
  EXPECT_EQ(
      fieldTexts(
          {w.cboStartYear, w.cboStartMonth, w.cboStartDay, w.cboStartHour, w.cboStartMin, w.cboStartSec}) +
          fieldTexts({w.cboEndYear, w.cboEndMonth, w.cboEndDay, w.cboEndHour, w.cboEndMin, w.cboEndSec}),
      filled);
  EXPECT_EQ(w.cboTimeZone->currentIndex(), 74);
  EXPECT_EQ(w.cboTimeZone->currentText().toStdString(), "(UTC+08:00) Taipei");
}

struct ClearCase {
  const char* name;
  bool yes;
  const char* records;
  const char* percentage;
};
void PrintTo(const ClearCase& c, std::ostream* os) {
  *os << c.name;
}

class ClearTest : public WindowTest, public ::testing::WithParamInterface<ClearCase> {};

TEST_P(ClearTest, ErasesTheLoggerOnlyAfterYes) {
  const ClearCase& c = GetParam();
  shell::TfrmFilter& w = open();
  download(shortDrive(), "FLEET-07");
  ASSERT_TRUE(runUntil([&] { return !w.Timer1->isActive(); }));
  const std::size_t writesBefore = link->Writes().size();
  desktop.answerYes = c.yes;
  w.btnClear->click();

  EXPECT_EQ(desktop.of("ask"), std::vector<std::string>{"Note|Are you sure to clear the logging memory?"});
  const Bytes sent = [&] {
    Bytes bytes;
    const auto writes = link->Writes();
    for (std::size_t i = writesBefore; i < writes.size(); ++i) bytes = join({bytes, writes[i].bytes});
    return bytes;
  }();
  EXPECT_EQ(sent, c.yes ? bytesOf(logger::kClearMemory) : Bytes{});
  EXPECT_EQ(w.lblLogShow->text().toStdString(), c.records);
  EXPECT_EQ(w.lblPercentageShow->text().toStdString(), c.percentage);
  // The log, the filter and the commands stay as the download left them.
  EXPECT_EQ(readFile(w.logPath()).size(), 30U * 16);
  EXPECT_EQ(w.cboStartHour->currentText().toStdString(), "10");
  EXPECT_EQ(commandStates(), "1111100");
}

INSTANTIATE_TEST_SUITE_P(Answers, ClearTest,
                         ::testing::Values(ClearCase{"yes", true, "0", "0%"},
                                           ClearCase{"no", false, "30", "0 %"}),
                         [](const auto& info) { return std::string(info.param.name); });

// The program's own way to its port: "Port" of the window's Tellurix.ini names it.
enum class PortState { Missing, HeldByAnotherProgram, NoSerialLine };
struct PortCase {
  const char* name;
  PortState state;
  const char* message;  // "caption|text"; "@" stands for the port
};
void PrintTo(const PortCase& c, std::ostream* os) {
  *os << c.name;
}

class PortFailureTest : public WindowTest, public ::testing::WithParamInterface<PortCase> {};

TEST_P(PortFailureTest, IsShownAndEndsTheProgramWithZero) {
  const PortCase& c = GetParam();
  ::unsetenv("TELLURIX_PORT");
  const std::string port = dir.file("ttyLOGGER");
  writeSettings("[Setting]\r\nPort=" + port + "\r\n");
  int holder = -1;
  if (c.state != PortState::Missing) writeFile(port, "");
  if (c.state == PortState::HeldByAnotherProgram) {
    holder = ::open(port.c_str(), O_RDWR);
    ASSERT_EQ(::flock(holder, LOCK_EX | LOCK_NB), 0);
  }
  shell::TfrmFilter& w = open();
  // Before the event loop runs: main returns the code.
  EXPECT_EQ(w.StartDownload(), std::optional<int>(0));
  if (holder >= 0) ::close(holder);

  std::string expected = c.message;
  if (const auto at = expected.find('@'); at != std::string::npos) expected.replace(at, 1, port);
  EXPECT_EQ(desktop.of("message"), std::vector<std::string>{expected});
  EXPECT_EQ(w.download(), nullptr);
  EXPECT_FALSE(w.Timer2->isActive());
}

INSTANTIATE_TEST_SUITE_P(
    Ports, PortFailureTest,
    ::testing::Values(PortCase{"missing_device", PortState::Missing, "Comm Error|@ Conflict Error!!"},
                      PortCase{"held_by_another_program", PortState::HeldByAnotherProgram,
                               "Comm Error|Open Communication Error!!"},
                      PortCase{"no_serial_line", PortState::NoSerialLine,
                               "Set Error|Communication Port Set Error!!"}),
    [](const auto& info) { return std::string(info.param.name); });

// A log that cannot be written ends the program with 1 through its event loop: the transfer's
// file cannot be created, or the finished transfer cannot replace the log. Nothing of the
// transfer is left beside the log, and a previous log stays as it was.
enum class Unwritable { TransferFile, Log };
struct UnwritableCase {
  const char* name;
  Unwritable what;
};
void PrintTo(const UnwritableCase& c, std::ostream* os) {
  *os << c.name;
}

class UnwritableLogTest : public WindowTest, public ::testing::WithParamInterface<UnwritableCase> {};

TEST_P(UnwritableLogTest, IsShownAndEndsTheProgramWithOne) {
  const fs::path log = dir.path() / "LOGDATA.BIN";
  const fs::path part = dir.path() / "LOGDATA.BIN.part";
  if (GetParam().what == Unwritable::TransferFile) {
    writeFile(log, "previous");
    fs::create_directories(part);
  } else {
    fs::create_directories(log);
  }
  shell::TfrmFilter& w = open();
  const auto exitCode = runEventLoop([&] {
    EXPECT_TRUE(startDownload([](ScriptedLink& l) { scriptDownload(l, recordsOf(shortDrive())); }));
  });
  EXPECT_EQ(exitCode, 1);
  EXPECT_EQ(desktop.of("message"), std::vector<std::string>{"Tellurix|BINFILE file write open error"});
  for (const QTimer* timer : {w.Timer2, w.tmrQueryRecord, w.Timer3, w.Timer1})
    EXPECT_FALSE(timer->isActive()) << timer->objectName().toStdString();
  EXPECT_EQ(commandStates(), "0000000");

  window.reset();  // main returns
  if (GetParam().what == Unwritable::TransferFile) {
    EXPECT_EQ(readFile(log), "previous");
    EXPECT_TRUE(fs::is_directory(part)) << "not the program's to remove";
  } else {
    EXPECT_TRUE(fs::is_directory(log));
    EXPECT_FALSE(fs::exists(part));
  }
}

INSTANTIATE_TEST_SUITE_P(Places, UnwritableLogTest,
                         ::testing::Values(UnwritableCase{"transfer_file_cannot_be_created",
                                                          Unwritable::TransferFile},
                                           UnwritableCase{"log_cannot_be_replaced", Unwritable::Log}),
                         [](const auto& info) { return std::string(info.param.name); });

// The close box while the logger sends its records ends the program through its event loop
// with 0: on the way out the reader is joined and the unfinished transfer's file removed, so
// the previous log stays the log.
TEST_F(WindowTest, ClosingTheWindowDuringTheTransferKeepsThePreviousLog) {
  writeLog(dir.file("LOGDATA.BIN"), shortDrive(5));
  const std::string previous = readFile(dir.path() / "LOGDATA.BIN");
  shell::TfrmFilter& w = open();
  w.show();
  const Bytes stream = streamOf(recordsOf(shortDrive(300)));
  ASSERT_TRUE(startDownload([&](ScriptedLink& l) {
    scriptUpToCount(l, 300);
    arriveInBlocks(l, Bytes(stream.begin(), stream.begin() + static_cast<std::ptrdiff_t>(stream.size() / 2)));
  }));
  ASSERT_TRUE(runUntil([&] { return link->ScriptDone() && w.proStatus->value() > 0; })) << status();
  ASSERT_TRUE(fs::exists(dir.path() / "LOGDATA.BIN.part"));

  EXPECT_EQ(runEventLoop([&] { w.windowHandle()->close(); }), 0);
  window.reset();  // main returns
  EXPECT_FALSE(fs::exists(dir.path() / "LOGDATA.BIN.part"));
  EXPECT_TRUE(sameBytes(previous, readFile(dir.path() / "LOGDATA.BIN")));
}

}  // namespace
}  // namespace tellurix::testing

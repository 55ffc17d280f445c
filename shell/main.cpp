// tellurix: the desktop program.
#include <QApplication>
#include <QComboBox>
#include <QIcon>
#include <QLabel>
#include <QProgressBar>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <optional>

#include "Quorvel.h"
#include "desktop/Desktop.h"
#include "desktop/ProgramName.h"
#include "platform/DataFolder.h"
#include "tagging/Tagging.h"

namespace {

using tellurix::logger::DownloadPhase;
using tellurix::shell::TfrmFilter;

// What the window shows once the download is through, one "control=text" line each.
void printDownload(const TfrmFilter& w) {
  const auto line = [](const QWidget* control, const QString& text) {
    std::printf("%s=%s\n", control->objectName().toUtf8().constData(), text.toUtf8().constData());
  };
  for (const QComboBox* box :
       {w.cboStartYear, w.cboStartMonth, w.cboStartDay, w.cboStartHour, w.cboStartMin, w.cboStartSec,
        w.cboEndYear, w.cboEndMonth, w.cboEndDay, w.cboEndHour, w.cboEndMin, w.cboEndSec, w.cboTimeZone}) {
    line(box, box->currentText());
  }
  for (const QLabel* label : {w.lblLogShow, w.lblPercentageShow, w.lblUserID, w.lblStatus})
    line(label, label->text());
  line(w.proStatus, QString::number(w.proStatus->value()));
  std::fflush(stdout);
}

// Developer aid, TELLURIX_PRINT_DOWNLOAD=1: once the logger has given its user id, print the
// window's figures and filter and end as Close does; a download that stalls prints
// "stalled" and ends with 1. Lets a script check a whole download against a logger.
void printDownloadWhenDone(TfrmFilter& window) {
  auto* poll = new QTimer(&window);
  QObject::connect(poll, &QTimer::timeout, &window, [&window] {
    const DownloadPhase phase = window.download()->Phase();
    if (phase == DownloadPhase::Ready) {
      printDownload(window);
      window.btnCloseClick();
    } else if (phase == DownloadPhase::Stalled) {
      std::printf("stalled\n");
      std::fflush(stdout);
      QCoreApplication::exit(1);
    }
  });
  poll->start(100);
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QString::fromUtf8(tellurix::desktop::kProgramName));
  QApplication::setDesktopFileName(QStringLiteral("tellurix"));
  QApplication::setWindowIcon(QIcon(QStringLiteral(":/tellurix/tellurix.png")));

  tellurix::desktop::QtDesktop desktop;
  TfrmFilter window(tellurix::platform::programDataFolder(), desktop);
  // A port that cannot be had has been shown: the program ends with its code.
  if (const std::optional<int> exitCode = window.StartDownload()) return *exitCode;
  // The photo window, created hidden; the main window's Tagging button shows it.
  tellurix::tagging::TfrmTagging tagging(window.session(), window.fields(), &window, desktop,
                                         window.settings());
  window.setTaggingWindow(&tagging);
  const char* print = std::getenv("TELLURIX_PRINT_DOWNLOAD");
  if (print != nullptr && *print != '\0' && *print != '0') printDownloadWhenDone(window);
  window.show();
  // Close and a fatal error end the loop with their exit code; the windows, the download and
  // its reader thread are taken down on the way out of main.
  return QApplication::exec();
}

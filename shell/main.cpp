// tellurix: the desktop program.
#include <QApplication>
#include <QIcon>
#include <cstdio>
#include <cstdlib>

#include "Desktop.h"
#include "DownloadStandIn.h"
#include "ProgramName.h"
#include "Quorvel.h"
#include "platform/DataFolder.h"
#include "tagging/Tagging.h"
#include "tagging/TaggingDesktop.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QString::fromUtf8(tellurix::shell::kProgramName));
  QApplication::setDesktopFileName(QStringLiteral("tellurix"));
  QApplication::setWindowIcon(QIcon(QStringLiteral(":/tellurix/tellurix.png")));

  tellurix::shell::QtDesktop desktop;
  tellurix::tagging::QtTaggingDesktop photoDesktop;
  tellurix::shell::TfrmFilter window(tellurix::platform::programDataFolder(), desktop);
  // The photo window, created hidden; the main window's Tagging button shows it.
  tellurix::tagging::TfrmTagging tagging(window.session(), window.fields(), &window, photoDesktop);
  window.setTaggingWindow(&tagging);

  // Developer aid: a log file that stands in for a finished download, so the window can be
  // looked at and used without a logger.
  const char* standIn = std::getenv("TELLURIX_STAND_IN_LOG");
  if (standIn != nullptr && *standIn != '\0' && !tellurix::shell::standInForDownload(window, standIn)) {
    std::fprintf(stderr, "tellurix: cannot use %s as the log\n", standIn);
    return 1;
  }
  window.show();
  return QApplication::exec();
}

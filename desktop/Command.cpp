#include "Command.h"

#include <QCoreApplication>
#include <QString>
#include <exception>

#include "Desktop.h"
#include "ProgramName.h"
#include "tracklog/Errors.h"

namespace tellurix::desktop {

CommandEnd runCommand(QWidget& window, Desktop& desktop, const std::function<void()>& command,
                      const std::function<void(const tracklog::FatalError&)>& beforeTheBox) {
  try {
    command();
  } catch (const tracklog::FatalError& e) {
    if (beforeTheBox) beforeTheBox(e);
    endWithFatalError(&window, desktop, e);
    return CommandEnd::ProgramEnds;
  } catch (const std::exception& e) {
    desktop.showError(&window, QString::fromUtf8(e.what()));
    return CommandEnd::Failed;
  }
  return CommandEnd::Done;
}

void endWithFatalError(QWidget* parent, Desktop& desktop, const tracklog::FatalError& error) {
  desktop.showMessage(parent, QString::fromUtf8(error.what()), QString::fromUtf8(kProgramName));
  endProgram(error.exitCode());
}

void endProgram(int exitCode) {
  QCoreApplication::exit(exitCode);
}

}  // namespace tellurix::desktop

#include "WindowReportUi.h"

#include <QTimer>

#include "Quorvel.h"
#include "desktop/Desktop.h"
#include "desktop/ProgramName.h"
#include "desktop/QtText.h"

namespace tellurix::shell {

using desktop::qtText;

void WindowReportUi::saveSettings() {
  window_.SaveReportSettings();
}

std::optional<std::string> WindowReportUi::chooseOutputPath() {
  return desktop_.runSaveDialog(*window_.SaveDialog1);
}

void WindowReportUi::showMessage(std::string_view text, std::string_view caption) {
  const QString title = caption.empty() ? QString::fromUtf8(desktop::kProgramName) : qtText(caption);
  desktop_.showMessage(&window_, qtText(text), title);
}

void WindowReportUi::setStatusText(std::string_view text) {
  window_.SetStatusText(text);
}

void WindowReportUi::setStatusColour(report::StatusColour colour) {
  window_.SetStatusColour(colour);
}

void WindowReportUi::startBlink() {
  window_.startReportEvents();
  window_.Timer4->start();
}

void WindowReportUi::stopBlink() {
  window_.Timer4->stop();
}

void WindowReportUi::repaint() {
  window_.repaint();
}

void WindowReportUi::recordRead() {
  window_.reportRecordRead();
}

}  // namespace tellurix::shell

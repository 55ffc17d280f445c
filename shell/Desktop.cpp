#include "Desktop.h"

#include <QDesktopServices>
#include <QFileDialog>
#include <QMessageBox>
#include <QUrl>
#include <cstdio>
#include <cstdlib>

#include "ProgramName.h"

namespace tellurix::shell {

std::optional<std::string> QtDesktop::runSaveDialog(QFileDialog& dialog) {
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return dialog.selectedFiles().constFirst().toStdString();
}

void QtDesktop::showMessage(QWidget* parent, const QString& text, const QString& caption) {
  QMessageBox box(QMessageBox::NoIcon, caption, text, QMessageBox::Ok, parent);
  box.setTextFormat(Qt::PlainText);  // texts from files and fields are never markup
  box.exec();
}

void QtDesktop::showError(QWidget* parent, const QString& text) {
  QMessageBox box(QMessageBox::Critical, QString::fromUtf8(kProgramName), text, QMessageBox::Ok, parent);
  box.setTextFormat(Qt::PlainText);
  box.exec();
}

bool QtDesktop::askYesNo(QWidget* parent, const QString& text, const QString& caption) {
  QMessageBox box(QMessageBox::NoIcon, caption, text, QMessageBox::Yes | QMessageBox::No, parent);
  box.setTextFormat(Qt::PlainText);
  return box.exec() == QMessageBox::Yes;
}

void QtDesktop::openFolder(const std::string& folder) {
  // The result is ignored: without a file browser nothing happens.
  QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(folder)));
}

void QtDesktop::endProgram(int exitCode) {
  std::fflush(nullptr);
  std::exit(exitCode);
}

}  // namespace tellurix::shell

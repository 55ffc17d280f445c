#include "Desktop.h"

#include <QDesktopServices>
#include <QFile>
#include <QFileDialog>
#include <QMessageBox>
#include <QUrl>

#include "ProgramName.h"

namespace tellurix::desktop {
namespace {

// Texts from files and fields are never markup.
int runBox(QMessageBox::Icon icon, QWidget* parent, const QString& text, const QString& caption,
           QMessageBox::StandardButtons buttons) {
  QMessageBox box(icon, caption, text, buttons, parent);
  box.setTextFormat(Qt::PlainText);
  return box.exec();
}

}  // namespace

std::optional<std::string> QtDesktop::runSaveDialog(QFileDialog& dialog) {
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return dialog.selectedFiles().constFirst().toStdString();
}

std::vector<std::string> QtDesktop::runOpenDialog(QFileDialog& dialog) {
  std::vector<std::string> paths;
  if (dialog.exec() != QDialog::Accepted) return paths;
  for (const QString& file : dialog.selectedFiles()) paths.push_back(QFile::encodeName(file).toStdString());
  return paths;
}

void QtDesktop::showMessage(QWidget* parent, const QString& text, const QString& caption) {
  runBox(QMessageBox::NoIcon, parent, text, caption, QMessageBox::Ok);
}

void QtDesktop::showOkCancel(QWidget* parent, const QString& text, const QString& caption) {
  runBox(QMessageBox::NoIcon, parent, text, caption, QMessageBox::Ok | QMessageBox::Cancel);
}

void QtDesktop::showError(QWidget* parent, const QString& text) {
  runBox(QMessageBox::Critical, parent, text, QString::fromUtf8(kProgramName), QMessageBox::Ok);
}

bool QtDesktop::askYesNo(QWidget* parent, const QString& text, const QString& caption) {
  return runBox(QMessageBox::NoIcon, parent, text, caption, QMessageBox::Yes | QMessageBox::No) ==
         QMessageBox::Yes;
}

void QtDesktop::openFolder(const std::string& folder) {
  // The result is ignored: without a file browser nothing happens.
  QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(folder)));
}

}  // namespace tellurix::desktop

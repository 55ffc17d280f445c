#include "TaggingDesktop.h"

#include <QFile>
#include <QFileDialog>
#include <QMessageBox>
#include <cstdio>
#include <cstdlib>

#include "shell/ProgramName.h"

namespace tellurix::tagging {

std::vector<std::string> QtTaggingDesktop::runOpenDialog(QFileDialog& dialog) {
  std::vector<std::string> paths;
  if (dialog.exec() != QDialog::Accepted) return paths;
  for (const QString& file : dialog.selectedFiles()) paths.push_back(QFile::encodeName(file).toStdString());
  return paths;
}

void QtTaggingDesktop::showOkCancel(QWidget* parent, const QString& text, const QString& caption) {
  QMessageBox box(QMessageBox::NoIcon, caption, text, QMessageBox::Ok | QMessageBox::Cancel, parent);
  box.setTextFormat(Qt::PlainText);
  box.exec();
}

void QtTaggingDesktop::showMessage(QWidget* parent, const QString& text, const QString& caption) {
  QMessageBox box(QMessageBox::NoIcon, caption, text, QMessageBox::Ok, parent);
  box.setTextFormat(Qt::PlainText);  // texts from files and fields are never markup
  box.exec();
}

void QtTaggingDesktop::showError(QWidget* parent, const QString& text) {
  QMessageBox box(QMessageBox::Critical, QString::fromUtf8(shell::kProgramName), text, QMessageBox::Ok,
                  parent);
  box.setTextFormat(Qt::PlainText);
  box.exec();
}

void QtTaggingDesktop::endProgram(int exitCode) {
  std::fflush(nullptr);
  std::exit(exitCode);
}

}  // namespace tellurix::tagging

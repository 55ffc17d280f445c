#pragma once

#include <QFileDialog>
#include <QString>
#include <string>
#include <vector>

#include "tagging/TaggingDesktop.h"

namespace tellurix::testing {

// Answers the photo window's dialogs from a script and records what it asked, as lines such
// as "open Photos (*.jpg *.jpeg);;All Files (*)", "ok-cancel Notice|File not found",
// "error ...", "message Tellurix|...", "end 1".
class ScriptedTaggingDesktop final : public tagging::TaggingDesktop {
 public:
  std::vector<std::string> runOpenDialog(QFileDialog& dialog) override {
    events.push_back("open " + dialog.nameFilters().join(QStringLiteral(";;")).toStdString());
    multipleFiles = dialog.fileMode() == QFileDialog::ExistingFiles;
    return chosen;
  }
  void showOkCancel(QWidget* /*parent*/, const QString& text, const QString& caption) override {
    events.push_back("ok-cancel " + caption.toStdString() + "|" + text.toStdString());
  }
  void showMessage(QWidget* /*parent*/, const QString& text, const QString& caption) override {
    events.push_back("message " + caption.toStdString() + "|" + text.toStdString());
  }
  void showError(QWidget* /*parent*/, const QString& text) override {
    events.push_back("error " + text.toStdString());
  }
  void endProgram(int exitCode) override { events.push_back("end " + std::to_string(exitCode)); }

  std::vector<std::string> chosen;
  bool multipleFiles = false;
  std::vector<std::string> events;
};

}  // namespace tellurix::testing

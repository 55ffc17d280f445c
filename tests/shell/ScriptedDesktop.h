#pragma once

#include <QFileDialog>
#include <QString>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "desktop/Desktop.h"

namespace tellurix::testing {

// Answers the windows' dialogs from a script and records what they asked, as lines such as
// "message Input Error|Invalid Value", "ok-cancel Notice|File not found", "error ...",
// "open /folder", "open-dialog Photos (*.jpg *.jpeg);;All Files (*)".
class ScriptedDesktop final : public desktop::Desktop {
 public:
  std::optional<std::string> runSaveDialog(QFileDialog& dialog) override {
    events.push_back("save dialog " + dialog.nameFilters().join(QStringLiteral(";")).toStdString());
    if (whileSaveDialogIsOpen) whileSaveDialogIsOpen();
    return savePath;
  }
  std::vector<std::string> runOpenDialog(QFileDialog& dialog) override {
    events.push_back("open-dialog " + dialog.nameFilters().join(QStringLiteral(";;")).toStdString());
    multipleFiles = dialog.fileMode() == QFileDialog::ExistingFiles;
    return chosen;
  }
  void showMessage(QWidget* /*parent*/, const QString& text, const QString& caption) override {
    events.push_back("message " + caption.toStdString() + "|" + text.toStdString());
  }
  void showOkCancel(QWidget* /*parent*/, const QString& text, const QString& caption) override {
    events.push_back("ok-cancel " + caption.toStdString() + "|" + text.toStdString());
  }
  void showError(QWidget* /*parent*/, const QString& text) override {
    events.push_back("error " + text.toStdString());
  }
  bool askYesNo(QWidget* /*parent*/, const QString& text, const QString& caption) override {
    events.push_back("ask " + caption.toStdString() + "|" + text.toStdString());
    return answerYes;
  }
  void openFolder(const std::string& folder) override { events.push_back("open " + folder); }

  // Every event that starts with `kind` + " ", without that prefix.
  [[nodiscard]] std::vector<std::string> of(const std::string& kind) const {
    std::vector<std::string> out;
    for (const std::string& e : events) {
      if (e.rfind(kind + " ", 0) == 0) out.push_back(e.substr(kind.size() + 1));
    }
    return out;
  }

  std::optional<std::string> savePath;
  std::function<void()> whileSaveDialogIsOpen;
  std::vector<std::string> chosen;  // what the open dialog returns
  bool multipleFiles = false;       // whether the last open dialog let several files be chosen
  bool answerYes = true;
  std::vector<std::string> events;
};

}  // namespace tellurix::testing

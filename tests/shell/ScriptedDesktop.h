#pragma once

#include <QFileDialog>
#include <QString>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "shell/Desktop.h"

namespace tellurix::testing {

// Answers the window's dialogs from a script and records what the window asked, as lines
// such as "message Input Error|Invalid Value", "error ...", "open /folder", "end 1".
class ScriptedDesktop final : public shell::Desktop {
 public:
  std::optional<std::string> runSaveDialog(QFileDialog& dialog) override {
    events.push_back("save dialog " + dialog.nameFilters().join(QStringLiteral(";")).toStdString());
    if (whileSaveDialogIsOpen) whileSaveDialogIsOpen();
    return savePath;
  }
  void showMessage(QWidget* /*parent*/, const QString& text, const QString& caption) override {
    events.push_back("message " + caption.toStdString() + "|" + text.toStdString());
  }
  void showError(QWidget* /*parent*/, const QString& text) override {
    events.push_back("error " + text.toStdString());
  }
  bool askYesNo(QWidget* /*parent*/, const QString& text, const QString& caption) override {
    events.push_back("ask " + caption.toStdString() + "|" + text.toStdString());
    return answerYes;
  }
  void openFolder(const std::string& folder) override { events.push_back("open " + folder); }
  void endProgram(int exitCode) override {
    events.push_back("end " + std::to_string(exitCode));
    if (whileEnding) whileEnding();
  }

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
  std::function<void()> whileEnding;  // the moment the real program would end
  bool answerYes = true;
  std::vector<std::string> events;
};

}  // namespace tellurix::testing

#pragma once

#include <optional>
#include <string>

class QFileDialog;
class QString;
class QWidget;

namespace tellurix::shell {

// What the main window asks of the desktop: modal dialogs, the file browser and the end of the
// program. The program uses QtDesktop; tests answer with scripted replies.
class Desktop {
 public:
  virtual ~Desktop() = default;

  // Runs the prepared save dialog; the chosen path, or nothing when cancelled.
  virtual std::optional<std::string> runSaveDialog(QFileDialog& dialog) = 0;
  // A box with the text, the caption and one OK button, no icon.
  virtual void showMessage(QWidget* parent, const QString& text, const QString& caption) = 0;
  // The report of an error that ended a command; the program goes on.
  virtual void showError(QWidget* parent, const QString& text) = 0;
  // A question with Yes and No; true for Yes.
  virtual bool askYesNo(QWidget* parent, const QString& text, const QString& caption) = 0;
  // Shows the folder in the desktop's file browser; nothing happens when there is none.
  virtual void openFolder(const std::string& folder) = 0;
  // Ends the program at once with the exit code. Only a test's desktop returns.
  virtual void endProgram(int exitCode) = 0;
};

// The real desktop: Qt message boxes and dialogs, QDesktopServices, std::exit.
class QtDesktop final : public Desktop {
 public:
  std::optional<std::string> runSaveDialog(QFileDialog& dialog) override;
  void showMessage(QWidget* parent, const QString& text, const QString& caption) override;
  void showError(QWidget* parent, const QString& text) override;
  bool askYesNo(QWidget* parent, const QString& text, const QString& caption) override;
  void openFolder(const std::string& folder) override;
  [[noreturn]] void endProgram(int exitCode) override;
};

}  // namespace tellurix::shell

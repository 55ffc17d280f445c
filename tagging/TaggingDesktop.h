#pragma once

#include <string>
#include <vector>

class QFileDialog;
class QString;
class QWidget;

namespace tellurix::tagging {

// What the photo window asks of the desktop: its dialogs and message boxes, and the end of the
// program after a fatal error. The program uses QtTaggingDesktop; tests answer from a script.
class TaggingDesktop {
 public:
  virtual ~TaggingDesktop() = default;

  // Runs the prepared open dialog; the chosen files in the dialog's order (their names as the
  // file system holds them), none when cancelled.
  virtual std::vector<std::string> runOpenDialog(QFileDialog& dialog) = 0;
  // A box with the text, the caption and the buttons OK and Cancel; either one closes it.
  virtual void showOkCancel(QWidget* parent, const QString& text, const QString& caption) = 0;
  // A box with the text, the caption and one OK button, no icon.
  virtual void showMessage(QWidget* parent, const QString& text, const QString& caption) = 0;
  // The report of an error that ended a command; the program goes on.
  virtual void showError(QWidget* parent, const QString& text) = 0;
  // Ends the program at once with the exit code. Only a test's desktop returns.
  virtual void endProgram(int exitCode) = 0;
};

class QtTaggingDesktop final : public TaggingDesktop {
 public:
  std::vector<std::string> runOpenDialog(QFileDialog& dialog) override;
  void showOkCancel(QWidget* parent, const QString& text, const QString& caption) override;
  void showMessage(QWidget* parent, const QString& text, const QString& caption) override;
  void showError(QWidget* parent, const QString& text) override;
  [[noreturn]] void endProgram(int exitCode) override;
};

}  // namespace tellurix::tagging

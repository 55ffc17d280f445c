#pragma once

#include <optional>
#include <string>
#include <vector>

class QFileDialog;
class QString;
class QWidget;

namespace tellurix::desktop {

// What the program's windows ask of the desktop: modal dialogs, message boxes and the file
// browser. The program uses QtDesktop; tests answer with scripted replies.
class Desktop {
 public:
  virtual ~Desktop() = default;

  // Runs the prepared save dialog; the chosen path, or nothing when cancelled.
  virtual std::optional<std::string> runSaveDialog(QFileDialog& dialog) = 0;
  // Runs the prepared open dialog; the chosen files in the dialog's order (their names as the
  // file system holds them), none when cancelled.
  virtual std::vector<std::string> runOpenDialog(QFileDialog& dialog) = 0;
  // A box with the text, the caption and one OK button, no icon.
  virtual void showMessage(QWidget* parent, const QString& text, const QString& caption) = 0;
  // A box with the text, the caption and the buttons OK and Cancel; either one closes it.
  virtual void showOkCancel(QWidget* parent, const QString& text, const QString& caption) = 0;
  // The report of an error that ended a command; the program goes on.
  virtual void showError(QWidget* parent, const QString& text) = 0;
  // A question with Yes and No; true for Yes.
  virtual bool askYesNo(QWidget* parent, const QString& text, const QString& caption) = 0;
  // Shows the folder in the desktop's file browser; nothing happens when there is none.
  virtual void openFolder(const std::string& folder) = 0;
};

// The real desktop: Qt's message boxes and dialogs, and QDesktopServices.
class QtDesktop final : public Desktop {
 public:
  std::optional<std::string> runSaveDialog(QFileDialog& dialog) override;
  std::vector<std::string> runOpenDialog(QFileDialog& dialog) override;
  void showMessage(QWidget* parent, const QString& text, const QString& caption) override;
  void showOkCancel(QWidget* parent, const QString& text, const QString& caption) override;
  void showError(QWidget* parent, const QString& text) override;
  bool askYesNo(QWidget* parent, const QString& text, const QString& caption) override;
  void openFolder(const std::string& folder) override;
};

}  // namespace tellurix::desktop

#pragma once

#include <string_view>

namespace tellurix::tagging {

// What the photo commands need from their window: a chance to process pending events once per
// item of a long command, the status line and the one message box that Load shows.
class TaggingUi {
 public:
  virtual ~TaggingUi() = default;

  virtual void processEvents() = 0;
  // Panel 0 of the status bar.
  virtual void setStatusText(std::string_view text) = 0;
  // A modal box with a caption and the buttons OK and Cancel; either one closes it.
  virtual void showOkCancel(std::string_view text, std::string_view caption) = 0;
};

}  // namespace tellurix::tagging

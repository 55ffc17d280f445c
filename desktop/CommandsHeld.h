#pragma once

#include <QPointer>
#include <QWidget>
#include <vector>

namespace tellurix::desktop {

// A window's commands while one of them runs: all disabled, so that a click inside its event
// processing cannot start another one over what the first one works on. At the end each
// command gets its state back, and the focus goes back to where it was when it is still in the
// window and enabled: a disabled button hands its focus on to the next field, where a key
// press would change a value the user did not mean to touch.
class CommandsHeld {
 public:
  CommandsHeld(QWidget& window, const std::vector<QWidget*>& commands);
  CommandsHeld(const CommandsHeld&) = delete;
  CommandsHeld& operator=(const CommandsHeld&) = delete;
  CommandsHeld(CommandsHeld&&) = delete;
  CommandsHeld& operator=(CommandsHeld&&) = delete;
  ~CommandsHeld();

 private:
  struct Held {
    QPointer<QWidget> command;
    bool enabled = false;
  };
  QWidget& window_;
  std::vector<Held> held_;
  QPointer<QWidget> focus_;
};

}  // namespace tellurix::desktop

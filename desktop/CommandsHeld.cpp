#include "CommandsHeld.h"

#include <QApplication>

namespace tellurix::desktop {

CommandsHeld::CommandsHeld(QWidget& window, const std::vector<QWidget*>& commands)
    : window_(window), focus_(QApplication::focusWidget()) {
  held_.reserve(commands.size());
  for (QWidget* command : commands) {
    held_.push_back({command, command->isEnabled()});
    command->setEnabled(false);
  }
}

CommandsHeld::~CommandsHeld() {
  for (const Held& h : held_) {
    if (h.command) h.command->setEnabled(h.enabled);
  }
  if (focus_ && focus_->isEnabled() && focus_->window() == window_.window()) focus_->setFocus();
}

}  // namespace tellurix::desktop

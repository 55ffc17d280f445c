#pragma once

#include <cstdint>
#include <functional>

class QWidget;

namespace tellurix::tracklog {
class FatalError;
}

namespace tellurix::desktop {

class Desktop;

// How a window's command ended.
enum class CommandEnd : std::uint8_t {
  Done,
  Failed,       // an error ended it; it was shown and the program goes on
  ProgramEnds,  // a FatalError: shown, and the event loop has been asked to end the program
};

// Runs a command of `window`. An error that escapes it ends the command and is shown in the
// desktop's error report. A tracklog::FatalError ends the program: `beforeTheBox` first stops
// what must not go on while the box is shown (timers, posted work), then endWithFatalError.
CommandEnd runCommand(QWidget& window, Desktop& desktop, const std::function<void()>& command,
                      const std::function<void(const tracklog::FatalError&)>& beforeTheBox = {});

// The error's message in a box with the program's caption, then endProgram with its exit code.
void endWithFatalError(QWidget* parent, Desktop& desktop, const tracklog::FatalError& error);

// Asks the event loop to end the program with `exitCode`. The handler that asks returns as
// usual; main returns the code from the loop, and on the way out the windows go, the reader
// thread is joined and an unfinished download file is removed. Before the loop runs this does
// nothing: start-up returns its code to main instead.
void endProgram(int exitCode);

}  // namespace tellurix::desktop

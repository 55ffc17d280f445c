#include "LinkStartup.h"

namespace tellurix::logger {

std::variant<std::unique_ptr<platform::SerialPort>, LinkFailure> OpenLoggerLink(const std::string& portName) {
  platform::SerialPort::Opened opened = platform::SerialPort::Open(platform::devicePathOf(portName));
  if (opened.error == platform::OpenError::NotFound)
    return LinkFailure{portName + " Conflict Error!!", "Comm Error"};
  if (!opened.port) return LinkFailure{"Open Communication Error!!", "Comm Error"};
  if (!opened.port->Configure(platform::LineSpeed::Baud4800)) {
    opened.port->Close();
    return LinkFailure{"Communication Port Set Error!!", "Set Error"};
  }
  return std::move(opened.port);
}

}  // namespace tellurix::logger

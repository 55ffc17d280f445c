#include "LoggerPort.h"

#include "PortDiscovery.h"

namespace tellurix::platform {

std::variant<std::unique_ptr<SerialPort>, logger::LinkFailure> OpenLoggerLink(const std::string& portName) {
  SerialPort::Opened opened = SerialPort::Open(devicePathOf(portName));
  if (opened.error == OpenError::NotFound)
    return logger::LinkFailure{portName + " Conflict Error!!", "Comm Error"};
  if (!opened.port) return logger::LinkFailure{"Open Communication Error!!", "Comm Error"};
  if (!opened.port->Configure(logger::LineSpeed::Baud4800)) {
    opened.port->Close();
    return logger::LinkFailure{"Communication Port Set Error!!", "Set Error"};
  }
  return std::move(opened.port);
}

logger::OpenedLink openLoggerPort(const std::string& settingsFile) {
  // Nothing found opens an empty name, which fails as a missing port.
  auto opened = OpenLoggerLink(FindLoggerPort(settingsFile).value_or(""));
  if (auto* failure = std::get_if<logger::LinkFailure>(&opened)) return std::move(*failure);
  return std::unique_ptr<logger::LoggerLink>(std::get<std::unique_ptr<SerialPort>>(std::move(opened)));
}

}  // namespace tellurix::platform

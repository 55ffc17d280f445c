#include "LoggerPort.h"

#include "platform/PortDiscovery.h"

namespace tellurix::shell {

OpenedLink openLoggerPort(const std::string& settingsFile) {
  // Nothing found opens an empty name, which fails as a missing port.
  auto opened = logger::OpenLoggerLink(platform::FindLoggerPort(settingsFile).value_or(""));
  if (auto* failure = std::get_if<logger::LinkFailure>(&opened)) return std::move(*failure);
  return std::unique_ptr<platform::LoggerLink>(
      std::get<std::unique_ptr<platform::SerialPort>>(std::move(opened)));
}

}  // namespace tellurix::shell

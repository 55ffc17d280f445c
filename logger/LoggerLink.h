#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <variant>

namespace tellurix::logger {

enum class LineSpeed : std::uint8_t { Baud4800, Baud921600 };

// The logger's serial line as the download uses it. There is one for the program's life; the
// window thread and the reader thread take turns with it by sequence, never at the same time.
// The program's is platform::SerialPort.
class LoggerLink {
 public:
  virtual ~LoggerLink() = default;

  // Sets the speed with 8 data bits, no parity, one stop bit; false when the line refuses.
  virtual bool Configure(LineSpeed speed) = 0;
  // Received bytes not yet read; nothing once the line is gone (the cable pulled).
  virtual std::optional<std::size_t> BytesWaiting() = 0;
  // Reads exactly n bytes, the count BytesWaiting has just given; false on a read error.
  virtual bool Read(std::uint8_t* into, std::size_t n) = 0;
  virtual bool Write(const std::uint8_t* bytes, std::size_t n) = 0;
  // Drops what the driver has received and nobody has read yet.
  virtual void DiscardInput() = 0;
  virtual void Close() = 0;
};

// A line that cannot be opened or set up: shown in a message box with one OK button, after
// which the program ends with exitCode.
struct LinkFailure {
  std::string text;
  std::string caption;
  int exitCode = 0;

  friend bool operator==(const LinkFailure&, const LinkFailure&) = default;
};

// The logger's line, open at 4800 baud, or why it could not be had.
using OpenedLink = std::variant<std::unique_ptr<LoggerLink>, LinkFailure>;

}  // namespace tellurix::logger

#pragma once

#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace tellurix::cli {

// Options of one command: "--name value" pairs (a name may repeat) and bare flags.
class CliArguments {
 public:
  // Throws UsageError for an unknown option or a value option without its value.
  CliArguments(const std::vector<std::string>& args, const std::set<std::string>& valueOptions,
               const std::set<std::string>& flagOptions);

  [[nodiscard]] std::optional<std::string> value(const std::string& name) const;
  [[nodiscard]] std::string valueOr(const std::string& name, const std::string& fallback) const;
  [[nodiscard]] std::vector<std::string> values(const std::string& name) const;
  [[nodiscard]] bool flag(const std::string& name) const { return flags_.contains(name); }
  [[nodiscard]] const std::vector<std::string>& positional() const { return positional_; }

  // The value of an option that must be given.
  [[nodiscard]] std::string required(const std::string& name) const;

 private:
  std::map<std::string, std::vector<std::string>> values_;
  std::set<std::string> flags_;
  std::vector<std::string> positional_;
};

class UsageError : public std::exception {
 public:
  explicit UsageError(std::string message) : message_(std::move(message)) {}
  [[nodiscard]] const char* what() const noexcept override { return message_.c_str(); }

 private:
  std::string message_;
};

}  // namespace tellurix::cli

#include "CliArguments.h"

namespace tellurix::cli {

CliArguments::CliArguments(const std::vector<std::string>& args, const std::set<std::string>& valueOptions,
                           const std::set<std::string>& flagOptions) {
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg.rfind("--", 0) != 0) {
      positional_.push_back(arg);
    } else if (flagOptions.contains(arg)) {
      flags_.insert(arg);
    } else if (valueOptions.contains(arg)) {
      if (i + 1 == args.size()) throw UsageError(arg + " needs a value");
      values_[arg].push_back(args[++i]);
    } else {
      throw UsageError("unknown option " + arg);
    }
  }
}

std::optional<std::string> CliArguments::value(const std::string& name) const {
  const auto found = values_.find(name);
  if (found == values_.end()) return std::nullopt;
  return found->second.back();
}

std::string CliArguments::valueOr(const std::string& name, const std::string& fallback) const {
  return value(name).value_or(fallback);
}

std::vector<std::string> CliArguments::values(const std::string& name) const {
  const auto found = values_.find(name);
  return found == values_.end() ? std::vector<std::string>{} : found->second;
}

std::string CliArguments::required(const std::string& name) const {
  auto v = value(name);
  if (!v) throw UsageError(name + " is required");
  return *v;
}

}  // namespace tellurix::cli

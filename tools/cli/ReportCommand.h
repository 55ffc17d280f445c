#pragma once

#include <set>
#include <string>

#include "CliArguments.h"
#include "report/ReportSession.h"
#include "tracklog/FieldSource.h"

namespace tellurix::cli {

// The options every command that makes a report takes.
const std::set<std::string>& reportValueOptions();
const std::set<std::string>& reportFlagOptions();

// Exit statuses of a report run.
inline constexpr int kExitDone = 0;
inline constexpr int kExitFatal = 1;
inline constexpr int kExitRefused = 2;
inline constexpr int kExitNoMatch = 3;
inline constexpr int kExitUsage = 64;

// The window's fields as the report options give them.
tracklog::FixedFields reportFields(const CliArguments& args);

// Runs the Make Report command with the options as the window's fields; messages go to
// stderr. Returns the exit status.
int runReport(const CliArguments& args, report::ReportSession& session);

int reportCommand(const std::vector<std::string>& args);

}  // namespace tellurix::cli

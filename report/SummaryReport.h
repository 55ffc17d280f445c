#pragma once

#include <cstdio>

#include "Legs.h"
#include "RunContext.h"

namespace tellurix::report {

// The report text: the head (user id, period, distance), one block per leg, and the tail.
void writeSummaryHead(std::FILE* out, const RunContext& run);
void writeLegBlock(std::FILE* out, const RunContext& run, const Leg& leg);
void writeSummaryTail(std::FILE* out, const RunContext& run);

}  // namespace tellurix::report

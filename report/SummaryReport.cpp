#include "SummaryReport.h"

namespace tellurix::report {

void writeSummaryHead(std::FILE* /*out*/, const RunContext& /*run*/) {}
void writeLegBlock(std::FILE* /*out*/, const RunContext& /*run*/, const Leg& /*leg*/) {}
void writeSummaryTail(std::FILE* /*out*/, const RunContext& /*run*/) {}

}  // namespace tellurix::report

#include "CsvExport.h"

namespace tellurix::report {

void writeCsvFiles(const RunContext& /*run*/) {}

}  // namespace tellurix::report

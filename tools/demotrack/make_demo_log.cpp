// Writes the demo track as a log file: tellurix-demo-log FILE [RECORDS] [SEED]
#include <cstdio>
#include <cstdlib>
#include <string>

#include "DemoTrack.h"

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: tellurix-demo-log FILE [RECORDS] [SEED]\n");
    return 64;
  }
  tellurix::demotrack::DemoTrackOptions options;
  if (argc > 2) options.records = static_cast<std::uint32_t>(std::strtoul(argv[2], nullptr, 10));
  if (argc > 3) options.seed = static_cast<std::uint32_t>(std::strtoul(argv[3], nullptr, 10));
  const auto points = tellurix::demotrack::makeDemoTrack(options);
  if (!tellurix::demotrack::writeLogFile(argv[1], points)) {
    std::fprintf(stderr, "cannot write %s\n", argv[1]);
    return 1;
  }
  return 0;
}

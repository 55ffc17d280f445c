// tellurix-cli: the report and photo commands of the desktop program, without a window.
#include <clocale>
#include <iostream>
#include <string>
#include <vector>

#include "CaptureTimeCommand.h"
#include "CliArguments.h"
#include "DecodeCommand.h"
#include "MapCommand.h"
#include "PhotoPathCommand.h"
#include "ReportCommand.h"
#include "ZonesCommand.h"
#include "tellurix/Version.h"

namespace {

constexpr const char* kUsage =
    "usage:\n"
    "  tellurix-cli report --out PATH --start \"Y/M/D h:m:s\" --end \"Y/M/D h:m:s\"\n"
    "                      [--log FILE] [--zone NAME] [--unit TEXT] [--over-speed TEXT]\n"
    "                      [--stop-period TEXT] [--user-id TEXT] [--excel]\n"
    "  tellurix-cli decode FILE\n"
    "  tellurix-cli capture-time FILE...\n"
    "  tellurix-cli photo-path <the report options> --photo FILE [--photo FILE ...]\n"
    "                          [--adjust \"D H M S\"] [--no-exif]\n"
    "      writes each placed photo's position into its copy in the photo folder\n"
    "      (the files given stay as they are); --no-exif leaves the copies alone\n"
    "  tellurix-cli map <the report options> --png FILE [--size WxH]\n"
    "                   [--tile-url TEMPLATE] [--no-tiles]\n"
    "      draws the report's trip map into a PNG picture (default 1200x800)\n"
    "  tellurix-cli zones\n"
    "      prints the time zone names for --zone, in the program's list order\n"
    "  tellurix-cli --help | --version\n";

}  // namespace

int main(int argc, char** argv) {
  std::setlocale(LC_ALL, "C");
  if (argc < 2) {
    std::cerr << kUsage;
    return tellurix::cli::kExitUsage;
  }
  const std::string command = argv[1];
  if (command == "--help" || command == "-h") {
    std::cout << kUsage;
    return 0;
  }
  if (command == "--version") {
    std::cout << "tellurix-cli " << tellurix::kVersion << '\n';
    return 0;
  }
  const std::vector<std::string> args(argv + 2, argv + argc);
  try {
    if (command == "report") return tellurix::cli::reportCommand(args);
    if (command == "decode") return tellurix::cli::decodeCommand(args);
    if (command == "capture-time") return tellurix::cli::captureTimeCommand(args);
    if (command == "photo-path") return tellurix::cli::photoPathCommand(args);
    if (command == "map") return tellurix::cli::mapCommand(args);
    if (command == "zones") return tellurix::cli::zonesCommand(args);
  } catch (const tellurix::cli::UsageError& e) {
    std::cerr << "tellurix-cli: " << e.what() << '\n' << kUsage;
    return tellurix::cli::kExitUsage;
  }
  std::cerr << kUsage;
  return tellurix::cli::kExitUsage;
}

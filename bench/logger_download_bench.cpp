// One full-memory download at the real line rate against the simulated logger, end to end over
// a pseudo-terminal. Prints one line of figures; bench/logger_download.sh runs it several times.
//   logger_download_bench [RECORDS]
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "logger/Readrs232.h"
#include "platform/LoggerPort.h"
#include "tools/demotrack/DemoTrack.h"
#include "tools/headless/HeadlessWindow.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;
using namespace tellurix;
using SteadyClock = std::chrono::steady_clock;

std::string slurp(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Bytes on the line for `records`: full packets of 15, a short last one, ReadEnd.
double wireBytes(std::uint32_t records) {
  const std::uint32_t full = records / 15;
  const std::uint32_t rest = records % 15;
  return full * 247.0 + (rest != 0 ? 7.0 + rest * 16.0 : 0.0) + 8.0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::uint32_t records =
      argc > 1 ? static_cast<std::uint32_t>(std::strtoul(argv[1], nullptr, 10)) : 131071;
  const fs::path dir = fs::temp_directory_path() / ("tellurix-bench-" + std::to_string(::getpid()));
  fs::create_directories(dir);
  const std::string memory = (dir / "memory.bin").string();
  const std::string link = (dir / "ttyLOGGER").string();
  demotrack::DemoTrackOptions demo;
  demo.records = records;
  if (!demotrack::writeLogFile(memory, demotrack::makeDemoTrack(demo))) return 1;

  std::vector<std::string> args{TELLURIX_SIMULATOR, "--link",  link, "--log", memory,
                                "--pace",           "--split", "11"};
  std::vector<char*> argv2;
  for (std::string& a : args) argv2.push_back(a.data());
  argv2.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, (dir / "simulator.txt").c_str(),
                                   O_WRONLY | O_CREAT, 0644);
  pid_t simulator = -1;
  if (posix_spawn(&simulator, argv2[0], &actions, nullptr, argv2.data(), environ) != 0) return 1;
  posix_spawn_file_actions_destroy(&actions);
  for (int i = 0; i < 500 && !fs::is_symlink(link); ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(10));

  int status = 1;
  {
    auto opened = platform::OpenLoggerLink(link);
    if (auto* failure = std::get_if<logger::LinkFailure>(&opened)) {
      std::fprintf(stderr, "%s\n", failure->text.c_str());
    } else {
      auto& port = *std::get<std::unique_ptr<platform::SerialPort>>(opened);
      headless::HeadlessWindow window;
      logger::SystemClock clock;
      SteadyClock::time_point resumed{};
      SteadyClock::time_point complete{};
      window.observer = [&](const std::string& event) {
        if (event == "StartTimer Timer3") resumed = SteadyClock::now();
        if (event == "Status 100% Read Complete") complete = SteadyClock::now();
      };
      logger::DownloadSequence sequence(port, window, window.Poster(), clock, dir.string());
      sequence.Probe();
      const bool ready = window.RunUntil(
          sequence, [&] { return sequence.Phase() == logger::DownloadPhase::Ready; },
          std::chrono::seconds(120));

      const double transfer = std::chrono::duration<double>(complete - resumed).count();
      const double wire = wireBytes(records) / 92160.0;
      const double cpu = std::chrono::duration<double>(sequence.Reader()->CpuTime()).count();
      const bool same = slurp(dir / "LOGDATA.BIN") == slurp(memory);
      const std::uint32_t received = sequence.Counters().ReceivedByteCount.load();
      std::printf(
          "transfer_s=%.3f wire_s=%.3f ratio=%.4f reader_cpu_s=%.3f reader_cpu_pct=%.2f received=%u "
          "all_bytes=%s ready=%s\n",
          transfer, wire, transfer / wire, cpu, 100.0 * cpu / transfer, received, same ? "yes" : "no",
          ready ? "yes" : "no");
      status = ready && same && received == records * 16U ? 0 : 1;
    }
  }
  ::kill(simulator, SIGTERM);
  ::waitpid(simulator, nullptr, 0);
  std::fflush(stdout);
  std::fprintf(stderr, "%s", slurp(dir / "simulator.txt").c_str());
  fs::remove_all(dir);
  return status;
}

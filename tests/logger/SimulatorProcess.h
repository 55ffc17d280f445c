#pragma once

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "support/TestFiles.h"

extern char** environ;

namespace tellurix::testing {

// tellurix-logger-sim running beside the test, its terminal linked at `link`; stopped with
// the object.
class SimulatorProcess {
 public:
  SimulatorProcess(const std::string& link, std::vector<std::string> options) : link_(link) {
    std::vector<std::string> args{builtProgram("tools/logger-sim/tellurix-logger-sim"), "--link", link};
    args.insert(args.end(), options.begin(), options.end());
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    if (posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), environ) != 0) pid_ = -1;
    posix_spawn_file_actions_destroy(&actions);
    for (int i = 0; i < 500 && pid_ > 0 && !std::filesystem::is_symlink(link_); ++i) {
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
  }
  ~SimulatorProcess() {
    if (pid_ <= 0) return;
    ::kill(pid_, SIGTERM);
    ::waitpid(pid_, nullptr, 0);
  }
  SimulatorProcess(const SimulatorProcess&) = delete;
  SimulatorProcess& operator=(const SimulatorProcess&) = delete;

  [[nodiscard]] bool Ready() const { return pid_ > 0 && std::filesystem::is_symlink(link_); }

  // Whether it ended by itself within `limit`.
  bool WaitForExit(std::chrono::milliseconds limit) {
    for (auto end = std::chrono::steady_clock::now() + limit; std::chrono::steady_clock::now() < end;) {
      if (::waitpid(pid_, nullptr, WNOHANG) == pid_) {
        pid_ = -1;
        return true;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
  }

 private:
  std::string link_;
  pid_t pid_ = -1;
};

}  // namespace tellurix::testing

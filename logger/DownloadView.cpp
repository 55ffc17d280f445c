#include "DownloadView.h"

#include <thread>

namespace tellurix::logger {

void SystemClock::SleepFor(std::chrono::milliseconds duration) {
  std::this_thread::sleep_for(duration);
}

}  // namespace tellurix::logger

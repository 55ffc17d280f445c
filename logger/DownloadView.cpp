#include "DownloadView.h"

#include <thread>

namespace tellurix::logger {

std::chrono::milliseconds IntervalOf(DownloadTimer timer) {
  switch (timer) {
    case DownloadTimer::Timer2:
      return kTimer2Interval;
    case DownloadTimer::QueryRecord:
      return kQueryRecordInterval;
    case DownloadTimer::Timer3:
      return kTimer3Interval;
    case DownloadTimer::Timer1:
      return kTimer1Interval;
  }
  return kTimer1Interval;
}

void SystemClock::SleepFor(std::chrono::milliseconds duration) {
  std::this_thread::sleep_for(duration);
}

}  // namespace tellurix::logger

#include "WorkerPool.h"

#include <algorithm>
#include <atomic>
#include <system_error>
#include <thread>

namespace tellurix::report {

unsigned WorkerPool::coreCount() {
  return std::max(1U, std::thread::hardware_concurrency());
}

WorkerPool::WorkerPool(unsigned threads) : threads_(std::max(1U, threads)) {}

std::vector<std::exception_ptr> WorkerPool::run(const std::vector<std::function<void()>>& jobs) const {
  std::vector<std::exception_ptr> errors(jobs.size());
  std::atomic<std::size_t> next{0};
  const auto work = [&] {
    for (std::size_t i = next++; i < jobs.size(); i = next++) {
      try {
        jobs[i]();
      } catch (...) {
        errors[i] = std::current_exception();
      }
    }
  };
  {
    std::vector<std::jthread> helpers;
    const std::size_t wanted = std::min<std::size_t>(threads_ - 1, jobs.size());
    helpers.reserve(wanted);
    for (std::size_t i = 0; i < wanted; ++i) {
      try {
        helpers.emplace_back(work);
      } catch (const std::system_error&) {
        break;  // no more threads to be had: the ones there are do the work
      }
    }
    work();
  }  // joins the helpers
  return errors;
}

}  // namespace tellurix::report

#pragma once

#include <exception>
#include <functional>
#include <vector>

namespace tellurix::report {

// Runs a batch of independent jobs on as many threads as the machine has cores, the calling
// thread being one of them, and returns when every job has ended: the threads are joined
// before run() returns, whether the jobs finished or threw. Jobs start in list order.
class WorkerPool {
 public:
  // std::thread::hardware_concurrency(), at least 1.
  static unsigned coreCount();

  explicit WorkerPool(unsigned threads = coreCount());

  // Each job's exception, or null where it finished; in the order of `jobs`.
  std::vector<std::exception_ptr> run(const std::vector<std::function<void()>>& jobs) const;

  [[nodiscard]] unsigned threads() const { return threads_; }

 private:
  unsigned threads_;
};

}  // namespace tellurix::report

#include "OutputJobs.h"

#include <algorithm>

namespace tellurix::report {

void OutputJob::showMessage(std::string text) {
  message_ = std::move(text);
  messageStep_ = step_;
  hasMessage_ = true;
}

void OutputJobs::add(OutputStep firstStep, std::function<void(OutputJob&)> work) {
  entries_.push_back(std::make_unique<Entry>(Entry{firstStep, false, OutputJob(firstStep), std::move(work)}));
}

void OutputJobs::addAfterEarlierSteps(OutputStep step, std::function<void(OutputJob&)> work) {
  entries_.push_back(std::make_unique<Entry>(Entry{step, true, OutputJob(step), std::move(work)}));
}

bool OutputJobs::failedBefore(OutputStep step) const {
  return std::any_of(failures_.begin(), failures_.end(),
                     [&](const Failure& failure) { return failure.error && failure.step < step; });
}

void OutputJobs::collect(const Entry& entry, const std::exception_ptr& error) {
  const OutputJob& job = entry.job;
  if (const std::string* message = job.message()) failures_.push_back({job.messageStep(), nullptr, *message});
  if (error) failures_.push_back({job.step(), error, {}});
}

void OutputJobs::run(const WorkerPool& pool) {
  std::vector<Entry*> started;
  std::vector<std::function<void()>> jobs;
  for (const auto& entry : entries_) {
    if (entry->afterEarlierSteps) continue;
    started.push_back(entry.get());
    jobs.emplace_back([&entry = *entry] { entry.work(entry.job); });
  }
  const std::vector<std::exception_ptr> errors = pool.run(jobs);
  for (std::size_t i = 0; i < started.size(); ++i) collect(*started[i], errors[i]);

  for (const auto& entry : entries_) {
    if (!entry->afterEarlierSteps || failedBefore(entry->firstStep)) continue;
    std::exception_ptr error;
    try {
      entry->work(entry->job);
    } catch (...) {
      error = std::current_exception();
    }
    collect(*entry, error);
  }
}

void OutputJobs::report(ReportUi& ui) const {
  std::vector<const Failure*> inOrder;
  for (const Failure& failure : failures_) inOrder.push_back(&failure);
  std::stable_sort(inOrder.begin(), inOrder.end(),
                   [](const Failure* a, const Failure* b) { return a->step < b->step; });
  for (const Failure* failure : inOrder) {
    if (failure->error) std::rethrow_exception(failure->error);
    ui.showMessage(failure->message, "");
  }
}

}  // namespace tellurix::report

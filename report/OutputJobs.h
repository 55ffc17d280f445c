#pragma once

#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ReportUi.h"
#include "WorkerPool.h"

namespace tellurix::report {

// The outputs after the read in the order a run has always come to them. Written side by side,
// they still end the run as one after the other would: with the failure of the earliest step,
// after the messages of the steps before it, and nothing of the steps after it.
enum class OutputStep : std::uint8_t {
  Rmc,
  Csv,
  Legs,
  LegFiles,
  Placemarks,
  ReportText,
  Workbook,
  PointKml,
  PathKml,
  Gpx,
};

// What a running job tells about itself.
class OutputJob {
 public:
  explicit OutputJob(OutputStep step) : step_(step) {}

  // The step the job has come to: an exception from here on is that step's failure.
  void at(OutputStep step) { step_ = step; }
  // A failure the run shows as a message and goes on.
  void showMessage(std::string text);

  [[nodiscard]] OutputStep step() const { return step_; }
  // The message and the step it was met in, if there was one.
  [[nodiscard]] const std::string* message() const { return hasMessage_ ? &message_ : nullptr; }
  [[nodiscard]] OutputStep messageStep() const { return messageStep_; }

 private:
  OutputStep step_;
  std::string message_;
  OutputStep messageStep_ = OutputStep::Rmc;
  bool hasMessage_ = false;
};

class OutputJobs {
 public:
  void add(OutputStep firstStep, std::function<void(OutputJob&)> work);
  // A job that runs after the others, on the calling thread, and only where no step before it
  // has failed: for an output whose writer has effects of its own past the file (a library
  // that reports to the terminal) that a run stopped earlier must not show.
  void addAfterEarlierSteps(OutputStep step, std::function<void(OutputJob&)> work);
  void run(const WorkerPool& pool);
  // Shows the messages and rethrows the error of the failed steps, in step order up to the
  // first error.
  void report(ReportUi& ui) const;

 private:
  struct Entry {
    OutputStep firstStep;
    bool afterEarlierSteps;
    OutputJob job;
    std::function<void(OutputJob&)> work;
  };
  struct Failure {
    OutputStep step;
    std::exception_ptr error;  // null for a message
    std::string message;
  };

  [[nodiscard]] bool failedBefore(OutputStep step) const;
  void collect(const Entry& entry, const std::exception_ptr& error);

  std::vector<std::unique_ptr<Entry>> entries_;
  std::vector<Failure> failures_;
};

}  // namespace tellurix::report

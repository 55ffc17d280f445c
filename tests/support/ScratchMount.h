#pragma once

#include <cstddef>
#include <filesystem>
#include <string>

namespace tellurix::testing {

// A small tmpfs of its own, for a full disk or a read-only folder. Mounting needs privileges
// the test may not have: check mounted() and skip the test without them.
class ScratchMount {
 public:
  ScratchMount(std::size_t bytes, bool readOnly = false);
  ~ScratchMount();
  ScratchMount(const ScratchMount&) = delete;
  ScratchMount& operator=(const ScratchMount&) = delete;

  [[nodiscard]] bool mounted() const { return mounted_; }
  [[nodiscard]] const std::string& failure() const { return failure_; }
  [[nodiscard]] const std::filesystem::path& path() const { return path_; }
  // Remounts it read-only, keeping what it holds.
  bool makeReadOnly();
  // Fills it to the last byte with one file.
  void fill();

 private:
  std::filesystem::path path_;
  bool mounted_ = false;
  std::string failure_;
};

}  // namespace tellurix::testing

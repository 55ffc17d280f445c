// The settings file on any bytes: reading never fails, and a value set in any text reads
// back as it was set (on one line, trimmed) while the other settings keep theirs; the same
// through the settings file itself.
//
// Input: a byte choosing the key, a byte giving the value's length, the value, then the
// file's text.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "FuzzSupport.h"
#include "platform/ProfileFile.h"
#include "shellcore/SettingsFile.h"

namespace {

using tellurix::platform::profileValue;
using tellurix::platform::withProfileValue;

constexpr std::string_view kSection = "Setting";
constexpr std::array<std::string_view, 5> kKeys{"Over Speed", "Unit", "TimeZone", "Time Period",
                                                "ViewGpsSpeedChart"};

bool isBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v';
}

// What a value reads back as: on one line, without surrounding blanks.
std::string stored(std::string_view value) {
  std::string out(value);
  for (char& c : out) {
    if (c == '\r' || c == '\n') c = ' ';
  }
  while (!out.empty() && isBlank(out.back())) out.pop_back();
  std::size_t lead = 0;
  while (lead < out.size() && isBlank(out[lead])) ++lead;
  return out.substr(lead);
}

void expectReadable(std::string_view text) {
  for (const std::string_view key : kKeys) {
    const auto value = profileValue(text, kSection, key);
    if (!value) continue;
    // One line's value, trimmed; a lone CR inside it stays.
    FUZZ_EXPECT(value->find('\n') == std::string::npos);
    FUZZ_EXPECT(value->empty() || (!isBlank(value->front()) && !isBlank(value->back())));
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const tellurix::fuzz::ScratchDir scratch;
  tellurix::fuzz::InputReader in(data, size);
  const std::string_view key = kKeys[in.byte() % kKeys.size()];
  const auto valueBytes = in.take(in.byte() % 64);
  const std::string value(valueBytes.begin(), valueBytes.end());
  const std::string text(in.rest().begin(), in.rest().end());

  expectReadable(text);
  const std::string updated = withProfileValue(text, kSection, key, value);
  expectReadable(updated);
  FUZZ_EXPECT(profileValue(updated, kSection, key) == stored(value));
  for (const std::string_view other : kKeys) {
    if (other != key)
      FUZZ_EXPECT(profileValue(updated, kSection, other) == profileValue(text, kSection, other));
  }
  // Setting it again changes nothing more.
  FUZZ_EXPECT(withProfileValue(updated, kSection, key, value) == updated);

  // The program's own reads and writes of the same text in a file.
  scratch.clear();
  const std::string path = tellurix::shellcore::settingsPath(scratch.path().string());
  tellurix::fuzz::writeBytes(path, in.rest());
  tellurix::platform::ProfileFile file(path);
  const tellurix::shellcore::LoadedSettings before = tellurix::shellcore::readSettings(file);
  (void)tellurix::shellcore::readChartPreference(file);
  tellurix::shellcore::writeReportSettings(file, value, "MPH", "15", true);
  const tellurix::shellcore::LoadedSettings after = tellurix::shellcore::readSettings(file);
  FUZZ_EXPECT(after.overSpeed == stored(value));
  FUZZ_EXPECT(after.unit == "MPH");
  FUZZ_EXPECT(after.zoneIndex == before.zoneIndex);
  FUZZ_EXPECT(after.timePeriod == 15);
  FUZZ_EXPECT(tellurix::shellcore::readChartPreference(file) == std::optional<bool>(true));
  return 0;
}

#pragma once

#include <string>
#include <vector>

#include "tagging/TaggingUi.h"
#include "tracklog/TrackStore.h"

namespace tellurix::tagging::fixtures {

// A TaggingUi that records what the window would show, as lines such as
// "status Loading complete" or "ok-cancel Notice|File not found".
class RecordingTaggingUi final : public TaggingUi {
 public:
  void processEvents() override { ++eventPasses; }
  void setStatusText(std::string_view text) override { events.push_back("status " + std::string(text)); }
  void showOkCancel(std::string_view text, std::string_view caption) override {
    events.push_back("ok-cancel " + std::string(caption) + "|" + std::string(text));
  }

  std::vector<std::string> events;
  int eventPasses = 0;
};

// Fills the store with one point per local time "YYYY/MM/DD HH:MM:SS"; the UTC copy lies eight
// hours earlier, so a lookup on the wrong array shows. Point i sits at latitude 25 + i / 1000
// and longitude -121 - i / 1000.
void fillTrack(tracklog::TrackStore& store, const std::vector<std::string>& localTimes);

}  // namespace tellurix::tagging::fixtures

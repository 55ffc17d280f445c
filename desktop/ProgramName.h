#pragma once

namespace tellurix::desktop {

// The caption of the program's own message boxes.
inline constexpr const char* kProgramName = "Tellurix";
inline constexpr const char* kMainWindowCaption = "Tellurix v1.0.1.3";

}  // namespace tellurix::desktop

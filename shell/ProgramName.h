#pragma once

namespace tellurix::shell {

inline constexpr const char* kProgramName = "Tellurix";
inline constexpr const char* kMainWindowCaption = "Tellurix v1.0.1.3";

}  // namespace tellurix::shell

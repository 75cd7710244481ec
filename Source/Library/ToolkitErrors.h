// The message texts that the toolkit throws (as const char*) when a window
// class cannot be registered or a window cannot be created. Catch sites show
// them to the user.
#pragma once

namespace ToolkitErrors {
inline constexpr const char* kRegisterClassFailed = "Internal error: RegisterClassEx failed.";
inline constexpr const char* kWindowCreationFailed = "Internal error: Window Creation Failed.";
}  // namespace ToolkitErrors

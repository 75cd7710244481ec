// StartupGuard: start-up runs under one guard. A failure that escapes it is
// shown to the user and the program ends without entering its message loop.
#pragma once

#include <functional>

constexpr const char* kUnknownStartupError = "Internal error: Unknown exception";

// Runs the steps. A toolkit failure (a thrown message text) is shown with its
// text, any other exception as kUnknownStartupError; both in a box without
// owner, captioned "Error", with the warning icon. Returns whether the steps
// ran to their end.
bool RunStartupGuarded(const std::function<void()>& steps);

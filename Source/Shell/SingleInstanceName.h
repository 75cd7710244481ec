// SingleInstanceName: the name of the mutex that a running Quillmate holds,
// in a header of its own (without <windows.h>) so that the tools that must
// not write while the program runs look for the very same name.
#pragma once

// A name in the session's own namespace: one per logged-on user session.
constexpr const char* kSingleInstanceMutexName = "Ferrowind.Quillmate.SingleInstance";

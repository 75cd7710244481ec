// Dispatching this thread's messages from a test, at once or until a
// condition holds within a bound (tests never sleep for a fixed time).
#ifndef QUILLMATE_TESTS_SUPPORT_MESSAGEPUMP_H
#define QUILLMATE_TESTS_SUPPORT_MESSAGEPUMP_H

#include <windows.h>

#include <functional>

namespace qmtest {

// Dispatches everything queued for this thread. A quit message is taken out
// and dropped: destroying a main window posts one, and it is not the test's.
void PumpMessages();

// Dispatches messages until condition() holds or timeoutMs pass; returns the
// condition's last value.
bool PumpUntil(const std::function<bool()>& condition, DWORD timeoutMs = 5000);

}  // namespace qmtest

#endif  // QUILLMATE_TESTS_SUPPORT_MESSAGEPUMP_H

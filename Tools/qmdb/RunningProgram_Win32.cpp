// Windows: the program holds its single-instance mutex from its first step
// to its end; opening it by name succeeds exactly while it runs.
#include <windows.h>

#include "RunningProgram.h"
#include "Shell/SingleInstanceName.h"

bool QuillmateIsRunning() {
  HANDLE mutex = OpenMutexA(SYNCHRONIZE, FALSE, kSingleInstanceMutexName);
  if (mutex == nullptr) return GetLastError() == ERROR_ACCESS_DENIED;  // it exists, held by someone
  CloseHandle(mutex);
  return true;
}

// A system call of the test executable replaced for one test: the entry of
// the executable's import table for a function (FlushFileBuffers, WriteFile,
// GlobalAlloc...) points at a stand-in while the object lives, so a test can
// watch the calls the program's code makes, in their order and with their
// arguments, or make one fail as a full disk or an exhausted memory would.
// Calls made inside system libraries are not affected.
//
//   static ScopedImportHook* gFlush;
//   BOOL WINAPI CountingFlush(HANDLE file) { ++flushes; return gFlush->Original<decltype(&FlushFileBuffers)>()(file); }
//   ScopedImportHook flush("FlushFileBuffers", reinterpret_cast<void*>(CountingFlush));
#ifndef QUILLMATE_TESTS_SUPPORT_IMPORTHOOK_H
#define QUILLMATE_TESTS_SUPPORT_IMPORTHOOK_H

#include <windows.h>

#include <vector>

namespace qmtest {

class ScopedImportHook {
 public:
  // Points every import of the executable named function at replacement.
  ScopedImportHook(const char* function, void* replacement);
  // Puts the original addresses back.
  ~ScopedImportHook();
  ScopedImportHook(const ScopedImportHook&) = delete;
  ScopedImportHook& operator=(const ScopedImportHook&) = delete;

  // Whether the executable imports the function at all (else the hook
  // watches nothing, and a test must not conclude anything from it).
  bool Installed() const { return !m_slots.empty(); }

  // The function as it was, for the stand-in to call through.
  template <class Function>
  Function Original() const {
    return reinterpret_cast<Function>(m_original);
  }

 private:
  std::vector<void**> m_slots;
  void* m_original = nullptr;
};

}  // namespace qmtest

#endif  // QUILLMATE_TESTS_SUPPORT_IMPORTHOOK_H

// The writers' lock (invariant 10 in gxDatabase.h): one writing action at a
// time per file, across objects and processes, with the file header re-read
// under the lock so that a writer works from what the last one left.
#include "Database/gxDatabase.h"

namespace {

// A writer holds the lock for a few writes; these pauses (about a second in
// all) outlast that on a loaded machine and never hang the caller.
constexpr unsigned kLockPauses[] = {1, 1, 2, 2, 5, 5, 10, 10, 20, 20, 50, 50, 100, 100, 200, 200, 250};

}  // namespace

bool gxDatabase::AcquireWriterLock() {
  if (m_file.TryLock()) return true;
  for (const unsigned pause : kLockPauses) {
    gxPlatformFile::Pause(pause);
    if (m_file.TryLock()) return true;
  }
  return false;
}

int gxDatabase::BeginWriteAction(bool rereadHeader) {
  if (!m_ready) return SetError(gxNotReady);
  if (!m_readWrite) return SetError(gxNotWritable);
  if (m_actionDepth == 0) {
    if (!AcquireWriterLock()) return SetError(gxFileLockError);
    m_headerFresh = false;
    // Another writer may have changed any byte since this object's last action.
    ForgetInHand();
  }
  ++m_actionDepth;
  if (rereadHeader && !m_headerFresh) {
    if (!RefreshHeader()) {
      const int code = m_lastError;
      EndWriteAction();
      return SetError(code);
    }
    m_headerFresh = true;
  }
  return SetError(gxNoError);
}

void gxDatabase::EndWriteAction() {
  if (m_actionDepth == 0) return;
  if (--m_actionDepth == 0) m_file.Unlock();
}

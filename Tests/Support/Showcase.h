// What every showcase program (not a test: a window to take a screenshot
// of) starts with: the common controls and the rich edit library, a fresh
// data folder under the temporary folder, and the real main window shown at
// (40, 30), 900 x 560. The process ends by itself after the given time, so a
// forgotten showcase never lingers.
#ifndef QUILLMATE_TESTS_SUPPORT_SHOWCASE_H
#define QUILLMATE_TESTS_SUPPORT_SHOWCASE_H

#include <windows.h>

#include <filesystem>

#include "Records/DataFolders.h"

namespace qmtest {

class Showcase {
 public:
  // folderName: the data folder's name under the temporary folder, emptied
  // first.
  explicit Showcase(const char* folderName, unsigned seconds = 30);
  Showcase(const Showcase&) = delete;
  Showcase& operator=(const Showcase&) = delete;

  HWND Window() const { return m_window; }
  const std::filesystem::path& Folder() const { return m_folder; }
  // Focuses and selects one row of the record list.
  void FocusRow(int index) const;
  // Dispatches messages until the quit message; returns 0.
  int RunMessageLoop() const;

 private:
  std::filesystem::path m_folder;
  ScopedApplicationDataFolder m_appData;
  HWND m_window;
};

}  // namespace qmtest

#endif  // QUILLMATE_TESTS_SUPPORT_SHOWCASE_H

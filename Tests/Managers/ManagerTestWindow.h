// A top-level window with the real child controls the managers fill, created
// as the main window creates them: record list 1004 (report view, full-row
// select), rebar 1000 with the edit toolbar 1002, status bar 1007 with the
// progress bar 1006 in its part 1. The progress bar is subclassed so tests
// can read the sequence of positions it was given.
#ifndef QUILLMATE_TESTS_MANAGERS_MANAGERTESTWINDOW_H
#define QUILLMATE_TESTS_MANAGERS_MANAGERTESTWINDOW_H

#include <windows.h>

#include <commctrl.h>

#include <vector>

#include "Support/TestHostWindow.h"

class ManagerTestWindow {
 public:
  ManagerTestWindow();
  ~ManagerTestWindow();
  ManagerTestWindow(const ManagerTestWindow&) = delete;
  ManagerTestWindow& operator=(const ManagerTestWindow&) = delete;

  HWND Handle() const { return m_host.Handle(); }
  HWND RecordList() const;
  HWND EditToolbar() const;
  HWND ProgressBar() const;

  // Positions set with PBM_SETPOS since the last call.
  std::vector<int> TakeProgressPositions();
  // Whether the progress bar was off screen at a step since the last call.
  bool TakeHiddenAtAStep();

 private:
  qmtest::TestHostWindow m_host;
  HIMAGELIST m_editImages;
};

#endif  // QUILLMATE_TESTS_MANAGERS_MANAGERTESTWINDOW_H

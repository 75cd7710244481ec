// The real main window, created in-process for tests of what its commands
// open: the editors, the record list they change, the tray's commands. Its
// 500 ms timer runs the time-notification check as start-up installs it.
#ifndef QUILLMATE_TESTS_SUPPORT_TESTMAINWINDOW_H
#define QUILLMATE_TESTS_SUPPORT_TESTMAINWINDOW_H

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "Shell/MainWindowHooks.h"

namespace qmtest {

// A row of the record list: its texts and its parameter.
struct Row {
  std::vector<std::string> texts;
  std::uint32_t address;
};

// Created with the timer hook that start-up installs (the hooks are restored
// afterwards).
class TestMainWindow {
 public:
  TestMainWindow();
  ~TestMainWindow();
  TestMainWindow(const TestMainWindow&) = delete;
  TestMainWindow& operator=(const TestMainWindow&) = delete;
  HWND Handle() const { return m_window; }

  void Tick() const;  // one timer tick (WM_TIMER 1)
  std::vector<Row> Rows() const;
  int RowOf(std::uint32_t address) const;
  // Focuses and selects row index only.
  void FocusRow(int index) const;
  void Command(int id) const;
  void DoubleClickRecordList() const;

 private:
  HWND m_window;
  MainWindowHooks m_savedHooks;
};

}  // namespace qmtest

#endif  // QUILLMATE_TESTS_SUPPORT_TESTMAINWINDOW_H

// The real main window, created in-process for tests of what its commands
// open: the editors, the record list they change, the tray's commands. Its
// 500 ms timer runs the time-notification check as start-up installs it.
#ifndef QUILLMATE_TESTS_SUPPORT_TESTMAINWINDOW_H
#define QUILLMATE_TESTS_SUPPORT_TESTMAINWINDOW_H

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "Records/DataFolders.h"
#include "Records/DatabaseObject.h"
#include "Shell/MainWindowHooks.h"
#include "Support/RecordedMessageBoxes.h"
#include "Support/ScratchFolder.h"

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

// A fixture with a scratch data folder (its attachment folders made), every
// message box recorded and answered with its default button, and the main
// window.
class MainWindowTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  ScratchFolder m_folder{"qm-mw"};
  RecordedMessageBoxes m_boxes{RecordedMessageBoxes::kDefaultButton};
  std::unique_ptr<ScopedApplicationDataFolder> m_appData;
  std::unique_ptr<TestMainWindow> m_main;
};

// The records of a kind's store in file order, with their addresses.
template <class Record>
std::vector<std::pair<std::uint32_t, Record>> StoredRecords() {
  std::vector<std::pair<std::uint32_t, Record>> records;
  auto store = OpenStore<Record>();
  if (!store) return records;
  store->ForEachRecordOf([&records](const Record& record, std::uint32_t address) {
    records.emplace_back(address, record);
  });
  CloseStore(store);
  return records;
}

}  // namespace qmtest

#endif  // QUILLMATE_TESTS_SUPPORT_TESTMAINWINDOW_H

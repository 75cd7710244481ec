// The fixture of the main-window tests: a scratch folder that plays the
// application-data folder, message boxes recorded and answered by a script,
// the window classes registered once per process, and the real main window
// created in-process. Readers for its list views, toolbars and status bar.
#pragma once

#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <memory>
#include <string>
#include <vector>

#include "Records/DataFolders.h"
#include "Records/MessageBoxSeam.h"
#include "Shell/MainWindowHooks.h"
#include "Support/MessagePump.h"
#include "Support/RecordedMessageBoxes.h"
#include "Support/ScratchFolder.h"

namespace shelltest {

using qmtest::PumpMessages;
using qmtest::ShownBox;

struct ToolbarButton {
  int image;
  int command;
  std::string label;  // "" for a separator
  bool separator;
  bool enabled;
};

struct ListColumn {
  std::string title;
  int width;
};

// Registers "QuillmateClass" and "CSplitterClass" once for the process.
void RegisterWindowClasses();

// Window rectangle of a child in its parent's client coordinates.
RECT ChildRect(HWND child);

std::vector<ToolbarButton> ReadToolbar(HWND toolbar);
std::vector<ListColumn> ReadColumns(HWND list);
std::string ReadCell(HWND list, int row, int column);
std::string ReadStatusText(HWND status, int part);
// The items of a pop-up menu as "id text" lines, separators as "-".
std::vector<std::string> ReadMenu(HMENU menu);

class MainWindowTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  HWND Main() const { return m_window; }
  HWND Child(int id) const { return GetDlgItem(m_window, id); }
  HWND RecordList() const;
  HWND ManagerList() const;
  HWND Rebar() const;
  HWND MainToolbar() const;
  HWND EditToolbar() const;
  HWND StatusBar() const;
  HWND ProgressBar() const;

  void Command(int id) const;
  // Sends a list-view notification (NM_RCLICK, NM_DBLCLK, ...) from the list.
  LRESULT NotifyFrom(HWND control, UINT code) const;
  void FocusRow(int row) const;

  qmtest::ScratchFolder m_folder{"qm-shell"};
  // Answered No unless a test says otherwise.
  qmtest::RecordedMessageBoxes m_boxes{kIdNo};

 private:
  std::unique_ptr<ScopedApplicationDataFolder> m_appData;
  MainWindowHooks m_savedHooks;
  HWND m_window = nullptr;
};

}  // namespace shelltest

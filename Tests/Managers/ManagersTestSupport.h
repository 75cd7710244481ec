// The fixture of the manager tests: a scratch folder that plays the
// application-data folder, a test clock that moves on by one millisecond per
// reading (so attachment names never collide for long), message boxes
// recorded and answered by a script, shell requests recorded instead of
// launched, and the test window with the real controls.
#ifndef QUILLMATE_TESTS_MANAGERS_MANAGERSTESTSUPPORT_H
#define QUILLMATE_TESTS_MANAGERS_MANAGERSTESTSUPPORT_H

#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "Database/gxFaultInjection.h"
#include "ManagerTestWindow.h"
#include "Managers/RecordValues.h"
#include "Managers/ShellRequests.h"
#include "Records/DataFolders.h"
#include "Records/LocalClock.h"
#include "Records/MessageBoxSeam.h"
#include "Support/FileBytes.h"
#include "Support/RecordedMessageBoxes.h"
#include "Support/ScratchFolder.h"

namespace qmmanagers {

using qmtest::ReadFileText;
using qmtest::WriteFileText;

struct ShellRequest {
  HWND window;
  std::string verb;
  std::string file;
  bool hasParameters;
  bool hasDirectory;
  int showCommand;
};

inline std::vector<ShellRequest> gShellRequests;

inline HINSTANCE WINAPI RecordShellRequest(HWND window, const char* verb, const char* file,
                                           const char* parameters, const char* directory, int showCommand) {
  gShellRequests.push_back(
      {window, verb ? verb : "", file ? file : "", parameters != nullptr, directory != nullptr, showCommand});
  return reinterpret_cast<HINSTANCE>(static_cast<INT_PTR>(42));
}

struct Column {
  std::string title;
  int width;
  int format;
};

struct Button {
  int image;
  int command;
  std::string label;  // "" for a separator
  bool separator;
  bool enabled;
};

inline EmailValues MakeEmail(const char* name, const char* email, const char* comment) {
  EmailValues values;
  values.name = name;
  values.email = email;
  values.comment = comment;
  return values;
}

inline bool FileExists(const std::string& path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

class ManagersTest : public ::testing::Test {
 protected:
  void SetUp() override {
    gxClearFaults();
    appData_ = std::make_unique<ScopedApplicationDataFolder>(folder_.Path().string());
    MakeDataFolders();
    now_ = RecordTime{2003, 12, 2, 2, 9, 5, 3, 47};
    clock_ = std::make_unique<ScopedLocalClock>([this]() {
      RecordTime time = now_;
      // The next reading is one millisecond later (within the second).
      now_.milliseconds = static_cast<std::uint16_t>((now_.milliseconds + 1) % 1000);
      return time;
    });
    gShellRequests.clear();
    previousShell_ = gShellExecute;
    gShellExecute = &RecordShellRequest;
    window_ = std::make_unique<ManagerTestWindow>();
  }

  void TearDown() override {
    window_.reset();
    gShellExecute = previousShell_;
    gxClearFaults();
    clock_.reset();
    appData_.reset();
  }

  HWND Main() const { return window_->Handle(); }
  HWND List() const { return window_->RecordList(); }

  // Sets the test clock (milliseconds keep counting from 0).
  void SetClock(int hour, int minute, int second, int month, int day, int year) {
    now_ = RecordTime{static_cast<std::uint16_t>(year),
                      static_cast<std::uint16_t>(month),
                      0,
                      static_cast<std::uint16_t>(day),
                      static_cast<std::uint16_t>(hour),
                      static_cast<std::uint16_t>(minute),
                      static_cast<std::uint16_t>(second),
                      0};
  }

  int RowCount() const { return ListView_GetItemCount(List()); }

  std::string Cell(int row, int column) const {
    char text[512] = {};
    LVITEMA item = {};
    item.iSubItem = column;
    item.pszText = text;
    item.cchTextMax = sizeof text;
    SendMessageA(List(), LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item));
    return text;
  }

  std::vector<std::string> Row(int row) const {
    std::vector<std::string> cells;
    for (int column = 0; column < static_cast<int>(Columns().size()); ++column) {
      cells.push_back(Cell(row, column));
    }
    return cells;
  }

  std::uint32_t RowAddress(int row) const {
    LVITEMA item = {};
    item.mask = LVIF_PARAM;
    item.iItem = row;
    SendMessageA(List(), LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
    return static_cast<std::uint32_t>(item.lParam);
  }

  // Selects exactly the given rows; the last one gets the focus.
  void Select(const std::vector<int>& rows) const {
    ListView_SetItemState(List(), -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
    for (int row : rows) {
      ListView_SetItemState(List(), row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    }
  }

  std::vector<Column> Columns() const {
    std::vector<Column> columns;
    for (int index = 0;; ++index) {
      char title[128] = {};
      LVCOLUMNA column = {};
      column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
      column.pszText = title;
      column.cchTextMax = sizeof title;
      if (!SendMessageA(List(), LVM_GETCOLUMNA, index, reinterpret_cast<LPARAM>(&column))) break;
      columns.push_back({title, column.cx, column.fmt & LVCFMT_JUSTIFYMASK});
    }
    return columns;
  }

  std::vector<Button> Buttons() const {
    HWND toolbar = window_->EditToolbar();
    std::vector<Button> buttons;
    int count = static_cast<int>(SendMessageA(toolbar, TB_BUTTONCOUNT, 0, 0));
    for (int index = 0; index < count; ++index) {
      TBBUTTON button = {};
      SendMessageA(toolbar, TB_GETBUTTON, index, reinterpret_cast<LPARAM>(&button));
      Button read{button.iBitmap, button.idCommand, "", (button.fsStyle & TBSTYLE_SEP) != 0,
                  (button.fsState & TBSTATE_ENABLED) != 0};
      if (!read.separator) {
        char label[128] = {};
        SendMessageA(toolbar, TB_GETBUTTONTEXTA, button.idCommand, reinterpret_cast<LPARAM>(label));
        read.label = label;
      }
      buttons.push_back(read);
    }
    return buttons;
  }

  std::vector<int> Progress() { return window_->TakeProgressPositions(); }

  std::string PathOf(const std::string& name) const { return folder_.PathOf(name); }

  qmtest::ScratchFolder folder_{"qm-mgr"};
  RecordTime now_{};
  qmtest::RecordedMessageBoxes boxes_;
  std::unique_ptr<ManagerTestWindow> window_;

 private:
  std::unique_ptr<ScopedApplicationDataFolder> appData_;
  std::unique_ptr<ScopedLocalClock> clock_;
  ShellExecuteFunction previousShell_ = nullptr;
};

}  // namespace qmmanagers

#endif  // QUILLMATE_TESTS_MANAGERS_MANAGERSTESTSUPPORT_H

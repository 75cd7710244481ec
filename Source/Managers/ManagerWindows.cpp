// Lookups by control id; a missing control gives a wrapper without window,
// whose operations do nothing.
#include "Managers/ManagerWindows.h"

#include <cstdio>

#include "Library/CRebar.h"
#include "Library/CStatusbar.h"
#include "Resources/MainWindowIds.h"

CListView RecordListOf(HWND mainWindow) {
  return CListView(mainWindow, ID_RECORD_LIST);
}

CListView ManagerListOf(HWND mainWindow) {
  return CListView(mainWindow, ID_MANAGER_LIST);
}

CToolbar EditToolbarOf(HWND mainWindow) {
  CRebar rebar(mainWindow, ID_REBAR);
  return CToolbar(rebar.GetWindow(), ID_EDIT_TOOLBAR);
}

CProgress ProgressBarOf(HWND mainWindow) {
  CStatusbar statusbar(mainWindow, ID_STATUS_BAR);
  return CProgress(statusbar.GetWindow(), ID_PROGRESS_BAR);
}

void ShowRecordCount(HWND mainWindow) {
  const int count = RecordListOf(mainWindow).GetItemCount();
  char text[40];
  std::snprintf(text, sizeof text, count == 1 ? "%d record" : "%d records", count);
  CStatusbar(mainWindow, ID_STATUS_BAR).SetPartText(kRecordCountPart, text);
}

namespace {

// Busy scopes open now; one user-interface thread.
int gBusyDepth = 0;

}  // namespace

CBusyIndicator::CBusyIndicator(HWND mainWindow) : m_progress(ProgressBarOf(mainWindow).GetWindow()) {
  if (gBusyDepth++ == 0 && m_progress != nullptr) ShowWindow(m_progress, SW_SHOWNA);
}

CBusyIndicator::~CBusyIndicator() {
  if (--gBusyDepth == 0 && m_progress != nullptr) ShowWindow(m_progress, SW_HIDE);
}

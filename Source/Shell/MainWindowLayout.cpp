// MainWindowLayout: the rebar and the status bar size themselves; the panes
// take what lies between them.
#include "Shell/MainWindowLayout.h"

#include "Library/CSplitter.h"
#include "Resources/MainWindowIds.h"
#include "Shell/MainWindowBuild.h"
#include "Shell/RecordColumns.h"

namespace {

// The main window as it was laid out while hidden: as its controls were
// made, or as it was being shown. The show and its WM_SIZE follow at that
// size with nothing left to move; laid out again there, every child would
// move, and the rebar lay out its bands, on a window already on the screen,
// where each of those costs many times more (the dearest step of a start
// under Wine).
struct HiddenLayout {
  HWND window;
  int width;
  int height;
};
HiddenLayout gHiddenLayout = {};

bool LaidOutHiddenAt(HWND window, const RECT& client) {
  return gHiddenLayout.window == window && gHiddenLayout.width == client.right &&
         gHiddenLayout.height == client.bottom;
}

}  // namespace

void LayOutHiddenMainWindow(HWND window) {
  RelayOutMainWindow(window);
  RECT client = {};
  GetClientRect(window, &client);
  gHiddenLayout = {window, static_cast<int>(client.right), static_cast<int>(client.bottom)};
}

void LayOutShowingMainWindow(HWND window) {
  RECT client = {};
  GetClientRect(window, &client);
  if (!LaidOutHiddenAt(window, client)) LayOutHiddenMainWindow(window);
}

void OnMainWindowSized(HWND window, int clientWidth, int clientHeight) {
  const RECT client = {0, 0, clientWidth, clientHeight};
  const bool laidOut = LaidOutHiddenAt(window, client);
  gHiddenLayout = {};
  if (laidOut) return;
  LayOutMainWindow(window, clientWidth, clientHeight);
}

void LayOutMainWindow(HWND window, int clientWidth, int clientHeight) {
  // Any other layout ends what the hidden layout stood for.
  gHiddenLayout = {};
  HWND status = GetDlgItem(window, ID_STATUS_BAR);
  HWND rebar = GetDlgItem(window, ID_REBAR);
  if (status) SendMessageA(status, WM_SIZE, 0, 0);
  if (rebar) SendMessageA(rebar, WM_SIZE, 0, 0);

  RECT rebarClient = {};
  if (rebar) GetClientRect(rebar, &rebarClient);
  RECT statusWindow = {};
  if (status) GetWindowRect(status, &statusWindow);
  const int top = rebarClient.bottom - rebarClient.top;
  const int bottomStrip = statusWindow.bottom - statusWindow.top;

  if (CSplitter* splitter = SplitterOf(window)) {
    splitter->SetTop(top);
    splitter->Resize(clientWidth, clientHeight - top - bottomStrip);
  }
  FitRecordColumns(window);
  RepaintWithChildren(window);
}

void RepaintWithChildren(HWND window) {
  // The main window does not clip its children: its background, erased over
  // the whole client area after a resize, covers the lists, the header and
  // the status bar, which were moved but not invalidated (a strip keeps an
  // old scroll bar, a row its blank). Every child, frame included, paints
  // again after the parent's erase.
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}

void RelayOutMainWindow(HWND window) {
  RECT client = {};
  GetClientRect(window, &client);
  LayOutMainWindow(window, client.right, client.bottom);
}

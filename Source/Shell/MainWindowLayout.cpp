// MainWindowLayout: the rebar and the status bar size themselves; the panes
// take what lies between them.
#include "Shell/MainWindowLayout.h"

#include "Library/CSplitter.h"
#include "Resources/MainWindowIds.h"
#include "Shell/MainWindowBuild.h"

void LayOutMainWindow(HWND window, int clientWidth, int clientHeight) {
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
}

void RelayOutMainWindow(HWND window) {
  RECT client = {};
  GetClientRect(window, &client);
  LayOutMainWindow(window, client.right, client.bottom);
  InvalidateRect(window, nullptr, TRUE);
}

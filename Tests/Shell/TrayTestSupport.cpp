// Helpers of the tray and start-up tests.
#include "TrayTestSupport.h"

#include <shellapi.h>

#include <cstring>

namespace traytest {

namespace {

NOTIFYICONDATAA IconData(HWND window, UINT id) {
  NOTIFYICONDATAA data;
  std::memset(&data, 0, sizeof data);
  data.cbSize = NOTIFYICONDATAA_V2_SIZE;
  data.hWnd = window;
  data.uID = id;
  return data;
}

}  // namespace

bool ShellHasIcon(HWND window, UINT id) {
  NOTIFYICONDATAA data = IconData(window, id);
  data.uFlags = NIF_TIP;
  std::strcpy(data.szTip, "probe");
  return Shell_NotifyIconA(NIM_MODIFY, &data) != FALSE;
}

void ShellForgetsIcon(HWND window, UINT id) {
  NOTIFYICONDATAA data = IconData(window, id);
  Shell_NotifyIconA(NIM_DELETE, &data);
}

}  // namespace traytest

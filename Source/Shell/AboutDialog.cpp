// AboutDialog: the dialog and its texts are painted on white. The brush is
// made once and kept for the life of the process, as the dialog may be
// opened any number of times, one at a time.
#include "Shell/AboutDialog.h"

#include "Library/CModelessDialogs.h"
#include "Library/CWinApp.h"
#include "Records/MessageBoxSeam.h"
#include "Resources/MainWindowIds.h"

#include <cstdio>

namespace {

// The open About dialog: a second About command brings it forward instead
// of stacking another copy.
HWND gOpenAbout = nullptr;

HBRUSH WhiteBrush() {
  static HBRUSH brush = CreateSolidBrush(RGB(0xFF, 0xFF, 0xFF));
  return brush;
}

INT_PTR CALLBACK AboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      return TRUE;
    case WM_DESTROY:
      if (gOpenAbout == dialog) gOpenAbout = nullptr;
      CModelessDialogs::Unregister(dialog);
      return FALSE;
    case WM_CTLCOLORDLG:
      return reinterpret_cast<INT_PTR>(WhiteBrush());
    case WM_CTLCOLORSTATIC: {
      HDC canvas = reinterpret_cast<HDC>(wParam);
      SetTextColor(canvas, RGB(0, 0, 0));
      SetBkMode(canvas, TRANSPARENT);
      return reinterpret_cast<INT_PTR>(WhiteBrush());
    }
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
        // A modeless dialog is not freed by EndDialog, only hidden.
        EndDialog(dialog, LOWORD(wParam) == IDOK ? 1 : 2);
        DestroyWindow(dialog);
        return TRUE;
      }
      return FALSE;
    case WM_CLOSE:
      EndDialog(dialog, 2);
      DestroyWindow(dialog);
      return TRUE;
    default:
      (void)lParam;
      return FALSE;
  }
}

}  // namespace

HWND ShowAboutDialog(HWND owner) {
  if (gOpenAbout != nullptr && IsWindow(gOpenAbout)) {
    ShowWindow(gOpenAbout, SW_SHOW);
    SetForegroundWindow(gOpenAbout);
    return gOpenAbout;
  }
  WhiteBrush();
  HWND dialog =
      CreateDialogParamA(gApp.GetResourceInstance(), MAKEINTRESOURCEA(IDD_ABOUT), owner, AboutDialogProc, 0);
  if (!dialog) {
    const DWORD error = GetLastError();
    char text[64];
    std::snprintf(text, sizeof(text), "Error x%lx", static_cast<unsigned long>(error));
    ShowMessageBox(owner, text, "CreateDialog", kMbOk | kMbIconWarning);
    return nullptr;
  }
  gOpenAbout = dialog;
  CModelessDialogs::Register(dialog);
  ShowWindow(dialog, SW_SHOW);
  return dialog;
}

// The picture sizes offered for a screen capture, and the dialog that
// chooses one.
#include "Media/ScreenCaptureFormatDialog.h"

#include <cstdio>

#include "Resources/VideoNoteIds.h"

namespace {

const SIZE kSizes[] = {{160, 120}, {320, 240}, {640, 480}, {800, 600}, {1024, 768}};

SIZE ScreenSize() {
  return {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

// Each item carries its size (width in the low word, height in the high).
void AddSize(HWND list, const char* format, const SIZE& size, const SIZE& current) {
  char text[64];
  std::snprintf(text, sizeof text, format, size.cx, size.cy);
  const auto item = SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
  SendMessageA(list, LB_SETITEMDATA, item, MAKELPARAM(size.cx, size.cy));
  if (size.cx == current.cx && size.cy == current.cy) SendMessageA(list, LB_SETCURSEL, item, 0);
}

// The fixed sizes smaller than the screen, then the whole screen.
void Fill(HWND dialog, const SIZE& current) {
  HWND list = GetDlgItem(dialog, IDC_SCREEN_CAPTURE_SIZES);
  const SIZE screen = ScreenSize();
  for (const SIZE& size : kSizes) {
    if (size.cx <= screen.cx && size.cy <= screen.cy && (size.cx < screen.cx || size.cy < screen.cy)) {
      AddSize(list, "%ld x %ld", size, current);
    }
  }
  AddSize(list, "Full screen (%ld x %ld)", screen, current);
}

INT_PTR CALLBACK FormatDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* size = reinterpret_cast<SIZE*>(GetWindowLongPtrA(dialog, DWLP_USER));
  switch (message) {
    case WM_INITDIALOG:
      SetWindowLongPtrA(dialog, DWLP_USER, lParam);
      Fill(dialog, *reinterpret_cast<SIZE*>(lParam));
      return TRUE;
    case WM_COMMAND: {
      const int id = LOWORD(wParam);
      const bool chosen = id == IDOK || (id == IDC_SCREEN_CAPTURE_SIZES && HIWORD(wParam) == LBN_DBLCLK);
      if (chosen) {
        const int index = static_cast<int>(SendDlgItemMessageA(dialog, IDC_SCREEN_CAPTURE_SIZES, LB_GETCURSEL, 0, 0));
        if (index >= 0) {
          const auto data = SendDlgItemMessageA(dialog, IDC_SCREEN_CAPTURE_SIZES, LB_GETITEMDATA, index, 0);
          *size = {LOWORD(data), HIWORD(data)};
        }
        EndDialog(dialog, index >= 0 ? IDOK : IDCANCEL);
        return TRUE;
      }
      if (id == IDCANCEL) {
        EndDialog(dialog, IDCANCEL);
        return TRUE;
      }
      return FALSE;
    }
    default:
      return FALSE;
  }
}

}  // namespace

bool RunScreenCaptureFormatDialog(HWND owner, SIZE& size) {
  SIZE chosen = size;
  const INT_PTR result = DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_SCREEN_CAPTURE_FORMAT),
                                         owner, FormatDialogProc, reinterpret_cast<LPARAM>(&chosen));
  if (result != IDOK) return false;
  size = chosen;
  return true;
}

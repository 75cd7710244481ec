// CModelessDialogs: the program's modeless dialogs and their keyboard. A
// modeless dialog gets Tab, Enter, Esc and its mnemonics only when the loop
// that takes its messages hands them to IsDialogMessage first. The program's
// own loop does so through Route; the loops the platform runs for dialog
// boxes, message boxes and menus do so through a message-filter hook of the
// thread, installed with the first registration and kept.
//
//   HWND find = CreateDialogParamA(...);
//   CModelessDialogs::Register(find);     // and Unregister on WM_DESTROY
//   ...
//   if (CModelessDialogs::Route(&message)) continue;   // in a message loop
#ifndef QUILLMATE_LIBRARY_CMODELESSDIALOGS_H
#define QUILLMATE_LIBRARY_CMODELESSDIALOGS_H

#include <windows.h>

class CModelessDialogs {
 public:
  // Adds a dialog window (once; a second registration changes nothing).
  // False when the window is not a window, or the hook that serves the
  // platform's modal loops could not be installed (the program's own loop
  // still routes then).
  static bool Register(HWND dialog);
  // Forgets a dialog; call it before (or while) the window is destroyed.
  static void Unregister(HWND dialog);
  // Whether the window is a registered modeless dialog.
  static bool IsRegistered(HWND window);
  // Hands the message to IsDialogMessage of the registered dialog that its
  // window is, or lies in. True when the dialog used it (it must not be
  // translated or dispatched again); false for other windows' messages.
  static bool Route(MSG* message);

 private:
  static LRESULT CALLBACK FilterHook(int code, WPARAM wParam, LPARAM lParam);
};

#endif  // QUILLMATE_LIBRARY_CMODELESSDIALOGS_H

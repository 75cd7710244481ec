// Keys and the mouse wheel in a modal editor before its dialog loop sees
// them. A dialog's own message loop knows no accelerators, and a key would
// reach whichever control has the focus (an arrow key would move the focus
// among buttons), so a message filter of the thread offers each message
// for the dialog's windows to a handler first, while the object lives.
#ifndef QUILLMATE_MANAGERS_DIALOGMESSAGEFILTER_H
#define QUILLMATE_MANAGERS_DIALOGMESSAGEFILTER_H

#include <windows.h>

class CDialogMessageFilter {
 public:
  // True: the handler took the message, and nobody else sees it.
  using Handler = bool (*)(HWND dialog, const MSG& message);

  // Messages of the dialog's loop for the dialog or any window in it (found
  // through dialogOf when a message arrives, since the dialog does not
  // exist yet when the filter is put in place) go to handler.
  CDialogMessageFilter(HWND (*dialogOf)(), Handler handler);
  ~CDialogMessageFilter();
  CDialogMessageFilter(const CDialogMessageFilter&) = delete;
  CDialogMessageFilter& operator=(const CDialogMessageFilter&) = delete;

 private:
  static LRESULT CALLBACK Filter(int code, WPARAM wParam, LPARAM lParam);

  HHOOK m_hook;
  HWND (*m_dialogOf)();
  Handler m_handler;
  CDialogMessageFilter* m_previous;
};

// Whether message is Ctrl+P pressed (without Alt or Shift).
bool IsCtrlP(const MSG& message);

#endif  // QUILLMATE_MANAGERS_DIALOGMESSAGEFILTER_H

// Ctrl+P in a modal dialog that can print (the text note editor, the photo
// dialog). A dialog's own message loop knows no accelerators, and the key
// would reach whichever control has the focus, so a message filter of the
// thread takes it on the dialog's behalf while the object lives.
#ifndef QUILLMATE_MANAGERS_PRINTSHORTCUT_H
#define QUILLMATE_MANAGERS_PRINTSHORTCUT_H

#include <windows.h>

class CPrintShortcut {
 public:
  // Ctrl+P in any window of dialog (found through dialogOf when the key
  // arrives, since the dialog does not exist yet when the filter is put in
  // place) posts WM_COMMAND printCommandId to it. printCommandId 0: nothing.
  CPrintShortcut(HWND (*dialogOf)(), int printCommandId);
  ~CPrintShortcut();
  CPrintShortcut(const CPrintShortcut&) = delete;
  CPrintShortcut& operator=(const CPrintShortcut&) = delete;

 private:
  static LRESULT CALLBACK Filter(int code, WPARAM wParam, LPARAM lParam);

  HHOOK m_hook;
  HWND (*m_dialogOf)();
  int m_printCommandId;
  CPrintShortcut* m_previous;
};

#endif  // QUILLMATE_MANAGERS_PRINTSHORTCUT_H

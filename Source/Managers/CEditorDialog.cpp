// The shared opening, message dispatch and ending of every editor dialog.
#include "Managers/CEditorDialog.h"

#include <commctrl.h>

#include <algorithm>
#include <cstring>

#include "Library/CListView.h"
#include "Library/CString.h"
#include "Library/CWinApp.h"
#include "Managers/KindDescription.h"
#include "Library/WindowProcGuard.h"
#include "Managers/KindManager.h"
#include "Managers/ManagerWindows.h"
#include "Managers/DialogMessageFilter.h"
#include "Records/MessageBoxSeam.h"
#include "Records/RecordText.h"
#include "Resources/MainWindowIds.h"

namespace {

// The editor that is open or opening. All editors run on the user-interface
// thread, so a plain pointer is enough.
CEditorDialog* gOpenEditor = nullptr;
HWND gOpenEditorWindow = nullptr;
CEditorDialog::HelpOpener gHelpOpener = nullptr;

std::string WindowText(HWND control) {
  // Two more than the length, as the control may count a character less than
  // it copies in some code pages.
  const int length = GetWindowTextLengthA(control);
  std::string text(static_cast<std::size_t>(length) + 2, '\0');
  const int copied = GetWindowTextA(control, &text[0], length + 2);
  text.resize(copied > 0 ? static_cast<std::size_t>(copied) : 0);
  return text;
}

bool ClassIs(const char* className, const char* name) {
  return lstrcmpiA(className, name) == 0;
}

// What an input control holds, as text; false for a control that holds no
// input of the user's (buttons, labels, status bars, read-only fields).
bool InputState(HWND control, std::string& state) {
  char className[32] = {};
  GetClassNameA(control, className, sizeof className);
  const LONG style = GetWindowLongA(control, GWL_STYLE);
  if (ClassIs(className, "Edit")) {
    if ((style & ES_READONLY) != 0) return false;
    state = WindowText(control);
  } else if (std::strncmp(className, "RichEdit", 8) == 0) {
    // A body may be long, and its formatting counts too: the control's own
    // modified flag, cleared whenever the state is remembered.
    state = SendMessageA(control, EM_GETMODIFY, 0, 0) ? "modified" : "";
  } else if (ClassIs(className, "ComboBox")) {
    state = std::to_string(SendMessageA(control, CB_GETCURSEL, 0, 0)) + ":" + WindowText(control);
  } else if (ClassIs(className, DATETIMEPICK_CLASSA)) {
    SYSTEMTIME time = {};
    SendMessageA(control, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&time));
    state.assign(reinterpret_cast<const char*>(&time), sizeof time);
  } else {
    return false;
  }
  // What a disabled control holds the user cannot have changed.
  if (!IsWindowEnabled(control)) state = "disabled";
  return true;
}

}  // namespace

CEditorDialog::CEditorDialog(const EditorTemplate& description)
    : m_description(description), m_mainWindow(nullptr), m_dialog(nullptr), m_edit(false) {}

CEditorDialog::~CEditorDialog() = default;

void CEditorDialog::SetHelpOpener(HelpOpener opener) {
  gHelpOpener = opener;
}

HWND CEditorDialog::OpenEditorWindow() {
  return gOpenEditorWindow;
}

bool CEditorDialog::BringOpenEditorForward() {
  if (gOpenEditor == nullptr) return false;
  if (gOpenEditorWindow != nullptr) {
    // The tray's window may hold the foreground; the editor's owner may be
    // hidden in the tray, and then the editor must be shown with it.
    if (!IsWindowVisible(gOpenEditorWindow)) ShowWindow(gOpenEditorWindow, SW_SHOW);
    SetForegroundWindow(gOpenEditorWindow);
    // A few flashes of its caption say why nothing new opened.
    FLASHWINFO flash = {};
    flash.cbSize = sizeof flash;
    flash.hwnd = gOpenEditorWindow;
    flash.dwFlags = FLASHW_CAPTION;
    flash.uCount = 3;
    FlashWindowEx(&flash);
  }
  return true;
}

int CEditorDialog::Run(HWND mainWindow, bool edit) {
  if (BringOpenEditorForward()) return 0;
  m_mainWindow = mainWindow;
  if (edit) {
    // The focused row's address names a record of this kind only while the
    // list shows this kind.
    if (CurrentKind() != static_cast<int>(m_description.kind)) return 0;
    CListView list = RecordListOf(mainWindow);
    int focused = list.GetFocusedItem();
    if (focused < 0) return 0;
    auto address = static_cast<std::uint32_t>(list.GetItemParam(focused));
    if (address == 0) return 0;
    m_watch = std::make_unique<CRecordWatch>(m_description.kind, address);
    m_edit = true;
  }
  gOpenEditor = this;
  CDialogMessageFilter loopFilter(OpenEditorWindow, TakeLoopMessage);
  INT_PTR result = DialogBoxParamA(gApp.GetResourceInstance(), MAKEINTRESOURCEA(m_description.dialogId),
                                   mainWindow, DialogProc, reinterpret_cast<LPARAM>(this));
  DWORD error = GetLastError();
  // A dialog that had its window ran: whatever ended it, it was not a
  // creation failure (a window destroyed under the dialog ends it with -1).
  const bool hadWindow = m_dialog != nullptr;
  gOpenEditor = nullptr;
  gOpenEditorWindow = nullptr;
  m_dialog = nullptr;
  m_edit = false;
  m_watch.reset();
  m_savedState.clear();
  if ((result == -1 || result == 0) && hadWindow) {
    // Its loop ended without EndDialog, which would have given the owner
    // back its input.
    EnableWindow(mainWindow, TRUE);
    return 2;
  }
  if (result == -1 || result == 0) {
    CString text;
    text.Format(m_description.mediaCreationError ? "Error In Dialog Creation: x%x" : "Error x%x", error);
    ShowMessageBox(mainWindow, text.GetString(), m_description.mediaCreationError ? "Quillmate" : "Dialog Box",
                   kMbOk | kMbIconWarning);
    return 0;
  }
  return static_cast<int>(result);
}

bool CEditorDialog::TakeLoopMessage(HWND, const MSG& message) {
  return gOpenEditor != nullptr && gOpenEditor->OnLoopMessage(message);
}

bool CEditorDialog::OnLoopMessage(const MSG& message) {
  if (m_description.printCommandId == 0 || !IsCtrlP(message)) return false;
  PostMessageA(m_dialog, WM_COMMAND, MAKEWPARAM(m_description.printCommandId, 0), 0);
  return true;
}

// Whatever a handler throws (memory running out while a picture loads) is
// told in a box and stops there: no exception crosses the dialog manager.
INT_PTR CALLBACK CEditorDialog::DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  return RunGuarded(dialog, "Quillmate", [&]() -> LRESULT {
    if (message == WM_INITDIALOG) {
      auto* editor = reinterpret_cast<CEditorDialog*>(lParam);
      SetWindowLongPtrA(dialog, DWLP_USER, lParam);
      editor->m_dialog = dialog;
      gOpenEditorWindow = dialog;
      editor->Initialise();
      return TRUE;
    }
    auto* editor = reinterpret_cast<CEditorDialog*>(GetWindowLongPtrA(dialog, DWLP_USER));
    if (editor == nullptr) return FALSE;
    return editor->Handle(message, wParam, lParam);
  });
}

void CEditorDialog::Initialise() {
  // Shared, so the icon is not ours to destroy.
  HANDLE icon =
      LoadImageA(gApp.GetResourceInstance(), MAKEINTRESOURCEA(IDI_QUILLMATE), IMAGE_ICON, 16, 16, LR_SHARED);
  if (icon != nullptr) SendMessageA(m_dialog, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
  for (std::size_t i = 0; i < m_description.textFieldCount; ++i) {
    SendDlgItemMessageA(m_dialog, m_description.textFieldIds[i], EM_LIMITTEXT, kRecordTextMaxLength, 0);
  }
  OnInit();
  RememberSavedState();
}

std::vector<std::pair<HWND, std::string>> CEditorDialog::InputStates() const {
  std::vector<std::pair<HWND, std::string>> states;
  for (HWND child = GetWindow(m_dialog, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
    if (std::find(m_ignored.begin(), m_ignored.end(), GetDlgCtrlID(child)) != m_ignored.end()) continue;
    std::string state;
    if (InputState(child, state)) states.emplace_back(child, std::move(state));
  }
  return states;
}

void CEditorDialog::RememberSavedState() {
  for (HWND child = GetWindow(m_dialog, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
    char className[32] = {};
    GetClassNameA(child, className, sizeof className);
    if (std::strncmp(className, "RichEdit", 8) == 0) SendMessageA(child, EM_SETMODIFY, FALSE, 0);
  }
  m_savedState = InputStates();
}

void CEditorDialog::IgnoreForUnsavedWork(int controlId) {
  m_ignored.push_back(controlId);
  m_savedState = InputStates();
}

bool CEditorDialog::ControlsChanged() const {
  return InputStates() != m_savedState;
}

bool CEditorDialog::FileHoldsData(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (path.empty() || !GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return false;
  return data.nFileSizeHigh != 0 || data.nFileSizeLow >= 2;
}

INT_PTR CEditorDialog::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_COMMAND) {
    const int id = LOWORD(wParam);
    if (id == m_description.saveId) {
      OnSave();
      return TRUE;
    }
    // IDCANCEL is Esc. A user who presses Esc during a take or a capture
    // wants it ended, not thrown away.
    if (id == IDCANCEL && id != m_description.cancelId && IsTaking()) {
      EndTake();
      return TRUE;
    }
    if (id == m_description.cancelId || id == IDCANCEL) {
      LeaveWithoutSaving();
      return TRUE;
    }
    return OnCommand(id, HIWORD(wParam)) ? TRUE : FALSE;
  }
  if (message == WM_CLOSE) {
    LeaveWithoutSaving();
    return TRUE;
  }
  if (message == WM_HELP) {
    if (gHelpOpener != nullptr) gHelpOpener(m_dialog, m_description.kind);
    return TRUE;
  }
  INT_PTR result = 0;
  if (OnMessage(message, wParam, lParam, result)) {
    SetWindowLongPtrA(m_dialog, DWLP_MSGRESULT, result);
    return TRUE;
  }
  return FALSE;
}

void CEditorDialog::LeaveWithoutSaving() {
  // Ended first, so that the question is about everything that was taken.
  if (IsTaking()) EndTake();
  if (HasUnsavedWork()) {
    CString question;
    question.Format("Discard the changes to this %s?", KindDescriptionOf(m_description.kind).recordName);
    if (ShowBox(question.GetString(), "Quillmate", kMbYesNo | kMbIconQuestion | kMbDefaultButton2) != kIdYes) {
      return;
    }
  }
  if (CanCancel()) End(2);
}

void CEditorDialog::End(int result) {
  EndDialog(m_dialog, result);
}

std::string CEditorDialog::Text(int controlId) const {
  return WindowText(GetDlgItem(m_dialog, controlId));
}

void CEditorDialog::SetText(int controlId, const std::string& text) const {
  SetDlgItemTextA(m_dialog, controlId, text.c_str());
}

int CEditorDialog::ShowBox(const char* text, const char* caption, unsigned style) const {
  return ShowMessageBox(m_dialog, text, caption, style);
}

void CEditorDialog::AskToFill(const char* message, int emptyFieldId, const char* caption, unsigned style) const {
  ShowBox(message, caption, style);
  // Through the dialog manager, so the default button and the selection of
  // an edit's text follow the focus.
  if (HWND field = GetDlgItem(m_dialog, emptyFieldId)) {
    SendMessageA(m_dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(field), TRUE);
  }
}

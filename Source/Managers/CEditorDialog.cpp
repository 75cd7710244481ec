// The shared opening, message dispatch and ending of every editor dialog.
#include "Managers/CEditorDialog.h"

#include "Library/CListView.h"
#include "Library/CString.h"
#include "Library/CWinApp.h"
#include "Library/WindowProcGuard.h"
#include "Managers/KindManager.h"
#include "Managers/ManagerWindows.h"
#include "Managers/PrintShortcut.h"
#include "Records/MessageBoxSeam.h"
#include "Records/RecordText.h"
#include "Resources/MainWindowIds.h"

namespace {

// The editor that is open or opening. All editors run on the user-interface
// thread, so a plain pointer is enough.
CEditorDialog* gOpenEditor = nullptr;
HWND gOpenEditorWindow = nullptr;
CEditorDialog::HelpOpener gHelpOpener = nullptr;

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
  CPrintShortcut printShortcut(OpenEditorWindow, m_description.printCommandId);
  INT_PTR result = DialogBoxParamA(gApp.GetResourceInstance(), MAKEINTRESOURCEA(m_description.dialogId),
                                   mainWindow, DialogProc, reinterpret_cast<LPARAM>(this));
  DWORD error = GetLastError();
  gOpenEditor = nullptr;
  gOpenEditorWindow = nullptr;
  m_dialog = nullptr;
  m_edit = false;
  m_watch.reset();
  if (result == -1 || result == 0) {
    CString text;
    text.Format(m_description.mediaCreationError ? "Error In Dialog Creation: x%x" : "Error x%x", error);
    ShowMessageBox(mainWindow, text.GetString(), m_description.mediaCreationError ? "Quillmate" : "Dialog Box",
                   kMbOk | kMbIconWarning);
    return 0;
  }
  return static_cast<int>(result);
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
}

INT_PTR CEditorDialog::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_COMMAND) {
    const int id = LOWORD(wParam);
    if (id == m_description.saveId) {
      OnSave();
      return TRUE;
    }
    // IDCANCEL is Esc.
    if (id == m_description.cancelId || id == IDCANCEL) {
      Cancel();
      return TRUE;
    }
    return OnCommand(id, HIWORD(wParam)) ? TRUE : FALSE;
  }
  if (message == WM_CLOSE) {
    Cancel();
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

void CEditorDialog::Cancel() {
  if (CanCancel()) End(2);
}

void CEditorDialog::End(int result) {
  EndDialog(m_dialog, result);
}

std::string CEditorDialog::Text(int controlId) const {
  HWND control = GetDlgItem(m_dialog, controlId);
  int length = GetWindowTextLengthA(control);
  // Two more than the length, as the control may count a character less than
  // it copies in some code pages.
  std::string text(static_cast<std::size_t>(length) + 2, '\0');
  int copied = GetWindowTextA(control, &text[0], length + 2);
  text.resize(copied > 0 ? static_cast<std::size_t>(copied) : 0);
  return text;
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

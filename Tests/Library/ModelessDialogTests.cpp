// CModelessDialogs under Wine: a modeless dialog gets its keyboard through
// the program's own loop and through the loops the platform runs for a
// dialog box and a message box, and only registered dialogs are served.
#include "Library/CModelessDialogs.h"
#include "Support/DialogDriver.h"
#include "Support/MessagePump.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

constexpr int kEditId = 10;
constexpr UINT kEndModal = WM_APP + 1;

// An in-memory dialog template: a caption, one edit and the default OK button.
class DialogTemplate {
 public:
  explicit DialogTemplate(const char* caption) {
    DLGTEMPLATE dialog = {};
    dialog.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT;
    dialog.cdit = 2;
    dialog.cx = 160;
    dialog.cy = 60;
    Append(&dialog, sizeof dialog);
    AppendWord(0);  // no menu
    AppendWord(0);  // the dialog class
    AppendText(caption);
    AppendWord(8);
    AppendText("MS Shell Dlg");
    AddItem(WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL, 8, 8, 100, 14, kEditId, 0x0081);
    AddItem(WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, 110, 40, 40, 14, IDOK, 0x0080);
  }
  const DLGTEMPLATE* Get() const { return reinterpret_cast<const DLGTEMPLATE*>(m_bytes.data()); }

 private:
  void Append(const void* data, std::size_t size) {
    const auto* bytes = static_cast<const unsigned char*>(data);
    m_bytes.insert(m_bytes.end(), bytes, bytes + size);
  }
  void AppendWord(WORD word) { Append(&word, sizeof word); }
  void AppendText(const char* text) {
    for (; *text; ++text) AppendWord(static_cast<WORD>(*text));
    AppendWord(0);
  }
  void Align() {
    while (m_bytes.size() % 4) m_bytes.push_back(0);
  }
  void AddItem(DWORD style, short x, short y, short cx, short cy, WORD id, WORD atom) {
    Align();
    DLGITEMTEMPLATE item = {};
    item.style = style;
    item.x = x;
    item.y = y;
    item.cx = cx;
    item.cy = cy;
    item.id = id;
    Append(&item, sizeof item);
    AppendWord(0xFFFF);
    AppendWord(atom);
    AppendText(id == IDOK ? "OK" : "");
    AppendWord(0);  // no creation data
  }

  std::vector<unsigned char> m_bytes;
};

// The commands the modeless dialog received.
std::vector<int> gCommands;

INT_PTR CALLBACK ModelessProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  if (message == WM_INITDIALOG) return TRUE;
  if (message == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
    gCommands.push_back(LOWORD(wParam));
    return TRUE;
  }
  if (message == WM_DESTROY) CModelessDialogs::Unregister(dialog);
  return FALSE;
}

INT_PTR CALLBACK ModalProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    // What the test posted before is queued ahead of this: it is all taken
    // by the modal loop before the dialog ends.
    PostMessageA(dialog, kEndModal, 0, 0);
    (void)lParam;
    return TRUE;
  }
  if (message == kEndModal) {
    EndDialog(dialog, 1);
    return TRUE;
  }
  (void)wParam;
  return FALSE;
}

class ModelessDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    gCommands.clear();
    m_dialog = CreateDialogIndirectParamA(GetModuleHandleA(nullptr), m_template.Get(), nullptr, ModelessProc, 0);
    ASSERT_NE(nullptr, m_dialog);
    ShowWindow(m_dialog, SW_SHOWNOACTIVATE);
    m_edit = GetDlgItem(m_dialog, kEditId);
    ASSERT_NE(nullptr, m_edit);
  }
  void TearDown() override {
    if (IsWindow(m_dialog)) DestroyWindow(m_dialog);
    qmtest::PumpMessages();
  }

  // Enter and Esc as the keyboard gives them to the focused edit.
  void PostEnterAndEscape() const {
    PostMessageA(m_edit, WM_KEYDOWN, VK_RETURN, 0x001C0001);
    PostMessageA(m_edit, WM_KEYUP, VK_RETURN, 0xC01C0001);
    PostMessageA(m_edit, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
    PostMessageA(m_edit, WM_KEYUP, VK_ESCAPE, 0xC0010001);
  }

  // The program's loop: Route first, then translate and dispatch.
  static void RunProgramLoopOnce() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
      if (CModelessDialogs::Route(&message)) continue;
      TranslateMessage(&message);
      DispatchMessageA(&message);
    }
  }

  DialogTemplate m_template{"Modeless"};
  DialogTemplate m_modalTemplate{"Modal"};
  HWND m_dialog = nullptr;
  HWND m_edit = nullptr;
};

TEST_F(ModelessDialogTest, ARegisteredDialogGetsEnterAndEscInEveryLoopOfTheThread) {
  ASSERT_TRUE(CModelessDialogs::Register(m_dialog));
  EXPECT_TRUE(CModelessDialogs::IsRegistered(m_dialog));
  EXPECT_FALSE(CModelessDialogs::IsRegistered(m_edit));

  // The program's own loop.
  PostEnterAndEscape();
  RunProgramLoopOnce();
  EXPECT_EQ((std::vector<int>{IDOK, IDCANCEL}), gCommands);

  // A dialog box's loop, run by the platform.
  gCommands.clear();
  PostEnterAndEscape();
  EXPECT_EQ(1, DialogBoxIndirectParamA(GetModuleHandleA(nullptr), m_modalTemplate.Get(), nullptr, ModalProc, 0));
  EXPECT_EQ((std::vector<int>{IDOK, IDCANCEL}), gCommands);

  // A message box's loop: the keys are posted once it is up, and the box is
  // ended after them.
  gCommands.clear();
  EXPECT_TRUE(qmtest::DriveDialog(
      "Box", [] { MessageBoxA(nullptr, "A question", "Box", MB_OK); },
      [&](HWND box) {
        PostEnterAndEscape();
        PostMessageA(box, WM_COMMAND, IDOK, 0);
      }));
  EXPECT_EQ((std::vector<int>{IDOK, IDCANCEL}), gCommands);
}

TEST_F(ModelessDialogTest, OnlyRegisteredLiveDialogsAreServed) {
  MSG message = {};
  message.hwnd = m_edit;
  message.message = WM_KEYDOWN;
  message.wParam = VK_RETURN;
  EXPECT_FALSE(CModelessDialogs::Route(&message));

  ASSERT_TRUE(CModelessDialogs::Register(m_dialog));
  ASSERT_TRUE(CModelessDialogs::Register(m_dialog));
  CModelessDialogs::Unregister(m_dialog);
  EXPECT_FALSE(CModelessDialogs::IsRegistered(m_dialog));
  EXPECT_FALSE(CModelessDialogs::Route(&message));

  // Unregistered, the modal loop dispatches the keys to the edit, which has
  // no use for them: the dialog sees no command.
  PostEnterAndEscape();
  EXPECT_EQ(1, DialogBoxIndirectParamA(GetModuleHandleA(nullptr), m_modalTemplate.Get(), nullptr, ModalProc, 0));
  EXPECT_TRUE(gCommands.empty());

  // A registered dialog that is destroyed unregisters itself.
  ASSERT_TRUE(CModelessDialogs::Register(m_dialog));
  DestroyWindow(m_dialog);
  EXPECT_FALSE(CModelessDialogs::IsRegistered(m_dialog));
}

}  // namespace

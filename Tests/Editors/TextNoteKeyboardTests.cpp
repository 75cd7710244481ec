// The text note editor worked from the keyboard as its modal loop sees the
// keys (the dialog manager first, then the control): Tab into the body keeps
// the note unselected, Tab moves on, Ctrl+Tab types a tab, and Ctrl+B,
// Ctrl+I and Ctrl+U toggle bold, italic and underline.
#include <gtest/gtest.h>

#include <windows.h>
#include <richedit.h>

#include <string>

#include "Resources/MainWindowIds.h"
#include "Resources/TextNoteEditorIds.h"
#include "TextNoteTestSupport.h"

using namespace qmtextnote;

namespace {

// One message as the dialog's loop handles it.
void Deliver(HWND dialog, MSG message) {
  if (IsDialogMessageA(dialog, &message)) return;
  TranslateMessage(&message);
  DispatchMessageA(&message);
}

// A key pressed and released in the focused control, with Ctrl held or not:
// the key state is the thread's, as the keyboard driver would set it; the
// characters that TranslateMessage makes are delivered too.
void PressKey(HWND dialog, UINT key, bool control) {
  BYTE keys[256] = {};
  GetKeyboardState(keys);
  keys[VK_CONTROL] = keys[VK_LCONTROL] = control ? 0x80 : 0;
  SetKeyboardState(keys);
  const UINT scan = MapVirtualKeyA(key, MAPVK_VK_TO_VSC);
  MSG message = {GetFocus(), WM_KEYDOWN, key, static_cast<LPARAM>(1 | (scan << 16))};
  Deliver(dialog, message);
  MSG queued;
  while (PeekMessageA(&queued, nullptr, WM_CHAR, WM_CHAR, PM_REMOVE)) Deliver(dialog, queued);
  message = {GetFocus(), WM_KEYUP, key, static_cast<LPARAM>(1 | (scan << 16) | 0xC0000000u)};
  Deliver(dialog, message);
  keys[VK_CONTROL] = keys[VK_LCONTROL] = 0;
  SetKeyboardState(keys);
}

std::string PlainBody(HWND dialog) {
  char text[256] = {};
  GetWindowTextA(BodyOf(dialog), text, sizeof text);
  return text;
}

DWORD EffectsAt(HWND dialog, int position) {
  SelectInBody(dialog, position, position + 1);
  CHARFORMAT2A format = {};
  format.cbSize = sizeof format;
  SendMessageA(BodyOf(dialog), EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
  return format.dwEffects & (CFE_BOLD | CFE_ITALIC | CFE_UNDERLINE);
}

}  // namespace

TEST_F(TextNoteTest, TabEntersTheBodyWithoutSelectingItCtrlTabTypesATabAndCtrlBIUToggleFormats) {
  struct Seen {
    DWORD selectionAfterTabIn = 0xFFFFFFFF;
    bool bodyFocusedAfterTabIn = false;
    std::string bodyAfterTabOut;
    int focusAfterTabOut = 0;
    std::string bodyAfterControlTab;
    bool bodyFocusedAfterControlTab = false;
    DWORD afterBold = 0, afterSecondBold = 0, afterItalic = 0, afterUnderline = 0;
    bool boldPressed = false;
    std::string bodyAfterFormats;
  } seen;
  ASSERT_TRUE(DriveEditor([this] { m_main->Command(IDM_ADD_TEXT_NOTE); }, [&](HWND dialog) {
    TypeIntoBody(dialog, "Hello world");
    SelectInBody(dialog, 5, 5);
    // From the type box, Tab enters the body: the caret stays where it was.
    SetFocus(GetDlgItem(dialog, IDC_TEXT_NOTE_TYPE));
    PressKey(dialog, VK_TAB, false);
    seen.bodyFocusedAfterTabIn = GetFocus() == BodyOf(dialog);
    seen.selectionAfterTabIn = static_cast<DWORD>(SendMessageA(BodyOf(dialog), EM_GETSEL, 0, 0));
    // The next Tab moves on and leaves the note as it is.
    PressKey(dialog, VK_TAB, false);
    seen.bodyAfterTabOut = PlainBody(dialog);
    seen.focusAfterTabOut = GetDlgCtrlID(GetFocus());
    // Ctrl+Tab in the body types a tab.
    SetFocus(BodyOf(dialog));
    SelectInBody(dialog, 5, 5);
    PressKey(dialog, VK_TAB, true);
    seen.bodyAfterControlTab = PlainBody(dialog);
    seen.bodyFocusedAfterControlTab = GetFocus() == BodyOf(dialog);
    // "Hello" formatted from the keyboard.
    SelectInBody(dialog, 0, 5);
    PressKey(dialog, 'B', true);
    seen.boldPressed = IsToolPressed(dialog, IDM_TEXT_BOLD);
    seen.afterBold = EffectsAt(dialog, 0);
    SelectInBody(dialog, 0, 5);
    PressKey(dialog, 'B', true);
    seen.afterSecondBold = EffectsAt(dialog, 0);
    SelectInBody(dialog, 0, 5);
    PressKey(dialog, 'I', true);
    seen.afterItalic = EffectsAt(dialog, 0);
    SelectInBody(dialog, 0, 5);
    PressKey(dialog, 'U', true);
    seen.afterUnderline = EffectsAt(dialog, 0);
    seen.bodyAfterFormats = PlainBody(dialog);
    m_boxes.answer = kIdYes;  // the typed text is given up
    Press(dialog, IDC_TEXT_NOTE_CANCEL);
  }));
  EXPECT_TRUE(seen.bodyFocusedAfterTabIn);
  EXPECT_EQ(LOWORD(seen.selectionAfterTabIn), 5);
  EXPECT_EQ(HIWORD(seen.selectionAfterTabIn), 5);
  EXPECT_EQ(seen.bodyAfterTabOut, "Hello world");
  EXPECT_EQ(seen.focusAfterTabOut, IDC_TEXT_NOTE_SAVE);
  EXPECT_EQ(seen.bodyAfterControlTab, "Hello\t world");
  EXPECT_TRUE(seen.bodyFocusedAfterControlTab);
  EXPECT_TRUE(seen.boldPressed);
  EXPECT_EQ(seen.afterBold, static_cast<DWORD>(CFE_BOLD));
  EXPECT_EQ(seen.afterSecondBold, 0u);
  EXPECT_EQ(seen.afterItalic, static_cast<DWORD>(CFE_ITALIC));
  EXPECT_EQ(seen.afterUnderline, static_cast<DWORD>(CFE_ITALIC | CFE_UNDERLINE));
  // Ctrl+I typed no tab over the selection.
  EXPECT_EQ(seen.bodyAfterFormats, "Hello\t world");
  // Only the question before the typed text was given up.
  ASSERT_EQ(m_boxes.shown.size(), 1u);
  EXPECT_EQ(m_boxes.shown[0].text, "Discard the changes to this text note?");
}

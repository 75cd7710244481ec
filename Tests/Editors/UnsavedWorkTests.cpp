// What the user typed is never thrown away without a question: every editor
// opened from the main window, left by Esc, its Cancel button or the close
// box, asks "Discard the changes to this <kind>?" once something was typed
// (No the default, the editor the owner), and closes at once when nothing
// was. Exit while an editor is open only brings it forward; a dialog whose
// window is destroyed under it counts as cancelled.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Managers/FastTextEditor.h"
#include "Managers/RecordManager.h"
#include "Records/RecordText.h"
#include "Resources/EmailResourceEditorIds.h"
#include "Resources/FastTextEditorIds.h"
#include "Resources/InternetResourceEditorIds.h"
#include "Resources/MainWindowIds.h"
#include "Resources/TextNoteEditorIds.h"
#include "Resources/TimeNotificationEditorIds.h"
#include "Shell/AboutDialog.h"
#include "Shell/ExitRequest.h"
#include "Support/DialogDriver.h"
#include "Support/MessagePump.h"
#include "Support/TestMainWindow.h"

using namespace qmtest;

namespace {

struct EditorUnderTest {
  int addCommand;
  const char* caption;
  int typedField;
  int cancelButton;
  const char* question;
};

const EditorUnderTest kEditors[] = {
    {IDM_ADD_TEXT_NOTE, "Text Note", IDC_TEXT_NOTE_TITLE, IDC_TEXT_NOTE_CANCEL,
     "Discard the changes to this text note?"},
    {IDM_ADD_TIME_NOTIFICATION, "Time Notification", IDC_TIME_NOTIFICATION_TITLE, IDC_TIME_NOTIFICATION_CANCEL,
     "Discard the changes to this time notification?"},
    {IDM_ADD_EMAIL_RESOURCE, "E-Mail Resource", IDC_EMAIL_NAME, IDC_EMAIL_CANCEL,
     "Discard the changes to this email resource?"},
    {IDM_ADD_INTERNET_RESOURCE, "Internet Resource", IDC_INTERNET_TITLE, IDC_INTERNET_CANCEL,
     "Discard the changes to this internet resource?"},
    {IDM_ADD_FAST_TEXT, "Fast Text", IDC_FAST_TEXT_TITLE, IDC_FAST_TEXT_CANCEL,
     "Discard the changes to this fast text?"},
};

// The three ways of leaving without saving.
enum class Leave { Esc, CancelButton, CloseBox };

void LeaveBy(HWND dialog, Leave way, int cancelButton) {
  switch (way) {
    case Leave::Esc:
      SendMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
      break;
    case Leave::CancelButton:
      Press(dialog, cancelButton);
      break;
    case Leave::CloseBox:
      SendMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
      break;
  }
}

// Typed as a user types: the rich edit marks itself changed only then.
void TypeKeys(HWND control, const char* keys) {
  for (const char* key = keys; *key != '\0'; ++key) SendMessageA(control, WM_CHAR, *key, 1);
}

class UnsavedWorkTest : public MainWindowTest {
 protected:
  void SetUp() override {
    MainWindowTest::SetUp();
    // The text note's body is a rich edit control.
    m_richEdit = LoadLibraryA("RICHED20.DLL");
  }
  void TearDown() override {
    MainWindowTest::TearDown();
    if (m_richEdit) FreeLibrary(m_richEdit);
  }
  HMODULE m_richEdit = nullptr;
};

}  // namespace

TEST_F(UnsavedWorkTest, EveryEditorAsksBeforeItThrowsAwayWhatWasTypedAndClosesAtOnceWhenNothingWas) {
  for (const EditorUnderTest& editor : kEditors) {
    SCOPED_TRACE(editor.caption);
    // Nothing typed: each way out closes at once, asking nothing.
    for (Leave way : {Leave::Esc, Leave::CancelButton, Leave::CloseBox}) {
      m_boxes.shown.clear();
      EXPECT_TRUE(DriveDialog(editor.caption, [&] { m_main->Command(editor.addCommand); },
                              [&](HWND dialog) { LeaveBy(dialog, way, editor.cancelButton); }));
      EXPECT_TRUE(m_boxes.shown.empty());
    }

    // Typed: each way out asks; No (the default) keeps the editor and the
    // text, Yes leaves without storing anything.
    m_boxes.shown.clear();
    m_boxes.answer = RecordedMessageBoxes::kDefaultButton;
    HWND opened = nullptr;
    std::vector<std::string> keptTexts;
    EXPECT_TRUE(DriveDialog(editor.caption, [&] { m_main->Command(editor.addCommand); }, [&](HWND dialog) {
      opened = dialog;
      TypeText(dialog, editor.typedField, "Typed by the user");
      for (Leave way : {Leave::Esc, Leave::CancelButton, Leave::CloseBox}) {
        LeaveBy(dialog, way, editor.cancelButton);
        keptTexts.push_back(IsWindowVisible(dialog) ? TextOf(dialog, editor.typedField) : "closed");
      }
      m_boxes.answer = kIdYes;
      LeaveBy(dialog, Leave::CancelButton, editor.cancelButton);
    }));
    EXPECT_EQ(keptTexts, std::vector<std::string>(3, "Typed by the user"));
    ASSERT_EQ(m_boxes.shown.size(), 4u);
    for (const ShownBox& box : m_boxes.shown) {
      EXPECT_EQ(box.text, editor.question);
      EXPECT_EQ(box.caption, "Quillmate");
      EXPECT_EQ(box.style, kMbYesNo | kMbIconQuestion | kMbDefaultButton2);
      EXPECT_EQ(box.owner, opened);
    }
    EXPECT_TRUE(m_main->Rows().empty()) << "a discarded editor stored something";
  }

  // The text note's body counts too, whether or not the title was touched.
  m_boxes.shown.clear();
  m_boxes.answer = kIdYes;
  EXPECT_TRUE(DriveDialog("Text Note", [&] { m_main->Command(IDM_ADD_TEXT_NOTE); }, [&](HWND dialog) {
    TypeKeys(GetDlgItem(dialog, IDC_TEXT_NOTE_BODY), "Milk");
    LeaveBy(dialog, Leave::Esc, IDC_TEXT_NOTE_CANCEL);
  }));
  ASSERT_EQ(m_boxes.shown.size(), 1u);
  EXPECT_EQ(m_boxes.shown[0].text, "Discard the changes to this text note?");

  // An edit left unchanged asks nothing; changed, it asks.
  FastTextValues values{"Greeting", "Hello"};
  ASSERT_EQ(FastTextManager::AppendRecord(m_main->Handle(), values), 1);
  m_main->FocusRow(0);
  m_boxes.shown.clear();
  EXPECT_TRUE(DriveDialog("Fast Text", [&] { m_main->Command(IDM_EDIT_FAST_TEXT); },
                          [&](HWND dialog) { LeaveBy(dialog, Leave::Esc, IDC_FAST_TEXT_CANCEL); }));
  EXPECT_TRUE(m_boxes.shown.empty());
  EXPECT_TRUE(DriveDialog("Fast Text", [&] { m_main->Command(IDM_EDIT_FAST_TEXT); }, [&](HWND dialog) {
    TypeText(dialog, IDC_FAST_TEXT_TEXT, "Hello again");
    LeaveBy(dialog, Leave::CloseBox, IDC_FAST_TEXT_CANCEL);
  }));
  ASSERT_EQ(m_boxes.shown.size(), 1u);
  EXPECT_EQ(m_boxes.shown[0].text, "Discard the changes to this fast text?");
}

TEST_F(UnsavedWorkTest, ExitWhileAnEditorIsOpenOnlyBringsItForwardAndModelessWindowsNeverStandInTheWay) {
  const UINT exitRequest = ExitRequestMessage();
  int ended = 0;
  static int* gEnded = nullptr;
  gEnded = &ended;
  gMainWindowHooks.exitConfirmed = [](HWND) { ++*gEnded; };

  // The tray's Exit and the setup's exit request while an editor holds typed
  // text: no question, nothing ends, the editor stays with its text and Save
  // still stores it.
  LRESULT requestAnswer = -1;
  bool openAfterExit = false;
  EXPECT_TRUE(DriveDialog("Fast Text", [&] { m_main->Command(IDM_ADD_FAST_TEXT); }, [&](HWND dialog) {
    TypeText(dialog, IDC_FAST_TEXT_TITLE, "Greeting");
    TypeText(dialog, IDC_FAST_TEXT_TEXT, "Hello");
    SendMessageA(m_main->Handle(), WM_COMMAND, IDM_EXIT, 0);
    requestAnswer = SendMessageA(m_main->Handle(), exitRequest, 0, 0);
    openAfterExit = IsWindow(dialog) && IsWindowVisible(dialog) && GetForegroundWindow() == dialog;
    Press(dialog, IDC_FAST_TEXT_SAVE);
  }));
  EXPECT_TRUE(openAfterExit);
  EXPECT_EQ(requestAnswer, kExitRequestRefused);
  EXPECT_EQ(ended, 0);
  EXPECT_TRUE(m_boxes.shown.empty()) << "Exit asked while an editor was open";
  ASSERT_EQ(m_main->Rows().size(), 1u);
  EXPECT_EQ(m_main->Rows()[0].texts[1], "Greeting");

  // A dialog whose window is destroyed under it was cancelled: no
  // "Error x578" box.
  int result = -1;
  EXPECT_TRUE(DriveDialog("Fast Text", [&] { result = OpenFastTextEditor(m_main->Handle(), false); },
                          [&](HWND dialog) { DestroyWindow(dialog); }));
  EXPECT_EQ(result, 2);
  EXPECT_TRUE(m_boxes.shown.empty());
  EXPECT_TRUE(IsWindowEnabled(m_main->Handle())) << "the main window was left without input";

  // The About box and a modeless window without owner (as a reminder or a
  // find window is) hold nothing unsaved: Exit asks, the request ends.
  HWND about = ShowAboutDialog(m_main->Handle());
  ASSERT_NE(about, nullptr);
  HWND modeless = CreateWindowExA(0, "#32770", "Find", WS_POPUP | WS_CAPTION | WS_VISIBLE, 10, 10, 200, 100,
                                  nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(modeless, nullptr);
  m_boxes.answer = kIdYes;
  m_main->Command(IDM_EXIT);
  ASSERT_EQ(m_boxes.shown.size(), 1u);
  EXPECT_EQ(m_boxes.shown[0].text, "Would you like to Exit Quillmate?");
  EXPECT_EQ(ended, 1);
  EXPECT_EQ(SendMessageA(m_main->Handle(), exitRequest, 0, 0), kExitRequestAccepted);
  EXPECT_EQ(ended, 2);
  DestroyWindow(modeless);
  DestroyWindow(about);
}

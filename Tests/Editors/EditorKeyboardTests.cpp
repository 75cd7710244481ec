// The editors from the keyboard, each key posted to the focused control and
// taken by the dialog's own modal loop as a typed key would be: F1 opens the
// help at the editor's kind, Ctrl+P prints from the text note editor and
// does nothing in an editor that cannot print, and after a "Please Fill…"
// box the focus is in the first empty required field.
#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <vector>

#include "Editors/PrinterChoice.h"
#include "Managers/CEditorDialog.h"
#include "Managers/PhotoAlbum.h"
#include "Managers/RecordManager.h"
#include "Records/RecordText.h"
#include "Resources/FastTextEditorIds.h"
#include "Resources/MainWindowIds.h"
#include "Resources/PhotoAlbumIds.h"
#include "Resources/TextNoteEditorIds.h"
#include "Resources/TimeNotificationEditorIds.h"
#include "Support/DialogDriver.h"
#include "Support/TestMainWindow.h"
#include "Support/TypedInput.h"

using namespace qmtest;

namespace {

struct Editor {
  int newCommand;
  const char* caption;
  int cancelId;
  RecordKind kind;
};

const Editor kTextNote = {IDM_ADD_TEXT_NOTE, "Text Note", IDC_TEXT_NOTE_CANCEL, RecordKind::TextNote};
const Editor kFastText = {IDM_ADD_FAST_TEXT, "Fast Text", IDC_FAST_TEXT_CANCEL, RecordKind::FastText};
const Editor kTimeNotification = {IDM_ADD_TIME_NOTIFICATION, "Time Notification", IDC_TIME_NOTIFICATION_CANCEL,
                                  RecordKind::TimeNotif};

const Editor kPhotoAlbum = {IDM_PREVIEW_PHOTO_ALBUM, "Photo Album", IDC_PHOTO_CLOSE, RecordKind::PhotoAlbum};

const Editor* gEditor = nullptr;
std::vector<RecordKind> gHelpKinds;
int gPrintDialogs = 0;

// Each stand-in closes the editor, so a key that does nothing shows as a
// dialog that had to be closed by the driver's bound.
void CloseEditor() {
  if (HWND dialog = FindDialog(gEditor->caption)) PostMessageA(dialog, WM_COMMAND, gEditor->cancelId, 0);
}

void RecordHelp(HWND, RecordKind kind) {
  gHelpKinds.push_back(kind);
  CloseEditor();
}

BOOL WINAPI CancelPrint(PRINTDLGA*) {
  ++gPrintDialogs;
  CloseEditor();
  return FALSE;
}

class EditorKeyboardTest : public MainWindowTest {
 protected:
  void SetUp() override {
    MainWindowTest::SetUp();
    gHelpKinds.clear();
    gPrintDialogs = 0;
    m_savedPrintDialog = gPrintDialog;
    gPrintDialog = CancelPrint;
    CEditorDialog::SetHelpOpener(RecordHelp);
    // The text note's body, as start-up loads it.
    m_richEdit = LoadLibraryA("RICHED20.DLL");
  }
  void TearDown() override {
    CEditorDialog::SetHelpOpener(nullptr);
    gPrintDialog = m_savedPrintDialog;
    if (m_richEdit) FreeLibrary(m_richEdit);
    MainWindowTest::TearDown();
  }

  // Opens the editor and presses key (with Ctrl when asked) in its focused
  // control. True when a stand-in closed the editor in time.
  bool PressIn(const Editor& editor, WPARAM key, bool control) {
    gEditor = &editor;
    return DriveDialog(editor.caption, [&] { m_main->Command(editor.newCommand); },
                       [&](HWND dialog) {
                         SetForegroundWindow(dialog);
                         TypeKey(static_cast<WORD>(key), control ? VK_CONTROL : 0);
                       },
                       1500);
  }

 private:
  PrintDialogFunction m_savedPrintDialog = nullptr;
  HMODULE m_richEdit = nullptr;
};

}  // namespace

TEST_F(EditorKeyboardTest, F1OpensTheHelpAtTheEditorsKind) {
  EXPECT_TRUE(PressIn(kTextNote, VK_F1, false));
  EXPECT_TRUE(PressIn(kFastText, VK_F1, false));
  EXPECT_TRUE(PressIn(kTimeNotification, VK_F1, false));
  EXPECT_EQ(gHelpKinds, (std::vector<RecordKind>{RecordKind::TextNote, RecordKind::FastText, RecordKind::TimeNotif}));
  EXPECT_EQ(gPrintDialogs, 0);
}

TEST_F(EditorKeyboardTest, CtrlPPrintsFromTheTextNoteEditorOnly) {
  EXPECT_TRUE(PressIn(kTextNote, 'P', true));
  EXPECT_EQ(gPrintDialogs, 1);
  // P alone is typed into the note, not a print.
  EXPECT_FALSE(PressIn(kTextNote, 'P', false)) << "closed by the bound, as nothing printed";
  EXPECT_EQ(gPrintDialogs, 1);
  // The fast text editor does not print: Ctrl+P there does nothing.
  EXPECT_FALSE(PressIn(kFastText, 'P', true));
  EXPECT_EQ(gPrintDialogs, 1);
}

TEST_F(EditorKeyboardTest, CtrlPPrintsFromThePhotoDialog) {
  // A photo that cannot be decoded opens without a box; the print dialog
  // is asked all the same.
  const std::string source = m_folder.Path().string() + "\\dunes.bmp";
  { std::ofstream(source) << "not a picture"; }
  AddPhoto(m_main->Handle(), "Dunes", "windy", source, true);
  EXPECT_TRUE(PressIn(kPhotoAlbum, 'P', true));
  EXPECT_EQ(gPrintDialogs, 1);
  EXPECT_TRUE(m_boxes.shown.empty());
}

TEST_F(EditorKeyboardTest, AfterAPleaseFillBoxTheFocusIsInTheFirstEmptyRequiredField) {
  // Title and text empty: the title; the title typed: the text.
  int firstFocus = 0, secondFocus = 0;
  ASSERT_TRUE(DriveDialog("Fast Text", [this] { m_main->Command(IDM_ADD_FAST_TEXT); },
                          [&](HWND dialog) {
                            Press(dialog, IDC_FAST_TEXT_SAVE);
                            firstFocus = GetDlgCtrlID(GetFocus());
                            TypeText(dialog, IDC_FAST_TEXT_TITLE, "Greeting");
                            Press(dialog, IDC_FAST_TEXT_SAVE);
                            secondFocus = GetDlgCtrlID(GetFocus());
                            // Nothing left unsaved, so Cancel closes without the discard question.
                            TypeText(dialog, IDC_FAST_TEXT_TITLE, "");
                            Press(dialog, IDC_FAST_TEXT_CANCEL);
                          }));
  EXPECT_EQ(firstFocus, IDC_FAST_TEXT_TITLE);
  EXPECT_EQ(secondFocus, IDC_FAST_TEXT_TEXT);
  // The text note's body is a rich edit; it takes the focus the same way.
  ASSERT_TRUE(DriveDialog("Text Note", [this] { m_main->Command(IDM_ADD_TEXT_NOTE); },
                          [&](HWND dialog) {
                            TypeText(dialog, IDC_TEXT_NOTE_TITLE, "Title only");
                            Press(dialog, IDC_TEXT_NOTE_SAVE);
                            firstFocus = GetDlgCtrlID(GetFocus());
                            TypeText(dialog, IDC_TEXT_NOTE_TITLE, "");
                            Press(dialog, IDC_TEXT_NOTE_CANCEL);
                          }));
  EXPECT_EQ(firstFocus, IDC_TEXT_NOTE_BODY);
  ASSERT_EQ(m_boxes.shown.size(), 3u);
  for (const ShownBox& box : m_boxes.shown) EXPECT_EQ(box.text, "Please Fill in All Fields.");
}

TEST_F(EditorKeyboardTest, EnterInThePhotosTitleUpdatesItAndEscCloses) {
  // A photo the dialog cannot decode: it says so and stays open for the
  // title and the comment.
  const std::string source = m_folder.Path().string() + "\\beach.xyz";
  { std::ofstream(source) << "not a picture"; }
  AddPhoto(m_main->Handle(), "Beach", "sunny", source, true);
  m_main->FocusRow(0);
  bool acted = false;
  DriveDialog("Photo Album", [this] { m_main->Command(IDM_EDIT_PHOTO); },
              [&](HWND dialog) {
                acted = true;
                SetForegroundWindow(dialog);
                SetFocus(GetDlgItem(dialog, IDC_PHOTO_TITLE));
                TypeText(dialog, IDC_PHOTO_TITLE, "Beach at noon");
                TypeKey(VK_RETURN);
                TypeKey(VK_ESCAPE);
              });
  ASSERT_TRUE(acted);
  EXPECT_EQ(FindDialog("Photo Album"), nullptr) << "Esc closed it";
  auto stored = StoredRecords<DatabaseDataPhotoAlbum>();
  ASSERT_EQ(stored.size(), 1u);
  EXPECT_EQ(RecordTextOf(stored[0].second.title), "Beach at noon") << "Enter pressed Update";
}

// The editor, dialog 3000, driven through its controls inside its own modal
// loop: a formatted note round-trips through its RTF attachment, edits reach
// record, row and file, the toolbar follows the selection, Bullet follows
// its indent rules, and a body that cannot be written costs nothing stored.
//
// Wine's rich edit applies a character format given to part of the text to
// the whole text (a selection of "abc" from 1 to 2 made bold gives "\b abc"
// in the RTF), so character formats are tested on the whole body, and mixed
// character formats only as loaded from RTF, which Wine reads correctly.
#include <windows.h>

#include <commctrl.h>

#include <cstring>
#include <filesystem>
#include <utility>

#include "Editors/TextNoteEditor.h"
#include "Library/CListView.h"
#include "Managers/KindManager.h"
#include "Records/RecordText.h"
#include "Resources/MainWindowIds.h"
#include "Resources/TextNoteEditorIds.h"
#include "Support/FileBytes.h"
#include "TextNoteTestSupport.h"

using namespace qmtextnote;

namespace {

int ChosenType(HWND dialog) {
  return static_cast<int>(SendDlgItemMessageA(dialog, IDC_TEXT_NOTE_TYPE, CB_GETCURSEL, 0, 0));
}

std::string BodyText(HWND richEdit) {
  GETTEXTLENGTHEX lengthRequest = {GTL_NUMCHARS | GTL_PRECISE, CP_ACP};
  const auto length = SendMessageA(richEdit, EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&lengthRequest), 0);
  std::string text(static_cast<std::size_t>(length) + 1, '\0');
  GETTEXTEX request = {static_cast<DWORD>(text.size()), GT_DEFAULT, CP_ACP, nullptr, nullptr};
  SendMessageA(richEdit, EM_GETTEXTEX, reinterpret_cast<WPARAM>(&request), reinterpret_cast<LPARAM>(&text[0]));
  text.resize(std::strlen(text.c_str()));
  return text;
}

// Left, centred and right paragraphs; "bold" in the first is bold.
const char kMixedNote[] =
    "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Arial;}}\n"
    "\\pard\\ql\\f0\\fs20 plain \\b bold\\b0  plain\\par\n"
    "\\pard\\qc centre\\par\n"
    "\\pard\\qr right\\par\n}";

}  // namespace

TEST_F(TextNoteTest, AFormattedNewNoteSavesRtfThatAFreshControlReadsBackWithTheSameFormats) {
  m_main->Command(IDM_SHOW_PHOTOS);  // adding shows the text notes
  HWND editor = nullptr;
  int typeOnOpen = -1;
  std::string faceChosen;
  ASSERT_TRUE(DriveEditor([this] { m_main->Command(IDM_ADD_TEXT_NOTE); },
                          [&](HWND dialog) {
                            editor = dialog;
                            typeOnOpen = ChosenType(dialog);
                            TypeText(dialog, IDC_TEXT_NOTE_TITLE, "Garden plans");
                            qmtest::ChooseListItem(dialog, IDC_TEXT_NOTE_TYPE, 1);
                            TypeIntoBody(dialog, "Seeds and beans\rCompost");
                            SelectInBody(dialog, 0, -1);
                            PressTool(dialog, IDM_TEXT_BOLD);
                            PressTool(dialog, IDM_TEXT_ITALIC);
                            PressTool(dialog, IDM_TEXT_UNDERLINE);
                            PressTool(dialog, IDM_TEXT_COLOR);
                            for (const char* face : {"Courier New", "Tahoma", "Arial"}) {
                              if (ChooseInBox(dialog, IDC_TEXT_NOTE_FACE, face)) {
                                faceChosen = face;
                                break;
                              }
                            }
                            ChooseInBox(dialog, IDC_TEXT_NOTE_SIZE, "36");
                            SelectInBody(dialog, 17, 17);  // in "Compost"
                            PressTool(dialog, IDM_TEXT_BULLET);
                            PressTool(dialog, IDM_TEXT_CENTER);
                            Press(dialog, IDC_TEXT_NOTE_SAVE);
                          }));
  EXPECT_EQ(typeOnOpen, 0);
  EXPECT_EQ(m_colourRequests, 1);
  ASSERT_FALSE(faceChosen.empty()) << "the face box lists none of the faces tried";
  EXPECT_TRUE(m_boxes.shown.empty());

  // The record holds the title, the type and the bare name of a file in the
  // text-note folder; the row was appended to the text notes.
  std::vector<DatabaseDataTextNote> notes = StoredNotes();
  ASSERT_EQ(notes.size(), 1u);
  EXPECT_EQ(RecordTextOf(notes[0].title), "Garden plans");
  EXPECT_EQ(notes[0].noteType, 1);
  const std::string name = RecordTextOf(notes[0].fileName);
  EXPECT_EQ(name.rfind("TextNote", 0), 0u);
  EXPECT_EQ(name.substr(name.size() - 4), ".doc");
  EXPECT_EQ(name.find('\\'), std::string::npos);
  EXPECT_EQ(CurrentKind(), static_cast<int>(RecordKind::TextNote));
  std::vector<Row> rows = m_main->Rows();
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0].texts[1], "Garden plans");
  EXPECT_EQ(rows[0].texts[2], "Urgent Note");

  const std::string rtf = qmtest::ReadFileText(NotePath(name));
  ASSERT_EQ(rtf.rfind("{\\rtf", 0), 0u) << rtf;
  LooseRichEdit fresh(qmtest::ReadFileText(NotePath(name)));
  EXPECT_EQ(BodyText(fresh.Handle()), "Seeds and beans\rCompost");
  const std::vector<CharFormatAt> formats = FormatsOf(fresh.Handle());
  ASSERT_GE(formats.size(), 23u);
  for (std::size_t i = 0; i < 23; ++i) {
    SCOPED_TRACE(i);
    const CharFormatAt& at = formats[i];
    if (at.character == '\r') continue;
    EXPECT_EQ(at.effects & (CFE_BOLD | CFE_ITALIC | CFE_UNDERLINE | CFE_AUTOCOLOR),
              static_cast<DWORD>(CFE_BOLD | CFE_ITALIC | CFE_UNDERLINE));
    EXPECT_EQ(at.colour, RGB(200, 30, 30));
    EXPECT_EQ(at.height, 720);
    EXPECT_EQ(at.face, faceChosen);
    const bool secondParagraph = i >= 16;
    EXPECT_EQ(at.numbering, secondParagraph ? PFN_BULLET : 0);
    EXPECT_EQ(at.alignment, secondParagraph ? PFA_CENTER : PFA_LEFT);
  }
}

TEST_F(TextNoteTest, EditingOpensTheStoredNoteTheToolbarFollowsTheCaretAndSavingChangesRecordRowAndFile) {
  StoreNote("Other", 0, "TextNote1.doc", "{\\rtf1 other}");
  const std::uint32_t address = StoreNote("Mixed", 1, "TextNote2.doc", kMixedNote);
  FocusNote(address);

  std::string title, body;
  int type = -1;
  bool boldInBold = false, boldOutside = true;
  std::vector<bool> alignmentPressed;
  std::string sizeShown;
  ASSERT_TRUE(DriveEditor([this] { m_main->Command(IDM_EDIT_TEXT_NOTE); },
                          [&](HWND dialog) {
                            title = TextOf(dialog, IDC_TEXT_NOTE_TITLE);
                            type = ChosenType(dialog);
                            body = BodyText(BodyOf(dialog));
                            SelectInBody(dialog, 8, 8);  // inside "bold"
                            NotifyKey(dialog);
                            boldInBold = IsToolPressed(dialog, IDM_TEXT_BOLD);
                            sizeShown = TextOf(ToolbarOf(dialog), IDC_TEXT_NOTE_SIZE);
                            SelectInBody(dialog, 1, 1);  // in "plain"
                            NotifyKey(dialog);
                            boldOutside = IsToolPressed(dialog, IDM_TEXT_BOLD);
                            for (int position : {1, 19, 26}) {  // left, centre, right paragraphs
                              SelectInBody(dialog, position, position);
                              NotifyKey(dialog);
                              for (int command : {IDM_TEXT_LEFT, IDM_TEXT_CENTER, IDM_TEXT_RIGHT}) {
                                alignmentPressed.push_back(IsToolPressed(dialog, command));
                              }
                            }
                            TypeText(dialog, IDC_TEXT_NOTE_TITLE, "Mixed, changed");
                            qmtest::ChooseListItem(dialog, IDC_TEXT_NOTE_TYPE, 0);
                            SelectInBody(dialog, -1, -1);
                            TypeIntoBody(dialog, "added");
                            Press(dialog, IDC_TEXT_NOTE_SAVE);
                          }));
  EXPECT_EQ(title, "Mixed");
  EXPECT_EQ(type, 1);
  EXPECT_EQ(body, "plain bold plain\rcentre\rright");
  EXPECT_TRUE(boldInBold);
  EXPECT_FALSE(boldOutside);
  EXPECT_EQ(sizeShown, "10");
  EXPECT_EQ(alignmentPressed,
            (std::vector<bool>{true, false, false, false, true, false, false, false, true}));

  // Changed in place: the record (same file name), its row, and the file.
  std::vector<DatabaseDataTextNote> notes = StoredNotes();
  ASSERT_EQ(notes.size(), 2u);
  EXPECT_EQ(RecordTextOf(notes[1].title), "Mixed, changed");
  EXPECT_EQ(notes[1].noteType, 0);
  EXPECT_EQ(RecordTextOf(notes[1].fileName), "TextNote2.doc");
  EXPECT_EQ(RecordTextOf(notes[0].title), "Other");
  const int row = m_main->RowOf(address);
  ASSERT_GE(row, 0);
  EXPECT_EQ(m_main->Rows()[static_cast<std::size_t>(row)].texts[1], "Mixed, changed");
  EXPECT_EQ(m_main->Rows()[static_cast<std::size_t>(row)].texts[2], "Normal Note");
  LooseRichEdit fresh(qmtest::ReadFileText(NotePath("TextNote2.doc")));
  const std::string saved = BodyText(fresh.Handle());
  EXPECT_EQ(saved.find("plain bold plain\rcentre\rright"), 0u) << saved;
  EXPECT_NE(saved.find("added"), std::string::npos) << saved;
  EXPECT_EQ(ParagraphFormatAt(fresh.Handle(), 19).wAlignment, PFA_CENTER);
  EXPECT_EQ(qmtest::ReadFileText(NotePath("TextNote1.doc")), "{\\rtf1 other}");

  // The same editor opens by the generic edit command and by a double click,
  // and not at all without a focused row.
  for (bool doubleClick : {false, true}) {
    FocusNote(address);
    EXPECT_TRUE(DriveEditor(
        [&] { doubleClick ? m_main->DoubleClickRecordList() : m_main->Command(IDM_EDIT_CURRENT); },
        [&](HWND dialog) {
          EXPECT_EQ(TextOf(dialog, IDC_TEXT_NOTE_TITLE), "Mixed, changed");
          Press(dialog, IDC_TEXT_NOTE_CANCEL);
        }));
  }
  CListView(m_main->Handle(), ID_RECORD_LIST).SetItemState(-1, 0, LVIS_FOCUSED | LVIS_SELECTED);
  EXPECT_FALSE(DriveEditor([this] { m_main->Command(IDM_EDIT_TEXT_NOTE); },
                           [](HWND dialog) { Press(dialog, IDC_TEXT_NOTE_CANCEL); }));
}

TEST_F(TextNoteTest, BulletFollowsItsIndentRulesAndEmptyFieldsKeepTheDialogOpenWithNothingStored) {
  std::vector<PARAFORMAT2> afterPress;
  HWND editor = nullptr;
  bool openAfterTitleOnly = false, openAfterBodyOnly = false;
  ASSERT_TRUE(DriveEditor([this] { m_main->Command(IDM_ADD_TEXT_NOTE); },
                          [&](HWND dialog) {
                            editor = dialog;
                            HWND body = BodyOf(dialog);
                            TypeIntoBody(dialog, "first\rsecond");
                            SelectInBody(dialog, 1, 1);
                            PressTool(dialog, IDM_TEXT_BULLET);  // plain, no offset: 4 twips
                            afterPress.push_back(ParagraphFormatAt(body, 1));
                            PARAFORMAT2 indented = {};
                            indented.cbSize = sizeof indented;
                            indented.dwMask = PFM_STARTINDENT | PFM_OFFSET;
                            indented.dxStartIndent = 360;
                            indented.dxOffset = 180;
                            SendMessageA(body, EM_SETPARAFORMAT, 0, reinterpret_cast<LPARAM>(&indented));
                            SelectInBody(dialog, 1, 1);
                            PressTool(dialog, IDM_TEXT_BULLET);  // bulleted: all back to 0
                            afterPress.push_back(ParagraphFormatAt(body, 1));
                            SelectInBody(dialog, 8, 8);
                            SendMessageA(body, EM_SETPARAFORMAT, 0, reinterpret_cast<LPARAM>(&indented));
                            PressTool(dialog, IDM_TEXT_BULLET);  // plain with an offset: kept
                            afterPress.push_back(ParagraphFormatAt(body, 8));
                            afterPress.push_back(ParagraphFormatAt(body, 1));

                            Press(dialog, IDC_TEXT_NOTE_SAVE);  // no title
                            openAfterTitleOnly = IsWindowVisible(dialog) != 0;
                            TypeText(dialog, IDC_TEXT_NOTE_TITLE, "Title");
                            SetWindowTextA(body, "");
                            Press(dialog, IDC_TEXT_NOTE_SAVE);  // no body
                            openAfterBodyOnly = TextOf(dialog, IDC_TEXT_NOTE_TITLE) == "Title";
                            m_boxes.answer = kIdYes;  // to the discard question
                            Press(dialog, IDC_TEXT_NOTE_CANCEL);
                          }));
  ASSERT_EQ(afterPress.size(), 4u);
  EXPECT_EQ(afterPress[0].wNumbering, PFN_BULLET);
  EXPECT_EQ(afterPress[0].dxOffset, 4);
  EXPECT_EQ(afterPress[0].dxStartIndent, 0);
  EXPECT_EQ(afterPress[1].wNumbering, 0);
  EXPECT_EQ(afterPress[1].dxStartIndent, 0);
  EXPECT_EQ(afterPress[1].dxOffset, 0);
  EXPECT_EQ(afterPress[2].wNumbering, PFN_BULLET);
  EXPECT_EQ(afterPress[2].dxStartIndent, 360);
  EXPECT_EQ(afterPress[2].dxOffset, 180);
  EXPECT_EQ(afterPress[3].wNumbering, 0);  // the other paragraph untouched

  EXPECT_TRUE(openAfterTitleOnly);
  EXPECT_TRUE(openAfterBodyOnly);
  ASSERT_EQ(m_boxes.shown.size(), 3u);
  EXPECT_EQ(m_boxes.shown[2].text, "Discard the changes to this text note?");
  m_boxes.shown.pop_back();
  for (const ShownBox& box : m_boxes.shown) {
    EXPECT_EQ(box.text, "Please Fill in All Fields.");
    EXPECT_EQ(box.caption, "Quillmate");
    EXPECT_EQ(box.style & 0xF0u, kMbIconInformation);
    EXPECT_EQ(box.owner, editor);
  }
  EXPECT_TRUE(StoredNotes().empty());
  EXPECT_TRUE(std::filesystem::is_empty(gTextNoteFolder));
}

TEST_F(TextNoteTest, AMissingBodyOpensEmptyAndIsWrittenOnSaveAndABodyThatCannotBeWrittenCostsNothing) {
  const std::uint32_t address = StoreNote("Lost body", 0, "TextNote7.doc", nullptr);
  FocusNote(address);
  std::string bodyOnOpen = "?";
  ASSERT_TRUE(DriveEditor([this] { m_main->Command(IDM_EDIT_TEXT_NOTE); },
                          [&](HWND dialog) {
                            bodyOnOpen = BodyText(BodyOf(dialog));
                            TypeIntoBody(dialog, "Found again");
                            Press(dialog, IDC_TEXT_NOTE_SAVE);
                          }));
  EXPECT_EQ(bodyOnOpen, "");
  {
    LooseRichEdit fresh(qmtest::ReadFileText(NotePath("TextNote7.doc")));
    EXPECT_EQ(BodyText(fresh.Handle()).find("Found again"), 0u);
  }
  const std::string goodBody = qmtest::ReadFileText(NotePath("TextNote7.doc"));

  // A read-only body still opens (it is only read).
  const std::string path = NotePath("TextNote7.doc");
  SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY);
  FocusNote(address);
  ASSERT_TRUE(DriveEditor([this] { m_main->Command(IDM_EDIT_TEXT_NOTE); },
                          [&](HWND dialog) {
                            bodyOnOpen = BodyText(BodyOf(dialog));
                            Press(dialog, IDC_TEXT_NOTE_CANCEL);
                          }));
  SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  EXPECT_EQ(bodyOnOpen.find("Found again"), 0u);

  // A body held open by another program cannot be replaced: the box names
  // the file error, the dialog stays open, and record, row and file stay as
  // they were.
  HWND editor = nullptr;
  bool stayedOpen = false;
  ASSERT_TRUE(DriveEditor([this] { m_main->Command(IDM_EDIT_TEXT_NOTE); },
                          [&](HWND dialog) {
                            editor = dialog;
                            HANDLE held = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                                      FILE_ATTRIBUTE_NORMAL, nullptr);
                            EXPECT_NE(held, INVALID_HANDLE_VALUE);
                            TypeText(dialog, IDC_TEXT_NOTE_TITLE, "Renamed");
                            TypeIntoBody(dialog, "more ");
                            Press(dialog, IDC_TEXT_NOTE_SAVE);
                            stayedOpen = TextOf(dialog, IDC_TEXT_NOTE_TITLE) == "Renamed";
                            CloseHandle(held);
                            m_boxes.answer = kIdYes;  // to the discard question
                            Press(dialog, IDC_TEXT_NOTE_CANCEL);
                          }));
  EXPECT_TRUE(stayedOpen);
  ASSERT_EQ(m_boxes.shown.size(), 2u);
  EXPECT_EQ(m_boxes.shown[1].text, "Discard the changes to this text note?");
  EXPECT_EQ(m_boxes.shown[0].caption, "Quillmate");
  EXPECT_EQ(m_boxes.shown[0].style & 0xF0u, kMbIconError);
  EXPECT_EQ(m_boxes.shown[0].owner, editor);
  EXPECT_FALSE(m_boxes.shown[0].text.empty());
  EXPECT_EQ(RecordTextOf(StoredNotes()[0].title), "Lost body");
  EXPECT_EQ(m_main->Rows()[0].texts[1], "Lost body");
  EXPECT_EQ(qmtest::ReadFileText(path), goodBody);
  EXPECT_FALSE(std::filesystem::exists(path + ".new"));

  // The folder removed: a new note is not added.
  std::filesystem::remove_all(gTextNoteFolder);
  m_boxes.shown.clear();
  ASSERT_TRUE(DriveEditor([this] { m_main->Command(IDM_ADD_TEXT_NOTE); },
                          [&](HWND dialog) {
                            TypeText(dialog, IDC_TEXT_NOTE_TITLE, "Nowhere");
                            TypeIntoBody(dialog, "to go");
                            Press(dialog, IDC_TEXT_NOTE_SAVE);
                            stayedOpen = TextOf(dialog, IDC_TEXT_NOTE_TITLE) == "Nowhere";
                            Press(dialog, IDC_TEXT_NOTE_CANCEL);
                          }));
  EXPECT_TRUE(stayedOpen);
  ASSERT_EQ(m_boxes.shown.size(), 2u);
  EXPECT_EQ(m_boxes.shown[1].text, "Discard the changes to this text note?");
  EXPECT_EQ(m_boxes.shown[0].style & 0xF0u, kMbIconError);
  EXPECT_EQ(StoredNotes().size(), 1u);
  EXPECT_EQ(m_main->Rows().size(), 1u);
}

TEST_F(TextNoteTest, TheEditorOpensWithItsTenButtonsPicturesTooltipsFontListsAndTheFocusInTheBody) {
  struct Seen {
    int image, command, style, width;
  };
  std::vector<Seen> buttons;
  int images = 0;
  std::vector<std::string> tooltips;
  std::vector<std::pair<std::string, LRESULT>> sizes;
  int faces = 0;
  bool facesSorted = true;
  std::string repeatedFace;
  std::vector<std::string> types;
  bool focusInBody = false;
  std::string faceShown, sizeShown;
  ASSERT_TRUE(DriveEditor([this] { m_main->Command(IDM_ADD_TEXT_NOTE); },
                          [&](HWND dialog) {
                            focusInBody = GetFocus() == BodyOf(dialog);
                            HWND toolbar = ToolbarOf(dialog);
                            const int count = static_cast<int>(SendMessageA(toolbar, TB_BUTTONCOUNT, 0, 0));
                            for (int i = 0; i < count; ++i) {
                              TBBUTTON button = {};
                              SendMessageA(toolbar, TB_GETBUTTON, i, reinterpret_cast<LPARAM>(&button));
                              RECT place = {};
                              SendMessageA(toolbar, TB_GETITEMRECT, i, reinterpret_cast<LPARAM>(&place));
                              buttons.push_back({button.fsStyle & TBSTYLE_SEP ? -1 : button.iBitmap,
                                                 button.idCommand, button.fsStyle, place.right - place.left});
                              // The tooltip asked of the dialog as the toolbar's tooltips ask it.
                              NMTTDISPINFOA request = {};
                              request.hdr.hwndFrom = toolbar;
                              request.hdr.idFrom = static_cast<UINT_PTR>(button.idCommand);
                              request.hdr.code = TTN_NEEDTEXTA;
                              SendMessageA(GetParent(toolbar), WM_NOTIFY, request.hdr.idFrom,
                                           reinterpret_cast<LPARAM>(&request));
                              tooltips.emplace_back(request.lpszText ? request.lpszText : "");
                            }
                            images = ImageList_GetImageCount(
                                reinterpret_cast<HIMAGELIST>(SendMessageA(toolbar, TB_GETIMAGELIST, 0, 0)));
                            HWND size = GetDlgItem(toolbar, IDC_TEXT_NOTE_SIZE);
                            for (int i = 0; i < SendMessageA(size, CB_GETCOUNT, 0, 0); ++i) {
                              char text[16] = {};
                              SendMessageA(size, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
                              sizes.emplace_back(text, SendMessageA(size, CB_GETITEMDATA, i, 0));
                            }
                            HWND face = GetDlgItem(toolbar, IDC_TEXT_NOTE_FACE);
                            faces = static_cast<int>(SendMessageA(face, CB_GETCOUNT, 0, 0));
                            std::string previous;
                            for (int i = 0; i < faces; ++i) {
                              char text[LF_FACESIZE + 1] = {};
                              SendMessageA(face, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
                              if (lstrcmpiA(previous.c_str(), text) > 0) facesSorted = false;
                              // Sorted, a face listed twice lies next to itself.
                              if (i > 0 && previous == text) repeatedFace = text;
                              previous = text;
                            }
                            faceShown = TextOf(toolbar, IDC_TEXT_NOTE_FACE);
                            sizeShown = TextOf(toolbar, IDC_TEXT_NOTE_SIZE);
                            for (int i = 0; i < 2; ++i) {
                              char text[16] = {};
                              SendDlgItemMessageA(dialog, IDC_TEXT_NOTE_TYPE, CB_GETLBTEXT, i,
                                                  reinterpret_cast<LPARAM>(text));
                              types.emplace_back(text);
                            }
                            // Esc ends the dialog as Cancel does.
                            SendMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
                          }));
  EXPECT_TRUE(focusInBody);
  ASSERT_EQ(buttons.size(), 10u);
  const int expected[10][3] = {{17, IDM_TEXT_BOLD, TBSTYLE_CHECK},     {18, IDM_TEXT_ITALIC, TBSTYLE_CHECK},
                               {19, IDM_TEXT_UNDERLINE, TBSTYLE_CHECK}, {20, IDM_TEXT_COLOR, TBSTYLE_BUTTON},
                               {21, IDM_TEXT_LEFT, TBSTYLE_BUTTON},     {22, IDM_TEXT_CENTER, TBSTYLE_BUTTON},
                               {23, IDM_TEXT_RIGHT, TBSTYLE_BUTTON},    {24, IDM_TEXT_BULLET, TBSTYLE_BUTTON},
                               {-1, 0, TBSTYLE_SEP},                    {3, IDM_TEXT_PRINT, TBSTYLE_BUTTON}};
  for (int i = 0; i < 10; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(buttons[i].image, expected[i][0]);
    EXPECT_EQ(buttons[i].command, expected[i][1]);
    EXPECT_EQ(buttons[i].style, expected[i][2]);
    if (expected[i][0] >= 0) EXPECT_EQ(buttons[i].width, 28);
  }
  EXPECT_EQ(tooltips, (std::vector<std::string>{"Bold.", "Italic.", "Underline.", "Color.", "Left Align.",
                                                "Center Align.", "Right Align.", "Bullet.", "", "Print Note."}));
  EXPECT_EQ(images, 25);
  const std::vector<std::pair<std::string, LRESULT>> expectedSizes = {
      {"10", 0},  {"11", 1},  {"12", 2},  {"14", 4},  {"16", 6},  {"18", 8},  {"20", 10},
      {"22", 12}, {"24", 14}, {"26", 16}, {"28", 18}, {"36", 26}, {"48", 38}, {"72", 62}};
  EXPECT_EQ(sizes, expectedSizes);
  EXPECT_GT(faces, 0);
  EXPECT_TRUE(facesSorted);
  EXPECT_EQ(repeatedFace, "") << "each face is listed once";
  EXPECT_EQ(faceShown, "Arial");
  EXPECT_EQ(sizeShown, "10");
  EXPECT_EQ(types, (std::vector<std::string>{"Normal", "Urgent"}));
  EXPECT_TRUE(StoredNotes().empty());
}

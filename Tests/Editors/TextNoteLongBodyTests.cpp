// The text note editor with bodies past the rich edit's default limit of
// 32,767 characters (opened, typed into, saved and opened again whole), and
// a body whose file cannot be read to its end, which is told and never saved
// over.
#include <gtest/gtest.h>

#include <windows.h>
#include <richedit.h>

#include <string>

#include "Editors/RichTextFile.h"
#include "Records/RecordText.h"
#include "Resources/MainWindowIds.h"
#include "Resources/TextNoteEditorIds.h"
#include "Support/FileBytes.h"
#include "TextNoteTestSupport.h"

using namespace qmtextnote;

namespace {

// 1,010 paragraphs of 99 letters and a paragraph mark: 101,000 characters,
// of which the rich edit counts 100,999 (the last mark is the end of its
// text).
constexpr int kLongNoteLines = 1010;
constexpr long kLongNoteCharacters = kLongNoteLines * 100 - 1;
std::string LongNoteRtf() {
  std::string rtf = "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Arial;}}\\f0\\fs20 ";
  for (int line = 0; line < kLongNoteLines; ++line) {
    rtf += std::string(99, static_cast<char>('a' + line % 26));
    rtf += "\\par\n";
  }
  return rtf + "}";
}

long BodyLength(HWND dialog) {
  GETTEXTLENGTHEX request = {GTL_NUMCHARS | GTL_PRECISE, CP_ACP};
  return static_cast<long>(
      SendMessageA(BodyOf(dialog), EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&request), 0));
}

long BodyLimit(HWND dialog) {
  return static_cast<long>(SendMessageA(BodyOf(dialog), EM_GETLIMITTEXT, 0, 0));
}

std::string BodyRange(HWND dialog, long from, long to) {
  std::string text(static_cast<std::size_t>(to - from) + 1, '\0');
  TEXTRANGEA range = {{from, to}, &text[0]};
  SendMessageA(BodyOf(dialog), EM_GETTEXTRANGE, 0, reinterpret_cast<LPARAM>(&range));
  text.resize(static_cast<std::size_t>(to - from));
  return text;
}

// A key typed as the keyboard would: the character message to the body.
void TypeCharacter(HWND dialog, char character) {
  SendMessageA(BodyOf(dialog), WM_CHAR, static_cast<WPARAM>(static_cast<unsigned char>(character)), 1);
}

}  // namespace

TEST_F(TextNoteTest, ANoteLongerThanTheDefaultLimitOpensTakesTypingAndIsSavedWhole) {
  const std::uint32_t address = StoreNote("Long", 0, "TextNote9.doc", LongNoteRtf().c_str());
  // A new note may grow as long too.
  ASSERT_TRUE(DriveEditor([this] { m_main->Command(IDM_ADD_TEXT_NOTE); }, [&](HWND dialog) {
    EXPECT_EQ(BodyLimit(dialog), kRichTextCharacterLimit);
    Press(dialog, IDC_TEXT_NOTE_CANCEL);
  }));

  FocusNote(address);
  ASSERT_TRUE(DriveEditor([this] { m_main->Command(IDM_EDIT_TEXT_NOTE); }, [&](HWND dialog) {
    EXPECT_EQ(BodyLimit(dialog), kRichTextCharacterLimit);
    EXPECT_EQ(BodyLength(dialog), kLongNoteCharacters);
    // Paragraph 1,000 ('a' + 1000 % 26), far past the default limit.
    EXPECT_EQ(BodyRange(dialog, 100000, 100099), std::string(99, 'm'));
    SelectInBody(dialog, -1, -1);
    TypeCharacter(dialog, '!');
    Press(dialog, IDC_TEXT_NOTE_SAVE);
  }));

  long reopened = 0;
  std::string end;
  FocusNote(address);
  ASSERT_TRUE(DriveEditor([this] { m_main->Command(IDM_EDIT_TEXT_NOTE); }, [&](HWND dialog) {
    reopened = BodyLength(dialog);
    end = BodyRange(dialog, kLongNoteCharacters - 99, kLongNoteCharacters + 1);
    Press(dialog, IDC_TEXT_NOTE_CANCEL);
  }));
  EXPECT_EQ(reopened, kLongNoteCharacters + 1);
  // The last paragraph ('a' + 1009 % 26) and what was typed after it.
  EXPECT_EQ(end, std::string(99, 'v') + "!");
  EXPECT_TRUE(m_boxes.shown.empty());
}

TEST_F(TextNoteTest, ABodyThatCannotBeReadToItsEndIsToldByNameAndNeverSavedOver) {
  const std::uint32_t address = StoreNote("Damaged", 0, "TextNote11.doc", LongNoteRtf().c_str());
  const std::string path = NotePath("TextNote11.doc");
  const std::string before = qmtest::ReadFileText(path);
  FocusNote(address);
  HWND editor = nullptr;
  bool readOnly = false;
  long lengthOnOpen = -1;
  // The disk fails part-way through the file.
  FailRichTextReadsAfter(20000);
  ASSERT_TRUE(DriveEditor([this] { m_main->Command(IDM_EDIT_TEXT_NOTE); }, [&](HWND dialog) {
    FailRichTextReadsAfter(-1);
    editor = dialog;
    lengthOnOpen = BodyLength(dialog);
    readOnly = (GetWindowLongA(BodyOf(dialog), GWL_STYLE) & ES_READONLY) != 0;
    // Title and type can still be changed.
    TypeText(dialog, IDC_TEXT_NOTE_TITLE, "Damaged, looked at");
    SendDlgItemMessageA(dialog, IDC_TEXT_NOTE_TYPE, CB_SETCURSEL, 1, 0);
    Press(dialog, IDC_TEXT_NOTE_SAVE);
  }));
  FailRichTextReadsAfter(-1);
  ASSERT_EQ(m_boxes.shown.size(), 1u);
  EXPECT_EQ(m_boxes.shown[0].owner, editor);
  EXPECT_NE(m_boxes.shown[0].text.find(path), std::string::npos) << m_boxes.shown[0].text;
  EXPECT_NE(m_boxes.shown[0].text.find("nothing will be saved over it"), std::string::npos);
  EXPECT_EQ(m_boxes.shown[0].caption, "Quillmate");
  EXPECT_EQ(m_boxes.shown[0].style, kMbOk | kMbIconError);
  EXPECT_EQ(lengthOnOpen, 0);
  EXPECT_TRUE(readOnly);
  // The file is as it was; the record has its new title and type.
  EXPECT_EQ(qmtest::ReadFileText(path), before);
  ASSERT_EQ(StoredNotes().size(), 1u);
  EXPECT_EQ(RecordTextOf(StoredNotes()[0].title), "Damaged, looked at");
  EXPECT_EQ(StoredNotes()[0].noteType, 1);
  EXPECT_EQ(RecordTextOf(StoredNotes()[0].fileName), "TextNote11.doc");
}

// Bodies made to break the rich edit (groups nested 100,000 deep, closed or
// not; one control word of a megabyte) open through the real editor as an
// empty body with a box naming the file, and the file is only replaced when
// the user saves.
#include <windows.h>

#include <string>

#include "Resources/MainWindowIds.h"
#include "Resources/TextNoteEditorIds.h"
#include "Support/FileBytes.h"
#include "TextNoteTestSupport.h"

using namespace qmtextnote;

TEST_F(TextNoteTest, AHostileBodyOpensEmptyWithABoxNamingItsFileAndStaysUntilTheUserSaves) {
  const std::string deepClosed = "{\\rtf1" + std::string(100000, '{') + "x" + std::string(100001, '}');
  const std::string deepOpen = "{\\rtf1" + std::string(100000, '{') + "x";
  const std::string longWord = "{\\rtf1\\" + std::string(1 << 20, 'w') + " x}";
  struct Case {
    const std::string* body;
    const char* problem;
  };
  const Case cases[] = {{&deepClosed, "groups nested more than 1000 deep"},
                        {&deepOpen, "groups nested more than 1000 deep"},
                        {&longWord, "a control word longer than 32 letters"}};
  for (const Case& each : cases) {
    SCOPED_TRACE(each.problem);
    m_boxes.shown.clear();
    const std::uint32_t address = StoreNote("Crafted", 0, "TextNote9.doc", each.body->c_str());
    const std::string path = NotePath("TextNote9.doc");
    FocusNote(address);
    HWND editor = nullptr;
    int bodyLength = -1;
    std::size_t boxesAfterEmptySave = 0;
    ASSERT_TRUE(DriveEditor([this] { m_main->Command(IDM_EDIT_TEXT_NOTE); },
                            [&](HWND dialog) {
                              editor = dialog;
                              bodyLength = GetWindowTextLengthA(BodyOf(dialog));
                              // An empty body is not saved over the file.
                              Press(dialog, IDC_TEXT_NOTE_SAVE);
                              boxesAfterEmptySave = m_boxes.shown.size();
                              Press(dialog, IDC_TEXT_NOTE_CANCEL);
                            }));
    EXPECT_EQ(bodyLength, 0);
    ASSERT_EQ(boxesAfterEmptySave, 2u);
    EXPECT_EQ(m_boxes.shown[0].owner, editor);
    EXPECT_EQ(m_boxes.shown[0].caption, "Quillmate");
    EXPECT_EQ(m_boxes.shown[0].style & 0xF0u, kMbIconWarning);
    EXPECT_NE(m_boxes.shown[0].text.find(path), std::string::npos) << m_boxes.shown[0].text;
    EXPECT_NE(m_boxes.shown[0].text.find(each.problem), std::string::npos) << m_boxes.shown[0].text;
    EXPECT_EQ(m_boxes.shown[1].text, "Please Fill in All Fields.");
    EXPECT_EQ(qmtest::ReadFileText(path), *each.body);
  }

  // The user writes a new body and saves: that replaces the crafted file.
  const std::uint32_t address = StoreNote("Crafted", 0, "TextNote9.doc", deepOpen.c_str());
  FocusNote(address);
  ASSERT_TRUE(DriveEditor([this] { m_main->Command(IDM_EDIT_TEXT_NOTE); },
                          [&](HWND dialog) {
                            TypeIntoBody(dialog, "Written anew");
                            Press(dialog, IDC_TEXT_NOTE_SAVE);
                          }));
  const std::string saved = qmtest::ReadFileText(NotePath("TextNote9.doc"));
  EXPECT_NE(saved.find("Written anew"), std::string::npos);
  EXPECT_LT(saved.size(), 10000u);
}

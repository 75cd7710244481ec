// Helpers for the text note editor tests: a scratch data folder with the
// real main window, recorded message boxes, stand-ins for the colour and
// print dialogs, stored notes written behind the program's back, the body's
// formats read character by character, and a stand-in for the rich edit's
// page layout (Wine's EM_FORMATRANGE and EM_DISPLAYBAND are stubs that lay
// out nothing).
#ifndef QUILLMATE_TESTS_EDITORS_TEXTNOTETESTSUPPORT_H
#define QUILLMATE_TESTS_EDITORS_TEXTNOTETESTSUPPORT_H

#include <windows.h>
#include <commdlg.h>
#include <richedit.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "Library/CRichEdit.h"
#include "Records/DataFolders.h"
#include "Records/DatabaseData.h"
#include "Support/DialogDriver.h"
#include "Support/RecordedMessageBoxes.h"
#include "Support/ScratchFolder.h"
#include "Support/TestMainWindow.h"

namespace qmtextnote {

using qmtest::Press;
using qmtest::Row;
using qmtest::ShownBox;
using qmtest::TestMainWindow;
using qmtest::TextOf;
using qmtest::TypeText;

class TextNoteTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // A record written to the store directly, naming attachment (a bare file
  // name in the text-note folder); the file gets rtf unless rtf is null.
  std::uint32_t StoreNote(const std::string& title, int type, const std::string& attachment, const char* rtf);
  std::vector<DatabaseDataTextNote> StoredNotes() const;
  std::string NotePath(const std::string& attachment) const { return gTextNoteFolder + attachment; }
  // Shows the text notes and focuses the row of address.
  void FocusNote(std::uint32_t address) const;

  qmtest::ScratchFolder m_folder{"qm-textnote"};
  qmtest::RecordedMessageBoxes m_boxes{qmtest::RecordedMessageBoxes::kDefaultButton};
  std::unique_ptr<ScopedApplicationDataFolder> m_appData;
  std::unique_ptr<TestMainWindow> m_main;

 public:
  // What the colour dialog stand-in answers, and how often it was asked.
  COLORREF m_chosenColour = RGB(200, 30, 30);
  int m_colourRequests = 0;
};

// Works the editor ("Text Note") from inside its modal loop; see
// qmtest::DriveDialog.
bool DriveEditor(const std::function<void()>& open, const std::function<void(HWND dialog)>& act);

// The body of the editor and its toolbar, as a user works them.
HWND BodyOf(HWND dialog);
HWND ToolbarOf(HWND dialog);
void TypeIntoBody(HWND dialog, const std::string& text);
void SelectInBody(HWND dialog, int start, int end);
// A toolbar button pressed (the command the toolbar sends its parent).
void PressTool(HWND dialog, int command);
bool IsToolPressed(HWND dialog, int command);
// Chooses the entry of the face (1032) or size (1033) box whose text is
// text; false when it has none.
bool ChooseInBox(HWND dialog, int boxId, const std::string& text);
// A key released in the body, which tells the editor that the caret moved.
void NotifyKey(HWND dialog);

// One character's formats as a rich edit control reports them.
struct CharFormatAt {
  char character;
  DWORD effects;
  COLORREF colour;
  LONG height;
  std::string face;
  WORD numbering;
  WORD alignment;
};
std::vector<CharFormatAt> FormatsOf(HWND richEdit);
PARAFORMAT2 ParagraphFormatAt(HWND richEdit, int position);

// A fresh rich edit control of a hidden window of its own, holding text; a
// text that starts with {\rtf is read as RTF by the control itself, not by
// the editor's code.
class LooseRichEdit {
 public:
  explicit LooseRichEdit(const std::string& text);
  ~LooseRichEdit();
  LooseRichEdit(const LooseRichEdit&) = delete;
  LooseRichEdit& operator=(const LooseRichEdit&) = delete;
  HWND Handle() const { return m_edit; }
  CRichEdit Control() const { return CRichEdit(m_parent, 1); }

 private:
  HWND m_parent;
  HWND m_edit;
};

// Lays the body out as a printer would, in place of the control's own
// EM_FORMATRANGE while the object lives: each paragraph is one line of
// lineTwips, a page takes the lines that fit into the rectangle it is given,
// and a rendered range draws its text into the device context. With
// lineTwips 0 it lays out nothing, as Wine's stub does.
class PageLayoutStandIn {
 public:
  struct Call {
    bool render;
    HDC hdc;
    RECT rc;
    RECT rcPage;
    LONG from;
    LONG next;
  };

  PageLayoutStandIn(HWND richEdit, LONG lineTwips);
  ~PageLayoutStandIn();
  PageLayoutStandIn(const PageLayoutStandIn&) = delete;
  PageLayoutStandIn& operator=(const PageLayoutStandIn&) = delete;

  std::vector<Call> calls;
  int releases = 0;
  int bands = 0;

 private:
  static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT Layout(bool render, const FORMATRANGE* range);

  HWND m_edit;
  LONG m_lineTwips;
  WNDPROC m_previous;
};

// The document calls of the printing, counted instead of sent to a device.
class RecordedPrintJob {
 public:
  RecordedPrintJob();
  ~RecordedPrintJob();
  RecordedPrintJob(const RecordedPrintJob&) = delete;
  RecordedPrintJob& operator=(const RecordedPrintJob&) = delete;

  std::vector<std::string> documents;  // names of started documents
  int pagesStarted = 0;
  int pagesEnded = 0;
  int documentsEnded = 0;
  int documentsAborted = 0;
};

}  // namespace qmtextnote

#endif  // QUILLMATE_TESTS_EDITORS_TEXTNOTETESTSUPPORT_H

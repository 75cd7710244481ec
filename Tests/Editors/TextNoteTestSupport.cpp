// The fixture, the stand-ins and the readers of the text note tests.
#include "TextNoteTestSupport.h"

#include <commctrl.h>

#include <cstring>

#include "Editors/RichTextPrinter.h"
#include "Editors/TextNoteEditor.h"
#include "Managers/KindManager.h"
#include "Records/DatabaseObject.h"
#include "Records/RecordText.h"
#include "Resources/MainWindowIds.h"
#include "Resources/TextNoteEditorIds.h"
#include "Support/FileBytes.h"
#include "Support/MessagePump.h"

namespace qmtextnote {

namespace {

TextNoteTest* gTest = nullptr;
RecordedPrintJob* gJob = nullptr;
// Each stand-in is found through a property of the window it replaces the
// layout of, so several may be installed at once.
constexpr const char* kLayoutProperty = "QuillmateLayoutStandIn";

BOOL WINAPI AnswerColour(CHOOSECOLORA* request) {
  ++gTest->m_colourRequests;
  request->rgbResult = gTest->m_chosenColour;
  return TRUE;
}

BOOL WINAPI NoPrinter(PRINTDLGA*) {
  ADD_FAILURE() << "the print dialog was opened by a test that does not print";
  return FALSE;
}

int WINAPI StartDocument(HDC, const DOCINFOA* info) {
  gJob->documents.emplace_back(info->lpszDocName ? info->lpszDocName : "");
  return 1;
}
int WINAPI StartOnePage(HDC) {
  ++gJob->pagesStarted;
  return 1;
}
int WINAPI EndOnePage(HDC) {
  ++gJob->pagesEnded;
  return 1;
}
int WINAPI EndDocument(HDC) {
  ++gJob->documentsEnded;
  return 1;
}
int WINAPI AbortDocument(HDC) {
  ++gJob->documentsAborted;
  return 1;
}

}  // namespace

void TextNoteTest::SetUp() {
  static HMODULE richEdit = LoadLibraryA("RICHED20.DLL");
  ASSERT_NE(richEdit, nullptr);
  m_appData = std::make_unique<ScopedApplicationDataFolder>(m_folder.Path().string());
  MakeDataFolders();
  gTest = this;
  gChooseColorDialog = AnswerColour;
  gPrintDialog = NoPrinter;
  m_main = std::make_unique<TestMainWindow>();
  ASSERT_NE(m_main->Handle(), nullptr);
  ASSERT_TRUE(EnsureStore(RecordKind::TextNote));
}

void TextNoteTest::TearDown() {
  m_main.reset();
  gChooseColorDialog = ChooseColorA;
  gPrintDialog = PrintDlgA;
  gTest = nullptr;
  m_appData.reset();
}

std::uint32_t TextNoteTest::StoreNote(const std::string& title, int type, const std::string& attachment,
                                      const char* rtf) {
  if (rtf != nullptr) qmtest::WriteFileText(NotePath(attachment), rtf);
  auto store = OpenStore<DatabaseDataTextNote>();
  if (!store) return 0;
  DatabaseDataTextNote& record = store->Data();
  std::memset(&record, 0, sizeof record);
  CopyRecordText(record.date, "09:00:00 11/28/2003");
  CopyRecordText(record.title, title.c_str());
  CopyRecordText(record.fileName, attachment.c_str());
  record.noteType = type;
  std::uint32_t address = store->AddRecord();
  CloseStore(store);
  return address;
}

std::vector<DatabaseDataTextNote> TextNoteTest::StoredNotes() const {
  std::vector<DatabaseDataTextNote> records;
  auto store = OpenStore<DatabaseDataTextNote>();
  if (!store) return records;
  store->ForEachRecordOf([&records](const DatabaseDataTextNote& record, std::uint32_t) { records.push_back(record); });
  CloseStore(store);
  return records;
}

void TextNoteTest::FocusNote(std::uint32_t address) const {
  m_main->Command(IDM_SHOW_TEXT_NOTES);
  m_main->FocusRow(m_main->RowOf(address));
}

bool DriveEditor(const std::function<void()>& open, const std::function<void(HWND)>& act) {
  return qmtest::DriveDialog("Text Note", open, act);
}

HWND BodyOf(HWND dialog) {
  return GetDlgItem(dialog, IDC_TEXT_NOTE_BODY);
}

HWND ToolbarOf(HWND dialog) {
  return GetDlgItem(GetDlgItem(dialog, IDC_TEXT_NOTE_REBAR), IDC_TEXT_NOTE_TOOLBAR);
}

void TypeIntoBody(HWND dialog, const std::string& text) {
  SendMessageA(BodyOf(dialog), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text.c_str()));
}

void SelectInBody(HWND dialog, int start, int end) {
  SendMessageA(BodyOf(dialog), EM_SETSEL, start, end);
}

void PressTool(HWND dialog, int command) {
  // The toolbar tells its parent, the rebar, which passes it on.
  HWND toolbar = ToolbarOf(dialog);
  SendMessageA(GetParent(toolbar), WM_COMMAND, MAKEWPARAM(command, BN_CLICKED), reinterpret_cast<LPARAM>(toolbar));
}

bool IsToolPressed(HWND dialog, int command) {
  return SendMessageA(ToolbarOf(dialog), TB_ISBUTTONCHECKED, command, 0) != 0;
}

bool ChooseInBox(HWND dialog, int boxId, const std::string& text) {
  HWND toolbar = ToolbarOf(dialog);
  HWND box = GetDlgItem(toolbar, boxId);
  LRESULT index = SendMessageA(box, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(text.c_str()));
  if (index == CB_ERR) return false;
  SendMessageA(box, CB_SETCURSEL, index, 0);
  // The box tells its parent, the toolbar, which passes it on.
  SendMessageA(toolbar, WM_COMMAND, MAKEWPARAM(boxId, CBN_SELCHANGE), reinterpret_cast<LPARAM>(box));
  return true;
}

void NotifyKey(HWND dialog) {
  SendMessageA(BodyOf(dialog), WM_KEYUP, VK_SHIFT, 0xC0000001);
}

std::vector<CharFormatAt> FormatsOf(HWND richEdit) {
  std::vector<CharFormatAt> formats;
  GETTEXTLENGTHEX request = {GTL_NUMCHARS | GTL_PRECISE, CP_ACP};
  const int length = static_cast<int>(SendMessageA(richEdit, EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&request), 0));
  for (int i = 0; i < length; ++i) {
    SendMessageA(richEdit, EM_SETSEL, i, i + 1);
    CHARFORMAT2A character = {};
    character.cbSize = sizeof character;
    SendMessageA(richEdit, EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&character));
    PARAFORMAT2 paragraph = {};
    paragraph.cbSize = sizeof paragraph;
    SendMessageA(richEdit, EM_GETPARAFORMAT, 0, reinterpret_cast<LPARAM>(&paragraph));
    char text[4] = {};
    SendMessageA(richEdit, EM_GETSELTEXT, 0, reinterpret_cast<LPARAM>(text));
    formats.push_back({text[0], character.dwEffects, character.crTextColor, character.yHeight, character.szFaceName,
                       paragraph.wNumbering, paragraph.wAlignment});
  }
  return formats;
}

PARAFORMAT2 ParagraphFormatAt(HWND richEdit, int position) {
  SendMessageA(richEdit, EM_SETSEL, position, position);
  PARAFORMAT2 paragraph = {};
  paragraph.cbSize = sizeof paragraph;
  SendMessageA(richEdit, EM_GETPARAFORMAT, 0, reinterpret_cast<LPARAM>(&paragraph));
  return paragraph;
}

LooseRichEdit::LooseRichEdit(const std::string& text) {
  m_parent = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 400, 300, nullptr, nullptr, nullptr, nullptr);
  m_edit = CreateWindowExA(0, "RichEdit20A", "", WS_CHILD | ES_MULTILINE, 0, 0, 400, 300, m_parent,
                           reinterpret_cast<HMENU>(1), nullptr, nullptr);
  SendMessageA(m_edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

LooseRichEdit::~LooseRichEdit() {
  DestroyWindow(m_parent);
}

PageLayoutStandIn::PageLayoutStandIn(HWND richEdit, LONG lineTwips) : m_edit(richEdit), m_lineTwips(lineTwips) {
  SetPropA(richEdit, kLayoutProperty, this);
  m_previous = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(richEdit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&PageLayoutStandIn::Proc)));
}

PageLayoutStandIn::~PageLayoutStandIn() {
  if (!IsWindow(m_edit)) return;
  SetWindowLongPtrA(m_edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_previous));
  RemovePropA(m_edit, kLayoutProperty);
}

LRESULT CALLBACK PageLayoutStandIn::Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* layout = static_cast<PageLayoutStandIn*>(GetPropA(window, kLayoutProperty));
  if (message == EM_FORMATRANGE) return layout->Layout(wParam != 0, reinterpret_cast<const FORMATRANGE*>(lParam));
  if (message == EM_DISPLAYBAND) {
    ++layout->bands;
    return TRUE;
  }
  return CallWindowProcA(layout->m_previous, window, message, wParam, lParam);
}

LRESULT PageLayoutStandIn::Layout(bool render, const FORMATRANGE* range) {
  if (range == nullptr) {
    ++releases;
    return 0;
  }
  // The text with one character per paragraph break, as positions count.
  GETTEXTLENGTHEX lengthRequest = {GTL_NUMCHARS | GTL_PRECISE, CP_ACP};
  const LONG length = static_cast<LONG>(
      CallWindowProcA(m_previous, m_edit, EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&lengthRequest), 0));
  std::string text(static_cast<std::size_t>(length) + 1, '\0');
  GETTEXTEX textRequest = {static_cast<DWORD>(text.size()), GT_DEFAULT, CP_ACP, nullptr, nullptr};
  CallWindowProcA(m_previous, m_edit, EM_GETTEXTEX, reinterpret_cast<WPARAM>(&textRequest),
                  reinterpret_cast<LPARAM>(&text[0]));
  LONG next = range->chrg.cpMin;
  if (m_lineTwips > 0) {
    LONG lines = (range->rc.bottom - range->rc.top) / m_lineTwips;
    int y = 0;
    while (lines-- > 0 && next < length) {
      LONG lineEnd = next;
      while (lineEnd < length && text[static_cast<std::size_t>(lineEnd)] != '\r') ++lineEnd;
      if (render) TextOutA(range->hdc, 0, y, text.data() + next, static_cast<int>(lineEnd - next));
      y += 10;
      next = lineEnd < length ? lineEnd + 1 : length;
    }
  }
  calls.push_back({render, range->hdc, range->rc, range->rcPage, range->chrg.cpMin, next});
  return next;
}

RecordedPrintJob::RecordedPrintJob() {
  gJob = this;
  gPrintDocument = {StartDocument, StartOnePage, EndOnePage, EndDocument, AbortDocument};
}

RecordedPrintJob::~RecordedPrintJob() {
  gPrintDocument = {StartDocA, StartPage, EndPage, EndDoc, AbortDoc};
  gJob = nullptr;
}

}  // namespace qmtextnote

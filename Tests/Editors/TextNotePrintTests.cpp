// Printing the body: pages counted through the document calls, the layout
// asked of the control (a stand-in: Wine's EM_FORMATRANGE lays out nothing)
// and drawn into an enhanced metafile that plays the printer. The page and
// the margins convert exactly: a 0.75-inch margin is 1080 twips.
#include <string>

#include "Editors/RichTextPrinter.h"
#include "Resources/MainWindowIds.h"
#include "Resources/TextNoteEditorIds.h"
#include "Shell/PageSetup.h"
#include "TextNoteTestSupport.h"

using namespace qmtextnote;

namespace {

constexpr LONG kLineTwips = 720;

std::string Paragraphs(int count) {
  std::string text;
  for (int i = 1; i <= count; ++i) {
    if (i > 1) text += "\r";
    text += "Line " + std::to_string(i);
  }
  return text;
}

bool SameRect(const RECT& a, const RECT& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

// An enhanced metafile recording what is drawn; its records counted at the end.
class Metafile {
 public:
  Metafile() : m_dc(CreateEnhMetaFileA(nullptr, nullptr, nullptr, nullptr)) {}
  ~Metafile() {
    if (m_dc) DeleteEnhMetaFile(CloseEnhMetaFile(m_dc));
  }
  HDC Dc() const { return m_dc; }
  // Closes the recording; the number of records drawn.
  UINT Records() {
    HENHMETAFILE file = CloseEnhMetaFile(m_dc);
    m_dc = nullptr;
    ENHMETAHEADER header = {};
    GetEnhMetaFileHeader(file, sizeof header, &header);
    DeleteEnhMetaFile(file);
    return header.nRecords;
  }

 private:
  HDC m_dc;
};

struct PrintDialogAnswer {
  bool confirm = true;
  HDC dc = nullptr;
  PRINTDLGA seen = {};
  int requests = 0;
};
PrintDialogAnswer* gAnswer = nullptr;

BOOL WINAPI AnswerPrintDialog(PRINTDLGA* request) {
  ++gAnswer->requests;
  gAnswer->seen = *request;
  if (!gAnswer->confirm) return FALSE;
  request->hDC = gAnswer->dc;
  return TRUE;
}

}  // namespace

TEST_F(TextNoteTest, ABodyOfThreePagesPrintsThreePagesInsideTheExactMarginsAShortOneOnePageAndNoProgressEnds) {
  // 8.5 x 11 inches at 600 dots per inch; margins 0.75, 1, 1.5 and 1 inch.
  const PrinterPage letter = {5100, 6600, 600, 600};
  const RECT margins = {750, 1000, 1500, 1000};
  const RECT page = {0, 0, 12240, 15840};
  const RECT target = {1080, 1440, 12240 - 2160, 15840 - 1440};
  EXPECT_TRUE(SameRect(PageRectangle(letter), page));
  EXPECT_TRUE(SameRect(TargetRectangle(page, margins), target));
  // A page that is not a whole number of inches keeps its fraction.
  EXPECT_TRUE(SameRect(PageRectangle({1280, 1024, 96, 96}), RECT{0, 0, 19200, 15360}));

  // 18 lines fit into the target: 40 lines are 18 + 18 + 4.
  LooseRichEdit body(Paragraphs(40));
  PageLayoutStandIn layout(body.Handle(), kLineTwips);
  RecordedPrintJob job;
  Metafile printer;
  EXPECT_EQ(PrintRichText(printer.Dc(), body.Control(), letter, margins), 3);
  EXPECT_EQ(job.documents, std::vector<std::string>{"QuillmateNote"});
  EXPECT_EQ(job.pagesStarted, 3);
  EXPECT_EQ(job.pagesEnded, 3);
  EXPECT_EQ(job.documentsEnded, 1);
  EXPECT_EQ(job.documentsAborted, 0);
  int rendered = 0;
  LONG expectedFrom = 0;
  for (const PageLayoutStandIn::Call& call : layout.calls) {
    EXPECT_TRUE(SameRect(call.rcPage, page));
    EXPECT_EQ(call.hdc, printer.Dc());
    if (!call.render) {
      EXPECT_TRUE(SameRect(call.rc, page));  // the measuring pass uses the whole page
      continue;
    }
    ++rendered;
    EXPECT_TRUE(SameRect(call.rc, target));
    EXPECT_EQ(call.from, expectedFrom);
    expectedFrom = call.next;
  }
  EXPECT_EQ(rendered, 3);
  EXPECT_EQ(expectedFrom, static_cast<LONG>(Paragraphs(40).size()));
  EXPECT_EQ(layout.bands, 3);
  EXPECT_GE(layout.releases, 2);
  EXPECT_GT(printer.Records(), 40u);  // every line was drawn

  LooseRichEdit shortBody(Paragraphs(3));
  PageLayoutStandIn shortLayout(shortBody.Handle(), kLineTwips);
  Metafile shortPrinter;
  EXPECT_EQ(PrintRichText(shortPrinter.Dc(), shortBody.Control(), letter, margins), 1);
  EXPECT_EQ(job.pagesEnded, 4);

  // A control that lays out nothing (Wine's own) ends the job after a page.
  LooseRichEdit stuck(Paragraphs(40));
  PageLayoutStandIn nothing(stuck.Handle(), 0);
  Metafile stuckPrinter;
  EXPECT_EQ(PrintRichText(stuckPrinter.Dc(), stuck.Control(), letter, margins), 1);
  EXPECT_EQ(job.pagesEnded, 5);
  EXPECT_EQ(job.documentsEnded, 3);
  EXPECT_LE(nothing.calls.size(), 3u);
}

TEST_F(TextNoteTest, PrintNoteAsksThePrintDialogWithThePageSetupsPrinterAndPrintsWithItsMargins) {
  const PAGESETUPDLGA savedSetup = gPageSetup;
  HGLOBAL mode = GlobalAlloc(GMEM_MOVEABLE, 64);
  HGLOBAL names = GlobalAlloc(GMEM_MOVEABLE, 64);
  gPageSetup.hDevMode = mode;
  gPageSetup.hDevNames = names;
  gPageSetup.rtMargin = {750, 750, 750, 750};
  Metafile printer;
  PrintDialogAnswer answer;
  answer.dc = printer.Dc();
  gAnswer = &answer;
  gPrintDialog = AnswerPrintDialog;

  // What the page is on this device, and how many 720-twip lines fit.
  const PrinterPage device = ReadPrinterPage(printer.Dc());
  const RECT page = {0, 0, static_cast<LONG>(device.horizontalResolution * 1440LL / device.pixelsPerInchX),
                     static_cast<LONG>(device.verticalResolution * 1440LL / device.pixelsPerInchY)};
  const RECT target = {1080, 1080, page.right - 1080, page.bottom - 1080};
  const int linesPerPage = (target.bottom - target.top) / kLineTwips;
  const int lines = linesPerPage * 2 + 1;

  HWND editor = nullptr;
  std::vector<PageLayoutStandIn::Call> calls;
  RecordedPrintJob job;
  ASSERT_TRUE(DriveEditor([this] { m_main->Command(IDM_ADD_TEXT_NOTE); },
                          [&](HWND dialog) {
                            editor = dialog;
                            TypeIntoBody(dialog, Paragraphs(lines));
                            PageLayoutStandIn layout(BodyOf(dialog), kLineTwips);
                            answer.confirm = false;
                            PressTool(dialog, IDM_TEXT_PRINT);  // cancelled: nothing
                            answer.confirm = true;
                            PressTool(dialog, IDM_TEXT_PRINT);
                            calls = layout.calls;
                            m_boxes.answer = kIdYes;  // the typed text is given up
                            Press(dialog, IDC_TEXT_NOTE_CANCEL);
                          }));
  gAnswer = nullptr;
  EXPECT_EQ(answer.requests, 2);
  EXPECT_EQ(answer.seen.hwndOwner, editor);
  EXPECT_TRUE(answer.seen.Flags & PD_RETURNDC);
  EXPECT_EQ(answer.seen.nFromPage, 1);
  EXPECT_EQ(answer.seen.nToPage, 1);
  EXPECT_EQ(answer.seen.nCopies, 1);
  EXPECT_EQ(answer.seen.hDevMode, mode);
  EXPECT_EQ(answer.seen.hDevNames, names);

  EXPECT_EQ(job.documents.size(), 1u);
  EXPECT_EQ(job.pagesEnded, 3);
  int rendered = 0;
  for (const PageLayoutStandIn::Call& call : calls) {
    if (!call.render) continue;
    ++rendered;
    EXPECT_TRUE(SameRect(call.rc, target));
    EXPECT_TRUE(SameRect(call.rcPage, page));
  }
  EXPECT_EQ(rendered, 3);

  GlobalFree(mode);
  GlobalFree(names);
  gPageSetup = savedSetup;
}

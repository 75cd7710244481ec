// Not a test: the real main window with the text note editor open on a
// formatted note, for looking at the dialog on screen
// (scripts/screenshot.sh out.png TextNoteShowcase.exe). The note's body is
// RTF written beside its record, as an earlier save would have left it.
// With "long" the note is 120,000 characters and a sentence is typed at its
// end. The program ends by itself after 30 seconds.
#include <windows.h>

#include <cstring>
#include <fstream>
#include <string>

#include "Editors/TextNoteEditor.h"
#include "Managers/KindManager.h"
#include "Managers/RecordManager.h"
#include "Records/DataFolders.h"
#include "Resources/TextNoteEditorIds.h"
#include "Shell/PageSetup.h"
#include "Support/Showcase.h"

namespace {

const char kNote[] =
    "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fswiss Arial;}{\\f1\\fmodern Courier New;}{\\f2\\froman Times New "
    "Roman;}{\\f3\\fcharset2 Symbol;}}\n"
    "{\\colortbl;\\red0\\green0\\blue128;\\red200\\green30\\blue30;}\n"
    "\\pard\\qc\\f2\\fs48\\b\\cf1 Garden plans\\b0\\cf0\\fs20\\f0\\par\n"
    "\\pard\\ql This spring we \\i finally\\i0  sow the \\ul vegetable beds\\ul0 . Things to buy "
    "at the \\b market\\b0  on Saturday:\\par\n"
    "{\\pntext\\f3 \\'b7\\tab}{\\*\\pn\\pnlvlblt\\pnf3\\pnindent0{\\pntxtb\\'b7}}\\fi-200\\li400 Seeds: "
    "carrots, beans, \\cf2 red\\cf0  lettuce\\par\n"
    "{\\pntext\\f3 \\'b7\\tab}{\\*\\pn\\pnlvlblt\\pnf3\\pnindent0{\\pntxtb\\'b7}}\\fi-200\\li400 Compost, "
    "two bags\\par\n"
    "{\\pntext\\f3 \\'b7\\tab}{\\*\\pn\\pnlvlblt\\pnf3\\pnindent0{\\pntxtb\\'b7}}\\fi-200\\li400 "
    "\\f1 Gloves size 8\\f0\\par\n"
    "\\pard\\qr\\i Ann\\i0\\par\n}";

// 1,200 numbered paragraphs of about 100 characters.
std::string LongNote() {
  std::string rtf = "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fswiss Arial;}}\\f0\\fs20 ";
  for (int line = 1; line <= 1200; ++line) {
    rtf += "Paragraph " + std::to_string(line) +
           ": the minutes of the long meeting, kept whole past the old limit of 32,767 characters.\\par\n";
  }
  return rtf + "}";
}

const char kTyped[] = "Typed at the end of a long note.";

// Once the editor is up, the caret to the end and a sentence typed there,
// key by key.
void CALLBACK TypeAtEnd(HWND, UINT, UINT_PTR timer, DWORD) {
  HWND dialog = FindWindowA("#32770", "Text Note");
  if (!dialog) return;
  KillTimer(nullptr, timer);
  HWND body = GetDlgItem(dialog, IDC_TEXT_NOTE_BODY);
  SetFocus(body);
  SendMessageA(body, EM_SETSEL, -1, -1);
  for (const char* key = kTyped; *key; ++key) SendMessageA(body, WM_CHAR, static_cast<unsigned char>(*key), 1);
  SendMessageA(body, EM_SCROLLCARET, 0, 0);
}

}  // namespace

int main(int argc, char** argv) {
  qmtest::Showcase showcase("qm-text-note-showcase");
  HWND window = showcase.Window();
  EnsureStore(RecordKind::TextNote);
  std::ofstream(gTextNoteFolder + "TextNote1.doc", std::ios::binary) << kNote;
  SetPageSetupDefaults(window);

  TextNoteManager::AppendRecord(window, {"Shopping", "TextNote0.doc", 0});
  TextNoteManager::AppendRecord(window, {"Garden plans", "TextNote1.doc", 1});
  showcase.FocusRow(1);
  if (argc > 1 && std::strcmp(argv[1], "long") == 0) {
    std::ofstream(gTextNoteFolder + "TextNote2.doc", std::ios::binary) << LongNote();
    TextNoteManager::AppendRecord(window, {"Meeting minutes", "TextNote2.doc", 0});
    showcase.FocusRow(2);
    SetTimer(nullptr, 0, 300, TypeAtEnd);
  }
  OpenTextNoteEditor(window, true, gPageSetup);
  return 0;
}

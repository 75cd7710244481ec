// Not a test: the real main window with the text note editor open on a
// formatted note, for looking at the dialog on screen
// (scripts/screenshot.sh out.png TextNoteShowcase.exe). The note's body is
// RTF written beside its record, as an earlier save would have left it. The
// program ends by itself after 30 seconds.
#include <windows.h>

#include <commctrl.h>

#include <filesystem>
#include <fstream>

#include "Editors/TextNoteEditor.h"
#include "Library/CSplitter.h"
#include "Library/CWinApp.h"
#include "Managers/KindManager.h"
#include "Managers/ManagerWindows.h"
#include "Managers/RecordManager.h"
#include "Records/DataFolders.h"
#include "Shell/MainWindow.h"
#include "Shell/PageSetup.h"

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

void CALLBACK EndShowcase(HWND, UINT, UINT_PTR, DWORD) {
  ExitProcess(0);
}

}  // namespace

int main() {
  INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_WIN95_CLASSES | ICC_COOL_CLASSES | ICC_BAR_CLASSES};
  InitCommonControlsEx(&controls);
  LoadLibraryA("RICHED20.DLL");
  HINSTANCE instance = GetModuleHandleA(nullptr);
  gApp.SetInstance(instance);

  const std::filesystem::path folder = std::filesystem::temp_directory_path() / "qm-text-note-showcase";
  std::error_code ignored;
  std::filesystem::remove_all(folder, ignored);
  std::filesystem::create_directories(folder);
  ScopedApplicationDataFolder appData(folder.string());
  MakeDataFolders();
  EnsureStore(RecordKind::TextNote);
  std::ofstream(gTextNoteFolder + "TextNote1.doc", std::ios::binary) << kNote;

  MainWindowClass(instance).Register();
  CSplitter::RegisterBarClass(instance);
  HWND window = CreateMainWindow(instance);
  SetPageSetupDefaults(window);
  SetWindowPos(window, nullptr, 20, 20, 900, 560, SWP_NOZORDER);
  ShowWindow(window, SW_SHOW);
  UpdateWindow(window);
  SetTimer(nullptr, 0, 30000, EndShowcase);

  TextNoteManager::AppendRecord(window, {"Shopping", "TextNote0.doc", 0});
  TextNoteManager::AppendRecord(window, {"Garden plans", "TextNote1.doc", 1});
  RecordListOf(window).SetItemState(1, LVIS_FOCUSED | LVIS_SELECTED, LVIS_FOCUSED | LVIS_SELECTED);
  OpenTextNoteEditor(window, true, gPageSetup);
  return 0;
}

// Not a test: the real main window with a few records of the plain kinds,
// for looking at an editor on screen:
//   scripts/screenshot.sh out.png EditorShowcase.exe COMMAND [SHOW]
// SHOW (a show command such as 255) displays a kind and focuses its first
// row; COMMAND (such as 250 or 251) is then sent as a menu command would be.
// The program ends by itself after 30 seconds.
#include <windows.h>

#include <commctrl.h>

#include <cstdlib>
#include <filesystem>

#include "Library/CSplitter.h"
#include "Library/CWinApp.h"
#include "Managers/ManagerWindows.h"
#include "Managers/RecordManager.h"
#include "Records/DataFolders.h"
#include "Shell/MainWindow.h"

namespace {

void CALLBACK EndShowcase(HWND, UINT, UINT_PTR, DWORD) {
  ExitProcess(0);
}

void AddSamples(HWND window) {
  EmailResManager::AppendRecord(window, {"Ann Smith", "Acme Ltd", "1 High Street", "Leeds", "LS1 4AB", "Yorkshire",
                                         "+44 113 496 0000", "annie", "Met at the book fair", "ann@example.org"});
  InternetResManager::AppendRecord(window, {"Weather in Leeds", "http://weather.example.org/leeds", 3});
  FastTextManager::AppendRecord(window, {"Postal address", "Ann Smith\r\n1 High Street\r\nLeeds LS1 4AB"});
}

}  // namespace

int main(int argc, char** argv) {
  INITCOMMONCONTROLSEX controls = {sizeof controls,
                                   ICC_WIN95_CLASSES | ICC_COOL_CLASSES | ICC_BAR_CLASSES | ICC_DATE_CLASSES};
  InitCommonControlsEx(&controls);
  HINSTANCE instance = GetModuleHandleA(nullptr);
  gApp.SetInstance(instance);
  LoadLibraryA("RICHED20.DLL");

  const std::filesystem::path folder = std::filesystem::temp_directory_path() / "qm-editor-showcase";
  std::error_code ignored;
  std::filesystem::remove_all(folder, ignored);
  std::filesystem::create_directories(folder);
  ScopedApplicationDataFolder appData(folder.string());
  MakeDataFolders();

  MainWindowClass(instance).Register();
  CSplitter::RegisterBarClass(instance);
  HWND window = CreateMainWindow(instance);
  SetWindowPos(window, nullptr, 40, 30, 900, 560, SWP_NOZORDER);
  ShowWindow(window, SW_SHOW);
  UpdateWindow(window);
  SetTimer(nullptr, 0, 30000, EndShowcase);
  AddSamples(window);

  if (argc > 2) {
    SendMessageA(window, WM_COMMAND, MAKEWPARAM(std::atoi(argv[2]), 0), 0);
    RecordListOf(window).SetItemState(0, LVIS_FOCUSED | LVIS_SELECTED, LVIS_FOCUSED | LVIS_SELECTED);
  }
  if (argc > 1) PostMessageA(window, WM_COMMAND, MAKEWPARAM(std::atoi(argv[1]), 0), 0);
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return 0;
}

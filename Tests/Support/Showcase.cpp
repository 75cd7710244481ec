#include "Support/Showcase.h"

#include <commctrl.h>

#include "Library/CSplitter.h"
#include "Library/CWinApp.h"
#include "Managers/ManagerWindows.h"
#include "Shell/MainWindow.h"

namespace qmtest {

namespace {

void CALLBACK EndShowcase(HWND, UINT, UINT_PTR, DWORD) {
  ExitProcess(0);
}

std::filesystem::path FreshFolder(const char* name) {
  const std::filesystem::path folder = std::filesystem::temp_directory_path() / name;
  std::error_code ignored;
  std::filesystem::remove_all(folder, ignored);
  std::filesystem::create_directories(folder);
  return folder;
}

HINSTANCE StartUp() {
  INITCOMMONCONTROLSEX controls = {sizeof controls,
                                   ICC_WIN95_CLASSES | ICC_COOL_CLASSES | ICC_BAR_CLASSES | ICC_DATE_CLASSES};
  InitCommonControlsEx(&controls);
  LoadLibraryA("RICHED20.DLL");
  HINSTANCE instance = GetModuleHandleA(nullptr);
  gApp.SetInstance(instance);
  return instance;
}

}  // namespace

Showcase::Showcase(const char* folderName, unsigned seconds)
    : m_folder(FreshFolder(folderName)), m_appData(m_folder.string()), m_window(nullptr) {
  HINSTANCE instance = StartUp();
  MakeDataFolders();
  MainWindowClass(instance).Register();
  CSplitter::RegisterBarClass(instance);
  m_window = CreateMainWindow(instance);
  SetWindowPos(m_window, nullptr, 40, 30, 900, 560, SWP_NOZORDER);
  ShowWindow(m_window, SW_SHOW);
  UpdateWindow(m_window);
  SetTimer(nullptr, 0, seconds * 1000, EndShowcase);
}

void Showcase::FocusRow(int index) const {
  RecordListOf(m_window).SetItemState(index, LVIS_FOCUSED | LVIS_SELECTED, LVIS_FOCUSED | LVIS_SELECTED);
}

int Showcase::RunMessageLoop() const {
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return 0;
}

}  // namespace qmtest

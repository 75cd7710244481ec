// Not a test: the real main window with a few records of the plain kinds and
// an audio note, for looking at an editor on screen:
//   scripts/screenshot.sh out.png EditorShowcase.exe COMMAND [SHOW]
// SHOW (a show command such as 255) displays a kind and focuses its first
// row; COMMAND (such as 250 or 251) is then sent as a menu command would be
// (210 the audio note editor, 211 214 the properties playing the note).
// The program ends by itself after 30 seconds.
#include <windows.h>

#include <commctrl.h>

#include <cstdlib>
#include <filesystem>
#include <string>

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

// Five seconds of a quiet tone in the recording format, for the audio note
// properties to play.
void WriteTone(const std::string& path) {
  const DWORD dataBytes = 5 * 176400;
  const DWORD header[] = {0x46464952, dataBytes + 38, 0x45564157, 0x20746D66, 18, 0x00020001, 44100, 176400,
                          0x00100004};
  const char dataChunk[] = {0, 0, 'd', 'a', 't', 'a'};
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  DWORD written;
  WriteFile(file, header, sizeof header, &written, nullptr);
  WriteFile(file, dataChunk, sizeof dataChunk, &written, nullptr);
  WriteFile(file, &dataBytes, sizeof dataBytes, &written, nullptr);
  static short samples[2 * 44100];
  for (int i = 0; i < 2 * 44100; ++i) samples[i] = static_cast<short>((i / 2 % 100) * 20);
  for (int second = 0; second < 5; ++second) WriteFile(file, samples, sizeof samples, &written, nullptr);
  CloseHandle(file);
}

void AddSamples(HWND window) {
  WriteTone(gAudioNoteFolder + "AudioNote1.wav");
  AudioNoteManager::AppendRecord(window, {"Directions to the cabin", "AudioNote1.wav", 1});
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

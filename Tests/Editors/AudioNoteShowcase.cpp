// Not a test: the real main window with two audio notes, for looking at the
// dialogs on screen (scripts/screenshot.sh out.png AudioNoteShowcase.exe
// editor|properties). "editor" opens the audio note editor with a take
// running from the run's sound device; "properties" plays the first note.
// The program ends by itself after 30 seconds.
#include <windows.h>

#include <commctrl.h>

#include <cstring>
#include <filesystem>

#include "Editors/AudioNoteEditor.h"
#include "Editors/AudioNoteProperties.h"
#include "Library/CSplitter.h"
#include "Library/CWinApp.h"
#include "Managers/KindManager.h"
#include "Managers/ManagerWindows.h"
#include "Managers/RecordManager.h"
#include "Records/DataFolders.h"
#include "Records/MessageBoxSeam.h"
#include "Resources/AudioNoteIds.h"
#include "Shell/MainWindow.h"

namespace {

void CALLBACK EndShowcase(HWND, UINT, UINT_PTR, DWORD) {
  ExitProcess(0);
}

// Starts a take once the editor is up, so that the shot shows it recording.
void CALLBACK StartTake(HWND, UINT, UINT_PTR timer, DWORD) {
  HWND editor = FindWindowA(nullptr, "Audio Note");
  if (!editor) return;
  KillTimer(nullptr, timer);
  SetDlgItemTextA(editor, IDC_AUDIO_TITLE, "Ideas for the garden");
  SendDlgItemMessageA(editor, IDC_AUDIO_START_RECORD, BM_CLICK, 0, 0);
}

// Five seconds of a quiet tone in the recording format.
void WriteTone(const std::string& path) {
  const DWORD dataBytes = 5 * 176400;
  const DWORD header[] = {0x46464952, dataBytes + 38, 0x45564157, 0x20746D66, 18, 0x00020001, 44100, 176400,
                          0x00100004};
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  DWORD written;
  WriteFile(file, header, sizeof header, &written, nullptr);
  const char tail[] = {0, 0, 'd', 'a', 't', 'a'};
  WriteFile(file, tail, sizeof tail, &written, nullptr);
  WriteFile(file, &dataBytes, 4, &written, nullptr);
  static short samples[2 * 44100];
  for (int i = 0; i < 2 * 44100; ++i) samples[i] = static_cast<short>((i / 2 % 100) * 20);
  for (int second = 0; second < 5; ++second) WriteFile(file, samples, sizeof samples, &written, nullptr);
  CloseHandle(file);
}

}  // namespace

int main(int argc, char** argv) {
  const bool editor = argc > 1 && std::strcmp(argv[1], "editor") == 0;
  INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_WIN95_CLASSES | ICC_COOL_CLASSES | ICC_BAR_CLASSES};
  InitCommonControlsEx(&controls);
  HINSTANCE instance = GetModuleHandleA(nullptr);
  gApp.SetInstance(instance);

  const std::filesystem::path folder = std::filesystem::temp_directory_path() / "qm-audio-note-showcase";
  std::error_code ignored;
  std::filesystem::remove_all(folder, ignored);
  std::filesystem::create_directories(folder);
  ScopedApplicationDataFolder appData(folder.string());
  MakeDataFolders();
  EnsureStore(RecordKind::AudioNote);

  MainWindowClass(instance).Register();
  CSplitter::RegisterBarClass(instance);
  HWND window = CreateMainWindow(instance);
  SetWindowPos(window, nullptr, 40, 30, 900, 560, SWP_NOZORDER);
  ShowWindow(window, SW_SHOW);
  UpdateWindow(window);
  SetTimer(nullptr, 0, 30000, EndShowcase);

  WriteTone(gAudioNoteFolder + "AudioNote1.wav");
  WriteTone(gAudioNoteFolder + "AudioNote2.wav");
  AudioNoteManager::AppendRecord(window, {"Lecture on bees", "AudioNote1.wav", 0});
  AudioNoteManager::AppendRecord(window, {"Directions to the cabin", "AudioNote2.wav", 1});
  if (editor) {
    // The sound device of a run under Wine has no mixer: its warning is
    // answered unseen, so that the shot shows the take running.
    static ScopedMessageBoxScript noMixerWarning([](void*, const char*, const char*, unsigned) { return kIdOk; });
    SetTimer(nullptr, 0, 500, StartTake);
    OpenAudioNoteEditor(window);
  } else {
    RecordListOf(window).SetItemState(0, LVIS_FOCUSED | LVIS_SELECTED, LVIS_FOCUSED | LVIS_SELECTED);
    OpenAudioNoteProperties(window);
  }
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return 0;
}

// Not a test: the real main window with a few records of every kind, for
// looking at it on screen (scripts/screenshot.sh out.png MainWindowShowcase.exe
// KIND [about|maximize|minimum|tray|menu LETTER]). KIND 0..7 chooses the
// manager shown; "about" also opens the About dialog; "maximize" maximizes
// the window a second after it was painted and then drags the splitter bar
// to the right; "minimum" shows it at its minimum size; "tray" puts the icon
// in the notification area and opens its menu as a right click would, with
// the Fast Texts sub-menu open; "menu f" opens the menu of that access key
// as Alt and the letter would. The records live in a scratch data folder
// made afresh.
#include "Library/CSplitter.h"
#include "Library/CWinApp.h"
#include "Managers/KindManager.h"
#include "Managers/PhotoAlbum.h"
#include "Managers/RecordManager.h"
#include "Records/DataFolders.h"
#include "Resources/MainWindowIds.h"
#include "Resources/TrayIds.h"
#include "Shell/CQuillmateTray.h"
#include "Shell/MainWindow.h"
#include "Shell/Startup.h"
#include "Shell/MainWindowLayout.h"

#include <windows.h>
#include <commctrl.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

void CALLBACK MaximizeThenDrag(HWND window, UINT, UINT_PTR step, DWORD) {
  KillTimer(window, step);
  if (step == 1) {
    ShowWindow(window, SW_MAXIMIZE);
    SetTimer(window, 2, 800, MaximizeThenDrag);
  } else {
    SendMessageA(window, CSplitter::kSplitterMovedMessage, 330, 0);
  }
}

// The tray's menu opened as a right click on the icon opens it (its loop
// runs inside this timer), the Fast Texts sub-menu chosen by its key.
CQuillmateTray* gTray = nullptr;
void CALLBACK OpenTrayMenu(HWND window, UINT, UINT_PTR step, DWORD) {
  KillTimer(window, step);
  SetCursorPos(1010, 757);
  INPUT key[2] = {};
  key[0].type = key[1].type = INPUT_KEYBOARD;
  key[0].ki.wVk = key[1].ki.wVk = 'F';
  key[1].ki.dwFlags = KEYEVENTF_KEYUP;
  SendInput(2, key, sizeof(INPUT));
  gTray->HandleTrayMessage(IDR_TRAY_MENU, WM_RBUTTONUP);
}

void AddSamples(HWND window, const std::filesystem::path& folder) {
  TextNoteManager::AppendRecord(window, {"Shopping list for the weekend", "TextNote1.doc", 0});
  TextNoteManager::AppendRecord(window, {"Call the plumber", "TextNote2.doc", 1});
  TextNoteManager::AppendRecord(window, {"Ideas for the garden", "TextNote3.doc", 0});
  AudioNoteManager::AppendRecord(window, {"Meeting minutes", "AudioNote1.wav", 0});
  AudioNoteManager::AppendRecord(window, {"Song idea", "AudioNote2.wav", 1});
  VideoNoteManager::AppendRecord(window, {"Birthday greeting", "VideoNote1.avi", 1});
  const std::string picture = (folder / "sunset.jpg").string();
  std::ofstream(picture, std::ios::binary) << "not really a picture";
  AddPhoto(window, "Sunset at the lake", "Summer holiday 2003", picture, false);
  AddPhoto(window, "Grandmother", "Her eightieth birthday", picture, false);
  TimeNotifValues reminder;
  reminder.title = "Dentist";
  reminder.text = "Appointment at 10 o'clock";
  reminder.time = RecordTime{2030, 3, 0, 14, 9, 30, 0, 0};
  reminder.type = 1;
  TimeNotifManager::AppendRecord(window, reminder);
  EmailValues mail;
  mail.name = "Jane Doe";
  mail.email = "jane@example.org";
  mail.comment = "Book club";
  EmailResManager::AppendRecord(window, mail);
  InternetResManager::AppendRecord(window, {"News of the day", "http://news.example.org", 3});
  InternetResManager::AppendRecord(window, {"Recipes", "http://food.example.org", 9});
  FastTextManager::AppendRecord(window, {"Postal address", "12 High Street, Springfield"});
  FastTextManager::AppendRecord(window, {"Signature", "Best regards, Jane"});
  FastTextManager::AppendRecord(window, {"Q&A link", "https://example.org/faq"});
}

}  // namespace

int main(int argc, char** argv) {
  const int kind = argc > 1 ? std::atoi(argv[1]) : 0;
  const bool about = argc > 2 && std::strcmp(argv[2], "about") == 0;
  const bool maximize = argc > 2 && std::strcmp(argv[2], "maximize") == 0;
  const bool minimum = argc > 2 && std::strcmp(argv[2], "minimum") == 0;
  const bool tray = argc > 2 && std::strcmp(argv[2], "tray") == 0;
  CQuillmateTray quillmateTray;
  gTray = &quillmateTray;
  const char menuKey = argc > 3 && std::strcmp(argv[2], "menu") == 0 ? argv[3][0] : '\0';

  INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_WIN95_CLASSES | ICC_COOL_CLASSES | ICC_BAR_CLASSES};
  InitCommonControlsEx(&controls);
  HINSTANCE instance = GetModuleHandleA(nullptr);
  gApp.SetInstance(instance);

  const std::filesystem::path folder = std::filesystem::temp_directory_path() / "qm-showcase";
  std::error_code ignored;
  std::filesystem::remove_all(folder, ignored);
  std::filesystem::create_directories(folder);
  ScopedApplicationDataFolder appData(folder.string());
  MakeDataFolders();

  try {
    MainWindowClass(instance).Register();
    CSplitter::RegisterBarClass(instance);
    HWND window = CreateMainWindow(instance);
    SetWindowPos(window, nullptr, 40, 30, 900, 560, SWP_NOZORDER);
    ShowWindow(window, SW_SHOW);
    UpdateWindow(window);
    AddSamples(window, folder);
    ShowRecords(static_cast<RecordKind>(kind), window);
    if (about) SendMessageA(window, WM_COMMAND, IDM_ABOUT, 0);
    if (maximize) SetTimer(window, 1, 1000, MaximizeThenDrag);
    if (minimum) SetWindowPos(window, nullptr, 0, 0, kMinimumWindowWidth, kMinimumWindowHeight, SWP_NOMOVE | SWP_NOZORDER);
    if (tray) {
      quillmateTray.Create(instance, nullptr, kTrayCallbackMessage, kTrayTooltip,
                           LoadIconA(instance, MAKEINTRESOURCEA(IDI_QUILLMATE)), IDR_TRAY_MENU);
      quillmateTray.SetNotifyWindow(window);
      SetTimer(window, 3, 1000, OpenTrayMenu);
    }
    if (menuKey != '\0') PostMessageA(window, WM_SYSCOMMAND, SC_KEYMENU, menuKey);
  } catch (const char* text) {
    MessageBoxA(nullptr, text, "Error", MB_OK | MB_ICONWARNING);
    return 0;
  }

  HACCEL accelerators = LoadAcceleratorsA(instance, MAKEINTRESOURCEA(IDR_ACCELERATORS));
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    if (!TranslateAcceleratorA(message.hwnd, accelerators, &message)) {
      TranslateMessage(&message);
      DispatchMessageA(&message);
    }
  }
  return 0;
}

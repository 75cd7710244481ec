// Not a test: the main window with some records, for screenshots of the
// search and the sorting (scripts/screenshot.sh out.png FindShowcase.exe
// find|find-large|sorted). "find" opens the Find window and types a word that
// matches records of several kinds and a note's text ("find-large" then makes
// the window larger); "sorted" shows the e-mail resources sorted by name, the
// second click reversing the order.
#include <windows.h>

#include <commctrl.h>

#include <cstring>
#include <fstream>

#include "Managers/RecordListOrder.h"
#include "Managers/RecordManager.h"
#include "Resources/FindDialogIds.h"
#include "Resources/MainWindowIds.h"
#include "Shell/FindDialog.h"
#include "Support/Showcase.h"

namespace {

void AddSamples(HWND window) {
  std::ofstream(gTextNoteFolder + "TextNote1.doc", std::ios::binary)
      << "{\\rtf1\\ansi{\\fonttbl{\\f0 Tahoma;}}\\pard Bring the {\\b garden} chairs in before the rain.\\par}";
  TextNoteManager::AppendRecord(window, {"Weekend plans", "TextNote1.doc", 0});
  TextNoteManager::AppendRecord(window, {"Call the plumber", "TextNote2.doc", 1});
  AudioNoteManager::AppendRecord(window, {"Garden ideas", "AudioNote1.wav", 0});
  const char* const people[][3] = {{"Jane Doe", "jane@example.org", "Book club"},
                                   {"bob Smith", "bob@example.org", "Garden party neighbour"},
                                   {"Anna Berg", "anna@example.org", "Choir"},
                                   {"carl Olsen", "carl@example.org", "Tennis"},
                                   {"Zoe Park", "zoe@garden.example.org", "Allotment"}};
  for (const auto& person : people) {
    EmailValues mail;
    mail.name = person[0];
    mail.email = person[1];
    mail.comment = person[2];
    EmailResManager::AppendRecord(window, mail);
  }
  InternetResManager::AppendRecord(window, {"Garden centre", "http://plants.example.org", 4});
  InternetResManager::AppendRecord(window, {"News of the day", "http://news.example.org", 3});
  FastTextManager::AppendRecord(window, {"Signature", "Best regards from the garden, Jane"});
}

}  // namespace

int main(int argc, char** argv) {
  qmtest::Showcase showcase("qm-find-showcase");
  HWND window = showcase.Window();
  AddSamples(window);
  if (argc > 1 && std::strcmp(argv[1], "sorted") == 0) {
    SendMessageA(window, WM_COMMAND, IDM_SHOW_EMAIL_RESOURCES, 0);
    SortRecordListByColumn(window, 1);
    SortRecordListByColumn(window, 1);
  } else {
    // The window as it first opens, not as an earlier run left it.
    RegDeleteKeyA(HKEY_CURRENT_USER, kFindWindowKey);
    SendMessageA(window, WM_COMMAND, IDM_FIND, 0);
    HWND find = OpenFindDialog();
    SetDlgItemTextA(find, IDC_FIND_TEXT, "garden");
    if (argc > 1 && std::strcmp(argv[1], "find-large") == 0)
      SetWindowPos(find, nullptr, 60, 40, 860, 560, SWP_NOZORDER | SWP_NOACTIVATE);
  }
  return showcase.RunMessageLoop();
}

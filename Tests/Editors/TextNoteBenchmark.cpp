// Not a test: a text note of about 1 MB of RTF (paragraphs of mixed bold,
// italic, underlined, coloured and resized text) opened in the real editor
// (dialog, toolbar, font list and the body's load), saved from it, and the
// load and save of the body alone on a bare control. Figures only, no
// assertions; run with scripts/bench-wine.sh.
#include <windows.h>

#include <commctrl.h>
#include <psapi.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "Editors/RichTextFile.h"
#include "Managers/KindManager.h"
#include "Managers/RecordManager.h"
#include "Records/DataFolders.h"
#include "Records/MessageBoxSeam.h"
#include "Resources/MainWindowIds.h"
#include "Resources/TextNoteEditorIds.h"
#include "Support/DialogDriver.h"
#include "Support/TestMainWindow.h"

namespace {

double Milliseconds(const LARGE_INTEGER& from, const LARGE_INTEGER& to) {
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  return 1000.0 * static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

LARGE_INTEGER Now() {
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return now;
}

// About targetBytes of RTF: paragraphs whose words switch formats.
std::string MixedRtf(std::size_t targetBytes) {
  std::string rtf =
      "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Arial;}{\\f1 Courier New;}}"
      "{\\colortbl;\\red200\\green30\\blue30;\\red0\\green0\\blue128;}\n";
  static const char* const kRuns[] = {"\\b bold words\\b0  ", "\\i leaning words\\i0  ",
                                      "\\ul underlined words\\ul0  ", "\\cf1 red words\\cf0  ",
                                      "\\fs36 large words\\fs20  ", "\\f1 typewriter words\\f0  ",
                                      "plain words between ", "\\cf2\\b navy bold\\b0\\cf0  "};
  for (int paragraph = 0; rtf.size() < targetBytes; ++paragraph) {
    rtf += paragraph % 5 == 0 ? "\\pard\\qc " : "\\pard\\ql ";
    rtf += "Paragraph " + std::to_string(paragraph) + ": ";
    for (int run = 0; run < 12; ++run) rtf += kRuns[(paragraph + run) % 8];
    rtf += "\\par\n";
  }
  return rtf + "}";
}

}  // namespace

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::atoi(argv[1]) : 3;
  const std::size_t kilobytes = argc > 2 ? static_cast<std::size_t>(std::atoi(argv[2])) : 1024;
  LoadLibraryA("RICHED20.DLL");
  const std::filesystem::path folder =
      std::filesystem::temp_directory_path() / ("qm-bench-text-" + std::to_string(GetCurrentProcessId()));
  std::filesystem::create_directories(folder);
  {
    ScopedApplicationDataFolder appData(folder.string());
    ScopedMessageBoxScript boxes([](void*, const char* text, const char*, unsigned) {
      std::printf("unexpected message box: %s\n", text);
      return kIdOk;
    });
    MakeDataFolders();
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    const std::string rtf = MixedRtf(kilobytes * 1024);
    const std::string path = gTextNoteFolder + "TextNoteBench.doc";
    std::ofstream(path, std::ios::binary) << rtf;
    std::printf("note body: %zu bytes of RTF\n", rtf.size());

    qmtest::TestMainWindow main;
    TextNoteManager::AppendRecord(main.Handle(), {"Benchmark", "TextNoteBench.doc", 0});
    for (int run = 1; run <= runs; ++run) {
      main.FocusRow(0);
      LARGE_INTEGER start = Now(), opened = {}, saved = {}, before = {};
      int characters = 0;
      qmtest::DriveDialog(
          "Text Note", [&] { main.Command(IDM_EDIT_TEXT_NOTE); },
          [&](HWND dialog) {
            opened = Now();
            characters = GetWindowTextLengthA(GetDlgItem(dialog, IDC_TEXT_NOTE_BODY));
            before = Now();
            SendMessageA(GetDlgItem(dialog, IDC_TEXT_NOTE_SAVE), BM_CLICK, 0, 0);
            saved = Now();
          });
      std::printf("editor run %d: opened with the body loaded in %.0f ms (%d characters), saved in %.0f ms "
                  "(%llu bytes)\n",
                  run, Milliseconds(start, opened), characters, Milliseconds(before, saved),
                  static_cast<unsigned long long>(std::filesystem::file_size(path)));
    }

    // The body alone, on a bare control.
    HWND parent = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 600, 400, nullptr, nullptr, nullptr, nullptr);
    CreateWindowExA(0, "RichEdit20A", "", WS_CHILD | ES_MULTILINE, 0, 0, 600, 400, parent,
                    reinterpret_cast<HMENU>(1), nullptr, nullptr);
    const CRichEdit body(parent, 1);
    body.Send(EM_EXLIMITTEXT, 0, 0x7FFFFFFF);
    for (int run = 1; run <= runs; ++run) {
      std::ofstream(path, std::ios::binary) << rtf;
      LARGE_INTEGER start = Now();
      std::string error;
      LoadRichText(body, path, error);
      LARGE_INTEGER loaded = Now();
      SaveRichText(body, path, error);
      LARGE_INTEGER written = Now();
      std::printf("bare control run %d: load %.0f ms, save %.0f ms%s\n", run, Milliseconds(start, loaded),
                  Milliseconds(loaded, written), error.empty() ? "" : (" failed: " + error).c_str());
    }
    DestroyWindow(parent);

    PROCESS_MEMORY_COUNTERS memory = {};
    memory.cb = sizeof memory;
    if (GetProcessMemoryInfo(GetCurrentProcess(), &memory, sizeof memory)) {
      std::printf("peak working set %.1f MB\n", memory.PeakWorkingSetSize / 1048576.0);
    }
  }
  std::error_code ignored;
  std::filesystem::remove_all(folder, ignored);
  return 0;
}

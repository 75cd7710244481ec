// Not a test: the real main window with a few records of the plain kinds,
// an audio note and two photos (a landscape and a portrait picture drawn
// here), for looking at an editor on screen:
//   scripts/screenshot.sh out.png EditorShowcase.exe COMMAND [SHOW [ROW]]
// SHOW (a show command such as 255) displays a kind and focuses its first
// row (or row ROW); COMMAND (such as 250 or 251) is then sent as a menu
// command would be (210 the audio note editor, 211 214 the properties
// playing the note). COMMAND "take-limit" opens the audio note editor and
// starts a take that may hold 3 seconds only, to see it stopped there.
// Among the records are damaged attachments (a photo that is no picture, a
// recording of 0 channels, a text note nested too deep) and a slow
// progressive JPEG.
// The program ends by itself after 30 seconds.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "Managers/PhotoAlbum.h"
#include "Media/CWaveRecorder.h"
#include "Resources/AudioNoteIds.h"
#include "Resources/MainWindowIds.h"
#include "Managers/RecordManager.h"
#include "Records/DataFolders.h"
#include "Records/MessageBoxSeam.h"
#include "PhotoLikeJpeg.h"
#include "Support/Showcase.h"

namespace {

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

// A picture of a sky over hills with a sun, width x height, as a BMP file.
void WritePhoto(const std::string& path, int width, int height) {
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  void* bits = nullptr;
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(dc, bitmap);
  for (int y = 0; y < height; ++y) {
    HBRUSH sky = CreateSolidBrush(RGB(90 + 100 * y / height, 150 + 80 * y / height, 235));
    const RECT line = {0, y, width, y + 1};
    FillRect(dc, &line, sky);
    DeleteObject(sky);
  }
  HBRUSH sun = CreateSolidBrush(RGB(255, 214, 80));
  HBRUSH hill = CreateSolidBrush(RGB(70, 140, 70));
  SelectObject(dc, GetStockObject(NULL_PEN));
  SelectObject(dc, sun);
  Ellipse(dc, width * 2 / 3, height / 8, width * 2 / 3 + width / 6, height / 8 + width / 6);
  SelectObject(dc, hill);
  Ellipse(dc, -width / 2, height * 3 / 5, width, height * 2);
  Ellipse(dc, width / 3, height * 2 / 3, width * 3 / 2, height * 2);
  SelectObject(dc, old);
  DeleteObject(sun);
  DeleteObject(hill);
  GdiFlush();
  const DWORD stride = (width * 3 + 3) & ~3u, size = stride * height;
  BITMAPFILEHEADER file = {0x4D42, static_cast<DWORD>(sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER) + size), 0,
                           0, sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER)};
  info.bmiHeader.biSizeImage = size;
  if (FILE* out = std::fopen(path.c_str(), "wb")) {
    std::fwrite(&file, sizeof file, 1, out);
    std::fwrite(&info.bmiHeader, sizeof info.bmiHeader, 1, out);
    std::fwrite(bits, 1, size, out);
    std::fclose(out);
  }
  DeleteObject(bitmap);
  DeleteDC(dc);
}

void AddSamples(HWND window, const std::filesystem::path& folder) {
  WriteTone(gAudioNoteFolder + "AudioNote1.wav");
  AudioNoteManager::AppendRecord(window, {"Directions to the cabin", "AudioNote1.wav", 1});
  const std::string landscape = (folder / "Hills at noon.bmp").string();
  const std::string portrait = (folder / "Tower.bmp").string();
  WritePhoto(landscape, 900, 600);
  WritePhoto(portrait, 400, 600);
  AddPhoto(window, "Hills at noon.bmp", "No Comment", landscape, false);
  AddPhoto(window, "Tower.bmp", "A portrait picture", portrait, false);
  // Damaged attachments, to look at what the editors make of them: a photo
  // that is no picture, a recording of 0 channels, a body nested too deep.
  const std::string notAPicture = (folder / "Broken scan.jpg").string();
  if (FILE* out = std::fopen(notAPicture.c_str(), "wb")) {
    std::fputs("This was never a photo.", out);
    std::fclose(out);
  }
  AddPhoto(window, "Broken scan.jpg", "No Comment", notAPicture, false);
  WriteTone(gAudioNoteFolder + "AudioNote2.wav");
  if (FILE* out = std::fopen((gAudioNoteFolder + "AudioNote2.wav").c_str(), "r+b")) {
    std::fseek(out, 22, SEEK_SET);
    std::fputc(0, out);  // channels
    std::fclose(out);
  }
  AudioNoteManager::AppendRecord(window, {"Damaged recording", "AudioNote2.wav", 0});
  if (FILE* out = std::fopen((gTextNoteFolder + "TextNote1.doc").c_str(), "wb")) {
    std::fputs("{\\rtf1", out);
    for (int i = 0; i < 5000; ++i) std::fputc('{', out);
    std::fclose(out);
  }
  TextNoteManager::AppendRecord(window, {"Restored from a backup", "TextNote1.doc", 0});
  // A progressive JPEG of 95 scans: seconds of decoding, while the album
  // shows that it is loading.
  std::vector<unsigned char> slow = PhotoLikeJpeg(2000, 1500, true);
  std::size_t lastScan = 0;
  for (std::size_t i = 2; i + 1 < slow.size(); ++i) {
    if (slow[i] == 0xFF && slow[i + 1] == 0xDA) lastScan = i;
  }
  const std::vector<unsigned char> scan(slow.begin() + static_cast<std::ptrdiff_t>(lastScan), slow.end() - 2);
  slow.resize(slow.size() - 2);
  for (int i = 10; i < 95; ++i) slow.insert(slow.end(), scan.begin(), scan.end());
  slow.push_back(0xFF);
  slow.push_back(0xD9);
  const std::string slowPath = (folder / "Harbour at dusk.jpg").string();
  if (FILE* out = std::fopen(slowPath.c_str(), "wb")) {
    std::fwrite(slow.data(), 1, slow.size(), out);
    std::fclose(out);
  }
  AddPhoto(window, "Harbour at dusk.jpg", "Many scans", slowPath, false);
  EmailResManager::AppendRecord(window, {"Ann Smith", "Acme Ltd", "1 High Street", "Leeds", "LS1 4AB", "Yorkshire",
                                         "+44 113 496 0000", "annie", "Met at the book fair", "ann@example.org"});
  InternetResManager::AppendRecord(window, {"Weather in Leeds", "http://weather.example.org/leeds", 3});
  FastTextManager::AppendRecord(window, {"Postal address", "Ann Smith\r\n1 High Street\r\nLeeds LS1 4AB"});
}

}  // namespace

// Once the audio note editor is up, a title and Start Record as a user would.
void CALLBACK StartTake(HWND, UINT, UINT_PTR timer, DWORD) {
  HWND dialog = FindWindowA("#32770", "Audio Note");
  if (!dialog) return;
  KillTimer(nullptr, timer);
  SetWindowTextA(GetDlgItem(dialog, IDC_AUDIO_TITLE), "Directions, the long way");
  SendMessageA(GetDlgItem(dialog, IDC_AUDIO_START_RECORD), BM_CLICK, 0, 0);
}

int main(int argc, char** argv) {
  qmtest::Showcase showcase("qm-editor-showcase");
  HWND window = showcase.Window();
  AddSamples(window, showcase.Folder());
  if (argc > 1 && std::strcmp(argv[1], "take-limit") == 0) {
    // The sound device of the virtual display has no mixer: its warnings
    // are answered unseen, so the box of the take's end is what shows.
    const ScopedMessageBoxScript quietMixer([](void* owner, const char* text, const char* caption, unsigned style) {
      if (std::strncmp(text, "Device does not have", 20) == 0 || std::strncmp(text, "ERROR: There are no", 19) == 0) {
        return kIdOk;
      }
      return PlatformShowMessageBox(owner, text, caption, style);
    });
    WaveRecorder().SetDataLimit(3 * 176400);
    SetTimer(nullptr, 0, 200, StartTake);
    PostMessageA(window, WM_COMMAND, MAKEWPARAM(IDM_ADD_AUDIO_NOTE, 0), 0);
    return showcase.RunMessageLoop();
  }

  if (argc > 2) {
    SendMessageA(window, WM_COMMAND, MAKEWPARAM(std::atoi(argv[2]), 0), 0);
    showcase.FocusRow(argc > 3 ? std::atoi(argv[3]) : 0);
  }
  if (argc > 1) PostMessageA(window, WM_COMMAND, MAKEWPARAM(std::atoi(argv[1]), 0), 0);
  return showcase.RunMessageLoop();
}

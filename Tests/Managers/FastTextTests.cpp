// Fast texts end to end under Wine: the real editor (dialog 7000) writes the
// attachment and the record, the tray builds its "Fast Texts" sub-menu from
// the store, and the main window puts the chosen snippet on the clipboard.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "Managers/KindManager.h"
#include "Managers/RecordManager.h"
#include "Records/DataFolders.h"
#include "Records/RecordText.h"
#include "Resources/FastTextEditorIds.h"
#include "Resources/MainWindowIds.h"
#include "Resources/TrayIds.h"
#include "Shell/CQuillmateTray.h"
#include "Shell/FastTextClipboard.h"
#include "Shell/MainWindowHooks.h"
#include "Support/DialogDriver.h"
#include "Support/FileBytes.h"
#include "Support/ImportHook.h"
#include "Support/TestMainWindow.h"

using namespace qmtest;

namespace {

constexpr char kCaption[] = "Fast Text";

std::string AttachmentOf(const DatabaseDataFastText& record) {
  return gFastTextFolder + RecordTextOf(record.fileName);
}

// The clipboard's CF_TEXT block: its bytes up to the block's size.
std::string ClipboardBlock() {
  std::string bytes;
  if (!OpenClipboard(nullptr)) return bytes;
  if (HANDLE data = GetClipboardData(CF_TEXT)) {
    if (const char* text = static_cast<const char*>(GlobalLock(data))) {
      bytes.assign(text, GlobalSize(data));
      GlobalUnlock(data);
    }
  }
  CloseClipboard();
  return bytes;
}

void PutOnClipboard(const std::string& text) {
  ASSERT_TRUE(OpenClipboard(nullptr));
  EmptyClipboard();
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
  std::memcpy(GlobalLock(block), text.c_str(), text.size() + 1);
  GlobalUnlock(block);
  SetClipboardData(CF_TEXT, block);
  CloseClipboard();
}

// A disk that fills up under the fast-text folder: each write there puts
// half its bytes on the disk and fails. Other writes (the stores, the
// test's own output) go through.
ScopedImportHook* gWriteHook = nullptr;
BOOL WINAPI HalfWrite(HANDLE file, LPCVOID buffer, DWORD count, LPDWORD written, LPOVERLAPPED overlapped) {
  const auto write = gWriteHook->Original<decltype(&WriteFile)>();
  // Named by the system from Vista on: looked up, as the headers target older ones.
  using FinalPathName = DWORD(WINAPI*)(HANDLE, LPSTR, DWORD, DWORD);
  static const auto finalPathName = reinterpret_cast<FinalPathName>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "GetFinalPathNameByHandleA")));
  char path[MAX_PATH * 2] = {};
  const DWORD length = finalPathName ? finalPathName(file, path, sizeof path, 0) : 0;
  if (length == 0 || length >= sizeof path || std::strstr(path, "\\FastText\\") == nullptr) {
    return write(file, buffer, count, written, overlapped);
  }
  write(file, buffer, count / 2, written, overlapped);
  SetLastError(ERROR_DISK_FULL);
  return FALSE;
}

// Memory that has run out, for the program's global blocks.
HGLOBAL WINAPI NoGlobalMemory(UINT, SIZE_T) {
  SetLastError(ERROR_NOT_ENOUGH_MEMORY);
  return nullptr;
}

class FastTextTest : public MainWindowTest {
 protected:
  // The "Fast Texts" sub-menu as the tray builds it when its menu opens.
  struct Item {
    std::string title;
    int command;
  };
  std::vector<Item> OpenTrayMenu() {
    std::vector<Item> items;
    HMENU menu = LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_TRAY_MENU));
    HMENU popup = GetSubMenu(menu, 0);
    m_tray.PrepareMenu(popup);
    HMENU fastTexts = GetSubMenu(popup, TRAY_MENU_POS_FAST_TEXTS);
    for (int i = 0; i < GetMenuItemCount(fastTexts); ++i) {
      char title[300] = {};
      GetMenuStringA(fastTexts, i, title, sizeof title, MF_BYPOSITION);
      items.push_back({title, static_cast<int>(GetMenuItemID(fastTexts, i))});
    }
    DestroyMenu(menu);
    return items;
  }

  std::uint32_t Add(const std::string& title, const std::string& text) {
    FastTextValues values{title, text};
    EXPECT_EQ(FastTextManager::AppendRecord(m_main->Handle(), values), 1);
    return m_main->Rows().back().address;
  }

  CQuillmateTray m_tray;
};

}  // namespace

TEST_F(FastTextTest, TextTypedInTheEditorRoundTripsByteForByteThroughAttachmentMenuAndClipboard) {
  const std::string text = "Dear Ann,\r\n\r\nthank you.\r\n  -- B.\r\n";
  HWND editor = nullptr;
  ASSERT_TRUE(DriveDialog(kCaption, [this] { m_main->Command(IDM_ADD_FAST_TEXT); },
                          [&](HWND dialog) {
                            editor = dialog;
                            // Either field empty: asked for both, nothing stored.
                            TypeText(dialog, IDC_FAST_TEXT_TITLE, "Thanks");
                            Press(dialog, IDC_FAST_TEXT_SAVE);
                            TypeText(dialog, IDC_FAST_TEXT_TITLE, "");
                            TypeText(dialog, IDC_FAST_TEXT_TEXT, text);
                            Press(dialog, IDC_FAST_TEXT_SAVE);
                            TypeText(dialog, IDC_FAST_TEXT_TITLE, "Thanks");
                            Press(dialog, IDC_FAST_TEXT_SAVE);
                          }));
  ASSERT_EQ(m_boxes.shown.size(), 2u);
  for (const ShownBox& box : m_boxes.shown) {
    EXPECT_EQ(box.text, "Please Fill in All Fields.");
    EXPECT_EQ(box.caption, "Quillmate");
    EXPECT_EQ(box.style & 0xF0u, kMbIconInformation);
    EXPECT_EQ(box.owner, editor);
  }

  auto stored = StoredRecords<DatabaseDataFastText>();
  ASSERT_EQ(stored.size(), 1u);
  EXPECT_EQ(RecordTextOf(stored[0].second.title), "Thanks");
  const std::string fileName = RecordTextOf(stored[0].second.fileName);
  EXPECT_EQ(fileName.find('\\'), std::string::npos) << "the record holds the bare file name";
  EXPECT_EQ(ReadFileText(AttachmentOf(stored[0].second)), text) << "no terminator, no header";
  ASSERT_EQ(m_main->Rows().size(), 1u);
  EXPECT_EQ(m_main->Rows()[0].texts[1], "Thanks");

  std::vector<Item> items = OpenTrayMenu();
  ASSERT_EQ(items.size(), 1u);
  EXPECT_EQ(items[0].title, "Thanks");
  static std::vector<std::string> copied;
  copied.clear();
  gMainWindowHooks.fastTextCopied = [](HWND, const char* title) { copied.push_back(CopiedBalloonText(title)); };
  m_main->Command(items[0].command);
  EXPECT_EQ(ClipboardBlock(), text + '\0') << "the bytes and one zero byte";
  // The tray says what was copied.
  EXPECT_EQ(copied, (std::vector<std::string>{"Copied: Thanks"}));
  EXPECT_EQ(CopiedBalloonText(std::string(300, 'x')).size(), 255u) << "a balloon holds 255 characters";

  // Edit to a shorter text: the file holds exactly the new text.
  m_main->FocusRow(0);
  std::string titleShown, textShown;
  ASSERT_TRUE(DriveDialog(kCaption, [this] { m_main->DoubleClickRecordList(); },
                          [&](HWND dialog) {
                            titleShown = TextOf(dialog, IDC_FAST_TEXT_TITLE);
                            textShown = TextOf(dialog, IDC_FAST_TEXT_TEXT);
                            TypeText(dialog, IDC_FAST_TEXT_TITLE, "Short");
                            TypeText(dialog, IDC_FAST_TEXT_TEXT, "Hi");
                            Press(dialog, IDC_FAST_TEXT_SAVE);
                          }));
  EXPECT_EQ(titleShown, "Thanks");
  EXPECT_EQ(textShown, text);
  stored = StoredRecords<DatabaseDataFastText>();
  ASSERT_EQ(stored.size(), 1u);
  EXPECT_EQ(RecordTextOf(stored[0].second.title), "Short");
  EXPECT_EQ(RecordTextOf(stored[0].second.fileName), fileName) << "an attachment's name never changes";
  EXPECT_EQ(ReadFileText(AttachmentOf(stored[0].second)), "Hi");
  EXPECT_EQ(m_main->Rows()[0].texts[1], "Short");
  items = OpenTrayMenu();
  ASSERT_EQ(items.size(), 1u);
  m_main->Command(items[0].command);
  EXPECT_EQ(ClipboardBlock(), std::string("Hi") + '\0');
  // Only the attachment is left in the folder: no new-content file stays.
  int files = 0;
  for (const auto& entry : std::filesystem::directory_iterator(gFastTextFolder)) files += entry.is_regular_file();
  EXPECT_EQ(files, 1);
}

TEST_F(FastTextTest, AChangeThatCannotBeWrittenKeepsTheOldTextRecordAndRowAndTheEditorOpen) {
  const std::uint32_t address = Add("Signature", "Kind regards,\r\nAnn");
  const std::string path = AttachmentOf(StoredRecords<DatabaseDataFastText>()[0].second);

  m_main->FocusRow(0);
  bool openAfterFailure = false;
  std::string keptText;
  HANDLE holder = INVALID_HANDLE_VALUE;
  ASSERT_TRUE(DriveDialog(kCaption, [this] { m_main->Command(IDM_EDIT_FAST_TEXT); },
                          [&](HWND dialog) {
                            // Held open without sharing, as another program
                            // may hold it: it cannot be replaced.
                            holder = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
                            TypeText(dialog, IDC_FAST_TEXT_TITLE, "New signature");
                            TypeText(dialog, IDC_FAST_TEXT_TEXT, "Best,\r\nAnn");
                            Press(dialog, IDC_FAST_TEXT_SAVE);
                            openAfterFailure = IsWindow(dialog) && IsWindowVisible(dialog);
                            keptText = TextOf(dialog, IDC_FAST_TEXT_TEXT);
                            // What was typed is given up only on the user's word.
                            m_boxes.answer = kIdYes;
                            Press(dialog, IDC_FAST_TEXT_CANCEL);
                          }));
  ASSERT_NE(holder, INVALID_HANDLE_VALUE);
  CloseHandle(holder);
  ASSERT_EQ(m_boxes.shown.size(), 2u);
  EXPECT_EQ(m_boxes.shown[1].text, "Discard the changes to this fast text?");
  EXPECT_EQ(m_boxes.shown[0].caption, "Quillmate");
  EXPECT_EQ(m_boxes.shown[0].style & 0xF0u, kMbIconError);
  EXPECT_TRUE(openAfterFailure);
  EXPECT_EQ(keptText, "Best,\r\nAnn");
  EXPECT_EQ(ReadFileText(path), "Kind regards,\r\nAnn");
  auto stored = StoredRecords<DatabaseDataFastText>();
  ASSERT_EQ(stored.size(), 1u);
  EXPECT_EQ(stored[0].first, address);
  EXPECT_EQ(RecordTextOf(stored[0].second.title), "Signature");
  EXPECT_EQ(m_main->Rows()[0].texts[1], "Signature");
}

TEST_F(FastTextTest, MenuItemsFollowTheFileAndEachCopiesOnlyItsOwnFastText) {
  // No fast texts: one disabled item says so, and it copies nothing.
  std::vector<Item> none = OpenTrayMenu();
  ASSERT_EQ(none.size(), 1u);
  EXPECT_EQ(none[0].title, "(no fast texts yet)");
  EXPECT_EQ(none[0].command, 0);

  // Enough fast texts that the last records lie past address 15,535, where
  // 50000 + address no longer fits a menu id.
  std::vector<std::uint32_t> addresses;
  for (int i = 0; i < 24; ++i) {
    addresses.push_back(Add("Snippet " + std::to_string(i), "Text number " + std::to_string(i)));
  }
  ASSERT_GT(addresses.back(), 15535u);

  std::vector<Item> items = OpenTrayMenu();
  ASSERT_EQ(items.size(), 24u);
  for (int i = 0; i < 24; ++i) EXPECT_EQ(items[i].title, "Snippet " + std::to_string(i));
  m_main->Command(items[23].command);
  EXPECT_EQ(ClipboardBlock(), std::string("Text number 23") + '\0');
  m_main->Command(items[5].command);
  EXPECT_EQ(ClipboardBlock(), std::string("Text number 5") + '\0');

  // Snippet 1 is deleted and a new fast text takes its block while the menu
  // is open: the old item copies nothing, rather than the newcomer's text.
  {
    auto store = OpenStore<DatabaseDataFastText>();
    ASSERT_TRUE(store);
    store->ReadRecord(addresses[1]);
    ASSERT_EQ(store->DeleteRecord(), addresses[1]);
    CloseStore(store);
  }
  ASSERT_EQ(Add("Q&A", "Not snippet one"), addresses[1]) << "first fit reuses the freed block";
  PutOnClipboard("unchanged");
  m_main->Command(items[1].command);
  EXPECT_EQ(ClipboardBlock(), std::string("unchanged") + '\0');

  // Reopened, the menu shows the newcomer in the old one's place, its
  // ampersand doubled so that the menu shows it rather than underlining "A".
  items = OpenTrayMenu();
  ASSERT_EQ(items.size(), 24u);
  EXPECT_EQ(items[1].title, "Q&&A");
  m_main->Command(items[1].command);
  EXPECT_EQ(ClipboardBlock(), std::string("Not snippet one") + '\0');

  // A fast text whose attachment was deleted outside the program: the file
  // error is shown and the clipboard keeps what it had.
  auto stored = StoredRecords<DatabaseDataFastText>();
  ASSERT_TRUE(DeleteFileA(AttachmentOf(stored[2].second).c_str()));
  PutOnClipboard("unchanged");
  m_boxes.shown.clear();
  m_main->Command(items[2].command);
  ASSERT_EQ(m_boxes.shown.size(), 1u);
  EXPECT_EQ(m_boxes.shown[0].caption, "Quillmate");
  EXPECT_EQ(m_boxes.shown[0].style & 0xF0u, kMbIconError);
  EXPECT_FALSE(m_boxes.shown[0].text.empty());
  EXPECT_EQ(ClipboardBlock(), std::string("unchanged") + '\0');

  // An id beyond the menu built last names nothing.
  m_main->Command(IDM_FAST_TEXT_FIRST + 24);
  EXPECT_EQ(ClipboardBlock(), std::string("unchanged") + '\0');
}

TEST_F(FastTextTest, AFastTextThatCannotBeWrittenWholeLeavesNoFileAndTheClipboardKeepsItsTextWithoutMemory) {
  {
    ScopedImportHook write("WriteFile", reinterpret_cast<void*>(HalfWrite));
    gWriteHook = &write;
    ASSERT_TRUE(write.Installed());
    ASSERT_NE(nullptr, GetProcAddress(GetModuleHandleA("kernel32.dll"), "GetFinalPathNameByHandleA"))
        << "the disk cannot be filled for the fast-text folder alone";
    FastTextValues values{"Address", "12 Long Street\r\nSpringfield"};
    EXPECT_EQ(FastTextManager::AppendRecord(m_main->Handle(), values), 0);
  }
  ASSERT_EQ(m_boxes.shown.size(), 1u);
  EXPECT_EQ(m_boxes.shown[0].text, "File IO error");
  EXPECT_TRUE(StoredRecords<DatabaseDataFastText>().empty());
  EXPECT_TRUE(std::filesystem::is_empty(gFastTextFolder)) << "the part written stayed in the folder";

  // Copying a fast text when no memory is left for it: the clipboard keeps
  // what it held rather than being emptied for nothing.
  Add("Address", "12 Long Street");
  PutOnClipboard("what the user copied before");
  {
    ScopedImportHook allocate("GlobalAlloc", reinterpret_cast<void*>(NoGlobalMemory));
    ASSERT_TRUE(allocate.Installed());
    m_main->Command(OpenTrayMenu()[0].command);
  }
  EXPECT_EQ(ClipboardBlock(), std::string("what the user copied before") + '\0');
  m_main->Command(OpenTrayMenu()[0].command);
  EXPECT_EQ(ClipboardBlock(), std::string("12 Long Street") + '\0') << "with memory it copies";
}

// The table behind the last "Fast Texts" menu, rebuilt whenever the tray
// menu opens.
#include "Managers/FastTextMenu.h"

#include <vector>

#include "Managers/FastTextAttachment.h"
#include "Managers/ManagerCore.h"
#include "Records/DatabaseData.h"
#include "Records/RecordText.h"

namespace {

struct MenuEntry {
  std::uint32_t address;
  std::string fileName;
  std::string title;
};

std::vector<MenuEntry> gMenuEntries;

// A title as a menu shows it: an ampersand of the user's is doubled, or the
// menu would take it for an access key ("Q&A" shown as "QA").
std::string MenuTextOf(const std::string& title) {
  std::string text;
  for (char c : title) {
    if (c == '&') text += '&';
    text += c;
  }
  return text;
}

const DatabaseDataFastText& As(const unsigned char* bytes) {
  return *reinterpret_cast<const DatabaseDataFastText*>(bytes);
}

// Reads the record at address; with expectedFileName it must still name that
// attachment. The snippet itself is then read from the attachment.
bool ReadSnippet(std::uint32_t address, const std::string* expectedFileName, std::string& text) {
  text.clear();
  if (address == 0) return true;
  bool same = true;
  bool read = false;
  ReadKindRecordAt(RecordKind::FastText, address, [&](const unsigned char* record) {
    std::string fileName = RecordTextOf(As(record).fileName);
    if (expectedFileName != nullptr && fileName != *expectedFileName) {
      same = false;
      return false;
    }
    read = ReadFastTextAttachment(fileName.c_str(), text);
    return read;
  });
  return same && read;
}

}  // namespace

void BuildFastTextMenu(HMENU menu) {
  gMenuEntries.clear();
  KindStore store = OpenKindStore(RecordKind::FastText);
  if (!store) return;
  store->ForEachRecord([&](std::uint32_t address) {
    if (gMenuEntries.size() >= static_cast<std::size_t>(kFastTextMenuCapacity)) return;
    const DatabaseDataFastText& record = As(store->RecordBytes());
    const int id = kFastTextMenuBase + static_cast<int>(gMenuEntries.size());
    if (AppendMenuA(menu, MF_STRING, static_cast<UINT_PTR>(id),
                    MenuTextOf(RecordTextOf(record.title)).c_str())) {
      gMenuEntries.push_back({address, RecordTextOf(record.fileName), RecordTextOf(record.title)});
    }
  });
  CloseKindStore(store);
}

bool ReadFastText(std::uint32_t address, std::string& text) {
  return ReadSnippet(address, nullptr, text);
}

bool FastTextOfCommand(int commandId, std::string& text, std::string* title) {
  text.clear();
  const int position = commandId - kFastTextMenuBase;
  if (position < 0 || static_cast<std::size_t>(position) >= gMenuEntries.size()) return false;
  // A copy: reading may show a box whose loop opens the tray menu again.
  const MenuEntry entry = gMenuEntries[static_cast<std::size_t>(position)];
  if (title != nullptr) *title = entry.title;
  return ReadSnippet(entry.address, &entry.fileName, text);
}

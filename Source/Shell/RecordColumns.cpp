// RecordColumns: widths kept as one text per kind ("120,180,120") under
// kColumnsKey, value named after the kind's store.
#include "Shell/RecordColumns.h"

#include <commctrl.h>

#include <cstdlib>

#include "Library/CListView.h"
#include "Managers/KindDescription.h"
#include "Managers/KindManager.h"
#include "Resources/MainWindowIds.h"
#include "Shell/RegistryStrings.h"

namespace {

const char* ValueName(RecordKind kind) {
  return RecordKindInfoOf(kind).storeName;
}

std::vector<int> KeptWidths(RecordKind kind) {
  std::vector<int> widths;
  char text[kRegistryStringSize] = {};
  if (!ReadRegistryString(kColumnsKey, ValueName(kind), text)) return widths;
  for (char* at = text; *at != '\0';) {
    char* end = nullptr;
    const long width = std::strtol(at, &end, 10);
    if (end == at || width < 0 || width > 10000) return {};  // not ours: ignored
    widths.push_back(static_cast<int>(width));
    at = (*end == ',') ? end + 1 : end;
    if (*end != ',' && *end != '\0') return {};
  }
  return widths;
}

int ColumnCount(HWND list) {
  HWND header = reinterpret_cast<HWND>(SendMessageA(list, LVM_GETHEADER, 0, 0));
  return header ? static_cast<int>(SendMessageA(header, HDM_GETITEMCOUNT, 0, 0)) : 0;
}

}  // namespace

std::vector<int> ShareWidth(const std::vector<int>& defaults, int width) {
  std::vector<int> shares;
  long total = 0;
  for (int part : defaults) total += part;
  if (defaults.empty() || total <= 0) return shares;
  int given = 0;
  for (std::size_t i = 0; i + 1 < defaults.size(); ++i) {
    shares.push_back(static_cast<int>(static_cast<long long>(defaults[i]) * width / total));
    given += shares.back();
  }
  shares.push_back(width - given);
  return shares;
}

std::vector<int> RecordColumnWidths(HWND list, RecordKind kind) {
  const KindDescription& description = KindDescriptionOf(kind);
  std::vector<int> widths = KeptWidths(kind);
  if (static_cast<int>(widths.size()) == description.columnCount) return widths;
  std::vector<int> defaults;
  for (int i = 0; i < description.columnCount; ++i) defaults.push_back(description.columns[i].width);
  RECT client = {};
  GetClientRect(list, &client);
  // Room for the vertical scroll bar that a long list gets as it fills,
  // so the columns never make a horizontal one.
  if ((GetWindowLongA(list, GWL_STYLE) & WS_VSCROLL) == 0) client.right -= GetSystemMetrics(SM_CXVSCROLL);
  // Never narrower than the kind's own widths: below that a scroll bar
  // is better than unreadable columns.
  widths = ShareWidth(defaults, client.right);
  for (int i = 0; i < description.columnCount; ++i) {
    if (widths[i] < defaults[i]) return defaults;
  }
  return widths;
}

void FitRecordColumns(HWND mainWindow) {
  HWND list = GetDlgItem(mainWindow, ID_RECORD_LIST);
  if (list == nullptr) return;
  const RecordKind kind = static_cast<RecordKind>(CurrentKind());
  if (ColumnCount(list) != KindDescriptionOf(kind).columnCount) return;  // another kind is being set up
  const std::vector<int> widths = RecordColumnWidths(list, kind);
  for (int i = 0; i < static_cast<int>(widths.size()); ++i) {
    if (ListView_GetColumnWidth(list, i) != widths[i]) ListView_SetColumnWidth(list, i, widths[i]);
  }
}

void RememberRecordColumns(HWND mainWindow) {
  HWND list = GetDlgItem(mainWindow, ID_RECORD_LIST);
  if (list == nullptr) return;
  std::string text;
  for (int i = 0, count = ColumnCount(list); i < count; ++i) {
    if (i > 0) text += ',';
    text += std::to_string(ListView_GetColumnWidth(list, i));
  }
  WriteRegistryString(kColumnsKey, ValueName(static_cast<RecordKind>(CurrentKind())), text.c_str());
}

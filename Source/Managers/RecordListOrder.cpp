// Sorting reads each row's text once into a key, sorts the keys, then hands
// the list view a comparison by rank: the list's own comparisons then cost a
// table look-up each instead of two text fetches and a string compare.
#include "Managers/RecordListOrder.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "Managers/KindDescription.h"
#include "Managers/KindManager.h"
#include "Managers/ManagerWindows.h"
#include "Managers/RecordListRows.h"
#include "Records/TimeStamp.h"

namespace {

RecordListOrder gOrders[kRecordKindCount];

struct RowKey {
  LPARAM param;
  std::uint64_t time;  // date columns
  std::string text;    // text columns
};

// The list view's comparison: by the rank each row's parameter (its record
// address, unique in the list) was given.
int CALLBACK CompareByRank(LPARAM first, LPARAM second, LPARAM ranks) {
  const auto& rank = *reinterpret_cast<const std::unordered_map<LPARAM, int>*>(ranks);
  const auto a = rank.find(first);
  const auto b = rank.find(second);
  const int rankA = a == rank.end() ? 0 : a->second;
  const int rankB = b == rank.end() ? 0 : b->second;
  return rankA < rankB ? -1 : rankA > rankB ? 1 : 0;
}

RowKey MakeKey(LPARAM param, const char* text, ColumnOrder order) {
  RowKey key;
  key.param = param;
  if (order == ColumnOrder::Date) {
    key.time = TimeStampOrder(text);
  } else {
    key.text = text;
  }
  return key;
}

// The keys from the managers' copy of the rows; from the list itself only
// when the copy does not match it.
std::vector<RowKey> ReadKeys(const CListView& list, int column, ColumnOrder order) {
  if (const std::vector<ListedRow>* rows = ListedRowsOf(list)) {
    std::vector<RowKey> keys;
    keys.reserve(rows->size());
    for (const ListedRow& row : *rows)
      keys.push_back(MakeKey(row.param, column < static_cast<int>(row.texts.size()) ? row.texts[column].c_str() : "", order));
    return keys;
  }
  const int count = list.GetItemCount();
  std::vector<RowKey> keys(static_cast<std::size_t>(count));
  char text[RowTexts::kMaxLength + 1];
  for (int row = 0; row < count; ++row) {
    LVITEMA cell = {};
    cell.iSubItem = column;
    cell.pszText = text;
    cell.cchTextMax = sizeof text;
    text[0] = '\0';
    list.Send(LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(&cell));
    keys[static_cast<std::size_t>(row)] = MakeKey(list.GetItemParam(row), text, order);
  }
  return keys;
}

// The arrow in the sorted column's header, none in the others (common
// controls 6 draws it; older versions ignore the flags).
void MarkSortedHeader(const CListView& list, const RecordListOrder& order) {
  HWND header = reinterpret_cast<HWND>(list.Send(LVM_GETHEADER));
  if (header == nullptr) return;
  const int columns = static_cast<int>(SendMessageA(header, HDM_GETITEMCOUNT, 0, 0));
  for (int column = 0; column < columns; ++column) {
    HDITEMA item = {};
    item.mask = HDI_FORMAT;
    if (!SendMessageA(header, HDM_GETITEMA, column, reinterpret_cast<LPARAM>(&item))) continue;
    item.fmt &= ~(HDF_SORTUP | HDF_SORTDOWN);
    if (column == order.column) item.fmt |= order.descending ? HDF_SORTDOWN : HDF_SORTUP;
    SendMessageA(header, HDM_SETITEMA, column, reinterpret_cast<LPARAM>(&item));
  }
}

}  // namespace

RecordListOrder RecordListOrderOf(RecordKind kind) {
  return gOrders[static_cast<int>(kind)];
}

void ResetRecordListOrders() {
  for (RecordListOrder& order : gOrders) order = RecordListOrder();
}

void SortRecordListByColumn(HWND mainWindow, int column) {
  const RecordKind kind = static_cast<RecordKind>(CurrentKind());
  if (column < 0 || column >= KindDescriptionOf(kind).columnCount) return;
  RecordListOrder& order = gOrders[static_cast<int>(kind)];
  order.descending = order.column == column ? !order.descending : false;
  order.column = column;
  ApplyRecordListOrder(kind, RecordListOf(mainWindow));
}

void ApplyRecordListOrder(RecordKind kind, const CListView& list) {
  const RecordListOrder order = gOrders[static_cast<int>(kind)];
  const KindDescription& description = KindDescriptionOf(kind);
  if (order.column < 0 || order.column >= description.columnCount || !list.HasWindow()) return;
  const ColumnOrder columnOrder = description.columns[order.column].order;
  std::vector<RowKey> keys = ReadKeys(list, order.column, columnOrder);
  auto less = [columnOrder](const RowKey& a, const RowKey& b) {
    if (columnOrder == ColumnOrder::Date) return a.time < b.time;
    return lstrcmpiA(a.text.c_str(), b.text.c_str()) < 0;
  };
  if (order.descending) {
    std::stable_sort(keys.begin(), keys.end(), [&less](const RowKey& a, const RowKey& b) { return less(b, a); });
  } else {
    std::stable_sort(keys.begin(), keys.end(), less);
  }
  std::unordered_map<LPARAM, int> ranks;
  ranks.reserve(keys.size());
  for (std::size_t i = 0; i < keys.size(); ++i) ranks.emplace(keys[i].param, static_cast<int>(i));
  list.Send(LVM_SORTITEMS, reinterpret_cast<WPARAM>(&ranks), reinterpret_cast<LPARAM>(CompareByRank));
  // The copy of the rows follows the list into the new order.
  if (std::vector<ListedRow>* rows = ListedRowsOf(list)) {
    std::stable_sort(rows->begin(), rows->end(), [&ranks](const ListedRow& a, const ListedRow& b) {
      return ranks[a.param] < ranks[b.param];
    });
  }
  MarkSortedHeader(list, order);
  // The focused row stays in sight wherever it moved.
  const int focused = list.GetFocusedItem();
  if (focused >= 0) list.EnsureVisible(focused, false);
}

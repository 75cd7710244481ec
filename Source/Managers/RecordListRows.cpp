#include "Managers/RecordListRows.h"

#include "Library/ListTypeAhead.h"

namespace {

std::vector<ListedRow> gRows;

bool StartsWith(const std::string& text, const char* prefix, int prefixLength) {
  return static_cast<int>(text.size()) >= prefixLength &&
         CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, text.data(), prefixLength, prefix, prefixLength) ==
             CSTR_EQUAL;
}

}  // namespace

std::vector<ListedRow>* ListedRowsOf(const CListView& list) {
  return static_cast<int>(gRows.size()) == list.GetItemCount() ? &gRows : nullptr;
}

void ClearListedRows() {
  gRows.clear();
}

void InsertListedRow(int index, LPARAM param, const RowTexts& texts) {
  ListedRow row;
  row.param = param;
  for (int i = 0; i < texts.Count(); ++i) row.texts.emplace_back(texts[i]);
  if (index < 0 || index > static_cast<int>(gRows.size())) index = static_cast<int>(gRows.size());
  gRows.insert(gRows.begin() + index, std::move(row));
}

void UpdateListedRow(int index, const RowTexts& texts) {
  if (index < 0 || index >= static_cast<int>(gRows.size())) return;
  ListedRow& row = gRows[static_cast<std::size_t>(index)];
  row.texts.clear();
  for (int i = 0; i < texts.Count(); ++i) row.texts.emplace_back(texts[i]);
}

void RemoveListedRow(int index) {
  if (index >= 0 && index < static_cast<int>(gRows.size())) gRows.erase(gRows.begin() + index);
}

int FindListedRowByPrefix(HWND list, int column, int start, const char* prefix, int prefixLength) {
  const std::vector<ListedRow>* rows = ListedRowsOf(CListView(GetParent(list), GetDlgCtrlID(list)));
  if (rows == nullptr) return FindRowByPrefix(list, column, start, prefix, prefixLength);
  const int count = static_cast<int>(rows->size());
  if (count == 0 || prefixLength <= 0) return -1;
  if (start < 0 || start >= count) start = 0;
  for (int step = 0; step < count; ++step) {
    const int row = (start + step) % count;
    const ListedRow& listed = (*rows)[static_cast<std::size_t>(row)];
    if (column < static_cast<int>(listed.texts.size()) && StartsWith(listed.texts[column], prefix, prefixLength))
      return row;
  }
  return -1;
}

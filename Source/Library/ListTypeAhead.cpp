// ListTypeAhead: a window subclass that takes the list's printable WM_CHAR
// messages before the list view's own incremental search sees them.
//
// The subclass replaces the window procedure and finds its state in a table
// of its own: every message the list gets passes through it (every row and
// cell a fill writes), and the common controls' SetWindowSubclass looks its
// state up in a window property at each one, which costs a round trip to the
// window server under Wine.
#include "Library/ListTypeAhead.h"

#include <commctrl.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

struct TypeAhead {
  HWND list;
  WNDPROC listProc;  // the procedure the subclass hands every message on to
  int column;
  RowFinder finder;
  std::string prefix;
  DWORD lastKeyTime = 0;
};

// One entry per list with type-ahead: a handful at most.
std::vector<TypeAhead*>& TypeAheadLists() {
  static std::vector<TypeAhead*> lists;
  return lists;
}

TypeAhead* TypeAheadOf(HWND list) {
  for (TypeAhead* state : TypeAheadLists()) {
    if (state->list == list) return state;
  }
  return nullptr;
}

bool AllSameLetter(const std::string& text) {
  return text.find_first_not_of(text[0]) == std::string::npos;
}

void FocusRow(HWND list, int row) {
  ListView_SetItemState(list, -1, 0, LVIS_SELECTED);
  ListView_SetItemState(list, row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  ListView_EnsureVisible(list, row, FALSE);
}

// Returns true when the character was taken as type-ahead.
bool OnCharacter(HWND list, TypeAhead& state, char character) {
  const unsigned char code = static_cast<unsigned char>(character);
  const DWORD now = static_cast<DWORD>(GetMessageTime());
  if (now - state.lastKeyTime > kTypeAheadPause) state.prefix.clear();
  // Control characters (Enter, Backspace, Esc) keep their usual meaning, and
  // so does a space that begins nothing.
  if (code < 0x20 || (code == ' ' && state.prefix.empty())) return false;
  state.lastKeyTime = now;
  state.prefix += character;
  const int count = ListView_GetItemCount(list);
  if (count == 0) return true;
  const int focused = ListView_GetNextItem(list, -1, LVNI_FOCUSED);
  // A first letter, or the same letter again ("ss"), steps to the next row
  // with that letter; a longer prefix may still match the focused row.
  const bool stepping = AllSameLetter(state.prefix);
  const int start = stepping ? focused + 1 : (focused < 0 ? 0 : focused);
  const std::string& wanted = stepping ? state.prefix.substr(0, 1) : state.prefix;
  const int row =
      state.finder(list, state.column, start % count, wanted.c_str(), static_cast<int>(wanted.size()));
  if (row >= 0) FocusRow(list, row);
  return true;
}

// An ANSI procedure: WM_CHAR arrives in the code page that the row texts
// and the prefix compare in.
LRESULT CALLBACK TypeAheadProc(HWND list, UINT message, WPARAM wParam, LPARAM lParam) {
  TypeAhead* state = TypeAheadOf(list);
  if (state == nullptr) return DefWindowProcA(list, message, wParam, lParam);
  const WNDPROC listProc = state->listProc;
  if (message == WM_CHAR && OnCharacter(list, *state, static_cast<char>(wParam))) return 0;
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrA(list, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(listProc));
    std::vector<TypeAhead*>& lists = TypeAheadLists();
    lists.erase(std::remove(lists.begin(), lists.end(), state), lists.end());
    delete state;
  }
  return CallWindowProcA(listProc, list, message, wParam, lParam);
}

}  // namespace

bool InstallListTypeAhead(HWND list, int column, RowFinder finder) {
  if (list == nullptr || TypeAheadOf(list) != nullptr) return false;
  TypeAhead* state = new TypeAhead{list, nullptr, column, finder, std::string(), 0};
  // In the table before the procedure changes: the first message through the
  // subclass finds its state.
  TypeAheadLists().push_back(state);
  state->listProc = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(list, GWLP_WNDPROC));
  if (state->listProc == nullptr ||
      SetWindowLongPtrA(list, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(TypeAheadProc)) == 0) {
    TypeAheadLists().pop_back();
    delete state;
    return false;
  }
  return true;
}

int FindRowByPrefix(HWND list, int column, int start, const char* prefix, int prefixLength) {
  const int count = ListView_GetItemCount(list);
  if (count <= 0 || prefixLength <= 0) return -1;
  if (start < 0 || start >= count) start = 0;
  char text[256];
  for (int step = 0; step < count; ++step) {
    const int row = (start + step) % count;
    LVITEMA cell = {};
    cell.iSubItem = column;
    cell.pszText = text;
    cell.cchTextMax = sizeof text;
    text[0] = '\0';
    const int length =
        static_cast<int>(SendMessageA(list, LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(&cell)));
    if (length < prefixLength) continue;
    if (CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, text, prefixLength, prefix, prefixLength) ==
        CSTR_EQUAL)
      return row;
  }
  return -1;
}

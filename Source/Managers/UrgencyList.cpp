// UrgencyList: the two entries in the order of their stored values.
#include "Managers/UrgencyList.h"

#include "Library/CComboBox.h"

void FillUrgencyList(HWND dialog, int listId, int value) {
  CComboBox list(dialog, listId);
  list.ResetContent();
  list.AddString("Normal");
  list.AddString("Urgent");
  list.SetCurSel(value == 1 ? 1 : 0);
}

int SelectedUrgency(HWND dialog, int listId) {
  return CComboBox(dialog, listId).GetCurSel() == 1 ? 1 : 0;
}

// The drop-down list of an urgency, "Normal" (0) and "Urgent" (1), shared by
// the editors of notes and time notifications.
#ifndef QUILLMATE_MANAGERS_URGENCYLIST_H
#define QUILLMATE_MANAGERS_URGENCYLIST_H

#include <windows.h>

// Fills the list and selects `value`; anything but 1 shows as "Normal".
void FillUrgencyList(HWND dialog, int listId, int value);
// The selected urgency: 1 urgent, 0 normal (also when nothing is selected).
int SelectedUrgency(HWND dialog, int listId);

#endif  // QUILLMATE_MANAGERS_URGENCYLIST_H

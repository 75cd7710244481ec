// The time notification editor, dialog 9000: title, message text, the date and
// time at which the notification is due, and Normal or Urgent. It is opened
// by the commands 240 (new) and 241 (edit), and by the generic edit command
// and a double click while time notifications are the current kind.
//
// An editor opened on a record keeps that record: it remembers the record's
// address when it opens, so a notification that is shown while the editor is
// open (which reloads the list and leaves no focused row) does not make Save
// change another record or none. Should the edited notification itself be
// shown and deleted meanwhile, Save stores the edited values as a new
// notification, so that what the user wrote is not lost.
#ifndef QUILLMATE_MANAGERS_TIMENOTIFICATIONEDITOR_H
#define QUILLMATE_MANAGERS_TIMENOTIFICATIONEDITOR_H

#include <windows.h>

// The picker's display format.
constexpr const char* kNotificationTimeFormat = "HH:mm:ss - MM/dd/yyyy";

// Runs the editor modally with mainWindow as parent: edit false for a new
// notification, true for the record of the record list's focused row.
// Returns 1 after Save, 2 after Cancel or the close box, and 0 when nothing
// opened (edit without a focused row, or the dialog could not be created;
// the latter is reported in an "Error x%x" box).
int OpenTimeNotificationEditor(HWND mainWindow, bool edit);

#endif  // QUILLMATE_MANAGERS_TIMENOTIFICATIONEDITOR_H

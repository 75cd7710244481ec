/* Ids of the reminder window that a due time notification opens. Plain
   #defines only, so that both the C++ code and windres read this header. */
#ifndef QUILLMATE_RESOURCES_REMINDERWINDOWIDS_H
#define QUILLMATE_RESOURCES_REMINDERWINDOWIDS_H

#define IDD_REMINDER 9100
#define IDC_REMINDER_ICON 9101
#define IDC_REMINDER_TEXT 9102
#define IDC_REMINDER_TIME 9103
#define IDC_REMINDER_SNOOZE 9104
#define IDC_REMINDER_SNOOZE_CHOICE 9105

#endif

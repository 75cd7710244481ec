// Reminders: the due time notifications on screen. Each tick of the main
// window's timer takes the due notifications out of the pending list, gives
// each a reminder window (CReminderWindow), at most ten open at once and the
// rest waiting in order, plays one sound for the batch and, while the main
// window is hidden in the tray, announces the batch in a tray balloon whose
// click brings the announced reminder forward.
#pragma once

#include <windows.h>

#include <vector>

// The main window's timer tick. A notification whose reminder is still open
// or waiting stays armed (an edit re-arms it) until that reminder has gone.
void CheckNotifications(HWND mainWindow);

// The tray balloon "Reminder: <title>" was clicked: that reminder's window
// comes forward (a waiting one moves to the head of the queue). False when
// it has gone meanwhile.
bool BringAnnouncedReminderForward();

// The open reminder windows, oldest first, and how many wait.
std::vector<HWND> OpenReminderWindows();
int WaitingReminderCount();

// The main window ends: every reminder window closes, leaving its record in
// the store for the next start.
void CloseReminders();

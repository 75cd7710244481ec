// Reminders: the open and the waiting reminders, the batch's sound and
// balloon. All on the user-interface thread.
#include "Shell/Reminders.h"

#include <algorithm>
#include <cstdint>
#include <deque>
#include <memory>
#include <string>

#include "Library/CSystemTray.h"
#include "Managers/TimeNotificationScheduler.h"
#include "Records/LocalClock.h"
#include "Records/RecordText.h"
#include "Shell/MainWindowHooks.h"
#include "Shell/ReminderSound.h"
#include "Shell/ReminderWindow.h"

namespace {

using Reminder = std::unique_ptr<CReminderWindow>;

std::vector<Reminder> gOpen;
std::deque<Reminder> gWaiting;
// Reminders whose window has gone; freed at the next tick, as the window's
// own handler may still be on the stack when it reports its end.
std::vector<Reminder> gEnded;
// What the last balloon announced, by its record's address.
std::uint32_t gAnnounced = 0;

bool Holds(const Reminder& reminder, std::uint32_t address) {
  return reminder->Address() == address && !reminder->IsDeleted();
}

// A notification whose reminder is still there is not due again.
bool IsHeld(std::uint32_t address) {
  auto holds = [address](const Reminder& reminder) { return Holds(reminder, address); };
  return std::any_of(gOpen.begin(), gOpen.end(), holds) || std::any_of(gWaiting.begin(), gWaiting.end(), holds);
}

int FreeSlot() {
  for (int slot = 0;; ++slot) {
    auto taken = [slot](const Reminder& reminder) { return reminder->Slot() == slot; };
    if (std::none_of(gOpen.begin(), gOpen.end(), taken)) return slot;
  }
}

void OnReminderClosed(CReminderWindow* closed);

// Opens waiting reminders, in order, while fewer than the most are open. A
// waiting reminder whose record was deleted or edited meanwhile is dropped:
// an edit armed the record again.
void OpenWaiting() {
  while (!gWaiting.empty() && static_cast<int>(gOpen.size()) < CReminderWindow::kMaxOpen) {
    Reminder next = std::move(gWaiting.front());
    gWaiting.pop_front();
    if (next->IsStale()) continue;
    // One that cannot be opened (reported) stays stored for the next start.
    if (!next->Open(FreeSlot())) continue;
    gOpen.push_back(std::move(next));
  }
}

void OnReminderClosed(CReminderWindow* closed) {
  auto it = std::find_if(gOpen.begin(), gOpen.end(), [closed](const Reminder& r) { return r.get() == closed; });
  if (it == gOpen.end()) return;
  gEnded.push_back(std::move(*it));
  gOpen.erase(it);
  OpenWaiting();
}

void Announce(HWND mainWindow, const DatabaseDataTimeNotif& first) {
  // Shown, the main window is where the user looks; hidden in the tray,
  // the balloon says why a window appeared.
  if (IsWindowVisible(mainWindow) || gMainWindowHooks.showBalloon == nullptr) return;
  const std::string text = "Reminder: " + RecordTextOf(first.title);
  const DWORD icon = first.type == 1 ? CSystemTray::kBalloonWarning : CSystemTray::kBalloonInfo;
  if (gMainWindowHooks.showBalloon(mainWindow, text.c_str(), icon)) gAnnounced = first.ownAddress;
}

}  // namespace

void CheckNotifications(HWND mainWindow) {
  gEnded.clear();
  std::vector<DatabaseDataTimeNotif> due = TakeDueNotifications(LocalNow(), IsHeld);
  if (due.empty()) return;
  for (const DatabaseDataTimeNotif& record : due) {
    gWaiting.push_back(std::make_unique<CReminderWindow>(record, mainWindow, OnReminderClosed));
  }
  OpenWaiting();
  PlayReminderSound();
  Announce(mainWindow, due.front());
}

bool BringAnnouncedReminderForward() {
  const std::uint32_t address = gAnnounced;
  if (address == 0) return false;
  auto holds = [address](const Reminder& reminder) { return Holds(reminder, address); };
  auto open = std::find_if(gOpen.begin(), gOpen.end(), holds);
  if (open != gOpen.end()) {
    (*open)->BringForward();
    return true;
  }
  auto waiting = std::find_if(gWaiting.begin(), gWaiting.end(), holds);
  if (waiting == gWaiting.end()) return false;
  // It opens as soon as a window closes; until then the reminders that are
  // open come forward with the oldest on top.
  Reminder announced = std::move(*waiting);
  gWaiting.erase(waiting);
  gWaiting.push_front(std::move(announced));
  if (!gOpen.empty()) gOpen.front()->BringForward();
  return true;
}

std::vector<HWND> OpenReminderWindows() {
  std::vector<HWND> windows;
  for (const Reminder& reminder : gOpen) windows.push_back(reminder->Window());
  return windows;
}

int WaitingReminderCount() {
  return static_cast<int>(gWaiting.size());
}

void CloseReminders() {
  for (Reminder& reminder : gOpen) reminder->Close();
  gOpen.clear();
  gWaiting.clear();
  gEnded.clear();
  gAnnounced = 0;
}

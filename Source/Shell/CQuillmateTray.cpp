// CQuillmateTray: the tray menu's "Fast Texts" pop-up.
#include "Shell/CQuillmateTray.h"

#include "Managers/FastTextMenu.h"
#include "Resources/TrayIds.h"
#include "Shell/Reminders.h"

void CQuillmateTray::PrepareMenu(HMENU menu) {
  HMENU fastTexts = GetSubMenu(menu, TRAY_MENU_POS_FAST_TEXTS);
  if (!fastTexts) return;
  // A resource pop-up cannot be empty, hence the placeholder.
  DeleteMenu(fastTexts, 0, MF_BYPOSITION);
  BuildFastTextMenu(fastTexts);
}

void CQuillmateTray::OnBalloonClick() {
  BringAnnouncedReminderForward();
}

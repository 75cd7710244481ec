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
  // An empty pop-up looks broken; say why there is nothing to choose.
  if (GetMenuItemCount(fastTexts) == 0) AppendMenuA(fastTexts, MF_STRING | MF_GRAYED, 0, kNoFastTextsYet);
}

void CQuillmateTray::OnBalloonClick() {
  BringAnnouncedReminderForward();
}

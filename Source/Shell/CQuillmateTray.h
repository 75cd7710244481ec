// CQuillmateTray: the program's tray icon. It adds to CSystemTray the
// "Fast Texts" pop-up of the tray menu, rebuilt each time the menu opens,
// and what a click on a reminder's balloon does.
#pragma once

#include "Library/CSystemTray.h"

class CQuillmateTray : public CSystemTray {
 public:
  // Takes the "Fast Texts" pop-up (position 2), removes the resource's
  // placeholder item and appends the current fast texts in file order.
  void PrepareMenu(HMENU menu) override;
  // Brings forward the reminder that the balloon announced.
  void OnBalloonClick() override;
};

// CQuillmateTray: the program's tray icon. It adds to CSystemTray only the
// "Fast Texts" pop-up of the tray menu, rebuilt each time the menu opens.
#pragma once

#include "Library/CSystemTray.h"

class CQuillmateTray : public CSystemTray {
 public:
  // Takes the "Fast Texts" pop-up (position 2), removes the resource's
  // placeholder item and appends the current fast texts in file order.
  void PrepareMenu(HMENU menu) override;
};

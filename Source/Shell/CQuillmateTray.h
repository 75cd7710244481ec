// CQuillmateTray: the program's tray icon. It adds to CSystemTray only the
// "Fast Texts" pop-up of the tray menu, rebuilt each time the menu opens.
#pragma once

#include "Library/CSystemTray.h"

class CQuillmateTray : public CSystemTray {
 public:
  // Takes the "Fast Texts" pop-up (position 2) and removes the resource's
  // placeholder item, so that the pop-up holds only the fast texts.
  void PrepareMenu(HMENU menu) override;
};

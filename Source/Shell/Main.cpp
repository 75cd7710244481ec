// The entry point of quillmate.exe. The tray object is a static object, made
// before the entry point runs and destroyed at process end, when it takes
// its icon out of the notification area.
#include <windows.h>

#include "Shell/CQuillmateTray.h"
#include "Shell/Startup.h"

static CQuillmateTray gTray;

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
  return RunQuillmate(instance, showCommand, gTray);
}

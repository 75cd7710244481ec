// CommandRouter: every command the main window receives (menus, toolbars,
// accelerators, the tray menu, double clicks), routed by its id through one
// table of handlers. A command without a row does nothing; the add and edit
// commands of a kind get their row when the kind's editor exists.
#pragma once

#include <windows.h>

// Carries out the command with this id for the main window.
void RouteCommand(HWND window, int commandId);

// Whether the table has a handler for the id (ids 50000 to 65535 are the
// fast texts and always count as routed).
bool HasCommandHandler(int commandId);

// MainWindowHooks: the hooks start empty; their owners install them.
#include "Shell/MainWindowHooks.h"

MainWindowHooks gMainWindowHooks;

/* Ids of the tray icon: its pop-up menu (the same number is the icon's id in
   the notification area) and the places of the menu's items. The commands
   themselves are the main window's (MainWindowIds.h). Plain #defines only,
   so that both the C++ code and windres read this header. */
#ifndef QUILLMATE_RESOURCES_TRAYIDS_H
#define QUILLMATE_RESOURCES_TRAYIDS_H

#define IDR_TRAY_MENU 102 /* also the icon id handed to the shell */

/* Positions in the menu's first pop-up; separators after the default item
   and before Exit. */
#define TRAY_MENU_POS_RESTORE 0 /* "Quillmate...", the default item */
#define TRAY_MENU_POS_NEW 2
#define TRAY_MENU_POS_FAST_TEXTS 3
#define TRAY_MENU_POS_ABOUT 4
#define TRAY_MENU_POS_EXIT 6

#endif

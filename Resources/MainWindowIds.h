/* Ids of the main window: its child controls, its commands (menus, toolbars,
   accelerators and the tray menu all send the same numbers), and its menu,
   accelerator, dialog, bitmap and icon resources. Plain #defines only, so that
   both the C++ code and windres read this header. */
#ifndef QUILLMATE_RESOURCES_MAINWINDOWIDS_H
#define QUILLMATE_RESOURCES_MAINWINDOWIDS_H

/* Child windows of the main window. */
#define ID_REBAR 1000
#define ID_MAIN_TOOLBAR 1001
#define ID_EDIT_TOOLBAR 1002
#define ID_RECORD_LIST 1004
#define ID_MANAGER_LIST 1005
#define ID_PROGRESS_BAR 1006
#define ID_STATUS_BAR 1007
#define ID_SPLITTER_BAR 4000500

/* Commands, by kind: add, edit, delete selected, delete all, show. */
#define IDM_ADD_TEXT_NOTE 201
#define IDM_EDIT_TEXT_NOTE 202
#define IDM_DELETE_TEXT_NOTES 204
#define IDM_DELETE_ALL_TEXT_NOTES 205
#define IDM_SHOW_TEXT_NOTES 207

#define IDM_ADD_AUDIO_NOTE 210
#define IDM_EDIT_AUDIO_NOTE 211
#define IDM_DELETE_AUDIO_NOTES 212
#define IDM_DELETE_ALL_AUDIO_NOTES 213
#define IDM_SHOW_AUDIO_NOTES 214

#define IDM_ADD_VIDEO_NOTE 220
#define IDM_EDIT_VIDEO_NOTE 221
#define IDM_DELETE_VIDEO_NOTES 222
#define IDM_DELETE_ALL_VIDEO_NOTES 223
#define IDM_SHOW_VIDEO_NOTES 224

#define IDM_PREVIEW_PHOTO_ALBUM 230
#define IDM_ADD_PHOTO 231
#define IDM_EDIT_PHOTO 232
#define IDM_DELETE_PHOTOS 234
#define IDM_DELETE_ALL_PHOTOS 235
#define IDM_SHOW_PHOTOS 236

#define IDM_ADD_TIME_NOTIFICATION 240
#define IDM_EDIT_TIME_NOTIFICATION 241
#define IDM_DELETE_TIME_NOTIFICATIONS 242
#define IDM_DELETE_ALL_TIME_NOTIFICATIONS 243
#define IDM_SHOW_TIME_NOTIFICATIONS 244

#define IDM_ADD_EMAIL_RESOURCE 250
#define IDM_EDIT_EMAIL_RESOURCE 251
#define IDM_DELETE_EMAIL_RESOURCES 253
#define IDM_DELETE_ALL_EMAIL_RESOURCES 254
#define IDM_SHOW_EMAIL_RESOURCES 255
#define IDM_SEND_MAIL 256

#define IDM_ADD_INTERNET_RESOURCE 260
#define IDM_EDIT_INTERNET_RESOURCE 261
#define IDM_DELETE_INTERNET_RESOURCES 263
#define IDM_DELETE_ALL_INTERNET_RESOURCES 264
#define IDM_SHOW_INTERNET_RESOURCES 265
#define IDM_BROWSE_RESOURCE 266

#define IDM_ADD_FAST_TEXT 270
#define IDM_EDIT_FAST_TEXT 271
#define IDM_DELETE_FAST_TEXTS 273
#define IDM_DELETE_ALL_FAST_TEXTS 274
#define IDM_SHOW_FAST_TEXTS 275

/* Commands of the window itself and of the current kind. */
#define IDM_ABOUT 280
#define IDM_HELP_CONTENTS 282
#define IDM_EDIT_CURRENT 284
#define IDM_DELETE_CURRENT 285
#define IDM_DELETE_ALL_CURRENT 286
#define IDM_EXIT 290
#define IDM_HIDE_TO_TRAY 291
#define IDM_RESTORE_FROM_TRAY 292
#define IDM_TOGGLE_MAIN_TOOLBAR 293
#define IDM_TOGGLE_EDIT_TOOLBAR 294
#define IDM_PAGE_SETUP 295
#define IDM_FIND 296 /* the Find window */

/* The text note editor's print button; only its tooltip lives here. */
#define IDM_PRINT_TEXT_NOTE 403

/* Tray menu "Fast Texts" entries: this base + the item's position. */
#define IDM_FAST_TEXT_FIRST 50000
#define IDM_FAST_TEXT_LAST 65535

/* Resources. */
#define IDR_ACCELERATORS 100
#define IDR_MAIN_MENU 101
#define IDR_TEXT_NOTE_MENU 104 /* 104 + kind number: the record list's context menus */
#define IDR_AUDIO_NOTE_MENU 105
#define IDR_VIDEO_NOTE_MENU 106
#define IDR_PHOTO_MENU 107
#define IDR_TIME_NOTIFICATION_MENU 108
#define IDR_EMAIL_RESOURCE_MENU 109
#define IDR_INTERNET_RESOURCE_MENU 110
#define IDR_FAST_TEXT_MENU 111

#define IDI_QUILLMATE 2
#define IDI_QUILLMATE_CLASSIC 7 /* the tray icon on platforms before version 5 */

#define IDB_MAIN_TOOLBAR 10 /* ten 32 x 32 pictures */
#define IDB_EDIT_TOOLBAR 11 /* fourteen 16 x 16 pictures */
#define IDB_MANAGERS 12     /* eight 42 x 42 pictures */
#define IDB_ABOUT 15

/* The About dialog. */
#define IDD_ABOUT 2000
#define IDC_ABOUT_PICTURE 2001
#define IDC_ABOUT_NAME 2002
#define IDC_ABOUT_VERSION 2003

#endif

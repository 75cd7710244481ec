// CommandRouter: the command table. Each row names a handler and the one
// argument it takes (a kind number, or a flag such as edit or delete-all).
// To wire an editor, add its add and edit rows, e.g.
//   {IDM_ADD_TEXT_NOTE, TextNoteEditor, 0}, {IDM_EDIT_TEXT_NOTE, TextNoteEditor, 1},
#include "Shell/CommandRouter.h"

#include "Editors/AudioNoteEditor.h"
#include "Editors/AudioNoteProperties.h"
#include "Editors/EmailResourceEditor.h"
#include "Editors/InternetResourceEditor.h"
#include "Editors/PhotoAlbumDialog.h"
#include "Editors/TextNoteEditor.h"
#include "Editors/VideoCaptureDialog.h"
#include "Editors/VideoNoteProperties.h"
#include "Managers/FastTextEditor.h"
#include "Managers/KindManager.h"
#include "Managers/ShellRequests.h"
#include "Managers/TimeNotificationEditor.h"
#include "Records/RecordStore.h"
#include "Resources/MainWindowIds.h"
#include "Shell/AboutDialog.h"
#include "Shell/BandToggles.h"
#include "Shell/ExitCommand.h"
#include "Shell/FastTextClipboard.h"
#include "Shell/FindDialog.h"
#include "Shell/KindCommands.h"
#include "Shell/MainWindowHooks.h"
#include "Shell/MainWindowLayout.h"
#include "Shell/PageSetup.h"

namespace {

using CommandHandler = void (*)(HWND window, int argument);

struct CommandRoute {
  int commandId;
  CommandHandler handler;
  int argument;
  // Whether the command may open a store (or end the program). Such a
  // command is not carried out while another action holds a store open and
  // waits in a box (a question, the CRC warning): the tray menu still reaches
  // the main window then, and a second action on the same file would have its
  // header changes overwritten when the first one closes it.
  bool needsStores = true;
};

RecordKind KindNumber(int number) {
  return static_cast<RecordKind>(number);
}

void ShowKind(HWND window, int kind) {
  ShowRecords(KindNumber(kind), window);
}

void DeleteSelected(HWND window, int kind) {
  RemoveRecords(KindNumber(kind), window, 0);
}

void DeleteAll(HWND window, int kind) {
  RemoveRecords(KindNumber(kind), window, 1);
}

void DeleteOfCurrentKind(HWND window, int all) {
  RemoveRecords(KindNumber(CurrentKind()), window, all);
}

void EditOfCurrentKind(HWND window, int) {
  if (const KindCommands* kind = KindCommandsAt(CurrentKind())) RouteCommand(window, kind->editCommand);
}

void TextNoteEditor(HWND window, int edit) {
  OpenTextNoteEditor(window, edit != 0, gPageSetup);
}

void TimeNotificationEditor(HWND window, int edit) {
  OpenTimeNotificationEditor(window, edit != 0);
}

void AudioNoteEditor(HWND window, int edit) {
  if (edit) {
    OpenAudioNoteProperties(window);
  } else {
    OpenAudioNoteEditor(window);
  }
}

void EmailResourceEditor(HWND window, int edit) {
  OpenEmailResourceEditor(window, edit != 0);
}

void InternetResourceEditor(HWND window, int edit) {
  OpenInternetResourceEditor(window, edit != 0);
}

void VideoNote(HWND window, int edit) {
  if (edit) {
    OpenVideoNoteProperties(window);
  } else {
    OpenVideoCaptureDialog(window);
  }
}

void PhotoAlbum(HWND window, int albumMode) {
  OpenPhotoAlbum(window, albumMode != 0, gPageSetup);
}

void AddPhotos(HWND window, int) {
  AddNewPhotos(window);
}

void FastTextEditor(HWND window, int edit) {
  OpenFastTextEditor(window, edit != 0);
}

void MailToFocused(HWND window, int) {
  SendMail(window);
}

void BrowseFocused(HWND window, int) {
  BrowseResource(window);
}

void HideWindow(HWND window, int) {
  if (gMainWindowHooks.hideToTray) {
    gMainWindowHooks.hideToTray(window);
  } else {
    ShowWindow(window, SW_HIDE);
  }
}

void RestoreWindow(HWND window, int) {
  // Laid out before it shows: moving panes while hidden costs nothing, and
  // the window comes back whole however it was hidden or resized meanwhile.
  RelayOutMainWindow(window);
  if (gMainWindowHooks.restoreFromTray) {
    gMainWindowHooks.restoreFromTray(window);
  } else {
    ShowWindow(window, SW_SHOW);
    SetForegroundWindow(window);
  }
}

void OpenHelp(HWND window, int) {
  if (gMainWindowHooks.openHelp) gMainWindowHooks.openHelp(window);
}

void ToggleBand(HWND window, int band) {
  ToggleRebarBand(window, band);
}

void About(HWND window, int) {
  ShowAboutDialog(window);
}

void Exit(HWND window, int) {
  ConfirmExit(window);
}

void PageSetup(HWND window, int) {
  RunPageSetup(window);
}

void Find(HWND window, int) {
  ShowFindDialog(window);
}

const CommandRoute kRoutes[] = {
    {IDM_ADD_TEXT_NOTE, TextNoteEditor, 0},
    {IDM_EDIT_TEXT_NOTE, TextNoteEditor, 1},
    {IDM_DELETE_TEXT_NOTES, DeleteSelected, 0},
    {IDM_DELETE_ALL_TEXT_NOTES, DeleteAll, 0},
    {IDM_SHOW_TEXT_NOTES, ShowKind, 0},

    {IDM_ADD_AUDIO_NOTE, AudioNoteEditor, 0},
    {IDM_EDIT_AUDIO_NOTE, AudioNoteEditor, 1},
    {IDM_DELETE_AUDIO_NOTES, DeleteSelected, 1},
    {IDM_DELETE_ALL_AUDIO_NOTES, DeleteAll, 1},
    {IDM_SHOW_AUDIO_NOTES, ShowKind, 1},

    {IDM_ADD_VIDEO_NOTE, VideoNote, 0},
    {IDM_EDIT_VIDEO_NOTE, VideoNote, 1},
    {IDM_DELETE_VIDEO_NOTES, DeleteSelected, 2},
    {IDM_DELETE_ALL_VIDEO_NOTES, DeleteAll, 2},
    {IDM_SHOW_VIDEO_NOTES, ShowKind, 2},

    {IDM_PREVIEW_PHOTO_ALBUM, PhotoAlbum, 1},
    {IDM_ADD_PHOTO, AddPhotos, 0},
    {IDM_EDIT_PHOTO, PhotoAlbum, 0},
    {IDM_DELETE_PHOTOS, DeleteSelected, 3},
    {IDM_DELETE_ALL_PHOTOS, DeleteAll, 3},
    {IDM_SHOW_PHOTOS, ShowKind, 3},

    {IDM_ADD_TIME_NOTIFICATION, TimeNotificationEditor, 0},
    {IDM_EDIT_TIME_NOTIFICATION, TimeNotificationEditor, 1},
    {IDM_DELETE_TIME_NOTIFICATIONS, DeleteSelected, 4},
    {IDM_DELETE_ALL_TIME_NOTIFICATIONS, DeleteAll, 4},
    {IDM_SHOW_TIME_NOTIFICATIONS, ShowKind, 4},

    {IDM_ADD_EMAIL_RESOURCE, EmailResourceEditor, 0},
    {IDM_EDIT_EMAIL_RESOURCE, EmailResourceEditor, 1},
    {IDM_DELETE_EMAIL_RESOURCES, DeleteSelected, 5},
    {IDM_DELETE_ALL_EMAIL_RESOURCES, DeleteAll, 5},
    {IDM_SHOW_EMAIL_RESOURCES, ShowKind, 5},
    {IDM_SEND_MAIL, MailToFocused, 0},

    {IDM_ADD_INTERNET_RESOURCE, InternetResourceEditor, 0},
    {IDM_EDIT_INTERNET_RESOURCE, InternetResourceEditor, 1},
    {IDM_DELETE_INTERNET_RESOURCES, DeleteSelected, 6},
    {IDM_DELETE_ALL_INTERNET_RESOURCES, DeleteAll, 6},
    {IDM_SHOW_INTERNET_RESOURCES, ShowKind, 6},
    {IDM_BROWSE_RESOURCE, BrowseFocused, 0},

    {IDM_ADD_FAST_TEXT, FastTextEditor, 0},
    {IDM_EDIT_FAST_TEXT, FastTextEditor, 1},
    {IDM_DELETE_FAST_TEXTS, DeleteSelected, 7},
    {IDM_DELETE_ALL_FAST_TEXTS, DeleteAll, 7},
    {IDM_SHOW_FAST_TEXTS, ShowKind, 7},

    {IDM_ABOUT, About, 0, false},
    {IDM_HELP_CONTENTS, OpenHelp, 0, false},
    {IDM_EDIT_CURRENT, EditOfCurrentKind, 0},
    {IDM_DELETE_CURRENT, DeleteOfCurrentKind, 0},
    {IDM_DELETE_ALL_CURRENT, DeleteOfCurrentKind, 1},
    {IDM_EXIT, Exit, 0},
    {IDM_HIDE_TO_TRAY, HideWindow, 0, false},
    {IDM_RESTORE_FROM_TRAY, RestoreWindow, 0, false},
    {IDM_TOGGLE_MAIN_TOOLBAR, ToggleBand, 0, false},
    {IDM_TOGGLE_EDIT_TOOLBAR, ToggleBand, 1, false},
    {IDM_PAGE_SETUP, PageSetup, 0, false},
    // The Find window only reads, on a thread of its own.
    {IDM_FIND, Find, 0, false},
};

const CommandRoute* FindRoute(int commandId) {
  for (const CommandRoute& route : kRoutes) {
    if (route.commandId == commandId) return &route;
  }
  return nullptr;
}

bool IsFastTextCommand(int commandId) {
  return commandId >= IDM_FAST_TEXT_FIRST && commandId <= IDM_FAST_TEXT_LAST;
}

bool StoreIsHeldOpen() {
  return RecordStore::LiveCount() > 0;
}

}  // namespace

void RouteCommand(HWND window, int commandId) {
  if (IsFastTextCommand(commandId)) {
    if (StoreIsHeldOpen()) return;
    if (gMainWindowHooks.fastTextCommand) {
      gMainWindowHooks.fastTextCommand(window, commandId);
    } else {
      std::string title;
      if (CopyFastTextToClipboard(window, commandId, title) && gMainWindowHooks.fastTextCopied) {
        gMainWindowHooks.fastTextCopied(window, title.c_str());
      }
    }
    return;
  }
  const CommandRoute* route = FindRoute(commandId);
  if (route == nullptr) return;
  if (route->needsStores && StoreIsHeldOpen()) return;
  route->handler(window, route->argument);
}

bool HasCommandHandler(int commandId) {
  return IsFastTextCommand(commandId) || FindRoute(commandId) != nullptr;
}

// The photo dialog, template 6000: the focused photo with its title and
// comment to edit (properties mode, commands 232, 284 and a double click),
// or every photo of the list in turn (album mode, command 230); a zoomable,
// scrollable view and printing. Also "Add New Photos" (command 231): the
// open-file dialog, then each chosen picture copied into the album.
#ifndef QUILLMATE_EDITORS_PHOTOALBUMDIALOG_H
#define QUILLMATE_EDITORS_PHOTOALBUMDIALOG_H

#include <windows.h>

#include <commdlg.h>

#include <string>

// Runs the dialog modally with mainWindow as owner. Album mode needs a row
// in the record list, properties mode a focused photo row; without, or when
// another editor is open, nothing opens and the result is 0. Otherwise the
// dialog's result plus one (it always ends with 2: Close, Esc, close box).
// Printing starts from the printer of pageSetup (the main window's) and
// keeps what the print dialog returns for it.
int OpenPhotoAlbum(HWND mainWindow, bool albumMode, PAGESETUPDLGA& pageSetup);

// Add New Photos: asks for picture files and adds each, in the order the
// dialog returns them, titled with its file name and commented "No
// Comment". While an editor is open it only brings that one forward.
// Always 1.
int AddNewPhotos(HWND mainWindow);

// Seams for tests, the platform's dialogs otherwise (null restores them).
// The file chooser fills buffer as the open-file dialog does: one full path,
// or the folder followed by the names, each ended by a zero character, and
// an empty name at the end. False when cancelled.
using PhotoFileChooser = bool (*)(HWND owner, std::string& buffer);
void SetPhotoFileChooser(PhotoFileChooser chooser);
// The printer chooser returns the device context the print dialog gives
// (the caller deletes it), or null when cancelled.
using PhotoPrinterChooser = HDC (*)(HWND owner);
void SetPhotoPrinterChooser(PhotoPrinterChooser chooser);

#endif  // QUILLMATE_EDITORS_PHOTOALBUMDIALOG_H

// Working a modal dialog from a test: the dialog runs its own message loop,
// so the test acts from a thread timer once the dialog (found by its
// caption) is up. Typing and pressing go through the real controls.
#ifndef QUILLMATE_TESTS_SUPPORT_DIALOGDRIVER_H
#define QUILLMATE_TESTS_SUPPORT_DIALOGDRIVER_H

#include <windows.h>

#include <functional>
#include <string>

namespace qmtest {

// open() starts the dialog (e.g. a command to the main window); act(dialog)
// runs once a visible dialog with this caption is up and must end it. False
// when no such dialog appeared, or act did not end it within two seconds
// (it is then closed, as the close box would).
bool DriveDialog(const char* caption, const std::function<void()>& open,
                 const std::function<void(HWND dialog)>& act);

// The visible dialog of this thread with this caption, or null.
HWND FindDialog(const char* caption);

void TypeText(HWND dialog, int id, const std::string& text);
std::string TextOf(HWND dialog, int id);
void Press(HWND dialog, int id);
// Selects an item of a drop-down list as a user would (with the change
// notification).
void ChooseListItem(HWND dialog, int id, int index);
int ChosenListItem(HWND dialog, int id);

}  // namespace qmtest

#endif  // QUILLMATE_TESTS_SUPPORT_DIALOGDRIVER_H

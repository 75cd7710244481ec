// The two manager commands that hand a record to the shell: a new mail to an
// e-mail resource's address, and opening an internet resource's address in
// the program registered for it. The shell call goes through one function
// pointer so that tests record the request instead of starting a browser.
#ifndef QUILLMATE_MANAGERS_SHELLREQUESTS_H
#define QUILLMATE_MANAGERS_SHELLREQUESTS_H

#include <windows.h>

using ShellExecuteFunction = HINSTANCE(WINAPI*)(HWND window, const char* verb, const char* file,
                                                const char* parameters, const char* directory,
                                                int showCommand);

// ShellExecuteA unless a test replaced it.
extern ShellExecuteFunction gShellExecute;

// Opens "mailto:" + the focused e-mail resource's address; nothing happens
// without a focused row. True when a request was made; when the system could
// not carry it out, a box says so.
bool SendMail(HWND mainWindow);

// Opens the focused internet resource's address; nothing happens without a
// focused row. True when a request was made; when the system could not
// carry it out, a box says so.
bool BrowseResource(HWND mainWindow);

#endif  // QUILLMATE_MANAGERS_SHELLREQUESTS_H

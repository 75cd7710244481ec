// ExitRequest: the quiet way to end a running Quillmate from outside (the
// setup program before it replaces or removes the files). Another process
// sends the registered message "QuillmateExitRequest" to the window of class
// "QuillmateClass"; the main window ends exactly as Exit answered Yes does,
// without asking.
#pragma once

#include <windows.h>

constexpr const char* kExitRequestMessageName = "QuillmateExitRequest";
// The answers: the sender waits for the process to end only after the first.
constexpr LRESULT kExitRequestAccepted = 1;
constexpr LRESULT kExitRequestRefused = 0;

// The message's number in this session (registered on first use).
UINT ExitRequestMessage();

// Ends the program, unless an editor, a message box or a modal dialog of the
// program is open: the request arrives through any message loop, including
// the one of a modal editor or of a question whose answer a store operation
// waits for, and ending there would throw away the user's unsaved input or
// cut an operation in half. Then nothing happens (an open editor comes
// forward) and the sender is told so.
LRESULT AnswerExitRequest(HWND mainWindow);

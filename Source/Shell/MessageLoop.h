// MessageLoop: the program's one message loop, with the keyboard accelerators.
#pragma once

#include <windows.h>

// Runs until the quit message and returns its code; -1 when retrieving a
// message fails. Messages of a registered modeless dialog go to it first
// (CModelessDialogs), whatever window is active. Keys for the main window or any of its children (mostly one
// of the two lists, which hold the focus) go through MainWindowKeys; other
// messages have their accelerators translated against the addressed window.
int RunMessageLoop(HACCEL accelerators, HWND mainWindow = nullptr);

// Runs task once, the first time the program's loop finds no message waiting:
// after the windows are drawn and the program is ready for input. Work that
// can wait (starting the help viewer on the first start) goes here.
void RunWhenIdle(void (*task)());

// The main window's list (manager or record list) that window is, or lies
// in (a list's header), or null.
HWND MainWindowListOf(HWND mainWindow, HWND window);

// The main window's keys, before the message is dispatched: accelerators are
// translated for the main window whatever child has the focus (translated
// against the list, F1 and Ctrl+P would reach the list and do nothing), and
// Tab or Shift+Tab moves the focus between the manager list and the record
// list. True when the message was used up.
bool TranslateMainWindowKeys(HWND mainWindow, HACCEL accelerators, MSG* message);

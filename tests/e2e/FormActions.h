#pragma once

#include <windows.h>

#include <string>

#include "tests/e2e/VantrelProcess.h"

namespace vantrel::testing {

// The user's actions on the running program's window, and what it answers.
// Clicks are posted, so the program's modal message box does not hold the test.

void SetText1(HWND form, const std::wstring& text);
void SelectListItem(HWND form, int index);
void PostClick(HWND form, int buttonId);

// The text of the next message box, which is then closed with OK; empty when none comes.
std::wstring TakeMessage(VantrelProcess& process);

// Puts `text` into Text1, presses the add button and takes the answer.
std::wstring Add(VantrelProcess& process, const std::wstring& text);
// Selects item `index` of List1 (-1: none), presses the delete button and takes the answer.
std::wstring Delete(VantrelProcess& process, int index);

// Cancels the shell's question on a delete of a file another program holds open (Wine
// asks whether to delete it for good, Windows says it is in use); returns the question's
// owner. Throws when the shell says nothing.
HWND CancelShellOnAFileInUse(VantrelProcess& process);

// The index of the entry `name` in List1, or -1 when it is not listed.
int EntryIndex(HWND form, const std::wstring& name);

// The main window after a reload cycle: a new window, not `before`. Null when none comes.
HWND WaitForNewMainWindow(VantrelProcess& process, HWND before);

// Input as a user gives it, through the system's input queue (SendInput), to the
// foreground window. Each call first brings `window`'s top-level window to the front.
void PressKey(HWND window, WORD virtualKey);
void TypeText(HWND window, const std::wstring& text);
// A left click at `point`, in `window`'s client coordinates.
void Click(HWND window, POINT point);
// Another program's window comes to the front, then `window`'s again, as with Alt+Tab.
void SwitchAwayAndBack(HWND window);

}  // namespace vantrel::testing

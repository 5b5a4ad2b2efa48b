#pragma once

#include <windows.h>

namespace vantrel::app {

// The window has a fixed size: a "Maximized" shortcut shows it as designed.
int WithoutMaximize(int showCommand);

// Maximized is the window's own rectangle where it is, so Windows' replacing the first
// show with a "Maximized" shortcut's state shows nothing of it (WM_GETMINMAXINFO).
void MaximizeInPlace(HWND window, MINMAXINFO& limits);

// Whether showing the window this way makes it the active one.
bool Activates(int showCommand);

}  // namespace vantrel::app

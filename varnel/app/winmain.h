#pragma once

#include "platform/ui/wintypes.h"

// The program's entry point with the four arguments of a Windows GUI program, of which only the module
// (its resources) is used. Whoever starts the program first registers the spreadsheet's class and
// chooses the user-interface backend. Returns the exit code: the main dialog's result.
int wWinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPWSTR lpCmdLine, int nShowCmd);

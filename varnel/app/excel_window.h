#pragma once

#include "platform/ui/user.h"
#include "platform/ui/wintypes.h"
#include "varnel/excel/application.h"

#include <cstdint>

// The spreadsheet's main window (Application.Hwnd), the owner of the program's message boxes and
// dialogs; raises the automation error as the property does. When the front end shows no window of
// that handle, nothing owns them: a message shown unowned is better than one not shown at all.
inline HWND excelWindow(Excel::_Application& app) {
    HWND window = reinterpret_cast<HWND>(static_cast<std::intptr_t>(app.GetHwnd()));
    return ::IsWindow(window) ? window : nullptr;
}

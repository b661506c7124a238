#pragma once

#include "platform/ui/wintypes.h"
#include "varnel/excel/application.h"

#include <cstdint>

// The spreadsheet's main window (Application.Hwnd), the owner of the program's message boxes and
// dialogs. Raises the automation error as the property does.
inline HWND excelWindow(Excel::_Application& app) {
    return reinterpret_cast<HWND>(static_cast<std::intptr_t>(app.GetHwnd()));
}

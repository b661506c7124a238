#pragma once

#include "platform/ui/wintypes.h"

#include <cstdint>

// The start-up services of a Windows user-interface program: the module that holds the resources, the common
// controls and control hosting. Dialogs find their templates in the module given to CAppModule::Init.

struct INITCOMMONCONTROLSEX {
    DWORD dwSize;
    DWORD dwICC;
};
inline constexpr DWORD ICC_BAR_CLASSES = 0x4;

// TRUE when dwSize is the structure's size, as Windows checks.
BOOL InitCommonControlsEx(const INITCOMMONCONTROLSEX* init);
BOOL AtlAxWinInit();

class CAppModule {
public:
    // Returns 0 (S_OK), or 0x80070057 (E_INVALIDARG) without an instance.
    std::int32_t Init(const void* objectMap, HINSTANCE instance);
    void Term();
    HINSTANCE GetModuleInstance() const;
    HINSTANCE GetResourceInstance() const;
};

namespace ui {
// The module whose resources dialogs and LoadImageW/LoadStringW callers use; CAppModule::Init sets it.
HINSTANCE resourceInstance();
void setResourceInstance(HINSTANCE instance);
} // namespace ui

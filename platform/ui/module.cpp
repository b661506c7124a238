#include "platform/ui/module.h"

namespace {
HINSTANCE current = nullptr;
}

BOOL InitCommonControlsEx(const INITCOMMONCONTROLSEX* init) {
    return init && init->dwSize == sizeof(INITCOMMONCONTROLSEX) ? TRUE : FALSE;
}

BOOL AtlAxWinInit() {
    return TRUE;
}

std::int32_t CAppModule::Init(const void* objectMap, HINSTANCE instance) {
    (void)objectMap; // no COM objects are registered through the module
    if (!instance)
        return std::int32_t(0x80070057);
    current = instance;
    return 0;
}

void CAppModule::Term() {
    current = nullptr;
}
HINSTANCE CAppModule::GetModuleInstance() const {
    return current;
}
HINSTANCE CAppModule::GetResourceInstance() const {
    return current;
}

namespace ui {
HINSTANCE resourceInstance() {
    return current;
}
void setResourceInstance(HINSTANCE instance) {
    current = instance;
}
} // namespace ui

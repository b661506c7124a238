#pragma once

#include "platform/ui/resources.h"
#include "varnel/res/resource.h"

// The program's resource module: its dialog templates, icon, string table and manifest. The entry point hands
// instance() to CAppModule::Init, as a Windows program hands over the module that carries its resources.
namespace res {

const ui::ResourceModule& module();
inline HINSTANCE instance() {
    return &module();
}

extern const ui::IconResource mainIcon;
extern const std::span<const ui::DialogTemplate> dialogs;

} // namespace res

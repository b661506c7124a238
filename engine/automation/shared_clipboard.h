#pragma once

#include "engine/model/clipboard.h"

#include <optional>

// The one clipboard of the process, shared by every instance, as the system clipboard is. What an
// instance copies remembers the instance, so that a paste into another instance carries values only.
namespace engine::automation {

struct ClipboardContent {
    Snapshot snapshot;
    int instance = 0; // Application::number() of the instance that copied
};

std::optional<ClipboardContent>& clipboard();

} // namespace engine::automation

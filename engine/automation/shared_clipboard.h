#pragma once

#include "engine/automation/book.h"
#include "engine/model/clipboard.h"

#include <memory>
#include <optional>

// The one clipboard of the process, shared by every instance, as the system clipboard is. What an
// instance copies remembers the instance, so that a paste into another instance carries values only.
// What was cut remembers where it came from: the paste that takes it empties those cells, and the
// clipboard with them.
namespace engine::automation {

struct CutSource {
    std::weak_ptr<Book> book; // the clipboard never keeps a workbook open
    SheetId sheet = 0;
    Area area;
};

struct ClipboardContent {
    Snapshot snapshot;
    int instance = 0; // Application::number() of the instance that copied
    std::optional<CutSource> cut;
};

std::optional<ClipboardContent>& clipboard();

} // namespace engine::automation

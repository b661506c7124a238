#include "engine/automation/shared_clipboard.h"

namespace engine::automation {

std::optional<ClipboardContent>& clipboard() {
    static std::optional<ClipboardContent> content;
    return content;
}

} // namespace engine::automation

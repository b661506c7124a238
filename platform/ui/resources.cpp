#include "platform/ui/resources.h"

#include <algorithm>

namespace ui {

namespace {
template <class T> const T* byId(std::span<const T> table, int id) {
    auto it = std::find_if(table.begin(), table.end(), [id](const T& r) { return r.id == id; });
    return it == table.end() ? nullptr : &*it;
}
} // namespace

const DialogTemplate* ResourceModule::dialog(int id) const {
    return byId(dialogs, id);
}
const IconResource* ResourceModule::icon(int id) const {
    return byId(icons, id);
}
const StringResource* ResourceModule::string(int id) const {
    return byId(strings, id);
}

} // namespace ui

int LoadStringW(HINSTANCE instance, UINT id, LPWSTR buffer, int max) {
    const ui::StringResource* s = instance ? instance->string(int(id)) : nullptr;
    if (!buffer || max <= 0)
        return 0;
    if (!s) {
        buffer[0] = 0;
        return 0;
    }
    size_t n = std::min(s->text.size(), size_t(max - 1));
    std::copy_n(s->text.data(), n, buffer);
    buffer[n] = 0;
    return int(n);
}

#include "platform/ui/backend.h"

#include "platform/ui/headless.h"
#include "platform/ui/user.h"

namespace ui {

namespace {
Backend* selected = nullptr;
}

int Backend::systemMetric(int index) const {
    switch (index) {
    case SM_CXSCREEN:
        return 1280;
    case SM_CYSCREEN:
        return 800;
    case SM_CYCAPTION:
        return 23;
    case SM_CXBORDER:
    case SM_CYBORDER:
        return 1;
    case SM_CXDLGFRAME:
    case SM_CYDLGFRAME:
        return 3;
    case SM_CXICON:
    case SM_CYICON:
        return 32;
    case SM_CXSMICON:
    case SM_CYSMICON:
        return 16;
    default:
        return 0;
    }
}

RECT Backend::workArea() const {
    return {0, 0, systemMetric(SM_CXSCREEN), systemMetric(SM_CYSCREEN)};
}

SIZE Backend::dialogBaseUnits(std::u16string_view face, int pointSize) const {
    if (face == u"MS Shell Dlg" && pointSize == 8)
        return {6, 13}; // what Windows reports for its standard dialog font
    LONG height = MulDiv(pointSize, 96, 72);
    return {(height + 1) / 2, height};
}

void setBackend(Backend* backend) {
    selected = backend;
}

Backend& backend() {
    if (selected)
        return *selected;
    static HeadlessBackend fallback;
    return fallback;
}

} // namespace ui

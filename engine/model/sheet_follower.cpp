#include "engine/model/sheet_follower.h"

#include "engine/model/sheet.h"

namespace engine {

void SheetFollower::follow(Sheet& sheet) {
    leave();
    sheet_ = &sheet;
    next_ = sheet.followers_;
    if (next_)
        next_->prev_ = this;
    sheet.followers_ = this;
}

void SheetFollower::leave() {
    if (!sheet_)
        return;
    if (prev_)
        prev_->next_ = next_;
    else
        sheet_->followers_ = next_;
    if (next_)
        next_->prev_ = prev_;
    sheet_ = nullptr;
    prev_ = next_ = nullptr;
}

} // namespace engine

#pragma once

#include "engine/formula/adjust.h"

namespace engine {

class Sheet;

// Something outside a sheet that names cells of it and must keep naming the same cells when rows,
// columns or cells move (the object model's ranges). While it follows a sheet, the sheet tells it of
// every structural edit, after the edit and with the edit that formulas are adjusted by. Following and
// leaving cost O(1): the followers of a sheet form an intrusive list. A sheet that goes away lets its
// followers go first, and a follower that goes away leaves its sheet.
class SheetFollower {
public:
    SheetFollower() = default;
    SheetFollower(const SheetFollower&) = delete;
    SheetFollower& operator=(const SheetFollower&) = delete;

    // Leaves the sheet followed so far, if any.
    void follow(Sheet& sheet);
    void leave();
    bool following() const { return sheet_ != nullptr; }

protected:
    ~SheetFollower() { leave(); }

    virtual void structureChanged(const formula::StructuralEdit& edit) = 0;

private:
    friend class Sheet;

    Sheet* sheet_ = nullptr;
    SheetFollower* prev_ = nullptr;
    SheetFollower* next_ = nullptr;
};

} // namespace engine

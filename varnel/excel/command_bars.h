#pragma once

#include "platform/com/unknown.h"
#include "platform/com/variant.h"
#include "varnel/excel/forward.h"

#include <string>

// The Office command bars of a spreadsheet instance: its menu bar and toolbars, and the program's own.
namespace Office {

enum MsoBarPosition {
    msoBarLeft = 0,
    msoBarTop = 1,
    msoBarRight = 2,
    msoBarBottom = 3,
    msoBarFloating = 4,
    msoBarPopup = 5,
    msoBarMenuBar = 6,
};

enum MsoControlType {
    msoControlCustom = 0,
    msoControlButton = 1,
    msoControlEdit = 2,
    msoControlDropdown = 3,
    msoControlComboBox = 4,
    msoControlPopup = 10,
};

enum MsoButtonStyle {
    msoButtonAutomatic = 0,
    msoButtonIcon = 1,
    msoButtonCaption = 2,
    msoButtonIconAndCaption = 3,
};

struct _CommandBars : IDispatch {
    static constexpr IID iid = com::guidOf("{000C0302-0000-0000-C000-000000000046}");
    using base_interface = IDispatch;

    virtual long GetCount() = 0;
    // By 1-based number or by name.
    virtual CommandBarPtr GetItem(const Variant& Index) = 0;
    // A temporary bar goes away when the instance ends.
    virtual CommandBarPtr Add(const Variant& Name = vtMissing, const Variant& Position = vtMissing,
                              const Variant& MenuBar = vtMissing, const Variant& Temporary = vtMissing) = 0;
};

struct CommandBar : IDispatch {
    static constexpr IID iid = com::guidOf("{000C0304-0000-0000-C000-000000000046}");
    using base_interface = IDispatch;

    virtual std::u16string GetName() = 0;
    virtual void PutName(const std::u16string& RHS) = 0;
    // A disabled bar is not shown and its controls do nothing.
    virtual VARIANT_BOOL GetEnabled() = 0;
    virtual void PutEnabled(VARIANT_BOOL RHS) = 0;
    virtual VARIANT_BOOL GetVisible() = 0;
    virtual void PutVisible(VARIANT_BOOL RHS) = 0;
    virtual CommandBarControlsPtr GetControls() = 0;
};

struct CommandBarControls : IDispatch {
    static constexpr IID iid = com::guidOf("{000C0306-0000-0000-C000-000000000046}");
    using base_interface = IDispatch;

    // A new control at the end (or before the 1-based position Before). A button comes as a
    // CommandBarControl that also answers _CommandBarButton.
    virtual CommandBarControlPtr Add(const Variant& Type = vtMissing, const Variant& Id = vtMissing,
                                     const Variant& Parameter = vtMissing, const Variant& Before = vtMissing,
                                     const Variant& Temporary = vtMissing) = 0;
    virtual long GetCount() = 0;
    virtual CommandBarControlPtr GetItem(const Variant& Index) = 0;
};

struct CommandBarControl : IDispatch {
    static constexpr IID iid = com::guidOf("{000C0308-0000-0000-C000-000000000046}");
    using base_interface = IDispatch;

    virtual std::u16string GetCaption() = 0;
    virtual void PutCaption(const std::u16string& RHS) = 0;
};

// A button. It is the source of the button events (connection point DIID__CommandBarButtonEvents,
// see events.h).
struct _CommandBarButton : CommandBarControl {
    static constexpr IID iid = com::guidOf("{000C030E-0000-0000-C000-000000000046}");
    using base_interface = CommandBarControl;

    virtual MsoButtonStyle GetStyle() = 0;
    virtual void PutStyle(MsoButtonStyle RHS) = 0;
};

} // namespace Office

#pragma once

#include "engine/automation/support.h"
#include "varnel/excel/command_bars.h"

#include <optional>
#include <string>
#include <vector>

// The menu bar and toolbars of one instance, and the buttons on them.
namespace engine::automation {

class CommandBarObject;

class ButtonObject final : public Object<Office::_CommandBarButton, IConnectionPointContainer> {
public:
    ButtonObject(CommandBarObject* bar, std::u16string caption, bool temporary);
    ~ButtonObject() override;

    std::u16string GetCaption() override { return caption_; }
    void PutCaption(const std::u16string& RHS) override { caption_ = RHS; }
    Office::MsoButtonStyle GetStyle() override { return style_; }
    void PutStyle(Office::MsoButtonStyle RHS) override;

    HRESULT STDMETHODCALLTYPE FindConnectionPoint(REFIID riid, IConnectionPoint** ppCP) override;

    // What a click does: the Click event to every advised sink, when the button's bar is shown and
    // enabled. Whether the click reached the button.
    bool click();

    bool temporary() const { return temporary_; }
    CommandBarObject* bar() const { return bar_; }
    void detach() { bar_ = nullptr; }

private:
    CommandBarObject* bar_; // null once its bar has ended
    std::u16string caption_;
    Office::MsoButtonStyle style_ = Office::msoButtonAutomatic;
    bool temporary_;
    ConnectionPoint clicks_;
};

class CommandBarObject final : public Object<Office::CommandBar> {
public:
    CommandBarObject(std::u16string name, bool builtIn, bool temporary, bool visible);
    ~CommandBarObject() override;

    std::u16string GetName() override { return name_; }
    void PutName(const std::u16string& RHS) override { name_ = RHS; }
    VARIANT_BOOL GetEnabled() override { return enabled_ ? VARIANT_TRUE : VARIANT_FALSE; }
    void PutEnabled(VARIANT_BOOL RHS) override { enabled_ = RHS != VARIANT_FALSE; }
    VARIANT_BOOL GetVisible() override { return visible_ ? VARIANT_TRUE : VARIANT_FALSE; }
    void PutVisible(VARIANT_BOOL RHS) override { visible_ = RHS != VARIANT_FALSE; }
    Office::CommandBarControlsPtr GetControls() override;

    ComPtr<ButtonObject> addButton(std::u16string caption, bool temporary, std::optional<long> before);

    const std::u16string& name() const { return name_; }
    bool builtIn() const { return builtIn_; }
    bool temporary() const { return temporary_; }
    bool enabled() const { return enabled_; }
    bool visible() const { return visible_; }
    // Shown on screen: a disabled bar is not shown.
    bool shown() const { return enabled_ && visible_; }
    const std::vector<ComPtr<ButtonObject>>& buttons() const { return buttons_; }

private:
    std::u16string name_;
    bool builtIn_;
    bool temporary_;
    bool enabled_ = true;
    bool visible_;
    std::vector<ComPtr<ButtonObject>> buttons_;
};

class CommandBarsObject final : public Object<Office::_CommandBars> {
public:
    // The built-in bars of a new instance, and the lasting bars that earlier instances left behind.
    CommandBarsObject();

    long GetCount() override { return static_cast<long>(bars_.size()); }
    Office::CommandBarPtr GetItem(const Variant& Index) override;
    Office::CommandBarPtr Add(const Variant& Name, const Variant& Position, const Variant& MenuBar,
                              const Variant& Temporary) override;

    const std::vector<ComPtr<CommandBarObject>>& bars() const { return bars_; }
    CommandBarObject* find(std::u16string_view name) const;

    // The instance ends: temporary bars and buttons go; the others are kept for the instances to come,
    // as a toolbar file keeps them.
    void end();

private:
    std::vector<ComPtr<CommandBarObject>> bars_;
    int customNumber_ = 1;
};

} // namespace engine::automation

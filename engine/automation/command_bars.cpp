#include "engine/automation/command_bars.h"

#include "engine/core/text.h"
#include "varnel/excel/events.h"

#include <algorithm>
#include <utility>

namespace engine::automation {

namespace {

struct BuiltInBar {
    const char16_t* name;
    bool visible;
    std::initializer_list<const char16_t*> captions;
};

// The bars a spreadsheet comes with: its menu bars, its toolbars and the pop-up menus of cells, rows,
// columns and sheet tabs.
const BuiltInBar kBuiltInBars[] = {
    {u"Worksheet Menu Bar",
     true,
     {u"文件(&F)", u"编辑(&E)", u"视图(&V)", u"插入(&I)", u"格式(&O)", u"工具(&T)", u"数据(&D)", u"窗口(&W)",
      u"帮助(&H)"}},
    {u"Chart Menu Bar", false, {}},
    {u"Standard", true, {u"新建", u"打开", u"保存", u"打印", u"剪切", u"复制", u"粘贴", u"撤消", u"排序"}},
    {u"Formatting", true, {u"字体", u"字号", u"加粗", u"倾斜", u"下划线", u"左对齐", u"居中", u"右对齐"}},
    {u"PivotTable", false, {}},
    {u"Chart", false, {}},
    {u"Reviewing", false, {}},
    {u"Forms", false, {}},
    {u"Stop Recording", false, {}},
    {u"External Data", false, {}},
    {u"Formula Auditing", false, {}},
    {u"Full Screen", false, {}},
    {u"Circular Reference", false, {}},
    {u"Visual Basic", false, {}},
    {u"Web", false, {}},
    {u"Control Toolbox", false, {}},
    {u"Drawing", false, {}},
    {u"Borders", false, {}},
    {u"Protection", false, {}},
    {u"Cell",
     false,
     {u"剪切(&T)", u"复制(&C)", u"粘贴(&P)", u"插入(&I)...", u"删除(&D)...", u"清除内容(&N)"}},
    {u"Column", false, {}},
    {u"Row", false, {}},
    {u"Ply", false, {}},
};

struct LastingButton {
    std::u16string caption;
    Office::MsoButtonStyle style;
};
struct LastingBar {
    std::u16string name;
    bool visible;
    bool enabled;
    std::vector<LastingButton> buttons;
};

// The bars that were not temporary, kept between the instances of this process.
std::vector<LastingBar>& lastingBars() {
    static std::vector<LastingBar> bars;
    return bars;
}

bool sameName(std::u16string_view a, std::u16string_view b) {
    return compareFolded(a, b) == 0;
}

class ControlsObject final : public Object<Office::CommandBarControls> {
public:
    explicit ControlsObject(ComPtr<CommandBarObject> bar) : bar_(std::move(bar)) {}

    Office::CommandBarControlPtr Add(const Variant& Type, const Variant&, const Variant&,
                                     const Variant& Before, const Variant& Temporary) override {
        long type = optionalLong(Type).value_or(Office::msoControlButton);
        if (type != Office::msoControlButton)
            fail(u"Only buttons can be added to a command bar.");
        std::optional<long> before = optionalLong(Before);
        if (before && (*before < 1 || *before > GetCount() + 1))
            fail(u"There is no control at that position.");
        auto button = bar_->addButton({}, optionalBool(Temporary).value_or(false), before);
        return Office::CommandBarControlPtr(static_cast<Office::CommandBarControl*>(button.get()));
    }
    long GetCount() override { return static_cast<long>(bar_->buttons().size()); }
    Office::CommandBarControlPtr GetItem(const Variant& Index) override {
        const auto& buttons = bar_->buttons();
        if (Index.vt() == VT_BSTR) {
            for (const auto& b : buttons)
                if (sameName(b->GetCaption(), Index.bstrVal()))
                    return Office::CommandBarControlPtr(static_cast<Office::CommandBarControl*>(b.get()));
            fail(u"No control has that caption.");
        }
        long n = optionalLong(Index).value_or(0);
        if (n < 1 || n > GetCount())
            fail(u"There is no control of that number.");
        return Office::CommandBarControlPtr(static_cast<Office::CommandBarControl*>(buttons[n - 1].get()));
    }

private:
    ComPtr<CommandBarObject> bar_;
};

} // namespace

ButtonObject::ButtonObject(CommandBarObject* bar, std::u16string caption, bool temporary)
    : bar_(bar), caption_(std::move(caption)), temporary_(temporary),
      clicks_(*this, DIID__CommandBarButtonEvents) {}

ButtonObject::~ButtonObject() = default;

void ButtonObject::PutStyle(Office::MsoButtonStyle RHS) {
    if (RHS < Office::msoButtonAutomatic || RHS > Office::msoButtonIconAndCaption)
        fail(u"That is not a button style.");
    style_ = RHS;
}

HRESULT STDMETHODCALLTYPE ButtonObject::FindConnectionPoint(REFIID riid, IConnectionPoint** ppCP) {
    return findConnectionPoint({&clicks_}, riid, ppCP);
}

bool ButtonObject::click() {
    if (!bar_ || !bar_->shown())
        return false;
    // The sinks may release their last reference to this button while it runs.
    ComPtr<ButtonObject> self(this);
    VARIANT_BOOL cancelDefault = VARIANT_FALSE;
    clicks_.fire(Office::CommandBarButtonEvents::Click,
                 {Variant(static_cast<IDispatch*>(static_cast<Office::_CommandBarButton*>(this))),
                  Variant(&cancelDefault)});
    return true;
}

CommandBarObject::CommandBarObject(std::u16string name, bool builtIn, bool temporary, bool visible)
    : name_(std::move(name)), builtIn_(builtIn), temporary_(temporary), visible_(visible) {}

CommandBarObject::~CommandBarObject() {
    for (auto& b : buttons_)
        b->detach();
}

Office::CommandBarControlsPtr CommandBarObject::GetControls() {
    return makeComObject<ControlsObject>(ComPtr<CommandBarObject>(this));
}

ComPtr<ButtonObject> CommandBarObject::addButton(std::u16string caption, bool temporary,
                                                 std::optional<long> before) {
    auto button = makeComObject<ButtonObject>(this, std::move(caption), temporary);
    auto at = before ? buttons_.begin() + (*before - 1) : buttons_.end();
    buttons_.insert(at, button);
    return button;
}

CommandBarsObject::CommandBarsObject() {
    for (const BuiltInBar& b : kBuiltInBars) {
        auto bar = makeComObject<CommandBarObject>(b.name, true, false, b.visible);
        for (const char16_t* caption : b.captions)
            bar->addButton(caption, false, std::nullopt)->PutStyle(Office::msoButtonCaption);
        bars_.push_back(bar);
    }
    for (const LastingBar& kept : lastingBars()) {
        auto bar = makeComObject<CommandBarObject>(kept.name, false, false, kept.visible);
        bar->PutEnabled(kept.enabled ? VARIANT_TRUE : VARIANT_FALSE);
        for (const LastingButton& b : kept.buttons)
            bar->addButton(b.caption, false, std::nullopt)->PutStyle(b.style);
        bars_.push_back(bar);
    }
}

CommandBarObject* CommandBarsObject::find(std::u16string_view name) const {
    for (const auto& bar : bars_)
        if (sameName(bar->name(), name))
            return bar.get();
    return nullptr;
}

Office::CommandBarPtr CommandBarsObject::GetItem(const Variant& Index) {
    if (Index.vt() == VT_BSTR) {
        if (CommandBarObject* bar = find(Index.bstrVal()))
            return Office::CommandBarPtr(bar);
        fail(u"There is no command bar named " + Index.bstrVal() + u".");
    }
    long n = optionalLong(Index).value_or(0);
    if (n < 1 || n > GetCount())
        fail(u"There is no command bar of that number.");
    return Office::CommandBarPtr(bars_[n - 1].get());
}

Office::CommandBarPtr CommandBarsObject::Add(const Variant& Name, const Variant& Position, const Variant&,
                                             const Variant& Temporary) {
    std::u16string name;
    if (omitted(Name)) {
        do
            name = u"Custom " + formatNumber(customNumber_++);
        while (find(name));
    } else {
        name = Name.toString();
    }
    if (name.empty())
        fail(u"A command bar needs a name.");
    if (find(name))
        fail(u"A command bar named " + name + u" exists already.");
    long position = optionalLong(Position).value_or(Office::msoBarFloating);
    if (position < Office::msoBarLeft || position > Office::msoBarPopup)
        fail(u"That is not a command bar position.");
    auto bar = makeComObject<CommandBarObject>(std::move(name), false,
                                               optionalBool(Temporary).value_or(false), false);
    bars_.push_back(bar);
    return Office::CommandBarPtr(bar.get());
}

void CommandBarsObject::end() {
    auto& kept = lastingBars();
    for (const auto& bar : bars_) {
        if (bar->builtIn() || bar->temporary())
            continue;
        LastingBar saved{bar->name(), bar->visible(), bar->enabled(), {}};
        for (const auto& b : bar->buttons())
            if (!b->temporary())
                saved.buttons.push_back({b->GetCaption(), b->GetStyle()});
        std::erase_if(kept, [&](const LastingBar& k) { return sameName(k.name, saved.name); });
        kept.push_back(std::move(saved));
    }
    bars_.clear();
}

} // namespace engine::automation

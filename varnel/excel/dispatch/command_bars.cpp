#include "platform/com/dispatch_proxy.h"
#include "varnel/excel/dispatch/proxies.h"
#include "varnel/excel/dispatch/values.h"
#include "varnel/excel/excel.h"

namespace excel_dispatch {

using com::Proxy;

namespace {

class CommandBarsProxy final : public Proxy<Office::_CommandBars> {
public:
    using Proxy::Proxy;
    long GetCount() override { return get(u"Count").toLong(); }
    Office::CommandBarPtr GetItem(const Variant& Index) override {
        return as<Office::CommandBar>(get(u"Item", {Index}));
    }
    Office::CommandBarPtr Add(const Variant& Name, const Variant& Position, const Variant& MenuBar,
                              const Variant& Temporary) override {
        return as<Office::CommandBar>(call(u"Add", {Name, Position, MenuBar, Temporary}));
    }
};

class CommandBarProxy final : public Proxy<Office::CommandBar> {
public:
    using Proxy::Proxy;
    std::u16string GetName() override { return get(u"Name").toString(); }
    void PutName(const std::u16string& RHS) override { put(u"Name", Variant(RHS)); }
    VARIANT_BOOL GetEnabled() override { return boolean(get(u"Enabled")); }
    void PutEnabled(VARIANT_BOOL RHS) override { put(u"Enabled", boolean(RHS)); }
    VARIANT_BOOL GetVisible() override { return boolean(get(u"Visible")); }
    void PutVisible(VARIANT_BOOL RHS) override { put(u"Visible", boolean(RHS)); }
    Office::CommandBarControlsPtr GetControls() override {
        return as<Office::CommandBarControls>(get(u"Controls"));
    }
};

class CommandBarControlsProxy final : public Proxy<Office::CommandBarControls> {
public:
    using Proxy::Proxy;
    Office::CommandBarControlPtr Add(const Variant& Type, const Variant& Id, const Variant& Parameter,
                                     const Variant& Before, const Variant& Temporary) override {
        return as<Office::CommandBarControl>(call(u"Add", {Type, Id, Parameter, Before, Temporary}));
    }
    long GetCount() override { return get(u"Count").toLong(); }
    Office::CommandBarControlPtr GetItem(const Variant& Index) override {
        return as<Office::CommandBarControl>(get(u"Item", {Index}));
    }
};

// A control answers _CommandBarButton when it is a button; the proxy of the button serves both.
class CommandBarButtonProxy final : public Proxy<Office::_CommandBarButton> {
public:
    using Proxy::Proxy;
    std::u16string GetCaption() override { return get(u"Caption").toString(); }
    void PutCaption(const std::u16string& RHS) override { put(u"Caption", Variant(RHS)); }
    Office::MsoButtonStyle GetStyle() override { return Office::MsoButtonStyle(get(u"Style").toLong()); }
    void PutStyle(Office::MsoButtonStyle RHS) override { put(u"Style", number(RHS)); }
};

} // namespace

void registerCommandBarProxies() {
    com::registerProxy(Office::_CommandBars::iid, com::makeProxy<CommandBarsProxy>);
    com::registerProxy(Office::CommandBar::iid, com::makeProxy<CommandBarProxy>);
    com::registerProxy(Office::CommandBarControls::iid, com::makeProxy<CommandBarControlsProxy>);
    com::registerProxy(Office::CommandBarControl::iid, com::makeProxy<CommandBarButtonProxy>);
    com::registerProxy(Office::_CommandBarButton::iid, com::makeProxy<CommandBarButtonProxy>);
}

} // namespace excel_dispatch

#include "platform/com/com.h"
#include "platform/text/utf.h"
#include "varnel/excel/excel.h"

#include <gtest/gtest.h>
#include <set>
#include <vector>

namespace {

std::u16string idText(const IID& iid) {
    return com::formatGuid(iid);
}

TEST(ExcelInterface, EveryInterfaceHasItsOwnId) {
    std::vector<IID> ids = {uuidof<Excel::_Application>(),
                            uuidof<Excel::Workbooks>(),
                            uuidof<Excel::_Workbook>(),
                            uuidof<Excel::Sheets>(),
                            uuidof<Excel::_Worksheet>(),
                            uuidof<Excel::Range>(),
                            uuidof<Excel::Font>(),
                            uuidof<Excel::Interior>(),
                            uuidof<Excel::Borders>(),
                            uuidof<Excel::Validation>(),
                            uuidof<Excel::WorksheetFunction>(),
                            uuidof<Office::_CommandBars>(),
                            uuidof<Office::CommandBar>(),
                            uuidof<Office::CommandBarControls>(),
                            uuidof<Office::CommandBarControl>(),
                            uuidof<Office::_CommandBarButton>(),
                            Excel::AppEvents::iid,
                            Office::CommandBarButtonEvents::iid,
                            IID_IUnknown,
                            IID_IDispatch,
                            IID_IConnectionPointContainer,
                            IID_IConnectionPoint};
    std::set<std::u16string> distinct;
    for (const IID& iid : ids)
        EXPECT_TRUE(distinct.insert(idText(iid)).second) << text::toUtf8(idText(iid));
}

// A toolbar button as a server implements it against the interface.
class Button : public ComObject<Office::_CommandBarButton, IConnectionPointContainer> {
public:
    std::u16string GetCaption() override { return caption_; }
    void PutCaption(const std::u16string& caption) override { caption_ = caption; }
    Office::MsoButtonStyle GetStyle() override { return style_; }
    void PutStyle(Office::MsoButtonStyle style) override { style_ = style; }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, Variant*, EXCEPINFO*,
                                     UINT*) override {
        return DISP_E_MEMBERNOTFOUND;
    }
    HRESULT STDMETHODCALLTYPE FindConnectionPoint(REFIID riid, IConnectionPoint** ppCP) override {
        return findConnectionPoint({&events}, riid, ppCP);
    }

    ConnectionPoint events{*this, Office::CommandBarButtonEvents::iid};

private:
    std::u16string caption_;
    Office::MsoButtonStyle style_ = Office::msoButtonAutomatic;
};

// A client's sink as a Windows program writes it: embedded, not counted, dispatch-only.
struct ClickSink : IDispatch {
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override {
        if (!ppv)
            return E_POINTER;
        *ppv = nullptr;
        if (riid != IID_IUnknown && riid != IID_IDispatch && riid != Office::CommandBarButtonEvents::iid)
            return E_NOINTERFACE;
        *ppv = this;
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 1; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, Variant*, EXCEPINFO*,
                                     UINT*) override {
        if (id != Office::CommandBarButtonEvents::Click || params->cArgs != 2)
            return S_OK;
        clicked = Office::_CommandBarButtonPtr(*dispArg(*params, 0));
        cancel = dispArg(*params, 1)->pboolVal();
        return S_OK;
    }

    Office::_CommandBarButtonPtr clicked;
    VARIANT_BOOL* cancel = nullptr;
};

TEST(ExcelInterface, ButtonAnswersAsControlAndButtonAndDeliversClick) {
    ComPtr<Button> server = makeComObject<Button>();
    Office::CommandBarControlPtr control = server;
    Office::_CommandBarButtonPtr button = control;
    ASSERT_TRUE(button);
    button->PutStyle(Office::msoButtonCaption);
    button->PutCaption(u"增加征订单位");
    EXPECT_EQ(control->GetCaption(), u"增加征订单位");
    EXPECT_FALSE(Excel::RangePtr(control));

    ClickSink sink;
    ComPtr<IConnectionPointContainer> container = button;
    ComPtr<IConnectionPoint> point;
    ASSERT_EQ(container->FindConnectionPoint(DIID__CommandBarButtonEvents, &point), S_OK);
    DWORD cookie = 0;
    ASSERT_EQ(point->Advise(&sink, &cookie), S_OK);

    VARIANT_BOOL cancelDefault = VARIANT_FALSE;
    static_cast<Button*>(button.get())
        ->events.fire(Office::CommandBarButtonEvents::Click, {Variant(button), Variant(&cancelDefault)});
    EXPECT_EQ(sink.clicked.get(), button.get());
    EXPECT_EQ(sink.cancel, &cancelDefault);

    EXPECT_EQ(point->Unadvise(cookie), S_OK);
    sink.clicked = nullptr;
}

} // namespace

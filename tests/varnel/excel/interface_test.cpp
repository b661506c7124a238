#include "platform/com/com.h"
#include "platform/com/disp_event.h"
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
const _ATL_FUNC_INFO ClickInfo = {0, VT_EMPTY, 2, {VT_DISPATCH, VT_BYREF | VT_BOOL}};

struct ClickSink : IDispEventSimpleImpl<1, ClickSink, &DIID__CommandBarButtonEvents> {
    BEGIN_SINK_MAP(ClickSink)
    SINK_ENTRY_INFO(1, DIID__CommandBarButtonEvents, Office::CommandBarButtonEvents::Click, OnClick,
                    &ClickInfo)
    END_SINK_MAP()

    void OnClick(IDispatch* button, VARIANT_BOOL* cancelDefault) {
        clicked = Office::_CommandBarButtonPtr(button);
        cancel = cancelDefault;
    }
    void ReportSinkError(UINT, HRESULT, const std::u16string&) {}

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
    ASSERT_EQ(sink.DispEventAdvise(button), S_OK);

    VARIANT_BOOL cancelDefault = VARIANT_FALSE;
    static_cast<Button*>(button.get())
        ->events.fire(Office::CommandBarButtonEvents::Click, {Variant(button), Variant(&cancelDefault)});
    EXPECT_EQ(sink.clicked.get(), button.get());
    EXPECT_EQ(sink.cancel, &cancelDefault);

    EXPECT_EQ(sink.DispEventUnadvise(button), S_OK);
    sink.clicked = nullptr;
}

} // namespace

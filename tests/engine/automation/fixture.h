#pragma once

#include "engine/automation/application.h"
#include "engine/automation/prompts.h"
#include "varnel/excel/excel.h"

#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace engine::automation::testing {

// An event sink that records what it receives, arguments first-to-last, and runs a handler inside the
// event.
class Sink final : public ComObject<IDispatch> {
public:
    struct Event {
        DISPID id;
        std::vector<Variant> args;
    };

    explicit Sink(IID events) : events_(events) {}

    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, Variant*, EXCEPINFO*,
                                     UINT*) override {
        Event event{id, {}};
        for (UINT i = params->cArgs; i-- > 0;)
            event.args.push_back(params->rgvarg[i]);
        received.push_back(event);
        if (onEvent)
            onEvent(id, *params);
        return S_OK;
    }

    std::vector<Event> of(DISPID id) const {
        std::vector<Event> list;
        for (const Event& e : received)
            if (e.id == id)
                list.push_back(e);
        return list;
    }

    std::vector<Event> received;
    std::function<void(DISPID, DISPPARAMS&)> onEvent;

protected:
    void* queryOther(REFIID riid) override {
        return riid == events_ ? static_cast<IDispatch*>(this) : nullptr;
    }

private:
    IID events_;
};

// Advises a sink on a source for as long as it lives.
class Connection {
public:
    Connection(IUnknown* source, IID events) : sink(makeComObject<Sink>(events)) {
        ComPtr<IConnectionPointContainer> container(source);
        EXPECT_TRUE(container);
        EXPECT_EQ(container->FindConnectionPoint(events, &point), S_OK);
        EXPECT_EQ(point->Advise(static_cast<IDispatch*>(sink.get()), &cookie), S_OK);
    }
    ~Connection() { point->Unadvise(cookie); }
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    Sink* operator->() const { return sink.get(); }

    ComPtr<Sink> sink;
    ComPtr<IConnectionPoint> point;
    DWORD cookie = 0;
};

// Answers the instance's questions from a script.
class ScriptedPrompts final : public Prompts {
public:
    ScriptedPrompts() { setPrompts(this); }
    ~ScriptedPrompts() override { setPrompts(nullptr); }

    std::optional<std::u16string> inputBox(long, std::u16string_view prompt, std::u16string_view title,
                                           std::u16string_view defaultText) override {
        asked.push_back(std::u16string(prompt) + u"|" + std::u16string(title) + u"|" +
                        std::u16string(defaultText));
        return typed;
    }
    SaveAnswer askSave(long, std::u16string_view book) override {
        asked.push_back(u"save " + std::u16string(book));
        return answer;
    }
    bool confirmLoss(long, std::u16string_view book, const std::vector<std::u16string>& items) override {
        std::u16string question = u"lose " + std::u16string(book) + u":";
        for (const std::u16string& item : items)
            question += u" " + item;
        asked.push_back(question);
        return loseAnswer;
    }
    std::optional<std::filesystem::path> askSavePath(long, std::u16string_view) override {
        return std::nullopt;
    }

    std::optional<std::u16string> typed;
    SaveAnswer answer = SaveAnswer::DontSave;
    bool loseAnswer = false;
    std::vector<std::u16string> asked;
};

// A fresh instance, created as a client creates it, with one new workbook.
class InstanceTest : public ::testing::Test {
protected:
    void SetUp() override {
        registerApplicationClass();
        CoInitialize(nullptr);
        ASSERT_EQ(createInstance(app, u"Excel.Application"), S_OK);
        book = app->GetWorkbooks()->Add();
        sheet = book->GetWorksheets()->GetItem(Variant(1));
    }
    void TearDown() override {
        sheet = nullptr;
        book = nullptr;
        app = nullptr;
        CoUninitialize();
    }

    Excel::RangePtr range(const char16_t* text) { return sheet->GetRange(Variant(text)); }
    Excel::RangePtr cell(int row, int col) {
        return Excel::RangePtr(sheet->GetCells()->GetItem(Variant(row), Variant(col)));
    }
    // The instance behind the client's pointer.
    Application& instance() { return *static_cast<Application*>(app.get()); }

    Excel::_ApplicationPtr app;
    Excel::_WorkbookPtr book;
    Excel::_WorksheetPtr sheet;
};

inline std::u16string text(const Variant& v) {
    return v.vt() == VT_BSTR ? v.bstrVal() : u"<not text>";
}

} // namespace engine::automation::testing

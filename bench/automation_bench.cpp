// A keystroke in the register as the program sees it: the user types into the blank last entry row of a
// block, and the sheet-change handler keeps the block ending with a blank entry row, all through the
// object model with its nested events, on a register of some 65,000 rows.
#include "bench/register_model.h"
#include "engine/automation/application.h"
#include "engine/automation/user.h"
#include "varnel/excel/excel.h"

#include <benchmark/benchmark.h>

namespace {

using engine::automation::Application;

// The handler of the register's sheet changes, reduced to its object-model calls.
class EntryRowKeeper final : public ComObject<IDispatch> {
public:
    explicit EntryRowKeeper(Excel::_ApplicationPtr app) : app_(std::move(app)) {}

    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, Variant*, EXCEPINFO*,
                                     UINT*) override {
        if (id == Excel::AppEvents::SheetChange)
            onChange(Excel::RangePtr(params->rgvarg[0]));
        return S_OK;
    }
    long calls = 0;

protected:
    void* queryOther(REFIID riid) override {
        return riid == DIID_AppEvents ? static_cast<IDispatch*>(this) : nullptr;
    }

private:
    bool blank(const Excel::RangePtr& row) {
        ++calls;
        return app_->GetWorksheetFunction()->CountBlank(row) == row->GetCells()->GetCount();
    }
    long level(const Excel::RangePtr& r) { return r->GetEntireRow()->GetOutlineLevel().toLong(); }

    void onChange(Excel::RangePtr t) {
        if (t->GetCells()->GetCount() > 1 || t->GetMergeCells().toBool() || level(t) != 2)
            return;
        Excel::RangePtr n =
            t->GetOffset(Variant(1), Variant(0))->GetEntireRow()->GetResize(Variant(1), Variant(1));
        while (level(n) == 2)
            n = n->GetOffset(Variant(1), Variant(0));
        if (blank(n->GetOffset(Variant(-1), Variant(0))->GetEntireRow()))
            return;
        if (blank(n->GetEntireRow())) {
            n->GetEntireRow()->PutOutlineLevel(Variant(2));
            n->GetEntireRow()->GetInterior()->PutColorIndex(Variant(34));
            n->GetEntireRow()->GetFont()->PutColorIndex(Variant(5));
        } else {
            n->GetEntireRow()->Insert(Variant(Excel::xlShiftDown), Variant(0));
            n = n->GetOffset(Variant(-1), Variant(0));
        }
        n->GetEntireRow()->GetBorders()->PutLineStyle(Variant(static_cast<int>(Excel::xlDash)));
        n->GetEntireRow()->GetBorders()->PutWeight(Variant(static_cast<int>(Excel::xlThin)));
        n->GetEntireRow()->GetValidation()->Delete();
        n->GetValidation()->Delete();
        n->GetValidation()->Add(Excel::xlValidateList, Variant(1), Variant(1), Variant(u"2025,2026"));
        n->GetOffset(Variant(0), Variant(1))->GetValidation()->Delete();
        n->GetOffset(Variant(0), Variant(1))
            ->GetValidation()
            ->Add(Excel::xlValidateList, Variant(1), Variant(1),
                  Variant(u"报纸,杂志,期刊,2026年度杂志,2027年度杂志"));
        std::u16string c = n->GetOffset(Variant(0), Variant(2))->GetAddress();
        std::u16string d = n->GetOffset(Variant(0), Variant(3))->GetAddress();
        n->GetOffset(Variant(0), Variant(4))
            ->PutFormula(Variant(u"=IF(OR(" + c + u"<1," + d + u"<1),\"\",PRODUCT(" + c + u"," + d + u"))"));
        std::u16string lastE = n->GetOffset(Variant(0), Variant(4))->GetAddress();
        std::u16string lastB = n->GetOffset(Variant(0), Variant(1))->GetAddress();
        Excel::RangePtr u =
            t->GetOffset(Variant(-1), Variant(0))->GetEntireRow()->GetResize(Variant(1), Variant(1));
        while (level(u) == 2 && u->GetRow() >= 3)
            u = u->GetOffset(Variant(-1), Variant(0));
        Variant name = u->GetValue2();
        if (!name.isEmpty())
            t->GetEntireRow()
                ->GetResize(Variant(1), Variant(1))
                ->GetOffset(Variant(0), Variant(6))
                ->PutValue2(name);
        u->GetEntireRow()
            ->GetResize(Variant(1), Variant(1))
            ->GetOffset(Variant(0), Variant(2))
            ->PutFormula(
                Variant(u"=SUM(" + u->GetOffset(Variant(1), Variant(4))->GetAddress() + u":" + lastE + u")"));
        std::u16string range = u->GetOffset(Variant(2), Variant(1))->GetAddress() + u":" + lastB;
        std::u16string f = u"=SUBSTITUTE(TRIM(";
        for (const char16_t* kind : {u"报纸", u"杂志", u"期刊", u"图书", u"年鉴"})
            f += u"IF(COUNTIF(" + range + u",\"" + kind + u"\"),\"\",\"" + kind + u" \")&";
        f.pop_back();
        u->GetOffset(Variant(0), Variant(1))->PutFormula(Variant(f + u"),\" \",\"、\")"));
        u->GetOffset(Variant(0), Variant(1))->GetEntireRow()->AutoFit();
    }

    Excel::_ApplicationPtr app_;
};

struct Session {
    ComPtr<Application> app = Application::create();
    std::vector<bench::Block> blocks;
    ComPtr<EntryRowKeeper> keeper;
    ComPtr<IConnectionPoint> point;
    DWORD cookie = 0;

    explicit Session(int blockCount) {
        bench::Register reg = bench::buildRegister(blockCount);
        blocks = reg.blocks;
        app->addBook(std::move(reg.book), u"Ombrell.xls", {}, Excel::AppEvents::WorkbookOpen);
        keeper = makeComObject<EntryRowKeeper>(Excel::_ApplicationPtr(app.get()));
        app->FindConnectionPoint(DIID_AppEvents, &point);
        point->Advise(static_cast<IDispatch*>(keeper.get()), &cookie);
    }
};

// One keystroke per iteration, each into another block, from the last block up: the separator row
// below the block becomes its new entry row.
void typeIntoTheLastEntryRow(benchmark::State& state) {
    Session session(2000);
    std::size_t next = session.blocks.size();
    for (auto _ : state) {
        const bench::Block& block = session.blocks[--next];
        engine::automation::user::type(*session.app, {}, engine::formatAddress({block.lastRow, 2}, false),
                                       u"3");
    }
    state.counters["rows"] = session.blocks.back().lastRow + 1;
    state.counters["calls_per_key"] = static_cast<double>(session.keeper->calls) / state.iterations();
}
BENCHMARK(typeIntoTheLastEntryRow)->Iterations(400)->Unit(benchmark::kMicrosecond);

// The same where the next block follows directly: the handler inserts a row, and every formula below
// follows.
void typeWhereARowIsInserted(benchmark::State& state) {
    Session session(2000);
    std::size_t next = session.blocks.size();
    for (const auto& b : session.blocks) // first fill each block's separator row
        engine::automation::user::type(*session.app, {}, engine::formatAddress({b.lastRow, 2}, false), u"1");
    for (auto _ : state) {
        const bench::Block& block = session.blocks[--next];
        engine::automation::user::type(*session.app, {}, engine::formatAddress({block.lastRow + 1, 2}, false),
                                       u"2");
    }
}
BENCHMARK(typeWhereARowIsInserted)->Iterations(100)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();

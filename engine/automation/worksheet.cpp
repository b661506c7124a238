#include "engine/automation/application.h"
#include "engine/automation/editing.h"
#include "engine/automation/objects.h"
#include "engine/automation/range.h"

namespace engine::automation {

namespace {

class WorksheetObject final : public Object<Excel::_Worksheet> {
public:
    explicit WorksheetObject(SheetRef ref) : ref_(std::move(ref)) {}

    void Activate() override { ref_.app().activateSheet(ref_.book, index()); }
    void Select(const Variant&) override { Activate(); }
    std::u16string GetName() override { return ref_.sheet().name(); }
    void PutName(const std::u16string& RHS) override {
        Sheet& s = ref_.sheet();
        guarded([&] { ref_.book->model->renameSheet(s, RHS); });
    }
    long GetIndex() override { return index() + 1; }
    IDispatchPtr GetParent() override {
        ref_.sheet();
        return IDispatchPtr(workbookObject(ref_.book).get());
    }

    Excel::RangePtr GetRange(const Variant& Cell1, const Variant& Cell2) override {
        std::vector<Area> areas = areasOf(Cell1);
        if (!omitted(Cell2)) {
            std::vector<Area> other = areasOf(Cell2);
            const Area& a = areas.front();
            const Area& b = other.front();
            areas = {Area{std::min(a.top, b.top), std::min(a.left, b.left), std::max(a.bottom, b.bottom),
                          std::max(a.right, b.right)}};
        }
        return rangeObject(ref_, std::move(areas));
    }
    Excel::RangePtr GetCells() override { return whole(RangeUnit::Cells); }
    Excel::RangePtr GetRows() override { return whole(RangeUnit::Rows); }
    Excel::RangePtr GetColumns() override { return whole(RangeUnit::Columns); }

    void Paste(const Variant& Destination, const Variant&) override {
        CellAddress at = ref_.sheet().selection().active;
        if (!omitted(Destination)) {
            RangeObject& target = RangeObject::of(Destination);
            if (target.ref().book != ref_.book || target.ref().id != ref_.id)
                fail(u"The destination lies on another sheet.");
            at = {target.first().top, target.first().left};
        }
        pasteClipboard(ref_, at);
    }

private:
    int index() { return ref_.book->model->indexOf(ref_.sheet()); }

    Excel::RangePtr whole(RangeUnit unit) {
        ref_.sheet();
        return rangeObject(ref_, {Area::wholeSheet()}, unit);
    }

    std::vector<Area> areasOf(const Variant& cell) {
        ref_.sheet();
        if (cell.vt() == VT_BSTR)
            return parseRangeText(cell.bstrVal());
        if (cell.isObject()) {
            RangeObject& range = RangeObject::of(cell);
            if (range.ref().book != ref_.book || range.ref().id != ref_.id)
                fail(u"The range lies on another sheet.");
            return range.areas();
        }
        fail(u"A range is named by its address or given as a range.");
    }

    SheetRef ref_;
};

} // namespace

Excel::_WorksheetPtr worksheetObject(const SheetRef& ref) {
    return makeComObject<WorksheetObject>(ref);
}

} // namespace engine::automation

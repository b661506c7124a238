#include "engine/automation/application.h"
#include "engine/automation/range.h"
#include "engine/automation/values.h"
#include "engine/formula/criteria.h"

namespace engine::automation {

namespace {

// Counting reads only the cells with content, in place; the empty rest of a range is counted in one
// step, so a whole row or column costs what its filled cells cost. An argument the function cannot
// take (no range, a range of another instance, a criterion that is no value) fails as the
// spreadsheet's own worksheet functions fail, naming the function.
class WorksheetFunctionObject final : public Object<Excel::WorksheetFunction> {
public:
    explicit WorksheetFunctionObject(Application& app) : app_(&app) {}

    double CountIf(Excel::Range* Arg1, const Variant& Arg2) override {
        RangeObject& range = rangeArgument(Arg1, u"CountIf");
        const formula::Criterion criterion(valueArgument(Arg2, u"CountIf"));
        const Sheet& s = range.sheet();
        double matches = 0, filled = 0, cells = 0;
        for (const Area& a : range.areas()) {
            cells += static_cast<double>(a.rowCount()) * a.columnCount();
            s.forEachValue(a, [&](int, int, const ValueView& v) {
                ++filled;
                if (criterion.matches(v))
                    ++matches;
            });
        }
        if (criterion.matches(ValueView()))
            matches += cells - filled;
        return matches;
    }

    double CountBlank(Excel::Range* Arg1) override {
        RangeObject& range = rangeArgument(Arg1, u"CountBlank");
        const Sheet& s = range.sheet();
        double shown = 0, cells = 0;
        for (const Area& a : range.areas()) {
            cells += static_cast<double>(a.rowCount()) * a.columnCount();
            s.forEachValue(a, [&](int, int, const ValueView& v) {
                if (!(v.kind == Value::Kind::Empty || (v.kind == Value::Kind::Text && v.text.empty())))
                    ++shown;
            });
        }
        return cells - shown;
    }

private:
    [[noreturn]] static void refuse(std::u16string_view function) {
        fail(u"Unable to get the " + std::u16string(function) + u" property of the WorksheetFunction class");
    }

    RangeObject& rangeArgument(Excel::Range* range, std::u16string_view function) {
        auto* object = dynamic_cast<RangeObject*>(range);
        if (!object || &object->ref().app() != app_.get())
            refuse(function);
        return *object;
    }

    static Value valueArgument(const Variant& v, std::u16string_view function) {
        try {
            return argumentValue(v);
        } catch (const ComError&) {
            refuse(function);
        }
    }

    ComPtr<Application> app_;
};

} // namespace

Excel::WorksheetFunctionPtr worksheetFunctionObject(Application& app) {
    return makeComObject<WorksheetFunctionObject>(app);
}

} // namespace engine::automation

#include "engine/automation/evaluate.h"

#include "engine/formula/error.h"
#include "engine/formula/evaluator.h"
#include "engine/model/workbook.h"

#include <deque>

namespace engine::automation {

namespace {

// Reads the workbook through its sheets, which bring a formula's result up to date when it is read:
// every area is ready at once.
class SheetReader final : public formula::EvalContext {
public:
    explicit SheetReader(const Workbook& book) : book_(book) {}

    bool ready(SheetId, const Area&) override { return true; }
    bool sheetExists(SheetId sheet) override { return book_.sheetById(sheet) != nullptr; }
    ValueView value(SheetId sheet, int row, int col) override {
        return ValueView(keep(book_.sheetById(sheet)->value(row, col)));
    }
    void forEachValue(SheetId sheet, const Area& area,
                      const std::function<void(int, int, const ValueView&)>& visit) override {
        const Sheet* s = book_.sheetById(sheet);
        s->forEachCell(area, [&](int row, int col) {
            if (s->hasContent(row, col))
                visit(row, col, ValueView(keep(s->value(row, col))));
        });
    }
    int today() override { return book_.today(); }

private:
    // Views point into the values they were made from: those stay here until the formula is done.
    const Value& keep(Value v) { return kept_.emplace_back(std::move(v)); }

    const Workbook& book_;
    std::deque<Value> kept_;
};

} // namespace

Value evaluateAt(const Sheet& sheet, const formula::Node& tree, int row, int col) {
    formula::Program program;
    try {
        program = formula::compile(tree, sheet.workbook().sheetNames());
    } catch (const EngineError&) {
        return Value::error(ErrorCode::Ref);
    }
    SheetReader reader(sheet.workbook());
    formula::Interpreter interpreter;
    formula::Frame frame;
    frame.program = &program;
    frame.sheet = sheet.id();
    frame.row = row;
    frame.col = col;
    std::optional<Value> result = interpreter.run(frame, reader);
    return result ? *result : Value::error(ErrorCode::Value);
}

} // namespace engine::automation

#include "engine/formula/reference_operators.h"

#include <algorithm>

namespace engine::formula {
namespace {

std::vector<Area> areasOf(const RefOperand& r) {
    std::vector<Area> all{r.area};
    all.insert(all.end(), r.more.begin(), r.more.end());
    return all;
}

RefOperand fromAreas(SheetId sheet, std::vector<Area> areas) {
    RefOperand r{sheet, areas.front()};
    r.more.assign(areas.begin() + 1, areas.end());
    return r;
}

} // namespace

Operand referenceOperation(Op op, const Operand& a, const Operand& b) {
    for (const Operand* o : {&a, &b})
        if (const Value* v = std::get_if<Value>(o))
            return v->isError() ? *v : Value::error(ErrorCode::Value);
    const RefOperand& x = std::get<RefOperand>(a);
    const RefOperand& y = std::get<RefOperand>(b);
    if (x.sheet != y.sheet)
        return Value::error(ErrorCode::Value);
    std::vector<Area> left = areasOf(x), right = areasOf(y);
    switch (op) {
    case Op::Union:
        left.insert(left.end(), right.begin(), right.end());
        return fromAreas(x.sheet, std::move(left));
    case Op::Intersect: {
        std::vector<Area> shared;
        for (const Area& l : left)
            for (const Area& r : right)
                if (l.intersects(r))
                    shared.push_back({std::max(l.top, r.top), std::max(l.left, r.left),
                                      std::min(l.bottom, r.bottom), std::min(l.right, r.right)});
        if (shared.empty())
            return Value::error(ErrorCode::Null);
        return fromAreas(x.sheet, std::move(shared));
    }
    default: {
        Area span = left.front();
        left.insert(left.end(), right.begin(), right.end());
        for (const Area& r : left)
            span = {std::min(span.top, r.top), std::min(span.left, r.left), std::max(span.bottom, r.bottom),
                    std::max(span.right, r.right)};
        return RefOperand{x.sheet, span};
    }
    }
}

} // namespace engine::formula

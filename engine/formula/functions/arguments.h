#pragma once

#include "engine/core/text.h"
#include "engine/formula/functions.h"
#include "engine/formula/operands.h"

#include <cstddef>
#include <initializer_list>
#include <optional>
#include <span>
#include <string>
#include <vector>

// How the worksheet functions read their arguments: shared by the function groups of this folder.
namespace engine::formula::arguments {

inline Value err(ErrorCode e) {
    return Value::error(e);
}

// Calls `visit` for every value an argument list offers a statistical function: direct values as
// they are, and the cells with content of references. `visit` gets whether the value came from a
// reference (where texts and booleans are skipped rather than converted); returning an error stops.
template <typename Visit>
std::optional<ErrorCode> forEachArgument(std::span<Operand> args, CallSite& site, Visit visit) {
    std::optional<ErrorCode> stop;
    for (Operand& a : args) {
        if (const Value* v = std::get_if<Value>(&a)) {
            if (!v->isEmpty())
                stop = visit(ValueView(*v), false);
        } else if (const ArrayOperand* array = std::get_if<ArrayOperand>(&a)) {
            // An array's values count as a reference's cells do: texts and booleans are skipped.
            for (const Value& v : (*array)->values)
                if (!stop && !v.isEmpty())
                    stop = visit(ValueView(v), true);
        } else {
            const RefOperand& r = std::get<RefOperand>(a);
            for (std::size_t k = 0; k < r.areaCount() && !stop; ++k)
                site.context.forEachValue(r.sheet, r.areaAt(k), [&](int, int, const ValueView& cell) {
                    if (!stop)
                        stop = visit(cell, true);
                });
        }
        if (stop)
            return stop;
    }
    return std::nullopt;
}

// SUM, PRODUCT, AVERAGE, MIN, MAX: numbers from references; numbers, booleans and numeric text given
// directly; errors anywhere stop with that error. The functions whose names end in A (AVERAGEA, MAXA)
// also take what else references hold: any text as 0, booleans as 1 and 0.
enum class InReferences { NumbersOnly, AllValues };

template <typename Fold>
std::optional<ErrorCode> forEachNumber(std::span<Operand> args, CallSite& site, Fold fold,
                                       InReferences taken = InReferences::NumbersOnly) {
    return forEachArgument(args, site, [&](const ValueView& v, bool fromRef) -> std::optional<ErrorCode> {
        if (v.kind == Value::Kind::Error)
            return v.error;
        if (v.kind == Value::Kind::Number) {
            fold(v.number);
            return std::nullopt;
        }
        if (fromRef) {
            if (taken == InReferences::AllValues)
                fold(v.kind == Value::Kind::Boolean && v.boolean ? 1.0 : 0.0);
            return std::nullopt;
        }
        auto n = toNumber(v.toValue(), site.context.dateSystem());
        if (auto* e = std::get_if<ErrorCode>(&n))
            return *e;
        fold(std::get<double>(n));
        return std::nullopt;
    });
}

// Every number forEachNumber finds, in order; the first error stops.
inline std::optional<ErrorCode> collectNumbers(std::span<Operand> args, CallSite& site,
                                               std::vector<double>& out,
                                               InReferences taken = InReferences::NumbersOnly) {
    return forEachNumber(
        args, site, [&](double n) { out.push_back(n); }, taken);
}

// A value as a number, or nothing with `e` set to the error it gives.
inline std::optional<double> number(const Value& v, ErrorCode& e) {
    auto n = toNumber(v);
    if (auto* x = std::get_if<ErrorCode>(&n)) {
        e = *x;
        return std::nullopt;
    }
    return std::get<double>(n);
}

// The first arguments of a call as numbers, one for each of `out`; an argument the call leaves out
// keeps the number `out` points at. The first argument that gives an error stops with it.
inline std::optional<ErrorCode> numbers(const Call& call, std::initializer_list<double*> out) {
    std::size_t i = 0;
    for (double* x : out) {
        if (i >= call.count())
            break;
        auto n = toNumber(call.value(i++), call.site.context.dateSystem());
        if (auto* e = std::get_if<ErrorCode>(&n))
            return *e;
        *x = std::get<double>(n);
    }
    return std::nullopt;
}

// A value as text into `out`; an error value comes back to be returned, anything else as Empty.
inline Value text(const Value& v, std::u16string& out) {
    if (v.isError())
        return v;
    out = toText(v);
    return {};
}

inline std::size_t cellCount(const Area& a) {
    return static_cast<std::size_t>(a.rowCount()) * static_cast<std::size_t>(a.columnCount());
}

} // namespace engine::formula::arguments

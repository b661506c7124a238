#include "engine/formula/functions.h"

#include "engine/core/text.h"
#include "engine/formula/criteria.h"
#include "engine/formula/function_ids.h"
#include "engine/formula/operands.h"

#include <cmath>
#include <cstdio>
#include <string>
#include <unicode/uchar.h>

namespace engine::formula {
namespace {

using K = Value::Kind;

Value err(ErrorCode e) {
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
        } else {
            const RefOperand& r = std::get<RefOperand>(a);
            site.context.forEachValue(r.sheet, r.area, [&](int, int, const ValueView& cell) {
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
// directly; errors anywhere stop with that error.
template <typename Fold>
std::optional<ErrorCode> forEachNumber(std::span<Operand> args, CallSite& site, Fold fold) {
    return forEachArgument(args, site, [&](const ValueView& v, bool fromRef) -> std::optional<ErrorCode> {
        if (v.kind == K::Error)
            return v.error;
        if (v.kind == K::Number) {
            fold(v.number);
            return std::nullopt;
        }
        if (fromRef)
            return std::nullopt;
        auto n = toNumber(v.toValue());
        if (auto* e = std::get_if<ErrorCode>(&n))
            return *e;
        fold(std::get<double>(n));
        return std::nullopt;
    });
}

std::optional<double> number(const Value& v, ErrorCode& e) {
    auto n = toNumber(v);
    if (auto* x = std::get_if<ErrorCode>(&n)) {
        e = *x;
        return std::nullopt;
    }
    return std::get<double>(n);
}

Value logical(std::span<Operand> args, CallSite& site, bool isAnd) {
    bool any = false, result = isAnd;
    auto stop =
        forEachArgument(args, site, [&](const ValueView& v, bool fromRef) -> std::optional<ErrorCode> {
            if (v.kind == K::Error)
                return v.error;
            if (fromRef && v.kind == K::Text)
                return std::nullopt;
            auto b = toBoolean(v.toValue());
            if (auto* e = std::get_if<ErrorCode>(&b))
                return *e;
            any = true;
            result = isAnd ? (result && std::get<bool>(b)) : (result || std::get<bool>(b));
            return std::nullopt;
        });
    if (stop)
        return err(*stop);
    return any ? Value::boolean(result) : err(ErrorCode::Value);
}

std::size_t areaSize(const Area& a) {
    return static_cast<std::size_t>(a.rowCount()) * static_cast<std::size_t>(a.columnCount());
}

Value countIf(std::span<Operand> args, CallSite& site) {
    const RefOperand* range = std::get_if<RefOperand>(&args[0]);
    if (!range)
        return err(ErrorCode::Value);
    Criterion criterion(scalarOf(args[1], site));
    std::size_t visited = 0, count = 0;
    site.context.forEachValue(range->sheet, range->area, [&](int, int, const ValueView& v) {
        ++visited;
        if (criterion.matches(v))
            ++count;
    });
    if (criterion.matches(ValueView()))
        count += areaSize(range->area) - visited;
    return Value::number(static_cast<double>(count));
}

Value sumIf(std::span<Operand> args, CallSite& site) {
    const RefOperand* range = std::get_if<RefOperand>(&args[0]);
    const RefOperand* sums = args.size() > 2 ? std::get_if<RefOperand>(&args[2]) : range;
    if (!range || !sums)
        return err(ErrorCode::Value);
    Criterion criterion(scalarOf(args[1], site));
    Area area = *cellsRead(static_cast<std::uint16_t>(Fn::SumIf), args);
    double total = 0;
    site.context.forEachValue(sums->sheet, area, [&](int row, int col, const ValueView& v) {
        if (v.kind != K::Number)
            return;
        ValueView c = site.context.value(range->sheet, range->area.top + row - area.top,
                                         range->area.left + col - area.left);
        if (criterion.matches(c))
            total += v.number;
    });
    return Value::number(total);
}

Value textResult(const Value& v, std::u16string& out) {
    if (v.isError())
        return v;
    out = toText(v);
    return {};
}

std::u16string trim(std::u16string_view s) {
    std::u16string out;
    bool space = false;
    for (char16_t c : s) {
        if (c == u' ') {
            space = !out.empty();
            continue;
        }
        if (space)
            out += u' ';
        space = false;
        out += c;
    }
    return out;
}

Value substitute(const std::u16string& text, const std::u16string& from, const std::u16string& to,
                 std::optional<double> instance) {
    if (from.empty())
        return Value::text(text);
    std::u16string out;
    std::size_t pos = 0, n = 0;
    for (;;) {
        std::size_t hit = text.find(from, pos);
        if (hit == std::u16string::npos)
            break;
        ++n;
        out.append(text, pos, hit - pos);
        out += (!instance || n == static_cast<std::size_t>(*instance)) ? to : from;
        pos = hit + from.size();
    }
    out.append(text, pos);
    return Value::text(std::move(out));
}

// The number to 15 significant digits, the precision Excel works in.
std::string shortest(double n) {
    char buf[40];
    std::snprintf(buf, sizeof buf, "%.15g", n);
    return buf;
}

// Days from 1899-12-30, with the 1900 leap day that Excel counts (serial 60) kept in.
int yearOfSerial(double serial) {
    long days = static_cast<long>(std::floor(serial));
    if (days < 61)
        return 1900;
    // Civil-from-days on days since 1970-01-01 (serial 25569).
    long z = days - 25569 + 719468;
    long era = (z >= 0 ? z : z - 146096) / 146097;
    long doe = z - era * 146097;
    long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    long mp = (5 * doy + 2) / 153;
    long month = mp < 10 ? mp + 3 : mp - 9;
    return static_cast<int>(yoe + era * 400 + (month <= 2 ? 1 : 0));
}

} // namespace

std::optional<Area> cellsRead(std::uint16_t id, std::span<const Operand> args) {
    if (static_cast<Fn>(id) != Fn::SumIf || args.size() < 3)
        return std::nullopt;
    const RefOperand* range = std::get_if<RefOperand>(&args[0]);
    const RefOperand* sums = std::get_if<RefOperand>(&args[2]);
    if (!range || !sums)
        return std::nullopt;
    // The sum range takes the shape of the criteria range from its top left cell, as far as the sheet goes.
    return Area{sums->area.top, sums->area.left,
                std::min(sums->area.top + range->area.rowCount() - 1, kLastRow),
                std::min(sums->area.left + range->area.columnCount() - 1, kLastColumn)};
}

Value callFunction(std::uint16_t id, std::span<Operand> args, CallSite& site) {
    auto scalar = [&](std::size_t i) {
        return scalarOf(args[i], site);
    };
    ErrorCode e = ErrorCode::Value;
    switch (static_cast<Fn>(id)) {
    case Fn::If: {
        auto c = toBoolean(scalar(0));
        if (auto* x = std::get_if<ErrorCode>(&c))
            return err(*x);
        std::size_t pick = std::get<bool>(c) ? 1 : 2;
        if (pick >= args.size())
            return Value::boolean(pick == 1);
        if (isMissing(args[pick]))
            return Value::number(0);
        return scalar(pick);
    }
    case Fn::And:
        return logical(args, site, true);
    case Fn::Or:
        return logical(args, site, false);
    case Fn::Not: {
        auto c = toBoolean(scalar(0));
        if (auto* x = std::get_if<ErrorCode>(&c))
            return err(*x);
        return Value::boolean(!std::get<bool>(c));
    }
    case Fn::IsError:
        return Value::boolean(scalar(0).isError());
    case Fn::IsBlank:
        return Value::boolean(!isMissing(args[0]) && scalar(0).isEmpty());
    case Fn::IsNumber:
        return Value::boolean(scalar(0).isNumber());
    case Fn::IsText:
        return Value::boolean(scalar(0).isText());
    case Fn::Sum: {
        double total = 0;
        if (auto stop = forEachNumber(args, site, [&](double n) { total += n; }))
            return err(*stop);
        return Value::number(total);
    }
    case Fn::Product: {
        double total = 1;
        bool any = false;
        if (auto stop = forEachNumber(args, site, [&](double n) { total *= n, any = true; }))
            return err(*stop);
        return Value::number(any ? total : 0);
    }
    case Fn::Average: {
        double total = 0;
        std::size_t n = 0;
        if (auto stop = forEachNumber(args, site, [&](double x) { total += x, ++n; }))
            return err(*stop);
        return n == 0 ? err(ErrorCode::Div0) : Value::number(total / static_cast<double>(n));
    }
    case Fn::Min:
    case Fn::Max: {
        bool isMin = static_cast<Fn>(id) == Fn::Min;
        std::optional<double> best;
        if (auto stop = forEachNumber(args, site, [&](double n) {
                if (!best || (isMin ? n < *best : n > *best))
                    best = n;
            }))
            return err(*stop);
        return Value::number(best.value_or(0));
    }
    case Fn::Count: {
        std::size_t n = 0;
        forEachArgument(args, site, [&](const ValueView& v, bool fromRef) -> std::optional<ErrorCode> {
            if (v.kind == K::Number ||
                (!fromRef && std::holds_alternative<double>(toNumber(v.toValue())) && v.kind != K::Error))
                ++n;
            return std::nullopt;
        });
        return Value::number(static_cast<double>(n));
    }
    case Fn::CountA: {
        std::size_t n = 0;
        forEachArgument(args, site, [&](const ValueView&, bool) -> std::optional<ErrorCode> {
            ++n;
            return std::nullopt;
        });
        return Value::number(static_cast<double>(n));
    }
    case Fn::CountBlank: {
        const RefOperand* r = std::get_if<RefOperand>(&args[0]);
        if (!r)
            return err(ErrorCode::Value);
        std::size_t filled = 0;
        site.context.forEachValue(r->sheet, r->area, [&](int, int, const ValueView& v) {
            if (!(v.kind == K::Text && v.text.empty()))
                ++filled;
        });
        return Value::number(static_cast<double>(areaSize(r->area) - filled));
    }
    case Fn::CountIf:
        return countIf(args, site);
    case Fn::SumIf:
        return sumIf(args, site);
    case Fn::Round: {
        auto x = number(scalar(0), e), d = number(scalar(1), e);
        if (!x || !d)
            return err(e);
        double f = std::pow(10.0, std::trunc(*d));
        // Rounded as the decimal digits Excel shows, so that 2.675 goes up as it reads rather than down
        // as its binary value would.
        double r = std::round(std::stod(shortest(*x * f))) / f;
        return std::isfinite(r) ? Value::number(r) : err(ErrorCode::Num);
    }
    case Fn::Int:
    case Fn::Abs: {
        auto x = number(scalar(0), e);
        if (!x)
            return err(e);
        return Value::number(static_cast<Fn>(id) == Fn::Int ? std::floor(*x) : std::fabs(*x));
    }
    case Fn::Mod: {
        auto x = number(scalar(0), e), y = number(scalar(1), e);
        if (!x || !y)
            return err(e);
        if (*y == 0)
            return err(ErrorCode::Div0);
        return Value::number(*x - *y * std::floor(*x / *y));
    }
    case Fn::Len:
    case Fn::Trim:
    case Fn::Upper:
    case Fn::Lower: {
        std::u16string s;
        if (Value bad = textResult(scalar(0), s); bad.isError())
            return bad;
        switch (static_cast<Fn>(id)) {
        case Fn::Len:
            return Value::number(static_cast<double>(s.size()));
        case Fn::Trim:
            return Value::text(trim(s));
        default:
            for (char16_t& c : s)
                c = static_cast<char16_t>(static_cast<Fn>(id) == Fn::Upper ? u_toupper(c) : u_tolower(c));
            return Value::text(std::move(s));
        }
    }
    case Fn::Left:
    case Fn::Right: {
        std::u16string s;
        if (Value bad = textResult(scalar(0), s); bad.isError())
            return bad;
        double n = 1;
        if (args.size() > 1) {
            auto x = number(scalar(1), e);
            if (!x)
                return err(e);
            n = *x;
        }
        if (n < 0)
            return err(ErrorCode::Value);
        std::size_t k = std::min(s.size(), static_cast<std::size_t>(n));
        return Value::text(static_cast<Fn>(id) == Fn::Left ? s.substr(0, k) : s.substr(s.size() - k));
    }
    case Fn::Mid: {
        std::u16string s;
        if (Value bad = textResult(scalar(0), s); bad.isError())
            return bad;
        auto start = number(scalar(1), e), n = number(scalar(2), e);
        if (!start || !n)
            return err(e);
        if (*start < 1 || *n < 0)
            return err(ErrorCode::Value);
        std::size_t from = static_cast<std::size_t>(*start) - 1;
        if (from >= s.size())
            return Value::text(u"");
        return Value::text(s.substr(from, static_cast<std::size_t>(std::min(*n, 1e9))));
    }
    case Fn::Substitute: {
        std::u16string text, from, to;
        for (auto [i, out] : {std::pair{0, &text}, std::pair{1, &from}, std::pair{2, &to}})
            if (Value bad = textResult(scalar(static_cast<std::size_t>(i)), *out); bad.isError())
                return bad;
        std::optional<double> instance;
        if (args.size() > 3) {
            instance = number(scalar(3), e);
            if (!instance)
                return err(e);
            if (*instance < 1)
                return err(ErrorCode::Value);
        }
        return substitute(text, from, to, instance);
    }
    case Fn::Concatenate: {
        std::u16string out;
        for (std::size_t i = 0; i < args.size(); ++i) {
            std::u16string s;
            if (Value bad = textResult(scalar(i), s); bad.isError())
                return bad;
            out += s;
        }
        return Value::text(std::move(out));
    }
    case Fn::ValueOf: {
        Value v = scalar(0);
        if (v.isError() || v.isNumber())
            return v;
        if (v.isEmpty())
            return Value::number(0);
        if (v.isText())
            if (auto n = readNumber(v.asText()))
                return Value::number(*n);
        return err(ErrorCode::Value);
    }
    case Fn::Today:
        return Value::number(site.context.today());
    case Fn::Year: {
        auto x = number(scalar(0), e);
        if (!x)
            return err(e);
        if (*x < 0 || *x >= 2958466)
            return err(ErrorCode::Num);
        return Value::number(yearOfSerial(*x));
    }
    }
    return err(ErrorCode::Name);
}

} // namespace engine::formula

#include "engine/automation/advanced_filter.h"

#include "engine/automation/values.h"
#include "engine/core/error.h"
#include "engine/core/text.h"
#include "engine/formula/adjust.h"
#include "engine/formula/criteria.h"
#include "engine/model/clipboard.h"
#include "engine/model/workbook.h"

#include <memory>
#include <optional>
#include <unordered_set>

namespace engine::automation {

namespace {

// One filled cell of a criteria row.
struct Condition {
    int column = -1; // list column (offset from the list's left) of a value condition; -1: computed
    std::vector<formula::Criterion> anyOf;
    // A formula under no list title, compiled once for the list's workbook as it stands for the first
    // data row; empty when it names a sheet that workbook lacks, and then no row passes.
    formula::Program computed;

    // `moved` is room for the formula moved to the row, kept from row to row.
    bool passes(const FilterRequest& req, int row, formula::Program& moved) const {
        if (column < 0) {
            if (computed.empty())
                return false;
            moved.assign(computed.begin(), computed.end());
            formula::moveRelative(moved, row - (req.listArea.top + 1), 0);
            Value v = req.list->evaluate(moved, row, req.listArea.left);
            return (v.isBoolean() && v.asBoolean()) || (v.isNumber() && v.asNumber() != 0);
        }
        Value keep = req.list->value(row, req.listArea.left + column);
        ValueView view(keep);
        for (const auto& c : anyOf)
            if (c.matches(view))
                return true;
        return false;
    }
};

bool startsWithOperator(std::u16string_view t) {
    return !t.empty() && (t[0] == u'=' || t[0] == u'<' || t[0] == u'>');
}

// The criteria of one filled cell under a list title.
std::vector<formula::Criterion> valueCriteria(const Value& v) {
    std::vector<formula::Criterion> result;
    if (v.isNumber()) {
        // A number matches that number, and texts that begin with it as it is shown.
        result.emplace_back(v);
        result.emplace_back(Value::text(shownText(v) + u"*"));
        return result;
    }
    if (!v.isText()) {
        result.emplace_back(v);
        return result;
    }
    const std::u16string& t = v.asText();
    if (startsWithOperator(t)) {
        result.emplace_back(v);
        return result;
    }
    // A plain text matches what begins with it; a text that reads as a number matches that number too.
    result.emplace_back(Value::text(t + u"*"));
    if (readNumber(t))
        result.emplace_back(v);
    return result;
}

std::vector<std::vector<Condition>> readCriteria(const FilterRequest& req) {
    const Sheet& cs = *req.criteria;
    const Area& ca = req.criteriaArea;
    std::vector<std::vector<Condition>> alternatives;
    for (int r = ca.top + 1; r <= ca.bottom; ++r) {
        std::vector<Condition> row;
        for (int c = ca.left; c <= ca.right; ++c) {
            if (!cs.hasContent(r, c))
                continue;
            std::u16string title = shownText(cs.value(ca.top, c));
            int column = -1;
            if (!title.empty())
                for (int lc = req.listArea.left; lc <= req.listArea.right; ++lc)
                    if (compareFolded(shownText(req.list->value(req.listArea.top, lc)), title) == 0) {
                        column = lc - req.listArea.left;
                        break;
                    }
            Condition condition;
            if (column < 0) {
                if (!cs.hasFormula(r, c))
                    continue; // a constant under no list title selects nothing in particular
                auto program = cs.formulaProgram(r, c);
                condition.computed.assign(program.begin(), program.end());
                try {
                    formula::rebindSheets(condition.computed, cs.workbook().sheetNames(),
                                          req.list->workbook().sheetNames());
                } catch (const EngineError&) {
                    condition.computed.clear(); // it passes no row
                }
            } else {
                Value v = cs.value(r, c);
                if (v.isEmpty() || (v.isText() && v.asText().empty()))
                    continue;
                condition.column = column;
                condition.anyOf = valueCriteria(v);
            }
            row.push_back(std::move(condition));
        }
        alternatives.push_back(std::move(row));
    }
    return alternatives;
}

// The key of a row's values for Unique: repeated rows compare equal without regard to case.
std::u16string rowKey(const Sheet& sheet, int row, const Area& list) {
    std::u16string key;
    for (int c = list.left; c <= list.right; ++c) {
        Value v = sheet.value(row, c);
        key += static_cast<char16_t>(u'0' + static_cast<int>(v.kind()));
        key += foldCase(shownText(v));
        key += u'\x1F';
    }
    return key;
}

void addRow(Snapshot& out, const Sheet& list, const Area& listArea, int sourceRow, int outRow) {
    list.forEachCell(Area{sourceRow, listArea.left, sourceRow, listArea.right}, [&](int r, int c) {
        Snapshot::Item item;
        item.row = outRow;
        item.col = c - listArea.left;
        item.value = list.value(r, c);
        item.format = list.format(r, c);
        out.items.push_back(std::move(item));
    });
}

} // namespace

Area advancedFilterCopy(const FilterRequest& req) {
    const Area& la = req.listArea;
    std::vector<std::vector<Condition>> alternatives = readCriteria(req);
    Snapshot out;
    addRow(out, *req.list, la, la.top, 0);
    int written = 1;
    std::unordered_set<std::u16string> seen;
    formula::Program moved;
    for (int r = la.top + 1; r <= la.bottom; ++r) {
        bool pass = alternatives.empty();
        for (const auto& alternative : alternatives) {
            bool all = true;
            for (const Condition& c : alternative)
                if (!c.passes(req, r, moved)) {
                    all = false;
                    break;
                }
            if (all) {
                pass = true;
                break;
            }
        }
        if (!pass)
            continue;
        if (req.unique && !seen.insert(rowKey(*req.list, r, la)).second)
            continue;
        addRow(out, *req.list, la, r, written++);
    }
    Area target{req.copyTo.row, req.copyTo.col, req.copyTo.row + written - 1,
                req.copyTo.col + la.columnCount() - 1};
    if (target.bottom > kLastRow || target.right > kLastColumn)
        throw EngineError("The filtered rows do not fit below the copy-to cell.");
    out.source = Area{0, 0, written - 1, la.columnCount() - 1};
    req.destination->clear(Area{target.top, target.left, kLastRow, target.right});
    return paste(*req.destination, req.copyTo, out, PasteMode::ValuesAndFormats);
}

} // namespace engine::automation

#include "engine/model/workbook.h"

#include "engine/core/calendar.h"
#include "engine/core/error.h"
#include "engine/core/text.h"
#include "engine/model/recalc.h"

#include <algorithm>
#include <ctime>

namespace engine {

Workbook::Workbook() : recalc_(std::make_unique<Recalc>(*this)) {
    sheetNames_.find = [this](std::u16string_view name) -> std::optional<SheetId> {
        const Sheet* s = findSheet(name);
        return s ? std::optional(s->id()) : std::nullopt;
    };
    sheetNames_.name = [this](SheetId id) -> std::optional<std::u16string> {
        const Sheet* s = sheetById(id);
        return s ? std::optional(s->name()) : std::nullopt;
    };
}

Workbook::~Workbook() = default;

int Workbook::indexOf(const Sheet& sheet) const {
    for (std::size_t i = 0; i < sheets_.size(); ++i)
        if (sheets_[i].get() == &sheet)
            return static_cast<int>(i);
    return -1;
}

Sheet* Workbook::findSheet(std::u16string_view name) {
    for (auto& s : sheets_)
        if (compareFolded(s->name(), name) == 0)
            return s.get();
    return nullptr;
}

const Sheet* Workbook::findSheet(std::u16string_view name) const {
    return const_cast<Workbook*>(this)->findSheet(name);
}

Sheet* Workbook::sheetById(SheetId id) {
    for (auto& s : sheets_)
        if (s->id() == id)
            return s.get();
    return nullptr;
}

const Sheet* Workbook::sheetById(SheetId id) const {
    return const_cast<Workbook*>(this)->sheetById(id);
}

void Workbook::checkSheetName(std::u16string_view name, const Sheet* except) const {
    if (name.empty() || name.size() > 31 || name.find_first_of(u":\\/?*[]") != std::u16string_view::npos ||
        name.front() == u'\'' || name.back() == u'\'')
        throw EngineError("a sheet name must have 1 to 31 characters and none of : \\ / ? * [ ]");
    const Sheet* other = findSheet(name);
    if (other && other != except)
        throw EngineError("the workbook already has a sheet of that name");
}

Sheet& Workbook::addSheet(std::u16string name, std::optional<int> position) {
    checkSheetName(name, nullptr);
    if (nextId_ == formula::kOwnSheet)
        throw EngineError("too many sheets made in this workbook");
    int at = std::clamp(position.value_or(sheetCount()), 0, sheetCount());
    auto sheet = std::make_unique<Sheet>(*this, nextId_++, std::move(name));
    Sheet& added = *sheet;
    sheets_.insert(sheets_.begin() + at, std::move(sheet));
    bump();
    return added;
}

void Workbook::removeSheet(Sheet& sheet) {
    int i = indexOf(sheet);
    if (i < 0)
        return;
    names_.removeSheet(sheet.id());
    sheets_.erase(sheets_.begin() + i);
    contentChangedAt_ = bump();
}

void Workbook::defineName(DefinedName name) {
    // Structural edits skip the references of sheets that nothing reaches into: the name's count.
    for (const formula::Token& t : name.definition) {
        if (t.kind != formula::TokenKind::Ref && t.kind != formula::TokenKind::Area)
            continue;
        std::optional<SheetId> id = t.sheet == formula::kOwnSheet ? name.sheet : std::optional(t.sheet);
        if (Sheet* target = id ? sheetById(*id) : nullptr)
            formula::extendReach(target->referenced_, t);
    }
    names_.define(std::move(name));
    contentChangedAt_ = bump();
}

void Workbook::renameSheet(Sheet& sheet, std::u16string name) {
    checkSheetName(name, &sheet);
    sheet.setName(std::move(name));
    bump();
}

void Workbook::moveSheet(Sheet& sheet, int position) {
    int i = indexOf(sheet);
    if (i < 0)
        return;
    auto s = std::move(sheets_[i]);
    sheets_.erase(sheets_.begin() + i);
    sheets_.insert(sheets_.begin() + std::clamp(position, 0, sheetCount()), std::move(s));
    bump();
}

void Workbook::calculateAll() {
    for (auto& sheet : sheets_)
        for (int r = 0; r < sheet->rowExtent(); ++r)
            for (const detail::Cell& c : sheet->rows_[r].cells)
                if (c.kind == detail::CellKind::Formula &&
                    !recalc_->isCurrent(*sheet, sheet->formulas_[c.data.formula]))
                    recalc_->compute(*sheet, c.data.formula, r, c.col);
}

void Workbook::invalidateResults() {
    for (auto& sheet : sheets_)
        for (detail::FormulaSlot& f : sheet->formulas_)
            f.computedAt = 0;
}

double Workbook::now() const {
    if (now_)
        return *now_;
    std::time_t t = std::time(nullptr);
    std::tm local{};
    localtime_r(&t, &local);
    double day = serialOfDate(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, dateSystem_).value_or(0);
    return day + (local.tm_hour * 3600 + local.tm_min * 60 + local.tm_sec) / 86400.0;
}

} // namespace engine

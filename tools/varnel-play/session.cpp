#include "tools/varnel-play/session.h"

#include "engine/automation/application.h"
#include "engine/automation/editing.h"
#include "engine/automation/files.h"
#include "engine/automation/objects.h"
#include "engine/automation/outline.h"
#include "engine/automation/shared_clipboard.h"
#include "engine/formula/text.h"
#include "platform/text/utf.h"
#include "tools/varnel-play/json.h"

#include <stdexcept>

namespace play {

namespace {

using engine::Area;
using engine::Sheet;
using engine::Value;
using engine::automation::Application;
using engine::automation::Book;
using engine::automation::SheetRef;

constexpr char16_t kRegisterBook[] = u"Ombrell.xls";

// An action that cannot be carried out, with what the user should know.
struct Refusal : std::runtime_error {
    using std::runtime_error::runtime_error;
};

[[noreturn]] void refuse(std::u16string_view why) {
    throw Refusal(text::toUtf8(why));
}

ComPtr<Application> instance(int number) {
    for (auto& app : engine::automation::runningInstances())
        if (app->number() == number)
            return app;
    refuse(u"instance " + text::toUtf16(std::to_string(number)) + u" is not running");
}

ComPtr<Application> programInstance() {
    return instance(1);
}

std::shared_ptr<Book> registerBook() {
    auto book = programInstance()->findBook(kRegisterBook);
    if (!book)
        refuse(u"the register workbook is not open");
    return book;
}

// A place of a script resolved to a sheet of an open workbook and an area on it.
struct Place {
    SheetRef ref;
    int sheetIndex = 0;
    Area area;
    bool isRegister = false;

    Sheet& sheet() const { return ref.sheet(); }
    Application& app() const { return ref.app(); }

    // How print names a cell: the register's cells by sheet, others with instance and workbook.
    std::u16string label(int row, int col) const {
        std::u16string cell = engine::formatAddress({row, col}, true);
        if (isRegister)
            return sheet().name() + u"!" + cell;
        return text::toUtf16(std::to_string(app().number())) + u":[" + ref.book->name + u"]" +
               sheet().name() + u"!" + cell;
    }
};

Place resolve(const Ref& ref) {
    std::shared_ptr<Book> book;
    if (ref.workbook.empty() && ref.instance == 0) {
        book = registerBook();
    } else if (ref.instance != 0) {
        book = instance(ref.instance)->findBook(ref.workbook);
    } else {
        for (auto& app : engine::automation::runningInstances()) {
            auto found = app->findBook(ref.workbook);
            if (found && book)
                refuse(u"several instances hold a workbook " + ref.workbook + u": name one as N:[" +
                       ref.workbook + u"]");
            if (found)
                book = found;
        }
    }
    if (!book)
        refuse(u"no open workbook " + ref.workbook);

    Place place;
    place.isRegister = book->app && book->app->number() == 1 &&
                       engine::formula::compareFolded(book->name, kRegisterBook) == 0;
    place.sheetIndex = book->activeSheet;
    if (!ref.sheet.empty()) {
        const Sheet* sheet = book->model->findSheet(ref.sheet);
        if (!sheet)
            refuse(u"the workbook " + book->name + u" has no sheet " + ref.sheet);
        place.sheetIndex = book->model->indexOf(*sheet);
    }
    place.ref = engine::automation::sheetRef(book, place.sheetIndex);
    auto area = engine::parseArea(ref.cells);
    if (!area)
        refuse(u"no cells " + ref.cells);
    place.area = *area;
    return place;
}

std::vector<std::u16string_view> listItems(std::u16string_view list) {
    std::vector<std::u16string_view> items;
    size_t start = 0;
    while (true) {
        size_t comma = list.find(u',', start);
        items.push_back(list.substr(start, comma - start));
        if (comma == std::u16string_view::npos)
            return items;
        start = comma + 1;
    }
}

// Whether the grid takes what the user typed: a list validation that stops refuses anything but its
// items (and a blank entry when blanks are allowed).
bool accepted(const Sheet& sheet, int row, int col, std::u16string_view typed) {
    const engine::ValidationRule* rule = sheet.validationAt(row, col);
    if (!rule || rule->type != engine::ValidationType::List || rule->alert != engine::AlertStyle::Stop)
        return true;
    if (typed.empty())
        return rule->ignoreBlank;
    for (std::u16string_view item : listItems(rule->formula1))
        if (engine::formula::compareFolded(item, typed) == 0)
            return true;
    return false;
}

std::string cellLine(const Place& place, int row, int col) {
    const Sheet& sheet = place.sheet();
    JsonLine line;
    line.text("cell", place.label(row, col));
    Value value = sheet.value(row, col);
    switch (value.kind()) {
    case Value::Kind::Number:
        line.text("type", "number").number("value", value.asNumber());
        break;
    case Value::Kind::Text:
        line.text("type", "text").text("value", value.asText());
        break;
    case Value::Kind::Boolean:
        line.text("type", "bool").boolean("value", value.asBoolean());
        break;
    case Value::Kind::Error:
        line.text("type", "error").text("value", engine::errorText(value.asError()));
        break;
    case Value::Kind::Empty:
        line.text("type", "empty").null("value");
        break;
    }
    if (sheet.hasFormula(row, col))
        line.text("formula", sheet.formulaText(row, col));
    const engine::ValidationRule* rule = sheet.validationAt(row, col);
    if (rule && rule->type == engine::ValidationType::List)
        line.text("validation", rule->formula1);
    return line.str();
}

std::string quotedList(const std::vector<std::u16string>& items) {
    std::string out = "[";
    for (size_t i = 0; i < items.size(); ++i)
        out += (i ? "," : "") + play::quoted(std::u16string_view(items[i]));
    return out + "]";
}

} // namespace

void Session::run(const Action& action) {
    try {
        perform(action);
    } catch (const Refusal& e) {
        output_.line(
            JsonLine("error").number("line", action.line).text("text", std::string_view(e.what())).str());
    } catch (const ComError& e) {
        output_.line(JsonLine("error").number("line", action.line).text("text", e.description()).str());
    } catch (const std::exception& e) {
        output_.line(
            JsonLine("error").number("line", action.line).text("text", std::string_view(e.what())).str());
    }
    output_.checkVisibility();
}

void Session::perform(const Action& action) {
    switch (action.kind) {
    case Action::Kind::Answer:
        user_.queue(ui::Answer::withText(action.text));
        return;
    case Action::Kind::AnswerCancel:
        user_.queue(ui::Answer::cancel());
        return;
    case Action::Kind::Click: {
        auto program = programInstance();
        for (const auto& bar : program->commandBars().bars())
            for (const auto& button : bar->buttons())
                if (button->GetCaption() == action.text) {
                    if (!button->click())
                        refuse(u"the button " + action.text + u" is not shown");
                    return;
                }
        refuse(u"no button " + action.text);
    }
    case Action::Kind::Type: {
        Place place = resolve(action.ref);
        if (place.area.rowCount() != 1 || place.area.columnCount() != 1)
            refuse(u"type goes into one cell");
        if (!accepted(place.sheet(), place.area.top, place.area.left, action.text)) {
            output_.line(JsonLine("refused")
                             .text("cell", place.label(place.area.top, place.area.left))
                             .text("text", action.text)
                             .str());
            return;
        }
        Excel::RangePtr cell = engine::automation::rangeObject(place.ref, {place.area});
        if (action.text.empty())
            cell->ClearContents();
        else
            cell->PutValue2(Variant(action.text));
        return;
    }
    case Action::Kind::Clear: {
        Place place = resolve(action.ref);
        engine::automation::rangeObject(place.ref, {place.area})->ClearContents();
        return;
    }
    case Action::Kind::Copy: {
        Place place = resolve(action.ref);
        engine::automation::copyToClipboard(place.ref, place.area);
        return;
    }
    case Action::Kind::Paste: {
        Place place = resolve(action.ref);
        if (!engine::automation::clipboard())
            refuse(u"the clipboard is empty");
        engine::automation::pasteClipboard(place.ref, {place.area.top, place.area.left});
        return;
    }
    case Action::Kind::Collapse:
    case Action::Kind::Expand: {
        auto book = registerBook();
        Sheet& sheet = engine::automation::sheetRef(book, book->activeSheet).sheet();
        engine::automation::showRowDetail(sheet, action.row - 1, action.kind == Action::Kind::Expand);
        return;
    }
    case Action::Kind::Select: {
        Place place = resolve(action.ref);
        place.app().activateSheet(place.ref.book, place.sheetIndex);
        place.app().select(place.ref, {place.area}, {place.area.top, place.area.left});
        return;
    }
    case Action::Kind::Print: {
        Place place = resolve(action.ref);
        for (int row = place.area.top; row <= place.area.bottom; ++row)
            for (int col = place.area.left; col <= place.area.right; ++col)
                output_.line(cellLine(place, row, col));
        return;
    }
    case Action::Kind::Rows: {
        Ref sheetRef = action.ref;
        sheetRef.cells = u"A1";
        Place place = resolve(sheetRef);
        const Sheet& sheet = place.sheet();
        for (int r = action.row - 1; r < action.lastRow; ++r) {
            const engine::RowProperties& row = sheet.row(r);
            output_.line(JsonLine()
                             .number("row", r + 1)
                             .number("level", row.outlineLevel + 1)
                             .boolean("hidden", row.hidden)
                             .number("height", row.customHeight ? row.height : sheet.defaultRowHeight())
                             .str());
        }
        return;
    }
    case Action::Kind::Instances:
        for (const auto& app : engine::automation::runningInstances()) {
            std::string books = "[";
            for (size_t i = 0; i < app->books().size(); ++i) {
                const Book& book = *app->books()[i];
                std::vector<std::u16string> sheets;
                for (int s = 0; s < book.model->sheetCount(); ++s)
                    sheets.push_back(book.model->sheet(s).name());
                books += (i ? "," : "") +
                         JsonLine().text("name", book.name).raw("sheets", quotedList(sheets)).str();
            }
            output_.line(JsonLine()
                             .number("instance", app->number())
                             .boolean("visible", app->GetVisible() != VARIANT_FALSE)
                             .boolean("formulaBar", app->GetDisplayFormulaBar() != VARIANT_FALSE)
                             .raw("workbooks", books + "]")
                             .str());
        }
        return;
    case Action::Kind::CommandBars:
        for (const auto& bar : programInstance()->commandBars().bars()) {
            std::string buttons = "[";
            for (size_t i = 0; i < bar->buttons().size(); ++i) {
                const auto& button = bar->buttons()[i];
                buttons += (i ? "," : "") + JsonLine()
                                                .text("caption", button->GetCaption())
                                                .number("style", button->GetStyle())
                                                .str();
            }
            output_.line(JsonLine()
                             .text("name", bar->name())
                             .boolean("enabled", bar->enabled())
                             .boolean("visible", bar->visible())
                             .boolean("temporary", bar->temporary())
                             .raw("buttons", buttons + "]")
                             .str());
        }
        return;
    case Action::Kind::Save: {
        auto book = registerBook();
        book->app->save(*book, std::nullopt);
        return;
    }
    case Action::Kind::Close: {
        auto book = registerBook();
        book->app->close(book, std::nullopt);
        return;
    }
    case Action::Kind::Quit:
        programInstance()->quit();
        return;
    }
}

bool Session::saveOthers(const std::filesystem::path& folder) {
    bool allSaved = true;
    for (const auto& app : engine::automation::runningInstances()) {
        if (app->number() == 1)
            continue;
        for (const auto& book : app->books()) {
            std::filesystem::path file =
                folder / (std::to_string(app->number()) + "-" + text::toUtf8(book->name) + ".xls");
            try {
                engine::automation::writeWorkbookFile(*book->model, file);
            } catch (const ComError& e) {
                allSaved = false;
                output_.line(JsonLine("error").text("text", e.description()).str());
            }
        }
    }
    return allSaved;
}

} // namespace play

#include "tools/varnel-play/actions.h"

#include "engine/automation/application.h"
#include "engine/automation/user.h"
#include "engine/core/text.h"
#include "platform/text/utf.h"
#include "tools/varnel-play/json.h"
#include "tools/varnel-play/session.h"

namespace play {

namespace {

using engine::Area;
using engine::Sheet;
using engine::Value;
using engine::automation::Application;
using engine::automation::Book;
namespace user = engine::automation::user;

constexpr char16_t kRegisterBook[] = u"Ombrell.xls";

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

// A place of a script resolved to an instance, one of its workbooks and sheets, and cells on it.
struct Target {
    ComPtr<Application> app;
    user::Place place; // both names filled in
    std::u16string cells;
    bool isRegister = false;

    Area area() const {
        auto area = engine::parseArea(cells);
        if (!area)
            refuse(u"no cells " + cells);
        return *area;
    }
    const Sheet& sheet() const { return user::sheet(*app, place); }

    // How print names a cell: the register's cells by sheet, others with instance and workbook.
    std::u16string label(int row, int col) const {
        std::u16string cell = place.sheet + u"!" + engine::formatAddress({row, col}, true);
        if (isRegister)
            return cell;
        return text::toUtf16(std::to_string(app->number())) + u":[" + place.book + u"]" + cell;
    }
};

Target resolve(const Ref& ref) {
    Target target;
    std::shared_ptr<Book> book;
    if (ref.workbook.empty() && ref.instance == 0) {
        target.app = programInstance();
        book = registerBook();
    } else if (ref.instance != 0) {
        target.app = instance(ref.instance);
        book = target.app->findBook(ref.workbook);
    } else {
        for (auto& app : engine::automation::runningInstances()) {
            auto found = app->findBook(ref.workbook);
            if (found && book)
                refuse(u"several instances hold a workbook " + ref.workbook + u": name one as N:[" +
                       ref.workbook + u"]");
            if (found) {
                book = found;
                target.app = app;
            }
        }
    }
    if (!book)
        refuse(u"no open workbook " + ref.workbook);
    target.isRegister = target.app->number() == 1 && engine::compareFolded(book->name, kRegisterBook) == 0;
    target.place.book = book->name;
    if (!ref.sheet.empty() && !book->model->findSheet(ref.sheet))
        refuse(u"the workbook " + book->name + u" has no sheet " + ref.sheet);
    target.place.sheet = ref.sheet.empty() ? user::sheet(*target.app, {book->name, {}}).name()
                                           : book->model->findSheet(ref.sheet)->name();
    target.cells = ref.cells;
    return target;
}

std::string cellLine(const Target& target, int row, int col) {
    JsonLine line;
    line.text("cell", target.label(row, col));
    user::CellView cell = user::cell(*target.app, target.place, engine::formatAddress({row, col}, false));
    const Value& value = cell.value;
    line.cellValue(value);
    if (!value.isEmpty())
        line.text("text", cell.shown);
    if (target.sheet().hasFormula(row, col))
        line.text("formula", cell.formula);
    const engine::ValidationRule* rule = target.sheet().validationAt(row, col);
    if (rule && rule->type == engine::ValidationType::List)
        line.text("validation", rule->formula1);
    return line.str();
}

std::string quotedList(const std::vector<std::u16string>& items) {
    std::vector<std::string> quotedItems;
    for (const std::u16string& item : items)
        quotedItems.push_back(play::quoted(std::u16string_view(item)));
    return jsonArray(quotedItems);
}

void refuseUnless(const user::Outcome& outcome) {
    if (!outcome.done)
        refuse(outcome.message);
}

void answer(Session& session, const Action& action) {
    session.user().queue(ui::Answer::withText(action.text));
}

void answerCancel(Session& session, const Action&) {
    session.user().queue(ui::Answer::cancel());
}

void click(Session&, const Action& action) {
    if (!user::click(*programInstance(), action.text))
        refuse(u"no shown button " + action.text);
}

void type(Session& session, const Action& action) {
    Target target = resolve(action.ref);
    Area area = target.area();
    if (area.rowCount() != 1 || area.columnCount() != 1)
        refuse(u"type goes into one cell");
    if (!user::type(*target.app, target.place, target.cells, action.text).done)
        session.output().line(JsonLine("refused")
                                  .text("cell", target.label(area.top, area.left))
                                  .text("text", action.text)
                                  .str());
}

void clear(Session& session, const Action& action) {
    Target target = resolve(action.ref);
    if (!user::clear(*target.app, target.place, target.cells).done)
        session.output().line(JsonLine("refused").text("cells", target.cells).str());
}

void copy(Session&, const Action& action) {
    Target target = resolve(action.ref);
    user::copy(*target.app, target.place, target.cells);
}

void paste(Session&, const Action& action) {
    Target target = resolve(action.ref);
    Area area = target.area();
    refuseUnless(user::paste(*target.app, target.place, engine::formatAddress({area.top, area.left}, false)));
}

void collapse(Session&, const Action& action) {
    user::collapse(*programInstance(), {registerBook()->name, {}}, action.row);
}

void expand(Session&, const Action& action) {
    user::expand(*programInstance(), {registerBook()->name, {}}, action.row);
}

void select(Session&, const Action& action) {
    Target target = resolve(action.ref);
    user::select(*target.app, target.place, target.cells);
}

void print(Session& session, const Action& action) {
    Target target = resolve(action.ref);
    Area area = target.area();
    for (int row = area.top; row <= area.bottom; ++row)
        for (int col = area.left; col <= area.right; ++col)
            session.output().line(cellLine(target, row, col));
}

void rows(Session& session, const Action& action) {
    Ref sheetOnly = action.ref;
    sheetOnly.cells = u"A1";
    Target target = resolve(sheetOnly);
    for (int r = action.row; r <= action.lastRow; ++r) {
        user::RowView row = user::row(*target.app, target.place, r);
        session.output().line(JsonLine()
                                  .number("row", r)
                                  .number("level", row.outlineLevel)
                                  .boolean("hidden", row.hidden)
                                  .number("height", row.height)
                                  .str());
    }
}

void instances(Session& session, const Action&) {
    for (const auto& app : engine::automation::runningInstances()) {
        user::InstanceView view = user::describe(*app);
        std::vector<std::string> books;
        for (const std::u16string& name : view.books) {
            const engine::Workbook& book = user::workbook(*app, name);
            std::vector<std::u16string> sheets;
            for (int s = 0; s < book.sheetCount(); ++s)
                sheets.push_back(book.sheet(s).name());
            books.push_back(JsonLine().text("name", name).raw("sheets", quotedList(sheets)).str());
        }
        session.output().line(JsonLine()
                                  .number("instance", view.number)
                                  .boolean("visible", view.visible)
                                  .boolean("formulaBar", view.formulaBar)
                                  .raw("workbooks", jsonArray(books))
                                  .str());
    }
}

// Read from the bars themselves: whether a bar is temporary is no user's view.
void commandBars(Session& session, const Action&) {
    for (const auto& bar : programInstance()->commandBars().bars()) {
        std::vector<std::string> buttons;
        for (const auto& button : bar->buttons())
            buttons.push_back(
                JsonLine().text("caption", button->GetCaption()).number("style", button->GetStyle()).str());
        session.output().line(JsonLine()
                                  .text("name", bar->name())
                                  .boolean("enabled", bar->enabled())
                                  .boolean("visible", bar->visible())
                                  .boolean("temporary", bar->temporary())
                                  .raw("buttons", jsonArray(buttons))
                                  .str());
    }
}

void save(Session&, const Action&) {
    // Not saved after the user declined the warning: that answer is the whole story.
    user::Outcome outcome = user::save(*programInstance(), registerBook()->name);
    if (!outcome.done && !outcome.message.empty())
        refuse(outcome.message);
}

void close(Session&, const Action&) {
    if (!user::close(*programInstance(), registerBook()->name))
        refuse(u"the register workbook stays open");
}

void quit(Session&, const Action&) {
    if (!user::quit(*programInstance()))
        refuse(u"the spreadsheet stays open");
}

constexpr Verb kVerbs[] = {
    {u"answer", Arguments::Text, answer},       {u"answer-cancel", Arguments::None, answerCancel},
    {u"click", Arguments::Caption, click},      {u"type", Arguments::CellsThenText, type},
    {u"clear", Arguments::Cells, clear},        {u"copy", Arguments::Cells, copy},
    {u"paste", Arguments::Cells, paste},        {u"collapse", Arguments::Row, collapse},
    {u"expand", Arguments::Row, expand},        {u"select", Arguments::Cells, select},
    {u"print", Arguments::Cells, print},        {u"rows", Arguments::RowSpan, rows},
    {u"instances", Arguments::None, instances}, {u"commandbars", Arguments::None, commandBars},
    {u"save", Arguments::None, save},           {u"close", Arguments::None, close},
    {u"quit", Arguments::None, quit},
};

} // namespace

std::span<const Verb> actions() {
    return kVerbs;
}

} // namespace play

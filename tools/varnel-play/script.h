#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// The session script of varnel-play: one action a line, UTF-8; blank lines and lines starting with "#"
// are skipped.
namespace play {

// A place in the spreadsheets: "征订登记!C4", "C4" (the active sheet of the register workbook),
// "[Book1]Sheet1!A1" (a workbook of any instance) or "2:[Book1]Sheet1!A1" (of instance 2). Cells may
// be one cell or a rectangle ("A1:G4").
struct Ref {
    int instance = 0;        // 0: not given
    std::u16string workbook; // empty: the register workbook
    std::u16string sheet;    // empty: the workbook's active sheet
    std::u16string cells;
};

class Session;
struct Action;

// What follows an action's word on its line, after the blanks.
enum class Arguments {
    None,          // nothing
    Text,          // any text, or none
    Caption,       // a text that is not empty
    Row,           // a row number from 1 to 65536
    Cells,         // a REF
    CellsThenText, // a REF, then any text (or none) after blanks
    RowSpan,       // SHEET!FROM:TO with row numbers
};

// One action of the language: its word, its arguments and what it does in a session. The table of
// them all is play::actions() (actions.h).
struct Verb {
    std::u16string_view word;
    Arguments arguments;
    void (*perform)(Session& session, const Action& action);
};

// One line of a script, its arguments read as its verb takes them.
struct Action {
    const Verb* verb = nullptr;
    int line = 0;
    std::u16string text; // Text, Caption, CellsThenText
    Ref ref;             // Cells, CellsThenText; RowSpan: the sheet and the row span
    int row = 0;         // Row; RowSpan: the first row
    int lastRow = 0;     // RowSpan
};

// "[Book1]Sheet1!A1" and its other forms; nothing when the text is no reference.
std::optional<Ref> parseRef(std::u16string_view text);

struct ParseError {
    int line;
    std::string message;
};

// The actions of a whole script in the language of `verbs`, or the first line that is not one.
struct Script {
    std::vector<Action> actions;
    std::optional<ParseError> error;
};
Script parseScript(std::string_view utf8, std::span<const Verb> verbs);

} // namespace play

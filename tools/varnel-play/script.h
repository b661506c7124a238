#pragma once

#include <optional>
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

struct Action {
    enum class Kind {
        Answer,
        AnswerCancel,
        Click,
        Type,
        Clear,
        Copy,
        Paste,
        Collapse,
        Expand,
        Select,
        Print,
        Rows,
        Instances,
        CommandBars,
        Save,
        Close,
        Quit,
    };
    Kind kind;
    int line = 0;
    std::u16string text; // answer, click caption, typed text
    Ref ref;             // type, clear, copy, paste, select, print; rows: the sheet and the row span
    int row = 0;         // collapse, expand; rows: the first row
    int lastRow = 0;     // rows
};

// "[Book1]Sheet1!A1" and its other forms; nothing when the text is no reference.
std::optional<Ref> parseRef(std::u16string_view text);

struct ParseError {
    int line;
    std::string message;
};

// The actions of a whole script, or the first line that is not one.
struct Script {
    std::vector<Action> actions;
    std::optional<ParseError> error;
};
Script parseScript(std::string_view utf8);

} // namespace play

#include "tools/varnel-play/script.h"

#include "platform/text/utf.h"

#include <algorithm>
#include <charconv>
#include <utility>

namespace play {

namespace {

bool isCellsText(std::u16string_view text) {
    // A1, $A$1, A1:G4 (letters then digits, optional dollars), or whole rows or columns (1:2, B:B).
    if (text.empty())
        return false;
    for (char16_t c : text) {
        bool ok = (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9') ||
                  c == u'$' || c == u':';
        if (!ok)
            return false;
    }
    return true;
}

std::optional<int> number(std::u16string_view text) {
    std::string ascii;
    for (char16_t c : text) {
        if (c < u'0' || c > u'9')
            return std::nullopt;
        ascii += char(c);
    }
    int value = 0;
    auto [end, ec] = std::from_chars(ascii.data(), ascii.data() + ascii.size(), value);
    if (ascii.empty() || ec != std::errc() || end != ascii.data() + ascii.size() || value < 1)
        return std::nullopt;
    return value;
}

// The first word and the rest of the line after the blanks that follow it.
std::pair<std::u16string_view, std::u16string_view> splitWord(std::u16string_view line) {
    size_t space = line.find(u' ');
    if (space == std::u16string_view::npos)
        return {line, {}};
    std::u16string_view rest = line.substr(space);
    size_t start = rest.find_first_not_of(u' ');
    return {line.substr(0, space),
            start == std::u16string_view::npos ? std::u16string_view{} : rest.substr(start)};
}

// Reads the arguments of one line into action; an error message when they are not what the verb takes.
std::optional<std::string> parseArguments(std::u16string_view rest, Action& action) {
    const std::string name = text::toUtf8(action.verb->word);
    switch (action.verb->arguments) {
    case Arguments::None:
        if (!rest.empty())
            return name + " takes nothing after it";
        return std::nullopt;
    case Arguments::Text:
        action.text = rest;
        return std::nullopt;
    case Arguments::Caption:
        if (rest.empty())
            return name + " needs a button caption";
        action.text = rest;
        return std::nullopt;
    case Arguments::Row: {
        std::optional<int> row = number(rest);
        if (!row || *row > 65536)
            return name + " needs a row number from 1 to 65536";
        action.row = *row;
        return std::nullopt;
    }
    case Arguments::Cells: {
        std::optional<Ref> ref = parseRef(rest);
        if (!ref)
            return name + " needs a cell reference";
        action.ref = *ref;
        return std::nullopt;
    }
    case Arguments::CellsThenText: {
        auto [refText, typed] = splitWord(rest);
        std::optional<Ref> ref = parseRef(refText);
        if (!ref)
            return name + " needs a cell reference, then the text";
        action.ref = *ref;
        action.text = typed;
        return std::nullopt;
    }
    case Arguments::RowSpan: {
        std::optional<Ref> ref = parseRef(rest);
        size_t colon = ref ? ref->cells.find(u':') : std::u16string::npos;
        std::optional<int> from, to;
        if (colon != std::u16string::npos) {
            from = number(std::u16string_view(ref->cells).substr(0, colon));
            to = number(std::u16string_view(ref->cells).substr(colon + 1));
        }
        if (!from || !to || *from > *to || *to > 65536)
            return name + " needs SHEET!FROM:TO with row numbers";
        action.ref = *ref;
        action.row = *from;
        action.lastRow = *to;
        return std::nullopt;
    }
    }
    return std::nullopt;
}

// Reads one line into action; an error message when it is no action.
std::optional<std::string> parseLine(std::u16string_view line, std::span<const Verb> verbs, Action& action) {
    auto [word, rest] = splitWord(line);
    auto verb = std::find_if(verbs.begin(), verbs.end(), [&](const Verb& v) { return v.word == word; });
    if (verb == verbs.end())
        return "unknown action \"" + text::toUtf8(word) + "\"";
    action.verb = &*verb;
    return parseArguments(rest, action);
}

} // namespace

std::optional<Ref> parseRef(std::u16string_view text) {
    Ref ref;
    size_t bracket = text.find(u'[');
    if (bracket != std::u16string_view::npos) {
        if (bracket > 0) {
            if (text[bracket - 1] != u':')
                return std::nullopt;
            std::optional<int> instance = number(text.substr(0, bracket - 1));
            if (!instance)
                return std::nullopt;
            ref.instance = *instance;
        }
        size_t close = text.find(u']', bracket);
        if (close == std::u16string_view::npos || close == bracket + 1)
            return std::nullopt;
        ref.workbook = text.substr(bracket + 1, close - bracket - 1);
        text = text.substr(close + 1);
        if (text.find(u'!') == std::u16string_view::npos)
            return std::nullopt;
    }
    size_t bang = text.rfind(u'!');
    if (bang != std::u16string_view::npos) {
        if (bang == 0)
            return std::nullopt;
        ref.sheet = text.substr(0, bang);
        text = text.substr(bang + 1);
    }
    if (!isCellsText(text))
        return std::nullopt;
    ref.cells = text;
    return ref;
}

Script parseScript(std::string_view utf8, std::span<const Verb> verbs) {
    Script script;
    int lineNumber = 0;
    while (!utf8.empty()) {
        size_t end = utf8.find('\n');
        std::string_view raw = utf8.substr(0, end);
        utf8 = end == std::string_view::npos ? std::string_view{} : utf8.substr(end + 1);
        ++lineNumber;
        if (!raw.empty() && raw.back() == '\r')
            raw.remove_suffix(1);
        std::u16string line = text::toUtf16(raw);
        size_t first = line.find_first_not_of(u" \t");
        if (first == std::u16string::npos || line[first] == u'#')
            continue;
        size_t last = line.find_last_not_of(u" \t");
        Action action{};
        action.line = lineNumber;
        if (auto error =
                parseLine(std::u16string_view(line).substr(first, last - first + 1), verbs, action)) {
            script.error = ParseError{lineNumber, *error};
            return script;
        }
        script.actions.push_back(std::move(action));
    }
    return script;
}

} // namespace play

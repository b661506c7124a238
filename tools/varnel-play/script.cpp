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

// A text argument as written: plain, or, to hold blanks at its ends (or to begin with a quote), in
// double quotes with JSON's escapes (\" \\ \/ \b \f \n \r \t \uXXXX). Nothing for a quoted text that
// is not closed or holds an unknown escape.
std::optional<std::u16string> textArgument(std::u16string_view written) {
    if (written.empty() || written.front() != u'"')
        return std::u16string(written);
    if (written.size() < 2 || written.back() != u'"')
        return std::nullopt;
    written = written.substr(1, written.size() - 2);
    std::u16string text;
    for (std::size_t i = 0; i < written.size(); ++i) {
        char16_t c = written[i];
        if (c == u'"')
            return std::nullopt;
        if (c != u'\\') {
            text += c;
            continue;
        }
        if (++i == written.size())
            return std::nullopt;
        static constexpr std::u16string_view escapes = u"\"\\/bfnrt", meanings = u"\"\\/\b\f\n\r\t";
        if (std::size_t at = escapes.find(written[i]); at != std::u16string_view::npos) {
            text += meanings[at];
            continue;
        }
        if (written[i] != u'u' || written.size() - i < 5)
            return std::nullopt;
        char16_t unit = 0;
        for (std::size_t k = 1; k <= 4; ++k) {
            const char16_t h = written[i + k];
            const int digit = h >= u'0' && h <= u'9'   ? h - u'0'
                              : h >= u'a' && h <= u'f' ? h - u'a' + 10
                              : h >= u'A' && h <= u'F' ? h - u'A' + 10
                                                       : -1;
            if (digit < 0)
                return std::nullopt;
            unit = char16_t(unit * 16 + digit);
        }
        text += unit;
        i += 4;
    }
    return text;
}

constexpr char kBadQuote[] = "a text in double quotes must end with one and use JSON's escapes";

// Reads the arguments of one line into action; an error message when they are not what the verb takes.
std::optional<std::string> parseArguments(std::u16string_view rest, Action& action) {
    const std::string name = text::toUtf8(action.verb->word);
    switch (action.verb->arguments) {
    case Arguments::None:
        if (!rest.empty())
            return name + " takes nothing after it";
        return std::nullopt;
    case Arguments::Text:
    case Arguments::Caption: {
        std::optional<std::u16string> text = textArgument(rest);
        if (!text)
            return name + ": " + kBadQuote;
        if (text->empty() && action.verb->arguments == Arguments::Caption)
            return name + " needs a button caption";
        action.text = *text;
        return std::nullopt;
    }
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
        std::optional<std::u16string> text = textArgument(typed);
        if (!text)
            return name + ": " + kBadQuote;
        action.ref = *ref;
        action.text = *text;
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
        if (!text::isUtf8(raw)) {
            script.error = ParseError{lineNumber, "the line is not UTF-8"};
            return script;
        }
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

#include "platform/profile/document.h"

#include "platform/text/fold.h"

namespace profile {
namespace {

bool isBlank(char16_t c) {
    return c == u' ' || c == u'\t';
}

std::u16string_view trim(std::u16string_view s) {
    while (!s.empty() && isBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && isBlank(s.back()))
        s.remove_suffix(1);
    return s;
}

struct Parsed {
    enum Kind { Other, Section, Entry } kind = Other;
    std::u16string_view name;
    std::u16string_view value;
};

Parsed parse(std::u16string_view line) {
    const std::u16string_view text = trim(line);
    if (text.empty() || text.front() == u';')
        return {};
    if (text.front() == u'[')
        return {Parsed::Section, trim(text.substr(1, text.find(u']', 1) - 1)), {}};
    const std::size_t equals = text.find(u'=');
    if (equals == std::u16string_view::npos)
        return {};
    return {Parsed::Entry, trim(text.substr(0, equals)), trim(text.substr(equals + 1))};
}

std::u16string_view unquote(std::u16string_view value) {
    if (value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') &&
        value.back() == value.front())
        return value.substr(1, value.size() - 2);
    return value;
}

bool writable(std::u16string_view section, std::u16string_view key, std::u16string_view value) {
    for (std::u16string_view text : {section, key, value})
        if (text.find_first_of(u"\r\n") != std::u16string_view::npos)
            return false;
    if (section.find(u']') != std::u16string_view::npos || key.find(u'=') != std::u16string_view::npos)
        return false;
    return key.empty() || (key.front() != u'[' && key.front() != u';');
}

} // namespace

Document::Document() : Document(std::string_view{}) {}

Document::Document(std::string_view bytes)
    : encoding_(bytes.empty() ? Encoding::Utf16Le : detectEncoding(bytes)), lineEnd_(u"\r\n") {
    if (bytes.starts_with(byteOrderMark(encoding_)))
        bytes.remove_prefix(byteOrderMark(encoding_).size());
    const std::size_t unit = unitSize(encoding_);
    const auto isUnit = [&](std::size_t at, char c) {
        return isCharacter(bytes, at, c, encoding_);
    };
    const auto fits = [&](std::size_t at) {
        return at + unit <= bytes.size();
    };
    // A line ends at CRLF, LF or a lone CR, as Windows reads profile files.
    std::size_t start = 0;
    while (start < bytes.size()) {
        std::size_t at = start;
        while (fits(at) && !isUnit(at, '\n') && !isUnit(at, '\r'))
            at += unit;
        Line line;
        std::size_t next = bytes.size();
        if (fits(at)) {
            const bool crlf = isUnit(at, '\r') && fits(at + unit) && isUnit(at + unit, '\n');
            line.end = crlf ? u"\r\n" : isUnit(at, '\r') ? u"\r" : u"\n";
            next = at + line.end.size() * unit;
        } else {
            at = bytes.size();
        }
        line.raw = std::string(bytes.substr(start, at - start));
        line.text = decode(*line.raw, encoding_);
        lines_.push_back(std::move(line));
        start = next;
    }
    for (const Line& line : lines_)
        if (!line.end.empty()) {
            lineEnd_ = line.end;
            break;
        }
}

std::optional<std::size_t> Document::findSection(std::u16string_view section) const {
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        const Parsed parsed = parse(lines_[i].text);
        if (parsed.kind == Parsed::Section && text::sameIgnoringCase(parsed.name, section))
            return i;
    }
    return std::nullopt;
}

std::size_t Document::sectionEnd(std::size_t header) const {
    std::size_t i = header + 1;
    while (i < lines_.size() && parse(lines_[i].text).kind != Parsed::Section)
        ++i;
    return i;
}

std::optional<std::size_t> Document::findKey(std::size_t header, std::u16string_view key) const {
    const std::size_t end = sectionEnd(header);
    for (std::size_t i = header + 1; i < end; ++i) {
        const Parsed parsed = parse(lines_[i].text);
        if (parsed.kind == Parsed::Entry && text::sameIgnoringCase(parsed.name, key))
            return i;
    }
    return std::nullopt;
}

std::optional<std::u16string> Document::value(std::u16string_view section, std::u16string_view key) const {
    const auto header = findSection(trim(section));
    if (!header)
        return std::nullopt;
    const auto line = findKey(*header, trim(key));
    if (!line)
        return std::nullopt;
    return std::u16string(unquote(parse(lines_[*line].text).value));
}

bool Document::setValue(std::u16string_view section, std::u16string_view key, std::u16string_view value) {
    section = trim(section);
    key = trim(key);
    // Whatever were written into an undecodable file would be in another encoding than the rest.
    if (encoding_ == Encoding::Undecodable || !writable(section, key, value))
        return false;
    const std::u16string entry = std::u16string(key) + u'=' + std::u16string(value);
    const auto header = findSection(section);
    if (!header) {
        insertLine(lines_.size(), u'[' + std::u16string(section) + u']');
        insertLine(lines_.size(), entry);
        return true;
    }
    if (const auto found = findKey(*header, key)) {
        // Keep the key as it is spelt and spaced in the file; only the value changes.
        Line& line = lines_[*found];
        std::size_t valueStart = line.text.find(u'=') + 1;
        while (valueStart < line.text.size() && isBlank(line.text[valueStart]))
            ++valueStart;
        line.text = line.text.substr(0, valueStart) + std::u16string(value);
        line.raw.reset();
        return true;
    }
    // After the section's last non-blank line, so blank lines that set off the next section stay there.
    std::size_t at = sectionEnd(*header);
    while (at > *header + 1 && trim(lines_[at - 1].text).empty())
        --at;
    insertLine(at, entry);
    return true;
}

void Document::insertLine(std::size_t at, std::u16string text) {
    if (at > 0 && lines_[at - 1].end.empty()) {
        Line& last = lines_[at - 1];
        last.end = lineEnd_;
        // A UTF-16 file that ends in the middle of a unit: the lone byte, which carries no character, is
        // dropped, or every later line would be read a byte out of step.
        if (last.raw && last.raw->size() % unitSize(encoding_) != 0)
            last.raw->pop_back();
    }
    lines_.insert(lines_.begin() + std::ptrdiff_t(at), Line{std::move(text), lineEnd_, std::nullopt});
}

std::optional<std::string> Document::bytes() const {
    Encoding target = encoding_;
    if (target == Encoding::Gbk)
        for (const Line& line : lines_)
            if (!line.raw && !encode(line.text, target)) {
                target = Encoding::Gb18030;
                break;
            }
    std::string out(byteOrderMark(target));
    for (const Line& line : lines_) {
        const auto text = line.raw ? line.raw : encode(line.text, target);
        if (!text)
            return std::nullopt;
        out += *text;
        out += *encode(line.end, target);
    }
    return out;
}

} // namespace profile

#include "tests/engine/functions/case_file.h"

#include "platform/text/utf.h"

#include <charconv>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace engine::cases {

using text::toUtf16;
using text::toUtf8;
namespace {

std::vector<std::string> split(const std::string& line, char separator) {
    std::vector<std::string> fields;
    std::string field;
    bool quoted = false;
    for (char c : line) {
        if (c == '"')
            quoted = !quoted;
        if (c == separator && !quoted) {
            fields.push_back(field);
            field.clear();
        } else {
            field += c;
        }
    }
    fields.push_back(field);
    return fields;
}

std::string trimmed(const std::string& s) {
    std::size_t first = s.find_first_not_of(' '), last = s.find_last_not_of(' ');
    return first == std::string::npos ? std::string() : s.substr(first, last - first + 1);
}

std::vector<CellValue> readCells(const std::string& field, int line) {
    std::vector<CellValue> cells;
    if (trimmed(field).empty())
        return cells;
    for (const std::string& item : split(field, ';')) {
        std::size_t equals = item.find('=');
        if (equals == std::string::npos)
            throw std::runtime_error("line " + std::to_string(line) + ": no cell in \"" + item + "\"");
        cells.push_back(
            {toUtf16(trimmed(item.substr(0, equals))), toUtf16(trimmed(item.substr(equals + 1)))});
    }
    return cells;
}

} // namespace

std::vector<Case> readCases(const std::filesystem::path& file) {
    std::ifstream in(file);
    if (!in)
        throw std::runtime_error("cannot read " + file.string());
    std::vector<Case> cases;
    std::string text;
    for (int line = 1; std::getline(in, text); ++line) {
        if (text.empty() || text[0] == '#')
            continue;
        std::vector<std::string> f;
        std::stringstream fields(text);
        for (std::string x; std::getline(fields, x, '\t');)
            f.push_back(x);
        f.resize(6);
        cases.push_back({line, toUtf16(f[0]), toUtf16(f[1]), readCells(f[2], line), f[3], f[4], f[5]});
    }
    return cases;
}

std::optional<Value> parseValue(std::u16string_view text) {
    if (text.empty())
        return Value();
    if (text == u"TRUE" || text == u"FALSE")
        return Value::boolean(text == u"TRUE");
    if (text.size() >= 2 && text.front() == u'"' && text.back() == u'"') {
        std::u16string s;
        for (std::size_t i = 1; i + 1 < text.size(); ++i) {
            s += text[i];
            if (text[i] == u'"')
                ++i; // a doubled quote
        }
        return Value::text(s);
    }
    if (text.front() == u'#') {
        if (auto e = parseErrorText(text))
            return Value::error(*e);
        return std::nullopt;
    }
    std::string ascii = toUtf8(text);
    double n = 0;
    auto [end, ec] = std::from_chars(ascii.data(), ascii.data() + ascii.size(), n);
    if (ec != std::errc() || end != ascii.data() + ascii.size())
        return std::nullopt;
    return Value::number(n);
}

} // namespace engine::cases

#include "tools/varnel-convert/export.h"

#include "engine/core/address.h"
#include "engine/core/error.h"
#include "engine/core/number_format.h"
#include "platform/text/utf.h"
#include "tools/varnel-play/json.h"

#include <algorithm>

namespace convert {

using engine::Value;

namespace {

std::string csvField(const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos)
        return text;
    std::string out = "\"";
    for (char c : text) {
        if (c == '"')
            out += '"';
        out += c;
    }
    return out + "\"";
}

std::string cellJson(const engine::Sheet& sheet, int row, int col) {
    play::JsonLine line;
    line.text("cell", engine::formatAddress({row, col}, false));
    Value value = sheet.value(row, col);
    line.cellValue(value);
    if (sheet.hasFormula(row, col))
        line.text("formula", sheet.formulaBarText(row, col));
    const std::u16string& code = sheet.format(row, col).numberFormat;
    if (!engine::isGeneralCode(code))
        line.text("format", code);
    return line.str();
}

} // namespace

std::string sheetCsv(const engine::Sheet& sheet) {
    // Formatted blank cells lie in the used area but give no field: the text ends at the last value.
    int bottom = -1, right = -1;
    if (auto used = sheet.usedArea())
        for (int row = used->top; row <= used->bottom; ++row)
            for (int col = used->left; col <= used->right; ++col)
                if (sheet.hasContent(row, col)) {
                    bottom = row;
                    right = std::max(right, col);
                }
    std::string out;
    for (int row = 0; row <= bottom; ++row) {
        for (int col = 0; col <= right; ++col) {
            if (col > 0)
                out += ',';
            if (sheet.hasContent(row, col))
                out += csvField(text::toUtf8(sheet.shown(row, col).text));
        }
        out += "\r\n";
    }
    return out;
}

std::string workbookJson(const engine::Workbook& book, const std::vector<std::string>& dropped) {
    std::string out = "{\"sheets\":[";
    for (int i = 0; i < book.sheetCount(); ++i) {
        const engine::Sheet& sheet = book.sheet(i);
        out += i ? ",\n" : "\n";
        out += "{\"name\":" + play::quoted(std::u16string_view(sheet.name())) + ",\"cells\":[";
        bool first = true;
        if (auto used = sheet.usedArea())
            for (int row = used->top; row <= used->bottom; ++row)
                for (int col = used->left; col <= used->right; ++col) {
                    if (!sheet.hasContent(row, col))
                        continue;
                    out += first ? "\n" : ",\n";
                    out += cellJson(sheet, row, col);
                    first = false;
                }
        out += "\n]}";
    }
    std::vector<std::string> items;
    for (const std::string& what : dropped)
        items.push_back(play::quoted(std::string_view(what)));
    out += "\n],\"dropped\":" + play::jsonArray(items) + "}\n";
    return out;
}

} // namespace convert

#include "engine/automation/clipboard_text.h"

#include "engine/automation/values.h"

#include <algorithm>

namespace engine::automation {

namespace {

void appendCell(std::u16string& out, const std::u16string& text) {
    if (text.find_first_of(u"\t\r\n\"") == std::u16string::npos) {
        out += text;
        return;
    }
    out += u'"';
    for (char16_t c : text) {
        if (c == u'"')
            out += u'"';
        out += c;
    }
    out += u'"';
}

} // namespace

std::u16string tabSeparatedText(const Snapshot& snapshot) {
    if (snapshot.items.empty())
        return {};
    int rows = 0, cols = 0;
    for (const Snapshot::Item& item : snapshot.items) {
        rows = std::max(rows, item.row + 1);
        cols = std::max(cols, item.col + 1);
    }
    std::vector<std::u16string> cells(static_cast<std::size_t>(rows) * static_cast<std::size_t>(cols));
    for (const Snapshot::Item& item : snapshot.items)
        cells[static_cast<std::size_t>(item.row) * static_cast<std::size_t>(cols) +
              static_cast<std::size_t>(item.col)] =
            item.value.isEmpty() ? std::u16string() : shownText(item.value);
    std::u16string out;
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < cols; ++c) {
            if (c > 0)
                out += u'\t';
            appendCell(out, cells[static_cast<std::size_t>(r) * static_cast<std::size_t>(cols) +
                                  static_cast<std::size_t>(c)]);
        }
        out += u"\r\n";
    }
    return out;
}

std::vector<std::vector<std::u16string>> parseTabSeparated(std::u16string_view text) {
    std::vector<std::vector<std::u16string>> rows;
    std::vector<std::u16string> row;
    std::u16string cell;
    bool rowStarted = false;
    std::size_t i = 0;
    auto endCell = [&] {
        row.push_back(std::move(cell));
        cell.clear();
    };
    auto endRow = [&] {
        endCell();
        rows.push_back(std::move(row));
        row.clear();
        rowStarted = false;
    };
    while (i < text.size()) {
        char16_t c = text[i];
        if (c == u'"' && cell.empty()) {
            // A quoted cell runs to the quote that is not doubled.
            rowStarted = true;
            for (++i; i < text.size(); ++i) {
                if (text[i] != u'"') {
                    cell += text[i];
                } else if (i + 1 < text.size() && text[i + 1] == u'"') {
                    cell += u'"';
                    ++i;
                } else {
                    ++i;
                    break;
                }
            }
            continue;
        }
        if (c == u'\t') {
            rowStarted = true;
            endCell();
        } else if (c == u'\r' || c == u'\n') {
            if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
                ++i;
            endRow();
        } else {
            rowStarted = true;
            cell += c;
        }
        ++i;
    }
    if (rowStarted || !cell.empty())
        endRow();
    return rows;
}

} // namespace engine::automation

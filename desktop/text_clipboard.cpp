#include "desktop/text_clipboard.h"

#include <QClipboard>
#include <QGuiApplication>

namespace desktop {

namespace {
QString offered; // the text of the spreadsheet's last copy
} // namespace

void offerText(const QString& text) {
    offered = text;
    // Empty cells copied are still the spreadsheet's to paste: nothing of another program's stays.
    if (text.isEmpty())
        QGuiApplication::clipboard()->clear();
    else
        QGuiApplication::clipboard()->setText(text);
}

std::optional<QString> foreignText() {
    QString text = QGuiApplication::clipboard()->text();
    if (text.isEmpty() || text == offered)
        return std::nullopt;
    return text;
}

void withdrawText() {
    if (!offered.isEmpty() && QGuiApplication::clipboard()->text() == offered)
        QGuiApplication::clipboard()->clear();
    offered.clear();
}

} // namespace desktop

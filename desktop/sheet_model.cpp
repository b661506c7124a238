#include "desktop/sheet_model.h"

#include "engine/core/text.h"
#include "engine/model/palette.h"
#include "engine/model/workbook.h"

#include <QColor>
#include <QFont>
#include <algorithm>
#include <cmath>

namespace desktop {

namespace {
const engine::Format defaultFormat{};

QString qs(const std::u16string& s) {
    return QString::fromStdU16String(s);
}
} // namespace

QFont cellFont(const engine::Font& font, const engine::Font& base) {
    QFont f(qs(font.name.empty() ? base.name : font.name));
    double points = font.size > 0 ? font.size : base.size;
    // A point is 96/72 pixels, as the grid measures row heights.
    f.setPixelSize(std::max(1, int(std::lround(points * 96 / 72))));
    f.setBold(font.bold);
    f.setItalic(font.italic);
    f.setUnderline(font.underline != engine::Underline::None);
    f.setStrikeOut(font.strikeout);
    return f;
}

QColor paletteColor(int index) {
    if (index < 1 || index > engine::kPaletteSize)
        return {};
    std::uint32_t bgr = engine::paletteColor(index);
    return QColor(int(bgr & 0xFF), int(bgr >> 8 & 0xFF), int(bgr >> 16 & 0xFF));
}

void SheetModel::setSheet(const engine::Sheet* sheet) {
    beginResetModel();
    sheet_ = sheet;
    rows_ = columns_ = 0;
    endResetModel();
}

void SheetModel::refresh() {
    if (rows_ > 0 && columns_ > 0)
        emit dataChanged(index(0, 0), index(rows_ - 1, columns_ - 1));
}

void SheetModel::setExtent(int rows, int columns) {
    rows = sheet_ ? std::clamp(rows, 0, engine::kRowCount) : 0;
    columns = sheet_ ? std::clamp(columns, 0, engine::kColumnCount) : 0;
    if (rows > rows_) {
        beginInsertRows({}, rows_, rows - 1);
        rows_ = rows;
        endInsertRows();
    } else if (rows < rows_) {
        beginRemoveRows({}, rows, rows_ - 1);
        rows_ = rows;
        endRemoveRows();
    }
    if (columns > columns_) {
        beginInsertColumns({}, columns_, columns - 1);
        columns_ = columns;
        endInsertColumns();
    } else if (columns < columns_) {
        beginRemoveColumns({}, columns, columns_ - 1);
        columns_ = columns;
        endRemoveColumns();
    }
}

std::u16string SheetModel::shownText(int row, int col) const {
    return sheet_ ? sheet_->shown(row, col).text : std::u16string();
}

std::u16string SheetModel::editText(int row, int col) const {
    if (!sheet_)
        return {};
    if (sheet_->hasFormula(row, col))
        return sheet_->formulaBarText(row, col);
    // The value itself, as it was typed: a number in its general form whatever its format shows.
    engine::Value v = sheet_->value(row, col);
    switch (v.kind()) {
    case engine::Value::Kind::Empty:
        return {};
    case engine::Value::Kind::Error:
        return std::u16string(engine::errorText(v.asError()));
    default:
        return engine::toText(v);
    }
}

QFont SheetModel::font(int row, int col) const {
    return cellFont(format(row, col).font, sheet_ ? sheet_->workbook().defaultFont() : engine::Font{});
}

const engine::Format& SheetModel::format(int row, int col) const {
    return sheet_ ? sheet_->format(row, col) : defaultFormat;
}

int SheetModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : rows_;
}

int SheetModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : columns_;
}

QVariant SheetModel::data(const QModelIndex& index, int role) const {
    if (!sheet_ || !index.isValid())
        return {};
    int row = index.row(), col = index.column();
    switch (role) {
    case Qt::DisplayRole:
        return qs(shownText(row, col));
    case Qt::EditRole:
        return qs(editText(row, col));
    case Qt::BackgroundRole:
        if (QColor c = paletteColor(format(row, col).fillColorIndex); c.isValid())
            return c;
        return {};
    case Qt::ForegroundRole: {
        // A section's colour ("[Red]") goes before the font's.
        int index = sheet_->shown(row, col).colorIndex;
        if (QColor c = paletteColor(index ? index : format(row, col).font.colorIndex); c.isValid())
            return c;
        return {};
    }
    case Qt::FontRole:
        return font(row, col);
    case Qt::ToolTipRole:
        // A comment shows under the pointer as Excel shows it: its author's name, then its text.
        if (const engine::Comment* c = sheet_->comment(row, col))
            return c->author.empty() ? qs(c->text) : qs(c->author + u":\n" + c->text);
        return {};
    case Qt::TextAlignmentRole: {
        Qt::Alignment vertical = Qt::AlignBottom;
        switch (format(row, col).horizontalAlignment) {
        case engine::HorizontalAlignment::Left:
            return QVariant::fromValue(Qt::AlignLeft | vertical);
        case engine::HorizontalAlignment::Center:
        case engine::HorizontalAlignment::CenterAcrossSelection:
            return QVariant::fromValue(Qt::AlignHCenter | vertical);
        case engine::HorizontalAlignment::Right:
            return QVariant::fromValue(Qt::AlignRight | vertical);
        default: {
            // General: numbers to the right, booleans and errors centred, text to the left.
            engine::Value v = sheet_->value(row, col);
            if (v.isNumber())
                return QVariant::fromValue(Qt::AlignRight | vertical);
            if (v.isBoolean() || v.isError())
                return QVariant::fromValue(Qt::AlignHCenter | vertical);
            return QVariant::fromValue(Qt::AlignLeft | vertical);
        }
        }
    }
    default:
        return {};
    }
}

bool SheetModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::EditRole || !index.isValid() || !commit_)
        return false;
    return commit_(index.row(), index.column(), value.toString().toStdU16String());
}

Qt::ItemFlags SheetModel::flags(const QModelIndex& index) const {
    return QAbstractTableModel::flags(index) | Qt::ItemIsEditable;
}

QVariant SheetModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    if (orientation == Qt::Horizontal)
        return qs(engine::columnName(section));
    return section + 1;
}

} // namespace desktop

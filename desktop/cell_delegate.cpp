#include "desktop/cell_delegate.h"

#include "desktop/border_pen.h"
#include "desktop/rich_text.h"
#include "desktop/sheet_model.h"
#include "engine/model/workbook.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPainter>
#include <algorithm>

namespace desktop {

QStringList listItems(const std::u16string& formula1) {
    return QString::fromStdU16String(formula1).split(QLatin1Char(','));
}

void CellDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                         const QModelIndex& index) const {
    const engine::Format& f = model_.format(index.row(), index.column());
    QStyleOptionViewItem opt(option);
    initStyleOption(&opt, index);
    if (f.wrapText)
        opt.features |= QStyleOptionViewItem::WrapText;
    else
        opt.features &= ~QStyleOptionViewItem::WrapText;
    opt.textElideMode = Qt::ElideNone;
    QRect r = option.rect;
    if (QColor fill = paletteColor(f.fillColorIndex); fill.isValid())
        painter->fillRect(r, fill);
    if (!paintRichText(painter, opt, index))
        QStyledItemDelegate::paint(painter, opt, index);

    painter->save();
    // The right and bottom edges lie on the grid line that follows the cell.
    const QLine edges[] = {{r.left(), r.top(), r.left(), r.bottom()},
                           {r.right() + 1, r.top(), r.right() + 1, r.bottom()},
                           {r.left(), r.top(), r.right(), r.top()},
                           {r.left(), r.bottom() + 1, r.right(), r.bottom() + 1}};
    for (int e = 0; e < 4; ++e) {
        const engine::Border& b = f.borders[size_t(e)];
        if (b.style == engine::LineStyle::None)
            continue;
        painter->setPen(borderPen(b));
        painter->drawLine(edges[e]);
    }
    // A cell with a comment has a red corner, top right.
    if (model_.sheet() && model_.sheet()->comment(index.row(), index.column())) {
        const int side = std::min({5, r.width() / 2, r.height() / 2});
        const QPoint corner[] = {
            {r.right() + 1 - side, r.top()}, {r.right() + 1, r.top()}, {r.right() + 1, r.top() + side}};
        painter->setPen(Qt::NoPen);
        painter->setBrush(QColor(0xFF, 0x00, 0x00));
        painter->drawPolygon(corner, 3);
    }
    painter->restore();
}

bool CellDelegate::paintRichText(QPainter* painter, const QStyleOptionViewItem& opt,
                                 const QModelIndex& index) const {
    const engine::Sheet* sheet = model_.sheet();
    if (!sheet)
        return false;
    auto runs = sheet->textRuns(index.row(), index.column());
    // A format that shows more than the text itself ("@\" kg\"") shows it plainly.
    if (runs.empty() ||
        opt.text != QString::fromStdU16String(sheet->value(index.row(), index.column()).asText()))
        return false;
    // The selection and focus, without the text.
    QStyleOptionViewItem frame(opt);
    frame.text.clear();
    const QWidget* widget = opt.widget;
    QStyle* style = widget ? widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &frame, painter, widget);

    RichCell cell;
    cell.text = opt.text;
    cell.runs = runs;
    cell.font = opt.font;
    cell.color = index.data(Qt::ForegroundRole).value<QColor>();
    cell.base = sheet->workbook().defaultFont();
    cell.alignment = opt.displayAlignment;
    cell.wrap = opt.features & QStyleOptionViewItem::WrapText;
    drawRichText(*painter, opt.rect, cell, opt.palette.color(QPalette::Text));
    return true;
}

QWidget* CellDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                                    const QModelIndex& index) const {
    const engine::Sheet* sheet = model_.sheet();
    const engine::ValidationRule* rule = sheet ? sheet->validationAt(index.row(), index.column()) : nullptr;
    if (rule && rule->type == engine::ValidationType::List && rule->inCellDropdown) {
        auto* combo = new QComboBox(parent);
        combo->setEditable(true);
        combo->setInsertPolicy(QComboBox::NoInsert);
        combo->setCompleter(nullptr);
        combo->addItems(listItems(rule->formula1));
        combo->setMaxVisibleItems(8);
        return combo;
    }
    return QStyledItemDelegate::createEditor(parent, option, index);
}

void CellDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const {
    QString text = pending_.isNull() ? index.data(Qt::EditRole).toString() : pending_;
    pending_ = QString();
    if (auto* combo = dynamic_cast<QComboBox*>(editor)) {
        combo->setCurrentIndex(combo->findText(text));
        combo->setEditText(text);
        return;
    }
    if (auto* edit = dynamic_cast<QLineEdit*>(editor)) {
        edit->setText(text);
        return;
    }
    QStyledItemDelegate::setEditorData(editor, index);
}

void CellDelegate::setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const {
    QString text;
    if (auto* combo = dynamic_cast<QComboBox*>(editor))
        text = combo->currentText();
    else if (auto* edit = dynamic_cast<QLineEdit*>(editor))
        text = edit->text();
    else
        return QStyledItemDelegate::setModelData(editor, model, index);
    // Leaving a cell without changing it enters nothing.
    if (text == index.data(Qt::EditRole).toString()) {
        refused_ = false;
        return;
    }
    lastText_ = text;
    refused_ = !model->setData(index, text, Qt::EditRole);
}

} // namespace desktop

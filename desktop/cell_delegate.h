#pragma once

#include <QStyledItemDelegate>

// Draws a cell as the spreadsheet does (fill, font, rich text, wrapped text, borders in their styles and
// colours) and edits it:
// a line edit, or a drop-down of the items when the cell has a list validation.
namespace desktop {

class SheetModel;

class CellDelegate : public QStyledItemDelegate {
public:
    CellDelegate(const SheetModel& model, QObject* parent) : QStyledItemDelegate(parent), model_(model) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override;

    // The text to start the next editor with instead of the cell's (a refused entry typed again).
    void setPendingText(const QString& text) { pending_ = text; }
    // Whether the last commit was refused.
    bool lastRefused() const { return refused_; }
    const QString& lastText() const { return lastText_; }

private:
    // Draws a cell whose text has runs in fonts of their own; false for any other cell.
    bool paintRichText(QPainter* painter, const QStyleOptionViewItem& opt, const QModelIndex& index) const;

    const SheetModel& model_;
    mutable QString pending_;
    mutable bool refused_ = false;
    mutable QString lastText_;
};

// The items of a list validation's text: split at ",", as the spreadsheet splits it.
QStringList listItems(const std::u16string& formula1);

} // namespace desktop

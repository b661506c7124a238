#pragma once

#include "engine/model/sheet.h"

#include <QAbstractTableModel>
#include <QFont>
#include <functional>
#include <string>

// One sheet of a workbook as a table of its first rows and columns, as far as the view reaches into the
// sheet's 65,536 rows by 256 columns (setExtent). The view asks only for the cells it shows, so the size
// of the sheet costs nothing. The model never changes the sheet: a committed edit goes
// to `commit`, which takes the spreadsheet user's path (validation, events) and says whether it was
// accepted.
namespace desktop {

class SheetModel : public QAbstractTableModel {
public:
    using Commit = std::function<bool(int row, int col, const std::u16string& typed)>;

    explicit SheetModel(QObject* parent = nullptr) : QAbstractTableModel(parent) {}

    void setSheet(const engine::Sheet* sheet);
    const engine::Sheet* sheet() const { return sheet_; }
    void setCommit(Commit commit) { commit_ = std::move(commit); }
    // The sheet changed: every cell is read again when next shown.
    void refresh();
    // How many rows and columns the table has; a new sheet starts with none.
    void setExtent(int rows, int columns);

    // What a cell shows (its value through its number format), and what its editor starts with (a
    // formula's text, else the value in its general form).
    std::u16string shownText(int row, int col) const;
    std::u16string editText(int row, int col) const;
    const engine::Format& format(int row, int col) const;
    // The cell's font, its face and size taken from the workbook's default font where it has none.
    QFont font(int row, int col) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    const engine::Sheet* sheet_ = nullptr;
    Commit commit_;
    int rows_ = 0;
    int columns_ = 0;
};

// A font of a format on the screen; an empty face or a zero size are `base`'s.
QFont cellFont(const engine::Font& font, const engine::Font& base);
// A palette colour index (1 to 56) as a colour; automatic (0) gives an invalid colour.
QColor paletteColor(int index);

} // namespace desktop

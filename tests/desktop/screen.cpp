#include "screen.h"

#include "desktop/grid_view.h"
#include "desktop/sheet_model.h"
#include "engine/core/address.h"

#include <QApplication>
#include <QComboBox>
#include <QInputDialog>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QToolBar>

namespace screen {

namespace {

engine::CellAddress addressOf(const QString& a1) {
    auto area = engine::parseArea(a1.toStdU16String());
    if (!area)
        qFatal("not a cell address: %s", qPrintable(a1));
    return {area->top, area->left};
}

bool isAscii(const QString& text) {
    for (QChar c : text)
        if (c.unicode() > 0x7E)
            return false;
    return true;
}

} // namespace

desktop::SpreadsheetWindow* spreadsheet(const QString& title) {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* s = dynamic_cast<desktop::SpreadsheetWindow*>(w);
            s && s->isVisible() && s->windowTitle().remove(QStringLiteral("[*]")) == title)
            return s;
    return nullptr;
}

int spreadsheetCount() {
    int n = 0;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (dynamic_cast<desktop::SpreadsheetWindow*>(w) && w->isVisible())
            ++n;
    return n;
}

QWidget* modal() {
    QWidget* m = QApplication::activeModalWidget();
    return m && m->isVisible() ? m : nullptr;
}

QString modalText() {
    QWidget* m = modal();
    if (!m)
        return {};
    if (auto* box = dynamic_cast<QMessageBox*>(m))
        return m->windowTitle() + QStringLiteral(": ") + box->text();
    if (auto* input = dynamic_cast<QInputDialog*>(m))
        return m->windowTitle() + QStringLiteral(": ") + input->labelText();
    return m->windowTitle();
}

bool clickTool(QWidget* window, const QString& caption) {
    for (QToolBar* bar : window->findChildren<QToolBar*>()) {
        if (!bar->isVisible())
            continue;
        for (QAction* a : bar->actions())
            if (a->text() == caption) {
                QWidget* button = bar->widgetForAction(a);
                if (!button || !button->isEnabled())
                    return false;
                QTest::mouseClick(button, Qt::LeftButton);
                return true;
            }
    }
    return false;
}

void clickButton(QWidget* window, const QString& caption) {
    for (QPushButton* b : window->findChildren<QPushButton*>())
        if (b->text().remove(QLatin1Char('&')) == caption && b->isVisible()) {
            QTest::mouseClick(b, Qt::LeftButton);
            return;
        }
    qFatal("no button %s in %s", qPrintable(caption), qPrintable(window->windowTitle()));
}

void typeText(QWidget* field, const QString& text) {
    field->setFocus();
    if (isAscii(text)) {
        QTest::keyClicks(field, text);
        return;
    }
    QInputMethodEvent commit;
    commit.setCommitString(text);
    QApplication::sendEvent(field, &commit);
}

void enterText(QWidget* window, const QString& text) {
    QWidget* field = nullptr;
    if (auto* combo = window->findChild<QComboBox*>(); combo && combo->isEditable())
        field = combo->lineEdit();
    else
        field = window->findChild<QLineEdit*>();
    if (!field)
        qFatal("no text field in %s", qPrintable(window->windowTitle()));
    if (auto* edit = dynamic_cast<QLineEdit*>(field)) {
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Delete);
    }
    typeText(field, text);
}

void selectCell(desktop::SpreadsheetWindow& w, const QString& address) {
    engine::CellAddress at = addressOf(address);
    w.grid().setFocus();
    w.grid().setCurrentIndex(w.grid().model()->index(at.row, at.col));
}

namespace {
// The open cell editor: its line edit (a drop-down's own one for a list cell).
QLineEdit* cellEditor(desktop::GridView& grid) {
    for (QComboBox* combo : grid.viewport()->findChildren<QComboBox*>())
        if (combo->isVisible())
            return combo->lineEdit();
    for (QLineEdit* edit : grid.viewport()->findChildren<QLineEdit*>())
        if (edit->isVisible())
            return edit;
    return nullptr;
}
} // namespace

void typeIntoCell(desktop::SpreadsheetWindow& w, const QString& address, const QString& text) {
    desktop::GridView& grid = w.grid();
    // An editor already open there is typed into: moving the focus away would commit it.
    if (grid.editing()) {
        if (grid.currentIndex() != grid.model()->index(addressOf(address).row, addressOf(address).col))
            qFatal("an editor is open elsewhere than %s", qPrintable(address));
    } else if (selectCell(w, address); isAscii(text)) {
        // The first key opens the editor in place of the cell's content, as in a spreadsheet.
        QTest::keyClick(&grid, text.at(0).toLatin1());
    } else {
        QInputMethodEvent commit;
        commit.setCommitString(text);
        QApplication::sendEvent(&grid, &commit);
    }
    QLineEdit* editor = cellEditor(grid);
    if (!editor) {
        grid.edit(grid.currentIndex());
        editor = cellEditor(grid);
    }
    if (!editor)
        qFatal("no editor opened at %s", qPrintable(address));
    if (editor->text() != text) {
        editor->selectAll();
        if (isAscii(text)) {
            QTest::keyClicks(editor, text);
        } else {
            QInputMethodEvent commit;
            commit.setCommitString(text);
            QApplication::sendEvent(editor, &commit);
        }
    }
    QTest::keyClick(editor, Qt::Key_Return);
    // The editor commits from a queued call, as Qt's item views do.
    QCoreApplication::processEvents();
}

QString cellText(desktop::SpreadsheetWindow& w, const QString& address) {
    engine::CellAddress at = addressOf(address);
    return w.grid().model()->index(at.row, at.col).data(Qt::DisplayRole).toString();
}

} // namespace screen

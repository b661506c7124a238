#include "desktop/spreadsheet_window.h"

#include "desktop/find_dialog.h"
#include "desktop/grid_view.h"
#include "desktop/outline_gutter.h"
#include "desktop/print_layout.h"
#include "desktop/print_preview.h"
#include "desktop/qt_backend.h"
#include "desktop/save_dialog.h"
#include "desktop/sheet_model.h"
#include "desktop/status_texts.h"
#include "desktop/text_clipboard.h"
#include "engine/automation/command_bars.h"
#include "engine/automation/prompts.h"
#include "platform/com/com_error.h"

#include <QAction>
#include <QBoxLayout>
#include <QCloseEvent>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QScopedValueRollback>
#include <QScrollBar>
#include <QStatusBar>
#include <QTabBar>
#include <QToolBar>
#include <QToolButton>

namespace desktop {

namespace {

QString qs(const std::u16string& s) {
    return QString::fromStdU16String(s);
}

using engine::automation::CommandBarObject;

} // namespace

SpreadsheetWindow::SpreadsheetWindow(ComPtr<Application> app, QtBackend& backend)
    : app_(std::move(app)), backend_(backend), model_(new SheetModel(this)) {
    setAttribute(Qt::WA_DeleteOnClose, false);
    auto* central = new QWidget(this);
    auto* column = new QVBoxLayout(central);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);

    formulaBar_ = new QWidget(central);
    formulaBar_->setObjectName(QStringLiteral("formulaBar"));
    auto* bar = new QHBoxLayout(formulaBar_);
    bar->setContentsMargins(2, 2, 2, 2);
    address_ = new QLineEdit(formulaBar_);
    address_->setObjectName(QStringLiteral("address"));
    address_->setReadOnly(true);
    address_->setFixedWidth(90);
    content_ = new QLineEdit(formulaBar_);
    content_->setObjectName(QStringLiteral("content"));
    bar->addWidget(address_);
    bar->addWidget(content_);
    column->addWidget(formulaBar_);

    auto* body = new QHBoxLayout;
    body->setSpacing(0);
    grid_ = new GridView(*model_, central);
    grid_->setObjectName(QStringLiteral("grid"));
    gutter_ = new OutlineGutter(*grid_, central);
    gutter_->setObjectName(QStringLiteral("gutter"));
    body->addWidget(gutter_);
    body->addWidget(grid_, 1);
    column->addLayout(body, 1);

    tabs_ = new QTabBar(central);
    tabs_->setObjectName(QStringLiteral("sheetTabs"));
    tabs_->setShape(QTabBar::RoundedSouth);
    tabs_->setDrawBase(false);
    tabs_->setExpanding(false);
    column->addWidget(tabs_, 0, Qt::AlignLeft);
    setCentralWidget(central);
    // Keyboard given to the window goes to its grid.
    setFocusProxy(grid_);

    message_ = new QLabel(this);
    message_->setObjectName(QStringLiteral("statusMessage"));
    totals_ = new QLabel(this);
    totals_->setObjectName(QStringLiteral("statusTotals"));
    rows_ = new QLabel(this);
    rows_->setObjectName(QStringLiteral("statusRows"));
    statusBar()->addWidget(message_, 1);
    statusBar()->addPermanentWidget(totals_);
    statusBar()->addPermanentWidget(rows_);

    buildMenusAndStandardBar();

    model_->setCommit(
        [this](int row, int col, const std::u16string& text) { return commitTyped(row, col, text); });
    GridHandlers handlers;
    handlers.clear = [this](const engine::Area& area) {
        act([&] { report(clearCells(place(), area)); });
    };
    handlers.select = [this](const engine::Area& area, engine::CellAddress) {
        if (book_ && book_->open())
            act([&] {
                selectCells(place(), area);
                // The grid already shows this selection: refreshing must not move its current cell.
                selection_ = book_->model->sheet(sheet_).selection();
            });
    };
    handlers.retryRefused = [this] {
        return askRetry();
    };
    handlers.resizeColumns = [this](int first, int last, double width) {
        act([&] { setColumnWidths(place(), first, last, width); });
    };
    handlers.resizeRows = [this](int first, int last, double height) {
        act([&] { setRowHeights(place(), first, last, height); });
    };
    handlers.fitColumns = [this](int first, int last) {
        act([&] { fitColumns(place(), first, last); });
    };
    handlers.fitRows = [this](int first, int last) {
        act([&] { fitRows(place(), first, last); });
    };
    handlers.contextMenu = [this](const QPoint& global) {
        cellMenu()->popup(global);
    };
    grid_->setHandlers(std::move(handlers));
    gutter_->setShowDetail([this](int row, bool show) { act([&] { showDetail(place(), row, show); }); });
    gutter_->setShowLevels([this](int level) { act([&] { showLevels(place(), level); }); });
    connect(grid_->verticalScrollBar(), &QScrollBar::valueChanged, gutter_, qOverload<>(&QWidget::update));
    connect(tabs_, &QTabBar::tabBarClicked, this, [this](int index) {
        if (index >= 0 && index != sheet_)
            act([&] { showSheet({app_, book_, index}); });
    });
    connect(content_, &QLineEdit::returnPressed, this, [this] {
        QModelIndex cur = grid_->currentIndex();
        if (cur.isValid() && commitTyped(cur.row(), cur.column(), content_->text().toStdU16String()))
            grid_->setFocus();
        else if (cur.isValid() && !askRetry())
            syncFormulaBar();
    });
    resize(1100, 720);
    refresh();
}

// An editor still open when the window goes has nothing left to enter into.
SpreadsheetWindow::~SpreadsheetWindow() {
    model_->setCommit(nullptr);
}

HWND SpreadsheetWindow::handle() const {
    return reinterpret_cast<HWND>(static_cast<std::intptr_t>(app_->GetHwnd()));
}

Place SpreadsheetWindow::place() const {
    return {app_, book_, sheet_};
}

void SpreadsheetWindow::buildMenusAndStandardBar() {
    auto action = [this](const QString& text, auto slot) {
        auto* a = new QAction(text, this);
        connect(a, &QAction::triggered, this, slot);
        return a;
    };
    QAction* saveAction = action(QStringLiteral("保存"), [this] { save(); });
    QAction* saveAsAction = action(QStringLiteral("另存为"), [this] { saveAs(); });
    QAction* previewAction = action(QStringLiteral("打印预览"), [this] { printPreview(); });
    QAction* printAction = action(QStringLiteral("打印"), [this] { printPreview(); });
    QAction* pdfAction = action(QStringLiteral("导出为 PDF"), [this] { exportPdf(); });
    QAction* closeAction = action(QStringLiteral("关闭"), [this] { close(); });
    QAction* cutAction = action(QStringLiteral("剪切"), [this] { cut(); });
    QAction* copyAction = action(QStringLiteral("复制"), [this] { copy(); });
    QAction* pasteAction = action(QStringLiteral("粘贴"), [this] { paste(); });
    QAction* clearAction = action(QStringLiteral("清除内容"),
                                  [this] { act([&] { clearCells(place(), grid_->selectedArea()); }); });
    QAction* findAction = action(QStringLiteral("查找"), [this] { find(); });

    QMenu* file = menuBar()->addMenu(QStringLiteral("文件(&F)"));
    file->addAction(saveAction);
    file->addAction(saveAsAction);
    file->addSeparator();
    file->addAction(previewAction);
    file->addAction(printAction);
    file->addAction(pdfAction);
    file->addSeparator();
    file->addAction(closeAction);
    QMenu* edit = menuBar()->addMenu(QStringLiteral("编辑(&E)"));
    edit->addAction(cutAction);
    edit->addAction(copyAction);
    edit->addAction(pasteAction);
    edit->addAction(clearAction);
    edit->addSeparator();
    edit->addAction(findAction);

    standard_ = addToolBar(QStringLiteral("常用"));
    standard_->setObjectName(QStringLiteral("Standard"));
    standard_->setMovable(false);
    standard_->setToolButtonStyle(Qt::ToolButtonTextOnly);
    for (QAction* a :
         {saveAction, saveAsAction, printAction, closeAction, cutAction, copyAction, pasteAction})
        standard_->addAction(a);

    // The keys work whatever the bars say, as in the spreadsheet; a cell being edited keeps its own.
    auto shortcut = [this](QKeySequence keys, auto slot) {
        auto* a = new QAction(this);
        a->setShortcut(keys);
        a->setShortcutContext(Qt::WindowShortcut);
        connect(a, &QAction::triggered, this, slot);
        addAction(a);
    };
    shortcut(QKeySequence::Save, [this] { save(); });
    shortcut(QKeySequence::Copy, [this] { copy(); });
    shortcut(QKeySequence::Cut, [this] { cut(); });
    shortcut(QKeySequence::Paste, [this] { paste(); });
    shortcut(QKeySequence::Find, [this] { find(); });
    shortcut(QKeySequence::Print, [this] { printPreview(); });
}

template <typename F> void SpreadsheetWindow::act(F&& action) {
    ComPtr<Application> keep = app_;
    try {
        action();
    } catch (const ComError& e) {
        showMessage(e.description(), MB_OK | MB_ICONSTOP);
    }
    // A handler of the program that failed inside the action is reported, as the spreadsheet reports a
    // failing macro.
    for (const std::u16string& failure : app_->takeHandlerFailures())
        showMessage(failure, MB_OK | MB_ICONSTOP);
    refresh();
}

void SpreadsheetWindow::report(const Outcome& outcome) {
    // A refusal without a message is one the user chose (a save they declined): nothing more to say.
    if (!outcome.done && !outcome.message.empty())
        backend_.messageBox(handle(), outcome.message, outcome.caption, MB_OK | MB_ICONSTOP);
}

void SpreadsheetWindow::showMessage(const std::u16string& text, UINT type) {
    backend_.messageBox(handle(), text, engine::automation::kInstanceCaption, type);
}

bool SpreadsheetWindow::commitTyped(int row, int col, const std::u16string& text) {
    Outcome outcome;
    act([&] { outcome = typeInto(place(), row, col, text); });
    if (!outcome.done)
        refusal_ = outcome;
    return outcome.done;
}

bool SpreadsheetWindow::askRetry() {
    // The stop alert of a validation lets the user type again or give the entry up.
    int answer =
        backend_.messageBox(handle(), refusal_.message, refusal_.caption, MB_RETRYCANCEL | MB_ICONSTOP);
    return answer == IDRETRY;
}

void SpreadsheetWindow::takeKeyboard() {
    grid_->setFocus();
    QtBackend::returnKeyboard(this);
}

void SpreadsheetWindow::save() {
    if (!book_ || grid_->editing())
        return;
    if (book_->path.empty())
        return saveAs();
    Outcome outcome;
    act([&] { outcome = saveBook(place(), std::nullopt); });
    report(outcome);
    savedNoted_ = outcome.done;
    syncStatus();
}

void SpreadsheetWindow::saveAs() {
    if (!book_)
        return;
    std::filesystem::path folder = book_->path.empty() ? std::filesystem::path() : book_->path.parent_path();
    std::optional<std::filesystem::path> path = askSavePath(this, qs(book_->name), folder);
    takeKeyboard();
    if (!path)
        return;
    Outcome outcome;
    act([&] { outcome = saveBook(place(), *path); });
    report(outcome);
    savedNoted_ = outcome.done;
    syncStatus();
}

void SpreadsheetWindow::copy() {
    if (!book_)
        return;
    act([&] { copyCells(place(), grid_->selectedArea()); });
    offerText(qs(clipboardText()));
}

void SpreadsheetWindow::cut() {
    if (!book_)
        return;
    act([&] { cutCells(place(), grid_->selectedArea()); });
    offerText(qs(clipboardText()));
}

void SpreadsheetWindow::paste() {
    if (!book_)
        return;
    // Text another program put on the desktop's clipboard since the spreadsheet's last copy comes first.
    if (std::optional<QString> text = foreignText())
        return act([&] { report(pasteText(place(), text->toStdU16String())); });
    if (!clipboardHoldsCells())
        return;
    act([&] { report(pasteCells(place())); });
    if (!clipboardHoldsCells())
        withdrawText(); // a cut is pasted once
}

void SpreadsheetWindow::find() {
    if (!book_ || grid_->editing())
        return;
    if (!find_) {
        find_ = new FindDialog(this, [this](const FindRequest& r) {
            std::optional<engine::CellAddress> found;
            act([&] {
                found = findCell(place(), r.what.toStdU16String(), {r.wholeCell, r.matchCase, r.previous});
            });
            return found.has_value();
        });
        connect(find_, &QDialog::finished, this, [this] { takeKeyboard(); });
    }
    find_->open();
}

std::optional<engine::Area> SpreadsheetWindow::printSelection() const {
    engine::Area sel = grid_->selectedArea();
    std::optional<engine::Area> all = printArea(book_->model->sheet(sheet_));
    if ((sel.rowCount() == 1 && sel.columnCount() == 1) || !all)
        return std::nullopt;
    // Whole rows or columns selected print as far as the sheet holds something.
    sel.bottom = std::min(sel.bottom, std::max(all->bottom, sel.top));
    sel.right = std::min(sel.right, std::max(all->right, sel.left));
    return sel;
}

void SpreadsheetWindow::printPreview() {
    if (!book_ || grid_->editing())
        return;
    PrintPreview preview(this, book_->model->sheet(sheet_), printSelection(), qs(book_->name));
    preview.exec();
    takeKeyboard();
}

void SpreadsheetWindow::exportPdf() {
    if (!book_ || grid_->editing())
        return;
    PrintPreview(this, book_->model->sheet(sheet_), printSelection(), qs(book_->name)).askAndExport();
    takeKeyboard();
}

bool SpreadsheetWindow::cellBarEnabled() const {
    const CommandBarObject* bar = app_->commandBars().find(u"Cell");
    return !bar || bar->enabled();
}

QMenu* SpreadsheetWindow::cellMenu() {
    // The spreadsheet's cell menu: locked with the other bars while a program keeps them locked.
    if (!cellMenu_) {
        cellMenu_ = new QMenu(this);
        cellMenu_->setObjectName(QStringLiteral("cellMenu"));
        cellMenu_->addAction(QStringLiteral("剪切(&T)"), this, [this] { cut(); });
        cellMenu_->addAction(QStringLiteral("复制(&C)"), this, [this] { copy(); });
        cellMenu_->addAction(QStringLiteral("粘贴(&P)"), this, [this] { paste(); });
        cellMenu_->addSeparator();
        cellMenu_->addAction(QStringLiteral("清除内容(&N)"), this,
                             [this] { act([&] { clearCells(place(), grid_->selectedArea()); }); });
        connect(cellMenu_, &QMenu::aboutToHide, this, [this] { grid_->setFocus(); });
    }
    bool enabled = cellBarEnabled() && book_;
    const QList<QAction*> items = cellMenu_->actions();
    for (QAction* a : items)
        a->setEnabled(enabled);
    items[2]->setEnabled(enabled && (clipboardHoldsCells() || foreignText()));
    return cellMenu_;
}

QString SpreadsheetWindow::statusText() const {
    QStringList parts{message_->text()};
    for (const QLabel* l : {totals_, rows_})
        if (!l->text().isEmpty())
            parts << l->text();
    return parts.join(QStringLiteral(" | "));
}

void SpreadsheetWindow::syncStatus() {
    if (!book_) {
        message_->setText(QStringLiteral("就绪"));
        totals_->clear();
        rows_->clear();
        return;
    }
    savedNoted_ = savedNoted_ && book_->saved();
    message_->setText(savedNoted_ ? QStringLiteral("已保存") : QStringLiteral("就绪"));
    const engine::Sheet& sheet = book_->model->sheet(sheet_);
    bool changed = statusRevision_ != book_->model->revision();
    if (!changed && statusSelection_ == sheet.selection())
        return;
    statusRevision_ = book_->model->revision();
    statusSelection_ = sheet.selection();
    totals_->setText(selectionText(selectionTotals(sheet, sheet.selection().areas)));
    if (changed)
        rows_->setText(rowCountText(grid_->usedArea()));
}

void SpreadsheetWindow::fitResultColumns() {
    const engine::Sheet& sheet = book_->model->sheet(sheet_);
    if (!book_->path.empty() || !fitted_.insert({book_.get(), sheet.id()}).second)
        return;
    std::optional<engine::Area> used = sheet.usedArea();
    if (!used)
        return;
    // Widened to what the cells show, never narrower than the program made them.
    std::vector<double> before;
    for (int c = 0; c <= used->right; ++c)
        before.push_back(sheet.column(c).width);
    act([&] {
        fitColumns(place(), 0, used->right);
        for (int c = 0; c <= used->right; ++c)
            if (sheet.column(c).width < before[size_t(c)])
                setColumnWidths(place(), c, c, before[size_t(c)]);
    });
}

void SpreadsheetWindow::closeEvent(QCloseEvent* event) {
    // An entry being typed goes in before the close asks about saving, as the spreadsheet enters it.
    if (!grid_->finishEditing())
        return event->ignore();
    bool closed = true;
    if (app_->running())
        act([&] { closed = quitInstance(*app_); });
    if (!closed)
        return event->ignore();
    event->accept();
    if (onClosed_)
        onClosed_();
}

void SpreadsheetWindow::refresh() {
    // Showing another sheet moves the grid's current cell, which selects through the user side, which
    // asks for a refresh: the one running finishes the job.
    if (!app_->running() || refreshing_)
        return;
    QScopedValueRollback<bool> guard(refreshing_, true);
    std::shared_ptr<Book> book = app_->activeBook();
    int sheet = book ? book->activeSheet : -1;
    if (book != book_ || sheet != sheet_) {
        book_ = book;
        sheet_ = sheet;
        model_->setSheet(book ? &book->model->sheet(sheet) : nullptr);
        revision_ = 0;
        statusRevision_ = 0;
        selection_ = {};
    }
    if (book)
        fitResultColumns();
    // The title marks unsaved changes.
    setWindowTitle(book ? qs(book->name) + QStringLiteral("[*]") : QStringLiteral("Varnel"));
    setWindowModified(book && !book->saved());
    if (book && book->model->revision() != revision_) {
        revision_ = book->model->revision();
        model_->refresh();
        grid_->syncLayout();
        gutter_->sync();
    }
    if (book) {
        const engine::Selection& sel = book->model->sheet(sheet).selection();
        if (sel != selection_) {
            selection_ = sel;
            grid_->showSelection(sel);
        }
    }
    syncBars();
    syncFormulaBar();
    syncTabs();
    syncStatus();
}

void SpreadsheetWindow::syncFormulaBar() {
    formulaBar_->setVisible(app_->GetDisplayFormulaBar() != VARIANT_FALSE);
    QModelIndex cur = grid_->currentIndex();
    if (!book_ || !cur.isValid()) {
        address_->clear();
        content_->clear();
        return;
    }
    address_->setText(qs(engine::formatAddress({cur.row(), cur.column()}, false)));
    if (!content_->hasFocus())
        content_->setText(qs(model_->editText(cur.row(), cur.column())));
}

void SpreadsheetWindow::syncTabs() {
    QStringList names;
    if (book_)
        for (int i = 0; i < book_->model->sheetCount(); ++i)
            names << qs(book_->model->sheet(i).name());
    bool same = tabs_->count() == names.size();
    for (int i = 0; same && i < names.size(); ++i)
        same = tabs_->tabText(i) == names[i];
    if (!same) {
        while (tabs_->count())
            tabs_->removeTab(0);
        for (const QString& n : names)
            tabs_->addTab(n);
    }
    if (sheet_ >= 0 && tabs_->currentIndex() != sheet_)
        tabs_->setCurrentIndex(sheet_);
}

void SpreadsheetWindow::syncBars() {
    auto& bars = app_->commandBars();
    if (const CommandBarObject* menu = bars.find(u"Worksheet Menu Bar"))
        menuBar()->setEnabled(menu->enabled());
    if (const CommandBarObject* standard = bars.find(u"Standard")) {
        standard_->setVisible(standard->visible());
        standard_->setEnabled(standard->enabled());
    }
    std::u16string signature;
    for (const auto& bar : bars.bars()) {
        if (bar->builtIn())
            continue;
        signature.append(bar->name());
        signature.append(bar->visible() ? u"|v" : u"|h");
        signature.append(bar->enabled() ? u"e" : u"d");
        for (const auto& button : bar->buttons()) {
            signature.push_back(u'|');
            signature.append(button->GetCaption());
        }
        signature.push_back(u'\n');
    }
    if (signature == barsSignature_)
        return;
    barsSignature_ = signature;
    for (QToolBar* old : programBars_) {
        removeToolBar(old);
        old->deleteLater();
    }
    programBars_.clear();
    for (const auto& bar : bars.bars()) {
        if (bar->builtIn() || !bar->visible())
            continue;
        QToolBar* tool = addToolBar(qs(bar->name()));
        tool->setObjectName(qs(bar->name()));
        tool->setMovable(false);
        tool->setEnabled(bar->enabled()); // greyed out and inert, as the spreadsheet shows a disabled bar
        for (const auto& button : bar->buttons()) {
            QAction* a = tool->addAction(qs(button->GetCaption()));
            connect(a, &QAction::triggered, this,
                    [this, caption = button->GetCaption()] { act([&] { clickButton(*app_, caption); }); });
        }
        programBars_.push_back(tool);
    }
}

} // namespace desktop

#include "desktop/spreadsheet_window.h"

#include "desktop/grid_view.h"
#include "desktop/outline_gutter.h"
#include "desktop/qt_backend.h"
#include "desktop/save_dialog.h"
#include "desktop/sheet_model.h"
#include "engine/automation/command_bars.h"
#include "engine/automation/prompts.h"
#include "platform/com/com_error.h"

#include <QAction>
#include <QBoxLayout>
#include <QCloseEvent>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenuBar>
#include <QScopedValueRollback>
#include <QScrollBar>
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

    buildMenusAndStandardBar();

    model_->setCommit(
        [this](int row, int col, const std::u16string& text) { return commitTyped(row, col, text); });
    GridHandlers handlers;
    handlers.clear = [this](const engine::Area& area) {
        act([&] { clearCells(place(), area); });
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
    grid_->setHandlers(std::move(handlers));
    gutter_->setShowDetail([this](int row, bool show) { act([&] { showDetail(place(), row, show); }); });
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

SpreadsheetWindow::~SpreadsheetWindow() = default;

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
    QAction* closeAction = action(QStringLiteral("关闭"), [this] { close(); });
    QAction* copyAction = action(QStringLiteral("复制"), [this] { copy(); });
    QAction* pasteAction = action(QStringLiteral("粘贴"), [this] { paste(); });
    QAction* clearAction = action(QStringLiteral("清除内容"),
                                  [this] { act([&] { clearCells(place(), grid_->selectedArea()); }); });

    QMenu* file = menuBar()->addMenu(QStringLiteral("文件(&F)"));
    file->addAction(saveAction);
    file->addAction(saveAsAction);
    file->addSeparator();
    file->addAction(closeAction);
    QMenu* edit = menuBar()->addMenu(QStringLiteral("编辑(&E)"));
    edit->addAction(copyAction);
    edit->addAction(pasteAction);
    edit->addAction(clearAction);

    standard_ = addToolBar(QStringLiteral("常用"));
    standard_->setObjectName(QStringLiteral("Standard"));
    standard_->setMovable(false);
    standard_->setToolButtonStyle(Qt::ToolButtonTextOnly);
    for (QAction* a : {saveAction, saveAsAction, closeAction, copyAction, pasteAction})
        standard_->addAction(a);

    // The keys work whatever the bars say, as in the spreadsheet.
    auto shortcut = [this](QKeySequence keys, auto slot) {
        auto* a = new QAction(this);
        a->setShortcut(keys);
        a->setShortcutContext(Qt::WindowShortcut);
        connect(a, &QAction::triggered, this, slot);
        addAction(a);
    };
    shortcut(QKeySequence::Save, [this] { save(); });
    shortcut(QKeySequence::Copy, [this] { copy(); });
    shortcut(QKeySequence::Paste, [this] { paste(); });
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
    if (!outcome.done)
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

void SpreadsheetWindow::save() {
    if (!book_)
        return;
    if (book_->path.empty())
        return saveAs();
    act([&] { report(saveBook(place(), std::nullopt)); });
}

void SpreadsheetWindow::saveAs() {
    if (!book_)
        return;
    std::filesystem::path folder = book_->path.empty() ? std::filesystem::path() : book_->path.parent_path();
    if (auto path = askSavePath(this, qs(book_->name), folder))
        act([&] { report(saveBook(place(), *path)); });
}

void SpreadsheetWindow::copy() {
    if (book_)
        act([&] { copyCells(place(), grid_->selectedArea()); });
}

void SpreadsheetWindow::paste() {
    if (book_)
        act([&] { report(pasteCells(place())); });
}

void SpreadsheetWindow::closeEvent(QCloseEvent* event) {
    bool closed = true;
    if (app_->running())
        act([&] { closed = quitInstance(*app_); });
    if (closed)
        event->accept();
    else
        event->ignore();
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
        selection_ = {};
    }
    setWindowTitle(book ? qs(book->name) : QStringLiteral("Varnel"));
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
            grid_->setCurrentCell(sel.active);
        }
    }
    syncBars();
    syncFormulaBar();
    syncTabs();
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

#include "desktop/print_preview.h"

#include "desktop/page_view.h"
#include "desktop/print_layout.h"
#include "desktop/sheet_printer.h"

#include <QActionGroup>
#include <QBoxLayout>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QGuiApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPdfWriter>
#include <QPrintDialog>
#include <QPrinter>
#include <QSaveFile>
#include <QScrollArea>
#include <QToolBar>
#include <functional>
#include <utility>

namespace desktop {

namespace {

// A print of thousands of pages takes a while: the pointer says so meanwhile.
struct BusyCursor {
    BusyCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { QGuiApplication::restoreOverrideCursor(); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};

} // namespace

PrintPreview::PrintPreview(QWidget* parent, const engine::Sheet& sheet, std::optional<engine::Area> selection,
                           QString file)
    : QDialog(parent), sheet_(sheet), selection_(selection), file_(std::move(file)),
      setup_(pageSetupOf(sheet)) {
    setObjectName(QStringLiteral("printPreview"));
    setWindowTitle(QStringLiteral("打印预览"));
    resize(900, 760);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    auto* bar = new QToolBar(this);
    bar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    column->addWidget(bar);
    scroll_ = new QScrollArea(this);
    scroll_->setObjectName(QStringLiteral("pages"));
    scroll_->setAlignment(Qt::AlignCenter);
    scroll_->setBackgroundRole(QPalette::Dark);
    view_ = new PageView(scroll_);
    scroll_->setWidget(view_);
    column->addWidget(scroll_, 1);
    pageLabel_ = new QLabel(this);
    pageLabel_->setObjectName(QStringLiteral("pageLabel"));
    pageLabel_->setContentsMargins(6, 2, 6, 2);
    column->addWidget(pageLabel_);

    bar->addAction(QStringLiteral("打印..."), this, [this] { print(); });
    bar->addAction(QStringLiteral("导出为 PDF..."), this, [this] { askAndExport(); });
    bar->addSeparator();
    auto* orientation = new QActionGroup(this);
    QAction* portrait = bar->addAction(QStringLiteral("纵向"));
    QAction* landscape = bar->addAction(QStringLiteral("横向"));
    for (QAction* a : {portrait, landscape}) {
        a->setCheckable(true);
        orientation->addAction(a);
    }
    (setup_.orientation == QPageLayout::Landscape ? landscape : portrait)->setChecked(true);
    connect(portrait, &QAction::triggered, this, [this] {
        setup_.orientation = QPageLayout::Portrait;
        update();
    });
    connect(landscape, &QAction::triggered, this, [this] {
        setup_.orientation = QPageLayout::Landscape;
        update();
    });
    QAction* fit = bar->addAction(QStringLiteral("调整为一页宽"));
    fit->setCheckable(true);
    fit->setChecked(setup_.fitToWidth);
    connect(fit, &QAction::toggled, this, [this](bool on) {
        setup_.fitToWidth = on;
        update();
    });
    QAction* perGroup = bar->addAction(QStringLiteral("每组另起一页"));
    perGroup->setCheckable(true);
    perGroup->setChecked(setup_.groupPerPage);
    connect(perGroup, &QAction::toggled, this, [this](bool on) {
        setup_.groupPerPage = on;
        update();
    });
    if (selection_) {
        auto* range = new QComboBox(bar);
        range->setObjectName(QStringLiteral("printRange"));
        range->addItems({QStringLiteral("整个工作表"), QStringLiteral("选定区域")});
        bar->addWidget(range);
        connect(range, &QComboBox::currentIndexChanged, this, [this](int i) { setSelectionOnly(i == 1); });
    }
    bar->addSeparator();
    bar->addAction(QStringLiteral("上一页"), this, [this] { showPage(currentPage() - 1); });
    bar->addAction(QStringLiteral("下一页"), this, [this] { showPage(currentPage() + 1); });
    bar->addAction(QStringLiteral("放大"), this,
                   [this] { view_->setZoom(std::min(4.0, view_->zoom() * 1.25)); });
    bar->addAction(QStringLiteral("缩小"), this,
                   [this] { view_->setZoom(std::max(0.2, view_->zoom() / 1.25)); });
    bar->addSeparator();
    bar->addAction(QStringLiteral("关闭"), this, &QDialog::reject);

    // Shortcuts rather than key handling, so that the keys turn pages whichever part has the keyboard (the
    // scroll area would take PageUp and PageDown for itself, the range box would change its choice).
    const std::pair<QKeySequence, std::function<int()>> turns[] = {
        {QKeySequence(Qt::Key_PageDown),
         [this] {
             return currentPage() + 1;
         }},
        {QKeySequence(Qt::Key_PageUp),
         [this] {
             return currentPage() - 1;
         }},
        {QKeySequence(Qt::CTRL | Qt::Key_Home),
         [] {
             return 0;
         }},
        {QKeySequence(Qt::CTRL | Qt::Key_End),
         [this] {
             return pageCount() - 1;
         }},
    };
    for (const auto& [key, to] : turns) {
        auto* turn = new QAction(this);
        turn->setShortcut(key);
        turn->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        addAction(turn);
        connect(turn, &QAction::triggered, this, [this, to] { showPage(to()); });
    }

    update();
}

PrintPreview::~PrintPreview() = default;

std::optional<engine::Area> PrintPreview::area() const {
    if (selectionOnly_ && selection_)
        return selection_;
    return printArea(sheet_);
}

void PrintPreview::setSelectionOnly(bool only) {
    selectionOnly_ = only;
    update();
}

std::unique_ptr<SheetPrinter> PrintPreview::printer(const PageSetup& setup) const {
    std::optional<engine::Area> what = area();
    return std::make_unique<SheetPrinter>(sheet_, what.value_or(engine::Area::cell(0, 0)), setup, file_);
}

void PrintPreview::update() {
    pages_ = printer(setup_);
    showPage(0);
}

int PrintPreview::pageCount() const {
    return int(pages_->pages().size());
}

int PrintPreview::currentPage() const {
    return view_->page();
}

void PrintPreview::showPage(int page) {
    page = std::clamp(page, 0, std::max(0, pageCount() - 1));
    view_->showPage(pages_.get(), page);
    pageLabel_->setText(QStringLiteral("第 %1 页，共 %2 页").arg(page + 1).arg(pageCount()));
}

void PrintPreview::print() {
    QPrinter device(QPrinter::HighResolution);
    device.setDocName(file_);
    device.setPageLayout(QPageLayout(QPageSize(setup_.paper), setup_.orientation, QMarginsF()));
    QPrintDialog dialog(&device, this);
    dialog.setWindowTitle(QStringLiteral("打印"));
    if (dialog.exec() != QDialog::Accepted)
        return;
    // The paper and orientation chosen in the print dialog hold for this print.
    PageSetup chosen = setup_;
    if (QPageSize::PageSizeId paper = device.pageLayout().pageSize().id(); paper != QPageSize::Custom)
        chosen.paper = paper;
    chosen.orientation = device.pageLayout().orientation();
    const BusyCursor busy;
    if (!printer(chosen)->print(device))
        QMessageBox::warning(this, QStringLiteral("打印"),
                             QStringLiteral("无法打印到“%1”。").arg(device.printerName()));
}

bool PrintPreview::exportPdf(const std::filesystem::path& file) {
    // Written beside the file and renamed over it once whole: a failed export leaves the old file as it was.
    QSaveFile out(QString::fromStdString(file.string()));
    if (!out.open(QIODevice::WriteOnly))
        return false;
    QPdfWriter pdf(&out);
    const BusyCursor busy;
    pdf.setTitle(file_);
    pdf.setCreator(QStringLiteral("Varnel"));
    return printer(setup_)->print(pdf) && out.commit();
}

void PrintPreview::askAndExport() {
    QString base = file_;
    if (qsizetype dot = base.lastIndexOf(QLatin1Char('.')); dot > 0)
        base.truncate(dot);
    QFileDialog dialog(this, QStringLiteral("导出为 PDF"));
    dialog.setObjectName(QStringLiteral("exportPdf"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setNameFilter(QStringLiteral("PDF 文件 (*.pdf)"));
    dialog.setDefaultSuffix(QStringLiteral("pdf"));
    dialog.selectFile(base + QStringLiteral(".pdf"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    const QString chosen = dialog.selectedFiles().front();
    if (!exportPdf(std::filesystem::path(chosen.toStdString())))
        QMessageBox::warning(this, QStringLiteral("导出为 PDF"),
                             QStringLiteral("无法写入文件“%1”。").arg(QDir::toNativeSeparators(chosen)));
}

} // namespace desktop

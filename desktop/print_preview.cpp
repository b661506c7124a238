#include "desktop/print_preview.h"

#include "desktop/print_layout.h"
#include "desktop/sheet_printer.h"

#include <QActionGroup>
#include <QBoxLayout>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPdfWriter>
#include <QPrintDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QSaveFile>
#include <QToolBar>

namespace desktop {

PrintPreview::PrintPreview(QWidget* parent, const engine::Sheet& sheet, std::optional<engine::Area> selection,
                           QString file)
    : QDialog(parent), sheet_(sheet), selection_(selection), file_(std::move(file)),
      setup_(pageSetupOf(sheet)), printer_(std::make_unique<QPrinter>(QPrinter::HighResolution)) {
    setObjectName(QStringLiteral("printPreview"));
    setWindowTitle(QStringLiteral("打印预览"));
    resize(900, 760);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    auto* bar = new QToolBar(this);
    bar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    column->addWidget(bar);
    preview_ = new QPrintPreviewWidget(printer_.get(), this);
    preview_->setObjectName(QStringLiteral("pages"));
    column->addWidget(preview_, 1);
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
    bar->addAction(QStringLiteral("上一页"), this,
                   [this] { preview_->setCurrentPage(std::max(1, preview_->currentPage() - 1)); });
    bar->addAction(QStringLiteral("下一页"), this,
                   [this] { preview_->setCurrentPage(preview_->currentPage() + 1); });
    bar->addAction(QStringLiteral("放大"), this, [this] { preview_->zoomIn(); });
    bar->addAction(QStringLiteral("缩小"), this, [this] { preview_->zoomOut(); });
    bar->addSeparator();
    bar->addAction(QStringLiteral("关闭"), this, &QDialog::reject);

    connect(preview_, &QPrintPreviewWidget::paintRequested, this,
            [this](QPrinter* printer) { render(*printer); });
    connect(preview_, &QPrintPreviewWidget::previewChanged, this, [this] {
        pageLabel_->setText(
            QStringLiteral("第 %1 页，共 %2 页").arg(preview_->currentPage()).arg(preview_->pageCount()));
    });
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

bool PrintPreview::render(QPrinter& printer) {
    std::optional<engine::Area> what = area();
    SheetPrinter pages(sheet_, what.value_or(engine::Area::cell(0, 0)), setup_, file_);
    return pages.print(printer);
}

void PrintPreview::update() {
    // The preview takes its paper from the printer before it asks for the pages.
    std::optional<engine::Area> what = area();
    SheetPrinter(sheet_, what.value_or(engine::Area::cell(0, 0)), setup_, file_).prepare(*printer_);
    preview_->updatePreview();
}

int PrintPreview::pageCount() const {
    return preview_->pageCount();
}

void PrintPreview::print() {
    QPrintDialog dialog(printer_.get(), this);
    dialog.setWindowTitle(QStringLiteral("打印"));
    if (dialog.exec() == QDialog::Accepted)
        render(*printer_);
    update();
}

bool PrintPreview::exportPdf(const std::filesystem::path& file) {
    // Written beside the file and renamed over it once whole: a failed export leaves the old file as it was.
    QSaveFile out(QString::fromStdString(file.string()));
    if (!out.open(QIODevice::WriteOnly))
        return false;
    QPdfWriter pdf(&out);
    pdf.setTitle(file_);
    pdf.setCreator(QStringLiteral("Varnel"));
    std::optional<engine::Area> what = area();
    SheetPrinter pages(sheet_, what.value_or(engine::Area::cell(0, 0)), setup_, file_);
    return pages.print(pdf) && out.commit();
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

#include "desktop/save_dialog.h"

#include <QFileDialog>

namespace desktop {

std::optional<std::filesystem::path> askSavePath(QWidget* parent, const QString& name,
                                                 const std::filesystem::path& folder) {
    QFileDialog dialog(parent, QStringLiteral("另存为"));
    dialog.setObjectName(QStringLiteral("saveAs"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setNameFilter(QStringLiteral("Excel 97-2003 工作簿 (*.xls)"));
    dialog.setDefaultSuffix(QStringLiteral("xls"));
    if (!folder.empty())
        dialog.setDirectory(QString::fromStdString(folder.string()));
    QString file = name;
    if (!file.endsWith(QStringLiteral(".xls"), Qt::CaseInsensitive))
        file += QStringLiteral(".xls");
    dialog.selectFile(file);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return std::filesystem::path(dialog.selectedFiles().front().toStdString());
}

} // namespace desktop

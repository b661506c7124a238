#pragma once

#include <QString>
#include <filesystem>
#include <optional>

class QWidget;

namespace desktop {

// Asks where to save a workbook as an Excel 97-2003 file, starting at `name` in `folder`; nothing when the
// user cancels.
std::optional<std::filesystem::path> askSavePath(QWidget* parent, const QString& name,
                                                 const std::filesystem::path& folder);

} // namespace desktop

#pragma once

#include "engine/model/workbook.h"

#include <filesystem>
#include <memory>

// Workbook files as the instances open and save them. Failures raise the failed-method error with a
// description the user can act on.
namespace engine::automation {

std::unique_ptr<Workbook> readWorkbookFile(const std::filesystem::path& path);
void writeWorkbookFile(const Workbook& book, const std::filesystem::path& path);

} // namespace engine::automation

#pragma once

#include "engine/model/workbook.h"

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

// Workbook files as the instances open and save them. Failures raise the failed-method error with a
// description the user can act on.
namespace engine::automation {

struct OpenedFile {
    std::unique_ptr<Workbook> model;
    // What the file holds that the model does not keep, in words for a user: a save over the file
    // loses it.
    std::vector<std::u16string> notKept;
};

OpenedFile readWorkbookFile(const std::filesystem::path& path);
void writeWorkbookFile(const Workbook& book, const std::filesystem::path& path);

} // namespace engine::automation

#include "platform/profile/file.h"
#include "tests/platform/profile/profile_files.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

std::size_t entries(const std::filesystem::path& folder) {
    return std::size_t(std::distance(std::filesystem::directory_iterator(folder), {}));
}

TEST(ReplaceFile, KeepsPermissionsAndLeavesNoTemporaryFile) {
    TempFolder folder;
    const auto file = folder / "a.ini";
    writeBytes(file, "old");
    ::chmod(file.c_str(), 0640);
    EXPECT_FALSE(profile::replaceFile(file.string(), "new"));
    EXPECT_EQ(readBytes(file), "new");
    struct stat status {};
    ::stat(file.c_str(), &status);
    EXPECT_EQ(status.st_mode & 07777, 0640u);
    EXPECT_EQ(entries(folder.path()), 1u);
}

TEST(ReplaceFile, FailedRenameRemovesTheTemporaryFile) {
    TempFolder folder;
    const auto target = folder / "a.ini";
    std::filesystem::create_directory(target);
    writeBytes(target / "inside", "kept");
    EXPECT_TRUE(profile::replaceFile(target.string(), "new"));
    EXPECT_EQ(readBytes(target / "inside"), "kept");
    EXPECT_EQ(entries(folder.path()), 1u);
}

TEST(ReadFile, TellsAMissingFileFromOneThatCannotBeRead) {
    TempFolder folder;
    std::error_code error;
    EXPECT_FALSE(profile::readFile((folder / "missing").string(), error));
    EXPECT_EQ(error, std::errc::no_such_file_or_directory);
    EXPECT_FALSE(profile::readFile(folder.path().string(), error));
    EXPECT_EQ(error, std::errc::is_a_directory);
}

} // namespace

#include "platform/files/files.h"

#include <csignal>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <stdlib.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

class FilesTest : public ::testing::Test {
protected:
    FilesTest() {
        std::string pattern = (fs::temp_directory_path() / "files-test-XXXXXX").string();
        folder = mkdtemp(pattern.data());
    }
    ~FilesTest() override { fs::remove_all(folder); }

    static void write(const fs::path& path, const std::string& bytes) {
        std::ofstream(path, std::ios::binary) << bytes;
    }
    static std::string read(const fs::path& path) {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }
    std::size_t entries() const { return std::size_t(std::distance(fs::directory_iterator(folder), {})); }

    fs::path folder;
};

TEST_F(FilesTest, OnlyARegularFileIsReadAndNeverMoreThanItsLimit) {
    const fs::path file = folder / "a.xls";
    write(file, "0123456789");
    std::error_code error;
    EXPECT_EQ(files::readFile(file.string(), 10, error), "0123456789");
    EXPECT_FALSE(error);
    fs::create_symlink(file, folder / "link.xls");
    EXPECT_EQ(files::readFile((folder / "link.xls").string(), 10, error), "0123456789");

    EXPECT_FALSE(files::readFile(file.string(), 9, error));
    EXPECT_EQ(error, std::errc::file_too_large);
    // A huge file is refused by its size, before anything is read.
    const fs::path huge = folder / "huge.xls";
    write(huge, "");
    fs::resize_file(huge, std::uintmax_t(1) << 40);
    EXPECT_FALSE(files::readFile(huge.string(), std::size_t(1) << 31, error));
    EXPECT_EQ(error, std::errc::file_too_large);

    EXPECT_FALSE(files::readFile((folder / "missing").string(), 10, error));
    EXPECT_EQ(error, std::errc::no_such_file_or_directory);
    EXPECT_FALSE(files::readFile(folder.string(), 10, error));
    EXPECT_EQ(error, std::errc::is_a_directory);
    fs::create_directory_symlink(folder, folder / "folder-link");
    EXPECT_FALSE(files::readFile((folder / "folder-link").string(), 10, error));
    EXPECT_EQ(error, std::errc::is_a_directory);

    // Neither a FIFO without a writer nor an endless device is waited for or read.
    ASSERT_EQ(::mkfifo((folder / "fifo").c_str(), 0600), 0);
    EXPECT_FALSE(files::readFile((folder / "fifo").string(), 10, error));
    EXPECT_EQ(error, std::errc::invalid_argument);
    EXPECT_FALSE(files::readFile("/dev/zero", 10, error));
    EXPECT_EQ(error, std::errc::invalid_argument);
    EXPECT_EQ(files::describe(error), "it is not a regular file");
}

TEST_F(FilesTest, ReplacingKeepsPermissionsAndLeavesNoTemporaryFile) {
    const fs::path file = folder / "a.ini";
    write(file, "old");
    ::chmod(file.c_str(), 0640);
    EXPECT_FALSE(files::replaceFile(file.string(), "new"));
    EXPECT_EQ(read(file), "new");
    struct stat status {};
    ::stat(file.c_str(), &status);
    EXPECT_EQ(status.st_mode & 07777, 0640u);
    EXPECT_EQ(entries(), 1u);

    EXPECT_FALSE(files::replaceFile((folder / "new.ini").string(), "made"));
    EXPECT_EQ(read(folder / "new.ini"), "made");
    EXPECT_EQ(entries(), 2u);
}

TEST_F(FilesTest, AReadOnlyFileOrAFolderIsNotReplacedWhoeverAsks) {
    const fs::path file = folder / "Ombrell.xls";
    write(file, "old");
    ::chmod(file.c_str(), 0444);
    const std::error_code error = files::replaceFile(file.string(), "new");
    EXPECT_EQ(error, std::errc::read_only_file_system);
    EXPECT_EQ(files::describe(error), "it is read-only");
    EXPECT_EQ(read(file), "old");

    const fs::path target = folder / "b.ini";
    fs::create_directory(target);
    write(target / "inside", "kept");
    EXPECT_EQ(files::replaceFile(target.string(), "new"), std::errc::is_a_directory);
    EXPECT_EQ(read(target / "inside"), "kept");
    EXPECT_EQ(entries(), 2u);
}

TEST_F(FilesTest, ASymbolicLinkStaysAndItsFileIsReplaced) {
    fs::create_directory(folder / "real");
    write(folder / "real" / "Ombrell.xls", "old");
    fs::create_symlink("real/Ombrell.xls", folder / "Ombrell.xls");
    EXPECT_FALSE(files::replaceFile((folder / "Ombrell.xls").string(), "new"));
    EXPECT_TRUE(fs::is_symlink(folder / "Ombrell.xls"));
    EXPECT_EQ(read(folder / "real" / "Ombrell.xls"), "new");
    EXPECT_EQ(entries(), 2u);
    EXPECT_EQ(std::distance(fs::directory_iterator(folder / "real"), {}), 1);
}

TEST_F(FilesTest, AFailedOrKilledWriteLeavesTheOldFileAndNoTemporaryFile) {
    const fs::path file = folder / "Ombrell.xls";
    write(file, "old");
    EXPECT_TRUE(files::replaceFile(file.string(), [](std::FILE* out) {
        std::fputs("half", out);
        errno = ENOSPC;
        return false;
    }));
    EXPECT_EQ(read(file), "old");
    EXPECT_EQ(entries(), 1u);

    // The process ends in the middle of the write, as when it is killed.
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        files::replaceFile(file.string(), [](std::FILE* out) {
            std::fputs("half", out);
            std::fflush(out);
            std::raise(SIGKILL);
            return true;
        });
        std::_Exit(0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFSIGNALED(status));
    EXPECT_EQ(read(file), "old");
    EXPECT_EQ(entries(), 1u);
}

} // namespace

#include "platform/profile/program_folder.h"

#include <gtest/gtest.h>

namespace {

struct RestoreProgramFolder {
    ~RestoreProgramFolder() { profile::setProgramFolder(u""); }
};

TEST(ProgramFolder, IsTheExecutablesFolderUnlessSet) {
    RestoreProgramFolder restore;
    const std::u16string real = profile::moduleFileName();
    ASSERT_TRUE(real.starts_with(u"/"));
    EXPECT_TRUE(real.ends_with(u"/profile_tests"));
    EXPECT_EQ(profile::programFolder() + u"profile_tests", real);

    profile::setProgramFolder(u"/srv/征订");
    EXPECT_EQ(profile::programFolder(), u"/srv/征订/");
    EXPECT_EQ(profile::moduleFileName(), u"/srv/征订/profile_tests");

    profile::setProgramFolder(u"");
    EXPECT_EQ(profile::moduleFileName(), real);
}

TEST(ProgramFolder, ModuleFileNameIsCutAsWindowsCutsIt) {
    RestoreProgramFolder restore;
    const std::u16string folder = u"/" + std::u16string(300, u'a') + u"/";
    profile::setProgramFolder(folder);
    char16_t buffer[260];
    EXPECT_EQ(GetModuleFileNameW(nullptr, buffer, 260), 260u);
    EXPECT_EQ(std::u16string(buffer), folder.substr(0, 259));

    profile::setProgramFolder(u"/opt/");
    EXPECT_EQ(GetModuleFileNameW(nullptr, buffer, 260), std::u16string(u"/opt/profile_tests").size());
    EXPECT_EQ(std::u16string(buffer), u"/opt/profile_tests");
}

} // namespace

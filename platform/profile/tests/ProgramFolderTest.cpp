#include "platform/profile/ProgramFolder.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

TEST(ProgramFolder, IsTheExecutablesFolderWhateverTheCurrentDirectory) {
    const std::string before = ProgramFolder();
    const auto cwd = std::filesystem::current_path();
    ASSERT_EQ(chdir("/"), 0);
    EXPECT_EQ(ProgramFolder(), before);
    std::filesystem::current_path(cwd);
    EXPECT_TRUE(std::filesystem::exists(before + "/platform_profile_test"));
}

TEST(ProgramFolder, ParentFolder) {
    EXPECT_EQ(ParentFolder("/a/b/ClientSoftware"), "/a/b");
    EXPECT_EQ(ParentFolder("/a"), "/");
    EXPECT_EQ(ParentFolder("relative"), ".");
}

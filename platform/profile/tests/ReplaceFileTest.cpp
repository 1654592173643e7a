#include "platform/profile/ReplaceFile.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "tests/support/TestFolder.h"

namespace {

std::string Read(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

mode_t ModeOf(const std::filesystem::path& path) {
    struct stat info {};
    ::stat(path.c_str(), &info);
    return info.st_mode & 07777;
}

}  // namespace

TEST(ReplaceFile, WritesNewFilesWithTheirModeAndKeepsTheModeOfOldOnes) {
    TestFolder folder;
    const auto path = folder.Path() / "store.dat";
    ASSERT_TRUE(ReplaceFile(path, std::string("one\0two", 7)));
    EXPECT_EQ(Read(path), std::string("one\0two", 7));
    EXPECT_EQ(ModeOf(path), 0600u);

    ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
    ASSERT_TRUE(ReplaceFile(path, "", 0644));
    EXPECT_EQ(Read(path), "");
    EXPECT_EQ(ModeOf(path), 0640u);

    const auto shared = folder.Path() / "settings.ini";
    ASSERT_TRUE(ReplaceFile(shared, "[a]\n", 0644));
    EXPECT_EQ(ModeOf(shared), 0644u);
    // Only the two files: no temporary left beside them.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Path()),
                            std::filesystem::directory_iterator()),
              2);
}

TEST(ReplaceFile, AFailureLeavesTheOldFileAndNoTemporary) {
    TestFolder folder;
    EXPECT_FALSE(ReplaceFile((folder.Path() / "missing" / "store.dat").string(), "x"));

    // A folder where the file should be: the rename fails after the write.
    const auto taken = folder.Path() / "taken";
    std::filesystem::create_directories(taken / "inside");
    EXPECT_FALSE(ReplaceFile(taken.string(), "new"));
    EXPECT_TRUE(std::filesystem::is_directory(taken / "inside"));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Path()),
                            std::filesystem::directory_iterator()),
              1);
}

TEST(ReplaceFile, AWriterKilledMidWriteLeavesNoTemporaryAfterTheNextWrite) {
    TestFolder folder;
    const auto path = folder.Path() / "config.ini";
    const std::string content(64 * 1024, 'x');
    for (int round = 0; round < 20; ++round) {
        int done[2];
        ASSERT_EQ(::pipe(done), 0);
        const pid_t writer = ::fork();
        ASSERT_GE(writer, 0);
        if (writer == 0) {
            ::close(done[0]);
            for (;;) {
                ReplaceFile(path, content);
                if (::write(done[1], "w", 1) != 1) ::_exit(1);
            }
        }
        ::close(done[1]);
        char byte = 0;
        ASSERT_EQ(::read(done[0], &byte, 1), 1);  // one whole write, then kill the next one
        ::kill(writer, SIGKILL);
        ::waitpid(writer, nullptr, 0);
        ::close(done[0]);
    }
    ASSERT_TRUE(ReplaceFile(path, "[S]\n"));
    EXPECT_EQ(Read(path), "[S]\n");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Path()),
                            std::filesystem::directory_iterator()),
              1);
}

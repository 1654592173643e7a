#include "platform/profile/PrivateProfile.h"
#include "tests/support/TestFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

class PrivateProfileTest : public ::testing::Test {
protected:
    void Write(const std::string& text) { std::ofstream(path_, std::ios::binary) << text; }
    std::string Read() {
        std::ifstream in(path_, std::ios::binary);
        std::ostringstream s;
        s << in.rdbuf();
        return s.str();
    }

    TestFolder folder_;
    const fs::path dir_ = folder_.Path();
    const std::string path_ = (dir_ / "config.ini").string();
};

TEST_F(PrivateProfileTest, DefaultsForMissingFileSectionAndKey) {
    EXPECT_EQ(GetPrivateProfileString("ServerInfo", "Language", "english", 260, path_), "english");
    EXPECT_EQ(GetPrivateProfileInt("ServerInfo", "Cur_Id", 7, path_), 7);
    Write("[Other]\nLanguage=chinese\n");
    EXPECT_EQ(GetPrivateProfileString("ServerInfo", "Language", "english", 260, path_), "english");
    Write("[ServerInfo]\nip0=x\n");
    EXPECT_EQ(GetPrivateProfileString("ServerInfo", "Language", "english", 260, path_), "english");
    // A default keeps its leading blanks but loses trailing ones, as the Windows function does.
    EXPECT_EQ(GetPrivateProfileString("ServerInfo", "none", " ALL DVR  ", 260, path_), " ALL DVR");
}

TEST_F(PrivateProfileTest, ParsesNamesWithoutCaseAndValuesTrimmedAndUnquoted) {
    Write(
        "\xEF\xBB\xBF; comment\r\n[serverinfo]\r\n  LANGUAGE =  chinese \r\nquoted=\" lead\"\r\n"
        "empty=\r\n[ServerInfo]\r\nlater=1\r\n");
    EXPECT_EQ(GetPrivateProfileString("ServerInfo", "Language", "english", 260, path_), "chinese");
    EXPECT_EQ(GetPrivateProfileString("ServerInfo", "quoted", "", 260, path_), " lead");
    EXPECT_EQ(GetPrivateProfileString("ServerInfo", "empty", "def", 260, path_), "");
    EXPECT_EQ(GetPrivateProfileString("ServerInfo", "later", "", 260, path_), "1");
    EXPECT_EQ(GetPrivateProfileString("ServerInfo", "comment", "none", 260, path_), "none");
}

TEST_F(PrivateProfileTest, ValuesAreCutToTheBufferLessOne) {
    const std::string exact(259, 'a');
    const std::string longer(300, 'b');
    Write("[S]\nexact=" + exact + "\nlonger=" + longer + "\n");
    EXPECT_EQ(GetPrivateProfileString("S", "exact", "", 260, path_), exact);
    EXPECT_EQ(GetPrivateProfileString("S", "longer", "", 260, path_), std::string(259, 'b'));
    EXPECT_EQ(GetPrivateProfileString("S", "missing", longer, 260, path_), std::string(259, 'b'));
    // 258 ASCII bytes then a 3-byte character: the character does not fit and is dropped whole.
    Write("[S]\nk=" + std::string(258, 'c') + "\xE4\xB8\xAD" + "\n");
    EXPECT_EQ(GetPrivateProfileString("S", "k", "", 260, path_), std::string(258, 'c'));
}

TEST_F(PrivateProfileTest, IntegersParseAsWindowsDoes) {
    Write(
        "[S]\ndec=42\nneg=-5\nplus= +9\nhex=0x1F\noct=0o17\nbin=0b101\ntail=12abc\n"
        "text=abc\nempty=\nwrap=4294967295\nbadhex=0xZ\n");
    EXPECT_EQ(GetPrivateProfileInt("S", "dec", 1, path_), 42);
    EXPECT_EQ(GetPrivateProfileInt("S", "neg", 1, path_), -5);
    EXPECT_EQ(GetPrivateProfileInt("S", "plus", 1, path_), 9);
    EXPECT_EQ(GetPrivateProfileInt("S", "hex", 1, path_), 31);
    EXPECT_EQ(GetPrivateProfileInt("S", "oct", 1, path_), 15);
    EXPECT_EQ(GetPrivateProfileInt("S", "bin", 1, path_), 5);
    EXPECT_EQ(GetPrivateProfileInt("S", "tail", 1, path_), 12);
    EXPECT_EQ(GetPrivateProfileInt("S", "text", 1, path_), 0);
    EXPECT_EQ(GetPrivateProfileInt("S", "empty", 3, path_), 3);
    EXPECT_EQ(GetPrivateProfileInt("S", "wrap", 1, path_), -1);
    EXPECT_EQ(GetPrivateProfileInt("S", "badhex", 1, path_), 0);
}

TEST_F(PrivateProfileTest, WriteCreatesFileAndKeepsOtherLines) {
    ASSERT_TRUE(WritePrivateProfileString("ServerInfo", "Cur_Id", "1", path_));
    EXPECT_EQ(Read(), "[ServerInfo]\nCur_Id=1\n");
    Write("; keep me\n[A]\nx=1\n\n[ServerInfo]\nip0=a\n\n[B]\ny=2\n");
    ASSERT_TRUE(WritePrivateProfileString("serverinfo", "IP0", "b", path_));
    ASSERT_TRUE(WritePrivateProfileString("ServerInfo", "Cur_Id", "2", path_));
    ASSERT_TRUE(WritePrivateProfileString("C", "z", "3", path_));
    EXPECT_EQ(Read(),
              "; keep me\n[A]\nx=1\n\n[ServerInfo]\nIP0=b\nCur_Id=2\n\n[B]\ny=2\n[C]\nz=3\n");
}

// Lines a write adds end as the file's lines do, so a file keeps one kind of ending even when
// its first line is a stray of the other kind.
TEST_F(PrivateProfileTest, WriteKeepsTheFilesLineEnding) {
    const struct {
        const char* before;
        const char* after;  // after ServerInfo/ip1=b and New/k=v
    } cases[] = {
        {"[ServerInfo]\nip0=a\n", "[ServerInfo]\nip0=a\nip1=b\n[New]\nk=v\n"},
        {"[ServerInfo]\r\nip0=a\r\n", "[ServerInfo]\r\nip0=a\r\nip1=b\r\n[New]\r\nk=v\r\n"},
        {"; saved elsewhere\r\n[ServerInfo]\nip0=a\nx=1\n",
         "; saved elsewhere\r\n[ServerInfo]\nip0=a\nx=1\nip1=b\n[New]\nk=v\n"},
        {"; added by hand\n[ServerInfo]\r\nip0=a\r\nx=1\r\n",
         "; added by hand\n[ServerInfo]\r\nip0=a\r\nx=1\r\nip1=b\r\n[New]\r\nk=v\r\n"},
        {"", "[ServerInfo]\nip1=b\n[New]\nk=v\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.before);
        Write(c.before);
        ASSERT_TRUE(WritePrivateProfileString("ServerInfo", "ip1", "b", path_));
        ASSERT_TRUE(WritePrivateProfileString("New", "k", "v", path_));
        EXPECT_EQ(Read(), c.after);
    }
}

// A section read at once answers every key as a read of that key alone does.
TEST_F(PrivateProfileTest, SectionReadAnswersAsSingleReads) {
    const std::string contents[] = {
        "[S]\na=1\nA=2\n[s]\nb=3\na=4\n[T]\nc=5\n",
        "\xEF\xBB\xBF[ s ]\r\n  B = ' q ' \r\n;c=no\r\nc\r\n=x\r\n[S\r\nd=" + std::string(300, 'd'),
        "d=outside\n[S]\ne=\n[S]]\nf=6\n",
        "",
    };
    const char* keys[] = {"a", "A", "b", "c", "d", "e", "f", "", "missing"};
    for (const std::string& content : contents) {
        SCOPED_TRACE(content);
        Write(content);
        const PrivateProfileSection section("S", path_);
        for (const char* key : keys) {
            for (std::size_t max_bytes : {std::size_t{0}, std::size_t{2}, std::size_t{260}}) {
                EXPECT_EQ(section.GetString(key, "def  ", max_bytes),
                          GetPrivateProfileString("S", key, "def  ", max_bytes, path_))
                    << key << " " << max_bytes;
            }
        }
    }
    fs::remove(path_);
    EXPECT_EQ(PrivateProfileSection("S", path_).GetString("a", "none", 260), "none");
}

TEST_F(PrivateProfileTest, WriteRefusesMissingFolderAndLineBreaks) {
    const std::string nested = (dir_ / "missing" / "config.ini").string();
    EXPECT_FALSE(WritePrivateProfileString("S", "k", "v", nested));
    EXPECT_FALSE(fs::exists(dir_ / "missing"));
    Write("[S]\nk=old\n");
    EXPECT_FALSE(WritePrivateProfileString("S", "k", "new\n[Evil]", path_));
    EXPECT_FALSE(WritePrivateProfileString("S", "a=b", "v", path_));
    // Names the reader would not find again: it trims them, and takes ';' and '[' lines for
    // comments and sections, and a section name for ending at its first ']'.
    for (const char* key : {" k", "k\f", ";k", "[k]"})
        EXPECT_FALSE(WritePrivateProfileString("S", key, "v", path_)) << key;
    for (const char* section : {"S ", "\tS", "S]x"})
        EXPECT_FALSE(WritePrivateProfileString(section, "k", "v", path_)) << section;
    EXPECT_EQ(Read(), "[S]\nk=old\n");
}

TEST_F(PrivateProfileTest, WriteIsAtomicAndLeavesNoTemporaryFile) {
    Write("[S]\nk=old\n");
    fs::permissions(path_, fs::perms::owner_read | fs::perms::owner_write);
    const auto inode_before = fs::hard_link_count(path_);
    ASSERT_TRUE(WritePrivateProfileString("S", "k", "new", path_));
    EXPECT_EQ(fs::hard_link_count(path_), inode_before);
    EXPECT_EQ(fs::status(path_).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write);
    int files = 0;
    for ([[maybe_unused]] const auto& e : fs::directory_iterator(dir_))
        ++files;
    EXPECT_EQ(files, 1);
    // A reader holding the old file keeps the old bytes: the new file replaced it whole.
    std::ifstream old_reader(path_);
    ASSERT_TRUE(WritePrivateProfileString("S", "k", "newer", path_));
    std::string first;
    std::getline(old_reader, first);
    std::string second;
    std::getline(old_reader, second);
    EXPECT_EQ(second, "k=new");
    EXPECT_EQ(GetPrivateProfileString("S", "k", "", 260, path_), "newer");
}

TEST_F(PrivateProfileTest, WritersInTwoProcessesKeepEachOthersKeys) {
    constexpr int kKeysEach = 100;
    std::vector<pid_t> writers;
    for (const char* prefix : {"a", "b"}) {
        const pid_t pid = ::fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            bool ok = true;
            for (int i = 0; i < kKeysEach; ++i)
                ok = WritePrivateProfileString("S", prefix + std::to_string(i), "v", path_) && ok;
            ::_exit(ok ? 0 : 1);
        }
        writers.push_back(pid);
    }
    for (const pid_t pid : writers) {
        int status = 0;
        ASSERT_EQ(::waitpid(pid, &status, 0), pid);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    int lost = 0;
    for (const char* prefix : {"a", "b"}) {
        for (int i = 0; i < kKeysEach; ++i)
            lost += GetPrivateProfileString("S", prefix + std::to_string(i), "", 260, path_) != "v";
    }
    EXPECT_EQ(lost, 0);
}

TEST_F(PrivateProfileTest, WriteGoesThroughALinkAndRefusesAReadOnlyFile) {
    fs::create_directories(dir_ / "real");
    const fs::path target = dir_ / "real" / "settings.ini";
    std::ofstream(target) << "[S]\nk=old\n";
    fs::create_symlink("real/settings.ini", path_);
    ASSERT_TRUE(WritePrivateProfileString("S", "k", "new", path_));
    EXPECT_TRUE(fs::is_symlink(path_));
    EXPECT_EQ(Read(), "[S]\nk=new\n");

    fs::permissions(target, fs::perms::owner_read | fs::perms::group_read);
    EXPECT_FALSE(WritePrivateProfileString("S", "k", "newer", path_));
    EXPECT_FALSE(WritePrivateProfileString("S", "k", "newer", target.string()));
    EXPECT_EQ(Read(), "[S]\nk=new\n");
    EXPECT_EQ(fs::status(target).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::group_read);
}

}  // namespace

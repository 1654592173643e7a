#include "common/settings/ConfigFile.h"
#include "common/settings/LanguageKeys.h"
#include "common/settings/LanguageSelect.h"
#include "common/settings/tests/TempFolder.h"
#include "platform/profile/PrivateProfile.h"

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <set>

namespace {

class LanguageSelectTest : public TempFolderTest {};

TEST_F(LanguageSelectTest, TablesHaveTheirKeysByPosition) {
    const LanguageSelect client(LanguageTable::kClient);
    const LanguageSelect launcher(LanguageTable::kLauncher);
    const LanguageSelect update(LanguageTable::kUpdateTool);
    EXPECT_EQ(client.Count(), 191);
    EXPECT_EQ(launcher.Count(), 179);
    EXPECT_EQ(update.Count(), 155);

    EXPECT_STREQ(client.KeyAt(0), "Connect");
    EXPECT_STREQ(client.KeyAt(79), "Menu_Backup");
    EXPECT_STREQ(client.KeyAt(126), "BackUp_Word1");
    EXPECT_STREQ(client.KeyAt(181), "Rec");
    EXPECT_STREQ(client.KeyAt(182), "Backup_Incomplete");
    EXPECT_STREQ(launcher.KeyAt(178), "Start_Word9");
    EXPECT_EQ(launcher.MemberOf("Valid_Time"), -1);

    EXPECT_STREQ(update.KeyAt(77), "frame_low");
    EXPECT_EQ(update.MemberOf("Menu_Backup"), 78);
    EXPECT_EQ(update.MemberOf("BackUp_Word1"), 108);
    EXPECT_EQ(update.MemberOf("NetUserEdit_Word3"), 107);
    EXPECT_EQ(update.MemberOf("Update_Word18"), 151);
    EXPECT_EQ(update.MemberOf("word11"), 47);
    EXPECT_EQ(update.MemberOf("Update_EndNotRun"), 153);
    EXPECT_EQ(client.MemberOf("Update_LeftOut"), -1);
    EXPECT_EQ(update.MemberOf("NetUserEdit_Word4"), -1);
    EXPECT_EQ(update.MemberOf("Start_Word1"), -1);
    EXPECT_EQ(update.MemberOf("word8"), 44);
    EXPECT_EQ(update.MemberOf("Update_Wait"), 154);
    EXPECT_EQ(update.MemberOf("Backup_Incomplete"), -1);

    std::set<std::string> keys;
    for (const auto& key : kLanguageKeys)
        keys.insert(key.key);
    EXPECT_EQ(keys.size(), kLanguageKeyCount);
}

// A key names the same text in every table whose numbering holds it, and nothing elsewhere.
TEST_F(LanguageSelectTest, TextOfAKeyFollowsEachTablesNumbering) {
    const struct {
        LanguageTable table;
        const char* key;
        const char* text;
    } cases[] = {
        {LanguageTable::kClient, "BackUp_Word1", "BackUp Channel:"},
        {LanguageTable::kUpdateTool, "BackUp_Word1", "BackUp Channel:"},
        {LanguageTable::kLauncher, "Start_Word9", "DVR not have disk"},
        {LanguageTable::kLauncher, "Valid_Time", ""},
        {LanguageTable::kUpdateTool, "NetUserEdit_Word4", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.key);
        LanguageSelect texts(c.table);
        texts.UseDefaults();
        EXPECT_EQ(texts.Text(c.key), c.text);
    }
}

TEST_F(LanguageSelectTest, NewTableIsEmptyAndMissingFileGivesEnglishDefaults) {
    LanguageSelect lang;
    EXPECT_EQ(lang.Text(0), "");
    lang.Load(folder_.string(), LanguageFileFor("chinese"));  // file absent
    EXPECT_EQ(lang.Text(0), "CONNECT");
    EXPECT_EQ(lang.Text(90), " ALL DVR");  // leading space kept
    EXPECT_EQ(lang.Text(160), "Update Tool");
    EXPECT_EQ(lang.Text(181), "if change the data,DVR will restart!");
    EXPECT_EQ(lang.Text(191), "");
    EXPECT_EQ(lang.Text(-1), "");
}

TEST(FillText, PutsTheValuesInTheirPlaces) {
    const struct {
        const char* text;
        std::initializer_list<std::string_view> values;
        const char* filled;
    } cases[] = {
        {"%1 frames were kept in %2.", {"12", "/rec"}, "12 frames were kept in /rec."},
        {"%2 before %1", {"a", "b"}, "b before a"},
        {"%1%1 and 100%", {"x"}, "xx and 100%"},
        {"%2 has no value", {"x"}, "%2 has no value"},
        {"%1", {"%2"}, "%2"},  // a value is not filled in again
        {"ends in %", {}, "ends in %"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FillText(c.text, c.values), c.filled) << c.text;
    }
}

TEST_F(LanguageSelectTest, FileOverridesOnlyItsKeysAndReloadOverwrites) {
    WriteFile("language/english.txt", "[StringInfo]\nConnect=LINK\n");
    LanguageSelect lang;
    lang.Load(folder_.string(), "language/english.txt");
    EXPECT_EQ(lang.Text(0), "LINK");
    for (int m = 1; m < lang.Count(); ++m) {
        EXPECT_EQ(lang.Text(m), kLanguageKeys[static_cast<std::size_t>(m)].english) << m;
    }
    WriteFile("language/english.txt", "[StringInfo]\nLocal=HERE\n");
    lang.Load(folder_.string(), "language/english.txt");
    EXPECT_EQ(lang.Text(0), "CONNECT");
    EXPECT_EQ(lang.Text(1), "HERE");
}

TEST_F(LanguageSelectTest, ValuesAreCutTo259Bytes) {
    WriteFile("language/english.txt", "[StringInfo]\nConnect=" + std::string(259, 'x') +
                                          "\nLocal=" + std::string(300, 'y') + "\n");
    LanguageSelect lang;
    lang.Load(folder_.string(), "language/english.txt");
    EXPECT_EQ(lang.Text(0), std::string(259, 'x'));
    EXPECT_EQ(lang.Text(1), std::string(259, 'y'));
}

TEST_F(LanguageSelectTest, UpdateToolTableReadsItsKeysAtItsPositions) {
    WriteFile("language/english.txt", "[StringInfo]\nMenu_Backup=B\nBackUp_Word1=C\n");
    LanguageSelect lang(LanguageTable::kUpdateTool);
    lang.Load(folder_.string(), "language/english.txt");
    EXPECT_EQ(lang.Text(78), "B");
    EXPECT_EQ(lang.Text(108), "C");
    EXPECT_EQ(lang.Text(151), "Failed!");
}

// A language file swollen by hand loads in about one pass over it, not one pass per key.
TEST_F(LanguageSelectTest, AHugeFileLoadsInOnePass) {
    std::string text = "[StringInfo]\nConnect=LINK\n";
    while (text.size() < (std::size_t{4} << 20))
        text += ";\n";
    text += "Rec=LAST\n";
    WriteFile("language/english.txt", text);
    const std::string path = (folder_ / "language/english.txt").string();
    using Clock = std::chrono::steady_clock;

    const auto pass_start = Clock::now();
    EXPECT_EQ(GetPrivateProfileString("StringInfo", "absent", "", 260, path), "");
    const auto one_pass = Clock::now() - pass_start;
    LanguageSelect lang;
    const auto load_start = Clock::now();
    lang.Load(folder_.string(), "language/english.txt");
    const auto load = Clock::now() - load_start;
    // A pass per key would take 182 passes; the margin is for a busy machine.
    EXPECT_LT(load, 20 * one_pass + std::chrono::milliseconds(200));
    EXPECT_EQ(lang.Text(0), "LINK");
    EXPECT_EQ(lang.Text(181), "LAST");
}

TEST_F(LanguageSelectTest, OnlyExactChineseSelectsTheChineseFile) {
    EXPECT_EQ(LanguageFileFor("chinese"), "language/chinese.txt");
    EXPECT_EQ(LanguageFileFor("Chinese"), "language/english.txt");
    EXPECT_EQ(LanguageFileFor(""), "language/english.txt");
    WriteFile("config/config.ini", "[ServerInfo]\nLanguage=Chinese\n");
    EXPECT_EQ(LanguageFileFor(CConfigFile(folder_.string()).GetLanguage()), "language/english.txt");
}

// The shipped files: every key of the Chinese file is translated and valid UTF-8, and the
// English file gives the defaults back unchanged (including member 90's leading space).
TEST_F(LanguageSelectTest, ShippedLanguageFilesAreComplete) {
    const std::string source = SUITE_SOURCE_DIR "/common/settings/";
    for (const char* name : {"language/english.txt", "language/chinese.txt"}) {
        const std::string path = source + name;
        for (const auto& key : kLanguageKeys) {
            EXPECT_NE(GetPrivateProfileString("StringInfo", key.key, "\x01", 260, path), "\x01")
                << name << " lacks " << key.key;
        }
    }
    LanguageSelect english;
    english.Load(source, "language/english.txt");
    for (int m = 0; m < english.Count(); ++m) {
        EXPECT_EQ(english.Text(m), kLanguageKeys[static_cast<std::size_t>(m)].english) << m;
    }
    LanguageSelect chinese;
    chinese.Load(source, "language/chinese.txt");
    EXPECT_NE(chinese.Text(0), "CONNECT");
}

// Every key a program's code reads as a literal (Text("..."), text("..."), Tr("...") and
// UiText(texts, "...")) is in that program's table and has a text in both shipped files: a mistyped
// key would show an empty caption.
TEST_F(LanguageSelectTest, KeysTheProgramsReadHaveTextsInBothFiles) {
    const struct {
        const char* folder;
        LanguageTable table;
    } programs[] = {
        {"update", LanguageTable::kUpdateTool},
        {"launcher", LanguageTable::kLauncher},
        {"liveview", LanguageTable::kClient},
        {"playback", LanguageTable::kClient},
    };
    const std::regex read_by_key(R"re(\b(?:(?:Text|text|Tr)\(|UiText\(\w+, )"([^"\\]*)"\))re");
    for (const auto& program : programs) {
        SCOPED_TRACE(program.folder);
        std::set<std::string> keys;
        const std::filesystem::path root = std::filesystem::path(SUITE_SOURCE_DIR) / program.folder;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(root)) {
            // Only the folders below the program's count: the checkout may sit in any folder.
            const std::string below = "/" + entry.path().lexically_relative(root).generic_string();
            const std::string extension = entry.path().extension().string();
            if (extension != ".cpp" && extension != ".h") continue;
            if (below.find("/tests/") != std::string::npos) continue;
            std::ifstream in(entry.path(), std::ios::binary);
            const std::string code{std::istreambuf_iterator<char>(in), {}};
            for (std::sregex_iterator it(code.begin(), code.end(), read_by_key), end; it != end;
                 ++it) {
                keys.insert((*it)[1].str());
            }
        }
        EXPECT_FALSE(keys.empty());
        for (const char* file : {"language/english.txt", "language/chinese.txt"}) {
            LanguageSelect texts(program.table);
            texts.Load(SUITE_SOURCE_DIR "/common/settings", file);
            for (const std::string& key : keys) {
                EXPECT_FALSE(texts.Text(key).empty()) << file << " gives nothing for " << key;
            }
        }
    }
}

}  // namespace

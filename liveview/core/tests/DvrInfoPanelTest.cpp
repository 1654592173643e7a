#include "liveview/core/dialogs/DvrInfoPanel.h"

#include <gtest/gtest.h>

#include "common/settings/LanguageSelect.h"

TEST(DvrInfoPanel, DiskLinesShowSizesRatesAndTimes) {
    LanguageSelect texts;
    texts.Load("/nonexistent", "language/english.txt");  // the built-in English texts
    const _DVR_DISK_INFO_ disk{1536, 40, 7, 2, 1704438489, -1};
    const std::vector<std::string> lines = {
        "Disk Size:1G",        "Surplus Size:40%",      "Cover Rate  :7%",
        "Bad Blocks  :2G",     "Earliest record time:", "2024/01/05 07:08:09",
        "Latest record time:", "----/--/-- --:--:--",
    };
    EXPECT_EQ(DiskLines(texts, disk), lines);
}

TEST(DvrInfoPanel, RecordTimesBreakDownAsUtcOrShowAPlaceholder) {
    EXPECT_EQ(RecordTimeText(0), "1970/01/01 00:00:00");
    EXPECT_EQ(RecordTimeText(951782400), "2000/02/29 00:00:00");
    EXPECT_EQ(RecordTimeText(INT32_MAX), "2038/01/19 03:14:07");
    EXPECT_EQ(RecordTimeText(-1), kNoRecordTime);
    EXPECT_EQ(RecordTimeText(INT32_MIN), kNoRecordTime);
}

TEST(DvrInfoPanel, LampsFollowTheirBitsAndTheRecordLampRulesRec) {
    // Bit 8 (the high byte's first) lights the infrared lamp, bit 3 the network lamp.
    const int word = LedWordOf(0x08, 0x01);
    EXPECT_EQ(word, 0x108);
    std::vector<int> lit;
    for (const LampSpec& lamp : kLamps) {
        if (IsLampLit(word, lamp.bit)) lit.push_back(lamp.label_id);
    }
    EXPECT_EQ(lit, (std::vector<int>{1096, 1091}));

    struct Case {
        int led_word;
        bool has_disk;
        RecButtonChange change;
    };
    const Case cases[] = {
        {1 << 5, true, RecButtonChange::kDisable},
        {1 << 5, false, RecButtonChange::kDisable},
        {0xffdf, true, RecButtonChange::kEnable},
        {0, false, RecButtonChange::kKeep},
    };
    for (const Case& c : cases)
        EXPECT_EQ(RecButtonFor(c.led_word, c.has_disk), c.change) << c.led_word;
}

TEST(DvrInfoPanel, AtMostEightDisksAreListed) {
    const std::pair<int32_t, int> cases[] = {{-3, 0}, {0, 0}, {3, 3}, {8, 8}, {9, 8}};
    for (const auto& [count, listed] : cases)
        EXPECT_EQ(ListedDiskCount(count), listed) << count;
    EXPECT_EQ(DiskEntryText(0), "DISK 0");
}

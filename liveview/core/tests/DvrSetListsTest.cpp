#include "liveview/core/dialogs/DvrSetLists.h"

#include <gtest/gtest.h>

#include "common/settings/LanguageSelect.h"
#include "liveview/core/dialogs/ChannelBoxes.h"

namespace {

LanguageSelect English() {
    LanguageSelect texts;
    texts.Load("/nonexistent", "language/english.txt");
    return texts;
}

}  // namespace

TEST(DvrSetLists, ListsShowTheirPositionsAsTheRecorderMeansThem) {
    struct Case {
        std::vector<std::string> list;
        std::size_t length;
        std::string first;
        std::string zero_or_last;  // the entry at `at`
        std::size_t at;
    };
    const Case cases[] = {
        {PictureLevelTexts(), 100, "-50", "00", 50},
        {PictureLevelTexts(), 100, "-50", "-05", 45},
        {PictureLevelTexts(), 100, "-50", "49", 99},
        {HorizontalDelayTexts(), 65, "32", "-32", 64},
        {VerticalDelayTexts(), 11, "05", "-05", 10},
        {SpotTimeTexts(), 11, "00 sec", "10 sec", 10},
        {DeviceIdTexts(), 255, "01", "ff", 254},
        {BaudTexts(), 4, "1200", "9600", 3},
        {ProtocolTexts(), 3, "PELCO_D1", "PELCO_P", 2},
    };
    for (const Case& c : cases) {
        ASSERT_EQ(c.list.size(), c.length) << c.first;
        EXPECT_EQ(c.list.front(), c.first);
        EXPECT_EQ(c.list[c.at], c.zero_or_last) << c.first;
    }
}

TEST(DvrSetLists, SeriesSevenOrdersQualityAndResolutionItsOwnWay) {
    const LanguageSelect texts = English();
    EXPECT_EQ(EncodeQualityTexts(texts, 7), (std::vector<std::string>{"low", "middle", "high"}));
    EXPECT_EQ(EncodeQualityTexts(texts, 0), (std::vector<std::string>{"high", "middle", "low"}));
    EXPECT_EQ(EncodeFrameRateTexts(texts),
              (std::vector<std::string>{"lowest", "low", "middle", "high"}));

    struct Case {
        int series;
        int32_t value;
        int selection;
    };
    const Case cases[] = {{7, 0, 0}, {7, 1, 1}, {7, 2, -1}, {0, 0, -1},
                          {0, 1, 0}, {0, 2, 1}, {0, 3, -1}, {7, -1, -1}};
    for (const Case& c : cases) {
        EXPECT_EQ(ResolutionSelection(c.series, c.value), c.selection) << c.series << c.value;
        if (c.selection >= 0) {
            EXPECT_EQ(ResolutionValue(c.series, c.selection), c.value);
        }
    }
}

TEST(DvrSetLists, TheRecorderTellsSeriesCamerasAndWhetherItsParametersAreRead) {
    EXPECT_EQ(SeriesCodeOf(7016), 7);
    EXPECT_EQ(SeriesCodeOf(1016), 0);
    EXPECT_EQ(SeriesCodeOf(17004), 0);
    EXPECT_EQ(ChannelCountOf(7008), 8);
    EXPECT_EQ(CameraTexts(4), (std::vector<std::string>{"CH01", "CH02", "CH03", "CH04"}));
    EXPECT_EQ(CameraTexts(32).size(), 16u);
    EXPECT_EQ(CameraTexts(32).back(), "CH16");
    EXPECT_TRUE(CameraTexts(0).empty());

    _DVR_MACHINE_INFO_ info{};
    info.nUserLevel = 2;
    const std::pair<int32_t, bool> by_link[] = {{0, false}, {1, true}, {2, true}, {3, true}};
    for (const auto& [link, read] : by_link) {
        info.nLinkState = link;
        EXPECT_EQ(CanReadParameters(info), read) << link;
    }
    info.nUserLevel = 1;
    EXPECT_FALSE(CanReadParameters(info));
}

TEST(ChannelBoxes, BoxesAreTheMasksBitsAndAllFlipsForTheWholeRun) {
    const ChannelBoxStates boxes = ChannelBoxesOf(0x8005);
    EXPECT_TRUE(boxes[0]);
    EXPECT_FALSE(boxes[1]);
    EXPECT_TRUE(boxes[2]);
    EXPECT_TRUE(boxes[15]);
    EXPECT_EQ(ChannelMaskOf(boxes), 0x8005);
    // Bits above the sixteenth have no box.
    EXPECT_EQ(ChannelMaskOf(ChannelBoxesOf(-1)), 0xffff);

    CAllChannelsToggle toggle;
    EXPECT_TRUE(toggle.Flip());
    EXPECT_FALSE(toggle.Flip());
    EXPECT_TRUE(toggle.Flip());
}

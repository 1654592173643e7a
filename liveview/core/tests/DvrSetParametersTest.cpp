#include "liveview/core/dialogs/DvrSetParameters.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

// A record whose values tell cameras and fields apart.
NET_MAC_SET_PARA Record() {
    NET_MAC_SET_PARA para{};
    for (int c = 0; c < 16; ++c) {
        para.brightness[c] = 50 + c;
        para.hue[c] = 10 + c;
        para.contrast[c] = 20 + c;
        para.saturation[c] = 30 + c;
        para.hDelay[c] = 32;
        para.vDelay[c] = 5;
        para.spotTime[c] = c % 11;
        para.ptzBaud[c] = c % 4;
        para.ptzAddress[c] = c;
        para.ptzProtocol[c] = c % 3;
        para.encodeQuality[c] = c % 3;
        para.encodeFps[c] = c % 4;
    }
    para.resolution = 1;
    return para;
}

bool SameRecord(const NET_MAC_SET_PARA& a, const NET_MAC_SET_PARA& b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

using Ptz = CDvrSetParameters::PtzShown;
using Picture = CDvrSetParameters::PictureShown;
using Encode = CDvrSetParameters::EncodeShown;

}  // namespace

TEST(DvrSetParameters, PagesStartAtTheFirstCameraAndShowOutOfRangeValuesAsNone) {
    NET_MAC_SET_PARA para = Record();
    para.ptzBaud[0] = 9;
    para.brightness[0] = 100;
    para.hDelay[0] = -1;
    CDvrSetParameters pages;
    pages.Start(para, 0, 4);
    EXPECT_EQ(pages.Ptz(), (Ptz{0, -1, 0, 0}));
    EXPECT_EQ(pages.Picture(), (Picture{0, {-1, 10, 20, 30, -1, 5, 0}}));
    EXPECT_EQ(pages.Encode(), (Encode{0, 0, 0, 0}));
    EXPECT_EQ(pages.Changed(), 0);

    // A value shown as none is not written back when another value of the page changes.
    pages.OnPtzChange({0, -1, 7, 0});
    EXPECT_EQ(pages.Para().ptzBaud[0], 9);
    EXPECT_EQ(pages.Para().ptzAddress[0], 7);
}

TEST(DvrSetParameters, SwitchingTheCameraShowsItsValuesAndStoresNothing) {
    CDvrSetParameters pages;
    pages.Start(Record(), 0, 4);
    EXPECT_EQ(pages.OnPtzChange({2, 0, 0, 0}), (Ptz{2, 2, 2, 2}));
    EXPECT_EQ(pages.OnPictureChange({3, {0, 0, 0, 0, 0, 0, 0}}),
              (Picture{3, {53, 13, 23, 33, 32, 5, 3}}));
    EXPECT_EQ(pages.OnEncodeChange({1, 0, 0, 0}, [] { return true; }), (Encode{1, 0, 1, 1}));
    EXPECT_TRUE(SameRecord(pages.Para(), Record()));
    EXPECT_EQ(pages.Changed(), 1);
}

TEST(DvrSetParameters, AChangeStoresTheFirstValueThatDiffersForTheCameraShown) {
    CDvrSetParameters pages;
    pages.Start(Record(), 0, 4);
    pages.OnPictureChange({3, {}});  // to camera 4
    pages.OnPictureChange({3, {60, 13, 23, 33, 32, 5, 3}});
    EXPECT_EQ(pages.Para().brightness[3], 60);
    // Two values differ: brightness is stored, hue waits for the next change.
    pages.OnPictureChange({3, {61, 14, 23, 33, 32, 5, 3}});
    EXPECT_EQ(pages.Para().brightness[3], 61);
    EXPECT_EQ(pages.Para().hue[3], 13);
    pages.OnPictureChange({3, {61, 14, 23, 33, 32, 5, 3}});
    EXPECT_EQ(pages.Para().hue[3], 14);
    pages.OnPictureChange({3, {61, 14, 23, 33, 32, 5, 9}});
    EXPECT_EQ(pages.Para().spotTime[3], 9);
    EXPECT_EQ(pages.Para().brightness[2], 52);

    pages.OnPtzChange({0, 0, 0, 2});
    EXPECT_EQ(pages.Para().ptzProtocol[0], 2);
    pages.OnPtzChange({0, 3, 4, 2});
    EXPECT_EQ(pages.Para().ptzBaud[0], 3);
    EXPECT_EQ(pages.Para().ptzAddress[0], 0);
}

TEST(DvrSetParameters, ANewResolutionIsTakenOnlyWhenTheRestartIsAccepted) {
    for (int series : {0, 7}) {
        CDvrSetParameters pages;
        NET_MAC_SET_PARA para = Record();
        para.resolution = series == 7 ? 0 : 1;  // CIF
        pages.Start(para, series, 4);
        int asked = 0;
        bool answer = false;
        const auto ask = [&] {
            ++asked;
            return answer;
        };
        // D1 refused: the record keeps CIF, and the question comes again with the next change.
        pages.OnEncodeChange({0, 1, 0, 0}, ask);
        EXPECT_EQ(pages.Para().resolution, para.resolution);
        pages.OnEncodeChange({0, 1, 2, 0}, ask);
        EXPECT_EQ(asked, 2);
        EXPECT_EQ(pages.Para().encodeQuality[0], 2);
        // Accepted once, it is not asked again at later changes.
        answer = true;
        pages.OnEncodeChange({0, 1, 2, 3}, ask);
        EXPECT_EQ(pages.Para().resolution, series == 7 ? 1 : 2);
        EXPECT_EQ(pages.Para().encodeFps[0], 3);
        pages.OnEncodeChange({0, 1, 1, 3}, ask);
        EXPECT_EQ(asked, 3);
        EXPECT_EQ(pages.Encode(), (Encode{0, 1, 1, 3}));
    }
}

TEST(DvrSetParameters, NoCameraBeyondTheRecordIsReadOrWritten) {
    CDvrSetParameters pages;
    pages.Start(Record(), 0, 32);
    EXPECT_EQ(pages.CameraCount(), 16);
    EXPECT_EQ(pages.OnPtzChange({15, 0, 0, 0}), (Ptz{15, 3, 15, 0}));
    EXPECT_EQ(pages.OnPtzChange({16, 0, 0, 0}), std::nullopt);
    pages.OnPtzChange({16, 1, 1, 1});
    EXPECT_EQ(pages.Ptz().camera, 15);

    CDvrSetParameters none;
    none.Start(Record(), 0, 0);
    EXPECT_EQ(none.Ptz(), Ptz{});
    none.OnEncodeChange({-1, 0, 2, 2}, [] { return true; });
    none.OnPictureChange({-1, {1, 1, 1, 1, 1, 1, 1}});
    EXPECT_TRUE(SameRecord(none.Para(), Record()));
    EXPECT_EQ(none.Changed(), 1);
}

#include "liveview/core/store/UssFields.h"

#include <gtest/gtest.h>

#include <string>

TEST(UssFields, TooLongOrUnstorableTextsAreRefused) {
    EXPECT_TRUE(FitsUssField(UssField::kAddress, std::string(49, 'a')));
    EXPECT_FALSE(FitsUssField(UssField::kAddress, std::string(50, 'a')));
    // Limits count bytes: four 3-byte characters do not fit nine bytes.
    EXPECT_TRUE(FitsUssField(UssField::kUser, "\xE4\xB8\xAD\xE4\xB8\xAD\xE4\xB8\xAD"));
    EXPECT_FALSE(FitsUssField(UssField::kUser, "\xE4\xB8\xAD\xE4\xB8\xAD\xE4\xB8\xAD\xE4\xB8\xAD"));
    EXPECT_FALSE(FitsUssField(UssField::kPassword, "a\tb"));
    EXPECT_FALSE(FitsUssField(UssField::kAdminPassword, "12\n"));
    EXPECT_TRUE(FitsUssField(UssField::kShowName, "tab\there"));
    EXPECT_FALSE(FitsUssField(UssField::kShowName, std::string("a\0b", 3)));
}

TEST(UssFields, FindUnfitDvrTextNamesTheFirstBadField) {
    _DVR_SETTINGS_ settings;
    settings.address = "192.168.1.20:6802";
    settings.port_text = "6802";
    settings.user = "admin";
    settings.password = "123456789";
    settings.show_name = "Gate";
    EXPECT_EQ(FindUnfitDvrText(settings), UssField::kNone);
    settings.show_name = std::string(50, 'n');
    EXPECT_EQ(FindUnfitDvrText(settings), UssField::kShowName);
    settings.password = "1234567890";
    EXPECT_EQ(FindUnfitDvrText(settings), UssField::kPassword);
    settings.port_text = "68020000000";
    EXPECT_EQ(FindUnfitDvrText(settings), UssField::kPortText);
}

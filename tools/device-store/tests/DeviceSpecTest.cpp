#include "tools/device-store/DeviceSpec.h"

#include <gtest/gtest.h>

TEST(DeviceSpec, TakesFourTextsAndItsFlagsAndRefusesWhatTheStoreCannotHold) {
    std::string error;
    const auto device =
        ParseDeviceSpec("127.0.0.1/DVR0002,ADMIN,admin,Lobby cams,auto,audio", &error);
    ASSERT_TRUE(device) << error;
    EXPECT_EQ(device->address, "127.0.0.1/DVR0002");
    EXPECT_EQ(device->user, "ADMIN");
    EXPECT_EQ(device->password, "admin");
    EXPECT_EQ(device->show_name, "Lobby cams");
    EXPECT_EQ(device->auto_connect, 1);
    EXPECT_EQ(device->send_audio, 1);
    EXPECT_EQ(device->in_use, 1);  // the settings replace a device's whole, the flag included
    const auto plain = ParseDeviceSpec("10.0.0.1:6802,USER01,123456,Gate", &error);
    ASSERT_TRUE(plain) << error;
    EXPECT_EQ(plain->auto_connect, 0);
    EXPECT_EQ(plain->send_audio, 0);

    const std::pair<std::string, const char*> refused[] = {
        {"10.0.0.1:6802,USER01,123456", "is not ADDRESS"},
        {"10.0.0.1:6802,,123456,Gate", "the user is empty"},
        {"10.0.0.1:6802,USERNAME10,123456,Gate", "longer than 9 bytes"},
        {std::string(50, '1') + ",U,P,Gate", "longer than 49 bytes"},
        {"10.0.0.1:6802,U,P,Gate,later", "unknown flag \"later\""},
    };
    for (const auto& [spec, why] : refused) {
        EXPECT_FALSE(ParseDeviceSpec(spec, &error)) << spec;
        EXPECT_NE(error.find(why), std::string::npos) << error;
    }
}

#include <gtest/gtest.h>

#include "tools/lookup-server/ServerCommandLine.h"

namespace {

TEST(ServerCommandLine, DefaultsAndDevices) {
    ServerCommandLine line;
    EXPECT_EQ(line.Parse({}), "");
    EXPECT_EQ(line.port, 10088);
    EXPECT_EQ(line.bind_address, "0.0.0.0");

    EXPECT_EQ(line.Parse({"--port", "0", "--bind", "127.0.0.1", "a=b:c=192.168.0.9:1",
                          std::string(199, 'n') + "=10.0.0.1:80"}),
              "");
    EXPECT_EQ(line.port, 0);
    EXPECT_EQ(line.bind_address, "127.0.0.1");
    ASSERT_EQ(line.devices.size(), 2u);
    EXPECT_EQ(line.devices[0].name, "a=b:c");
    EXPECT_EQ(line.devices[0].address, "192.168.0.9");
    EXPECT_EQ(line.devices[0].port, 1);
}

TEST(ServerCommandLine, BadArgumentsAreNamed) {
    for (const std::vector<std::string>& arguments :
         std::vector<std::vector<std::string>>{{"--port"},
                                               {"--port", "65536"},
                                               {"--port", "12x"},
                                               {"--bind", "host.example"},
                                               {"gate"},
                                               {"=10.0.0.1:80"},
                                               {"gate=10.0.0.1"},
                                               {"gate=10.0.0:80"},
                                               {"gate=10.0.0.1:0"},
                                               {std::string(200, 'n') + "=10.0.0.1:80"}}) {
        ServerCommandLine line;
        EXPECT_NE(line.Parse(arguments), "") << arguments[0];
    }
}

}  // namespace

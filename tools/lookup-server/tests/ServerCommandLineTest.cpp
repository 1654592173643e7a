#include <gtest/gtest.h>

#include "ServerCommandLine.h"

namespace {

TEST(ServerCommandLine, DefaultsAndDevices) {
    ServerCommandLine line;
    EXPECT_EQ(line.Parse({}), "");
    EXPECT_EQ(line.port, 10088);
    EXPECT_EQ(line.bind_address, "0.0.0.0");

    ServerCommandLine full;
    EXPECT_EQ(full.Parse({"--port", "20000", "--bind", "127.0.0.1", "gate=10.0.0.1:6036",
                          "a=b:c=192.168.0.9:1"}),
              "");
    EXPECT_EQ(full.port, 20000);
    EXPECT_EQ(full.bind_address, "127.0.0.1");
    ASSERT_EQ(full.devices.size(), 2u);
    EXPECT_EQ(full.devices[0].name, "gate");
    EXPECT_EQ(full.devices[0].address, "10.0.0.1");
    EXPECT_EQ(full.devices[0].port, 6036);
    EXPECT_EQ(full.devices[1].name, "a=b:c");
    EXPECT_EQ(full.devices[1].address, "192.168.0.9");
    EXPECT_EQ(full.devices[1].port, 1);
}

TEST(ServerCommandLine, BadArgumentsAreNamed) {
    for (const std::vector<std::string>& arguments : std::vector<std::vector<std::string>>{
             {"--port"},
             {"--port", "0"},
             {"--port", "65536"},
             {"--port", "12x"},
             {"--bind", "host.example"},
             {"gate"},
             {"=10.0.0.1:80"},
             {"gate=10.0.0.1"},
             {"gate=10.0.0.1:"},
             {"gate=10.0.0:80"},
             {"gate=10.0.0.1:99999"},
             {std::string(200, 'n') + "=10.0.0.1:80"},
         }) {
        ServerCommandLine line;
        EXPECT_NE(line.Parse(arguments), "") << arguments[0];
    }
    ServerCommandLine longest;
    EXPECT_EQ(longest.Parse({std::string(199, 'n') + "=10.0.0.1:80"}), "");
}

}  // namespace

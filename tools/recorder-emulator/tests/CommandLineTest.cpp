#include "tools/recorder-emulator/CommandLine.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

std::optional<EmulatorRun> Parse(std::vector<const char*> args, std::string* error) {
    args.insert(args.begin(), "recorder-emulator");
    return ParseCommandLine(static_cast<int>(args.size()), args.data(), error);
}

TEST(CommandLine, AlikeRecordersFromOptions) {
    std::string error;
    const auto run = Parse({"--recorders", "3", "--channels", "4", "--codec", "mpeg4",
                            "--base-port", "7000", "--lookup-port", "10088", "--size", "0"},
                           &error);
    ASSERT_TRUE(run) << error;
    ASSERT_EQ(run->recorders.size(), 3u);
    EXPECT_EQ(run->recorders[2].port, 7002);
    EXPECT_EQ(run->recorders[2].name, "DVR0003");
    EXPECT_EQ(run->recorders[0].channel_count, 4);
    EXPECT_EQ(run->recorders[0].type_code, 1004);
    EXPECT_EQ(run->recorders[0].Codec(), VideoCodec::kMpeg4);
    EXPECT_EQ(run->recorders[0].channel_formats[3].size_code, 0);
    EXPECT_EQ(run->lookup_port, 10088);
    EXPECT_EQ(run->recorders[0].fixed_live_fps, 0);  // follows the client unless told

    const auto fixed = Parse({"--live-fps", "25"}, &error);
    ASSERT_TRUE(fixed) << error;
    EXPECT_EQ(fixed->recorders[0].fixed_live_fps, 25);

    const auto defaults = Parse({}, &error);
    ASSERT_TRUE(defaults);
    EXPECT_EQ(defaults->recorders.size(), 1u);
    EXPECT_EQ(defaults->recorders[0].port, 0);
    EXPECT_FALSE(defaults->lookup_port);
}

TEST(CommandLine, MistakesAreNamed) {
    std::string error;
    EXPECT_FALSE(Parse({"--recorders", "x"}, &error));
    EXPECT_NE(error.find("--recorders"), std::string::npos);
    EXPECT_FALSE(Parse({"--channels", "17"}, &error));
    EXPECT_FALSE(Parse({"--codec", "vp9"}, &error));
    EXPECT_FALSE(Parse({"--live-fps", "31"}, &error));
    EXPECT_NE(error.find("--live-fps"), std::string::npos);
    EXPECT_FALSE(Parse({"--port"}, &error));
    EXPECT_NE(error.find("unknown option --port"), std::string::npos);
    EXPECT_FALSE(Parse({"--sandbox"}, &error));
    EXPECT_NE(error.find("needs a value"), std::string::npos);
    EXPECT_FALSE(Parse({"--recorders", "10", "--base-port", "65530"}, &error));
    EXPECT_FALSE(Parse({"--config", "a.ini", "--recorders", "2"}, &error));
    EXPECT_FALSE(Parse({"--config", "/nonexistent/a.ini"}, &error));
    EXPECT_NE(error.find("no such config file"), std::string::npos);
}

}  // namespace

#include <gtest/gtest.h>

#include "update/core/FontList.h"
#include "update/core/ServerText.h"

TEST(ServerTextTest, SplitsAtTheLastColon) {
    const struct {
        const char* text;
        const char* host;
        int port;
    } cases[] = {
        {"192.168.1.100:6802", "192.168.1.100", 6802},
        {"a:b:6802", "a:b", 6802},  // two colons: the second one splits
        {"10.0.0.1:", "10.0.0.1", 0},
        {"6802", "", 6802},
        {"host: 81x", "host", 81},  // blanks skipped, digits up to the first other character
        {"host:x", "host", 0},
        {"host:99999999999", "host", 2147483647},
    };
    for (const auto& c : cases) {
        const ServerAddress address = SplitServerText(c.text);
        EXPECT_EQ(address.host, c.host) << c.text;
        EXPECT_EQ(address.port, c.port) << c.text;
    }
}

TEST(FontListTest, EachFaceOnceInListOrder) {
    EXPECT_EQ(
        FontListOrder({"Sans", "DejaVu Sans", "arial", "Sans", "Arial", "DejaVu Sans", "Sans"}),
        (std::vector<std::string>{"Arial", "arial", "DejaVu Sans", "Sans"}));
}

TEST(FontListTest, OpensOnAPlainFace) {
    const struct {
        std::vector<std::string> faces;
        int index;
    } cases[] = {
        {{"DSEG7 Classic", "DejaVu Math TeX Gyre", "DejaVu Sans", "WenQuanYi Micro Hei"}, 3},
        {{"DejaVu Math TeX Gyre", "DejaVu Sans", "DejaVu Serif"}, 1},
        {{"Cantarell", "Liberation Sans"}, 1},
        {{"Cantarell", "Ubuntu"}, 0},
        {{}, -1},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(DefaultFaceIndex(c.faces), c.index) << c.faces.size();
    }
}

#include "tools/recorder-emulator/SandboxPath.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

const std::filesystem::path kBox = "/srv/box";

TEST(SandboxPath, RemotePathsLandBelowTheSandbox) {
    std::string error;
    EXPECT_EQ(SandboxPathOf(kBox, "/mnt/mtd/bin/app", &error), kBox / "mnt/mtd/bin/app");
    EXPECT_EQ(SandboxPathOf(kBox, "mnt//mtd/./x.sh", &error), kBox / "mnt/mtd/x.sh");
    EXPECT_EQ(SandboxPathOf(kBox, "///etc/passwd", &error), kBox / "etc/passwd");
    EXPECT_EQ(SandboxPathOf(kBox, "/mnt/a..b", &error), kBox / "mnt/a..b");
}

TEST(SandboxPath, EscapesAndNonFilesAreRefused) {
    for (const std::string& bad : std::vector<std::string>{
             "", "/", "/mnt/mtd/", ".", "/./", "..", "/mnt/../../etc/passwd", "/mnt/mtd/..", "../x",
             "mnt\\..\\..\\x", std::string("/mnt/a\0b", 8)}) {
        std::string error;
        EXPECT_FALSE(SandboxPathOf(kBox, bad, &error)) << bad;
        EXPECT_FALSE(error.empty()) << bad;
    }
}

}  // namespace

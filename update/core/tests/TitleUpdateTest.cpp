#include <gtest/gtest.h>

#include <cstdlib>

#include "update/core/TitleUpdate.h"
#include "update/core/ToolText.h"
#include "update/core/tests/RecorderFixture.h"
#include "update/core/tests/TitleTestSupport.h"

namespace {

// The update with every name "CH<n>" drawn in solid glyphs; the scratch files go below the
// test's folder, so the test sees them removed.
class TitleUpdateTest : public RecorderFixture {
protected:
    void SetUp() override {
        const char* tmp = std::getenv("TMPDIR");
        saved_tmpdir_ = tmp ? tmp : "";
        std::filesystem::create_directory(scratch_base_);
        ::setenv("TMPDIR", scratch_base_.c_str(), 1);
    }
    void TearDown() override {
        RecorderFixture::TearDown();
        if (saved_tmpdir_.empty()) {
            ::unsetenv("TMPDIR");
        } else {
            ::setenv("TMPDIR", saved_tmpdir_.c_str(), 1);
        }
    }
    bool Update(int type_code) {
        TitleNames names;
        for (int i = 0; i < kTitleRows; ++i)
            names[i] = U"CH" + std::u32string(1, U'1' + i % 9);
        TitleUpdate update(net_, messages_.Sink(), "Failed!");
        return update.OnUpdateDvrChannel(
            SeriesOf(type_code), ChannelCountOf(type_code), [&](const PreviewBox& box) {
                boxes_.push_back(box);
                return RenderTitlePicture(names, box, SeriesOf(type_code), SolidGlyphs());
            });
    }

    const std::string scratch_base_ = (folder_.Path() / "tmp").string();
    std::string saved_tmpdir_;
    ShownMessages messages_;
    std::vector<PreviewBox> boxes_;
};

}  // namespace

TEST_F(TitleUpdateTest, RecorderReceivesItsTitleFiles) {
    const struct {
        int type_code;
        std::vector<std::string> paths;
        std::size_t file_bytes;
    } cases[] = {
        {7016,
         {"/mnt/mtd/yuvfile/camnamelocal.rgb", "/mnt/mtd/yuvfile/recname.rgb"},
         8 + 72 * 2 * 224},
        {7004,
         {"/mnt/mtd/yuvfile/camnamelocal.rgb", "/mnt/mtd/yuvfile1/camnamelocal.rgb",
          "/mnt/mtd/yuvfile/recname.rgb", "/mnt/mtd/yuvfile1/recname.rgb"},
         8 + 72 * 2 * 224},
        {1016, {"/mnt/mtd/yuvfile/Cam_Name_Date.yuv"}, 92165},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.type_code);
        StartRecorder(c.type_code);
        LogIn();
        boxes_.clear();
        ASSERT_TRUE(Update(c.type_code)) << messages_.Last();
        EXPECT_EQ(messages_.Last(), kSuccessText);
        EXPECT_EQ(Uploads(), c.paths);
        const std::vector<UploadedFile> uploads = emulator_.Journal(0).uploads;
        EXPECT_EQ(uploads.front().size_bytes, c.file_bytes);
        if (c.type_code / 1000 == 7) {
            EXPECT_EQ(boxes_, (std::vector<PreviewBox>{{76, 228, 14, 12}, {112, 324, 20, 16}}));
            EXPECT_EQ(uploads.back().size_bytes, 8u + 108 * 2 * 320);
        } else {
            const auto date = FileContent(uploads.front().stored_path);
            EXPECT_EQ(std::vector<std::uint8_t>(date.begin(), date.begin() + 5),
                      (std::vector<std::uint8_t>{0, 24, 0, 240, 1}));
        }
        EXPECT_TRUE(std::filesystem::is_empty(scratch_base_));
        RecorderFixture::TearDown();
    }
}

TEST_F(TitleUpdateTest, FailedSendEndsTheUpdate) {
    StartRecorder(7004);
    EXPECT_FALSE(Update(7004));
    EXPECT_EQ(messages_.shown.size(), 1u);
    EXPECT_EQ(messages_.Last().rfind("Failed!\n/mnt/mtd/yuvfile/camnamelocal.rgb", 0), 0u)
        << messages_.Last();
    EXPECT_TRUE(std::filesystem::is_empty(scratch_base_));
}

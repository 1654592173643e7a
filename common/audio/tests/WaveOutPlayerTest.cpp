#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "common/audio/WaveOutPlayer.h"
#include "platform/waveout/ManualClockWaveOut.h"

namespace {

// 100 ms of one-channel sound, every byte set to id.
std::vector<uint8_t> Block(uint8_t id, std::size_t length_bytes = 1600) {
    return std::vector<uint8_t>(length_bytes, id);
}

class WaveOutPlayerTest : public ::testing::Test {
protected:
    void Write(const std::vector<uint8_t>& block) { player_.Write(block.data(), block.size()); }

    // First byte of each played block (its id), in play order.
    std::vector<int> PlayedIds() {
        std::vector<int> ids;
        for (const auto& block : backend_.Played()) {
            ids.push_back(block.bytes.empty() ? -1 : block.bytes.front());
        }
        return ids;
    }

    ManualClockWaveOut backend_;
    CWaveOutPlayer player_{backend_};
};

TEST_F(WaveOutPlayerTest, BlockFindingItsBufferBusyIsDroppedWithoutMovingTheRing) {
    ASSERT_EQ(player_.Open(1), 1);
    for (uint8_t id = 1; id <= 6; ++id) {
        Write(Block(id));  // faster than play: 6 finds buffer 0 still busy
    }
    backend_.Advance(100);  // block 1 played: buffer 0 free again, buffers 1 to 4 still busy
    EXPECT_EQ(PlayedIds(), (std::vector<int>{1}));
    Write(Block(7));  // goes to buffer 0
    Write(Block(8));  // buffer 1 still busy: dropped
    backend_.Advance(1000);
    EXPECT_EQ(PlayedIds(), (std::vector<int>{1, 2, 3, 4, 5, 7}));

    // All free again: the ring goes on from buffer 1.
    for (uint8_t id = 9; id <= 14; ++id) {
        Write(Block(id));
    }
    backend_.Advance(1000);
    EXPECT_EQ(PlayedIds(), (std::vector<int>{1, 2, 3, 4, 5, 7, 9, 10, 11, 12, 13}));
}

TEST_F(WaveOutPlayerTest, ZeroLengthBlockTakesItsTurnInTheRing) {
    player_.Open(1);
    Write({});
    for (uint8_t id = 1; id <= 4; ++id) {
        Write(Block(id));
    }
    Write(Block(9));  // buffer 0 holds the empty block until the device reaches it
    backend_.Advance(0);
    Write(Block(5));
    backend_.Advance(1000);
    EXPECT_EQ(PlayedIds(), (std::vector<int>{-1, 1, 2, 3, 4, 5}));
}

TEST_F(WaveOutPlayerTest, BlockLongerThanItsBufferIsCutToIt) {
    player_.Open(1);
    std::vector<uint8_t> long_block(20000);
    for (std::size_t i = 0; i < long_block.size(); ++i) {
        long_block[i] = static_cast<uint8_t>(i * 7);
    }
    Write(long_block);
    Write(Block(3, 16000));  // exactly one buffer: whole
    backend_.Advance(3000);
    const auto played = backend_.Played();
    ASSERT_EQ(played.size(), 2u);
    EXPECT_EQ(played[0].bytes,
              std::vector<uint8_t>(long_block.begin(), long_block.begin() + 16000));
    EXPECT_EQ(played[1].bytes.size(), 16000u);
}

TEST_F(WaveOutPlayerTest, TwoChannelBuffersHoldTwiceAsMuch) {
    player_.Open(2);
    Write(Block(1, 40000));
    backend_.Advance(999);
    EXPECT_TRUE(backend_.Played().empty());  // one second of stereo is 32000 bytes
    backend_.Advance(1);
    ASSERT_EQ(backend_.Played().size(), 1u);
    EXPECT_EQ(backend_.Played()[0].bytes.size(), 32000u);
    EXPECT_EQ(backend_.Played()[0].channels, 2);
}

TEST_F(WaveOutPlayerTest, MissingDeviceOrUnplayableFormatIgnoresEveryBlock) {
    backend_.SetOpenError("no sound card");
    EXPECT_EQ(player_.Open(1), 1);
    backend_.SetOpenError("");
    for (uint8_t id = 1; id <= 10; ++id) {
        Write(Block(id));
    }
    Write({});
    EXPECT_EQ(player_.Open(3), 1);
    Write(Block(1));
    EXPECT_EQ(backend_.OpenDevices(), 0);
    backend_.Advance(5000);
    EXPECT_TRUE(backend_.Played().empty());
}

TEST_F(WaveOutPlayerTest, NeverOpenedPlayerIgnoresBlocksAndClosesQuietly) {
    {
        CWaveOutPlayer unopened(backend_);
        unopened.Write(Block(1).data(), 1600);
        unopened.Close();
    }
    EXPECT_EQ(backend_.OpenDevices(), 0);
}

TEST_F(WaveOutPlayerTest, CloseStopsPlayingAndReopenStartsAFreshRing) {
    player_.Open(1);
    for (uint8_t id = 1; id <= 5; ++id) {
        Write(Block(id));
    }
    player_.Close();
    EXPECT_EQ(backend_.OpenDevices(), 0);
    backend_.Advance(1000);
    EXPECT_TRUE(backend_.Played().empty());

    player_.Open(1);
    player_.Open(1);  // opening again closes the first device
    EXPECT_EQ(backend_.OpenDevices(), 1);
    for (uint8_t id = 1; id <= 5; ++id) {
        Write(Block(id));
    }
    backend_.Advance(1000);
    EXPECT_EQ(PlayedIds(), (std::vector<int>{1, 2, 3, 4, 5}));
}

TEST_F(WaveOutPlayerTest, WriterAndDeviceThreadsShareOnlyTheBusyMarks) {
    player_.Open(1);
    std::atomic<bool> writing{true};
    std::thread clock([&] {
        while (writing) {
            backend_.Advance(30);
        }
    });
    // Each block carries its number, and its length follows from the number.
    const auto length_of = [](int number) {
        return static_cast<std::size_t>(160 + number % 5 * 160);
    };
    for (int number = 0; number < 3000; ++number) {
        std::vector<uint8_t> block(length_of(number), 0x55);
        block[0] = static_cast<uint8_t>(number);
        block[1] = static_cast<uint8_t>(number >> 8);
        Write(block);
    }
    writing = false;
    clock.join();
    backend_.Advance(10000);

    // Whatever got through played whole, in the order written.
    const auto played = backend_.Played();
    ASSERT_FALSE(played.empty());
    int last = -1;
    for (const auto& block : played) {
        ASSERT_GE(block.bytes.size(), 2u);
        const int number = block.bytes[0] | block.bytes[1] << 8;
        EXPECT_GT(number, last);
        EXPECT_EQ(block.bytes.size(), length_of(number));
        EXPECT_EQ(block.bytes.back(), 0x55);
        last = number;
    }
}

TEST(WaveOutPlayerDefault, OpensWithOrWithoutASoundCard) {
    CWaveOutPlayer player;
    EXPECT_EQ(player.Open(2), 1);
    const std::vector<uint8_t> silence(320, 0);
    player.Write(silence.data(), silence.size());
    player.Close();
}

}  // namespace

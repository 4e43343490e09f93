// Table transfers on an MB (kernel 1) camera, through the exported functions.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "BulkTestCameras.h"
#include "velterradll.h"

namespace velterra::test {
namespace {

constexpr uint8_t kTableCommand = 0x30;
constexpr uint8_t kStatusCommand = 0x31;

std::vector<uint16_t> Pattern(size_t count, uint16_t seed) {
    std::vector<uint16_t> values(count);
    for (size_t i = 0; i < count; ++i) values[i] = static_cast<uint16_t>(seed + i * 0x0101 + i / 7);
    return values;
}

struct Chunk {
    size_t offset;
    size_t count;
    bool operator==(const Chunk&) const = default;
};

// The [table id, mode, offset, count] parameters that lead a chunk frame.
Chunk ChunkOf(const SeenFrame& frame) {
    return {Le16At(frame.data, 2), Le16At(frame.data, 4)};
}

class BulkMbTransfer : public FakePortTest {
  protected:
    void SetUp() override { OpenMb(); }

    // Frames in pairs: a chunk write followed by its status read.
    std::vector<Chunk> WrittenChunks(uint8_t tableId) {
        std::vector<Chunk> chunks;
        const auto frames = mb_.Frames();
        for (size_t i = 0; i < frames.size(); ++i) {
            const SeenFrame& frame = frames[i];
            if (i % 2 == 1) {
                EXPECT_TRUE(frame.read && frame.data.empty() && frame.commandId == kStatusCommand)
                    << "frame " << i << " should be a status read";
                continue;
            }
            EXPECT_FALSE(frame.read);
            EXPECT_EQ(frame.commandId, kTableCommand);
            EXPECT_EQ(frame.data.at(0), tableId);
            EXPECT_EQ(frame.data.at(1), 0);
            const Chunk chunk = ChunkOf(frame);
            EXPECT_EQ(frame.data.size(), 6 + 2 * chunk.count);
            chunks.push_back(chunk);
        }
        return chunks;
    }

    std::vector<Chunk> ReadRequests() {
        std::vector<Chunk> chunks;
        for (const SeenFrame& frame : mb_.Frames()) {
            EXPECT_TRUE(frame.read);
            EXPECT_EQ(frame.data.size(), 6u);
            chunks.push_back(ChunkOf(frame));
        }
        return chunks;
    }
};

TEST_F(BulkMbTransfer, LutOf4096EntriesGoesOutInEightConfirmedChunksAndComesBack) {
    const auto lut = Pattern(4096, 0x1234);
    ASSERT_EQ(
        tvr_LUTMassWrite2(kRs232, kPort, kTableCommand, kStatusCommand, 2, 0, 0, 4096, lut.data()),
        1);
    std::vector<Chunk> expected;
    for (size_t offset = 0; offset < 4096; offset += 512) expected.push_back({offset, 512});
    EXPECT_EQ(WrittenChunks(2), expected);
    const auto stored = mb_.Table(2);
    EXPECT_TRUE(std::equal(lut.begin(), lut.end(), stored.begin()));

    // Reading it back: eight chunk requests follow the writes, with no status reads.
    const size_t writes = mb_.Frames().size();
    std::vector<uint16_t> back(4096);
    uint16_t entriesRead = 0;
    ASSERT_EQ(tvr_LUTMassRead2(kRs232, kPort, kTableCommand, 0xDEADBEEF, 2, 0, 0, 4096,
                               &entriesRead, back.data()),
              1);
    EXPECT_EQ(back, lut);
    EXPECT_EQ(entriesRead, 4096);
    const auto frames = mb_.Frames();
    ASSERT_EQ(frames.size(), writes + 8);
    for (size_t i = 0; i < 8; ++i) {
        const SeenFrame& frame = frames[writes + i];
        EXPECT_TRUE(frame.read);
        EXPECT_EQ(frame.commandId, kTableCommand);
        EXPECT_EQ((Bytes{frame.data.begin(), frame.data.begin() + 2}), (Bytes{2, 0}));
        EXPECT_EQ(ChunkOf(frame), (Chunk{512 * i, 512}));
    }
}

TEST_F(BulkMbTransfer, TableFromAnOffsetIsCutAt512EntriesAndReadBackFromThere) {
    const auto table = Pattern(1000, 7);
    ASSERT_EQ(tvr_FpnPrnuTablesMassWrite2(kRs232, kPort, kTableCommand, kStatusCommand, 1, 100,
                                          1000, table.data()),
              1);
    EXPECT_EQ(WrittenChunks(1), (std::vector<Chunk>{{100, 512}, {612, 488}}));
    const auto stored = mb_.Table(1);
    EXPECT_EQ(stored[99], 0);
    EXPECT_TRUE(std::equal(table.begin(), table.end(), stored.begin() + 100));
    EXPECT_EQ(stored[1100], 0);

    std::vector<uint16_t> back(1000);
    ASSERT_EQ(
        tvr_FpnPrnuTablesMassRead2(kRs232, kPort, kTableCommand, 0, 1, 100, 1000, back.data()), 1);
    EXPECT_EQ(back, table);
}

TEST_F(BulkMbTransfer, ShortFormsUseStatusCommandZeroAndStartAtOffsetZero) {
    const std::vector<uint16_t> lut = {1, 2, 3};
    ASSERT_EQ(tvr_LUTMassWrite(kRs232, kPort, kTableCommand, 4, 3, lut.data()), 1);
    std::vector<uint16_t> back(3);
    ASSERT_EQ(tvr_LUTMassRead(kRs232, kPort, kTableCommand, 4, 3, back.data()), 1);
    EXPECT_EQ(back, lut);
    const auto frames = mb_.Frames();
    ASSERT_EQ(frames.size(), 3u);
    EXPECT_EQ(frames[0].data, (Bytes{4, 0, 0, 0, 3, 0, 1, 0, 2, 0, 3, 0}));
    EXPECT_EQ(frames[1].commandId, 0);
    EXPECT_TRUE(frames[1].read);
    EXPECT_EQ(frames[2].data, (Bytes{4, 0, 0, 0, 3, 0}));
}

TEST_F(BulkMbTransfer, ReadProgressesByWhatTheCameraReturned) {
    mb_.FillTable(0, Pattern(2000, 99));
    // This camera hands out at most 300 entries per reply, whatever was asked.
    mb_.Override([](size_t, const SeenFrame& frame) -> std::optional<Bytes> {
        const size_t offset = Le16At(frame.data, 2);
        const size_t count = std::min<size_t>(Le16At(frame.data, 4), 300);
        const auto table = Pattern(2000, 99);
        return AckAndMbReply(frame.commandId, LittleEndian({table.begin() + offset,
                                                            table.begin() + offset + count}));
    });
    std::vector<uint16_t> back(700);
    uint16_t entriesRead = 0;
    ASSERT_EQ(
        tvr_LUTMassRead2(kRs232, kPort, kTableCommand, 0, 0, 0, 5, 700, &entriesRead, back.data()),
        1);
    EXPECT_EQ(ReadRequests(), (std::vector<Chunk>{{5, 512}, {305, 400}, {605, 100}}));
    const auto table = Pattern(2000, 99);
    EXPECT_TRUE(std::equal(back.begin(), back.end(), table.begin() + 5));
    EXPECT_EQ(entriesRead, 700);
}

TEST_F(BulkMbTransfer, ReadRefusesEmptyAndOverlongRepliesWithoutTouchingMoreThanAsked) {
    Bytes replyData;  // what the camera answers to every read
    mb_.Override([&replyData](size_t, const SeenFrame& frame) -> std::optional<Bytes> {
        return AckAndMbReply(frame.commandId, replyData);
    });
    std::vector<uint16_t> buffer(8, 0xAAAA);
    uint16_t entriesRead = 0x5555;

    // No progress: one request, then the transfer ends instead of asking forever.
    ASSERT_EQ(
        tvr_LUTMassRead2(kRs232, kPort, kTableCommand, 0, 0, 0, 0, 4, &entriesRead, buffer.data()),
        0);
    EXPECT_EQ(mb_.Frames().size(), 1u);

    // Six entries for a request of four: nothing lands past the four asked for.
    replyData = LittleEndian({1, 2, 3, 4, 5, 6});
    EXPECT_EQ(
        tvr_LUTMassRead2(kRs232, kPort, kTableCommand, 0, 0, 0, 0, 4, &entriesRead, buffer.data()),
        0);
    EXPECT_EQ(tvr_FpnPrnuTablesMassRead2(kRs232, kPort, kTableCommand, 0, 0, 0, 4, buffer.data()),
              0);
    EXPECT_EQ(buffer[4], 0xAAAA);
    EXPECT_EQ(buffer[5], 0xAAAA);
    EXPECT_EQ(entriesRead, 0x5555);
}

TEST_F(BulkMbTransfer, FailureInTheMiddleStopsAndKeepsTheChunksAlreadySent) {
    const auto table = Pattern(2000, 3);
    size_t statusReads = 0;
    mb_.Override([&statusReads](size_t, const SeenFrame& frame) -> std::optional<Bytes> {
        if (!frame.read) return std::nullopt;
        if (++statusReads < 3) return std::nullopt;
        return AckAndMbReply(frame.commandId, {0x01});  // camera reports an error
    });
    EXPECT_EQ(tvr_LUTMassWrite2(kRs232, kPort, kTableCommand, kStatusCommand, 0, 0, 0, 2000,
                                table.data()),
              0);
    EXPECT_EQ(WrittenChunks(0), (std::vector<Chunk>{{0, 512}, {512, 512}, {1024, 512}}));
    const auto stored = mb_.Table(0);
    EXPECT_TRUE(std::equal(table.begin(), table.begin() + 1536, stored.begin()));
    EXPECT_EQ(stored[1536], 0);
}

TEST_F(BulkMbTransfer, ChunkWriteRefusedOrStatusNotOneZeroByteFailsTheTransfer) {
    const auto table = Pattern(600, 3);
    // NAK for the second chunk: no status read follows it.
    mb_.Override([](size_t index, const SeenFrame&) -> std::optional<Bytes> {
        if (index == 2) return Bytes{0x15};
        return std::nullopt;
    });
    EXPECT_EQ(
        tvr_LUTMassWrite2(kRs232, kPort, kTableCommand, kStatusCommand, 0, 0, 0, 600, table.data()),
        0);
    EXPECT_EQ(mb_.Frames().size(), 3u);

    for (const Bytes& status : {Bytes{}, Bytes{0, 0}}) {
        mb_.Override([status](size_t, const SeenFrame& frame) -> std::optional<Bytes> {
            if (!frame.read) return std::nullopt;
            return AckAndMbReply(frame.commandId, status);
        });
        const size_t before = mb_.Frames().size();
        EXPECT_EQ(tvr_FpnPrnuTablesMassWrite2(kRs232, kPort, kTableCommand, kStatusCommand, 0, 0,
                                              600, table.data()),
                  0)
            << "status of " << status.size() << " bytes";
        EXPECT_EQ(mb_.Frames().size(), before + 2);
    }
}

TEST_F(BulkMbTransfer, VectorDataTravelsAsOneBlockOfAtMostTenRecords) {
    const Bytes records = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
    std::vector<uint16_t> data(6);
    std::memcpy(data.data(), records.data(), records.size());
    ASSERT_EQ(
        tvr_LUTMassWrite2(kRs232, kPort, kTableCommand, kStatusCommand, 3, 1, 0, 3, data.data()),
        1);
    std::vector<uint16_t> eleven(22);
    EXPECT_EQ(
        tvr_LUTMassWrite2(kRs232, kPort, kTableCommand, kStatusCommand, 3, 1, 0, 11, eleven.data()),
        0);
    auto frames = mb_.Frames();
    ASSERT_EQ(frames.size(), 2u);  // the 11-record write never reached the camera
    Bytes expected = {3, 1, 3, 0};
    expected.insert(expected.end(), records.begin(), records.end());
    EXPECT_EQ(frames[0].data, expected);
    EXPECT_FALSE(frames[0].read);
    EXPECT_EQ(frames[1].commandId, kStatusCommand);

    // Reading: the camera says how many records it has; the count passed plays no part.
    mb_.SetVectorReply({2, 0, 0xA1, 0xA2, 0xA3, 0xA4, 0xB1, 0xB2, 0xB3, 0xB4});
    std::vector<uint16_t> back(20, 0xEEEE);
    uint16_t entriesRead = 0;
    ASSERT_EQ(
        tvr_LUTMassRead2(kRs232, kPort, kTableCommand, 0, 3, 1, 0, 0, &entriesRead, back.data()),
        1);
    EXPECT_EQ(entriesRead, 2);
    Bytes got(8);
    std::memcpy(got.data(), back.data(), got.size());
    EXPECT_EQ(got, (Bytes{0xA1, 0xA2, 0xA3, 0xA4, 0xB1, 0xB2, 0xB3, 0xB4}));
    EXPECT_EQ(back[4], 0xEEEE);
    frames = mb_.Frames();
    EXPECT_TRUE(frames.back().read);
    EXPECT_EQ(frames.back().data, (Bytes{3, 1}));

    // Eleven records, or fewer bytes than the records announced, are refused.
    Bytes tooMany = {11, 0};
    tooMany.resize(2 + 40);
    for (const Bytes& reply : {tooMany, Bytes{3, 0, 1, 2, 3, 4, 5, 6, 7, 8}}) {
        mb_.SetVectorReply(reply);
        entriesRead = 0x5555;
        EXPECT_EQ(tvr_LUTMassRead2(kRs232, kPort, kTableCommand, 0, 3, 1, 0, 0, &entriesRead,
                                   back.data()),
                  0);
        EXPECT_EQ(entriesRead, 0x5555);
    }
}

TEST_F(BulkMbTransfer, BadArgumentsAndKernelMismatchesNeverReachTheCamera) {
    std::vector<uint16_t> data(16, 1);
    uint16_t value = 0;
    EXPECT_EQ(tvr_LUTMassWrite2(kRs232, kPort, kTableCommand, kStatusCommand, 0, 0, 0, 4, nullptr),
              0);
    EXPECT_EQ(
        tvr_LUTMassWrite2(kRs232, kPort, kTableCommand, kStatusCommand, 0, 0, 0, 0, data.data()),
        0);
    EXPECT_EQ(
        tvr_LUTMassWrite2(kRs232, kPort, kTableCommand, kStatusCommand, 0, 0, -1, 4, data.data()),
        0);
    EXPECT_EQ(
        tvr_LUTMassWrite2(kRs232, kPort, kTableCommand, kStatusCommand, 0, 2, 0, 4, data.data()),
        0);
    EXPECT_EQ(tvr_LUTMassRead2(kRs232, kPort, kTableCommand, 0, 0, 0, 0, 4, nullptr, nullptr), 0);
    EXPECT_EQ(tvr_LUTMassRead2(kRs232, kPort, kTableCommand, 0, 0, 0, 0, 0, nullptr, data.data()),
              0);
    EXPECT_EQ(tvr_LUTMassRead2(kRs232, kPort, kTableCommand, 0, 0, 0, -5, 4, nullptr, data.data()),
              0);
    EXPECT_EQ(tvr_FpnPrnuTablesMassWrite2(kRs232, kPort, kTableCommand, kStatusCommand, 2, 0, 4,
                                          data.data()),
              0);
    EXPECT_EQ(tvr_FpnPrnuTablesMassRead2(kRs232, kPort, kTableCommand, 0, 3, 0, 4, data.data()), 0);
    EXPECT_EQ(tvr_FpnPrnuTablesMassRead2(kRs232, kPort, kTableCommand, 0, 0, 0, -1, data.data()),
              0);
    EXPECT_EQ(tvr_OnePixelRead(kRs232, kPort, 0x50, 0, 1, &value), 0);  // short frames only
    EXPECT_EQ(tvr_LUTMassWrite(kRs232, kPort + 1, kTableCommand, 0, 4, data.data()), 0);
    EXPECT_EQ(tvr_LUTMassWrite(2, kPort, kTableCommand, 0, 4, data.data()), 0);

    // The first frame the camera sees is the one-pixel write, an MB frame on this port.
    ASSERT_EQ(tvr_OnePixelWriteNew(kRs232, kPort, 0x50, 2, 0x1234, 0xBEEF), 1);
    const auto frames = mb_.Frames();
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(frames[0].commandId, 0x50);
    EXPECT_FALSE(frames[0].read);
    EXPECT_EQ(frames[0].data, (Bytes{2, 0x34, 0x12, 0xEF, 0xBE}));
}

}  // namespace
}  // namespace velterra::test

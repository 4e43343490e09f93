// Short-frame, MB and unframed exchanges over a clser library: the bytes, the calls and their
// time-outs, and what the caller's buffer holds afterwards.
#include <gtest/gtest.h>

#include <numeric>

#include "FrameCodec.h"
#include "OwnProcess.h"
#include "clport.h"

using namespace velterra::test;
namespace codec = velterra::codec;

namespace {

constexpr const char* kFullIni = "[DLL]\n0=clsertestfull.dll\n";
using Bytes = std::vector<uint8_t>;

// The lines of `calls` that record reads or writes, without the reads of time-out 0 that
// clear the line.
std::string Transfers(const std::string& calls) {
    std::string out;
    size_t start = 0;
    while (start < calls.size()) {
        const size_t end = calls.find('\n', start);
        const std::string line = calls.substr(start, end - start);
        const bool clearing = line.size() > 2 && line.compare(line.size() - 2, 2, " 0") == 0;
        if (!clearing && (line.find(" read ") != std::string::npos ||
                          line.find(" write ") != std::string::npos)) {
            out += line + "\n";
        }
        start = end + 1;
    }
    return out;
}

}  // namespace

TEST(ClExchange, ShortFrameWritesAndReadsWithTheirTimeOuts) {
    const ChildResult run = RunInOwnProcess(kFullIni, [](const std::filesystem::path&) {
        std::string out = OpenEach({0}) + "\n";
        uint8_t data[3] = {1, 2, 3};
        FeedLine("full", 0, {codec::kAck});
        out += std::to_string(CLS_CommandPort(0, 0x10, 3, data)) + "\n";
        FeedLine("full", 0, {codec::kNak});
        out += std::to_string(CLS_CommandPort(0, 0x10, 3, data)) + "\n";
        FeedLine("full", 0, {0x41});
        out += std::to_string(CLS_CommandPort(0, 0x10, 3, data)) + "\n";

        Bytes reply = codec::EncodeShortReply(0x21, Bytes{9, 8, 7, 6});
        reply.insert(reply.begin(), codec::kAck);
        FeedLine("full", 0, reply);
        uint8_t got[4] = {0xEE, 0xEE, 0xEE, 0xEE};
        out += std::to_string(CLS_ReadWritePort(0, 0, 0x21, 4, got));
        out += " " + Hex(got, 4) + "\n";
        out += Hex(WrittenToLine("full", 0));
        return out;
    });
    ASSERT_EQ(run.failure, "");
    EXPECT_EQ(run.output,
              "0:1\n1\n0\n0\n1 09 08 07 06\n"
              "02 10 03 01 02 03 13 03 02 10 03 01 02 03 13 03 02 10 03 01 02 03 13 03 "
              "02 21 84 A5 03");
    EXPECT_EQ(Transfers(run.calls),
              "full write 0 8 400\nfull read 0 1 400\n"
              "full write 0 8 400\nfull read 0 1 400\n"
              "full write 0 8 400\nfull read 0 1 400\n"
              "full write 0 5 400\nfull read 0 1 400\nfull read 0 9 400\n");
}

TEST(ClExchange, ShortFrameReadWithoutItsWholeReplyFailsAndKeepsTheBuffer) {
    const ChildResult run = RunInOwnProcess(kFullIni, [](const std::filesystem::path&) {
        std::string out = OpenEach({0}) + " ";
        uint8_t got[4] = {0xEE, 0xEE, 0xEE, 0xEE};
        FeedLine("full", 0, {codec::kAck, 0x02, 0x21, 0x04, 9, 8, 7});
        out += std::to_string(CLS_ReadWritePort(0, 0, 0x21, 4, got));
        out += " " + Hex(got, 4);
        out += " " + std::to_string(CLS_ReadWritePort(0, 0, 0x21, 4, got));
        out += " " + Hex(got, 4);
        return out;
    });
    ASSERT_EQ(run.failure, "");
    EXPECT_EQ(run.output, "0:1 0 EE EE EE EE 0 EE EE EE EE");
}

TEST(ClExchange, FramedExchangesKeepToTheirKernelAndToFrameableLengths) {
    const ChildResult run = RunInOwnProcess(kFullIni, [](const std::filesystem::path&) {
        std::string out = OpenEach({0}, 9600, 0) + " " + OpenEach({1}, 9600, 1) + " ";
        uint8_t data[200] = {};
        auto add = [&out](int32_t result) { out += std::to_string(result); };
        FeedLine("full", 0, {codec::kAck, codec::kAck});
        FeedLine("full", 1, {codec::kAck, codec::kAck});
        add(CLS_ReadWritePort(1, 1, 0x10, 1, data));     // kernel 1 port
        add(CLS_CommandPort_MB(0, 0x10, 1, data));       // kernel 0 port
        add(CLS_CommandPort(0, 0x10, 128, data));        // bit 7 is the read flag
        add(CLS_CommandPort(0, 0x10, 2, nullptr));       // no data to send
        add(CLS_ReadWritePort(5, 1, 0x10, 1, data));     // never opened
        add(CLS_CommandPort_MB(1, 0x10, 0x8000, data));  // bit 15 is the read flag
        out += " " + std::to_string(WrittenToLine("full", 0).size()) + " " +
               std::to_string(WrittenToLine("full", 1).size());
        return out;
    });
    ASSERT_EQ(run.failure, "");
    EXPECT_EQ(run.output, "0:1 1:1 000000 0 0") << "nothing may reach the line";
}

TEST(ClExchange, MbExchangeChecksTheReplyAndFillsOnlyOnSuccess) {
    const ChildResult run = RunInOwnProcess(kFullIni, [](const std::filesystem::path&) {
        std::string out = OpenEach({1}, 115200, 1) + "\n";
        const Bytes position = {0x00, 0x01};
        auto exchange = [&](const Bytes& answer, uint16_t readLength) {
            FeedLine("full", 1, answer);
            uint8_t got[8] = {0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE};
            uint16_t length = 0xEEEE;
            const int32_t result =
                CLS_ReadWritePort_MB(1, 0, 0x5A, 2, position.data(), readLength, &length, got);
            out += std::to_string(result) + " " + std::to_string(length) + " " + Hex(got, 8) + "\n";
        };
        Bytes good = codec::EncodeMbReply(0x5A, Bytes{1, 2, 3, 4, 5});
        good.insert(good.begin(), codec::kAck);
        exchange(good, 8);
        Bytes badSum = good;
        badSum[badSum.size() - 2] ^= 0xFF;
        exchange(badSum, 8);
        Bytes readFlag = good;
        readFlag[3] |= 0x80;
        exchange(Bytes(readFlag.begin(), readFlag.begin() + 5), 8);
        FeedLine("full", 1, {codec::kAck});
        out += std::to_string(CLS_CommandPort_MB(1, 0x33, 2, position.data())) + "\n";
        exchange(good, 4);  // longer than the caller's buffer
        exchange(good, 8);  // the refused reply's unread rest is not taken for this one's
        out += Hex(WrittenToLine("full", 1)).substr(0, 8 * 3 - 1);
        return out;
    });
    ASSERT_EQ(run.failure, "");
    EXPECT_EQ(run.output,
              "1:1\n"
              "1 5 01 02 03 04 05 EE EE EE\n"
              "0 61166 EE EE EE EE EE EE EE EE\n"
              "0 61166 EE EE EE EE EE EE EE EE\n"
              "1\n"
              "0 61166 EE EE EE EE EE EE EE EE\n"
              "1 5 01 02 03 04 05 EE EE EE\n"
              "02 5A 80 02 00 01 D9 03");
}

TEST(ClExchange, UnframedTransfersMoveInPiecesWithTheirTimeOut) {
    const ChildResult run = RunInOwnProcess(kFullIni, [](const std::filesystem::path&) {
        std::string out = OpenEach({0}, 9600, 1) + " ";
        Bytes block(5000);
        std::iota(block.begin(), block.end(), 0);
        uint8_t none = 0;
        out += std::to_string(CLS_ReadWritePortDirect(0, 1, 0, &none));
        out += std::to_string(CLS_ReadWritePortDirect(0, 0, -1, &none));
        out += std::to_string(CLS_ReadWritePortDirect(0, 1, 5, nullptr));
        out += std::to_string(CLS_ReadWritePortDirect(3, 1, 5, block.data()));
        out += std::to_string(CLS_ReadWritePortDirect(0, 1, 5000, block.data()));
        out += WrittenToLine("full", 0) == block ? " same" : " differs";
        return out;
    });
    ASSERT_EQ(run.failure, "");
    EXPECT_EQ(run.output, "0:1 00001 same");
    EXPECT_EQ(Transfers(run.calls),
              "full write 0 2040 60000\nfull write 0 2040 60000\nfull write 0 920 60000\n");
}

TEST(ClExchange, UnframedReadAsksAgainForWhatIsStillMissing) {
    const ChildResult run =
        RunInOwnProcess(kFullIni,
                        [](const std::filesystem::path&) {
                            std::string out = OpenEach({0}) + " ";
                            FeedLine("full", 0, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10});
                            uint8_t got[10] = {};
                            out += std::to_string(CLS_ReadWritePortDirect(0, 0, 10, got));
                            out += " " + Hex(got, 10);
                            // A library that keeps reporting success without bytes ends the read,
                            // not the test.
                            out += " " + std::to_string(CLS_ReadWritePortDirect(0, 0, 1, got));
                            return out;
                        },
                        {{"VELTERRA_TESTCLSER_READ_PIECE", "4"}});
    ASSERT_EQ(run.failure, "");
    EXPECT_EQ(run.output, "0:1 1 01 02 03 04 05 06 07 08 09 0A 0");
    EXPECT_EQ(Transfers(run.calls),
              "full read 0 10 60000\nfull read 0 6 60000\nfull read 0 2 60000\n"
              "full read 0 1 60000\n");
}

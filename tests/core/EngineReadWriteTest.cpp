// Parameter reads and writes of the document against a scripted camera: the bytes on the wire,
// the value texts, the connection-log messages, and the cases where nothing may be sent.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <deque>
#include <thread>

#include "EngineTestSupport.h"

using namespace velterra;

namespace enginetest {
namespace {

using Kind = Call::Kind;

class ReadWriteTest : public ::testing::Test, public EngineFixture {
  protected:
    // One block "Block" with the given rows.
    void Table(std::vector<RowInfo> rows) {
        doc.Blocks.clear();
        doc.Blocks.push_back(Block("Block", std::move(rows)));
        doc.BlockCount = 1;
    }
    CommandInfo& Command(int row) { return *doc.Blocks[0].Rows[row].Command; }
};

TEST_F(ReadWriteTest, NumberWriteSendsLowBytesAndShowsTheGivenValue) {
    Table({});
    doc.Blocks[0].Rows.push_back(Row("Period", Number(0xA6, 2, 0, 100)));
    doc.Blocks[0].RowCount = 1;
    // No range check in the engine: 70000 with two bytes sends 0x11170's low bytes.
    EXPECT_EQ(doc.WriteParameter(0, 0, "70000"), 1);
    const auto calls = camera.Calls();
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].kind, Kind::ReadWrite);
    EXPECT_EQ(calls[0].type, 1);   // slot 7 carries the RS-232 tag
    EXPECT_EQ(calls[0].index, 1);  // COM2
    EXPECT_EQ(calls[0].write, 1);
    EXPECT_EQ(calls[0].command, 0xA6);
    EXPECT_EQ(calls[0].data, (Bytes{0x70, 0x11}));
    EXPECT_EQ(Command(0).ValueText, "70000");

    // Text without leading digits writes 0, as atol reads it; a negative text wraps.
    EXPECT_EQ(doc.WriteParameter(0, 0, "abc"), 1);
    EXPECT_EQ(camera.Calls().back().data, (Bytes{0, 0}));
    EXPECT_EQ(Command(0).ValueText, "0");
    EXPECT_EQ(doc.WriteParameter(0, 0, "-1"), 1);
    EXPECT_EQ(camera.Calls().back().data, (Bytes{0xFF, 0xFF}));
    EXPECT_EQ(Command(0).ValueText, "4294967295");
}

TEST_F(ReadWriteTest, FourByteValuesAboveTheSignedRangeAreWrittenWhole) {
    Table({});
    doc.Blocks[0].Rows.push_back(Row("Counter", Number(0x13, 4, 0, 0xFFFFFFFF)));
    doc.Blocks[0].RowCount = 1;
    // The document shows such values with "%u"; writing its own text back must keep them.
    EXPECT_EQ(doc.WriteParameter(0, 0, "3000000000"), 1);
    EXPECT_EQ(camera.Calls().back().data, (Bytes{0x00, 0x5E, 0xD0, 0xB2}));
    EXPECT_EQ(Command(0).ValueText, "3000000000");
    EXPECT_EQ(doc.WriteParameter(0, 0, "4294967295"), 1);
    EXPECT_EQ(camera.Calls().back().data, (Bytes{0xFF, 0xFF, 0xFF, 0xFF}));
    EXPECT_EQ(doc.WriteParameter(0, 0, "99999999999"), 1);  // beyond 32 bits: the largest
    EXPECT_EQ(camera.Calls().back().data, (Bytes{0xFF, 0xFF, 0xFF, 0xFF}));
    EXPECT_EQ(doc.WriteParameter(0, 0, "-5"), 1);
    EXPECT_EQ(camera.Calls().back().data, (Bytes{0xFB, 0xFF, 0xFF, 0xFF}));
}

TEST_F(ReadWriteTest, NumberReadIsLittleEndianAndOutOfRangeShowsNotAvailableWhenWritable) {
    std::vector<RowInfo> rows;
    rows.push_back(Row("Two bytes", Number(0x10, 2, 0, 0xFFFF)));
    rows.push_back(Row("Writable", Number(0x11, 1, 5, 100)));
    rows.push_back(Row("Read-only", Number(0x12, 1, 5, 100, false)));
    rows.push_back(Row("Four bytes", Number(0x13, 4, 0, 0xFFFFFFFF)));
    Table(std::move(rows));
    camera.values[0x10] = {0x34, 0x12};
    camera.values[0x13] = {0x78, 0x56, 0x34, 0x12};
    EXPECT_EQ(doc.ReadParameter(0, 0), 1);
    EXPECT_EQ(Command(0).ValueText, "4660");
    EXPECT_EQ(doc.ReadParameter(0, 3), 1);
    EXPECT_EQ(Command(3).ValueText, "305419896");

    const std::vector<std::pair<uint8_t, std::string>> writable = {
        {101, "[N/A]"}, {100, "100"}, {5, "5"}, {4, "[N/A]"}};
    for (const auto& [byte, shown] : writable) {
        camera.values[0x11] = {byte};
        EXPECT_EQ(doc.ReadParameter(0, 1), 1);
        EXPECT_EQ(Command(1).ValueText, shown) << int(byte);
    }
    camera.values[0x12] = {101};
    EXPECT_EQ(doc.ReadParameter(0, 2), 1);
    EXPECT_EQ(Command(2).ValueText, "101");
    camera.values[0x12] = {4};
    EXPECT_EQ(doc.ReadParameter(0, 2), 1);
    EXPECT_EQ(Command(2).ValueText, "4");

    for (const Call& call : camera.Calls()) {
        EXPECT_EQ(call.write, 0);
        EXPECT_TRUE(call.data.empty());  // a read never sends data
    }
}

TEST_F(ReadWriteTest, TextWriteIsCutAndPaddedToCharLengthAndReadStopsAtZero) {
    std::vector<RowInfo> rows;
    rows.push_back(Row("Short", Text(0x20, 4)));
    rows.push_back(Row("Padded", Text(0x21, 6)));
    Table(std::move(rows));
    EXPECT_EQ(doc.WriteParameter(0, 0, "ABCDEFGH"), 1);
    EXPECT_EQ(camera.Calls().back().data, TextBytes("ABCD"));
    EXPECT_EQ(Command(0).ValueText, "ABCD");
    EXPECT_EQ(doc.WriteParameter(0, 1, "AB"), 1);
    EXPECT_EQ(camera.Calls().back().data, (Bytes{'A', 'B', 0, 0, 0, 0}));
    EXPECT_EQ(Command(1).ValueText, "AB");

    camera.values[0x21] = {'x', 'y', 0, 'z', 'w', 'v'};
    EXPECT_EQ(doc.ReadParameter(0, 1), 1);
    EXPECT_EQ(Command(1).ValueText, "xy");
    camera.values[0x20] = TextBytes("WXYZ");  // no zero: CharLength characters
    EXPECT_EQ(doc.ReadParameter(0, 0), 1);
    EXPECT_EQ(Command(0).ValueText, "WXYZ");
}

TEST_F(ReadWriteTest, LongTextParameterIsExchangedWholeAndShownCutToTheField) {
    Table({});
    doc.Blocks[0].Rows.push_back(Row("Long", Text(0x22, 100)));
    doc.Blocks[0].RowCount = 1;
    camera.values[0x22] = Bytes(100, 'q');
    EXPECT_EQ(doc.ReadParameter(0, 0), 1);
    EXPECT_EQ(camera.Calls().back().length, 100u);
    EXPECT_EQ(Command(0).ValueText, std::string(63, 'q'));
    EXPECT_EQ(doc.WriteParameter(0, 0, std::string(80, 'r')), 1);
    EXPECT_EQ(camera.Calls().back().data.size(), 100u);
    EXPECT_EQ(Command(0).ValueText, std::string(63, 'r'));
}

TEST_F(ReadWriteTest, ListItemsMapBytesToTexts) {
    Table({});
    doc.Blocks[0].Rows.push_back(
        Row("Mode", List(0xA1, {{0, "Free Run"}, {1, "Timed"}, {1, "Timed again"}})));
    doc.Blocks[0].RowCount = 1;

    camera.values[0xA1] = {1};
    EXPECT_EQ(doc.ReadParameter(0, 0), 1);
    EXPECT_EQ(Command(0).ValueText, "Timed");  // the first item with the value
    camera.values[0xA1] = {7};
    EXPECT_EQ(doc.ReadParameter(0, 0), 1);
    EXPECT_EQ(Command(0).ValueText, "[N/A]");
    // A list read carries no waits and no data.
    EXPECT_EQ(camera.Calls().back().length, 1u);

    EXPECT_EQ(doc.WriteParameter(0, 0, "Free Run"), 1);
    EXPECT_EQ(camera.Calls().back().data, Bytes{0});
    EXPECT_EQ(Command(0).ValueText, "Free Run");

    camera.ClearCalls();
    EXPECT_EQ(doc.WriteParameter(0, 0, "free run"), 0);  // exact match only
    EXPECT_EQ(doc.WriteParameter(0, 0, "Unknown"), 0);
    EXPECT_TRUE(camera.Calls().empty());
    EXPECT_TRUE(view.Messages().empty());
    EXPECT_EQ(Command(0).ValueText, "Free Run");
}

TEST_F(ReadWriteTest, ListItemsSharingATextAreTriedInOrderUntilOneWriteSucceeds) {
    Table({});
    doc.Blocks[0].Rows.push_back(Row("Dup", List(0x30, {{4, "Same"}, {9, "Same"}, {12, "Same"}})));
    doc.Blocks[0].RowCount = 1;

    EXPECT_EQ(doc.WriteParameter(0, 0, "Same"), 1);
    ASSERT_EQ(camera.Calls().size(), 1u);
    EXPECT_EQ(camera.Calls()[0].data, Bytes{4});

    camera.ClearCalls();
    camera.writeResults = {0, 1};
    EXPECT_EQ(doc.WriteParameter(0, 0, "Same"), 1);
    const auto calls = camera.Calls();
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0].data, Bytes{4});
    EXPECT_EQ(calls[1].data, Bytes{9});
    EXPECT_EQ(
        view.Messages(),
        (std::vector<std::string>{"Writing [Block]->[Dup] to COM2 (drop-item [Same]) is failed!"}));

    camera.ClearCalls();
    camera.writeResults = {0, 0, 0};
    EXPECT_EQ(doc.WriteParameter(0, 0, "Same"), 0);
    EXPECT_EQ(camera.Calls().size(), 3u);
    EXPECT_EQ(view.Messages().size(), 4u);  // one per failed item
}

TEST_F(ReadWriteTest, EveryFailureLogsItsMessageWithHintThree) {
    std::vector<RowInfo> rows;
    rows.push_back(Row("Gain", Number(0x40, 2, 0, 1000)));
    rows.push_back(Row("Name", Text(0x41, 8)));
    rows.push_back(Row("Mode", List(0x42, {{0, "Off"}, {1, "On"}})));
    Table(std::move(rows));
    Command(0).ValueText = "old";
    Command(1).ValueText = "old";
    Command(2).ValueText = "On";
    camera.failingReads = {0x40, 0x41, 0x42};
    camera.failingWrites = {0x40, 0x41, 0x42};

    EXPECT_EQ(doc.ReadParameter(0, 0), 0);
    EXPECT_EQ(Command(0).ValueText, "");  // cleared before the read
    EXPECT_EQ(doc.ReadParameter(0, 1), 0);
    EXPECT_EQ(Command(1).ValueText, "");
    EXPECT_EQ(doc.ReadParameter(0, 2), 0);
    EXPECT_EQ(Command(2).ValueText, "On");  // a list keeps its text
    Command(0).ValueText = Command(1).ValueText = "kept";
    EXPECT_EQ(doc.WriteParameter(0, 0, "1234"), 0);
    EXPECT_EQ(doc.WriteParameter(0, 1, "hello"), 0);
    EXPECT_EQ(doc.WriteParameter(0, 2, "Off"), 0);
    EXPECT_EQ(Command(0).ValueText, "kept");
    EXPECT_EQ(Command(1).ValueText, "kept");
    EXPECT_EQ(Command(2).ValueText, "On");

    EXPECT_EQ(view.Messages(), (std::vector<std::string>{
                                   "Reading [Block]->[Gain] from COM2 (value) is failed!",
                                   "Reading [Block]->[Name] from COM2 (string) is failed!",
                                   "Reading [Block]->[Mode] from COM2 (drop-item) is failed!",
                                   "Writing [Block]->[Gain] to COM2 (value [1234]) is failed!",
                                   "Writing [Block]->[Name] to COM2 (string [hello]) is failed!",
                                   "Writing [Block]->[Mode] to COM2 (drop-item [Off]) is failed!",
                               }));
    EXPECT_EQ(view.Hints(), (std::vector<int>{3, 3, 3, 3, 3, 3}));
    EXPECT_TRUE(ui.messages.empty());  // log lines, never boxes
}

TEST_F(ReadWriteTest, NothingIsSentWithoutPortTableCommandOrWritableTarget) {
    std::vector<RowInfo> rows;
    rows.push_back(Row("Gain", Number(0x40, 2, 0, 1000)));
    rows.push_back(Row("Fixed", Number(0x41, 2, 0, 1000, false)));
    rows.push_back(Row("Fixed list", List(0x42, {{0, "A"}}, false)));
    rows.push_back(Row("Fixed text", Text(0x43, 4, false)));
    rows.push_back(RowInfo{"", "[Unknown]", nullptr});
    Table(std::move(rows));
    doc.Blocks.push_back(Block("Empty", {}));

    EXPECT_EQ(doc.WriteParameter(0, 1, "5"), 0);
    EXPECT_EQ(doc.WriteParameter(0, 2, "A"), 0);
    EXPECT_EQ(doc.WriteParameter(0, 3, "abcd"), 0);
    EXPECT_EQ(doc.ReadWriteParameter(0, 0, true, nullptr), 0);
    EXPECT_EQ(doc.ReadWriteParameter(0, 2, true, nullptr), 0);
    EXPECT_EQ(doc.ReadParameter(0, 4), 0);
    EXPECT_EQ(doc.ReadParameter(1, 0), 0);
    // Indices outside the table do nothing.
    EXPECT_EQ(doc.ReadParameter(0, 5), 0);
    EXPECT_EQ(doc.ReadParameter(2, 0), 0);
    EXPECT_EQ(doc.ReadParameter(-1, 0), 0);
    doc.PortIndex = -1;
    EXPECT_EQ(doc.ReadParameter(0, 0), 0);
    EXPECT_EQ(doc.WriteParameter(0, 0, "5"), 0);
    doc.PortIndex = 7;
    doc.FreeCommandTable();
    EXPECT_EQ(doc.ReadParameter(0, 0), 0);

    EXPECT_TRUE(camera.Calls().empty());
    EXPECT_TRUE(view.updates.empty());
}

TEST_F(ReadWriteTest, PortTypeAndNumberComeFromTheSlotTag) {
    Table({});
    doc.Blocks[0].Rows.push_back(Row("Gain", Number(0x40, 1, 0, 100)));
    doc.Blocks[0].RowCount = 1;
    camera.failingReads = {0x40};

    doc.PortIndex = 3;
    EXPECT_EQ(doc.ReadParameter(0, 0), 0);
    EXPECT_EQ(camera.Calls().back().type, 0);
    EXPECT_EQ(camera.Calls().back().index, 3);
    EXPECT_EQ(view.Messages().back(), "Reading [Block]->[Gain] from clser-3 (value) is failed!");
    EXPECT_EQ(doc.PortName(), "clser-3");

    doc.PortIndex = 9;
    EXPECT_EQ(doc.ReadParameter(0, 0), 0);
    EXPECT_EQ(camera.Calls().back().type, 1);
    EXPECT_EQ(camera.Calls().back().index, 3);
    EXPECT_EQ(view.Messages().back(), "Reading [Block]->[Gain] from COM4 (value) is failed!");

    // An unknown tag leaves the port type as it was.
    registry->WriteTags();
    doc.SetPortTypeFromTag("XYZ");
    EXPECT_EQ(doc.PortType, 1);
    doc.SetPortTypeFromTag("CLS");
    EXPECT_EQ(doc.PortType, 0);
    doc.SetPortTypeFromTag("RSCX");
    EXPECT_EQ(doc.PortType, 0);
}

TEST_F(ReadWriteTest, KernelOneUsesTheLongExchange) {
    std::vector<RowInfo> rows;
    rows.push_back(Row("Gain", Number(0x40, 3, 0, 0xFFFFFF)));
    Table(std::move(rows));
    doc.CameraKernel = 1;
    camera.values[0x40] = {1, 2, 3};
    EXPECT_EQ(doc.ReadParameter(0, 0), 1);
    EXPECT_EQ(Command(0).ValueText, std::to_string(0x030201));
    EXPECT_EQ(doc.WriteParameter(0, 0, "258"), 1);
    const auto calls = camera.Calls();
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0].kind, Kind::ReadWrite2);
    EXPECT_EQ(calls[0].write, 0);
    EXPECT_EQ(calls[0].length, 3u);
    EXPECT_EQ(calls[1].kind, Kind::ReadWrite2);
    EXPECT_EQ(calls[1].data, (Bytes{2, 1, 0}));
}

TEST_F(ReadWriteTest, EveryCallIsMadeUnderThePortLockAndValueReadsKeepItThroughTheirWaits) {
    std::vector<RowInfo> rows;
    rows.push_back(Row("Gain", Number(0x40, 1, 0, 100)));
    rows.push_back(Row("Mode", List(0x42, {{0, "Off"}})));
    Table(std::move(rows));
    using Clock = std::chrono::steady_clock;
    Clock::time_point callTime;
    Clock::time_point lockedTime;
    std::thread locker;
    camera.duringCall = [&](const Call&) {
        callTime = Clock::now();
        locker = std::thread([&] {
            std::lock_guard hold(doc.PortLock);
            lockedTime = Clock::now();
        });
    };
    const auto start = Clock::now();
    EXPECT_EQ(doc.ReadParameter(0, 0), 1);
    const auto end = Clock::now();
    locker.join();
    EXPECT_GE(callTime - start, std::chrono::milliseconds(20));
    EXPECT_GE(end - callTime, std::chrono::milliseconds(20));
    // The wait after the call still holds the lock.
    EXPECT_GE(lockedTime - callTime, std::chrono::milliseconds(19));

    // Lists and writes add no waits, but their calls run under the lock too: a thread started
    // during the call cannot take it until the call has returned.
    std::deque<std::atomic<bool>> taken;
    std::vector<std::thread> lockers;
    camera.duringCall = [&](const Call&) {
        std::atomic<bool>& flag = taken.emplace_back(false);
        lockers.emplace_back([&doc = doc, &flag] {
            std::lock_guard hold(doc.PortLock);
            flag = true;
        });
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
        EXPECT_FALSE(flag) << "the call ran without the port lock";
    };
    EXPECT_EQ(doc.ReadParameter(0, 1), 1);
    EXPECT_EQ(doc.WriteParameter(0, 0, "3"), 1);
    EXPECT_EQ(doc.WriteParameter(0, 1, "Off"), 1);
    for (auto& t : lockers) t.join();
    EXPECT_EQ(lockers.size(), 3u);
}

}  // namespace
}  // namespace enginetest

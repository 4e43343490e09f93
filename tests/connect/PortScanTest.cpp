// Scanning the ports, listing what a scan found, the button states and the slot of a row.
#include "PortScanTestSupport.h"

using namespace velterra;

namespace enginetest {
namespace {

using Kind = Call::Kind;
constexpr int kCom1 = 6, kCom2 = 7, kCom3 = 8, kCom4 = 9;

class PortScanTest : public PortScanFixture {};

TEST_F(PortScanTest, ScanListsThePortsThatOpenedWithTheirTexts) {
    for (int slot : {1, 2, 3, 4, 5, kCom3}) missing.insert(Port(slot));
    silent.insert(Port(kCom2));
    registry.SetOwner(kCom4, kOtherProcess);
    registry.SetOwner(3, PortRegistry::kFailed);  // failed before: probed again
    model.Data().BaudRate = 38400;

    model.ScanPorts();

    EXPECT_EQ(model.Rows(), (std::vector<PortRow>{
                                {"clser-0", "", "Existed, but disconnected"},
                                {"COM1", "", "Existed, but disconnected"},
                                {"COM2", "", "None/Busy"},
                                {"COM4", "Used by other process", ""},
                            }));
    for (int slot : {0, kCom1, kCom2}) EXPECT_EQ(registry.Owner(slot), PortRegistry::kFree);
    for (int slot : {1, 2, 3, 4, 5, kCom3}) EXPECT_EQ(registry.Owner(slot), PortRegistry::kFailed);
    // The other process's port is neither opened nor changed.
    EXPECT_EQ(registry.Owner(kCom4), kOtherProcess);
    EXPECT_TRUE(CallsOn(kCom4, Kind::Open).empty());
    EXPECT_TRUE(CallsOn(kCom4, Kind::Command).empty());
    // Each probed port is opened at the dialog's rate and closed again; failed ones not probed.
    for (int slot : {0, kCom1, kCom2}) {
        ASSERT_EQ(CallsOn(slot, Kind::Open).size(), 1u) << slot;
        EXPECT_EQ(CallsOn(slot, Kind::Open)[0].baud, 38400u);
        EXPECT_EQ(CallsOn(slot, Kind::Close).size(), 1u) << slot;
    }
    EXPECT_EQ(CallsOn(kCom2, Kind::Command).size(), 2u);  // two alive attempts
    EXPECT_TRUE(CallsOn(kCom3, Kind::Command).empty());
    EXPECT_TRUE(CallsOn(kCom3, Kind::Close).empty());
    // RS-232 slots open as port type 1, Camera Link slots as 0.
    EXPECT_EQ(CallsOn(kCom1, Kind::Open)[0].type, 1);
    EXPECT_EQ(CallsOn(0, Kind::Open)[0].type, 0);

    EXPECT_EQ(model.Buttons(), PortButtons{});
    EXPECT_EQ(model.SelectedRow(), -1);
    EXPECT_STREQ(model.CancelCaption(), "&Cancel");
    EXPECT_EQ(ui.Count("wait on"), 1);
    EXPECT_EQ(ui.Count("wait off"), 1);
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(PortScanTest, ScanningWhileConnectedClosesTheConnectedPortFirst) {
    registry.SetOwner(kCom2, self);
    registry.SetOwner(kCom3, self);  // held here too, but not the document's port
    doc.PortIndex = kCom2;
    table[kCom2].Status = ProbeStatus::kConnected;
    table[kCom2].RemoteDeviceName = "Alpha";

    model.ScanPorts();

    const auto calls = camera.Calls();
    auto firstOf = [&calls](Kind kind, int slot) {
        for (std::size_t i = 0; i < calls.size(); ++i) {
            if (calls[i].kind == kind && PortKey{calls[i].type, calls[i].index} == Port(slot))
                return static_cast<int>(i);
        }
        return -1;
    };
    ASSERT_GE(firstOf(Kind::Close, kCom2), 0);
    EXPECT_LT(firstOf(Kind::Close, kCom2), firstOf(Kind::Open, kCom2));
    EXPECT_LT(firstOf(Kind::Close, kCom3), firstOf(Kind::Open, kCom3));
    // Re-probed as a free port: the row no longer shows the connection.
    EXPECT_EQ(model.Rows()[static_cast<std::size_t>(model.RowOfSlot(kCom2))],
              (PortRow{"COM2", "", "Existed, but disconnected"}));
    EXPECT_EQ(registry.Owner(kCom2), PortRegistry::kFree);
    EXPECT_EQ(registry.Owner(kCom3), PortRegistry::kFree);
    EXPECT_EQ(model.Data().ConnectionClosed, 1);
    EXPECT_STREQ(model.CancelCaption(), "E&xit");
    EXPECT_TRUE(model.Result(OpenCameraModel::Outcome::Cancel).connectionClosed);
}

// The LED thread probes the port in use while the dialog scans the others: the scan's calls
// must not leave it with another slot's port type.
TEST_F(PortScanTest, ScanLeavesThePortTypeOfThePortInUse) {
    constexpr int kInUse = 2;  // a Camera Link port; the scan ends on the COM ports
    doc.PortIndex = kInUse;
    doc.PortType = PortSlot::kCameraLink;
    registry.SetOwner(kInUse, kOtherProcess);  // kept out of the scan, as a port held elsewhere
    model.ScanPorts();
    EXPECT_EQ(doc.PortType, PortSlot::kCameraLink);

    const std::size_t before = camera.CallsOf(Kind::Command).size();
    doc.ProbeCamera(false);
    const auto probes = camera.CallsOf(Kind::Command);
    ASSERT_EQ(probes.size(), before + 1);
    EXPECT_EQ((PortKey{probes.back().type, probes.back().index}), Port(kInUse));
}

TEST_F(PortScanTest, ListOfTheLastScanHidesFailedPortsAndTakesTheDocumentsBaudRate) {
    missing.insert(Port(kCom3));
    silent.insert(Port(kCom1));
    model.ScanPorts();
    registry.SetOwner(kCom4, kOtherProcess);  // taken by another copy since
    doc.BaudRate = 115200;
    camera.ClearCalls();

    OpenCameraModel later(doc, table);
    later.ListSearchedPorts();

    EXPECT_TRUE(camera.Calls().empty());
    EXPECT_EQ(later.Data().BaudRate, 115200);
    EXPECT_EQ(later.Rows().size(), 9u);
    EXPECT_EQ(later.RowOfSlot(kCom3), -1);
    EXPECT_EQ(later.Rows()[static_cast<std::size_t>(later.RowOfSlot(kCom1))].RemoteDevice,
              "None/Busy");
    EXPECT_EQ(later.Rows()[static_cast<std::size_t>(later.RowOfSlot(kCom4))],
              (PortRow{"COM4", "Used by other process", "Existed, but disconnected"}));
    EXPECT_EQ(later.Buttons(), PortButtons{});
}

TEST_F(PortScanTest, ButtonsFollowTheOwnerAndProbeStatusOfTheSlot) {
    struct Case {
        uint32_t owner;
        uint8_t status;
        PortButtons expected;  // Open, Close, OK
    };
    const uint32_t other = kOtherProcess, failed = PortRegistry::kFailed;
    const std::vector<Case> cases = {
        {self, 2, {false, true, true}},     {self, 1, {false, true, false}},
        {self, 0, {false, true, false}},    {self, 0xFF, {false, true, false}},
        {other, 2, {false, false, false}},  {other, 1, {false, false, false}},
        {other, 0, {false, false, false}},  {other, 0xFF, {false, false, false}},
        {failed, 2, {false, false, false}}, {failed, 1, {false, false, false}},
        {failed, 0, {false, false, false}}, {failed, 0xFF, {false, false, false}},
        {0, 2, {true, false, false}},       {0, 1, {true, false, false}},
        {0, 0, {true, false, false}},       {0, 0xFF, {false, false, false}},
    };
    for (const Case& c : cases) {
        registry.SetOwner(kCom1, c.owner);
        table[kCom1].Status = c.status;
        model.UpdatePortButtons(kCom1);
        EXPECT_EQ(model.Buttons(), c.expected) << "owner " << c.owner << " status " << +c.status;
    }
    model.UpdatePortButtons(-1);
    EXPECT_EQ(model.Buttons(), PortButtons{});
}

TEST_F(PortScanTest, RowsMapToSlotsByTheirPortNames) {
    EXPECT_EQ(OpenCameraModel::SlotOfPortName("COM3"), 8);
    EXPECT_EQ(OpenCameraModel::SlotOfPortName("clser-2"), 2);
    EXPECT_EQ(OpenCameraModel::SlotOfPortName("COM1"), 6);
    EXPECT_EQ(OpenCameraModel::SlotOfPortName("clser-5"), 5);
    // Names the list never holds give no slot rather than one past the table.
    for (const char* name : {"COM", "COM9", "clser-12", "com3", "tty0", ""})
        EXPECT_EQ(OpenCameraModel::SlotOfPortName(name), -1) << name;

    for (int slot : {1, 2, 3, 4, 5}) missing.insert(Port(slot));
    model.ScanPorts();
    ASSERT_EQ(PortNames(), (std::vector<std::string>{"clser-0", "COM1", "COM2", "COM3", "COM4"}));
    EXPECT_EQ(model.SlotOfRow(3), 8);
    EXPECT_EQ(model.RowOfSlot(8), 3);
    EXPECT_EQ(model.RowOfSlot(2), -1);
    EXPECT_EQ(model.SlotOfRow(5), -1);
    EXPECT_EQ(model.SlotOfRow(-1), -1);
}

TEST_F(PortScanTest, WithoutARegistryFailedPortsStillDropOut) {
    doc.SetPortRegistry(nullptr);
    missing.insert(Port(kCom1));
    model.ScanPorts();
    EXPECT_EQ(model.RowOfSlot(kCom1), -1);
    EXPECT_EQ(model.Rows().size(), 9u);
    // Connecting remembers the port as this process's own.
    model.ClickRow(model.RowOfSlot(kCom2));
    model.OpenSelectedPort();
    EXPECT_EQ(model.Rows()[static_cast<std::size_t>(model.RowOfSlot(kCom2))],
              (PortRow{"COM2", "Used", "Connected to [Alpha]"}));
    EXPECT_EQ(model.Buttons(), (PortButtons{false, true, true}));
}

}  // namespace
}  // namespace enginetest

// Committing an in-place edit: the write and read-back on the wire, what the list shows, and the
// line period / exposure time pair kept in proportion.
#include <gtest/gtest.h>

#include "EngineTestSupport.h"
#include "core/ValueCommit.h"

using namespace velterra;

namespace enginetest {
namespace {

using Kind = Call::Kind;

Bytes Le3(uint32_t value) {
    return {static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8),
            static_cast<uint8_t>(value >> 16)};
}

class ValueCommitTest : public ::testing::Test {
  protected:
    // List lines: 0 the group, 1 "Mode", 2 the line period, 3 the exposure time, 4 "Load Set"
    // (a write that asks for window command 37000).
    void SetUpTable(uint32_t period, uint32_t exposure, const std::string& periodName = "Period",
                    const std::string& exposureName = "Exposure") {
        std::vector<RowInfo> rows;
        rows.push_back(Row("Mode", List(0xA1, {{0, "Free Run"}, {1, "Timed"}})));
        rows.push_back(Row(periodName, Number(0xA6, 3, 0, 1000000)));
        rows.push_back(Row(exposureName, Number(0xA7, 3, 0, 1000000)));
        auto load = List(0x36, {{0, "Factory"}, {1, "User Set 1"}});
        load->HasUICommand = true;
        load->RunUICommand = 0x10000 + 37000;  // only the low 16 bits are sent
        rows.push_back(Row("Load Set", std::move(load)));
        f.doc.Blocks.clear();
        f.doc.Blocks.push_back(Block("Acquisition", std::move(rows)));
        f.doc.Blocks[0].BasicCount = 4;
        f.doc.Blocks[0].Rows[1].Command->ValueText = std::to_string(period);
        f.doc.Blocks[0].Rows[2].Command->ValueText = std::to_string(exposure);
        camera.values[0xA6] = Le3(period);
        camera.values[0xA7] = Le3(exposure);
        list.Rebuild(f.doc.Blocks, velterra::kBasicLevel);
    }
    std::vector<std::pair<uint8_t, Bytes>> Writes() const {
        std::vector<std::pair<uint8_t, Bytes>> writes;
        for (const Call& call : camera.CallsOf(Kind::ReadWrite)) {
            if (call.write) writes.emplace_back(call.command, call.data);
        }
        return writes;
    }

    EngineFixture f;
    ScriptedCamera& camera = f.camera;
    velterra::ParameterList list;
};

TEST_F(ValueCommitTest, TheRowIsWrittenReadBackAndShownAndThePairKeepsItsProportion) {
    struct Case {
        const char* what;
        uint32_t period, exposure;
        const char* periodName;
        const char* exposureName;
        int line;
        const char* text;
        std::vector<std::pair<uint8_t, Bytes>> writes;
        const char* shownPeriod;
        const char* shownExposure;
    };
    const Case cases[] = {
        {"period below the exposure scales the exposure",
         1000,
         800,
         "Period",
         "Exposure",
         2,
         "500",
         {{0xA6, Le3(500)}, {0xA7, Le3(400)}},
         "500",
         "400"},
        {"exposure above the period scales the period",
         1000,
         800,
         "Period",
         "Exposure",
         3,
         "1500",
         {{0xA7, Le3(1500)}, {0xA6, Le3(1875)}},
         "1875",
         "1500"},
        {"a pair that stays in order is left alone",
         1000,
         800,
         "Period",
         "Exposure",
         2,
         "900",
         {{0xA6, Le3(900)}},
         "900",
         "800"},
        {"line 2 named Timer 1",
         1000,
         800,
         "Timer 1",
         "Exposure",
         2,
         "500",
         {{0xA6, Le3(500)}},
         "500",
         "800"},
        {"line 3 named Timer 2",
         1000,
         800,
         "Period",
         "Timer 2",
         3,
         "1500",
         {{0xA7, Le3(1500)}},
         "1000",
         "1500"},
        {"a period of 0 gives no ratio",
         0,
         800,
         "Period",
         "Exposure",
         3,
         "1500",
         {{0xA7, Le3(1500)}},
         "0",
         "1500"},
        {"an exposure of 0 gives no usable ratio either",
         1000,
         0,
         "Period",
         "Exposure",
         3,
         "1500",
         {{0xA7, Le3(1500)}},
         "1000",
         "1500"},
    };
    for (const Case& c : cases) {
        SetUpTable(c.period, c.exposure, c.periodName, c.exposureName);
        camera.ClearCalls();
        f.ui.events.clear();
        f.doc.SetModifiedFlag(false);
        const auto outcome = velterra::CommitValueEdit(f.doc, list, c.line, c.text);
        EXPECT_TRUE(outcome.written) << c.what;
        EXPECT_EQ(outcome.coupled.has_value(), c.writes.size() == 2) << c.what;
        EXPECT_EQ(Writes(), c.writes) << c.what;
        EXPECT_EQ(list.CellText(2, 1), c.shownPeriod) << c.what;
        EXPECT_EQ(list.CellText(3, 1), c.shownExposure) << c.what;
        EXPECT_TRUE(f.doc.IsModified()) << c.what;
        // Each write is read back and restarts the settle timer.
        EXPECT_EQ(f.ui.Count("timer 750"), static_cast<int>(c.writes.size())) << c.what;
        EXPECT_EQ(camera.CallsOf(Kind::ReadWrite).size(), 2 * c.writes.size()) << c.what;
    }
}

TEST_F(ValueCommitTest, WindowCommandRowsAndTheCasesThatWriteNothing) {
    SetUpTable(1000, 800);
    auto outcome = velterra::CommitValueEdit(f.doc, list, 4, "User Set 1");
    EXPECT_TRUE(outcome.written);
    EXPECT_EQ(outcome.uiCommand, 37000);
    EXPECT_TRUE(outcome.uiCommandRun);
    EXPECT_EQ(list.CellText(4, 1), "User Set 1");
    EXPECT_EQ(Writes(), (std::vector<std::pair<uint8_t, Bytes>>{{0x36, {1}}}));
    EXPECT_EQ(camera.Calls().size(), 1u);   // no read-back,
    EXPECT_EQ(f.ui.Count("timer 750"), 0);  // no settle timer
    EXPECT_EQ(f.ui.Count("command 37000"), 1);

    // A failed write: the list keeps its text and the pair is not touched.
    camera.ClearCalls();
    camera.failingWrites = {0xA6};
    outcome = velterra::CommitValueEdit(f.doc, list, 2, "500");
    EXPECT_FALSE(outcome.written);
    EXPECT_EQ(list.CellText(2, 1), "1000");
    EXPECT_EQ(camera.CallsOf(Kind::ReadWrite).size(), 1u);

    // A group line, a line past the list, or no open port: nothing is sent.
    camera.ClearCalls();
    EXPECT_FALSE(velterra::CommitValueEdit(f.doc, list, 0, "1").written);
    EXPECT_FALSE(velterra::CommitValueEdit(f.doc, list, 9, "1").written);
    f.doc.PortIndex = -1;
    EXPECT_FALSE(velterra::CommitValueEdit(f.doc, list, 3, "900").written);
    EXPECT_TRUE(camera.Calls().empty());
}

}  // namespace
}  // namespace enginetest

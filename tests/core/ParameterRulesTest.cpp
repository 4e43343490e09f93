// The parameter list without widgets: which lines a level shows, the editor a row gets, the
// text check of the in-place edit and the slider mapping.
#include <gtest/gtest.h>

#include "EngineTestSupport.h"
#include "core/ParameterList.h"
#include "core/ValueEditRules.h"

using namespace velterra;

namespace enginetest {
namespace {

using velterra::ParameterList;
using velterra::ParameterListRow;
using velterra::ValueEditor;

std::unique_ptr<CommandInfo> AtLevel(std::unique_ptr<CommandInfo> command, int level) {
    command->EnableAdvancedLevel = level;
    return command;
}

// Block "A": rows of levels 0, 1, 0 and a row without a command; block "B": one row of level 2;
// block "C" counts no row of any level.
BlockArray LevelTable() {
    BlockArray blocks;
    std::vector<RowInfo> a;
    a.push_back(Row("a0", AtLevel(Number(0x10, 1, 0, 9), 0)));
    a.push_back(Row("a1", AtLevel(Number(0x11, 1, 0, 9), 1)));
    a.push_back(Row("a2", AtLevel(Text(0x12, 4), 0)));
    a.push_back(Row("none", nullptr));
    blocks.push_back(Block("A", std::move(a)));
    blocks[0].BasicCount = 2;
    blocks[0].AdvancedCount = 1;
    std::vector<RowInfo> b;
    b.push_back(Row("b0", AtLevel(Number(0x20, 1, 0, 9), 2)));
    blocks.push_back(Block("B", std::move(b)));
    blocks[1].PasswordCount = 1;
    std::vector<RowInfo> c;
    c.push_back(Row("c0", AtLevel(Number(0x30, 1, 0, 9), 1)));
    blocks.push_back(Block("C", std::move(c)));
    blocks[0].Rows[0].Command->ValueText = "5";
    return blocks;
}

TEST(ParameterList, LevelsAndExpansionChooseTheLines) {
    BlockArray blocks = LevelTable();
    struct Case {
        int level;
        bool aExpanded;
        std::vector<ParameterListRow> rows;
    };
    const Case cases[] = {
        {0, true, {{0, -1}, {0, 0}, {0, 2}}},
        {1, true, {{0, -1}, {0, 1}}},  // C counts no advanced
                                       // row: neither it nor
                                       // c0 shows
        {2, true, {{1, -1}, {1, 0}}},
        {0, false, {{0, -1}}},
        {7, true, {}},
    };
    for (const Case& c : cases) {
        blocks[0].Expanded = c.aExpanded;
        EXPECT_EQ(velterra::BuildParameterListRows(blocks, c.level), c.rows) << c.level;
    }

    blocks[0].Expanded = true;
    ParameterList list;
    list.Rebuild(blocks, 0);
    ASSERT_EQ(list.RowCount(), 3);
    EXPECT_EQ(list.CellText(0, 0), "A");
    EXPECT_TRUE(list.IsExpandedGroup(0));
    EXPECT_FALSE(list.IsExpandedGroup(1));
    EXPECT_EQ(list.CellText(1, 0), "a0");
    EXPECT_EQ(list.CellText(1, 1), "5");
    EXPECT_EQ(list.RowAt(2), (ParameterListRow{0, 2}));
    EXPECT_EQ(list.RowAt(3), std::nullopt);
    EXPECT_EQ(list.ListRowOf(0, 2), 2);
    EXPECT_EQ(list.ListRowOf(0, 1), std::nullopt);  // an advanced row at Basic
    EXPECT_EQ(velterra::CommandOfRow(blocks, *list.RowAt(0)), nullptr);
    EXPECT_EQ(velterra::CommandOfRow(blocks, {0, 3}), nullptr);
    EXPECT_EQ(velterra::CommandOfRow(blocks, {9, 0}), nullptr);
    EXPECT_EQ(velterra::CommandOfRow(blocks, {0, 9}), nullptr);
}

TEST(ValueEditRules, EachKindOfParameterGetsItsEditor) {
    auto range = Number(0x10, 4, 5, 1000000);
    auto readOnlyList = List(0x11, {{0, "Off"}}, false);
    auto emptyList = List(0x12, {});
    auto longText = Text(0x13, 80);
    EXPECT_EQ(velterra::ValueEditorFor(nullptr).editor, ValueEditor::None);
    EXPECT_EQ(velterra::ValueEditorFor(readOnlyList.get()).editor, ValueEditor::None);
    EXPECT_EQ(velterra::ValueEditorFor(emptyList.get()).editor, ValueEditor::None);
    EXPECT_EQ(velterra::ValueEditorFor(Number(0x14, 1, 0, 9, false).get()).editor,
              ValueEditor::None);

    const auto number = velterra::ValueEditorFor(range.get());
    EXPECT_EQ(number.editor, ValueEditor::Number);
    EXPECT_EQ(number.maxLength, 7u);  // "1000000"
    const auto text = velterra::ValueEditorFor(longText.get());
    EXPECT_EQ(text.editor, ValueEditor::Text);
    EXPECT_EQ(text.maxLength, 63u);  // what a committed value can hold
    const auto list = velterra::ValueEditorFor(List(0x15, {{0, "Off"}, {1, "On"}}).get());
    EXPECT_EQ(list.editor, ValueEditor::List);
    EXPECT_EQ(list.choices, (std::vector<std::string>{"Off", "On"}));
}

TEST(ValueEditRules, TextCheckAndSliderFollowTheRange) {
    // Min 100, Max 1000, step 7: positions 0 .. 128, the last one Max.
    auto command = Number(0xA6, 3, 100, 1000);
    command->SliderStep = 7;
    struct Case {
        const char* text;
        bool accepted;
        bool belowMin;
        std::optional<uint32_t> slider;
    };
    const Case cases[] = {
        {"", true, false, 0u},
        {"100", true, false, 0u},
        {"814", true, false, 102u},
        {"1000", true, false, 128u},
        {"1", false, true, 0u},  // still typing towards a valid value
        {"1001", false, false, 128u},
        {"-5", false, false, 128u},  // a negative number counts as above Max
        {"99999999999", false, false, 128u},
        {"12a", false, false, std::nullopt},
        {"+5", false, false, std::nullopt},
    };
    for (const Case& c : cases) {
        const auto check = velterra::ValidateValueText(command.get(), c.text);
        EXPECT_EQ(check.accepted, c.accepted) << c.text;
        EXPECT_EQ(check.belowMin, c.belowMin) << c.text;
        EXPECT_EQ(check.sliderPosition, c.slider) << c.text;
    }
    EXPECT_FALSE(velterra::ValidateValueText(nullptr, "1").accepted);
    EXPECT_TRUE(velterra::ValidateValueText(Text(0x40, 4).get(), "any text").accepted);

    EXPECT_EQ(velterra::SliderRangeMax(*command), 128u);
    EXPECT_EQ(velterra::SliderValueAt(*command, 0), 100u);
    EXPECT_EQ(velterra::SliderValueAt(*command, 127), 989u);
    EXPECT_EQ(velterra::SliderValueAt(*command, 128), 1000u);  // not 996
    EXPECT_EQ(velterra::SliderPositionOf(*command, 50), 0u);
    command->SliderStep = 0;  // a broken step counts as 1 instead of dividing by zero
    EXPECT_EQ(velterra::SliderRangeMax(*command), 900u);
    EXPECT_EQ(velterra::SliderValueAt(*command, 3), 103u);
}

}  // namespace
}  // namespace enginetest

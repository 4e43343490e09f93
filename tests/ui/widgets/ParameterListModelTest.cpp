// The Qt model over the core's parameter lines: which lines it shows at each level, under
// collapsed groups and under the search field, and the way back from a model row to the
// block and row it shows.
#include <gtest/gtest.h>

#include <QApplication>

#include "ViewTestSupport.h"
#include "core/ParameterList.h"
#include "ui/ParameterFilter.h"
#include "ui/widgets/ParameterListModel.h"

using namespace velterra;

namespace {

// Two groups at Basic, one at Advanced only, one at Admin. only.
BlockArray Sample() {
    return MakeBlocks({
        {"Acquisition",
         {{"Line Period", TestRow::Number, "2500"},
          {"Trigger Source", TestRow::List, "CC1", 1, 0, 0, 1, {"Internal", "CC1"}},
          {"Line Rate", TestRow::ReadOnly, "4000"}}},
        {"Gain",
         {{"Digital Gain", TestRow::Number, "64"}, {"Tap 1 Gain", TestRow::Number, "7", 1}}},
        {"Tuning", {{"Clamp", TestRow::Number, "3", 1}}},
        {"Factory", {{"Sensor Bias", TestRow::Number, "12", 2}}, false},
    });
}

std::vector<std::string> Names(const ParameterListModel& model) {
    std::vector<std::string> names;
    for (int row = 0; row < model.rowCount(); ++row) {
        names.push_back(model.index(row, 0).data().toString().toStdString());
    }
    return names;
}

class ParameterListModelTest : public ::testing::Test {
  protected:
    ParameterListModelTest() { ViewTestApp(); }
    void Show(int level, const std::string& filter = {}) {
        lines_.Rebuild(blocks_, level, !filter.empty());
        if (filter.empty()) {
            model_.ResetAll();
        } else {
            model_.Reset(FilterParameterLines(lines_, filter), true);
        }
    }
    BlockArray blocks_ = Sample();
    ParameterList lines_;
    ParameterListModel model_{lines_};
};

TEST_F(ParameterListModelTest, LevelsShowTheirBlocksAndExactlyTheirRows) {
    struct Case {
        int level;
        std::vector<std::string> names;
    } cases[] = {
        {kBasicLevel, {"Acquisition", "Line Period", "Line Rate", "Gain", "Digital Gain"}},
        // Gain has one advanced row; Acquisition's basic rows are not listed here.
        {kAdvancedLevel,
         {"Acquisition", "Trigger Source", "Gain", "Tap 1 Gain", "Tuning", "Clamp"}},
        // Factory is collapsed: its group line only.
        {kAdminLevel, {"Factory"}},
    };
    for (const Case& c : cases) {
        Show(c.level);
        EXPECT_EQ(Names(model_), c.names) << "level " << c.level;
    }
}

TEST_F(ParameterListModelTest, CellsRolesAndTheWayBackToBlockAndRow) {
    Show(kBasicLevel);
    ASSERT_EQ(model_.rowCount(), 5);
    EXPECT_EQ(model_.columnCount(), 2);
    EXPECT_EQ(model_.index(1, 1).data().toString(), QStringLiteral("2500"));
    EXPECT_EQ(model_.index(0, 1).data().toString(), QString());
    EXPECT_TRUE(model_.index(0, 0).data(ParameterListModel::kGroupRole).toBool());
    EXPECT_TRUE(model_.index(0, 0).data(ParameterListModel::kExpandedRole).toBool());
    EXPECT_FALSE(model_.index(1, 0).data(ParameterListModel::kGroupRole).toBool());
    EXPECT_FALSE(model_.flags(model_.index(1, 1)) & Qt::ItemIsEditable);
    EXPECT_EQ(model_.headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(), "Name");
    EXPECT_EQ(model_.headerData(1, Qt::Horizontal, Qt::DisplayRole).toString(), "Value");

    // Line Rate is row 2 of block 0 (the advanced row 1 is skipped at Basic).
    EXPECT_EQ(model_.RowAt(2), (ParameterListRow{0, 2}));
    EXPECT_EQ(model_.RowAt(3), (ParameterListRow{1, -1}));
    EXPECT_EQ(model_.RowAt(5), std::nullopt);
    EXPECT_EQ(model_.RowAt(-1), std::nullopt);
    EXPECT_FALSE(model_.index(7, 0).data().isValid());

    blocks_[0].Expanded = false;
    Show(kBasicLevel);
    EXPECT_EQ(Names(model_), (std::vector<std::string>{"Acquisition", "Gain", "Digital Gain"}));
    EXPECT_FALSE(model_.index(0, 0).data(ParameterListModel::kExpandedRole).toBool());
    EXPECT_EQ(model_.RowAt(2), (ParameterListRow{1, 0}));
}

TEST_F(ParameterListModelTest, FilterKeepsMatchesAndTheirGroupsAndNeverTouchesExpanded) {
    blocks_[1].Expanded = false;  // a match under a collapsed group is found all the same
    struct Case {
        std::string text;
        std::vector<std::string> names;
    } cases[] = {
        {"gain", {"Gain", "Digital Gain"}},      // the group's own name keeps all its rows
        {"DIGITAL", {"Gain", "Digital Gain"}},   // any case
        {"4000", {"Acquisition", "Line Rate"}},  // a value matches too
        {"period", {"Acquisition", "Line Period"}}, {"nothing like it", {}},
    };
    for (const Case& c : cases) {
        Show(kBasicLevel, c.text);
        EXPECT_EQ(Names(model_), c.names) << c.text;
        if (!c.names.empty()) {
            EXPECT_TRUE(model_.index(0, 0).data(ParameterListModel::kExpandedRole).toBool());
        }
    }
    EXPECT_FALSE(blocks_[1].Expanded);
    EXPECT_TRUE(blocks_[0].Expanded);

    // The model row maps to the list line the filter left, and back.
    Show(kBasicLevel, "rate");
    ASSERT_EQ(model_.rowCount(), 2);
    EXPECT_EQ(model_.RowAt(1), (ParameterListRow{0, 2}));
    const auto line = model_.ListRowAt(1);
    ASSERT_TRUE(line);
    EXPECT_EQ(model_.ModelRowOf(*line), 1);
    EXPECT_EQ(model_.ModelRowOf(0), 0);
    EXPECT_EQ(model_.ModelRowOf(1), std::nullopt);  // Line Period is filtered out
}

}  // namespace

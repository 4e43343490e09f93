#include <gtest/gtest.h>

#include <numeric>

#include "CurveEditorTestSupport.h"
#include "lut/LutModel.h"

using namespace velterra;

namespace {

std::vector<uint16_t> Identity(int n) {
    std::vector<uint16_t> v(n);
    std::iota(v.begin(), v.end(), uint16_t{0});
    return v;
}

std::vector<LutNode> DefaultNodes(int n) {
    return {{0, 0}, {n - 1, n - 1}};
}

void ExpectDefaultOption(const CLutModel& model, int option) {
    SCOPED_TRACE(option);
    const int n = model.Entries();
    EXPECT_EQ(CurveOf(model, option), Identity(n));
    EXPECT_EQ(NodesOf(model, option), DefaultNodes(n));
}

TEST(LutModelInit, ColourIsAlwaysEightBitsThreeTapsWithFourDefaultOptions) {
    CLutModel model;
    ASSERT_TRUE(model.InitLut(true, 12, 1));
    EXPECT_EQ(model.ColorMode(), kLutColorModeColor);
    EXPECT_EQ(model.Bits(), 8);
    EXPECT_EQ(model.Taps(), 3);
    EXPECT_EQ(model.Entries(), 256);
    ASSERT_EQ(model.OptionSlots(), 4);
    for (int k = 0; k < 4; ++k) {
        ExpectDefaultOption(model, k);
        EXPECT_FALSE(model.IsChanged(k));
    }
}

TEST(LutModelInit, TwelveBitMonoDefaults) {
    CLutModel model;
    ASSERT_TRUE(model.InitLut(false, 12, 2));
    EXPECT_EQ(model.ColorMode(), kLutColorModeMono);
    EXPECT_EQ(model.Entries(), 4096);
    ASSERT_EQ(model.OptionSlots(), 5);
    EXPECT_EQ(NodesOf(model, 0), (std::vector<LutNode>{{0, 0}, {4095, 4095}}));
    for (int k = 0; k < 5; ++k) ExpectDefaultOption(model, k);
}

TEST(LutModelInit, RefusedMonoGeometryLeavesNoLut) {
    // Below 8 bits, odd, too deep for the 16-bit entry count, or a tap count the option storage
    // cannot hold.
    const struct {
        int16_t bits;
        int16_t taps;
    } refused[] = {{6, 1}, {9, 1}, {15, 1}, {16, 1}, {18, 2}, {-2, 1}, {8, 0}, {8, 5}};
    for (const auto& c : refused) {
        SCOPED_TRACE(testing::Message() << c.bits << " bits, " << c.taps << " taps");
        CLutModel model;
        ASSERT_TRUE(model.InitLut(false, 10, 2));
        model.FillOptions();
        EXPECT_FALSE(model.InitLut(false, c.bits, c.taps));
        EXPECT_FALSE(model.HasLut());
        EXPECT_EQ(model.Bits(), 10);
        EXPECT_TRUE(model.Curve(0).empty());
        model.FillOptions();
        EXPECT_TRUE(model.Options().empty());
        EXPECT_EQ(model.SelectedOption(), -1);
        EXPECT_FALSE(model.View().IsBound());
        EXPECT_FALSE(model.View().Geometry().visible);
        // Reset buttons do nothing without a LUT.
        model.ResetAllOptions();
        model.ResetThisOption();
        EXPECT_FALSE(model.HasLut());
    }
}

TEST(LutModelOptions, TextsFollowModeAndTaps) {
    using V = std::vector<std::string>;
    CLutModel model;
    model.FillOptions();
    EXPECT_TRUE(model.Options().empty());
    EXPECT_EQ(model.SelectedOptionText(), "");

    model.InitLut(true, 8, 3);
    model.FillOptions();
    EXPECT_EQ(model.Options(), (V{"RGB (All-Taps)", "R (Tap-1)", "G (Tap-2)", "B (Tap-3)"}));

    model.InitLut(false, 10, 1);
    model.FillOptions();
    EXPECT_EQ(model.Options(), V{"Tap-1 Only"});

    model.InitLut(false, 14, 4);
    model.FillOptions();
    EXPECT_EQ(model.Options(), (V{"All-Taps", "Tap-1", "Tap-2", "Tap-3", "Tap-4"}));
    EXPECT_EQ(model.SelectedOption(), 0);
    EXPECT_EQ(model.SelectedOptionText(), "All-Taps");
}

TEST(LutModelOptions, SelectionBindsTheOptionAndShowsTheNoteOnlyForAllTaps) {
    CLutModel model;
    model.InitLut(false, 8, 3);
    model.FillOptions();
    EXPECT_TRUE(model.IsNoteVisible());
    EXPECT_EQ(model.View().Binding().curve, model.Curve(0).data());

    model.SelectOption(2);
    EXPECT_EQ(model.SelectedOptionText(), "Tap-2");
    EXPECT_FALSE(model.IsNoteVisible());
    EXPECT_EQ(model.View().Binding().curve, model.Curve(2).data());
    EXPECT_EQ(model.View().SelectedNode(), -1);

    // Only listed options can be selected, though mono storage has five.
    model.SelectOption(4);
    EXPECT_EQ(model.SelectedOption(), -1);
    EXPECT_FALSE(model.View().IsBound());
    EXPECT_EQ(model.SelectedOptionText(), "");

    CLutModel single;
    single.InitLut(false, 8, 1);
    single.FillOptions();
    EXPECT_FALSE(single.IsNoteVisible());
    EXPECT_EQ(single.SelectedOptionText(), "Tap-1 Only");
}

class LutModelEditing : public testing::Test {
  protected:
    // With a 256 x 256 view and 8 bits, pixel x is LUT X and pixel y is 255 - Y.
    void Init(bool color, int16_t bits, int16_t taps) {
        ASSERT_TRUE(model.InitLut(color, bits, taps));
        model.FillOptions();
        model.View().SetViewSize(256, 256);
    }
    void Drag(int fromX, int fromY, int toX, int toY) {
        model.View().OnLeftButtonDown(fromX, 255 - fromY);
        model.View().OnMouseMove(toX, 255 - toY, true);
        model.View().OnLeftButtonUp(toX, 255 - toY);
    }
    CLutModel model;
};

TEST_F(LutModelEditing, ColourAllTapsEditsAreCopiedToRGB) {
    Init(true, 8, 3);
    model.View().InsertNode(100, 40);
    const auto nodes = NodesOf(model, 0);
    ASSERT_EQ(nodes.size(), 3u);
    for (int k = 1; k <= 3; ++k) {
        SCOPED_TRACE(k);
        EXPECT_EQ(NodesOf(model, k), nodes);
        EXPECT_EQ(CurveOf(model, k), CurveOf(model, 0));
        EXPECT_FALSE(model.IsChanged(k));
    }
    EXPECT_FALSE(model.IsChanged(0));
    EXPECT_EQ(model.Curve(0)[100], 40);
}

TEST_F(LutModelEditing, TapEditsStayInTheirOption) {
    Init(false, 8, 2);
    model.SelectOption(2);
    Drag(255, 255, 255, 200);
    EXPECT_EQ(NodesOf(model, 2), (std::vector<LutNode>{{0, 0}, {255, 200}}));
    EXPECT_TRUE(model.IsChanged(2));
    ExpectDefaultOption(model, 0);
    ExpectDefaultOption(model, 1);
}

TEST_F(LutModelEditing, SingleMonoTapNeverPropagates) {
    Init(false, 8, 1);
    Drag(0, 0, 0, 50);
    EXPECT_EQ(NodesOf(model, 0), (std::vector<LutNode>{{0, 50}, {255, 255}}));
    EXPECT_TRUE(model.IsChanged(0));
    for (int k = 1; k < 5; ++k) ExpectDefaultOption(model, k);
}

TEST_F(LutModelEditing, ResetOfOptionZeroResetsAll) {
    Init(true, 8, 3);
    model.SelectOption(2);
    Drag(0, 0, 0, 30);
    model.SelectOption(0);
    Drag(255, 255, 255, 100);
    model.ResetThisOption();
    for (int k = 0; k < 4; ++k) {
        ExpectDefaultOption(model, k);
        EXPECT_FALSE(model.IsChanged(k));
    }
    EXPECT_EQ(model.SelectedOption(), 0);
    EXPECT_TRUE(model.View().IsBound());
}

TEST_F(LutModelEditing, ResetOfOneTapResetsOnlyItAndMarksItChanged) {
    Init(false, 10, 2);
    model.SelectOption(1);
    model.View().InsertNode(500, 10);
    model.SelectOption(2);
    model.View().InsertNode(600, 20);
    model.ResetThisOption();
    ExpectDefaultOption(model, 2);
    EXPECT_TRUE(model.IsChanged(2));
    EXPECT_EQ(model.NodeCount(1), 3);
    EXPECT_EQ(model.SelectedOption(), 2);
}

TEST_F(LutModelEditing, ResetAllKeepsTheStoredGeometry) {
    Init(false, 12, 3);
    model.SelectOption(3);
    model.View().InsertNode(1000, 1);
    model.ResetAllOptions();
    EXPECT_EQ(model.Bits(), 12);
    EXPECT_EQ(model.Taps(), 3);
    EXPECT_EQ(model.SelectedOption(), 0);
    for (int k = 0; k < 5; ++k) ExpectDefaultOption(model, k);
}

TEST_F(LutModelEditing, CoordinateFieldsShowAndApplyDecimalValues) {
    Init(false, 8, 1);
    model.View().OnMouseMove(10, 255 - 20, false);
    EXPECT_EQ(model.InputText(), "10");
    EXPECT_EQ(model.OutputText(), "20");

    model.View().OnLeftButtonDown(255, 0);  // takes the last node
    model.View().OnLeftButtonUp(255, 0);
    ASSERT_EQ(model.View().SelectedNode(), 1);
    model.EditCoordinateFields(" 200 ", "+7");
    EXPECT_EQ(NodesOf(model, 0)[1], (LutNode{200, 7}));

    // Text that is not (yet) a number moves nothing.
    for (const char* text : {"", "-", "12a", "0x10", "99999999999"}) {
        model.EditCoordinateFields(text, "9");
        EXPECT_EQ(NodesOf(model, 0)[1], (LutNode{200, 7})) << text;
    }
    EXPECT_EQ(model.InputText(), "99999999999");
}

TEST(LutModelVectors, NodesTravelAsLow16BitWordsAndComeBackZeroExtended) {
    CLutModel model;
    model.InitLut(false, 14, 2);
    const std::vector<LutNode> nodes{{0, 3}, {8000, 16383}, {16383, 0}};
    ASSERT_TRUE(model.StoreNodes(1, nodes));
    EXPECT_EQ(model.VectorWords(1), (std::vector<uint16_t>{0, 3, 8000, 16383, 16383, 0}));

    const std::vector<uint16_t> words{1, 0xFFFF, 2, 0x8000};
    ASSERT_TRUE(model.StoreVectorWords(2, 2, words));
    EXPECT_EQ(NodesOf(model, 2), (std::vector<LutNode>{{1, 65535}, {2, 32768}}));

    // Counts the node storage cannot hold are refused and leave the option alone.
    EXPECT_FALSE(model.StoreVectorWords(2, 0, words));
    EXPECT_FALSE(model.StoreVectorWords(2, 11, std::vector<uint16_t>(22)));
    EXPECT_FALSE(model.StoreVectorWords(2, 3, words));
    EXPECT_FALSE(model.StoreNodes(5, nodes));
    EXPECT_EQ(model.NodeCount(2), 2);

    // Loaded nodes out of the LUT's range still give a clamped curve.
    model.FillOptions();
    model.SelectOption(2);
    EXPECT_EQ(model.Curve(2)[0], 16383);
    EXPECT_EQ(model.Curve(2)[16383], 16383);
}

}  // namespace

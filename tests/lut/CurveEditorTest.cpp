#include <gtest/gtest.h>

#include "CurveEditorTestSupport.h"
#include "lut/CurveEditor.h"
#include "lut/LutModel.h"

using namespace velterra;

namespace {

TEST(CurveEditorRounding, HalvesTruncatedDoubledValuePlusOne) {
    const struct {
        double q;
        int64_t r;
    } cases[] = {{0.0, 0},     {0.49, 0},   {0.5, 1},    {2.5, 3},
                 {-0.5, 0},    {-0.6, 0},   {-0.75, 0},  {-1.0, -1},
                 {-1.25, -1},  {-1.5, -1},  {-1.75, -1}, {-2.25, -2},
                 {199.2, 199}, {99.6, 100}, {-3.5, -3},  {1e9 + 0.5, 1000000001}};
    for (const auto& c : cases) EXPECT_EQ(LutRound(c.q), c.r) << c.q;
}

TEST(CurveEditorScale, MapsPixelsToLutAndBack) {
    const CurveScale s{300, 150, 1024};
    EXPECT_EQ(s.ToLutX(0), 0);
    EXPECT_EQ(s.ToLutX(150), 512);
    EXPECT_EQ(s.ToLutX(299), 1021);  // R(1020.59)
    EXPECT_EQ(s.ToLutY(149), 0);     // bottom row
    EXPECT_EQ(s.ToLutY(0), 1017);    // R(1017.17)
    EXPECT_EQ(s.ToScreen(1023, 1023), (ScreenPoint{300, -1}));
    EXPECT_EQ(s.ToScreen(0, 0), (ScreenPoint{0, 149}));
    EXPECT_TRUE(IsNear({10, 10}, {15, 5}));
    EXPECT_FALSE(IsNear({10, 10}, {16, 10}));
    EXPECT_FALSE(IsNear({10, 10}, {10, 4}));
}

class CurveEditorNodes : public testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(model.InitLut(false, 8, 1));
        model.FillOptions();
    }
    void Store(std::vector<LutNode> nodes) {
        ASSERT_TRUE(model.StoreNodes(0, nodes));
        model.SelectOption(0);
    }
    CCurveEditor& view() { return model.View(); }
    CLutModel model;
};

TEST_F(CurveEditorNodes, FallingSegmentRoundsWithTheOwnRounding) {
    // Steps of -0.75 per input: 3 + R(-0.75) = 3, 3 + R(-1.5) = 2, 3 + R(-2.25) = 1.
    Store({{0, 3}, {4, 0}, {255, 0}});
    const auto curve = CurveOf(model, 0);
    EXPECT_EQ(std::vector<uint16_t>(curve.begin(), curve.begin() + 6),
              (std::vector<uint16_t>{3, 3, 2, 1, 0, 0}));
}

TEST_F(CurveEditorNodes, CurveIsFlatOutsideTheNodesAndClamped) {
    Store({{10, 20}, {20, 400}, {30, 0}, {40, 300}});
    const auto curve = CurveOf(model, 0);
    EXPECT_EQ(curve[0], 20);
    EXPECT_EQ(curve[10], 20);
    EXPECT_EQ(curve[15], 210);
    EXPECT_EQ(curve[20], 255);  // 400 clamped
    EXPECT_EQ(curve[255], 255);
    EXPECT_EQ(curve, ExpectedCurve(NodesOf(model, 0), 256));
}

TEST_F(CurveEditorNodes, InsertFillsTheGapAndSelectsTheNewNode) {
    view().InsertNode(100, 10);
    view().InsertNode(50, 90);
    EXPECT_EQ(NodesOf(model, 0), (std::vector<LutNode>{{0, 0}, {50, 90}, {100, 10}, {255, 255}}));
    EXPECT_EQ(view().SelectedNode(), 1);
    EXPECT_TRUE(model.IsChanged(0));
    EXPECT_EQ(model.Curve(0)[75], 50);

    // An X already taken has no gap: nothing is inserted.
    view().InsertNode(100, 200);
    EXPECT_EQ(model.NodeCount(0), 4);
    EXPECT_EQ(view().SelectedNode(), 1);
}

TEST_F(CurveEditorNodes, InsertStopsAtTenNodes) {
    for (int x = 20; x <= 200; x += 20) view().InsertNode(x, x);
    EXPECT_EQ(model.NodeCount(0), 10);
    EXPECT_EQ(NodesOf(model, 0).back(), (LutNode{255, 255}));
    EXPECT_EQ(NodesOf(model, 0)[8], (LutNode{160, 160}));
}

TEST_F(CurveEditorNodes, DeleteClosesTheGapAndDropsAStaleSelection) {
    view().InsertNode(100, 10);
    view().InsertNode(200, 20);
    view().SetNode(3, 255, 0);  // selects the last node
    view().DeleteNode(1);
    EXPECT_EQ(NodesOf(model, 0), (std::vector<LutNode>{{0, 0}, {200, 20}, {255, 0}}));
    EXPECT_EQ(view().SelectedNode(), -1);
    view().DeleteNode(7);
    EXPECT_EQ(model.NodeCount(0), 3);
}

TEST_F(CurveEditorNodes, EndNodesCannotPassTheirNeighbours) {
    view().InsertNode(100, 100);
    view().SetNode(0, 180, 5);
    view().SetNode(2, 20, 7);
    EXPECT_EQ(NodesOf(model, 0), (std::vector<LutNode>{{99, 5}, {100, 100}, {101, 7}}));
    EXPECT_EQ(CurveOf(model, 0), ExpectedCurve(NodesOf(model, 0), 256));
}

TEST_F(CurveEditorNodes, FieldValuesApplyOnlyStrictlyBetweenNeighboursAndInRange) {
    view().InsertNode(100, 100);
    view().InsertNode(200, 50);
    model.SelectOption(0);  // a fresh binding has no node selected
    view().SetNodeFromFields(150, 150);
    EXPECT_EQ(NodesOf(model, 0)[2], (LutNode{200, 50}));

    view().SetNode(2, 200, 50);
    ASSERT_EQ(view().SelectedNode(), 2);
    const auto before = NodesOf(model, 0);
    for (auto [x, y] : {std::pair{100, 10}, {255, 10}, {-1, 10}, {150, 256}, {150, -1}}) {
        view().SetNodeFromFields(x, y);
        EXPECT_EQ(NodesOf(model, 0), before) << x << "," << y;
    }
    view().SetNodeFromFields(101, 254);
    EXPECT_EQ(NodesOf(model, 0)[2], (LutNode{101, 254}));
    EXPECT_EQ(model.Curve(0)[101], 254);
}

TEST_F(CurveEditorNodes, UnsupportedDepthKeepsItsCurveAndDrawsNoPolyline) {
    // A geometry the model refuses, bound by hand: nodes are still drawn.
    LutNode nodes[kLutMaxNodes] = {{0, 0}, {511, 511}};
    int32_t count = 2;
    std::vector<uint16_t> curve(512, 7);
    uint8_t changed = 0;
    const int16_t bits = 9;
    CCurveEditor editor;
    editor.SetViewSize(100, 100);
    editor.Bind({nodes, &count, curve.data(), &changed, &bits});
    editor.InsertNode(200, 100);
    EXPECT_EQ(count, 3);
    EXPECT_EQ(curve, std::vector<uint16_t>(512, 7));
    const CurveGeometry g = editor.Geometry();
    EXPECT_EQ(g.nodes.size(), 3u);
    EXPECT_TRUE(g.polyline.empty());
}

TEST(CurveEditorGeometry, GridNodesAndPolyline) {
    CLutModel model;
    model.InitLut(true, 8, 3);
    model.FillOptions();
    CCurveEditor& view = model.View();
    EXPECT_FALSE(view.Geometry().visible);  // no size yet
    view.SetViewSize(205, 100);
    view.InsertNode(128, 64);

    const CurveGeometry g = view.Geometry();
    ASSERT_TRUE(g.visible);
    EXPECT_EQ(g.gridX, (std::vector<int>{20, 41, 61, 82, 102, 123, 143, 164, 184}));
    EXPECT_EQ(g.gridY, (std::vector<int>{10, 20, 30, 40, 50, 60, 70, 80, 90}));
    // (0,0) at (0, 99); (128,64) at (R(102.5), 100 - R(25) - 1) = (103, 74), selected;
    // (255,255) at (R(204.2), 100 - R(99.6) - 1) = (204, -1).
    EXPECT_EQ(g.nodes,
              (std::vector<NodeSquare>{
                  {-2, 97, 3, 102, false}, {101, 72, 106, 77, true}, {202, -3, 207, 2, false}}));
    ASSERT_EQ(g.polyline.size(), 256u);
    EXPECT_EQ(g.polyline[0], (ScreenPoint{0, 99}));
    EXPECT_EQ(g.polyline[128], (ScreenPoint{103, 74}));
    EXPECT_EQ(g.polyline[255], (ScreenPoint{204, -1}));
}

}  // namespace

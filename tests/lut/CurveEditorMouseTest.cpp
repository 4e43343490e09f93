#include <gtest/gtest.h>

#include "CurveEditorTestSupport.h"
#include "lut/LutModel.h"

using namespace velterra;

namespace {

using Nodes = std::vector<LutNode>;

// 8-bit single-tap LUT in a 256 x 256 view: pixel (x, 255 - y) is LUT position (x, y), so the
// tests speak in LUT coordinates.
class CurveEditorMouse : public testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(model.InitLut(false, 8, 1));
        model.FillOptions();
        model.View().SetViewSize(256, 256);
    }
    void Store(Nodes nodes) {
        ASSERT_TRUE(model.StoreNodes(0, nodes));
        model.SelectOption(0);
    }
    void Down(int x, int y) { model.View().OnLeftButtonDown(x, 255 - y); }
    void Move(int x, int y) { model.View().OnMouseMove(x, 255 - y, true); }
    void Up(int x, int y) { model.View().OnLeftButtonUp(x, 255 - y); }
    Nodes Current() const { return NodesOf(model, 0); }
    void ExpectCurveMatchesNodes() const {
        EXPECT_EQ(CurveOf(model, 0), ExpectedCurve(Current(), 256));
    }

    CLutModel model;
};

TEST_F(CurveEditorMouse, FirstNodeStopsOneBeforeTheSecond) {
    Store({{0, 0}, {100, 100}, {255, 255}});
    Down(0, 0);
    Move(150, 10);
    EXPECT_EQ(Current(), (Nodes{{99, 10}, {100, 100}, {255, 255}}));
    Up(150, 10);
    EXPECT_EQ(Current().size(), 3u);
    ExpectCurveMatchesNodes();
}

TEST_F(CurveEditorMouse, LastNodeStopsOneAfterItsNeighbour) {
    Store({{0, 0}, {100, 100}, {255, 255}});
    Down(255, 255);
    Move(50, 200);
    Up(50, 200);
    EXPECT_EQ(Current(), (Nodes{{0, 0}, {100, 100}, {101, 200}}));
    EXPECT_EQ(model.InputText(), "50");  // the mouse position, not the node's
    ExpectCurveMatchesNodes();
}

TEST_F(CurveEditorMouse, MiddleNodeDraggedAcrossANeighbourLeavesAndComesBackBetweenIts) {
    Store({{0, 0}, {100, 100}, {200, 200}, {255, 255}});
    Down(100, 100);
    ASSERT_EQ(model.View().SelectedNode(), 1);
    Move(220, 150);
    EXPECT_EQ(Current(), (Nodes{{0, 0}, {200, 200}, {255, 255}}));
    EXPECT_TRUE(model.View().IsReinsertPending());
    ExpectCurveMatchesNodes();

    Move(230, 50);  // still outside the former neighbours 0 and 200
    EXPECT_EQ(Current().size(), 3u);
    Move(150, 60);
    EXPECT_EQ(Current(), (Nodes{{0, 0}, {150, 60}, {200, 200}, {255, 255}}));
    EXPECT_FALSE(model.View().IsReinsertPending());
    Move(160, 70);
    Up(160, 70);
    EXPECT_EQ(Current(), (Nodes{{0, 0}, {160, 70}, {200, 200}, {255, 255}}));
    ExpectCurveMatchesNodes();
}

TEST_F(CurveEditorMouse, MiddleNodeReleasedOutsideItsPlaceStaysRemoved) {
    Store({{0, 0}, {100, 100}, {200, 200}, {255, 255}});
    Down(200, 200);
    Move(50, 30);
    Up(50, 30);
    EXPECT_EQ(Current(), (Nodes{{0, 0}, {100, 100}, {255, 255}}));
    EXPECT_FALSE(model.View().IsReinsertPending());
    EXPECT_FALSE(model.View().IsDragging());
    // The next press starts afresh.
    Down(100, 100);
    Move(120, 90);
    EXPECT_EQ(Current(), (Nodes{{0, 0}, {120, 90}, {255, 255}}));
}

TEST_F(CurveEditorMouse, ClickOnTheCurveInsertsANodeAndDragsIt) {
    Down(128, 128);
    EXPECT_EQ(Current(), (Nodes{{0, 0}, {128, 128}, {255, 255}}));
    EXPECT_EQ(model.View().SelectedNode(), 1);
    EXPECT_TRUE(model.View().IsDragging());
    EXPECT_EQ(model.InputText(), "128");
    EXPECT_EQ(model.OutputText(), "128");
    Move(130, 60);
    Up(130, 60);
    EXPECT_EQ(Current(), (Nodes{{0, 0}, {130, 60}, {255, 255}}));
    ExpectCurveMatchesNodes();
}

TEST_F(CurveEditorMouse, ClickAwayFromNodesAndCurveSelectsNothing) {
    Down(128, 128);
    Up(128, 128);
    Down(60, 200);
    EXPECT_EQ(model.View().SelectedNode(), -1);
    EXPECT_FALSE(model.View().IsDragging());
    Move(70, 210);
    Up(70, 210);
    EXPECT_EQ(Current(), (Nodes{{0, 0}, {128, 128}, {255, 255}}));
    EXPECT_EQ(model.InputText(), "70");  // nothing selected: the fields follow the mouse
}

TEST_F(CurveEditorMouse, TenNodesRefuseInsertionAndStartNoDrag) {
    Nodes ten;
    for (int i = 0; i < 10; ++i) ten.push_back({i * 28, i * 28});
    Store(ten);
    Down(42, 42);  // on the curve, between nodes 1 and 2
    EXPECT_EQ(Current(), ten);
    EXPECT_EQ(model.View().SelectedNode(), -1);
    EXPECT_FALSE(model.View().IsDragging());
    Move(42, 100);
    Up(42, 100);
    EXPECT_EQ(Current(), ten);
}

TEST_F(CurveEditorMouse, ClicksBeyondTheEndNodesMoveThem) {
    Store({{20, 20}, {230, 230}});
    Down(5, 100);
    Up(5, 100);
    Down(240, 10);
    Up(240, 10);
    EXPECT_EQ(Current(), (Nodes{{5, 100}, {240, 10}}));
    EXPECT_EQ(model.View().SelectedNode(), 1);
    ExpectCurveMatchesNodes();
}

TEST_F(CurveEditorMouse, NodeIsTakenWithinFivePixelsOnly) {
    Store({{0, 0}, {100, 200}, {255, 0}});
    Down(105, 195);
    Up(105, 195);
    EXPECT_EQ(Current(), (Nodes{{0, 0}, {105, 195}, {255, 0}}));

    // One pixel further the press misses the node but lands on the falling curve.
    Store({{0, 0}, {100, 200}, {255, 0}});
    Down(106, 200);
    EXPECT_EQ(Current(), (Nodes{{0, 0}, {100, 200}, {106, 200}, {255, 0}}));
}

TEST_F(CurveEditorMouse, DragsLeavingTheViewKeepNodesInsideTheLut) {
    Down(255, 255);
    model.View().OnMouseMove(400, -100, true);
    Up(0, 0);
    Down(0, 0);
    model.View().OnMouseMove(-50, 400, true);
    EXPECT_EQ(Current(), (Nodes{{0, 0}, {255, 255}}));
    EXPECT_EQ(model.InputText(), "0");
    model.View().OnMouseMove(-50, -400, true);
    EXPECT_EQ(Current(), (Nodes{{0, 255}, {255, 255}}));
}

TEST_F(CurveEditorMouse, MovesWithoutAButtonOnlyReportThePositionWhenNothingIsSelected) {
    Down(255, 255);
    Up(255, 255);
    model.View().OnMouseMove(10, 255 - 20, false);
    EXPECT_EQ(model.InputText(), "255");
    EXPECT_EQ(Current(), (Nodes{{0, 0}, {255, 255}}));
}

TEST(CurveEditorMouseUnbound, DoesNothing) {
    CLutModel model;
    model.FillOptions();
    model.View().SetViewSize(100, 100);
    model.View().OnLeftButtonDown(50, 50);
    model.View().OnMouseMove(60, 60, true);
    model.View().OnLeftButtonUp(60, 60);
    EXPECT_FALSE(model.View().IsDragging());
    EXPECT_EQ(model.InputText(), "");
}

}  // namespace

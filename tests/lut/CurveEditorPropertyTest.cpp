#include <gtest/gtest.h>

#include <random>
#include <set>

#include "CurveEditorTestSupport.h"
#include "lut/LutModel.h"

using namespace velterra;

namespace {

constexpr int16_t kDepths[] = {8, 10, 12, 14};

std::vector<LutNode> RandomNodes(std::mt19937& rng, int n) {
    std::uniform_int_distribution<int> countDist(2, kLutMaxNodes);
    std::uniform_int_distribution<int> xDist(0, n - 1);
    std::uniform_int_distribution<int> yDist(0, n - 1);
    std::uniform_int_distribution<int> wideY(0, 65535);  // values a camera may hand back
    const int count = countDist(rng);
    std::set<int> xs;
    if (rng() % 3 == 0) xs.insert({0, n - 1});
    while (int(xs.size()) < count) xs.insert(xDist(rng));
    std::vector<LutNode> nodes;
    for (int x : xs) nodes.push_back({x, rng() % 8 == 0 ? wideY(rng) : yDist(rng)});
    return nodes;
}

TEST(CurveEditorProperty, RecalcCurveMatchesExactIntegerInterpolation) {
    std::mt19937 rng(20240611);
    for (int16_t bits : kDepths) {
        CLutModel model;
        ASSERT_TRUE(model.InitLut(false, bits, 1));
        model.FillOptions();
        const int n = model.Entries();
        for (int round = 0; round < 60; ++round) {
            const auto nodes = RandomNodes(rng, n);
            ASSERT_TRUE(model.StoreNodes(0, nodes));
            model.View().RecalcCurve();
            ASSERT_EQ(CurveOf(model, 0), ExpectedCurve(nodes, n))
                << bits << " bits, round " << round;
        }
    }
}

// Random presses, drags (also far outside the view), releases and typed field values, on random
// geometries and view sizes. Whatever happens, the nodes stay a valid curve description, and
// every edit of the all-taps option reaches every tap.
class MouseSequence {
  public:
    explicit MouseSequence(uint32_t seed) : rng_(seed) {}

    void Run() {
        const bool color = rng_() % 4 == 0;
        const int16_t bits = kDepths[rng_() % 4];
        const int16_t taps = int16_t(1 + rng_() % 4);
        ASSERT_TRUE(model_.InitLut(color, bits, taps));
        model_.FillOptions();
        width_ = Uniform(40, 700);
        height_ = Uniform(40, 700);
        model_.View().SetViewSize(width_, height_);
        model_.SelectOption(Uniform(0, int(model_.Options().size()) - 1));

        for (int step = 0; step < 300; ++step) {
            const auto allTapsBefore = NodesOf(model_, 0);
            Act();
            SCOPED_TRACE(testing::Message() << "step " << step);
            Check(allTapsBefore != NodesOf(model_, 0));
            if (testing::Test::HasFatalFailure()) return;
        }
    }

  private:
    int Uniform(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng_); }

    // A pixel near a node, near the curve, or anywhere (also outside the view).
    ScreenPoint Target() {
        const CurveScale scale = model_.View().Scale();
        const int option = model_.SelectedOption();
        switch (Uniform(0, 2)) {
            case 0: {
                const auto nodes = model_.Nodes(option);
                const LutNode& node = nodes[Uniform(0, int(nodes.size()) - 1)];
                const ScreenPoint p = scale.ToScreen(node.x, node.y);
                return {p.x + Uniform(-6, 6), p.y + Uniform(-6, 6)};
            }
            case 1: {
                const auto curve = model_.Curve(option);
                const int i = Uniform(0, int(curve.size()) - 1);
                const ScreenPoint p = scale.ToScreen(i, curve[i]);
                return {p.x + Uniform(-4, 4), p.y + Uniform(-4, 4)};
            }
            default:
                return {Uniform(-60, width_ + 60), Uniform(-60, height_ + 60)};
        }
    }

    void Act() {
        CCurveEditor& view = model_.View();
        const ScreenPoint p = Target();
        const int action = Uniform(0, 99);
        if (action < 25) {
            if (buttonDown_) view.OnLeftButtonUp(p.x, p.y);
            view.OnLeftButtonDown(p.x, p.y);
            buttonDown_ = true;
        } else if (action < 70) {
            view.OnMouseMove(p.x, p.y, buttonDown_);
        } else if (action < 88) {
            view.OnLeftButtonUp(p.x, p.y);
            buttonDown_ = false;
        } else if (action < 97) {
            const int n = model_.Entries();
            model_.EditCoordinateFields(std::to_string(Uniform(-2, n + 1)),
                                        std::to_string(Uniform(-2, n + 1)));
        } else if (!buttonDown_) {
            if (action == 97) model_.ResetThisOption();
            if (action >= 98) model_.SelectOption(Uniform(0, int(model_.Options().size()) - 1));
        }
    }

    // `allTapsEdited`: the last action changed the all-taps option's nodes.
    void Check(bool allTapsEdited) {
        const int option = model_.SelectedOption();
        ASSERT_GE(option, 0);
        const int n = model_.Entries();
        const auto nodes = NodesOf(model_, option);
        ASSERT_GE(nodes.size(), 2u);
        ASSERT_LE(nodes.size(), 10u);
        for (size_t i = 0; i < nodes.size(); ++i) {
            ASSERT_GE(nodes[i].x, 0);
            ASSERT_LT(nodes[i].x, n);
            ASSERT_GE(nodes[i].y, 0);
            ASSERT_LT(nodes[i].y, n);
            if (i > 0) {
                ASSERT_LT(nodes[i - 1].x, nodes[i].x);
            }
        }
        const int selected = model_.View().SelectedNode();
        ASSERT_GE(selected, -1);
        ASSERT_LT(selected, int(nodes.size()));
        // Recomputed independently whenever the nodes in view changed; otherwise unchanged.
        if (nodes != verifiedNodes_ || option != verifiedOption_) {
            verifiedCurve_ = ExpectedCurve(nodes, n);
            verifiedNodes_ = nodes;
            verifiedOption_ = option;
        }
        ASSERT_EQ(CurveOf(model_, option), verifiedCurve_);
        if (allTapsEdited && option == 0 && model_.Taps() >= 2) {
            for (int t = 1; t <= model_.Taps(); ++t) {
                ASSERT_EQ(NodesOf(model_, t), nodes) << "tap " << t;
                ASSERT_EQ(CurveOf(model_, t), CurveOf(model_, 0)) << "tap " << t;
            }
        }
    }

    std::mt19937 rng_;
    CLutModel model_;
    int width_ = 0;
    int height_ = 0;
    bool buttonDown_ = false;
    std::vector<LutNode> verifiedNodes_;
    std::vector<uint16_t> verifiedCurve_;
    int verifiedOption_ = -1;
};

TEST(CurveEditorProperty, RandomMouseSequencesKeepNodesValid) {
    for (uint32_t seed = 1; seed <= 30; ++seed) {
        SCOPED_TRACE(testing::Message() << "seed " << seed);
        MouseSequence(seed).Run();
        if (HasFatalFailure()) return;
    }
}

}  // namespace

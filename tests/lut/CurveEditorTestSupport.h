#pragma once
#include <algorithm>
#include <cstdint>
#include <span>
#include <vector>

#include "lut/LutModel.h"

using namespace velterra;

// Helpers shared by the curve editor tests. File name starts with CurveEditor so the shared
// test folder keeps our files together.

// Curve entry computed from the nodes with exact integer arithmetic, independently of the
// editor's floating-point path: value = Y(a) + floor(trunc((2p + d) / d) / 2) with
// p = (i - X(a)) * (Y(b) - Y(a)) and d = X(b) - X(a), clamped to 0..n-1.
inline int64_t ExpectedCurveEntry(std::span<const LutNode> nodes, int64_t i, int64_t n) {
    int64_t value;
    if (i <= nodes.front().x) {
        value = nodes.front().y;
    } else if (i >= nodes.back().x) {
        value = nodes.back().y;
    } else {
        size_t a = 0;
        while (!(nodes[a].x <= i && i < nodes[a + 1].x)) ++a;
        const int64_t p = (i - nodes[a].x) * (int64_t{nodes[a + 1].y} - nodes[a].y);
        const int64_t d = int64_t{nodes[a + 1].x} - nodes[a].x;
        const int64_t t = (2 * p + d) / d;  // truncates toward zero
        const int64_t half = t >= 0 ? t / 2 : -((-t + 1) / 2);
        value = nodes[a].y + half;
    }
    return std::clamp<int64_t>(value, 0, n - 1);
}

inline std::vector<uint16_t> ExpectedCurve(std::span<const LutNode> nodes, int64_t n) {
    std::vector<uint16_t> curve(n);
    for (int64_t i = 0; i < n; ++i) curve[i] = uint16_t(ExpectedCurveEntry(nodes, i, n));
    return curve;
}

inline std::vector<LutNode> NodesOf(const CLutModel& model, int option) {
    auto nodes = model.Nodes(option);
    return {nodes.begin(), nodes.end()};
}

inline std::vector<uint16_t> CurveOf(const CLutModel& model, int option) {
    auto curve = model.Curve(option);
    return {curve.begin(), curve.end()};
}

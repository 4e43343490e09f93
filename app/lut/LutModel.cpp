#include "lut/LutModel.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <numeric>

#include "lut/LutOptionTable.h"
#include "lut/LutTexts.h"

namespace velterra {

namespace {

// A field's text as a decimal integer; blanks around it are allowed, anything else is not.
bool ParseFieldInteger(const std::string& text, int32_t& value) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string::npos) return false;
    const auto last = text.find_last_not_of(" \t");
    const char* begin = text.data() + first;
    const char* end = text.data() + last + 1;
    if (*begin == '+') ++begin;
    if (begin == end) return false;
    const auto result = std::from_chars(begin, end, value);
    return result.ec == std::errc() && result.ptr == end;
}

std::string FormatCoordinate(int value) {
    char text[16];
    std::snprintf(text, sizeof text, LutTexts::kCoordinateFormat, value);
    return text;
}

}  // namespace

CLutModel::CLutModel() : m_view(this) {}

int CLutModel::OptionSlots() const {
    switch (m_nColorMode) {
        case kLutColorModeColor:
            return 4;
        case kLutColorModeMono:
            return kLutMaxOptions;
        default:
            return 0;
    }
}

bool CLutModel::InitLut(bool isColor, int16_t bits, int16_t taps) {
    // The view must never point into a released curve array.
    m_view.Unbind();
    m_curves.clear();
    m_curves.shrink_to_fit();
    m_options.clear();
    m_selectedOption = -1;

    if (isColor) {
        m_nBits = kLutColorBits;
        m_nTaps = kLutColorTaps;
        m_nColorMode = kLutColorModeColor;
    } else {
        // Depths of 16 or more do not fit the 16-bit entry count; more than four taps do not
        // fit the option storage.
        if (bits < 8 || bits % 2 != 0 || bits >= 16 || taps < 1 || taps > kLutMaxMonoTaps) {
            m_nColorMode = kLutColorModeNone;
            return false;
        }
        m_nBits = bits;
        m_nTaps = taps;
        m_nColorMode = kLutColorModeMono;
    }

    m_curves.resize(size_t(OptionSlots()) * Entries());
    for (int k = 0; k < OptionSlots(); ++k) {
        ResetOption(k);
        m_changed[k] = 0;
    }
    return true;
}

void CLutModel::ResetOption(int option) {
    uint16_t* curve = CurveData(option);
    std::iota(curve, curve + Entries(), uint16_t{0});
    m_nodes[option] = {};
    m_nodes[option][0] = {0, 0};
    m_nodes[option][1] = {Entries() - 1, Entries() - 1};
    m_nodeCounts[option] = 2;
}

void CLutModel::FillOptions() {
    m_options = HasLut() ? LutOptionTexts(m_nColorMode, m_nTaps) : std::vector<std::string>{};
    SelectOption(m_options.empty() ? -1 : 0);
    if (m_optionsChanged) m_optionsChanged();
}

void CLutModel::SelectOption(int option) {
    if (!HasLut() || option < 0 || option >= int(m_options.size()) || !IsSlot(option)) {
        m_selectedOption = -1;
        m_view.Unbind();
        return;
    }
    m_selectedOption = option;
    CurveBinding binding;
    binding.nodes = m_nodes[option].data();
    binding.nodeCount = &m_nodeCounts[option];
    binding.curve = CurveData(option);
    binding.changed = &m_changed[option];
    binding.bits = &m_nBits;
    m_view.Bind(binding);
}

std::string CLutModel::SelectedOptionText() const {
    if (m_selectedOption < 0 || m_selectedOption >= int(m_options.size())) return {};
    return m_options[m_selectedOption];
}

bool CLutModel::IsNoteVisible() const {
    return m_nTaps >= 2 && m_selectedOption == 0;
}

void CLutModel::ResetAllOptions() {
    if (m_nColorMode == kLutColorModeColor) {
        InitLut(true, kLutColorBits, kLutColorTaps);
    } else if (m_nColorMode == kLutColorModeMono) {
        InitLut(false, m_nBits, m_nTaps);
    } else {
        return;
    }
    FillOptions();
}

void CLutModel::ResetThisOption() {
    if (!HasLut() || m_selectedOption < 0) return;
    if (m_selectedOption == 0) {
        ResetAllOptions();
        return;
    }
    ResetOption(m_selectedOption);
    m_changed[m_selectedOption] = 1;
    SelectOption(m_selectedOption);
}

void CLutModel::PropagateAllTaps() {
    if (!HasLut() || m_nTaps < 2 || m_selectedOption != 0 || m_changed[0] == 0) return;
    const uint16_t* source = CurveData(0);
    for (int t = 1; t <= m_nTaps && IsSlot(t); ++t) {
        std::copy(source, source + Entries(), CurveData(t));
        m_nodes[t] = m_nodes[0];
        m_nodeCounts[t] = m_nodeCounts[0];
        m_changed[t] = 0;
    }
    m_changed[0] = 0;
}

void CLutModel::ShowCoordinates(int x, int y) {
    m_inputText = FormatCoordinate(x);
    m_outputText = FormatCoordinate(y);
    if (m_coordinatesShown) m_coordinatesShown();
}

void CLutModel::EditCoordinateFields(const std::string& inputText, const std::string& outputText) {
    m_inputText = inputText;
    m_outputText = outputText;
    int32_t x = 0;
    int32_t y = 0;
    // Half-typed or empty text is not a value yet; it must not move the node.
    if (ParseFieldInteger(inputText, x) && ParseFieldInteger(outputText, y)) {
        m_view.SetNodeFromFields(x, y);
    }
}

std::span<const uint16_t> CLutModel::Curve(int option) const {
    if (!IsSlot(option)) return {};
    return {m_curves.data() + size_t(option) * Entries(), size_t(Entries())};
}

std::span<const LutNode> CLutModel::Nodes(int option) const {
    if (!IsSlot(option)) return {};
    return {m_nodes[option].data(), size_t(NodeCount(option))};
}

int32_t CLutModel::NodeCount(int option) const {
    return IsSlot(option) ? std::clamp(m_nodeCounts[option], 0, kLutMaxNodes) : 0;
}

bool CLutModel::IsChanged(int option) const {
    return IsSlot(option) && m_changed[option] != 0;
}

void CLutModel::SetChanged(int option) {
    if (IsSlot(option)) m_changed[option] = 1;
}

bool CLutModel::StoreNodes(int option, std::span<const LutNode> nodes) {
    if (!IsSlot(option) || nodes.empty() || nodes.size() > size_t(kLutMaxNodes)) return false;
    m_nodes[option] = {};
    std::copy(nodes.begin(), nodes.end(), m_nodes[option].begin());
    m_nodeCounts[option] = int32_t(nodes.size());
    return true;
}

std::vector<uint16_t> CLutModel::VectorWords(int option) const {
    std::vector<uint16_t> words;
    for (const LutNode& node : Nodes(option)) {
        words.push_back(static_cast<uint16_t>(node.x & 0xFFFF));
        words.push_back(static_cast<uint16_t>(node.y & 0xFFFF));
    }
    return words;
}

bool CLutModel::StoreVectorWords(int option, int count, std::span<const uint16_t> words) {
    if (count < 1 || count > kLutMaxNodes || words.size() < size_t(count) * 2) return false;
    std::array<LutNode, kLutMaxNodes> nodes{};
    for (int i = 0; i < count; ++i) nodes[i] = {words[2 * i], words[2 * i + 1]};
    return StoreNodes(option, std::span(nodes.data(), size_t(count)));
}

}  // namespace velterra

#pragma once
#include <array>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "lut/CurveEditor.h"
#include "lut/CurveEditorHost.h"
#include "lut/LutModelTypes.h"

namespace velterra {

// The LUT editor without its widgets: owns the curves and nodes of every LUT option, the option
// list with its selection, the Input/Output field texts, and the curve editor bound to the
// selected option. The dialog shows this state and forwards the user's actions; camera and
// file transfers read and fill the storage through the accessors below.
class CLutModel : public ICurveEditorHost {
  public:
    CLutModel();
    CLutModel(const CLutModel&) = delete;
    CLutModel& operator=(const CLutModel&) = delete;

    // Sets up default LUTs for the geometry. Colour is always 8 bits and 3 taps. Mono needs an
    // even depth of 8 to 14 and 1 to 4 taps; otherwise the model is left without a LUT.
    bool InitLut(bool isColor, int16_t bits, int16_t taps);

    // Lists the options of the current geometry, selects option 0 and binds it.
    void FillOptions();
    // Selection change of the option list; an index outside the list selects nothing.
    void SelectOption(int option);
    void ResetAllOptions();
    void ResetThisOption();

    // ICurveEditorHost
    void PropagateAllTaps() override;
    void ShowCoordinates(int x, int y) override;

    // The user changed the Input or Output field: both are read as decimal integers and handed
    // to the curve editor, which applies them to the selected node when they are valid.
    void EditCoordinateFields(const std::string& inputText, const std::string& outputText);

    // Notifications for the dialog: the option list was refilled; the field texts were set.
    void SetOptionsChangedHandler(std::function<void()> handler) {
        m_optionsChanged = std::move(handler);
    }
    void SetCoordinatesHandler(std::function<void()> handler) {
        m_coordinatesShown = std::move(handler);
    }

    bool HasLut() const { return m_nColorMode != kLutColorModeNone; }
    int ColorMode() const { return m_nColorMode; }
    int16_t Bits() const { return m_nBits; }
    int16_t Taps() const { return m_nTaps; }
    int16_t Entries() const { return LutEntryCount(m_nBits); }
    // Options with storage: 4 in colour, 5 in mono, none without a LUT.
    int OptionSlots() const;

    const std::vector<std::string>& Options() const { return m_options; }
    int SelectedOption() const { return m_selectedOption; }
    // Text of the selected option shown beside the write-by-option button.
    std::string SelectedOptionText() const;
    // The all-taps note is shown while the all-taps option of a multi-tap LUT is selected.
    bool IsNoteVisible() const;
    const std::string& InputText() const { return m_inputText; }
    const std::string& OutputText() const { return m_outputText; }

    std::span<const uint16_t> Curve(int option) const;
    std::span<const LutNode> Nodes(int option) const;
    int32_t NodeCount(int option) const;
    bool IsChanged(int option) const;
    void SetChanged(int option);

    // Replaces an option's nodes (1 to 10 of them), as loaded from a camera. The curve is
    // rebuilt when the option is selected next.
    bool StoreNodes(int option, std::span<const LutNode> nodes);
    // Nodes as they travel to a camera: X then Y, each the low 16 bits.
    std::vector<uint16_t> VectorWords(int option) const;
    // The reverse, values zero-extended; `words` holds 2 * count values.
    bool StoreVectorWords(int option, int count, std::span<const uint16_t> words);

    CCurveEditor& View() { return m_view; }
    const CCurveEditor& View() const { return m_view; }

  private:
    bool IsSlot(int option) const { return option >= 0 && option < OptionSlots(); }
    uint16_t* CurveData(int option) { return m_curves.data() + size_t(option) * Entries(); }
    void ResetOption(int option);

    int16_t m_nBits = 8;
    int16_t m_nTaps = 1;
    int m_nColorMode = kLutColorModeNone;
    std::vector<uint16_t> m_curves;  // option after option, Entries() each
    std::array<std::array<LutNode, kLutMaxNodes>, kLutMaxOptions> m_nodes{};
    std::array<int32_t, kLutMaxOptions> m_nodeCounts{};
    std::array<uint8_t, kLutMaxOptions> m_changed{};

    std::vector<std::string> m_options;
    int m_selectedOption = -1;
    std::string m_inputText;
    std::string m_outputText;
    std::function<void()> m_optionsChanged;
    std::function<void()> m_coordinatesShown;

    CCurveEditor m_view;
};

}  // namespace velterra

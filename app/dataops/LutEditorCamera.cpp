#include "dataops/LutEditorCamera.h"

#include <array>
#include <vector>

#include "core/FormatText.h"
#include "core/WaitCursor.h"
#include "dataops/DataOpsTexts.h"
#include "lut/LutTexts.h"
#include "lut/LutWorkbook.h"

namespace velterra {

void LutEditorCamera::WriteOption(int option, int tap) {
    LutTransfer transfer(doc_);
    const auto curve = model_.Curve(option);
    transfer.WriteLutTap(tap, LutTransfer::kEveryScale, static_cast<int>(curve.size()),
                         curve.data());
    if (HasVectorSupport()) {
        const std::vector<uint16_t> words = model_.VectorWords(option);
        transfer.WriteLutTap(tap, LutTransfer::kVectorNodes, model_.NodeCount(option),
                             words.data());
    }
}

void LutEditorCamera::WriteOptionToCamera() {
    const int option = model_.SelectedOption();
    if (!model_.HasLut() || option < 0) return;
    WaitCursor cursor(Ui());
    if (model_.Taps() == 1) {
        WriteOption(0, 0);
    } else if (option >= 1) {
        WriteOption(option, option - 1);
    } else {
        for (int t = 0; t < model_.Taps(); ++t) WriteOption(0, t);
    }
}

void LutEditorCamera::WriteEachTapToCamera() {
    if (!model_.HasLut()) return;
    WaitCursor cursor(Ui());
    for (int t = 0; t < model_.Taps(); ++t) WriteOption(OptionOfTap(t), t);
}

void LutEditorCamera::LoadVectorsFromCamera() {
    if (!model_.HasLut() || !HasVectorSupport()) return;
    WaitCursor cursor(Ui());
    LutTransfer transfer(doc_);
    for (int t = 0; t < model_.Taps(); ++t) {
        std::array<uint16_t, 2 * LutTransfer::kMaxNodesPerTap> words{};
        uint16_t count = 0;
        // A tap without nodes would leave its option without a curve: taken as a failed read.
        const bool read =
            transfer.ReadLutTap(t, LutTransfer::kVectorNodes, 0, &count, words.data()) &&
            model_.StoreVectorWords(OptionOfTap(t), count, words);
        if (!read && Ui() != nullptr) {
            Ui()->ShowMessage(FormatText(LutTexts::kVectorReadFailed, t + 1), MessageKind::Plain);
        }
    }
    const int before = model_.SelectedOption();
    if (model_.Taps() == 1) {
        model_.SetChanged(before);
        model_.SelectOption(before);
        return;
    }
    // Selecting each tap rebuilds its curve from the new nodes.
    for (int k = 1; k <= model_.Taps(); ++k) {
        model_.SetChanged(k);
        model_.SelectOption(k);
    }
    model_.SelectOption(before);
    if (before == 0 && Ui() != nullptr) {
        Ui()->ShowMessage(LutTexts::kVectorsNotInAllTaps, MessageKind::Plain);
    }
}

bool LutEditorCamera::SaveLutToFile() {
    IUserInterface* ui = Ui();
    if (!model_.HasLut() || ui == nullptr) return false;
    const auto file = ui->AskSaveFileName(
        {DataOpsText::kSaveWorkbookFilter, DataOpsText::kSaveWorkbookExtension});
    if (!file) return false;
    WaitCursor cursor(ui);
    const bool isColor = model_.ColorMode() == kLutColorModeColor;
    const int taps = model_.Taps();
    std::vector<uint16_t> lut, counts, nodes;
    for (int t = 0; t < taps; ++t) {
        const int option = OptionOfTap(t);
        const auto curve = model_.Curve(option);
        lut.insert(lut.end(), curve.begin(), curve.end());
        const std::vector<uint16_t> words = model_.VectorWords(option);
        counts.push_back(static_cast<uint16_t>(model_.NodeCount(option)));
        nodes.insert(nodes.end(), words.begin(), words.end());
    }
    const bool withNodes = HasVectorSupport();
    return WriteLutWorkbook(*ui, std::filesystem::path(*file), isColor, model_.Bits(), taps, lut,
                            withNodes ? &counts : nullptr, withNodes ? &nodes : nullptr);
}

}  // namespace velterra

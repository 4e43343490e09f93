// Fuzzes the model command file loader, the model table lookup and the value parsers. The
// input is written as a model command file and as CAM_VL.ini in a private folder.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

#include "core/ConfigParsers.h"
#include "core/VelterraDoc.h"

using namespace velterra;

namespace {

void Check(bool condition) {
    if (!condition) std::abort();
}

const std::filesystem::path& Folder() {
    static const std::filesystem::path folder = [] {
        // Memory-backed where there is one: the files are rewritten on every run.
        std::filesystem::path base = std::filesystem::is_directory("/dev/shm")
                                         ? std::filesystem::path("/dev/shm")
                                         : std::filesystem::temp_directory_path();
        std::filesystem::path dir = base / ("velterra_fuzz_model_" + std::to_string(getpid()));
        std::filesystem::create_directories(dir);
        return dir;
    }();
    return folder;
}

void CheckTable(const CVelterraDoc& doc) {
    Check(doc.BlockCount == static_cast<int32_t>(doc.Blocks.size()));
    Check(doc.MaxTxUnitBits >= 8 && doc.MaxTxUnitBits % 2 == 0);
    Check(doc.TapsNum >= 1 && doc.TapsNum <= 4);
    for (const auto& block : doc.Blocks) {
        Check(block.SectionName.size() <= kTableTextChars);
        Check(block.DisplayName.size() <= kTableTextChars);
        Check(block.RowCount == static_cast<int32_t>(block.Rows.size()));
        int32_t counted = 0;
        for (const auto& row : block.Rows) {
            Check(row.SectionName.size() <= kTableTextChars);
            Check(row.DisplayName.size() <= kTableTextChars);
            if (!row.Command) continue;
            ++counted;
            const CommandInfo& c = *row.Command;
            Check(c.ListNum == static_cast<int32_t>(c.ListItems.size()));
            Check(c.SliderStep >= 1);
            Check(c.EnableAdvancedLevel >= 0 && c.EnableAdvancedLevel <= 2);
            for (const auto& item : c.ListItems) Check(item.Text.size() <= kTableTextChars);
        }
        Check(block.BasicCount + block.AdvancedCount + block.PasswordCount == counted);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    {
        std::ofstream(Folder() / "model.ini", std::ios::binary | std::ios::trunc) << text;
        std::ofstream(Folder() / "CAM_VL.ini", std::ios::binary | std::ios::trunc) << text;
    }

    CVelterraDoc doc(Folder().string());
    std::string reason;
    if (doc.LoadCommandTable((Folder() / "model.ini").string(), &reason)) {
        Check(doc.ConfigLoaded);
        CheckTable(doc);
        if (!doc.Blocks.empty()) doc.ToggleBlock(0);
    } else {
        Check(!reason.empty() && doc.Blocks.empty() && !doc.ConfigLoaded);
    }
    doc.FreeCommandTable();
    doc.FindCommandFile(std::string(text.substr(0, 16)));

    std::string a, b;
    uint8_t item = 0;
    uint32_t max = 0, min = 0;
    ParseNamedEntry(text, a, b);
    ParseListItem(text, item, a);
    ParseMaxMin(text, max, min);
    ParseBranchEntry(text, a, b);
    ParseLevel(text);
    ReadNumberText(text);
    return 0;
}

// Storing the document as a settings file, and the enabling rules of the two file commands.
#include <algorithm>

#include "SettingsFile.h"
#include "SettingsFileArchive.h"
#include "SettingsFileRecord.h"
#include "SettingsTexts.h"
#include "VelterraDoc.h"

namespace velterra {

bool SettingsFile::CanSave(const CVelterraDoc& doc) {
    return !doc.Blocks.empty();
}

bool SettingsFile::CanLoad(const CVelterraDoc& doc) {
    return !(doc.PortIndex >= 0 && doc.NotResponding);
}

void SettingsFile::Store(const CVelterraDoc& doc, SettingsFileArchive& archive) {
    std::lock_guard table(doc.TableLock);
    if (doc.Blocks.empty()) return;
    archive.WriteString(SettingsText::kFileTag);
    archive.WriteByte('\n');
    archive.WriteString(doc.ModelName);
    archive.WriteByte('\n');
    for (const BlockInfo& block : doc.Blocks) {
        const std::size_t rows = std::min<std::size_t>(
            static_cast<std::size_t>(std::max(block.RowCount, 0)), block.Rows.size());
        for (std::size_t r = 0; r < rows; ++r) {
            const RowInfo& row = block.Rows[r];
            if (!row.Command) continue;
            if (const auto record = EncodeSettingsRecord(*row.Command)) {
                archive.WriteBytes(record->data(), record->size());
            }
        }
    }
}

}  // namespace velterra

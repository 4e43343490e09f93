// Feeds arbitrary bytes to the settings-file loader of a document without a camera, which loads
// the file's model from the sample configuration: no input may crash or overrun. Whatever was
// loaded is stored again, and that file must load back to the same stored bytes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <set>
#include <sstream>
#include <string>

#include "core/CommandTable.h"
#include "core/SettingsFile.h"
#include "core/SettingsFileArchive.h"
#include "core/VelterraDoc.h"

using namespace velterra;

namespace {

std::string StoreOf(const CVelterraDoc& doc) {
    std::ostringstream out(std::ios::binary);
    SettingsFileArchive archive(out);
    SettingsFile::Store(doc, archive);
    return out.str();
}

SettingsFile::LoadReport LoadInto(CVelterraDoc& doc, const std::string& bytes) {
    std::istringstream in(bytes, std::ios::binary);
    SettingsFileArchive archive(in);
    return SettingsFile::Load(doc, archive, "fuzz.vlt");
}

// Rows that share a command take each other's records, so only tables without shared ids
// give back a stored file unchanged.
bool CommandIdsAreUnique(const CVelterraDoc& doc) {
    std::set<uint8_t> seen;
    for (const BlockInfo& block : doc.Blocks) {
        for (const RowInfo& row : block.Rows) {
            if (row.Command && !seen.insert(row.Command->CommandID).second) return false;
        }
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    CVelterraDoc doc(VELTERRA_CONFIG_DIR);
    const auto report = LoadInto(doc, std::string(reinterpret_cast<const char*>(data), size));
    if (report.outcome != SettingsFile::LoadReport::Outcome::kLoaded) return 0;

    const std::string stored = StoreOf(doc);
    CVelterraDoc again(VELTERRA_CONFIG_DIR);
    const auto reloaded = LoadInto(again, stored);
    if (reloaded.outcome != SettingsFile::LoadReport::Outcome::kLoaded || reloaded.truncated ||
        reloaded.tooLong != 0) {
        std::abort();
    }
    if (CommandIdsAreUnique(doc) && StoreOf(again) != stored) std::abort();
    return 0;
}

// Helpers of the settings-file tests: files as byte strings, and a document with a hand-made
// table on the scripted camera.
#pragma once
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "EngineTestSupport.h"
#include "core/SettingsFile.h"
#include "core/SettingsFileArchive.h"

using namespace velterra;

namespace settingstest {

inline std::string FileBytes(std::initializer_list<int> bytes) {
    std::string s;
    for (int b : bytes) s.push_back(static_cast<char>(b));
    return s;
}

inline std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

inline std::string Header(const std::string& model) {
    return "VLT_2_5\n" + model + "\n";
}

inline std::string StoreToString(const CVelterraDoc& doc) {
    std::ostringstream out(std::ios::binary);
    SettingsFileArchive archive(out);
    SettingsFile::Store(doc, archive);
    return out.str();
}

inline SettingsFile::LoadReport LoadFromString(CVelterraDoc& doc, const std::string& bytes,
                                               const std::string& fileName = "test.vlt") {
    std::istringstream in(bytes, std::ios::binary);
    SettingsFileArchive archive(in);
    return SettingsFile::Load(doc, archive, fileName);
}

inline void SetTable(CVelterraDoc& doc, std::vector<BlockInfo> blocks) {
    doc.Blocks = std::move(blocks);
    doc.BlockCount = static_cast<int32_t>(doc.Blocks.size());
}

inline CommandInfo& CommandAt(CVelterraDoc& doc, std::size_t block, std::size_t row) {
    return *doc.Blocks.at(block).Rows.at(row).Command;
}

}  // namespace settingstest

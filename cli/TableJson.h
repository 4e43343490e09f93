#pragma once
#include <nlohmann/json.hpp>
#include <string>

#include "core/CommandTable.h"
#include "core/ModelFile.h"
#include "core/VelterraDoc.h"

namespace velterra {

// JSON of the command table, every field under its own name and in table order. ValueText is
// included, so the same objects serve a table just loaded (empty values) and one read from a
// camera.
nlohmann::ordered_json CommandInfoToJson(const CommandInfo& command);
nlohmann::ordered_json RowInfoToJson(const RowInfo& row);
nlohmann::ordered_json BlockInfoToJson(const BlockInfo& block);
nlohmann::ordered_json BlocksToJson(const BlockArray& blocks);

// A model's name, its command file, its facts and its Blocks.
nlohmann::ordered_json ModelTableToJson(const std::string& modelName,
                                        const std::string& commandFilePath,
                                        const CameraModel& model);
// The same of the document's model.
nlohmann::ordered_json ModelTableToJson(const CVelterraDoc& doc);

// Texts from configuration files need not be UTF-8: bytes that are not become U+FFFD.
std::string DumpJson(const nlohmann::ordered_json& value);

}  // namespace velterra

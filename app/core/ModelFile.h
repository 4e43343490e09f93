#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "CommandTable.h"

namespace velterra {

// A camera model as its configuration files describe it: the facts of the model command file's
// Overview section and its command table. The document holds the loaded one; the simulator and
// the console's file commands read one without a document.
struct CameraModel {
    int32_t ColorCamera = 0;
    int32_t SupportFpnPrnuTables = 0;
    int32_t SupportLUT = 0;
    BlockArray Blocks;  // empty: no table
    int32_t BlockCount = 0;
    int16_t MaxTxUnitBits = 8;
    int16_t TapsNum = 1;
    uint16_t ActiveLength = 0;
    std::string MenuDB;  // menu database file name
};

// The Branch_Type entry of CAM_VL.ini that names a model.
struct ModelEntry {
    int32_t number = -1;      // its key
    std::string commandFile;  // the model command file's name, as written
};

// Path of a file in a start-up directory.
std::string StartupFilePath(std::string_view startupDirectory, std::string_view fileName);

// The first entry, in key order below MaxBranchTypeNum, whose model name equals `modelName`
// exactly; nothing when the table lists no such model (or cannot be read).
std::optional<ModelEntry> FindModelEntry(const std::string& modelTablePath,
                                         const std::string& modelName);

// The model command file of a model: its full path when CAM_VL.ini of the start-up directory
// lists the model; otherwise false with `path` set to the model table's own path.
bool FindModelFile(const std::string& startupDirectory, const std::string& modelName,
                   std::string& path);

// Reads a model command file into `model`, replacing its table. On failure the reason goes to
// *failure when given, the table is empty and the facts read before the failing rule keep their
// new values. A missing file reads as one without keys and fails at MaxBlockInfoNum; a table of
// more than 65,536 blocks, rows and list items together fails as a whole.
bool LoadModelFile(const std::string& path, CameraModel& model, std::string* failure = nullptr);

}  // namespace velterra

#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "CommandTable.h"
#include "DocumentObserver.h"

// The document: the camera model's command table and facts, and (as it grows) the camera
// connection. Views register as observers and are told about changes by hint number.
class CVelterraDoc {
  public:
    // The start-up directory holds CAM_VL.ini and Command.ini; empty means the current
    // directory at construction, as the program records it at start.
    explicit CVelterraDoc(std::string startupDirectory = {});
    ~CVelterraDoc();
    CVelterraDoc(const CVelterraDoc&) = delete;
    CVelterraDoc& operator=(const CVelterraDoc&) = delete;

    // Model facts and the command table, read from the model command file.
    int32_t ColorCamera = 0;
    int32_t SupportFpnPrnuTables = 0;
    int32_t SupportLUT = 0;
    BlockArray Blocks;  // empty: no table
    int32_t BlockCount = 0;
    int16_t MaxTxUnitBits = 8;
    int16_t TapsNum = 1;
    uint16_t ActiveLength = 0;
    std::string MenuDB;           // menu database file name
    std::string CommandFilePath;  // full path of the model command file
    std::string ModelName;
    std::string MessageText;    // line for the connection error log (hint 3)
    bool ConfigLoaded = false;  // a table loaded by LoadCommandTable is present
    std::string StartupDirectory;

    // Looks the model up in CAM_VL.ini; sets CommandFilePath to its command file, or to the
    // model table's own path when the model is not found.
    bool FindCommandFile(const std::string& modelName);
    // Loads a model command file into an empty table; a present table is kept and gives true.
    // The reason of a failure goes to *failure when given (the program itself shows none).
    bool LoadCommandTable(const std::string& path, std::string* failure = nullptr);
    void FreeCommandTable();
    void ToggleBlock(unsigned block);
    static bool ParseBranchEntry(std::string_view value, std::string& modelName,
                                 std::string& fileName);

    // Path of a file in the start-up directory.
    std::string StartupFilePath(std::string_view fileName) const;

    void AddObserver(IDocumentObserver* observer);
    void RemoveObserver(IDocumentObserver* observer);
    void UpdateAllViews(int hint, const BlockArray* blocks = nullptr);

  private:
    std::vector<IDocumentObserver*> observers_;
};

#pragma once
#include <iosfwd>
#include <string>

namespace velterra {

class CVelterraDoc;
class SettingsFileArchive;

// The document stored as a settings file (.vlt): the tag, the model name and one record per
// writable parameter. Loading puts the values into the table and, with a camera of the same
// model connected, writes each into the camera; without a camera it loads the named model's
// table and menus so the values can be viewed.
namespace SettingsFile {

// Command ids of "&Load VLT File..." (the file-open command) and "&Save VLT File As...".
inline constexpr int kLoadCommandId = 57601;
inline constexpr int kSaveAsCommandId = 57604;

// Pause after each camera write of a load.
inline constexpr int kWritePauseMs = 10;

// Menu enabling: saving needs a command table; loading is refused only while a port is in use
// and the camera does not answer.
bool CanSave(const CVelterraDoc& doc);
bool CanLoad(const CVelterraDoc& doc);

// Opens a settings file to be read, or shows why it cannot be ("Couldn't open..." and, for a
// FIFO, a device or a file too large to be one, the reason) and gives false. A FIFO or a
// device would block or never end, a huge file would fill the memory.
bool OpenForReading(CVelterraDoc& doc, const std::string& path, std::ifstream& in);

// Writes the document; an empty file when there is no table.
void Store(const CVelterraDoc& doc, SettingsFileArchive& archive);

struct LoadReport {
    enum class Outcome {
        kLoaded,         // the records were applied
        kWrongFormat,    // first line is not the tag: nothing changed
        kUnknownModel,   // no camera, and CAM_VL.ini does not name the model: nothing changed
        kModelMismatch,  // a camera of another model is connected: nothing changed
        kNoTable,        // the model's table could not be loaded (no camera) or is absent
        kCannotOpen,     // the file could not be read (LoadFile only)
    };
    Outcome outcome = Outcome::kLoaded;
    std::string modelName;   // the file's model line
    int records = 0;         // complete records read
    int applied = 0;         // rows a record was applied to
    int tooLong = 0;         // records skipped for a length above 64
    bool truncated = false;  // the file ended inside a record
    int writesFailed = 0;    // camera writes of writable parameters that did not succeed
};

// Reads a settings file into the document. fileName names the file in connection-log lines.
LoadReport Load(CVelterraDoc& doc, SettingsFileArchive& archive, const std::string& fileName);

// The two menu commands around their file dialogs. The window calls the Begin step, runs the
// dialog, then the file step with the chosen path.
void BeginSaveAs(CVelterraDoc& doc);
// Stores into path (written to a temporary file beside it, then put in its place, so a failed
// write leaves an existing file as it was). Success names the document after the file and
// clears its modified flag; failure shows a message.
bool SaveFile(CVelterraDoc& doc, const std::string& path);
// Finishes editing and starts a new, unmodified "Untitled" document; table and connection stay.
void BeginLoad(CVelterraDoc& doc);
// Opens path and loads it; the document is named after the file afterwards, also when the load
// stopped at a message.
LoadReport LoadFile(CVelterraDoc& doc, const std::string& path);

}  // namespace SettingsFile

}  // namespace velterra

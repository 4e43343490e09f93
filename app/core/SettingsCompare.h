#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace velterra {

class CVelterraDoc;

// The connected camera against a settings file (.vlt): the writable parameters the file holds
// are read from the camera and compared with the file's values; chosen differences can then be
// written into the camera. Reads and writes go through the document's parameter engine, so
// failed exchanges land in the connection log; problems with the file itself are shown as
// message boxes through the user interface, as a load shows them.
namespace SettingsCompare {

// One parameter whose value in the file is not the camera's.
struct Difference {
    int block = 0;  // the row in the document's table
    int row = 0;
    uint8_t commandId = 0;
    std::string blockName;  // the names the parameter list shows
    std::string parameterName;
    std::string fileValue;    // as the row would show it after a load of the file
    std::string cameraValue;  // as read from the camera
    // False when the file's byte names no item of the list: there is nothing to write then.
    bool writable = true;
};

struct Comparison {
    enum class Outcome {
        kCompared,       // every parameter the file holds was read and compared
        kCancelled,      // stopped by the progress callback; the lists hold what was compared
        kNotConnected,   // no camera connected, or no table loaded: nothing read
        kCannotOpen,     // the file could not be read
        kWrongFormat,    // the first line is not the tag
        kModelMismatch,  // the file belongs to another model than the camera
    };
    Outcome outcome = Outcome::kCompared;
    std::string fileName;                 // the file's name without its folders, for log lines
    std::string fileModel;                // the file's model line
    std::string cameraModel;              // the connected camera's model
    int cameraSlot = -1;                  // the port slot the camera was read on
    std::vector<Difference> differences;  // in table order
    int compared = 0;                     // parameters read and compared
    // "Block/Parameter" of parameters whose camera read failed (the log says why) and of
    // writable parameters the file has no record for; neither counts as a difference.
    std::vector<std::string> unreadable;
    std::vector<std::string> notInFile;
    int unknownRecords = 0;  // records of a command id no writable parameter has
    int tooLong = 0;         // records longer than a value can be, skipped (logged)
    bool truncated = false;  // the file ends inside a record; the records before it count

    // Every record of the file was usable and every parameter it names was read.
    bool Complete() const {
        return outcome == Outcome::kCompared && unreadable.empty() && tooLong == 0 && !truncated;
    }
    bool Same() const { return Complete() && differences.empty(); }
};

// Parameters done of the total; returning false stops between two exchanges.
using Progress = std::function<bool(int done, int total)>;

// Reads the file, then each writable parameter it holds from the camera (the rows show the
// camera's values afterwards). Without a camera, with a file that is not a settings file of
// the camera's model, nothing is read and a message box says why.
Comparison CompareWithFile(CVelterraDoc& doc, const std::string& path,
                           const Progress& progress = {});

struct WriteReport {
    int written = 0;
    // Each failure has a line in the connection log; once the camera stops answering, one
    // line says so and the remaining writes count as failed without being tried.
    int failed = 0;
    bool cancelled = false;
};

// Writes the file's value of each chosen difference (indices into comparison.differences) into
// the camera, 10 ms apart. A difference that no longer fits the document (another camera or
// model, another table) or has no writable value is not written and logged as such.
WriteReport WriteDifferences(CVelterraDoc& doc, const Comparison& comparison,
                             const std::vector<std::size_t>& chosen, const Progress& progress = {});

}  // namespace SettingsCompare

}  // namespace velterra

#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "core/OnePixelRequest.h"
#include "core/PortSlot.h"
#include "core/VelterraDoc.h"

namespace velterra {

// The camera functions of the document: the function runner over Command.ini, the legacy
// 8160-pixel camera's FPN/PRNU tables, one-pixel write and image table, and the bad-pixel
// lists. Each operation takes the document's port lock around every single protocol call and
// releases it in between, so the LED poll can run between the exchanges of a long operation.
// Camera failures go to the connection log (hint 3), file and input errors to message boxes.
// Results: true when everything asked for was done (the window ignores them; the console tool
// turns them into its exit status).
class CameraFunctions {
  public:
    explicit CameraFunctions(CVelterraDoc& doc) : doc_(doc) {}
    CVelterraDoc& Document() { return doc_; }

    // Exchanges done of the total of a long operation; returning false cancels it between two
    // exchanges (only the image-table read offers a point to stop at).
    using Progress = std::function<bool(int done, int total)>;
    void SetProgress(Progress progress) { progress_ = std::move(progress); }
    // Whether the operation now reporting would stop when its progress says so: true for the
    // image-table read, false for the legacy table transfer, which runs as one library call.
    bool ProgressStoppable() const { return progressStoppable_; }

    // The program's one-pixel request, kept between uses of the Pixel Set dialog.
    OnePixelRequest PixelRequest;

    // Runs the Command.ini function of that section name, read afresh from the file.
    bool RunCameraFunction(std::string_view name);
    // Stores the text as the document's MessageText and sends every view hint 3.
    void ReportPortError(std::string text);

    // Built-in functions 3, 4 and 5 of the menus.
    bool WriteFpnPrnuTables();
    bool ReadFpnPrnuTables();
    // Runs the Pixel Set dialog; only on OK the "OnePixelWrite" function. False on cancel.
    bool SetOnePixel();

    // The legacy procedures the runner routes ids 0xC5, 0xC6, 0xC8 and 0xC9 to.
    bool LegacyTableTransfer(bool write);
    bool LegacyOnePixelWrite();
    // 136 chunks (tap, block, half) of 60 values; for 0xC8 ImageTable.txt is written after a
    // complete read, for any other id the read runs a second time with table selector 1 and
    // nothing is kept. A chunk length other than 120 is refused with a message box before any
    // exchange, since the chunk decoding takes 120 bytes.
    bool ReadImageTable(uint8_t commandId, int chunkLength, std::string_view name = {});

    // Built-in functions 10 and 9 (limits 8 and 8): the camera's bad-pixel block to
    // BadPixels.txt and back. Both need a camera of kernel type 1.
    bool ReadBadPixels(int even, int odd);
    bool WriteBadPixels(int even, int odd);

    static constexpr int kBadPixelLimit = 8;

  private:
    // One protocol call under the port lock, with the port type and library port number.
    template <class Call>
    bool PortCall(Call&& call);
    bool ReadImagePass(uint8_t commandId, int chunkLength, uint8_t selector, int passIndex,
                       int passes, std::vector<uint16_t>& image);
    std::string CommandIniPath() const;
    void ShowMessage(const std::string& text);

    CVelterraDoc& doc_;
    Progress progress_;
    bool progressStoppable_ = false;
};

template <class Call>
bool CameraFunctions::PortCall(Call&& call) {
    return doc_.CallPort(doc_.PortIndex, std::forward<Call>(call)) != 0;
}

}  // namespace velterra

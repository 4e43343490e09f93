// How the simulated camera answers one well-formed request frame: the model text, the alive
// command, the parameters, the named commands of Command.ini and the table procedures. Knows
// nothing of pseudo-terminals, timing or faults; SimulatedCamera carries its answers.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "CameraConfig.h"
#include "FrameReader.h"
#include "ParameterStore.h"
#include "TableStore.h"

namespace velterra::sim {

// A kernel-0 table transfer that follows its header frame: after the ready byte 0x40 the
// host answers ACK, then the entries travel as raw little-endian bytes.
struct RawTransfer {
    bool hostWrites = false;
    TableFamily family = TableFamily::kLut;
    uint8_t tableId = 0;
    int count = 0;
};

struct Reply {
    enum class Then { kNothing, kBusy, kRaw };
    std::vector<uint8_t> bytes;  // empty: no answer
    std::string outcome;         // for the log, e.g. "ACK", "NAK (read-only)"
    Then then = Then::kNothing;
    RawTransfer raw;  // kRaw
};

class CameraResponder {
  public:
    explicit CameraResponder(const CameraConfig& config);

    Reply Respond(const Frame& frame);

    // Kernel-0 raw table transfers.
    std::vector<uint8_t> RawBlock(const RawTransfer& transfer) const;
    void StoreRawBlock(const RawTransfer& transfer, std::span<const uint8_t> bytes);

    ParameterStore& Parameters() { return parameters_; }
    const ParameterStore& Parameters() const { return parameters_; }
    TableStore& Tables() { return tables_; }
    const TableStore& Tables() const { return tables_; }

  private:
    Reply Ack(const std::string& what = {}) const;
    Reply Nak(const std::string& why) const;
    Reply Data(const Frame& frame, std::vector<uint8_t> data, const std::string& what) const;

    std::optional<Reply> ModelText(const Frame& frame) const;
    Reply Parameter(const Frame& frame);
    std::optional<Reply> Legacy(const Frame& frame);
    std::optional<Reply> Table(const Frame& frame, TableFamily family);
    Reply TableHeader(const Frame& frame, TableFamily family);
    Reply TableChunk(const Frame& frame, TableFamily family);
    std::optional<Reply> OnePixel(const Frame& frame);
    std::optional<Reply> Named(const Frame& frame);

    const CameraConfig& config_;
    ParameterStore parameters_;
    TableStore tables_;

    std::optional<uint8_t> aliveId_;
    std::optional<uint8_t> lutId_;
    std::optional<uint8_t> waitId_;
    std::optional<uint8_t> badPixelsId_;
    std::optional<uint8_t> fpnPrnuWriteId_;
    std::optional<uint8_t> fpnPrnuReadId_;
    std::optional<uint8_t> onePixelId_;
    std::optional<uint8_t> frnCoefId_;
    std::optional<uint8_t> prnuCoefId_;

    uint8_t status_ = 0;  // of the last table write, read with the wait command
    // The legacy read position (command 0xC7): table, tap, block, half.
    uint8_t legacyTable_ = 0;
    int legacyTap_ = 1;
    int legacyBlock_ = 0;
    int legacyHalf_ = 0;
    // The pixel a one-pixel read answers for: the last one written.
    uint8_t onePixelKind_ = 0;
    uint16_t onePixelNumber_ = 0;
    int onePixelIndex_ = 0;
};

}  // namespace velterra::sim

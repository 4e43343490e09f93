// Reading and writing single parameters, and the refresh of every parameter.
#include <algorithm>
#include <cstring>

#include "Clock.h"
#include "ConfigParsers.h"
#include "EngineTexts.h"
#include "FormatText.h"
#include "PortSlot.h"
#include "UpdateHints.h"
#include "VelterraDoc.h"

namespace velterra {

namespace {

// Large enough for any CharLength (one byte) plus a terminating zero.
constexpr std::size_t kExchangeBufferSize = 256 + 1;

// A number's bytes on the wire: least significant first, CharLength of them (at most 4 count).
uint32_t LittleEndianValue(const uint8_t* bytes, std::size_t count) {
    uint32_t value = 0;
    for (std::size_t i = std::min<std::size_t>(count, 4); i-- > 0;) value = (value << 8) | bytes[i];
    return value;
}

std::string TextOfBytes(const uint8_t* bytes, std::size_t count) {
    const auto* begin = reinterpret_cast<const char*>(bytes);
    const std::size_t length = std::find(begin, begin + count, '\0') - begin;
    return std::string(begin, std::min(length, kTableTextChars));
}

}  // namespace

CVelterraDoc::ExchangeResult CVelterraDoc::Exchange(const CommandInfo& command, bool write,
                                                    uint8_t* buffer, int settleMs) {
    if (!ExchangeRuns.MayExchange()) return ExchangeResult::kSkipped;
    const uint8_t length = command.CharLength;
    const bool kernel1 = CameraKernel == 1;
    // The settle waits belong to the exchange: nothing else reaches the camera between them.
    const int32_t result =
        CallPort(PortIndex, [&](const ProtocolApi& protocol, int32_t type, int32_t port) {
            if (settleMs > 0) platform::SleepMs(static_cast<uint32_t>(settleMs));
            int32_t outcome = 0;
            if (kernel1) {
                uint16_t replyLength = 0;
                outcome = write ? protocol.ReadWritePort2(type, port, 1, command.CommandID, length,
                                                          buffer, 0, nullptr, nullptr)
                                : protocol.ReadWritePort2(type, port, 0, command.CommandID, 0,
                                                          nullptr, length, &replyLength, buffer);
                // An MB reply states its own length: one shorter than the parameter holds only
                // part of the value (the rest of the buffer would read as zeros), so it counts as
                // a failed read.
                if (!write && outcome != 0 && replyLength != length) outcome = 0;
            } else {
                outcome = protocol.ReadWritePort(type, port, write ? 1 : 0, command.CommandID,
                                                 length, buffer);
            }
            if (settleMs > 0) platform::SleepMs(static_cast<uint32_t>(settleMs));
            return outcome;
        });
    if (ExchangeRuns.Record(result != 0)) silentToTell_ = true;
    return result != 0 ? ExchangeResult::kDone : ExchangeResult::kFailed;
}

void CVelterraDoc::LogMessage(std::string text) {
    // The LED thread's refresh logs too: the line travels with its hint, and MessageText is
    // written under its lock.
    {
        std::lock_guard lock(messageLock_);
        MessageText = text;
    }
    NotifyObservers(UpdateHint::kLogMessage, nullptr, text);
}

void CVelterraDoc::LogExchangeFailure(std::string text) {
    LogMessage(std::move(text));
    if (silentToTell_) {
        silentToTell_ = false;
        LogMessage(FormatText(EngineText::kCameraSilent, PortName().c_str()));
    }
}

int CVelterraDoc::ReadWriteParameter(int block, int row, bool write, const std::string* text) {
    std::lock_guard table(TableLock);
    if (PortIndex < 0 || Blocks.empty()) return 0;
    // Callers pass valid indices; one outside the table does nothing rather than touch memory
    // that is not there.
    if (block < 0 || static_cast<std::size_t>(block) >= Blocks.size()) return 0;
    BlockInfo& b = Blocks[static_cast<std::size_t>(block)];
    if (b.Rows.empty() || row < 0 || static_cast<std::size_t>(row) >= b.Rows.size()) return 0;
    RowInfo& r = b.Rows[static_cast<std::size_t>(row)];
    if (!r.Command) return 0;

    SetPortTypeFromSlot(PortIndex);
    const std::string portName = PortName();
    if (r.Command->EnableList != 0) return ReadWriteList(b, r, write, text, portName);
    if (write) {
        if (r.Command->EnableRW == 0 || text == nullptr) return 0;
        return WriteValue(b, r, *text, portName);
    }
    return ReadValue(b, r, portName);
}

int CVelterraDoc::ReadWriteList(BlockInfo& block, RowInfo& row, bool write, const std::string* text,
                                const std::string& portName) {
    CommandInfo& command = *row.Command;
    if (write) {
        if (command.EnableRW == 0 || text == nullptr) return 0;
        // Items sharing a text are tried in list order until one write succeeds.
        for (const ListItem& item : command.ListItems) {
            if (item.Text != *text) continue;
            uint8_t data[kExchangeBufferSize] = {item.Value};
            const ExchangeResult result = Exchange(command, true, data);
            if (result == ExchangeResult::kDone) {
                command.ValueText = item.Text;
                return 1;
            }
            if (result == ExchangeResult::kSkipped) return 0;
            LogExchangeFailure(FormatText(EngineText::kWriteListFailed, block.DisplayName.c_str(),
                                          row.DisplayName.c_str(), portName.c_str(),
                                          item.Text.c_str()));
        }
        return 0;
    }
    uint8_t data[kExchangeBufferSize] = {};
    if (const ExchangeResult result = Exchange(command, false, data);
        result != ExchangeResult::kDone) {
        if (result == ExchangeResult::kFailed) {
            LogExchangeFailure(FormatText(EngineText::kReadListFailed, block.DisplayName.c_str(),
                                          row.DisplayName.c_str(), portName.c_str()));
        }
        return 0;
    }
    const auto match = std::find_if(command.ListItems.begin(), command.ListItems.end(),
                                    [&](const ListItem& item) { return item.Value == data[0]; });
    command.ValueText = match != command.ListItems.end() ? match->Text : EngineText::kNotAvailable;
    return 1;
}

int CVelterraDoc::WriteValue(BlockInfo& block, RowInfo& row, const std::string& text,
                             const std::string& portName) {
    CommandInfo& command = *row.Command;
    uint8_t data[kExchangeBufferSize] = {};
    if (command.PureTextValue != 0) {
        std::memcpy(data, text.data(), std::min<std::size_t>(text.size(), command.CharLength));
        if (const ExchangeResult result = Exchange(command, true, data);
            result != ExchangeResult::kDone) {
            if (result == ExchangeResult::kFailed) {
                LogExchangeFailure(FormatText(EngineText::kWriteStringFailed,
                                              block.DisplayName.c_str(), row.DisplayName.c_str(),
                                              portName.c_str(), text.c_str()));
            }
            return 0;
        }
        command.ValueText = TextOfBytes(data, command.CharLength);
        return 1;
    }
    const uint32_t value = ValueTextNumber(text);
    for (std::size_t i = 0; i < std::min<std::size_t>(command.CharLength, 4); ++i) {
        data[i] = static_cast<uint8_t>(value >> (8 * i));
    }
    if (const ExchangeResult result = Exchange(command, true, data);
        result != ExchangeResult::kDone) {
        if (result == ExchangeResult::kFailed) {
            LogExchangeFailure(FormatText(EngineText::kWriteValueFailed, block.DisplayName.c_str(),
                                          row.DisplayName.c_str(), portName.c_str(), value));
        }
        return 0;
    }
    command.ValueText = std::to_string(value);
    return 1;
}

int CVelterraDoc::ReadValue(BlockInfo& block, RowInfo& row, const std::string& portName) {
    CommandInfo& command = *row.Command;
    command.ValueText.clear();
    uint8_t data[kExchangeBufferSize] = {};
    const ExchangeResult result = Exchange(command, false, data, kValueReadSettleMs);
    if (result == ExchangeResult::kSkipped) return 0;
    if (result == ExchangeResult::kFailed) {
        const char* text = command.PureTextValue != 0 ? EngineText::kReadStringFailed
                                                      : EngineText::kReadValueFailed;
        LogExchangeFailure(
            FormatText(text, block.DisplayName.c_str(), row.DisplayName.c_str(), portName.c_str()));
        return 0;
    }
    if (command.PureTextValue != 0) {
        command.ValueText = TextOfBytes(data, command.CharLength);
        return 1;
    }
    const uint32_t value = LittleEndianValue(data, command.CharLength);
    const bool outside = value > command.Max || value < command.Min;
    command.ValueText =
        command.EnableRW != 0 && outside ? EngineText::kNotAvailable : std::to_string(value);
    return 1;
}

void CVelterraDoc::RefreshAll() {
    if (CameraKernel == 1) {
        Busy = true;
        if (ui_ != nullptr) ui_->RepaintLamp();
    }
    if (ui_ != nullptr) ui_->SetWaitCursor(true);
    bool anyRead = false;
    int total = 0;
    std::vector<int> rowCounts;
    unsigned generation = 0;
    {
        std::lock_guard table(TableLock);
        generation = tableGeneration_;
        for (const BlockInfo& block : Blocks) {
            rowCounts.push_back(block.RowCount);
            total += block.RowCount;
        }
    }
    int done = 0;
    NotifyProgress(done, total);
    const ExchangeRun run(ExchangeRuns);
    // The table lock is held for one parameter at a time, so the window's thread can rebuild
    // its list between two reads; a table freed meanwhile ends the refresh.
    for (std::size_t b = 0; b < rowCounts.size() && ExchangeRuns.MayExchange(); ++b) {
        for (int r = 0; r < rowCounts[b] && ExchangeRuns.MayExchange(); ++r) {
            {
                std::lock_guard table(TableLock);
                if (tableGeneration_ != generation) break;
                if (ReadWriteParameter(static_cast<int>(b), r, false) == 1) anyRead = true;
            }
            NotifyProgress(++done, total);
            TableLock.LetWaitersIn();
        }
        if (tableGeneration_ != generation) break;
    }
    if (done != total) NotifyProgress(total, total);
    if (anyRead) SetModifiedFlag(true);
    // After a change of model the new table has been shown by its own hints.
    if (tableGeneration_ == generation) {
        UpdateAllViews(UpdateHint::kValuesChanged, rowCounts.empty() ? nullptr : &Blocks);
    }
    if (ui_ != nullptr) ui_->SetWaitCursor(false);
    if (CameraKernel == 1) {
        Busy = false;
        if (ui_ != nullptr) ui_->RepaintLamp();
    }
}

}  // namespace velterra

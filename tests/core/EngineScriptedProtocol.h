// A camera behind the protocol function table, for unit tests of the document and the connect
// steps: it keeps parameter values by command id, records every call, and fails what a test
// tells it to fail. Calls may come from several threads.
#pragma once
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "core/ProtocolApi.h"

using namespace velterra;

namespace enginetest {

using Bytes = std::vector<uint8_t>;

struct Call {
    enum class Kind {
        Open,
        Close,
        ReadWrite,
        ReadWrite2,
        Command,
        Command2,
        LegacyTable,
        OnePixel
    };
    Kind kind = Kind::Open;
    int32_t type = 0;
    int32_t index = 0;
    int32_t write = 0;
    uint8_t command = 0;
    uint32_t length = 0;  // bytes written or asked for
    Bytes data;           // bytes written
    uint32_t baud = 0;
    std::vector<std::string> files;  // legacy table transfer: FPN file, PRNU file
    uint8_t kernel = 0;              // kernel type an open asked for
};

inline Call MakeCall(Call::Kind kind, int32_t type, int32_t index, int32_t write = 0,
                     uint8_t command = 0, uint32_t length = 0) {
    Call call;
    call.kind = kind;
    call.type = type;
    call.index = index;
    call.write = write;
    call.command = command;
    call.length = length;
    return call;
}

class ScriptedCamera {
  public:
    // Reads return these bytes (zero-padded to the length asked); writes store theirs.
    std::map<uint8_t, Bytes> values;
    std::set<uint8_t> failingReads;
    std::set<uint8_t> failingWrites;
    // Results of the next calls of a kind, taken in order before the rules above.
    std::deque<int32_t> openResults;
    std::deque<int32_t> commandResults;
    std::deque<int32_t> writeResults;
    int32_t commandResult = 1;  // when commandResults is empty
    int32_t legacyResult = 1;   // legacy table transfer and one-pixel write
    // Runs inside every call, before it answers (while the caller holds its locks).
    std::function<void(const Call&)> duringCall;

    std::vector<Call> Calls() const {
        std::lock_guard lock(mutex_);
        return calls_;
    }
    std::vector<Call> CallsOf(Call::Kind kind) const {
        std::vector<Call> result;
        for (const Call& call : Calls())
            if (call.kind == kind) result.push_back(call);
        return result;
    }
    void ClearCalls() {
        std::lock_guard lock(mutex_);
        calls_.clear();
    }

    ProtocolApi Api() {
        ProtocolApi api;
        api.OpenPort2 = [this](int32_t type, int32_t index, uint32_t baud) {
            Call call = MakeCall(Call::Kind::Open, type, index);
            call.baud = baud;
            Record(call);
            return Take(openResults, 1);
        };
        api.OpenPort3 = [this](int32_t type, int32_t index, uint32_t baud, uint8_t kernel) {
            Call call = MakeCall(Call::Kind::Open, type, index);
            call.baud = baud;
            call.kernel = kernel;
            Record(call);
            return Take(openResults, 1);
        };
        api.ClosePort = [this](int32_t type, int32_t index) {
            Record(MakeCall(Call::Kind::Close, type, index));
            return 1;
        };
        api.ReadWritePort = [this](int32_t type, int32_t index, int32_t write, uint8_t command,
                                   uint8_t length, uint8_t* buffer) {
            Call call = MakeCall(Call::Kind::ReadWrite, type, index, write, command, length);
            return Exchange(call, buffer);
        };
        api.ReadWritePort2 = [this](int32_t type, int32_t index, int32_t write, uint8_t command,
                                    uint16_t writeLength, const uint8_t* writeData,
                                    uint16_t readLength, uint16_t* replyLength,
                                    uint8_t* readBuffer) {
            Call call = MakeCall(Call::Kind::ReadWrite2, type, index, write, command);
            if (write) {
                call.length = writeLength;
                return Exchange(call, const_cast<uint8_t*>(writeData));
            }
            call.length = readLength;
            if (replyLength != nullptr) *replyLength = readLength;
            return Exchange(call, readBuffer);
        };
        api.CommandPort = [this](int32_t type, int32_t index, uint8_t command, uint8_t length,
                                 const uint8_t* data) {
            Call call = MakeCall(Call::Kind::Command, type, index, 1, command, length);
            call.data.assign(data, data + length);
            Record(call);
            std::lock_guard lock(mutex_);
            if (!commandResults.empty()) {
                const int32_t result = commandResults.front();
                commandResults.pop_front();
                return result;
            }
            return commandResult;
        };
        api.CommandPort2 = [this](int32_t type, int32_t index, uint8_t command, uint16_t length,
                                  const uint8_t* data) {
            Call call = MakeCall(Call::Kind::Command2, type, index, 1, command, length);
            call.data.assign(data, data + length);
            Record(call);
            return Take(commandResults, commandResult);
        };
        api.TableReadWriteOld4T5500 = [this](int32_t type, int32_t index, int32_t write,
                                             const char* const files[2]) {
            Call call = MakeCall(Call::Kind::LegacyTable, type, index, write);
            call.files = {files[0], files[1]};
            Record(call);
            return legacyResult;
        };
        api.OnePixelWriteOld4T5500 = [this](int32_t type, int32_t index, uint8_t kind,
                                            uint16_t pixel, uint16_t value) {
            Call call = MakeCall(Call::Kind::OnePixel, type, index, 1, 0xC9, 5);
            call.data = {kind, static_cast<uint8_t>(pixel & 0xFF), static_cast<uint8_t>(pixel >> 8),
                         static_cast<uint8_t>(value & 0xFF), static_cast<uint8_t>(value >> 8)};
            Record(call);
            return legacyResult;
        };
        return api;
    }

  private:
    void Record(const Call& call) {
        {
            std::lock_guard lock(mutex_);
            calls_.push_back(call);
        }
        if (duringCall) duringCall(call);
    }
    int32_t Take(std::deque<int32_t>& results, int32_t otherwise) {
        std::lock_guard lock(mutex_);
        if (results.empty()) return otherwise;
        const int32_t result = results.front();
        results.pop_front();
        return result;
    }
    int32_t Exchange(Call call, uint8_t* buffer) {
        if (call.write) call.data.assign(buffer, buffer + call.length);
        Record(call);
        std::lock_guard lock(mutex_);
        if (call.write) {
            if (!writeResults.empty()) {
                const int32_t result = writeResults.front();
                writeResults.pop_front();
                if (result == 0) return 0;
            } else if (failingWrites.count(call.command)) {
                return 0;
            }
            values[call.command] = call.data;
            return 1;
        }
        if (failingReads.count(call.command)) return 0;
        const Bytes& value = values[call.command];
        for (uint32_t i = 0; i < call.length; ++i) buffer[i] = i < value.size() ? value[i] : 0;
        return 1;
    }

    mutable std::mutex mutex_;
    std::vector<Call> calls_;
};

inline Bytes TextBytes(const std::string& text) {
    return Bytes(text.begin(), text.end());
}

}  // namespace enginetest

// A clser library for the Camera Link transport's tests, built in three flavours: "full", one
// without clSetBaudRate ("nobaud") and one without the required clSerialRead ("broken").
//
// Two serial lines (index 0 and 1) without a camera behind them: what the transport writes is
// kept, reads are served from bytes the test feeds in beforehand (TestClser_Feed) and end at
// once with a time-out when too few are there (a read with time-out 0 sees only what was fed
// before the last write). Every call is appended to the file named by
// VELTERRA_TESTCLSER_LOG as one line ("full write 0 7 400": flavour, call, serial index, byte
// count, time-out). VELTERRA_TESTCLSER_REFUSE_BAUD=<code> makes clSetBaudRate refuse that code;
// VELTERRA_TESTCLSER_READ_PIECE=<k> makes reads succeed with at most k bytes per call, as a
// library that reports partial reads would.
//
// State is plain static storage, so the library stays usable while the process exits.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "ClserApi.h"

#define TESTCLSER_API extern "C" __attribute__((visibility("default")))

namespace {

constexpr unsigned kLines = 2;
constexpr unsigned kCapacity = 1 << 16;

struct Line {
    bool open;
    unsigned index;
    unsigned char input[kCapacity];
    unsigned inputLength;
    unsigned inputPosition;
    // Input fed before the last write. Bytes fed later are the answer still on its way: a read
    // with a time-out of 0 does not see them yet, a read that waits does.
    unsigned arrivedLength;
    unsigned char output[kCapacity];
    unsigned outputLength;
};

Line lines[kLines];

void Log(const char* call, unsigned index, long count = -1, long timeout = -1) {
    const char* path = std::getenv("VELTERRA_TESTCLSER_LOG");
    if (path == nullptr) return;
    if (FILE* file = std::fopen(path, "a")) {
        std::fprintf(file, "%s %s %u", TESTCLSER_FLAVOUR, call, index);
        if (count >= 0) std::fprintf(file, " %ld", count);
        if (timeout >= 0) std::fprintf(file, " %ld", timeout);
        std::fputc('\n', file);
        std::fclose(file);
    }
}

unsigned long EnvNumber(const char* name) {
    const char* text = std::getenv(name);
    return text ? std::strtoul(text, nullptr, 0) : 0;
}

Line* LineOf(void* serialRef) {
    Line* line = static_cast<Line*>(serialRef);
    return line != nullptr && line->open ? line : nullptr;
}

}  // namespace

TESTCLSER_API int32_t clSerialInit(uint32_t serialIndex, void** serialRef) {
    Log("init", serialIndex);
    if (serialIndex >= kLines || serialRef == nullptr) return CL_ERR_INVALID_INDEX;
    Line& line = lines[serialIndex];
    if (line.open) return CL_ERR_PORT_IN_USE;
    std::memset(&line, 0, sizeof line);
    line.open = true;
    line.index = serialIndex;
    *serialRef = &line;
    return CL_ERR_NO_ERR;
}

TESTCLSER_API void clSerialClose(void* serialRef) {
    if (Line* line = LineOf(serialRef)) {
        Log("close", line->index);
        line->open = false;
    }
}

#ifndef TESTCLSER_WITHOUT_BAUD
TESTCLSER_API int32_t clSetBaudRate(void* serialRef, uint32_t baudCode) {
    Line* line = LineOf(serialRef);
    if (line == nullptr) return CL_ERR_INVALID_REFERENCE;
    Log("baud", line->index, baudCode);
    if (baudCode == EnvNumber("VELTERRA_TESTCLSER_REFUSE_BAUD")) {
        return CL_ERR_BAUD_RATE_NOT_SUPPORTED;
    }
    return CL_ERR_NO_ERR;
}
#endif

TESTCLSER_API int32_t clSerialWrite(void* serialRef, int8_t* buffer, uint32_t* numBytes,
                                    uint32_t timeoutMs) {
    Line* line = LineOf(serialRef);
    if (line == nullptr || numBytes == nullptr) return CL_ERR_INVALID_REFERENCE;
    Log("write", line->index, *numBytes, timeoutMs);
    const unsigned room = kCapacity - line->outputLength;
    const unsigned count = *numBytes < room ? *numBytes : room;
    std::memcpy(line->output + line->outputLength, buffer, count);
    line->outputLength += count;
    line->arrivedLength = line->inputLength;
    *numBytes = count;
    return CL_ERR_NO_ERR;
}

#ifndef TESTCLSER_WITHOUT_READ
TESTCLSER_API int32_t clSerialRead(void* serialRef, int8_t* buffer, uint32_t* numBytes,
                                   uint32_t timeoutMs) {
    Line* line = LineOf(serialRef);
    if (line == nullptr || numBytes == nullptr) return CL_ERR_INVALID_REFERENCE;
    Log("read", line->index, *numBytes, timeoutMs);
    const unsigned end = timeoutMs == 0 ? line->arrivedLength : line->inputLength;
    const unsigned available = end > line->inputPosition ? end - line->inputPosition : 0;
    unsigned count = *numBytes < available ? *numBytes : available;
    const unsigned long piece = EnvNumber("VELTERRA_TESTCLSER_READ_PIECE");
    if (piece > 0 && count > piece) count = static_cast<unsigned>(piece);
    std::memcpy(buffer, line->input + line->inputPosition, count);
    line->inputPosition += count;
    const bool complete = count == *numBytes || piece > 0;
    *numBytes = count;
    return complete ? CL_ERR_NO_ERR : CL_ERR_TIMEOUT;
}
#endif

// Test controls: bytes the "camera" sends on a line, and what the line has received so far.
TESTCLSER_API void TestClser_Feed(uint32_t serialIndex, const uint8_t* bytes, uint32_t count) {
    Line& line = lines[serialIndex % kLines];
    for (uint32_t i = 0; i < count && line.inputLength < kCapacity; ++i) {
        line.input[line.inputLength++] = bytes[i];
    }
}

TESTCLSER_API uint32_t TestClser_Written(uint32_t serialIndex, uint8_t* bytes, uint32_t capacity) {
    const Line& line = lines[serialIndex % kLines];
    const uint32_t count = line.outputLength < capacity ? line.outputLength : capacity;
    std::memcpy(bytes, line.output, count);
    return count;
}

#include "BulkTestCameras.h"

#include <algorithm>

namespace velterra::test {
namespace {

constexpr uint8_t kStx = 0x02;
constexpr uint8_t kAck = 0x06;
constexpr uint8_t kNak = 0x15;
constexpr uint8_t kReadFlag = 0x80;
constexpr uint8_t kLegacyRead = 0xC5;
constexpr uint8_t kLegacyWrite = 0xC6;
constexpr uint8_t kLegacySelect = 0xC7;
constexpr size_t kLegacyHalf = 60;

Bytes Concat(Bytes head, const Bytes& tail) {
    head.insert(head.end(), tail.begin(), tail.end());
    return head;
}

}  // namespace

Bytes LittleEndian(const std::vector<uint16_t>& values) {
    Bytes bytes;
    for (uint16_t v : values) {
        bytes.push_back(static_cast<uint8_t>(v & 0xFF));
        bytes.push_back(static_cast<uint8_t>(v >> 8));
    }
    return bytes;
}

uint16_t Le16At(const Bytes& bytes, size_t offset) {
    return static_cast<uint16_t>(bytes.at(offset) | (bytes.at(offset + 1) << 8));
}

Bytes AckAndMbReply(uint8_t commandId, const Bytes& data) {
    return Concat({kAck}, MbReply(commandId, data));
}

// ---- MB camera ----

Responder MbTableCamera::AsResponder() {
    return [this](std::span<const uint8_t> pending) { return Handle(pending); };
}

void MbTableCamera::Override(AnswerOverride hook) {
    std::lock_guard lock(mutex_);
    override_ = std::move(hook);
}

void MbTableCamera::SetVectorReply(const Bytes& data) {
    std::lock_guard lock(mutex_);
    vectorReply_ = data;
}

void MbTableCamera::SetStatus(uint8_t status) {
    std::lock_guard lock(mutex_);
    status_ = status;
}

std::vector<SeenFrame> MbTableCamera::Frames() const {
    std::lock_guard lock(mutex_);
    return frames_;
}

std::vector<uint16_t> MbTableCamera::Table(uint8_t tableId) const {
    std::lock_guard lock(mutex_);
    auto it = tables_.find(tableId);
    return it != tables_.end() ? it->second : std::vector<uint16_t>(kTableSize);
}

void MbTableCamera::FillTable(uint8_t tableId, const std::vector<uint16_t>& values) {
    std::lock_guard lock(mutex_);
    auto& table = TableLocked(tableId);
    std::copy(values.begin(), values.end(), table.begin());
}

std::vector<uint16_t>& MbTableCamera::TableLocked(uint8_t tableId) {
    auto& table = tables_[tableId];
    if (table.empty()) table.resize(kTableSize);
    return table;
}

Response MbTableCamera::Handle(std::span<const uint8_t> pending) {
    std::lock_guard lock(mutex_);
    if (pending.front() != kStx) return {1, {}};
    const size_t size = MbRequestSizeIn(pending);
    if (size == 0) return {};
    SeenFrame frame;
    frame.commandId = pending[1];
    frame.read = (pending[2] & kReadFlag) != 0;
    frame.length = size - 6;
    frame.data.assign(pending.begin() + 4, pending.begin() + 4 + frame.length);
    frames_.push_back(frame);
    if (override_) {
        if (auto answer = override_(frames_.size() - 1, frame)) return {size, *answer};
    }
    return {size, NormalAnswer(frame)};
}

Bytes MbTableCamera::NormalAnswer(const SeenFrame& frame) {
    const Bytes& d = frame.data;
    if (!frame.read) {
        if (d.size() >= 6 && d[1] == 0) {  // a chunk of table entries
            auto& table = TableLocked(d[0]);
            const size_t offset = Le16At(d, 2);
            const size_t count = Le16At(d, 4);
            for (size_t i = 0; i < count && 6 + 2 * i + 1 < d.size(); ++i) {
                table[(offset + i) % kTableSize] = Le16At(d, 6 + 2 * i);
            }
        }
        return {kAck};
    }
    if (d.empty()) return AckAndMbReply(frame.commandId, {status_});
    if (d.size() == 2 && d[1] == 1) return AckAndMbReply(frame.commandId, vectorReply_);
    if (d.size() == 6) {
        const auto& table = TableLocked(d[0]);
        const size_t offset = Le16At(d, 2);
        const size_t count = Le16At(d, 4);
        std::vector<uint16_t> values;
        for (size_t i = 0; i < count; ++i) values.push_back(table[(offset + i) % kTableSize]);
        return AckAndMbReply(frame.commandId, LittleEndian(values));
    }
    return {kAck};
}

// ---- short-frame camera ----

void ShortFrameCamera::SetTableCommands(std::set<uint8_t> commandIds) {
    std::lock_guard lock(mutex_);
    tableCommandIds_ = std::move(commandIds);
}

Responder ShortFrameCamera::AsResponder() {
    return [this](std::span<const uint8_t> pending) { return Handle(pending); };
}

void ShortFrameCamera::Override(AnswerOverride hook) {
    std::lock_guard lock(mutex_);
    override_ = std::move(hook);
}

void ShortFrameCamera::SetHandshake(uint8_t byte) {
    std::lock_guard lock(mutex_);
    handshake_ = byte;
}

void ShortFrameCamera::SetReadReply(uint8_t commandId, const Bytes& data) {
    std::lock_guard lock(mutex_);
    readReplies_[commandId] = data;
}

std::vector<SeenFrame> ShortFrameCamera::Frames() const {
    std::lock_guard lock(mutex_);
    return frames_;
}

Bytes ShortFrameCamera::HostHandshakes() const {
    std::lock_guard lock(mutex_);
    return hostHandshakes_;
}

Bytes ShortFrameCamera::Stray() const {
    std::lock_guard lock(mutex_);
    return stray_;
}

std::vector<uint16_t> ShortFrameCamera::Table(uint8_t tableId) const {
    std::lock_guard lock(mutex_);
    auto it = tables_.find(tableId);
    return it != tables_.end() ? it->second : std::vector<uint16_t>();
}

void ShortFrameCamera::FillTable(uint8_t tableId, const std::vector<uint16_t>& values) {
    std::lock_guard lock(mutex_);
    tables_[tableId] = values;
}

ShortFrameCamera::LegacyTable ShortFrameCamera::Legacy(int table) const {
    std::lock_guard lock(mutex_);
    return legacy_.at(static_cast<size_t>(table));
}

void ShortFrameCamera::FillLegacy(int table, const LegacyTable& values) {
    std::lock_guard lock(mutex_);
    legacy_.at(static_cast<size_t>(table)) = values;
}

Response ShortFrameCamera::Handle(std::span<const uint8_t> pending) {
    std::lock_guard lock(mutex_);
    if (state_ == State::kAwaitAck) {
        hostHandshakes_.push_back(pending.front());
        if (tables_[transferTable_].size() < transferCount_) {
            tables_[transferTable_].resize(transferCount_);
        }
        if (transferDirection_ == 1) {
            state_ = State::kAwaitBlock;
            return {1, {}};
        }
        state_ = State::kFrames;
        const auto& table = tables_[transferTable_];
        return {1, LittleEndian({table.begin(), table.begin() + transferCount_})};
    }
    if (state_ == State::kAwaitBlock) {
        if (pending.size() < 2 * transferCount_) return {};
        auto& table = tables_[transferTable_];
        for (size_t i = 0; i < transferCount_; ++i) {
            table[i] = static_cast<uint16_t>(pending[2 * i] | (pending[2 * i + 1] << 8));
        }
        state_ = State::kFrames;
        return {2 * transferCount_, {}};
    }
    if (pending.front() != kStx) {
        stray_.push_back(pending.front());
        return {1, {}};
    }
    const size_t size = ShortRequestSizeIn(pending);
    if (size == 0) return {};
    SeenFrame frame;
    frame.commandId = pending[1];
    frame.read = (pending[2] & kReadFlag) != 0;
    frame.length = pending[2] & 0x7F;
    if (!frame.read) frame.data.assign(pending.begin() + 3, pending.begin() + 3 + frame.length);
    frames_.push_back(frame);
    if (override_) {
        if (auto answer = override_(frames_.size() - 1, frame)) return {size, *answer};
    }
    return {size, NormalAnswer(frame)};
}

uint16_t* ShortFrameCamera::LegacyHalfBlock(const uint8_t* address) {
    const size_t table = address[0], tap = address[1], block = address[2], half = address[3];
    if (table > 1 || tap < 1 || tap > kLegacyTaps || block > 16 || half > 1) return nullptr;
    return legacy_[table][tap - 1].data() + block * 2 * kLegacyHalf + half * kLegacyHalf;
}

Bytes ShortFrameCamera::NormalAnswer(const SeenFrame& frame) {
    const Bytes& d = frame.data;
    if (frame.read) {
        if (frame.commandId == kLegacyRead) {
            const auto* tap = LegacyHalfBlock(legacySelection_.data());
            if (tap == nullptr) return {kNak};
            std::vector<uint16_t> values(tap, tap + kLegacyHalf);
            return Concat({kAck}, ShortReply(frame.commandId, LittleEndian(values)));
        }
        auto it = readReplies_.find(frame.commandId);
        Bytes data = it != readReplies_.end() ? it->second : Bytes(frame.length);
        return Concat({kAck}, ShortReply(frame.commandId, data));
    }
    if (tableCommandIds_.count(frame.commandId) != 0 && d.size() == 4) {
        transferDirection_ = d[0];
        transferTable_ = d[1];
        transferCount_ = static_cast<size_t>(d[2] | (d[3] << 8));
        if (handshake_ == 0x40) state_ = State::kAwaitAck;
        return {kAck, handshake_};
    }
    if (frame.commandId == kLegacySelect && d.size() == 4) {
        std::copy(d.begin(), d.end(), legacySelection_.begin());
    }
    if (frame.commandId == kLegacyWrite && d.size() == 4 + 2 * kLegacyHalf) {
        uint16_t* half = LegacyHalfBlock(d.data());
        if (half == nullptr) return {kNak};
        for (size_t i = 0; i < kLegacyHalf; ++i) half[i] = Le16At(d, 4 + 2 * i);
    }
    return {kAck};
}

}  // namespace velterra::test

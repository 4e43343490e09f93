#include "SimulatedCamera.h"

#include <poll.h>

#include <algorithm>

#include "FrameCodec.h"
#include "SimTexts.h"
#include "TextFormat.h"

namespace velterra::sim {

namespace codec = velterra::codec;

namespace {

// A host that stops reading an answer this long has gone away.
constexpr std::chrono::milliseconds kWritePatience{5000};
// Records kept for Records(); the oldest go first on a long-running camera.
constexpr std::size_t kMaxRecords = 50000;
// How often a port left locked by a host that died is looked for, when the terminal cannot
// report hosts closing it.
constexpr std::chrono::milliseconds kPortCheckInterval{500};
// How long an unplug waits for the host to take the last answer.
constexpr std::chrono::milliseconds kUnplugGrace{1000};

bool ValidRate(double rate) {
    return rate >= 0.0 && rate <= 1.0;
}

// Takes one byte from a read's data reply (ACK + frame); other answers stay whole.
void CutShort(FrameFormat format, Reply& reply) {
    std::vector<uint8_t>& bytes = reply.bytes;
    if (format == FrameFormat::kShort) {
        if (bytes.size() <= 1 + codec::kShortOverhead) return;
        bytes.pop_back();
    } else {
        if (bytes.size() <= 1 + codec::kMbOverhead) return;
        const std::vector<uint8_t> data(bytes.begin() + 1 + codec::kMbHeaderSize + 1,
                                        bytes.end() - 2);
        const auto frame = codec::EncodeMbReply(bytes[2], data);
        bytes.assign(1, codec::kAck);
        bytes.insert(bytes.end(), frame.begin(), frame.end());
    }
    reply.outcome += ", one byte short (fault)";
}

}  // namespace

SimulatedCamera::SimulatedCamera(SimulatorOptions options) : options_(std::move(options)) {}

SimulatedCamera::~SimulatedCamera() {
    Stop();
}

bool SimulatedCamera::Start(std::string* error) {
    auto fail = [error](std::string reason) {
        if (error) *error = std::move(reason);
        return false;
    };
    if (thread_.joinable()) return true;
    const std::pair<const char*, double> rates[] = {{"--nak-rate", options_.nakRate},
                                                    {"--drop-rate", options_.dropRate},
                                                    {"--garbage-rate", options_.garbageRate},
                                                    {"--short-rate", options_.shortRate}};
    for (const auto& [name, rate] : rates) {
        if (!ValidRate(rate)) return fail(FormatText(text::kBadRate, name));
    }
    auto config = std::make_unique<CameraConfig>();
    std::string reason;
    std::vector<std::string> warnings;
    if (!config->Load(options_.configDir, options_.model, options_.kernel, &reason, &warnings)) {
        return fail(reason);
    }
    auto responder = std::make_unique<CameraResponder>(*config);
    if (!options_.valuesFile.empty()) {
        if (!responder->Parameters().ApplyValuesFile(options_.valuesFile, options_.model,
                                                     warnings)) {
            return fail(FormatText(text::kValuesFileMissing, options_.valuesFile.c_str()));
        }
    }
    if (!options_.logFile.empty()) {
        log_.open(options_.logFile, std::ios::out | std::ios::app);
        if (!log_) return fail(FormatText(text::kLogFileFailed, options_.logFile.c_str()));
    }
    if (!wake_.Valid()) return fail(FormatText(text::kNoPty, "pipe"));
    if (!pty_.Open(&reason)) return fail(FormatText(text::kNoPty, reason.c_str()));

    {
        std::lock_guard lock(mutex_);
        config_ = std::move(config);
        responder_ = std::move(responder);
        faults_ = std::make_unique<FaultInjector>(options_);
        warnings_ = std::move(warnings);
        records_.clear();
        frameCount_ = 0;
        busy_ = false;
        unplugged_ = false;
    }
    stop_ = false;
    wake_.Drain();
    phase_ = Phase::kFrames;
    thread_ = std::thread([this] { Run(); });
    return true;
}

void SimulatedCamera::Stop() {
    stop_ = true;
    wake_.Wake();
    changed_.notify_all();
    if (thread_.joinable()) thread_.join();
    pty_.Close();
    if (log_.is_open()) log_.close();
}

std::string SimulatedCamera::SlavePath() const {
    return pty_.SlavePath();
}

std::vector<std::string> SimulatedCamera::Warnings() const {
    std::lock_guard lock(mutex_);
    return warnings_;
}

std::string SimulatedCamera::ModelText() const {
    return config_ ? config_->ModelText() : std::string();
}

std::optional<std::vector<uint8_t>> SimulatedCamera::Value(uint8_t commandId) const {
    std::lock_guard lock(mutex_);
    if (!responder_) return std::nullopt;
    return responder_->Parameters().Value(commandId);
}

std::optional<uint32_t> SimulatedCamera::NumberValue(uint8_t commandId) const {
    const auto bytes = Value(commandId);
    if (!bytes) return std::nullopt;
    return BytesNumber(*bytes);
}

bool SimulatedCamera::SetValue(uint8_t commandId, std::span<const uint8_t> bytes) {
    std::lock_guard lock(mutex_);
    return responder_ && responder_->Parameters().Set(commandId, bytes);
}

std::vector<uint16_t> SimulatedCamera::Table(TableFamily family, uint8_t id, int offset,
                                             int count) const {
    std::lock_guard lock(mutex_);
    if (!responder_) return {};
    return responder_->Tables().Read(family, id, offset, count);
}

void SimulatedCamera::SetTable(TableFamily family, uint8_t id, int offset,
                               std::span<const uint16_t> entries) {
    std::lock_guard lock(mutex_);
    if (responder_) responder_->Tables().Write(family, id, offset, entries);
}

std::vector<uint8_t> SimulatedCamera::Nodes(uint8_t tableId) const {
    std::lock_guard lock(mutex_);
    if (!responder_) return {};
    return responder_->Tables().Nodes(tableId);
}

std::vector<uint8_t> SimulatedCamera::BadPixels() const {
    std::lock_guard lock(mutex_);
    if (!responder_) return {};
    return responder_->Tables().BadPixels();
}

void SimulatedCamera::SetBadPixels(std::span<const uint8_t> block) {
    std::lock_guard lock(mutex_);
    if (responder_) responder_->Tables().SetBadPixels(block);
}

std::vector<FrameRecord> SimulatedCamera::Records() const {
    std::lock_guard lock(mutex_);
    return {records_.begin(), records_.end()};
}

std::vector<Frame> SimulatedCamera::ReceivedFrames() const {
    std::lock_guard lock(mutex_);
    std::vector<Frame> frames;
    for (const auto& record : records_) {
        if (record.kind == FrameRecord::Kind::kFrame) frames.push_back(record.frame);
    }
    return frames;
}

std::size_t SimulatedCamera::FrameCount() const {
    std::lock_guard lock(mutex_);
    return frameCount_;
}

bool SimulatedCamera::WaitForFrames(std::size_t count, std::chrono::milliseconds timeout) const {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, timeout, [&] { return frameCount_ >= count; });
}

bool SimulatedCamera::WaitForRecord(const std::function<bool(const FrameRecord&)>& match,
                                    std::chrono::milliseconds timeout) const {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, timeout,
                             [&] { return std::any_of(records_.begin(), records_.end(), match); });
}

void SimulatedCamera::ClearRecords() {
    std::lock_guard lock(mutex_);
    records_.clear();
}

bool SimulatedCamera::Busy() const {
    std::lock_guard lock(mutex_);
    return busy_;
}

bool SimulatedCamera::Unplugged() const {
    std::lock_guard lock(mutex_);
    return unplugged_;
}

bool SimulatedCamera::WaitUnplugged(std::chrono::milliseconds timeout) const {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, timeout, [&] { return unplugged_; });
}

void SimulatedCamera::Run() {
    FrameReader reader(options_.kernel, std::chrono::milliseconds(options_.frameTimeoutMs));
    if (options_.kernel == 1) {
        reader.AcceptShortRead(config_->ModelCommandId(), config_->ModelTextLength());
    }
    uint8_t buffer[4096];
    auto nextPortCheck = Clock::now();
    bool checkPort = true;
    while (!stop_) {
        const auto read = pty_.Read(buffer, sizeof buffer,
                                    WaitMs(reader, Clock::now(), nextPortCheck), wake_.Fd());
        if (stop_) break;
        reader.Feed(std::span(buffer, read.bytes), Clock::now());
        bool busyOver = false;
        {
            std::lock_guard lock(mutex_);
            if (busy_ && Clock::now() >= busyUntil_) {
                busy_ = false;
                busyOver = true;
            }
        }
        if (!pty_.SeesHostCloses() && Clock::now() >= nextPortCheck) {
            nextPortCheck = Clock::now() + kPortCheckInterval;
            checkPort = true;
        }
        if (read.hostClosed || checkPort) {
            checkPort = false;
            if (pty_.ReleaseAbandonedPort()) {
                RecordEvent("exclusive flag left by a closed host cleared");
            }
        }
        if (busyOver) RecordEvent("busy period over");
        if (!Process(reader)) break;
    }
}

int SimulatedCamera::WaitMs(const FrameReader& reader, Clock::time_point now,
                            Clock::time_point nextPortCheck) const {
    std::optional<Clock::time_point> due;
    auto consider = [&due](Clock::time_point when) {
        if (!due || when < *due) due = when;
    };
    if (phase_ != Phase::kFrames) {
        consider(rawDeadline_);
    } else if (const auto frameDue = reader.Deadline()) {
        consider(*frameDue);
    }
    {
        std::lock_guard lock(mutex_);
        if (busy_) consider(busyUntil_);
    }
    if (!pty_.SeesHostCloses()) consider(nextPortCheck);
    if (!due) return -1;
    if (*due <= now) return 0;
    // Rounded up, so the wait does not end just before the limit and spin.
    return static_cast<int>(std::chrono::ceil<std::chrono::milliseconds>(*due - now).count());
}

bool SimulatedCamera::Process(FrameReader& reader) {
    while (!stop_) {
        const auto now = Clock::now();
        Step step = Step::kWait;
        switch (phase_) {
            case Phase::kAwaitHostAck:
                step = AwaitHostAck(reader, now);
                break;
            case Phase::kReceiveBlock:
                step = ReceiveBlock(reader, now);
                break;
            case Phase::kFrames:
                step = NextFrame(reader, now);
                break;
        }
        if (step == Step::kWait) return true;
        if (step == Step::kUnplugged) return false;
    }
    return true;
}

SimulatedCamera::Step SimulatedCamera::AwaitHostAck(FrameReader& reader, Clock::time_point now) {
    if (reader.Buffered() == 0) {
        if (now < rawDeadline_) return Step::kWait;
        RecordEvent("table transfer abandoned: no ACK after the ready byte");
        phase_ = Phase::kFrames;
        return Step::kAgain;
    }
    if (reader.Peek() != codec::kAck) {
        // Not the handshake: the bytes are left to the frame reader.
        RecordEvent("table transfer abandoned: the host did not answer ACK");
        phase_ = Phase::kFrames;
        return Step::kAgain;
    }
    FrameRecord record;
    record.kind = FrameRecord::Kind::kRaw;
    record.bytes = reader.Take(1);
    if (raw_.hostWrites) {
        record.outcome = "handshake ACK, receiving the table";
        rawBytes_.clear();
        rawDeadline_ = now + std::chrono::milliseconds(options_.rawTimeoutMs);
        phase_ = Phase::kReceiveBlock;
        Record(std::move(record));
        return Step::kAgain;
    }
    {
        std::lock_guard lock(mutex_);
        record.answer = responder_->RawBlock(raw_);
    }
    const std::size_t sent = pty_.Write(record.answer, stop_, wake_.Fd(), kWritePatience);
    record.outcome =
        FormatText("handshake ACK, sent %zu of %zu table bytes", sent, record.answer.size());
    Record(std::move(record));
    phase_ = Phase::kFrames;
    return Step::kAgain;
}

SimulatedCamera::Step SimulatedCamera::ReceiveBlock(FrameReader& reader, Clock::time_point now) {
    const std::size_t size = static_cast<std::size_t>(raw_.count) * 2;
    if (reader.Buffered() > 0) {
        const auto bytes = reader.Take(size - rawBytes_.size());
        rawBytes_.insert(rawBytes_.end(), bytes.begin(), bytes.end());
        rawDeadline_ = now + std::chrono::milliseconds(options_.rawTimeoutMs);
    }
    FrameRecord record;
    record.kind = FrameRecord::Kind::kRaw;
    if (rawBytes_.size() == size) {
        record.outcome =
            FormatText("table %u stored, %d entries", unsigned{raw_.tableId}, raw_.count);
        std::lock_guard lock(mutex_);
        responder_->StoreRawBlock(raw_, rawBytes_);
    } else if (now < rawDeadline_) {
        return Step::kWait;
    } else {
        // A part of a table is no table: nothing is stored.
        record.outcome =
            FormatText("table transfer abandoned after %zu of %zu bytes", rawBytes_.size(), size);
    }
    record.bytes = std::move(rawBytes_);
    rawBytes_.clear();
    Record(std::move(record));
    phase_ = Phase::kFrames;
    return Step::kAgain;
}

SimulatedCamera::Step SimulatedCamera::NextFrame(FrameReader& reader, Clock::time_point now) {
    auto event = reader.Next(now);
    if (!event) return Step::kWait;
    switch (event->kind) {
        case ReaderEvent::Kind::kSkipped: {
            FrameRecord record;
            record.kind = FrameRecord::Kind::kSkipped;
            record.bytes = std::move(event->raw);
            record.outcome = "ignored";
            Record(std::move(record));
            return Step::kAgain;
        }
        case ReaderEvent::Kind::kMalformed:
            HandleMalformed(*event);
            break;
        case ReaderEvent::Kind::kFrame:
            HandleFrame(event->frame);
            break;
    }
    if (options_.unplugAfter > 0 &&
        FrameCount() >= static_cast<std::size_t>(options_.unplugAfter)) {
        Unplug();
        return Step::kUnplugged;
    }
    return Step::kAgain;
}

void SimulatedCamera::Unplug() {
    // The cable is pulled after the last answer has reached the host, which closing at once
    // would throw away with the terminal's queue. The bytes reach the host's queue a moment
    // after they are written, so wait to see them come and go.
    const auto giveUp = Clock::now() + kUnplugGrace;
    bool seen = false;
    while (Clock::now() < giveUp && !stop_) {
        const int pending = pty_.PendingForHost();
        if (pending > 0) seen = true;
        if (seen && pending == 0) break;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    pty_.Close();
    {
        std::lock_guard lock(mutex_);
        unplugged_ = true;
    }
    RecordEvent("unplugged");
    if (onUnplugged_) onUnplugged_();
}

void SimulatedCamera::HandleMalformed(ReaderEvent& event) {
    FrameRecord record;
    record.kind = FrameRecord::Kind::kMalformed;
    record.bytes = std::move(event.raw);
    record.outcome = "NAK (" + event.problem + ")";
    record.answer = {codec::kNak};
    Answer(record, options_.faultCommandId < 0);
    Record(std::move(record));
}

void SimulatedCamera::HandleFrame(const Frame& frame) {
    FrameRecord record;
    record.kind = FrameRecord::Kind::kFrame;
    record.frame = frame;
    Reply reply;
    const bool targeted = options_.faultCommandId < 0 || frame.commandId == options_.faultCommandId;
    {
        std::lock_guard lock(mutex_);
        if (busy_) {
            reply.outcome = "no answer (busy)";
        } else {
            switch (targeted ? faults_->Draw() : Fault::kNone) {
                case Fault::kNak:
                    reply.bytes = {codec::kNak};
                    reply.outcome = "NAK (fault)";
                    break;
                case Fault::kDrop:
                    reply.outcome = "no answer (fault)";
                    break;
                case Fault::kGarbage: {
                    // About as many bytes as the answer would have had.
                    const std::size_t size =
                        frame.write ? 1 : std::size_t{frame.length} + codec::kMbOverhead;
                    reply.bytes = faults_->Garbage(size);
                    reply.outcome = "garbage (fault)";
                    break;
                }
                case Fault::kShort:
                    reply = responder_->Respond(frame);
                    if (!frame.write) CutShort(frame.format, reply);
                    break;
                case Fault::kNone:
                    reply = responder_->Respond(frame);
                    break;
            }
        }
    }
    record.answer = reply.bytes;
    record.outcome = reply.outcome;
    Answer(record, targeted);
    const auto now = Clock::now();
    if (reply.then == Reply::Then::kBusy) {
        std::lock_guard lock(mutex_);
        busy_ = true;
        busyUntil_ = now + std::chrono::milliseconds(options_.busyMs);
    } else if (reply.then == Reply::Then::kRaw) {
        raw_ = reply.raw;
        rawDeadline_ = now + std::chrono::milliseconds(options_.rawTimeoutMs);
        phase_ = Phase::kAwaitHostAck;
    }
    Record(std::move(record));
}

void SimulatedCamera::Answer(FrameRecord& record, bool delayed) {
    if (record.answer.empty()) return;
    if (delayed && options_.delayMs > 0 && !Pause(std::chrono::milliseconds(options_.delayMs)))
        return;
    const std::size_t sent = pty_.Write(record.answer, stop_, wake_.Fd(), kWritePatience);
    if (sent < record.answer.size()) {
        record.outcome += FormatText(", only %zu of %zu bytes taken", sent, record.answer.size());
    }
}

void SimulatedCamera::Record(FrameRecord record) {
    record.time = std::chrono::system_clock::now();
    std::lock_guard lock(mutex_);
    if (record.kind == FrameRecord::Kind::kFrame || record.kind == FrameRecord::Kind::kMalformed) {
        ++frameCount_;
    }
    if (log_.is_open()) log_ << DescribeRecord(record) << '\n' << std::flush;
    records_.push_back(std::move(record));
    if (records_.size() > kMaxRecords) records_.pop_front();
    changed_.notify_all();
}

void SimulatedCamera::RecordEvent(std::string outcome) {
    FrameRecord record;
    record.kind = FrameRecord::Kind::kEvent;
    record.outcome = std::move(outcome);
    Record(std::move(record));
}

bool SimulatedCamera::Pause(std::chrono::milliseconds pause) {
    const auto end = Clock::now() + pause;
    while (!stop_) {
        const auto now = Clock::now();
        if (now >= end) return true;
        pollfd p{wake_.Fd(), POLLIN, 0};
        poll(&p, 1,
             static_cast<int>(std::chrono::ceil<std::chrono::milliseconds>(end - now).count()));
    }
    return false;
}

}  // namespace velterra::sim

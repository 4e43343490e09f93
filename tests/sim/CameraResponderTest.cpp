// The camera's answers without a line: configuration, values file, refusals and the table
// procedures' checks.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "CameraResponder.h"
#include "FaultInjector.h"
#include "FrameCodec.h"

namespace velterra::sim {
namespace {

using Bytes = std::vector<uint8_t>;
constexpr uint8_t kAck = velterra::codec::kAck;
constexpr uint8_t kNak = velterra::codec::kNak;

CameraConfig Load(const std::string& model, int kernel = 0,
                  std::vector<std::string>* warnings = nullptr) {
    CameraConfig config;
    std::string error;
    EXPECT_TRUE(config.Load(VELTERRA_CONFIG_DIR, model, kernel, &error, warnings)) << error;
    return config;
}

Frame ShortWrite(uint8_t id, Bytes data) {
    Frame frame;
    frame.write = true;
    frame.commandId = id;
    frame.length = static_cast<uint16_t>(data.size());
    frame.data = std::move(data);
    return frame;
}

Frame ShortRead(uint8_t id, uint8_t length) {
    Frame frame;
    frame.commandId = id;
    frame.length = length;
    return frame;
}

Frame MbWrite(uint8_t id, Bytes data) {
    Frame frame = ShortWrite(id, std::move(data));
    frame.format = FrameFormat::kMb;
    return frame;
}

TEST(CameraConfig, ModelTextByKernelAndLoadFailures) {
    EXPECT_EQ(Load("LS-4096M12", 0).ModelText(), "VLT4096-12-4T");
    EXPECT_EQ(Load("LS-4096M12", 1).ModelText(), "VLT4096-12-4TM");
    EXPECT_EQ(Load("LS-8192M12", 1).ModelText(), "VLT8192-12-2TM");
    // No text of the 8160-pixel model reads as kernel 1: served anyway, with a warning.
    std::vector<std::string> warnings;
    EXPECT_EQ(Load("LS-8160-4T5500", 1, &warnings).ModelText(), "VL4T5500-8160");
    ASSERT_EQ(warnings.size(), 1u);
    EXPECT_NE(warnings[0].find("14 characters"), std::string::npos);

    CameraConfig config;
    std::string error;
    EXPECT_FALSE(config.Load(VELTERRA_CONFIG_DIR, "ls-4096m12", 0, &error, nullptr));
    EXPECT_NE(error.find("is not listed"), std::string::npos);
    EXPECT_FALSE(config.Load(VELTERRA_CONFIG_DIR, "LS-4096M12", 2, &error, nullptr));
}

TEST(CameraResponder, ValuesFileSetsValuesAndReportsWhatItCannot) {
    const CameraConfig config = Load("LS-4096M12");
    CameraResponder camera(config);
    const auto path = std::filesystem::temp_directory_path() /
                      ("camsim-values-" + std::to_string(::getpid()) + ".ini");
    std::ofstream(path) << "[Simulator]\n"
                           "0xA6=5000\n"      // number, 3 bytes
                           "0xAA=Mono12\n"    // list item text
                           "0x25=0x07\n"      // list number matching no item: served as is
                           "0x44=hello\n"     // text
                           "0x30=Sideways\n"  // no such item
                           "0x16=256\n"       // does not fit 1 byte
                           "0x7E=1\n"         // not a parameter
                           "A6=1\n";          // not a command id
    std::vector<std::string> problems;
    EXPECT_TRUE(camera.Parameters().ApplyValuesFile(path.string(), "LS-4096M12", problems));
    std::filesystem::remove(path);
    EXPECT_FALSE(camera.Parameters().ApplyValuesFile(path.string(), "LS-4096M12", problems));
    EXPECT_EQ(camera.Parameters().Value(0xA6), (Bytes{0x88, 0x13, 0x00}));
    EXPECT_EQ(camera.Parameters().Value(0xAA), (Bytes{0x0C}));
    EXPECT_EQ(camera.Parameters().Value(0x25), (Bytes{0x07}));
    Bytes hello(32, 0);
    std::copy_n("hello", 5, hello.begin());
    EXPECT_EQ(camera.Parameters().Value(0x44), hello);
    EXPECT_EQ(camera.Parameters().Value(0x30), (Bytes{0}));
    EXPECT_EQ(camera.Parameters().Value(0x16), (Bytes{0}));
    ASSERT_EQ(problems.size(), 4u);
    EXPECT_NE(problems[0].find("no item"), std::string::npos);
    EXPECT_NE(problems[1].find("fits 1 bytes"), std::string::npos);
    EXPECT_NE(problems[2].find("0x7E is not a parameter"), std::string::npos);
    EXPECT_NE(problems[3].find("\"A6\""), std::string::npos);

    // A read of an out-of-range value answers it as stored; the host decides what it means.
    EXPECT_EQ(camera.Respond(ShortRead(0x25, 1)).bytes,
              (Bytes{kAck, 0x02, 0x25, 0x01, 0x07, 0x23, 0x03}));
}

TEST(CameraResponder, NamedCommandsStatusAndUnknownIds) {
    const CameraConfig config = Load("LS-4096M12");
    CameraResponder camera(config);
    EXPECT_EQ(camera.Respond(ShortWrite(0xBA, {1})).bytes, (Bytes{kAck}));  // SaveUserSet
    const Reply busy = camera.Respond(ShortWrite(0xB9, {1}));               // PrnuCoef
    EXPECT_EQ(busy.bytes, (Bytes{kAck}));
    EXPECT_EQ(busy.then, Reply::Then::kBusy);
    // A named read answers zeros of the length asked for; the wait command the status.
    EXPECT_EQ(camera.Respond(ShortRead(0xBB, 2)).bytes,
              (Bytes{kAck, 0x02, 0xBB, 0x02, 0x00, 0x00, 0xB9, 0x03}));
    Frame status = ShortRead(0xB1, 0);
    status.format = FrameFormat::kMb;
    EXPECT_EQ(camera.Respond(status).bytes,
              (Bytes{kAck, 0x02, 0xB1, 0x00, 0x01, 0x00, 0xB0, 0x03}));
    EXPECT_EQ(camera.Respond(ShortWrite(0x7E, {})).bytes, (Bytes{kNak}));
    EXPECT_EQ(camera.Respond(ShortRead(0x7E, 1)).bytes, (Bytes{kNak}));
}

TEST(CameraResponder, TableFramesAreChecked) {
    const CameraConfig config = Load("LS-4096M12");
    CameraResponder camera(config);
    // Kernel-0 headers: direction, table, count.
    const Reply header = camera.Respond(ShortWrite(0xB0, {1, 2, 0x00, 0x10}));
    EXPECT_EQ(header.bytes, (Bytes{kAck, 0x40}));
    EXPECT_EQ(header.then, Reply::Then::kRaw);
    EXPECT_TRUE(header.raw.hostWrites);
    EXPECT_EQ(header.raw.count, 4096);
    EXPECT_EQ(camera.Respond(ShortWrite(0xB0, {2, 2, 1, 0})).bytes, (Bytes{kNak}));  // direction
    EXPECT_EQ(camera.Respond(ShortWrite(0xB0, {1, 2, 0, 0})).bytes, (Bytes{kNak}));  // count 0
    EXPECT_EQ(camera.Respond(ShortWrite(0xB0, {1, 2, 0, 0x80})).bytes, (Bytes{kNak}));
    EXPECT_EQ(camera.Respond(ShortWrite(0xC6, {1, 2, 1, 0})).bytes, (Bytes{kNak}));  // image
    EXPECT_EQ(camera.Respond(ShortWrite(0xC5, {0, 2, 1, 0})).then, Reply::Then::kRaw);
    EXPECT_EQ(camera.Respond(ShortWrite(0xC5, {0, 3, 1, 0})).bytes, (Bytes{kNak}));
    // Kernel-1 chunks: the length must match the count; the correction tables have no nodes.
    EXPECT_EQ(camera.Respond(MbWrite(0xB0, {0, 0, 0, 0, 2, 0, 1, 0})).bytes, (Bytes{kNak}));
    EXPECT_EQ(camera.Respond(MbWrite(0xB0, {0, 0, 4, 0, 1, 0, 9, 9})).bytes, (Bytes{kAck}));
    EXPECT_EQ(camera.Tables().Read(TableFamily::kLut, 0, 3, 3),
              (std::vector<uint16_t>{3, 0x0909, 5}));
    EXPECT_EQ(camera.Respond(MbWrite(0xC6, {0, 1, 0, 0})).bytes, (Bytes{kNak}));
    EXPECT_EQ(camera.Respond(MbWrite(0xB0, {0, 7, 0, 0})).bytes, (Bytes{kNak}));
    // Legacy commands check their tap places.
    EXPECT_EQ(camera.Respond(ShortWrite(0xC7, {0, 5, 0, 0})).bytes, (Bytes{kNak}));
    EXPECT_EQ(camera.Respond(ShortWrite(0xC7, {0, 4, 17, 0})).bytes, (Bytes{kNak}));
    EXPECT_EQ(camera.Respond(ShortWrite(0xC9, {0, 1, 0, 120, 1, 0})).bytes, (Bytes{kNak}));
    EXPECT_EQ(camera.Respond(ShortWrite(0xC9, {2, 1, 0, 0, 1, 0})).bytes, (Bytes{kNak}));
}

TEST(FaultInjector, SeedRepeatsTheFaultsAndGarbageNeverAcknowledges) {
    SimulatorOptions options;
    options.nakRate = 0.2;
    options.dropRate = 0.2;
    options.garbageRate = 0.2;
    options.seed = 42;
    FaultInjector a(options);
    FaultInjector b(options);
    options.seed = 43;
    FaultInjector c(options);
    std::vector<Fault> first;
    std::vector<Fault> second;
    std::vector<Fault> other;
    for (int i = 0; i < 200; ++i) {
        first.push_back(a.Draw());
        second.push_back(b.Draw());
        other.push_back(c.Draw());
    }
    EXPECT_EQ(first, second);
    EXPECT_NE(first, other);
    EXPECT_NE(std::count(first.begin(), first.end(), Fault::kNone), 200);
    EXPECT_NE(std::count(first.begin(), first.end(), Fault::kNone), 0);
    for (int i = 0; i < 500; ++i) EXPECT_NE(a.Garbage(3)[0], kAck);

    FaultInjector none(SimulatorOptions{});
    for (int i = 0; i < 100; ++i) EXPECT_EQ(none.Draw(), Fault::kNone);
}

}  // namespace
}  // namespace velterra::sim

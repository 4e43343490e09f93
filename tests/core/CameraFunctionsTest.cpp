// The camera function runner and the legacy camera's operations against a scripted camera:
// Command.ini entries to bytes on the wire, the routing of the legacy ids, the image table's
// order, pixel map and file, and the one-pixel request.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "EngineTestSupport.h"
#include "connect/PixelSetModel.h"
#include "dataops/CameraFunctionEntry.h"
#include "dataops/CameraFunctions.h"
#include "dataops/MenuFunctions.h"

using namespace velterra;

namespace enginetest {
namespace {

using Kind = Call::Kind;
using velterra::CameraFunctions;

class CameraFunctionsTest : public ::testing::Test {
  protected:
    CameraFunctionsTest() : fixture(scratch.Path()), functions(fixture.doc) {}

    void CommandIni(const std::string& text) { scratch.Write("Command.ini", text); }
    std::string ReadFile(const std::string& name) const {
        std::ifstream in(scratch.Path() + "/" + name, std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }
    std::vector<Call> CallsOf(Kind kind) const { return fixture.camera.CallsOf(kind); }

    ScratchConfig scratch;
    EngineFixture fixture;
    CameraFunctions functions;
};

TEST(CameraFunctionNumbers, LowerCaseHexOrSignedDecimalLowEightBits) {
    const std::pair<const char*, uint8_t> cases[] = {
        {"0x1F", 0x1F}, {"31", 0x1F}, {"0X1F", 0},     {"0x", 0},     {"300", 0x2C},
        {"-1", 0xFF},   {"abc", 0},   {"0x1ff", 0xFF}, {"12abc", 12}, {"", 0},
    };
    for (const auto& [text, expected] : cases) {
        EXPECT_EQ(velterra::FunctionNumberByte(text), expected) << text;
    }
}

TEST_F(CameraFunctionsTest, WriteFunctionSendsItsDataKeysWithTheKernelsCall) {
    CommandIni("[Three]\nCommandID=0xA0\nBytes=3\n0=0x10\n1=2\n[None]\nCommandID=0xA1\n");
    struct Case {
        int kernel;
        const char* name;
        Kind kind;
        uint8_t command;
        Bytes data;
    };
    const Case cases[] = {
        {0, "Three", Kind::Command, 0xA0, {0x10, 0x02, 0x00}},
        {1, "Three", Kind::Command2, 0xA0, {0x10, 0x02, 0x00}},
        {0, "None", Kind::Command, 0xA1, {}},
        // A missing section sends command 0 without data.
        {0, "Missing", Kind::Command, 0x00, {}},
    };
    for (const Case& c : cases) {
        fixture.camera.ClearCalls();
        fixture.doc.CameraKernel = c.kernel;
        EXPECT_TRUE(functions.RunCameraFunction(c.name)) << c.name;
        const auto calls = fixture.camera.Calls();
        ASSERT_EQ(calls.size(), 1u) << c.name;
        EXPECT_EQ(calls[0].kind, c.kind) << c.name;
        EXPECT_EQ(calls[0].type, 1) << c.name;
        EXPECT_EQ(calls[0].index, 1) << c.name;
        EXPECT_EQ(calls[0].command, c.command) << c.name;
        EXPECT_EQ(calls[0].data, c.data) << c.name;
    }
    // Command.ini is read again on every call.
    CommandIni("[Three]\nCommandID=0xA2\nBytes=1\n0=7\n");
    fixture.doc.CameraKernel = 0;
    EXPECT_TRUE(functions.RunCameraFunction("Three"));
    EXPECT_EQ(fixture.camera.Calls().back().command, 0xA2);
    EXPECT_EQ(fixture.camera.Calls().back().data, Bytes{7});
}

TEST_F(CameraFunctionsTest, FailedSendIsLoggedWithThePortName) {
    CommandIni("[Cmd]\nCommandID=0xa0\n");
    const std::pair<int, const char*> cases[] = {{7, "Sending command 0xA0 to COM2 is failed!"},
                                                 {2, "Sending command 0xA0 to clser-2 is failed!"}};
    for (const auto& [slot, message] : cases) {
        fixture.doc.PortIndex = slot;
        fixture.camera.commandResults.push_back(0);
        EXPECT_FALSE(functions.RunCameraFunction("Cmd"));
        EXPECT_EQ(fixture.view.Messages().back(), message);
    }
    EXPECT_EQ(CallsOf(Kind::Command)[1].index, 2);
    EXPECT_EQ(CallsOf(Kind::Command)[1].type, 0);
}

TEST_F(CameraFunctionsTest, LegacyIdsAreRoutedToTheirProcedures) {
    CommandIni(
        "[FPNPRNUWrite]\nCommandID=0xC6\n[FPNPRNURead]\nCommandID=0xC5\nBytes=0x80\n"
        "[OnePixelWrite]\nCommandID=0xC9\n[OddRead]\nCommandID=0xB7\nBytes=0x85\n");
    functions.PixelRequest = {1, 1, -2};

    EXPECT_TRUE(functions.WriteFpnPrnuTables());
    EXPECT_TRUE(functions.ReadFpnPrnuTables());
    const auto tables = CallsOf(Kind::LegacyTable);
    ASSERT_EQ(tables.size(), 2u);
    EXPECT_EQ(tables[0].write, 1);
    EXPECT_EQ(tables[1].write, 0);
    EXPECT_EQ(tables[0].files, (std::vector<std::string>{scratch.Path() + "/FPNTable.txt",
                                                         scratch.Path() + "/PRNUTable.txt"}));
    EXPECT_EQ(fixture.ui.Count("timer 750"), 2);

    EXPECT_TRUE(functions.RunCameraFunction("OnePixelWrite"));
    ASSERT_EQ(CallsOf(Kind::OnePixel).size(), 1u);
    EXPECT_EQ(CallsOf(Kind::OnePixel)[0].data, (Bytes{1, 1, 0, 0xFE, 0xFF}));

    // A read flag on another id takes the image-table path, which refuses a count of 5.
    fixture.camera.ClearCalls();
    EXPECT_FALSE(functions.RunCameraFunction("OddRead"));
    EXPECT_TRUE(fixture.camera.Calls().empty());
    ASSERT_EQ(fixture.ui.messages.size(), 1u);
    EXPECT_NE(fixture.ui.messages[0].find("0xB7 of \"OddRead\""), std::string::npos);
}

TEST_F(CameraFunctionsTest, OnePixelOutsideTheSensorIsRefusedBeforeSending) {
    CommandIni("[OnePixelWrite]\nCommandID=0xC9\n");
    for (uint32_t pixel : {0u, 8161u, 0xFFFFFFFFu}) {
        functions.PixelRequest.PixelNumber = pixel;
        EXPECT_FALSE(functions.RunCameraFunction("OnePixelWrite")) << pixel;
    }
    EXPECT_TRUE(CallsOf(Kind::OnePixel).empty());
    ASSERT_EQ(fixture.ui.messages.size(), 3u);
    EXPECT_NE(fixture.ui.messages[1].find("pixel number 8160 (0-based)"), std::string::npos);
    EXPECT_NE(fixture.ui.messages[2].find("pixel number -2 (0-based)"), std::string::npos);

    functions.PixelRequest.PixelNumber = 8160;
    fixture.camera.legacyResult = 0;
    EXPECT_FALSE(functions.RunCameraFunction("OnePixelWrite"));
    EXPECT_EQ(fixture.view.Messages().back(), "Sending command 0xC9 to COM2 is failed!");
}

TEST(PixelSetStorage, StoresTheEntryPlusOneAndWarnsOutsideTheSensor) {
    struct Case {
        const char* pixel;
        const char* value;
        uint32_t stored;
        int32_t storedValue;
        bool warns;
    };
    const Case cases[] = {{"0", "5", 1, 5, false},      {"8159", "-3", 8160, -3, false},
                          {"8160", "1", 8161, 1, true}, {"-1", "0", 0, 0, true},
                          {"abc", "x", 1, 0, false},    {"-2", "7", 0xFFFFFFFF, 7, false}};
    for (const Case& c : cases) {
        velterra::OnePixelRequest request{1, 99, 99};
        velterra::PixelSetModel model(request);
        EXPECT_FALSE(model.PrnuChosen()) << "FPN is checked on opening";
        EXPECT_EQ(model.StorePixelEntry(c.pixel, c.value).empty(), !c.warns) << c.pixel;
        EXPECT_EQ(request.PixelNumber, c.stored) << c.pixel;
        EXPECT_EQ(request.Value, c.storedValue) << c.pixel;
    }
    velterra::OnePixelRequest request;
    velterra::PixelSetModel model(request);
    model.ChoosePrnu();
    model.StorePixelEntry("0", "1");
    EXPECT_EQ(request.TableKind, 1);
    EXPECT_EQ(request.PixelNumber, 1u);
}

TEST_F(CameraFunctionsTest, MenuCodesRunTheirOperationsBusyAndUnknownCodesAreRefused) {
    CommandIni(
        "[FPNPRNUWrite]\nCommandID=0xC6\n[FPNPRNURead]\nCommandID=0xC5\nBytes=0x80\n"
        "[BadPixelsPos]\nCommandID=0xB4\n[Save]\nCommandID=0xBA\nBytes=1\n0=1\n");
    using velterra::MenuRun;
    std::vector<bool> busyDuringCalls;
    fixture.camera.duringCall = [&](const Call&) { busyDuringCalls.push_back(fixture.doc.Busy); };
    const std::pair<int, MenuRun> cases[] = {
        {3, MenuRun::Done},      {4, MenuRun::Done},        {2, MenuRun::OtherPart},
        {8, MenuRun::OtherPart}, {0, MenuRun::Unsupported}, {11, MenuRun::Unsupported},
        {10, MenuRun::Failed},   {5, MenuRun::Failed},  // a kernel-0 camera; the dialog cancelled
    };
    for (const auto& [code, outcome] : cases) {
        EXPECT_EQ(velterra::RunBuiltinFunction(functions, code), outcome) << code;
    }
    EXPECT_EQ(CallsOf(Kind::LegacyTable).size(), 2u);
    EXPECT_EQ(busyDuringCalls, (std::vector<bool>{true, true}));
    EXPECT_FALSE(fixture.doc.Busy);
    EXPECT_EQ(fixture.ui.messages,
              (std::vector<std::string>(2, "This function isn't supported!!")));
    EXPECT_EQ(fixture.view.Messages().back(),
              "Reading camera bad pixel positions (command 0xB4) from COM2 is failed!");

    // A command entry: the timer, the command, and RefreshRequested only with the flag.
    fixture.camera.ClearCalls();
    EXPECT_EQ(velterra::RunCommandEntry(functions, "Save", 0), MenuRun::Done);
    EXPECT_FALSE(fixture.doc.RefreshRequested);
    EXPECT_EQ(velterra::RunCommandEntry(functions, "Save", 1), MenuRun::Done);
    EXPECT_TRUE(fixture.doc.RefreshRequested);
    EXPECT_EQ(CallsOf(Kind::Command).size(), 2u);
    EXPECT_EQ(fixture.ui.Count("timer 750"), 4);
}

// Image chunks that name their own place: value k of a chunk is tap * 4096 + tap position.
class ImageTableTest : public CameraFunctionsTest {
  protected:
    ImageTableTest() {
        CommandIni(
            "[ImageRead]\nCommandID=0xC8\nBytes=0xF8\n[OtherRead]\nCommandID=0xB6\n"
            "Bytes=0xF8\n");
        fixture.camera.duringCall = [this](const Call& call) {
            if (call.kind != Kind::Command || call.command != 0xC7) return;
            Bytes chunk;
            for (int k = 0; k < 60; ++k) {
                const int value = call.data[1] * 4096 + 120 * call.data[2] + 60 * call.data[3] + k;
                chunk.push_back(static_cast<uint8_t>(value & 0xFF));
                chunk.push_back(static_cast<uint8_t>(value >> 8));
            }
            fixture.camera.values[0xC8] = chunk;
        };
    }
    std::vector<int> Pixels() const {
        std::istringstream text(ReadFile("ImageTable.txt"));
        std::vector<int> pixels;
        for (int value; text >> value;) pixels.push_back(value);
        return pixels;
    }
};

TEST_F(ImageTableTest, FullReadGoesTapByTapAndWritesPixelOrder) {
    int lastDone = -1;
    functions.SetProgress([&](int done, int total) {
        EXPECT_EQ(total, 136);
        lastDone = done;
        return true;
    });
    EXPECT_TRUE(functions.RunCameraFunction("ImageRead"));
    const auto records = CallsOf(Kind::Command);
    const auto reads = CallsOf(Kind::ReadWrite);
    ASSERT_EQ(records.size(), 136u);
    ASSERT_EQ(reads.size(), 136u);
    EXPECT_EQ(lastDone, 136);
    EXPECT_EQ(records.front().data, (Bytes{0, 1, 0, 0}));
    EXPECT_EQ(records[1].data, (Bytes{0, 1, 0, 1}));
    EXPECT_EQ(records.back().data, (Bytes{0, 4, 16, 1}));
    EXPECT_EQ(reads[0].command, 0xC8);
    EXPECT_EQ(reads[0].length, 120u);
    EXPECT_EQ(reads[0].write, 0);

    const std::string text = ReadFile("ImageTable.txt");
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 816);
    EXPECT_EQ(text.substr(0, text.find('\n') + 1),
              "4096\t8192\t4097\t8193\t4098\t8194\t4099\t8195\t4100\t8196\t\n");
    const std::vector<int> pixels = Pixels();
    ASSERT_EQ(pixels.size(), 8160u);
    // Pixels 0 and 1 are tap 1 and tap 2 position 0; 8159 is tap 3 position 0; tap 4's last
    // position (2039) lands at pixel 4080, tap 3's last at 4081.
    EXPECT_EQ(pixels[0], 1 * 4096 + 0);
    EXPECT_EQ(pixels[1], 2 * 4096 + 0);
    EXPECT_EQ(pixels[9], 2 * 4096 + 4);
    EXPECT_EQ(pixels[8159], 3 * 4096 + 0);
    EXPECT_EQ(pixels[8158], 4 * 4096 + 0);
    EXPECT_EQ(pixels[4080], 4 * 4096 + 2039);
    EXPECT_EQ(pixels[4081], 3 * 4096 + 2039);
    EXPECT_EQ(pixels[4079], 2 * 4096 + 2039);
}

TEST_F(ImageTableTest, FailureOrCancelPartWayKeepsThePreviousFile) {
    scratch.Write("ImageTable.txt", "previous\n");
    // The 70th position record fails.
    for (int i = 0; i < 69; ++i) fixture.camera.commandResults.push_back(1);
    fixture.camera.commandResults.push_back(0);
    EXPECT_FALSE(functions.RunCameraFunction("ImageRead"));
    EXPECT_EQ(CallsOf(Kind::Command).size(), 70u);
    EXPECT_EQ(CallsOf(Kind::ReadWrite).size(), 69u);
    EXPECT_EQ(fixture.view.Messages(),
              std::vector<std::string>{"Sending command 0xC7 to COM2 is failed!"});
    EXPECT_EQ(ReadFile("ImageTable.txt"), "previous\n");

    fixture.camera.failingReads.insert(0xC8);
    EXPECT_FALSE(functions.RunCameraFunction("ImageRead"));
    EXPECT_EQ(fixture.view.Messages().back(), "Reading command 0xC8 from COM2 is failed!");
    fixture.camera.failingReads.clear();

    fixture.camera.ClearCalls();
    functions.SetProgress([](int done, int) { return done < 10; });
    EXPECT_FALSE(functions.RunCameraFunction("ImageRead"));
    EXPECT_EQ(CallsOf(Kind::ReadWrite).size(), 10u);
    EXPECT_EQ(ReadFile("ImageTable.txt"), "previous\n");

    // The program ending (a signal) stops it before the next chunk as well.
    fixture.camera.ClearCalls();
    functions.SetProgress([this](int done, int) {
        if (done == 5) fixture.doc.ExchangeRuns.RequestStop();
        return true;
    });
    EXPECT_FALSE(functions.RunCameraFunction("ImageRead"));
    EXPECT_EQ(CallsOf(Kind::ReadWrite).size(), 5u);
    EXPECT_EQ(ReadFile("ImageTable.txt"), "previous\n");
}

TEST_F(ImageTableTest, OtherReadCommandsReadBothSelectorsAndSaveNothing) {
    EXPECT_TRUE(functions.RunCameraFunction("OtherRead"));
    const auto records = CallsOf(Kind::Command);
    ASSERT_EQ(records.size(), 272u);
    EXPECT_EQ(records[135].data, (Bytes{0, 4, 16, 1}));
    EXPECT_EQ(records[136].data, (Bytes{1, 1, 0, 0}));
    EXPECT_EQ(CallsOf(Kind::ReadWrite).back().command, 0xB6);
    EXPECT_EQ(ReadFile("ImageTable.txt"), "");
}

}  // namespace
}  // namespace enginetest

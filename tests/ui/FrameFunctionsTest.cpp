// Camera functions chosen from the window's menus, on a camera in this process that answers
// the image-table read, the legacy table transfer, the one-pixel write and LUT reads: the
// progress dialog follows the exchanges while the window keeps running, Stop ends the image
// read with ImageTable.txt as it was, nothing else starts meanwhile, and a LUT read names the
// tap under way before the workbook is saved.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QApplication>
#include <QProgressDialog>
#include <QPushButton>
#include <QSettings>
#include <QTimer>
#include <algorithm>
#include <array>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <optional>
#include <sstream>

#include "WidgetTestSupport.h"
#include "core/PortRegistry.h"
#include "core/VelterraApp.h"
#include "core/VelterraDoc.h"
#include "lut/LutWorkbook.h"
#include "ui/CommandMenus.h"
#include "ui/widgets/FrameView.h"
#include "ui/widgets/LutFunctions.h"
#include "ui/widgets/MainFrame.h"
#include "ui/widgets/QtUserInterface.h"
#include "ui/widgets/VelterraView.h"

using namespace velterra;
namespace fs = std::filesystem;

namespace {

// Entries of the sample menu database (Password Commands).
constexpr int kReadTables = 37021;
constexpr int kReadImage = 37023;
constexpr int kSetOnePixel = 37022;
constexpr int kReadLutToWorkbook = 37015;  // Advanced Commands

struct QuietView : IFrameView {
    int polls = 0, lamps = 0;
    void StartPollTimer(int) override { ++polls; }
    void RepaintLamp() override { ++lamps; }
    void DropAdminLevel() override {}
    void ShowAdminLevel() override {}
    bool OpenLutEditor() override { return false; }
};

// What the progress dialog showed at one moment of a run.
struct Seen {
    bool shown = false;
    int value = -1, maximum = -1;
    bool stopOffered = false;
    bool operator==(const Seen&) const = default;
};
void PrintTo(const Seen& s, std::ostream* out) {
    *out << (s.shown ? "shown " : "hidden ") << s.value << "/" << s.maximum
         << (s.stopOffered ? " with Stop" : "");
}

Seen Look() {
    auto* dialog = qobject_cast<QProgressDialog*>(QApplication::activeModalWidget());
    if (dialog == nullptr || !dialog->isVisible()) return {};
    auto* stop = dialog->findChild<QPushButton*>();
    return {true, dialog->value(), dialog->maximum(), stop != nullptr && stop->isVisible()};
}

void PressStop() {
    auto* dialog = qobject_cast<QProgressDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    auto* stop = dialog->findChild<QPushButton*>();
    ASSERT_NE(stop, nullptr);
    stop->click();
}

// The legacy camera as far as these functions reach it: image chunks by position, and a table
// transfer that reports its 272 exchanges and one message through the library's handlers.
class LegacyCamera {
  public:
    int chunksRead = 0, tableTransfers = 0, lutTapsRead = 0;
    std::function<void(int tap)> duringLutTap;      // inside the read of tap 0..
    std::vector<std::array<int, 3>> pixelsWritten;  // kind, pixel, value
    std::function<void(int chunk)> duringChunk;     // inside the read of chunk 1..136
    std::function<void(int done)> duringTransfer;   // inside the table transfer, per exchange
    void (*progress)(int32_t, int32_t) = nullptr;
    void (*message)(const char*) = nullptr;

    ProtocolApi Api() {
        ProtocolApi api;
        api.CommandPort = [](int32_t, int32_t, uint8_t, uint8_t, const uint8_t*) { return 1; };
        api.ReadWritePort = [this](int32_t, int32_t, int32_t, uint8_t, uint8_t length,
                                   uint8_t* buffer) {
            for (int i = 0; i < length; ++i) buffer[i] = static_cast<uint8_t>(i);
            ++chunksRead;
            if (duringChunk) duringChunk(chunksRead);
            return 1;
        };
        api.TableReadWriteOld4T5500 = [this](int32_t, int32_t, int32_t, const char* const*) {
            ++tableTransfers;
            if (message != nullptr) message("The file close fail.");
            for (int done = 1; done <= 272; ++done) {
                if (progress != nullptr) progress(done, 272);
                if (duringTransfer) duringTransfer(done);
            }
            return 1;
        };
        api.OnePixelWriteOld4T5500 = [this](int32_t, int32_t, uint8_t kind, uint16_t pixel,
                                            uint16_t value) {
            pixelsWritten.push_back({kind, pixel, value});
            return 1;
        };
        api.LUTMassRead = [this](int32_t, int32_t, uint8_t, uint8_t tap, int16_t count,
                                 uint16_t* buffer) {
            for (int i = 0; i < count; ++i) buffer[i] = static_cast<uint16_t>((i + tap) % count);
            ++lutTapsRead;
            if (duringLutTap) duringLutTap(tap);
            return 1;
        };
        api.SetProgressHandler = [this](void (*handler)(int32_t, int32_t)) { progress = handler; };
        api.SetMessageHandler = [this](void (*handler)(const char*)) { message = handler; };
        return api;
    }
};

class FrameFunctionsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        TestApp();
        QSettings().clear();
        registryName_ = "/velterra-functions-test-" + std::to_string(getpid());
        ASSERT_TRUE(app_.InitInstance({{}, registryName_}));
        dir_ = fs::temp_directory_path() / ("velterra-functions-" + std::to_string(getpid()));
        fs::create_directories(dir_);
        for (const char* file : {"Command.ini", "default_menu.mdb"}) {
            fs::copy_file(fs::path(VELTERRA_CONFIG_DIR) / file, dir_ / file,
                          fs::copy_options::overwrite_existing);
        }
        CVelterraDoc& doc = app_.Doc();
        doc.StartupDirectory = dir_.string();
        doc.SetProtocol(camera_.Api());
        doc.PortIndex = 6;
        frame_ = std::make_unique<CMainFrame>(app_);
        frame_->SetView(new QWidget, &view_);
        ASSERT_TRUE(frame_->LoadCommandPopup(CommandPopup::Password, "default_menu.mdb"));
    }
    void TearDown() override {
        frame_.reset();
        app_.ExitInstance();
        PortRegistry::Unlink(registryName_);
        fs::remove_all(dir_);
    }
    std::string ImageTable() const {
        std::ifstream in(dir_ / "ImageTable.txt", std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }

    CVelterraApp app_;
    LegacyCamera camera_;
    QuietView view_;
    std::unique_ptr<CMainFrame> frame_;
    std::string registryName_;
    fs::path dir_;
};

TEST_F(FrameFunctionsTest, ProgressFollowsTheExchangesAndStopLeavesTheImageTable) {
    ModalAnswerer answers;
    CVelterraDoc& doc = app_.Doc();
    std::ofstream(dir_ / "ImageTable.txt") << "earlier table\n";

    // Image read, stopped during its 70th chunk: the dialog showed the chunks done of 136 with
    // Stop, the document was Busy, and the table read chosen meanwhile was refused.
    Seen atChunk70;
    bool busy = false;
    camera_.duringChunk = [&](int chunk) {
        if (chunk != 70) return;
        atChunk70 = Look();
        busy = doc.Busy;
        // Chosen while the window's events run between two exchanges.
        QTimer::singleShot(0, frame_.get(), [this] { frame_->RunCommand(kReadTables); });
        PressStop();
    };
    const int lampsBefore = view_.lamps;
    ASSERT_TRUE(frame_->RunCommand(kReadImage));
    EXPECT_EQ(atChunk70, (Seen{true, 69, 136, true}));
    EXPECT_TRUE(busy);
    EXPECT_EQ(camera_.tableTransfers, 0);
    EXPECT_EQ(camera_.chunksRead, 70);
    EXPECT_EQ(ImageTable(), "earlier table\n");
    EXPECT_FALSE(doc.Busy);
    EXPECT_GE(view_.lamps, lampsBefore + 2);  // red while Busy, then back
    EXPECT_EQ(Look(), Seen{});

    // Read through: the whole table replaces the file.
    camera_.duringChunk = {};
    camera_.chunksRead = 0;
    ASSERT_TRUE(frame_->RunCommand(kReadImage));
    EXPECT_EQ(camera_.chunksRead, 136);
    const std::string table = ImageTable();
    EXPECT_EQ(std::count(table.begin(), table.end(), '\n'), 816);

    // The legacy table read reports through the library's handler: the same dialog, with no
    // Stop, since the transfer is one call; the library's message comes up as a box.
    Seen atExchange100;
    camera_.duringTransfer = [&](int done) {
        if (done == 100) atExchange100 = Look();
    };
    const int polls = view_.polls;
    ASSERT_TRUE(frame_->RunCommand(kReadTables));
    EXPECT_EQ(camera_.tableTransfers, 1);
    EXPECT_EQ(atExchange100, (Seen{true, 100, 272, false}));
    EXPECT_EQ(answers.messages, std::vector<std::string>{"The file close fail."});
    EXPECT_EQ(view_.polls, polls + 1);
    EXPECT_EQ(camera_.progress, nullptr);
    EXPECT_EQ(camera_.message, nullptr);
    EXPECT_EQ(Look(), Seen{});
}

// Set One Pixel from the menu: the dialog's OK sends what it stored, once; Cancel sends nothing
// and keeps the request for the next use.
TEST_F(FrameFunctionsTest, SetOnePixelSendsTheStoredRequestOnlyOnOk) {
    struct Use {
        bool ok;
        std::vector<std::array<int, 3>> written;
    };
    const Use uses[] = {{true, {{1, 4081, 77}}}, {false, {}}};
    std::vector<OnePixelRequest> seen;
    for (const Use& use : uses) {
        camera_.pixelsWritten.clear();
        frame_->Ui().SetPixelSetDialog([&](OnePixelRequest& request) {
            seen.push_back(request);
            if (use.ok) request = {1, 4081, 77};  // PRNU, 0-based 4080, value 77 set
            return use.ok;
        });
        ASSERT_TRUE(frame_->RunCommand(kSetOnePixel));
        EXPECT_EQ(camera_.pixelsWritten, use.written) << use.ok;
        EXPECT_FALSE(app_.Doc().Busy);
    }
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[1].PixelNumber, 4081u) << "the request is kept between uses";
}

// The window's user interface, except that the save dialog answers with a path.
class SaveAnswer : public IUserInterface {
  public:
    SaveAnswer(IUserInterface& inner, std::string path) : inner_(inner), path_(std::move(path)) {}
    void ShowMessage(const std::string& text, MessageKind kind) override {
        inner_.ShowMessage(text, kind);
    }
    void SetWaitCursor(bool on) override { inner_.SetWaitCursor(on); }
    void RepaintLamp() override { inner_.RepaintLamp(); }
    std::optional<std::string> AskSaveFileName(const FileDialogRequest& request) override {
        filters.push_back(request.filter);
        return path_;
    }
    std::vector<std::string> filters;

  private:
    IUserInterface& inner_;
    std::string path_;
};

// Read LUT to Workbook from the menu (switched on) on a 4-tap 10-bit kernel-0 camera: the
// progress names the tap under way, and the workbook is asked for and saved only after every
// tap was read.
TEST_F(FrameFunctionsTest, ReadLutToWorkbookShowsTheTapUnderWayThenSavesTheTaps) {
    ModalAnswerer answers;
    CVelterraDoc& doc = app_.Doc();
    doc.ColorCamera = 0;
    doc.MaxTxUnitBits = 10;
    doc.TapsNum = 4;
    ASSERT_TRUE(frame_->LoadCommandPopup(CommandPopup::Advanced, "default_menu.mdb"));
    CVelterraView view(doc);
    InstallLutFunctions(*frame_, view);
    frame_->SetLutFunctionsEnabled(true, false);
    SaveAnswer save(frame_->Ui(), (dir_ / "taps.xlsx").string());
    doc.SetUserInterface(&save);

    std::vector<std::string> labels;
    std::vector<std::size_t> askedBeforeTap;
    camera_.duringLutTap = [&](int) {
        auto* dialog = qobject_cast<QProgressDialog*>(QApplication::activeModalWidget());
        labels.push_back(dialog != nullptr ? dialog->labelText().toStdString() : "");
        askedBeforeTap.push_back(save.filters.size());
    };
    ASSERT_TRUE(frame_->RunCommand(kReadLutToWorkbook));
    doc.SetUserInterface(&frame_->Ui());
    EXPECT_EQ(camera_.lutTapsRead, 4);
    EXPECT_EQ(labels,
              (std::vector<std::string>{"Tap 1 of 4: LUT entries", "Tap 2 of 4: LUT entries",
                                        "Tap 3 of 4: LUT entries", "Tap 4 of 4: LUT entries"}));
    EXPECT_EQ(askedBeforeTap, (std::vector<std::size_t>{0, 0, 0, 0}));
    ASSERT_EQ(save.filters.size(), 1u);

    bool isColor = true;
    int16_t bits = 0;
    int taps = 0;
    std::vector<uint16_t> lut;
    ASSERT_TRUE(ReadLutWorkbook(save, dir_ / "taps.xlsx", isColor, bits, taps, lut))
        << ::testing::PrintToString(answers.messages);
    EXPECT_FALSE(isColor);
    EXPECT_EQ(bits, 10);
    EXPECT_EQ(taps, 4);
    ASSERT_EQ(lut.size(), 4u * 1024u);
    EXPECT_EQ(lut[1], 1);                // tap 0, input 1
    EXPECT_EQ(lut[3 * 1024 + 1023], 2);  // tap 3, input 1023
    EXPECT_TRUE(answers.messages.empty());
}

}  // namespace

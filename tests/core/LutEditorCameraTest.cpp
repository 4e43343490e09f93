// The LUT editor's camera and file buttons on a scripted camera: which taps and kinds go out
// from which option, what a failing vector read shows, and which options a saved workbook holds.
#include <gtest/gtest.h>

#include <filesystem>
#include <optional>

#include "EngineTestSupport.h"
#include "LutScriptedCamera.h"
#include "dataops/LutEditorCamera.h"
#include "lut/LutWorkbook.h"

using namespace velterra;

namespace {

using namespace enginetest;
namespace fs = std::filesystem;

class SaveUi : public RecordingUi {
  public:
    std::optional<std::string> AskSaveFileName(const FileDialogRequest& request) override {
        filter = request.filter;
        return file;
    }
    std::optional<std::string> file;
    std::string filter;
};

// Option k gets its own node in the middle, (N/2, k * N/8), so every option's curve differs.
void DistinctOptions(CLutModel& model) {
    const int n = model.Entries();
    for (int k = 0; k < model.OptionSlots(); ++k) {
        const LutNode nodes[] = {{0, 0}, {n / 2, k * n / 8}, {n - 1, n - 1}};
        ASSERT_TRUE(model.StoreNodes(k, nodes));
        model.SelectOption(k);
    }
}

class LutEditorCameraTest : public ::testing::Test {
  protected:
    LutEditorCameraTest() : buttons(fixture.doc, model) {
        ProtocolApi api = fixture.camera.Api();
        lutCamera.Install(api);
        fixture.doc.SetProtocol(api);
        fixture.doc.SetUserInterface(&ui);
    }
    void Init(bool color, int taps, int kernel) {
        fixture.doc.CameraKernel = kernel;
        ASSERT_TRUE(model.InitLut(color, 8, static_cast<int16_t>(taps)));
        model.FillOptions();
        DistinctOptions(model);
    }

    EngineFixture fixture;
    SaveUi ui;
    LutCamera lutCamera;
    CLutModel model;
    LutEditorCamera buttons;
};

struct Sent {
    int tap, kind, option;
};

TEST_F(LutEditorCameraTest, WritesSendEachTapTheCurveAndNodesOfItsOption) {
    enum Button { kByOption, kEachTap };
    const struct {
        const char* name;
        bool color;
        int taps, kernel, selected;
        Button button;
        std::vector<Sent> sent;
    } cases[] = {
        {"one tap by option", false, 1, 1, 0, kByOption, {{0, 0, 0}, {0, 1, 0}}},
        {"one tap each tap", false, 1, 1, 0, kEachTap, {{0, 0, 0}, {0, 1, 0}}},
        {"all-taps to every tap",
         false,
         4,
         1,
         0,
         kByOption,
         {{0, 0, 0}, {0, 1, 0}, {1, 0, 0}, {1, 1, 0}, {2, 0, 0}, {2, 1, 0}, {3, 0, 0}, {3, 1, 0}}},
        {"option 3 to tap index 2", false, 4, 1, 3, kByOption, {{2, 0, 3}, {2, 1, 3}}},
        {"each tap its own option",
         false,
         4,
         1,
         2,
         kEachTap,
         {{0, 0, 1}, {0, 1, 1}, {1, 0, 2}, {1, 1, 2}, {2, 0, 3}, {2, 1, 3}, {3, 0, 4}, {3, 1, 4}}},
        {"kernel 0 sends no nodes",
         false,
         4,
         0,
         0,
         kEachTap,
         {{0, 0, 1}, {1, 0, 2}, {2, 0, 3}, {3, 0, 4}}},
        {"colour G", true, 3, 0, 2, kByOption, {{1, 0, 2}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Init(c.color, c.taps, c.kernel);
        model.SelectOption(c.selected);
        lutCamera.calls.clear();
        c.button == kByOption ? buttons.WriteOptionToCamera() : buttons.WriteEachTapToCamera();

        ASSERT_EQ(lutCamera.calls.size(), c.sent.size());
        for (size_t i = 0; i < c.sent.size(); ++i) {
            const LutCall& call = lutCamera.calls[i];
            const Sent& want = c.sent[i];
            EXPECT_TRUE(call.write);
            EXPECT_EQ(call.kernel1, c.kernel == 1);
            EXPECT_EQ(call.tap, want.tap) << i;
            EXPECT_EQ(call.mode, want.kind) << i;
            const auto curve = model.Curve(want.option);
            EXPECT_EQ(call.data, want.kind == 0 ? std::vector<uint16_t>(curve.begin(), curve.end())
                                                : model.VectorWords(want.option))
                << i;
        }
    }
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(LutEditorCameraTest, AFailingVectorReadIsToldOnceAndTheOtherTapsAreStillRead) {
    Init(false, 4, 1);
    const std::vector<uint16_t> before(model.Curve(2).begin(), model.Curve(2).end());
    for (int t = 0; t < 4; ++t) lutCamera.nodes[t] = {0, 255, uint16_t(100 + t), 10, 255, 0};
    lutCamera.failingTaps = {1};
    model.SelectOption(0);

    buttons.LoadVectorsFromCamera();
    EXPECT_EQ(ui.messages,
              (std::vector<std::string>{
                  "Reading Tap-2 LUT vector data is failed!",
                  "Note that LUT is updated and displayed to each tap, but not in this item "
                  "(All-Taps)!\r\nPlease select the separate tap to check the LUT content!"}));
    for (int k : {1, 3, 4}) {
        SCOPED_TRACE(k);
        ASSERT_EQ(model.NodeCount(k), 3);
        EXPECT_EQ(model.Nodes(k)[1], (LutNode{100 + k - 1, 10}));
        EXPECT_EQ(model.Curve(k)[100 + k - 1], 10);  // rebuilt from the nodes
    }
    EXPECT_EQ(std::vector<uint16_t>(model.Curve(2).begin(), model.Curve(2).end()), before);
    EXPECT_EQ(model.SelectedOption(), 0);

    // Without vector support nothing is asked of the camera.
    lutCamera.calls.clear();
    ui.messages.clear();
    fixture.doc.CameraKernel = 0;
    buttons.LoadVectorsFromCamera();
    EXPECT_TRUE(lutCamera.calls.empty());
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(LutEditorCameraTest, SavedWorkbooksHoldTheTapOptionsNeverAllTaps) {
    const fs::path file =
        fs::temp_directory_path() / ("lut-editor-" + std::to_string(getpid()) + ".xlsx");
    const struct {
        const char* name;
        bool color;
        int taps, kernel;
        std::vector<int> options;
    } cases[] = {
        {"one tap", false, 1, 0, {0}},
        {"four taps with nodes", false, 4, 1, {1, 2, 3, 4}},
        {"colour", true, 3, 1, {1, 2, 3}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Init(c.color, c.taps, c.kernel);
        ui.file = file.string();
        ASSERT_TRUE(buttons.SaveLutToFile());
        EXPECT_EQ(ui.filter, "Microsoft Excel Workbook (*.xlsx)|*.xlsx||");

        bool isColor = false;
        int16_t bits = 0;
        int taps = 0;
        std::vector<uint16_t> lut, counts, nodes;
        ASSERT_TRUE(ReadLutWorkbook(ui, file, isColor, bits, taps, lut, &counts, &nodes));
        EXPECT_EQ(isColor, c.color);
        EXPECT_EQ(taps, c.taps);
        std::vector<uint16_t> wantLut, wantCounts, wantNodes;
        for (int k : c.options) {
            wantLut.insert(wantLut.end(), model.Curve(k).begin(), model.Curve(k).end());
            wantCounts.push_back(static_cast<uint16_t>(model.NodeCount(k)));
            const auto words = model.VectorWords(k);
            wantNodes.insert(wantNodes.end(), words.begin(), words.end());
        }
        EXPECT_EQ(lut, wantLut);
        // Nodes only from a camera that has them.
        EXPECT_EQ(counts, c.kernel == 1 ? wantCounts : std::vector<uint16_t>{});
        EXPECT_EQ(nodes, c.kernel == 1 ? wantNodes : std::vector<uint16_t>{});
    }
    ui.file.reset();
    EXPECT_FALSE(buttons.SaveLutToFile());  // cancelled
    fs::remove(file);
    EXPECT_TRUE(ui.messages.empty());
}

}  // namespace

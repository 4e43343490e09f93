// The Program menu's camera and settings-file commands in the window, against a simulated
// camera: --port connects as the forced mode does, Save As and Load go through their file
// dialogs and join the recent files, and a file that is no settings file does not; the
// comparison with a file writes back only what the user left checked.
#include <QAction>
#include <QMenu>
#include <QPushButton>
#include <QSettings>
#include <QTreeWidget>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <optional>

#include "DialogTestSupport.h"
#include "core/SettingsCompare.h"
#include "core/SettingsTexts.h"
#include "core/VelterraApp.h"
#include "ui/widgets/CompareFileDlg.h"
#include "ui/widgets/MainFrame.h"
#include "ui/widgets/ProgramCommands.h"

using namespace velterra;
using namespace dialogtest;

namespace {

// The window's own user interface, except that the file dialogs answer with a queued path and
// the message boxes are recorded.
class FileAnswers : public IUserInterface {
  public:
    explicit FileAnswers(IUserInterface& inner) : inner_(inner) {}
    void ShowMessage(const std::string& text, MessageKind) override { messages.push_back(text); }
    void SetWaitCursor(bool on) override { inner_.SetWaitCursor(on); }
    void StartPollTimer(int periodMs) override { inner_.StartPollTimer(periodMs); }
    void RepaintLamp() override { inner_.RepaintLamp(); }
    bool RunWindowCommand(int id) override { return inner_.RunWindowCommand(id); }
    OpenCameraResult RunOpenCameraDialog(CVelterraDoc& doc) override {
        return inner_.RunOpenCameraDialog(doc);
    }
    std::optional<std::string> AskOpenFileName(const FileDialogRequest& request) override {
        return Answer(request);
    }
    std::optional<std::string> AskSaveFileName(const FileDialogRequest& request) override {
        return Answer(request);
    }
    void ResetCommandMenus() override { inner_.ResetCommandMenus(); }
    void LoadBasicCommands(const std::string& db) override { inner_.LoadBasicCommands(db); }
    void LoadAdvancedCommands(const std::string& db) override { inner_.LoadAdvancedCommands(db); }
    void LoadPasswordCommands(const std::string& db) override { inner_.LoadPasswordCommands(db); }

    std::optional<std::string> answer;
    std::vector<std::string> messages;
    std::vector<FileDialogRequest> requests;

  private:
    std::optional<std::string> Answer(const FileDialogRequest& request) {
        requests.push_back(request);
        return answer;
    }
    IUserInterface& inner_;
};

class ProgramCommandsTest : public CameraPortsFixture {
  protected:
    void SetUp() override {
        CameraPortsFixture::SetUp();
        dir_ = std::filesystem::temp_directory_path() /
               ("velterra-program-" + std::to_string(getpid()));
        std::filesystem::create_directories(dir_);
        // The recent files of this process alone: ctest runs the tests side by side.
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                           QString::fromStdString(dir_.string()));
        QSettings().clear();
        doc_.reset();  // the application's document serves the window here
        ASSERT_TRUE(app_.InitInstance({VELTERRA_CONFIG_DIR, registryName_}));
        frame_ = std::make_unique<CMainFrame>(app_);
        InstallProgramCommands(*frame_);
        answers_ = std::make_unique<FileAnswers>(*app_.Doc().UserInterface());
        app_.Doc().SetUserInterface(answers_.get());
    }
    void TearDown() override {
        frame_.reset();
        app_.ExitInstance();
        std::filesystem::remove_all(dir_);
        CameraPortsFixture::TearDown();
    }

    std::vector<std::string> RecentFiles() const {
        std::vector<std::string> files;
        for (QAction* action : frame_->ProgramMenu()->actions()) {
            const int id = action->data().toInt() - CMainFrame::kIdFirstRecentFile;
            if (!action->isSeparator() && id >= 0 && id < 4) {
                files.push_back(action->text().section(' ', 1).toStdString());
            }
        }
        return files;
    }

    std::filesystem::path dir_;
    CVelterraApp app_;
    std::unique_ptr<CMainFrame> frame_;
    std::unique_ptr<FileAnswers> answers_;
};

TEST_F(ProgramCommandsTest, PortAtStartThenSaveAndLoadThroughTheFileDialogs) {
    Camera("VELTERRA_COM1", "LS-4096M12");
    frame_->StartWith(kCom1, 0, "");
    CVelterraDoc& doc = app_.Doc();
    ASSERT_EQ(doc.PortIndex, kCom1);
    EXPECT_EQ(doc.ModelName, "LS-4096M12");
    EXPECT_EQ(doc.BaudRate, 57600);
    EXPECT_EQ(registry_->Owner(kCom1), PortRegistry::SelfId());

    const std::string saved = (dir_ / "line7.vlt").string();
    answers_->answer = saved;
    ASSERT_TRUE(frame_->RunCommand(CMainFrame::kIdSaveVltAs));
    ASSERT_EQ(answers_->requests.size(), 1u);
    EXPECT_EQ(answers_->requests[0].filter, "Velterra Files (*.vlt)|*.vlt||");
    std::ifstream file(saved, std::ios::binary);
    std::string tag, model;
    std::getline(file, tag);
    std::getline(file, model);
    EXPECT_EQ(tag, SettingsText::kFileTag);
    EXPECT_EQ(model, "LS-4096M12");
    EXPECT_EQ(RecentFiles(), std::vector<std::string>{saved});

    // A cancelled dialog changes nothing; a file that is no settings file is told and not
    // listed; the saved file loads back and stays listed once.
    const std::string foreign = (dir_ / "notes.vlt").string();
    std::ofstream(foreign) << "not a settings file\n";
    const struct {
        std::optional<std::string> path;
        std::vector<std::string> messages;
        std::vector<std::string> recent;
    } loads[] = {
        {std::nullopt, {}, {saved}},
        {foreign, {SettingsText::kWrongFormat}, {saved}},
        {saved, {}, {saved}},
    };
    for (const auto& load : loads) {
        SCOPED_TRACE(load.path.value_or("cancel"));
        answers_->answer = load.path;
        answers_->messages.clear();
        ASSERT_TRUE(frame_->RunCommand(CMainFrame::kIdLoadVlt));
        EXPECT_EQ(answers_->messages, load.messages);
        EXPECT_EQ(RecentFiles(), load.recent);
    }
    EXPECT_EQ(doc.GetTitle(), "line7.vlt");
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(doc.PortIndex, kCom1) << "loading keeps the connection";
}

// The comparison dialog over a camera whose two parameters were changed after the file was
// saved: both differences listed and checked; only the one left checked is written back.
TEST_F(ProgramCommandsTest, CompareDialogWritesOnlyTheCheckedDifferences) {
    Camera("VELTERRA_COM1", "LS-4096M12");
    frame_->StartWith(kCom1, 0, "");
    CVelterraDoc& doc = app_.Doc();
    ASSERT_EQ(doc.PortIndex, kCom1);
    const std::string saved = (dir_ / "before.vlt").string();
    answers_->answer = saved;
    ASSERT_TRUE(frame_->RunCommand(CMainFrame::kIdSaveVltAs));

    // Two writable numbers, each set one above what the file holds.
    std::vector<std::pair<int, int>> changed;
    std::vector<std::string> before;
    for (std::size_t b = 0; b < doc.Blocks.size() && changed.size() < 2; ++b) {
        for (std::size_t r = 0; r < doc.Blocks[b].Rows.size() && changed.size() < 2; ++r) {
            const CommandInfo* command = doc.Blocks[b].Rows[r].Command.get();
            if (command == nullptr || command->EnableRW == 0 || command->EnableList != 0 ||
                command->PureTextValue != 0 || command->Max <= command->Min) {
                continue;
            }
            const std::string shown = command->ValueText;
            if (shown.empty() || !std::isdigit(static_cast<unsigned char>(shown[0]))) continue;
            const uint32_t now = std::stoul(shown);
            const uint32_t next = now < command->Max ? now + 1 : now - 1;
            if (doc.WriteParameter(int(b), int(r), std::to_string(next)) != 1) continue;
            changed.push_back({int(b), int(r)});
            before.push_back(shown);
        }
    }
    ASSERT_EQ(changed.size(), 2u);

    SettingsCompare::Comparison comparison = SettingsCompare::CompareWithFile(doc, saved);
    ASSERT_EQ(comparison.outcome, SettingsCompare::Comparison::Outcome::kCompared);
    ASSERT_EQ(comparison.differences.size(), 2u);
    CCompareFileDlg dialog(doc, comparison);
    ASSERT_EQ(dialog.List()->topLevelItemCount(), 2);
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(dialog.List()->topLevelItem(i)->text(1).toStdString(), before[i]);
        EXPECT_EQ(dialog.List()->topLevelItem(i)->checkState(0), Qt::Checked);
    }
    dialog.List()->topLevelItem(1)->setCheckState(0, Qt::Unchecked);
    EXPECT_EQ(dialog.Checked(), std::vector<std::size_t>{0});
    dialog.List()->topLevelItem(0)->setCheckState(0, Qt::Unchecked);
    EXPECT_FALSE(dialog.WriteButton()->isEnabled()) << "nothing to write";
    dialog.List()->topLevelItem(0)->setCheckState(0, Qt::Checked);
    dialog.WriteButton()->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.LastWrite().written, 1);
    EXPECT_EQ(dialog.LastWrite().failed, 0);

    // Read from the camera again: the first is back to the file's value, the second is not.
    const SettingsCompare::Comparison after = SettingsCompare::CompareWithFile(doc, saved);
    ASSERT_EQ(after.differences.size(), 1u);
    EXPECT_EQ(after.differences[0].block, changed[1].first);
    EXPECT_EQ(after.differences[0].row, changed[1].second);
}

}  // namespace

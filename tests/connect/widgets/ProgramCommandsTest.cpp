// The Program menu's camera and settings-file commands in the window, against a simulated
// camera: --port connects as the forced mode does, Save As and Load go through their file
// dialogs and join the recent files, and a file that is no settings file does not.
#include <QAction>
#include <QMenu>
#include <QSettings>
#include <filesystem>
#include <fstream>
#include <optional>

#include "DialogTestSupport.h"
#include "core/SettingsTexts.h"
#include "core/VelterraApp.h"
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
        QSettings().clear();
        dir_ = std::filesystem::temp_directory_path() /
               ("velterra-program-" + std::to_string(getpid()));
        std::filesystem::create_directories(dir_);
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

}  // namespace

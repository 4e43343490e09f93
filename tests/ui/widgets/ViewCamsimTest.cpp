// The view against velterra-camsim with the real libraries: connect (the refresh shows its
// progress while the window paints), edit a number in the list, see the write and the read-back
// on the wire and the value in the cell; the lamp turns red while the camera does not answer
// and grey once it answers again, after which timer 1 stops.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <QLineEdit>
#include <QProgressBar>
#include <QSignalSpy>
#include <QTest>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>

#include "ViewTestSupport.h"
#include "core/PortRegistry.h"
#include "core/VelterraDoc.h"
#include "ui/widgets/EditListCtrl.h"
#include "ui/widgets/LedLamp.h"
#include "ui/widgets/ParameterListModel.h"
#include "ui/widgets/VelterraView.h"

using namespace velterra;

namespace {

namespace fs = std::filesystem;
constexpr int kCom1Slot = 6;

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// Counts the paint events a widget gets.
class PaintCounter : public QObject {
  public:
    int paints = 0;
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) ++paints;
        return false;
    }
};

class ViewCamsimTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ViewTestApp();
        char pattern[] = "/tmp/velterra_view_XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir_ = pattern;
        registryName_ = "/velterra-view-test-" + std::to_string(getpid());
        PortRegistry::Unlink(registryName_);
        setenv(PortRegistry::kNameVariable, registryName_.c_str(), 1);

        const fs::path out = dir_ / "camsim.out";
        camsim_ = fork();
        if (camsim_ == 0) {
            const int o = open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
            dup2(o, 1);
            const std::string log = (dir_ / "wire.log").string();
            execl(VELTERRA_BIN_DIR "/velterra-camsim", "velterra-camsim", "--dir",
                  VELTERRA_CONFIG_DIR, "--model", "LS-4096M12", "--kernel", "0", "--log",
                  log.c_str(), static_cast<char*>(nullptr));
            _exit(127);
        }
        std::string path;
        for (int i = 0; i < 500 && path.empty(); ++i) {
            std::istringstream lines(ReadFile(out));
            std::getline(lines, path);
            if (path.empty()) usleep(20000);
        }
        ASSERT_FALSE(path.empty()) << "velterra-camsim gave no terminal";
        setenv("VELTERRA_COM1", path.c_str(), 1);
    }
    void TearDown() override {
        if (camsim_ > 0) {
            kill(camsim_, SIGCONT);
            kill(camsim_, SIGTERM);
            waitpid(camsim_, nullptr, 0);
        }
        PortRegistry::Unlink(registryName_);
        std::error_code ignored;
        fs::remove_all(dir_, ignored);
    }

    int ModelRowNamed(const CVelterraView& view, const QString& name) {
        for (int row = 0; row < view.Model()->rowCount(); ++row) {
            if (view.Model()->index(row, 0).data().toString() == name) return row;
        }
        return -1;
    }

    fs::path dir_;
    std::string registryName_;
    pid_t camsim_ = -1;
};

TEST_F(ViewCamsimTest, EditWritesReadsBackAndTheLampFollowsTheCamera) {
    // The registry outlives the document, which frees its slots at the end.
    std::unique_ptr<PortRegistry> registry = PortRegistry::Open(registryName_);
    ASSERT_TRUE(registry);
    registry->WriteTags();
    CVelterraDoc doc(VELTERRA_CONFIG_DIR);
    doc.SetPortRegistry(registry.get());
    ViewTestUi ui;
    ui.openCamera = [](CVelterraDoc& d) { return ConnectSlotForView(d, kCom1Slot); };
    doc.SetUserInterface(&ui);
    {
        CVelterraView view(doc);
        ui.view = &view;
        view.resize(720, 600);
        view.show();
        view.OnInitialUpdate();
        ASSERT_NE(doc.LedThread(), nullptr);

        PaintCounter counter;
        view.Progress()->installEventFilter(&counter);
        QSignalSpy progress(view.Progress(), &QProgressBar::valueChanged);
        doc.OnOpenCamera();
        ASSERT_EQ(doc.PortIndex, kCom1Slot) << (ui.messages.empty() ? "" : ui.messages.back());
        EXPECT_EQ(view.PortField()->text(), "COM1");
        EXPECT_EQ(view.PortTypeField()->text(), "RS-232");
        EXPECT_EQ(view.ModelField()->text(), "LS-4096M12");
        // The refresh counted its rows up to the end and the window painted meanwhile.
        ASSERT_GT(progress.count(), 10);
        EXPECT_EQ(progress.back()[0].toInt(), view.Progress()->maximum());
        EXPECT_GT(counter.paints, 3);
        EXPECT_FALSE(view.Progress()->isVisible());

        const int row = ModelRowNamed(view, "Digital Gain (x1/64)");
        ASSERT_GE(row, 0);
        const QString before = view.Model()->index(row, 1).data().toString();
        ASSERT_NE(before, "200");
        view.BeginValueEdit(row);
        QLineEdit* edit = view.List()->EditBox();
        ASSERT_TRUE(edit->isVisible());
        QTest::keyClicks(edit, "200");
        const std::size_t wireBefore = ReadFile(dir_ / "wire.log").size();
        QTest::keyClick(edit, Qt::Key_Return);
        EXPECT_EQ(view.Model()->index(row, 1).data().toString(), "200");
        const std::string wire = ReadFile(dir_ / "wire.log").substr(wireBefore);
        // 200 = 0x00C8, then the read-back of the same command.
        EXPECT_TRUE(std::regex_search(
            wire, std::regex("write 0x11 len 2 \\[(00 C8|C8 00)\\][^\\n]*\\n(.*\\n)*.*read 0x11")))
            << wire;
        ASSERT_TRUE(view.PollTimerActive());  // restarted by the write
        EXPECT_TRUE(PumpUntil([&] { return !view.PollTimerActive(); }, std::chrono::seconds(10)));

        // The camera stops answering: timer 1 probes on this thread and the lamp turns red.
        const QColor red(255, 0, 0), grey(45, 45, 45);
        EXPECT_EQ(CentreColour(view.Lamp()), grey);
        kill(camsim_, SIGSTOP);
        view.StartPollTimer(CVelterraDoc::kPollTimerPeriodMs);
        EXPECT_TRUE(
            PumpUntil([&] { return CentreColour(view.Lamp()) == red; }, std::chrono::seconds(20)));
        EXPECT_TRUE(doc.NotResponding);
        EXPECT_TRUE(view.PollTimerActive());  // keeps polling while the camera is silent
        kill(camsim_, SIGCONT);
        EXPECT_TRUE(
            PumpUntil([&] { return CentreColour(view.Lamp()) == grey; }, std::chrono::seconds(20)));
        // Three answered polls in a row and the idle window stops waking up.
        EXPECT_TRUE(PumpUntil([&] { return !view.PollTimerActive(); }, std::chrono::seconds(20)));
        ui.view = nullptr;
    }
    EXPECT_EQ(doc.LedThread(), nullptr);  // the view stopped it before it went
    doc.SetUserInterface(nullptr);
}

}  // namespace

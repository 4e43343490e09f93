#include <gtest/gtest.h>
#include <unistd.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QMenu>
#include <QMenuBar>
#include <QSettings>
#include <QThread>
#include <atomic>
#include <memory>
#include <thread>

#include "WidgetTestSupport.h"
#include "core/DocumentObserver.h"
#include "core/PortRegistry.h"
#include "core/UpdateHints.h"
#include "core/VelterraApp.h"
#include "core/VelterraDoc.h"
#include "lut/widgets/LutDialog.h"
#include "ui/widgets/FrameView.h"
#include "ui/widgets/MainFrame.h"
#include "ui/widgets/QtUserInterface.h"
#include "ui/widgets/VelterraView.h"
#include "ui/widgets/WindowParts.h"

using namespace velterra;

namespace {

// A first view that records what the frame asks of it, and on which thread.
struct FakeView : IFrameView {
    int polls = 0, lamps = 0, drops = 0, shows = 0, lutEditors = 0;
    bool hasLutEditor = false;
    std::atomic<bool> offThread{false};
    void Note() {
        if (QThread::currentThread() != qApp->thread()) offThread = true;
    }
    void StartPollTimer(int) override { Note(), ++polls; }
    void RepaintLamp() override { Note(), ++lamps; }
    void DropAdminLevel() override { ++drops; }
    void ShowAdminLevel() override { ++shows; }
    bool OpenLutEditor() override { return ++lutEditors, hasLutEditor; }
};

struct HintLog : IDocumentObserver {
    std::vector<int> hints;
    void OnDocumentUpdate(int hint, const BlockArray*, const std::string&) override {
        hints.push_back(hint);
    }
};

std::vector<QString> Texts(const QList<QAction*>& actions) {
    std::vector<QString> texts;
    for (QAction* action : actions) texts.push_back(action->isSeparator() ? "-" : action->text());
    return texts;
}

class MainFrameTest : public ::testing::Test {
  protected:
    void SetUp() override {
        TestApp();
        QSettings().clear();
        registryName_ = "/velterra-widget-test-" + std::to_string(getpid());
        ASSERT_TRUE(app_.InitInstance({{}, registryName_}));
        frame_ = std::make_unique<CMainFrame>(app_);
        frame_->SetView(new QWidget, &view_);
    }
    void TearDown() override {
        frame_.reset();
        app_.ExitInstance();
        PortRegistry::Unlink(registryName_);
    }

    CVelterraApp app_;
    std::unique_ptr<CMainFrame> frame_;
    FakeView view_;
    std::string registryName_;
};

TEST_F(MainFrameTest, MenuBarHasTheFixedPopupsInOrderAndThePasswordPopupHiddenAtStart) {
    const QList<QAction*> bar = frame_->menuBar()->actions();
    ASSERT_EQ(bar.size(), 5);
    EXPECT_EQ(Texts(bar.mid(0, 4)),
              (std::vector<QString>{"&Program", "&Basic Commands", "&Advanced Commands", "&Help"}));
    EXPECT_FALSE(bar[4]->isVisible());
    EXPECT_FALSE(bar[4]->isEnabled());
    EXPECT_TRUE(bar[4]->text().isEmpty());

    EXPECT_EQ(Texts(frame_->ProgramMenu()->actions()),
              (std::vector<QString>{"&Open Camera...", "-", "&Load VLT File...",
                                    "&Save VLT File As...", "-", "E&xit"}));
    for (QMenu* popup : {frame_->BasicMenu(), frame_->AdvancedMenu(), frame_->PasswordMenu()}) {
        ASSERT_EQ(popup->actions().size(), 1);
        QAction* empty = popup->actions().front();
        EXPECT_EQ(empty->text(), "(Empty)");
        EXPECT_EQ(empty->data().toInt(), CMainFrame::kIdEmptyPlaceholder);
        EXPECT_FALSE(empty->isEnabled());
    }
    EXPECT_EQ(frame_->windowTitle(), "Untitled - Velterra");
}

TEST_F(MainFrameTest, DatabasePopupsAreRebuiltOnEveryModelLoadEnabledAsTheyOpenAndDispatchById) {
    ModalAnswerer answers;
    CVelterraDoc& doc = app_.Doc();
    doc.StartupDirectory = std::string(VELTERRA_FIXTURES_DIR) + "/menudb";
    QtUserInterface& ui = frame_->Ui();
    // What the document does on every model load.
    auto loadModel = [&](const std::string& database) {
        answers.messages.clear();
        ui.ResetCommandMenus();
        ui.LoadBasicCommands(database);
        ui.LoadAdvancedCommands(database);
        ui.LoadPasswordCommands(database);
    };
    using Texts_ = std::vector<QString>;

    loadModel("menu_rules.mdb");
    EXPECT_EQ(Texts(frame_->BasicMenu()->actions()),
              (Texts_{"No &Id", "&Refresh Flag Ignored", "&Load Factory Set", "&Zero Id"}));
    // A first row that is a separator takes the placeholder's place; the failing row ends it.
    EXPECT_EQ(Texts(frame_->AdvancedMenu()->actions()), (Texts_{"-"}));
    ASSERT_EQ(Texts(frame_->PasswordMenu()->actions()), (Texts_{"&Outer"}));
    QMenu* outer = frame_->PasswordMenu()->actions()[0]->menu();
    ASSERT_NE(outer, nullptr);
    ASSERT_EQ(Texts(outer->actions()), (Texts_{"Outer &Command", "&Inner"}));
    ASSERT_NE(outer->actions()[1]->menu(), nullptr);
    EXPECT_TRUE(outer->actions()[1]->menu()->actions().isEmpty());
    EXPECT_EQ(answers.messages,
              (std::vector<std::string>{
                  "Column \"MenuItemID\" of table \"AdvancedCommands\" is of type Text, not "
                  "Long Integer.",
                  "Table \"InnerTable\" of the menu database has no column \"PropertyString\"."}));

    // Enabling is looked at when a pop-up opens: no id and id 0 never, the others with a port
    // slot in use and nothing running.
    const struct {
        int32_t portIndex;
        bool busy;
        std::vector<bool> basic;
    } states[] = {
        {-1, false, {false, false, false, false}},
        {0, false, {false, true, true, false}},
        {0, true, {false, false, false, false}},
    };
    for (const auto& state : states) {
        doc.PortIndex = state.portIndex;
        doc.Busy = state.busy;
        emit frame_->BasicMenu()->aboutToShow();
        std::vector<bool> enabled;
        for (QAction* action : frame_->BasicMenu()->actions())
            enabled.push_back(action->isEnabled());
        EXPECT_EQ(enabled, state.basic) << "port " << state.portIndex << " busy " << state.busy;
    }
    doc.Busy = false;
    emit frame_->BasicMenu()->aboutToShow();  // disabled entries do not trigger

    // A function entry runs its built-in function; a command entry starts the poll timer and
    // asks for the refresh its row wants.
    int refreshes = 0;
    frame_->SetBuiltinFunction(1, [&refreshes] { ++refreshes; });
    frame_->FindAction(37040)->trigger();
    EXPECT_EQ(refreshes, 1);
    doc.RefreshRequested = false;
    frame_->FindAction(37041)->trigger();
    EXPECT_EQ(view_.polls, 1);
    EXPECT_TRUE(doc.RefreshRequested);
    doc.PortIndex = -1;

    // The next model's database replaces all of it, the maps too.
    loadModel("edge_missing.mdb");
    EXPECT_EQ(Texts(frame_->BasicMenu()->actions()), (Texts_{"&Refresh All Parameters"}));
    EXPECT_EQ(Texts(frame_->AdvancedMenu()->actions()),
              (Texts_{"&Flat-Field Correction...", "&Missing Sub-Menu"}));
    EXPECT_EQ(Texts(frame_->PasswordMenu()->actions()), (Texts_{"(Empty)"}));
    EXPECT_EQ(answers.messages.size(), 2u);
    EXPECT_EQ(frame_->FindAction(37041), nullptr);
    EXPECT_TRUE(frame_->Menus().m_mapCommandString.empty());
}

TEST_F(MainFrameTest, PasswordToggleAsksOnlyWithoutAccessAndKeepsThePopupEntries) {
    QAction* toggle = frame_->FindAction(CMainFrame::kIdPassword);
    ASSERT_NE(toggle, nullptr);
    EXPECT_EQ(toggle->shortcut(), QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_P));
    QAction* title = frame_->menuBar()->actions().back();

    ModalAnswerer answers;
    struct Step {
        std::optional<QString> entry;  // none: the dialog is cancelled
        bool grantedAfter;
        std::vector<std::string> messages;
    };
    const Step steps[] = {
        {std::nullopt, false, {}},
        {"38192", false, {"Incorrect password!"}},
        {"3819270", false, {"Incorrect password!"}},
        {"381927", true, {}},
    };
    for (const Step& step : steps) {
        answers.messages.clear();
        if (step.entry) answers.passwords.push_back(*step.entry);
        toggle->trigger();
        EXPECT_EQ(app_.AccessGranted, step.grantedAfter)
            << step.entry.value_or("cancel").toStdString();
        EXPECT_EQ(answers.messages, step.messages);
        EXPECT_EQ(title->isVisible(), step.grantedAfter);
    }
    EXPECT_EQ(answers.passwordDialogs, 4);
    EXPECT_EQ(title->text(), "Pass&word Commands");
    EXPECT_EQ(view_.shows, 1);

    // With access granted the key hides the pop-up at once, without a dialog.
    toggle->trigger();
    EXPECT_FALSE(app_.AccessGranted);
    EXPECT_FALSE(title->isVisible());
    EXPECT_EQ(view_.drops, 1);
    EXPECT_EQ(answers.passwordDialogs, 4);
    EXPECT_EQ(frame_->PasswordMenu()->actions().size(), 1);
}

TEST_F(MainFrameTest, BuiltinFunctionsWithoutTheirWindowSayNotAvailableAndUnknownCodesAreRefused) {
    ModalAnswerer answers;
    const struct {
        int code;
        bool lutEditorInView;
        const char* message;  // nullptr: none
    } cases[] = {
        {2, false, "The flat-field correction wizard is not available yet."},
        {6, false, "Writing a LUT workbook to the camera is not available yet."},
        {7, false, "Reading the camera's LUT into a workbook is not available yet."},
        {8, false, "The LUT editor is not available yet."},
        {8, true, nullptr},
        {0, false, "This function isn't supported!!"},
        {11, false, "This function isn't supported!!"},
    };
    for (const auto& c : cases) {
        answers.messages.clear();
        view_.hasLutEditor = c.lutEditorInView;
        frame_->RunBuiltinFunction(c.code);
        const std::vector<std::string> expected =
            c.message ? std::vector<std::string>{c.message} : std::vector<std::string>{};
        EXPECT_EQ(answers.messages, expected) << "code " << c.code;
    }

    bool ran = false;
    frame_->SetBuiltinFunction(2, [&ran] { ran = true; });
    frame_->RunBuiltinFunction(2);
    EXPECT_TRUE(ran);
}

TEST_F(MainFrameTest, CommandsFinishEditingFirstAndCloseNeverAsksToSave) {
    HintLog log;
    app_.Doc().AddObserver(&log);
    ModalAnswerer answers;
    EXPECT_TRUE(frame_->RunCommand(CMainFrame::kIdAbout));
    EXPECT_TRUE(frame_->RunCommand(37000));
    EXPECT_FALSE(frame_->RunCommand(12345));
    EXPECT_EQ(log.hints,
              (std::vector<int>{UpdateHint::kFinishEditing, UpdateHint::kFinishEditing}));
    app_.Doc().RemoveObserver(&log);

    frame_->show();
    app_.Doc().SetModifiedFlag(true);
    answers.messages.clear();
    EXPECT_TRUE(frame_->close());
    EXPECT_FALSE(frame_->isVisible());
    EXPECT_FALSE(app_.Doc().IsModified());
    EXPECT_TRUE(answers.messages.empty());
}

TEST_F(MainFrameTest, CallsFromAnotherThreadRunOnTheWindowThreadWithoutWaiting) {
    QtUserInterface& ui = frame_->Ui();
    app_.Doc().Busy = true;
    std::thread led([&ui] {
        ui.RepaintLamp();
        ui.StartPollTimer(750);
        ui.SetWaitCursor(true);
    });
    led.join();  // would never return if a call waited for this (blocked) thread
    EXPECT_EQ(view_.lamps + view_.polls, 0);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);

    QApplication::processEvents();
    EXPECT_EQ(view_.lamps, 1);
    EXPECT_EQ(view_.polls, 1);
    EXPECT_FALSE(view_.offThread);
    ASSERT_NE(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    EXPECT_EQ(frame_->cursor().shape(), Qt::BusyCursor);

    ui.SetWaitCursor(false);
    ui.SetWaitCursor(false);  // one too many is ignored
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    app_.Doc().Busy = false;
    ui.RepaintLamp();
    EXPECT_EQ(frame_->cursor().shape(), Qt::ArrowCursor);
}

TEST_F(MainFrameTest, TitleFollowsTheDocumentAndRecentFilesKeepTheNewestFour) {
    app_.Doc().SetTitle("COM2");
    app_.Doc().UpdateAllViews(UpdateHint::kConnectionChanged);
    EXPECT_EQ(frame_->windowTitle(), "COM2 - Velterra");

    for (const char* path : {"/a.vlt", "/b.vlt", "/c.vlt", "/a.vlt", "/d.vlt", "/e.vlt"}) {
        frame_->AddRecentFile(path);
    }
    const std::vector<QString> expected = {"&Open Camera...",
                                           "-",
                                           "&Load VLT File...",
                                           "&Save VLT File As...",
                                           "-",
                                           "&1 /e.vlt",
                                           "&2 /d.vlt",
                                           "&3 /a.vlt",
                                           "&4 /c.vlt",
                                           "-",
                                           "E&xit"};
    EXPECT_EQ(Texts(frame_->ProgramMenu()->actions()), expected);

    // Kept in the settings: the next window lists them too, and choosing one loads that path.
    frame_.reset();
    frame_ = std::make_unique<CMainFrame>(app_);
    EXPECT_EQ(Texts(frame_->ProgramMenu()->actions()), expected);
    std::string opened;
    frame_->SetOpenSettingsFileHandler([&opened](const std::string& path) { opened = path; });
    EXPECT_TRUE(frame_->RunCommand(CMainFrame::kIdFirstRecentFile + 2));
    EXPECT_EQ(opened, "/a.vlt");
}

TEST_F(MainFrameTest, TheLutSwitchUnderHelpIsOffAtFirstAndRemembered) {
    QMenu* help = frame_->menuBar()->actions()[3]->menu();
    ASSERT_NE(help, nullptr);
    const QList<QAction*> entries = help->actions();
    ASSERT_EQ(Texts(entries).back(), "Enable LUT Functions");
    QAction* lutSwitch = entries.back();
    EXPECT_TRUE(lutSwitch->isCheckable());
    EXPECT_FALSE(lutSwitch->isChecked());
    EXPECT_FALSE(frame_->LutFunctionsEnabled());

    // The command line's switch holds for the run only.
    frame_->SetLutFunctionsEnabled(true, false);
    EXPECT_TRUE(lutSwitch->isChecked());
    EXPECT_FALSE(QSettings().contains("Menus/EnableLutFunctions"));
    frame_->SetLutFunctionsEnabled(false, false);

    lutSwitch->trigger();
    EXPECT_TRUE(frame_->LutFunctionsEnabled());
    EXPECT_TRUE(QSettings().value("Menus/EnableLutFunctions").toBool());
    frame_ = std::make_unique<CMainFrame>(app_);
    EXPECT_TRUE(frame_->LutFunctionsEnabled());
}

TEST_F(MainFrameTest, FunctionEightOpensTheViewsLutEditorWithTheModelsGeometryUntilHintFour) {
    CVelterraDoc& doc = app_.Doc();
    doc.ColorCamera = 0;
    doc.MaxTxUnitBits = 12;
    doc.TapsNum = 4;
    CMainFrame frame(app_);
    CWindowParts parts(frame);
    auto* view = qobject_cast<CVelterraView*>(frame.centralWidget());
    ASSERT_NE(view, nullptr);

    frame.RunBuiltinFunction(8);
    auto* editor = qobject_cast<CLutDialog*>(view->LutEditor());
    ASSERT_NE(editor, nullptr);
    EXPECT_TRUE(editor->isVisible());
    EXPECT_EQ(editor->Model().Bits(), 12);
    EXPECT_EQ(editor->findChild<QComboBox*>("1008")->count(), 5);
    // Hidden and shown again, it is the same editor; a camera opened meanwhile ends it.
    editor->reject();
    frame.RunBuiltinFunction(8);
    EXPECT_EQ(view->LutEditor(), editor);
    doc.UpdateAllViews(UpdateHint::kCloseLutEditor);
    EXPECT_EQ(view->LutEditor(), nullptr);
}

}  // namespace

// The view and its list control offscreen, with a hand-made table and no camera: the editor
// rules that can break (typing refused, "[N/A]", cut to length, what a commit reports), the
// ways an edit ends, the group boxes, the lamp from either thread, the log, the content levels
// and the scroll position over a rebuild.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QSignalSpy>
#include <QSlider>
#include <QTest>
#include <cstdlib>
#include <fstream>
#include <thread>

#include "ViewTestSupport.h"
#include "core/EngineTexts.h"
#include "core/UpdateHints.h"
#include "core/VelterraDoc.h"
#include "ui/ViewTexts.h"
#include "ui/widgets/EditListCtrl.h"
#include "ui/widgets/LedLamp.h"
#include "ui/widgets/ParameterListModel.h"
#include "ui/widgets/VelterraView.h"

using namespace velterra;

namespace {

// Model rows at Basic: 0 group, 1 Digital Gain (64..1023), 2 Name (text of 8), 3 Mode (list),
// 4 Offset ("[N/A]"), 5 Rate (read-only), 6 group "Factory" (collapsed).
BlockArray Table() {
    return MakeBlocks({
        {"Gain",
         {{"Digital Gain", TestRow::Number, "100", 0, 64, 1023, 2},
          {"Name", TestRow::Text, "ABCDEFGHIJ", 0, 0, 0, 8},
          {"Mode", TestRow::List, "CC1", 0, 0, 0, 1, {"Internal", "CC1", "External"}},
          {"Offset", TestRow::Number, EngineText::kNotAvailable, 0, 0, 255, 1},
          {"Rate", TestRow::ReadOnly, "4000"},
          {"Secret", TestRow::Number, "5", 2}}},
        {"Factory", {{"Bias", TestRow::Number, "1"}, {"Trim", TestRow::Number, "2", 2}}, false},
    });
}

class ViewEditingTest : public ::testing::Test {
  protected:
    ViewEditingTest() {
        doc_.Blocks = Table();
        ui_.view = &view_;
        doc_.SetUserInterface(&ui_);
        view_.resize(700, 560);
        view_.show();
        view_.activateWindow();
        view_.OnInitialUpdate();
        doc_.UpdateAllViews(UpdateHint::kValuesChanged, &doc_.Blocks);
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&view_));
    }
    ~ViewEditingTest() override { doc_.SetUserInterface(nullptr); }

    CEditListCtrl* List() { return view_.List(); }
    QLineEdit* Edit() { return List()->EditBox(); }
    QString Cell(int row, int column = 1) {
        return view_.Model()->index(row, column).data().toString();
    }
    void Type(const char* text) { QTest::keyClicks(Edit(), QString::fromUtf8(text)); }
    void Key(QWidget* widget, Qt::Key key) { QTest::keyClick(widget, key); }
    QPoint CellPoint(int row, int column, int x = -1) {
        const QRect cell = List()->visualRect(view_.Model()->index(row, column));
        return {x < 0 ? cell.center().x() : cell.left() + x, cell.center().y()};
    }

    QApplication& app_ = ViewTestApp();  // before any widget
    CVelterraDoc doc_;
    ViewTestUi ui_;
    CVelterraView view_{doc_};
};

TEST_F(ViewEditingTest, NumberEditRefusesKeystrokesAndDrivesTheSlider) {
    QSignalSpy commits(List(), &CEditListCtrl::valueCommitted);
    view_.BeginValueEdit(1);
    ASSERT_TRUE(Edit()->isVisible());
    EXPECT_EQ(Edit()->text(), "100");
    EXPECT_EQ(Edit()->maxLength(), 4);  // the digits of 1023
    ASSERT_TRUE(view_.Slider()->isVisible());
    EXPECT_EQ(view_.MinLabel()->text(), "Min.: 64");
    EXPECT_EQ(view_.MaxLabel()->text(), "Max.: 1023");
    EXPECT_EQ(view_.Slider()->maximum(), 1023 - 64);
    EXPECT_EQ(view_.Slider()->value(), 100 - 64);

    struct Step {
        const char* typed;
        int caret;  // where the caret is put first; -1 leaves it (and the selection)
        QString text;
        int caretAfter;
        int slider;
    } steps[] = {
        {"5", -1, "5", 1, 0},          // replaces the selection; below Min stays while typing
        {"0", 1, "50", 2, 0},          // still below Min
        {"0", 2, "500", 3, 500 - 64},  // valid: the slider follows
        {"x", 3, "500", 3, 500 - 64},  // refused, caret one place back from after the x
        {"9", 1, "500", 1, 500 - 64},  // 5900 is above Max: refused, caret back to 1
        {"-", 0, "500", 0, 500 - 64},  // a sign is not a digit
    };
    for (const Step& s : steps) {
        if (s.caret >= 0) Edit()->setCursorPosition(s.caret);
        Type(s.typed);
        EXPECT_EQ(Edit()->text(), s.text) << s.typed;
        EXPECT_EQ(Edit()->cursorPosition(), s.caretAfter) << s.typed;
        EXPECT_EQ(view_.Slider()->value(), s.slider) << s.typed;
    }

    // The slider's last position is Max itself; the edit follows the slider.
    view_.Slider()->setValue(view_.Slider()->maximum());
    EXPECT_EQ(Edit()->text(), "1023");
    view_.Slider()->setValue(10);
    EXPECT_EQ(Edit()->text(), "74");

    Key(Edit(), Qt::Key_Return);
    ASSERT_EQ(commits.count(), 1);
    EXPECT_EQ(commits[0][0].toInt(), 1);
    EXPECT_EQ(commits[0][1].toString(), "74");
    // No port: the commit writes nothing and the editor never wrote the cell.
    EXPECT_EQ(Cell(1), "100");
    EXPECT_FALSE(Edit()->isVisible());
    EXPECT_FALSE(view_.Slider()->isVisible());
    EXPECT_FALSE(view_.MinLabel()->isVisible());
}

TEST_F(ViewEditingTest, WhatAnEditStartsWithAndWhatItsCommitReports) {
    struct Case {
        int row;
        const char* typed;  // nullptr: nothing typed
        QString start;
        int maxLength;
        std::optional<QString> commit;
    } cases[] = {
        {1, nullptr, "100", 4, std::nullopt},              // unchanged: nothing reported
        {1, "\b\b\b", "100", 4, std::nullopt},             // emptied: nothing reported
        {1, "65", "100", 4, QString("65")},                //
        {1, "63", "100", 4, std::nullopt},                 // below Min at the commit: refused
        {2, nullptr, "ABCDEFGH", 8, QString("ABCDEFGH")},  // cut to 8: changed from the cell
        {2, "xyz", "ABCDEFGH", 8, QString("xyz")},
        {4, nullptr, "", 3, std::nullopt},  // "[N/A]" starts empty; empty commits nothing
        {4, "12", "", 3, QString("12")},
    };
    for (const Case& c : cases) {
        QSignalSpy commits(List(), &CEditListCtrl::valueCommitted);
        view_.BeginValueEdit(c.row);
        ASSERT_TRUE(Edit()->isVisible()) << c.row;
        EXPECT_EQ(Edit()->text(), c.start) << c.row;
        EXPECT_EQ(Edit()->maxLength(), c.maxLength) << c.row;
        if (c.typed != nullptr) {
            for (const char* k = c.typed; *k != '\0'; ++k) {
                if (*k == '\b') {
                    Edit()->end(false);
                    Key(Edit(), Qt::Key_Backspace);
                } else {
                    QTest::keyClicks(Edit(), QString(QChar(*k)));
                }
            }
        }
        Key(Edit(), Qt::Key_Return);
        ASSERT_EQ(commits.count(), c.commit ? 1 : 0) << c.row << " " << (c.typed ? c.typed : "");
        if (c.commit) {
            EXPECT_EQ(commits[0][1].toString(), *c.commit);
        }
    }
    // Read-only rows and group rows open nothing; column 0 is refused.
    view_.BeginValueEdit(5);
    view_.BeginValueEdit(0);
    EXPECT_FALSE(List()->IsEditing());
    EXPECT_FALSE(List()->BeginEdit(1, 0, 4));
}

TEST_F(ViewEditingTest, DropListPreselectsTheCellsChoiceOrNone) {
    QSignalSpy commits(List(), &CEditListCtrl::valueCommitted);
    view_.BeginValueEdit(3);
    QComboBox* box = List()->ChoiceBox();
    ASSERT_TRUE(box->isVisible());
    EXPECT_EQ(box->count(), 3);
    EXPECT_EQ(box->currentIndex(), 1);
    Key(box, Qt::Key_Return);  // the shown choice: nothing to report
    EXPECT_EQ(commits.count(), 0);
    EXPECT_FALSE(box->isVisible());

    doc_.Blocks[0].Rows[2].Command->ValueText = "Unknown";
    doc_.UpdateAllViews(UpdateHint::kValuesChanged, &doc_.Blocks);
    view_.BeginValueEdit(3);
    EXPECT_EQ(box->currentIndex(), -1);
    Key(box, Qt::Key_Return);
    EXPECT_EQ(commits.count(), 0);

    view_.BeginValueEdit(3);
    box->setCurrentIndex(2);
    Key(box, Qt::Key_Return);
    ASSERT_EQ(commits.count(), 1);
    EXPECT_EQ(commits[0][1].toString(), "External");
}

TEST_F(ViewEditingTest, WaysAnEditEnds) {
    enum class End { Escape, RightClick, HeaderClick, ScrollBar, PortField, Hint5, Filter, Level };
    struct Case {
        End end;
        bool commits;
    } cases[] = {
        {End::Escape, false},    {End::RightClick, false}, {End::HeaderClick, false},
        {End::ScrollBar, false}, {End::PortField, false},  {End::Hint5, false},
        {End::Level, false},     {End::Filter, true},  // the focus moving elsewhere in the window
                                                       // commits
    };
    for (const Case& c : cases) {
        QSignalSpy commits(List(), &CEditListCtrl::valueCommitted);
        view_.BeginValueEdit(1);
        ASSERT_TRUE(Edit()->hasFocus()) << static_cast<int>(c.end);
        Edit()->setText("65");
        switch (c.end) {
            case End::Escape:
                Key(Edit(), Qt::Key_Escape);
                break;
            case End::RightClick:
                QTest::mouseClick(List()->viewport(), Qt::RightButton, {}, CellPoint(2, 1));
                break;
            case End::HeaderClick:
                QTest::mouseClick(List()->horizontalHeader()->viewport(), Qt::LeftButton, {},
                                  QPoint(10, 5));
                break;
            case End::ScrollBar:
                QTest::mousePress(List()->verticalScrollBar(), Qt::LeftButton);
                QTest::mouseRelease(List()->verticalScrollBar(), Qt::LeftButton);
                break;
            case End::PortField:
                view_.PortField()->setFocus(Qt::MouseFocusReason);
                break;
            case End::Hint5:
                doc_.UpdateAllViews(UpdateHint::kFinishEditing);
                break;
            case End::Level:
                QTest::mouseClick(view_.findChildren<QRadioButton*>()[1], Qt::LeftButton);
                break;
            case End::Filter:
                view_.FilterField()->setFocus(Qt::MouseFocusReason);
                break;
        }
        EXPECT_FALSE(List()->IsEditing()) << static_cast<int>(c.end);
        EXPECT_FALSE(view_.Slider()->isVisible()) << static_cast<int>(c.end);
        EXPECT_EQ(commits.count(), c.commits ? 1 : 0) << static_cast<int>(c.end);
        view_.ChooseContentLevel(kBasicLevel);
    }
}

TEST_F(ViewEditingTest, GroupBoxTogglesOnlyInsideAndWithLeftRight) {
    // Factory is the group line 6; its box spans x 4 to 14 of the name cell.
    struct Click {
        int x;
        bool expandedAfter;
    } clicks[] = {{3, false}, {15, false}, {4, true}, {14, false}, {9, true}};
    for (const Click& c : clicks) {
        QTest::mouseClick(List()->viewport(), Qt::LeftButton, {}, CellPoint(6, 0, c.x));
        EXPECT_EQ(doc_.Blocks[1].Expanded, c.expandedAfter) << "x " << c.x;
    }
    EXPECT_EQ(Cell(7, 0), "Bias");
    List()->setCurrentIndex(view_.Model()->index(6, 0));
    Key(List(), Qt::Key_Left);
    EXPECT_FALSE(doc_.Blocks[1].Expanded);
    Key(List(), Qt::Key_Left);  // already collapsed
    EXPECT_FALSE(doc_.Blocks[1].Expanded);
    Key(List(), Qt::Key_Right);
    EXPECT_TRUE(doc_.Blocks[1].Expanded);
    EXPECT_EQ(List()->currentIndex().row(), 6);

    // While filtering the boxes do nothing and the flags stay.
    view_.FilterField()->setText("bias");
    EXPECT_EQ(view_.Model()->rowCount(), 2);
    QTest::mouseClick(List()->viewport(), Qt::LeftButton, {}, CellPoint(0, 0, 9));
    EXPECT_TRUE(doc_.Blocks[1].Expanded);
    doc_.Blocks[1].Expanded = false;
    doc_.UpdateAllViews(UpdateHint::kValuesChanged, &doc_.Blocks);
    EXPECT_EQ(view_.Model()->rowCount(), 2);  // a collapsed group's match is still shown
    Key(view_.FilterField(), Qt::Key_Escape);
    EXPECT_TRUE(view_.FilterField()->text().isEmpty());
    EXPECT_EQ(view_.Model()->rowCount(), 7);
    EXPECT_FALSE(doc_.Blocks[1].Expanded);
}

TEST_F(ViewEditingTest, LampColoursFromEitherThread) {
    const QColor red(255, 0, 0), grey(45, 45, 45);
    EXPECT_EQ(CentreColour(view_.Lamp()), grey);
    struct Case {
        bool notResponding, busy;
        QColor colour;
    } cases[] = {
        {true, false, red}, {false, false, grey}, {false, true, red}, {false, false, grey}};
    for (const Case& c : cases) {
        doc_.NotResponding = c.notResponding;
        doc_.Busy = c.busy;
        std::thread worker([this] { ui_.RepaintLamp(); });  // queued, never waits for the window
        worker.join();
        EXPECT_TRUE(PumpUntil([&] { return CentreColour(view_.Lamp()) == c.colour; }))
            << c.notResponding << c.busy;
    }
    EXPECT_EQ(view_.Lamp()->size(), QSize(12, 12));
}

TEST_F(ViewEditingTest, LogLinesAreStampedKeptAndClearedByAnEmptyLine) {
    for (int i = 0; i < 600; ++i) doc_.LogMessage("COM1 failed " + std::to_string(i));
    const QStringList lines = view_.Log()->toPlainText().split('\n');
    ASSERT_EQ(lines.size(), 600);
    EXPECT_TRUE(
        QRegularExpression("^\\[\\d\\d:\\d\\d:\\d\\d\\] COM1 failed 0$").match(lines[0]).hasMatch())
        << lines[0].toStdString();
    EXPECT_TRUE(lines[599].endsWith("] COM1 failed 599"));
    std::thread worker([this] { doc_.LogMessage("from the worker"); });
    worker.join();
    EXPECT_TRUE(PumpUntil([&] { return view_.Log()->toPlainText().endsWith("from the worker"); }));
    doc_.LogMessage("");
    EXPECT_TRUE(view_.Log()->toPlainText().isEmpty());
}

TEST_F(ViewEditingTest, AdminLevelHiddenUntilShownAndDroppedBackToBasic) {
    EXPECT_FALSE(view_.AdminButton()->isVisible());
    view_.ShowAdminLevel();
    ASSERT_TRUE(view_.AdminButton()->isVisible());
    QTest::mouseClick(view_.AdminButton(), Qt::LeftButton);
    EXPECT_EQ(view_.ContentLevel(), kAdminLevel);
    EXPECT_EQ(Cell(1, 0), "Secret");
    view_.DropAdminLevel();
    EXPECT_FALSE(view_.AdminButton()->isVisible());
    EXPECT_EQ(view_.ContentLevel(), kBasicLevel);
    EXPECT_TRUE(view_.findChildren<QRadioButton*>()[0]->isChecked());
    EXPECT_EQ(Cell(1, 0), "Digital Gain");
}

TEST_F(ViewEditingTest, RebuildKeepsTheScrollPosition) {
    std::vector<TestRow> rows;
    for (int i = 0; i < 200; ++i) rows.push_back({"P" + std::to_string(i), TestRow::Number, "1"});
    doc_.Blocks = MakeBlocks({{"Many", rows}});
    doc_.UpdateAllViews(UpdateHint::kValuesChanged, &doc_.Blocks);
    QCoreApplication::processEvents();
    List()->verticalScrollBar()->setValue(120);
    doc_.Blocks[0].Rows[0].Command->ValueText = "2";
    doc_.UpdateAllViews(UpdateHint::kValuesChanged, &doc_.Blocks);
    QCoreApplication::processEvents();
    EXPECT_EQ(List()->verticalScrollBar()->value(), 120);
    EXPECT_EQ(List()->rowAt(0), 120);
    doc_.UpdateAllViews(UpdateHint::kValuesChanged, nullptr);
    EXPECT_EQ(view_.Model()->rowCount(), 0);
}

// Without room for the LED thread the view says so once and runs on without it. The address
// space is capped in a child process, so the cap cannot touch the other tests.
int InitialUpdateWithoutRoomForAThread() {
    ViewTestApp();
    CVelterraDoc doc;
    ViewTestUi ui;
    CVelterraView view(doc);
    ui.view = &view;
    doc.SetUserInterface(&ui);
    std::size_t pages = 0;
    std::ifstream("/proc/self/statm") >> pages;
    rlimit cap{};
    cap.rlim_cur = pages * static_cast<std::size_t>(sysconf(_SC_PAGESIZE)) + (2u << 20);
    cap.rlim_max = RLIM_INFINITY;
    setrlimit(RLIMIT_AS, &cap);  // far less than a thread's stack is left
    view.OnInitialUpdate();
    const bool toldOnce = ui.messages == std::vector<std::string>{ViewText::kLedDisabled};
    return toldOnce && doc.LedThread() == nullptr ? 0 : 1;
}

TEST(ViewLedThreadTest, ALampThreadThatCannotStartIsReportedAndTheViewRunsOn) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "AddressSanitizer reserves the address space this test caps";
#endif
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(std::_Exit(InitialUpdateWithoutRoomForAThread()), ::testing::ExitedWithCode(0), "");
}

}  // namespace

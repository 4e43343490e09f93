// The LUT editor dialog offscreen: the options each geometry offers, an edit of the all-taps
// option reaching every tap through the mouse and the fields, the two resets, hiding, and the
// camera buttons with their enabling.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <map>
#include <numeric>

#include "lut/widgets/LutDialog.h"
#include "lut/widgets/LutView.h"

using namespace velterra;

namespace {

QApplication& App() {
    static int argc = 1;
    static char name[] = "lut_widget_tests";
    static char* argv[] = {name, nullptr};
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    // Never destroyed: the toolkit's input devices must not go away in the exit handlers.
    static QApplication* app = new QApplication(argc, argv);
    return *app;
}

template <class Widget>
Widget* Control(CLutDialog& dialog, int id) {
    Widget* widget = dialog.findChild<Widget*>(QString::number(id));
    EXPECT_NE(widget, nullptr) << id;
    return widget;
}

QStringList ComboTexts(QComboBox* combo) {
    QStringList texts;
    for (int i = 0; i < combo->count(); ++i) texts << combo->itemText(i);
    return texts;
}

void Mouse(QWidget* view, QEvent::Type type, QPoint at, Qt::MouseButtons buttons) {
    QMouseEvent event(type, at, view->mapToGlobal(at), Qt::LeftButton, buttons, Qt::NoModifier);
    QApplication::sendEvent(view, &event);
}

// Presses on the curve at `from`, drags to `to` and lets go.
void Drag(QWidget* view, QPoint from, QPoint to) {
    Mouse(view, QEvent::MouseButtonPress, from, Qt::LeftButton);
    Mouse(view, QEvent::MouseMove, to, Qt::LeftButton);
    Mouse(view, QEvent::MouseButtonRelease, to, Qt::NoButton);
}

std::vector<uint16_t> CurveOf(CLutDialog& dialog, int option) {
    const auto curve = dialog.Model().Curve(option);
    return {curve.begin(), curve.end()};
}

bool IsIdentity(const std::vector<uint16_t>& curve) {
    for (size_t i = 0; i < curve.size(); ++i)
        if (curve[i] != i) return false;
    return !curve.empty();
}

class CountingActions : public ILutEditorActions {
  public:
    explicit CountingActions(bool vectors, std::map<std::string, int>& calls)
        : vectors_(vectors), calls_(calls) {}
    bool HasVectorSupport() const override { return vectors_; }
    void WriteOptionToCamera() override { ++calls_["option"]; }
    void WriteEachTapToCamera() override { ++calls_["each"]; }
    void LoadVectorsFromCamera() override { ++calls_["load"]; }
    bool SaveLutToFile() override { return ++calls_["save"], true; }

  private:
    bool vectors_;
    std::map<std::string, int>& calls_;
};

class LutDialogTest : public ::testing::Test {
  protected:
    LutDialogTest() { App(); }
};

TEST_F(LutDialogTest, EachGeometryOffersItsOptions) {
    const struct {
        bool color;
        int16_t bits, taps;
        bool initialised;
        QStringList options;
        QString bitsText;
    } cases[] = {
        {true, 12, 2, true, {"RGB (All-Taps)", "R (Tap-1)", "G (Tap-2)", "B (Tap-3)"}, "8"},
        {false, 12, 1, true, {"Tap-1 Only"}, "12"},
        {false, 14, 4, true, {"All-Taps", "Tap-1", "Tap-2", "Tap-3", "Tap-4"}, "14"},
        {false, 9, 2, false, {}, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.bitsText.toStdString() + " " + std::to_string(c.taps));
        CLutDialog dialog;
        EXPECT_EQ(dialog.InitLut(c.color, c.bits, c.taps), c.initialised);
        dialog.show();
        EXPECT_EQ(dialog.windowTitle(), "Look-Up Table User Interface");
        auto* combo = Control<QComboBox>(dialog, CLutDialog::kIdOption);
        EXPECT_EQ(ComboTexts(combo), c.options);
        EXPECT_EQ(combo->currentIndex(), c.initialised ? 0 : -1);
        EXPECT_EQ(Control<QLabel>(dialog, CLutDialog::kIdBits)->text(), c.bitsText);
        EXPECT_EQ(Control<QLabel>(dialog, CLutDialog::kIdOptionText)->text(), c.options.value(0));
        auto* color = Control<QRadioButton>(dialog, CLutDialog::kIdColor);
        auto* mono = Control<QRadioButton>(dialog, CLutDialog::kIdMono);
        EXPECT_EQ(color->isChecked(), c.initialised && c.color);
        EXPECT_EQ(mono->isChecked(), c.initialised && !c.color);
        EXPECT_FALSE(color->isEnabled() || mono->isEnabled());
        // The note belongs to the all-taps option of several taps.
        EXPECT_EQ(Control<QLabel>(dialog, CLutDialog::kIdAllTapsNote)->isVisible(),
                  c.initialised && (c.color || c.taps > 1));
    }
}

TEST_F(LutDialogTest, AnAllTapsEditReachesEveryTapAndTheFieldsMoveTheNode) {
    CLutDialog dialog;
    ASSERT_TRUE(dialog.InitLut(false, 8, 4));
    dialog.show();
    QWidget* view = dialog.View();
    const int w = view->width();
    const int h = view->height();
    // A press on the identity curve in the middle inserts a node; dragging it up bends it.
    Drag(view, {w / 2, h - 1 - h / 2}, {w / 2, h / 4});
    const auto allTaps = CurveOf(dialog, 0);
    EXPECT_FALSE(IsIdentity(allTaps));
    auto* input = Control<QLineEdit>(dialog, CLutDialog::kIdInput);
    auto* output = Control<QLineEdit>(dialog, CLutDialog::kIdOutput);
    EXPECT_EQ(input->text(), "128");
    EXPECT_GT(output->text().toInt(), 180);
    for (int k = 1; k <= 4; ++k) EXPECT_EQ(CurveOf(dialog, k), allTaps) << k;

    // Typing a new input value moves the selected node, again for every tap.
    input->selectAll();
    QTest::keyClicks(input, "60");
    EXPECT_EQ(dialog.Model().Nodes(0)[1].x, 60);
    EXPECT_EQ(dialog.Model().Nodes(3)[1].x, 60);

    // A tap chosen in the combo shows its own text; its edits stay its own.
    auto* combo = Control<QComboBox>(dialog, CLutDialog::kIdOption);
    combo->setCurrentIndex(2);
    emit combo->activated(2);
    EXPECT_EQ(Control<QLabel>(dialog, CLutDialog::kIdOptionText)->text(), "Tap-2");
    EXPECT_FALSE(Control<QLabel>(dialog, CLutDialog::kIdAllTapsNote)->isVisible());
    Drag(view, {1, h - 2}, {1, h / 2});  // the first node up
    EXPECT_NE(CurveOf(dialog, 2), CurveOf(dialog, 1));
}

TEST_F(LutDialogTest, ResetsAndExitKeepWhatTheyShould) {
    CLutDialog dialog;
    ASSERT_TRUE(dialog.InitLut(false, 10, 2));
    dialog.show();
    QWidget* view = dialog.View();
    Drag(view, {view->width() / 2, view->height() / 2}, {view->width() / 2, 10});
    const auto bent = CurveOf(dialog, 1);
    ASSERT_FALSE(IsIdentity(bent));

    // Exit only hides: the curves are there at the next showing.
    Control<QPushButton>(dialog, CLutDialog::kIdExit)->click();
    EXPECT_FALSE(dialog.isVisible());
    dialog.show();
    EXPECT_EQ(CurveOf(dialog, 1), bent);

    // Resetting one tap leaves the others; resetting the all-taps option resets everything.
    auto* combo = Control<QComboBox>(dialog, CLutDialog::kIdOption);
    emit combo->activated(1);
    Control<QPushButton>(dialog, CLutDialog::kIdResetThis)->click();
    EXPECT_TRUE(IsIdentity(CurveOf(dialog, 1)));
    EXPECT_EQ(CurveOf(dialog, 2), bent);
    EXPECT_EQ(dialog.Model().NodeCount(1), 2);
    emit combo->activated(0);
    Control<QPushButton>(dialog, CLutDialog::kIdResetThis)->click();
    for (int k = 0; k <= 2; ++k) EXPECT_TRUE(IsIdentity(CurveOf(dialog, k))) << k;

    emit combo->activated(2);
    Drag(view, {view->width() / 2, view->height() / 2}, {view->width() / 2, 10});
    Control<QPushButton>(dialog, CLutDialog::kIdResetAll)->click();
    EXPECT_TRUE(IsIdentity(CurveOf(dialog, 2)));
    EXPECT_EQ(combo->currentIndex(), 0);
    EXPECT_EQ(ComboTexts(combo), (QStringList{"All-Taps", "Tap-1", "Tap-2"}));
}

TEST_F(LutDialogTest, CameraButtonsForwardAndLoadNeedsVectorSupport) {
    for (bool vectors : {false, true}) {
        SCOPED_TRACE(vectors);
        std::map<std::string, int> calls;
        CLutDialog dialog;
        dialog.SetActions(std::make_unique<CountingActions>(vectors, calls));
        ASSERT_TRUE(dialog.InitLut(false, 8, 2));
        dialog.show();
        auto* load = Control<QPushButton>(dialog, CLutDialog::kIdLoadVectors);
        EXPECT_EQ(load->isEnabled(), vectors);
        for (int id : {CLutDialog::kIdWriteOption, CLutDialog::kIdWriteEachTap,
                       CLutDialog::kIdLoadVectors, CLutDialog::kIdSaveToFile}) {
            Control<QPushButton>(dialog, id)->click();
        }
        std::map<std::string, int> expected{{"option", 1}, {"each", 1}, {"save", 1}};
        if (vectors) expected["load"] = 1;  // a disabled button takes no click
        EXPECT_EQ(calls, expected);
    }
}

}  // namespace

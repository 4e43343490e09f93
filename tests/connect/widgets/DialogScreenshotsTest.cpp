// Pictures of the dialogs as the X server shows them (the root window, as `import -window
// root` takes it). Runs under Xvfb only (ctest's connect_dialogs_screenshots); offscreen it is
// skipped. The PNGs go to VELTERRA_SCREENSHOT_DIR for a person to look at.
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QLineEdit>
#include <QPixmap>
#include <QScreen>
#include <QSet>
#include <QTableWidget>
#include <QTreeWidget>

#include "DialogTestSupport.h"
#include "connect/SelectionMode.h"
#include "connect/widgets/OpenCameraDlg.h"
#include "connect/widgets/PixelSetDialog.h"
#include "connect/widgets/SelectionModeDlg.h"
#include "core/SettingsCompare.h"
#include "ui/widgets/CompareFileDlg.h"

using namespace velterra;
using namespace dialogtest;

namespace {

class DialogScreenshots : public CameraPortsFixture {
  protected:
    void SetUp() override {
        CameraPortsFixture::SetUp();
        if (QGuiApplication::platformName() != "xcb") GTEST_SKIP() << "needs an X display";
    }

    // Saves the screen and says whether it holds more than a blank background: a dialog has
    // text, frames and buttons in several colours.
    static void Shoot(const QString& name, const QRect& area) {
        WaitUntil([] { return false; }, 300);  // let the window manager-less server paint
        const QImage screen = QGuiApplication::primaryScreen()->grabWindow(0).toImage();
        ASSERT_FALSE(screen.isNull());
        const QString dir = qEnvironmentVariable("VELTERRA_SCREENSHOT_DIR", QDir::tempPath());
        QDir().mkpath(dir);
        EXPECT_TRUE(screen.save(dir + "/" + name + ".png"));
        QSet<QRgb> colours;
        int dark = 0;
        const QRect inside = area.intersected(screen.rect());
        for (int y = inside.top(); y <= inside.bottom(); ++y) {
            for (int x = inside.left(); x <= inside.right(); ++x) {
                const QRgb pixel = screen.pixel(x, y);
                colours.insert(pixel);
                dark += qGray(pixel) < 96;
            }
        }
        EXPECT_GT(colours.size(), 8) << name.toStdString() << " looks blank";
        EXPECT_GT(dark, 200) << name.toStdString() << " shows no text";
    }

    ProbeTable table_;
};

TEST_F(DialogScreenshots, SelectionModeAndOpenCamera) {
    Camera("VELTERRA_COM1", "LS-4096M12");
    Camera("VELTERRA_COM2", "LS-2048C", 1.0);
    registry_->SetOwner(kCom3, kOtherProcess);

    SelectionMode selection(&ui_, false, false);
    selection.FillCardList(std::string(VELTERRA_CONFIG_DIR) + "/clser.ini");
    {
        CSelectionModeDlg dialog(selection);
        dialog.move(40, 40);
        dialog.show();
        dialog.PortTree()->setCurrentItem(dialog.TreeItem(SelectionMode::kCom3Leaf));
        Shoot("selection-mode", dialog.frameGeometry());
    }

    COpenCameraDlg dialog(*doc_, nullptr, table_);
    dialog.SetSelectionRunner([](SelectionMode& s) { return s.AcceptSelection(); });
    dialog.move(40, 40);
    dialog.show();
    ASSERT_TRUE(WaitUntil([&] { return dialog.PortList()->rowCount() > 0 && !dialog.IsBusy(); }));
    dialog.PortList()->selectRow(0);
    Shoot("open-camera", dialog.frameGeometry());
}

TEST_F(DialogScreenshots, CompareWithVltFile) {
    SettingsCompare::Comparison comparison;
    comparison.fileName = "line7.vlt";
    comparison.cameraModel = "LS-4096M12";
    comparison.compared = 24;
    comparison.differences = {
        {0, 1, 0x11, "Gain", "Digital Gain", "100", "140", true},
        {1, 0, 0x21, "Timing", "Line Period", "250", "400", true},
        {1, 2, 0x23, "Timing", "Trigger Mode", "[0x07]", "Internal", false},
    };
    comparison.notInFile = {"Timing/Exposure Time"};
    doc_->PortIndex = kCom1;  // named in the summary line only; nothing is sent
    CCompareFileDlg dialog(*doc_, comparison);
    dialog.move(40, 40);
    dialog.show();
    Shoot("compare-vlt", dialog.frameGeometry());
    doc_->PortIndex = -1;
}

TEST_F(DialogScreenshots, PixelSet) {
    OnePixelRequest request{1, 4081, 77};
    CPixelSetDialog dialog(request, ui_);
    dialog.move(40, 40);
    dialog.show();
    dialog.PixelEdit()->setFocus();
    Shoot("pixel-set", dialog.frameGeometry());
}

}  // namespace

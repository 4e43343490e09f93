// The Pixel Set dialog on the program's one-pixel request: its controls reach the request, the
// warning for a pixel number out of the sensor comes up as a box, and what OK and Cancel leave.
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "DialogTestSupport.h"
#include "connect/ConnectTexts.h"
#include "connect/widgets/PixelSetDialog.h"

using namespace velterra;
using namespace dialogtest;

namespace {

TEST(PixelSetDialogTest, SetStoresTheEditsAndShowsTheWarningWithTheDialogStillOpen) {
    EnsureApplication();
    // The numbers themselves are the model's; here: the radios, the edits and the warning box.
    const struct {
        bool prnu;
        const char* pixel;
        const char* value;
        uint32_t storedPixel;
        int32_t storedValue;
        bool warned;
    } cases[] = {
        {true, "0", "5", 1, 5, false},
        {false, "8160", "-3", 8161, -3, true},
    };
    for (const auto& c : cases) {
        OnePixelRequest request{1, 400, 2};
        RecordingUi ui;
        CPixelSetDialog dialog(request, ui);
        dialog.show();
        // Opening checks FPN whatever the request held.
        EXPECT_TRUE(dialog.FpnRadio()->isChecked());
        EXPECT_EQ(request.TableKind, 0);
        if (c.prnu) dialog.PrnuRadio()->click();
        dialog.PixelEdit()->setText(c.pixel);
        dialog.ValueEdit()->setText(c.value);
        dialog.SetButton()->click();
        EXPECT_EQ(request.PixelNumber, c.storedPixel) << c.pixel;
        EXPECT_EQ(request.Value, c.storedValue) << c.value;
        EXPECT_EQ(request.TableKind, c.prnu ? 1 : 0) << c.pixel;
        EXPECT_EQ(ui.messages, c.warned ? std::vector<std::string>{ConnectText::kCheckPixelNumber}
                                        : std::vector<std::string>{})
            << c.pixel;
        EXPECT_TRUE(dialog.isVisible()) << "Set keeps the dialog open";
    }
}

TEST(PixelSetDialogTest, WithoutSetTheRequestStaysAsStoredBeforeOnOkAndCancel) {
    EnsureApplication();
    for (const bool ok : {true, false}) {
        OnePixelRequest request{0, 101, 33};
        RecordingUi ui;
        CPixelSetDialog dialog(request, ui);
        // The stored request is shown again, 0-based.
        EXPECT_EQ(dialog.PixelEdit()->text(), "100");
        EXPECT_EQ(dialog.ValueEdit()->text(), "33");
        dialog.PixelEdit()->setText("7");
        dialog.ValueEdit()->setText("8");
        if (ok) {
            dialog.accept();
        } else {
            dialog.reject();
        }
        EXPECT_EQ(dialog.result(), ok ? QDialog::Accepted : QDialog::Rejected);
        EXPECT_EQ(request.PixelNumber, 101u) << ok;
        EXPECT_EQ(request.Value, 33) << ok;
        EXPECT_TRUE(ui.messages.empty());
    }
}

}  // namespace

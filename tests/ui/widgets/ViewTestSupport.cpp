#include "ViewTestSupport.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QThread>
#include <QWidget>

#include "connect/PortConnector.h"
#include "core/VelterraDoc.h"
#include "ui/widgets/VelterraView.h"

namespace velterra {

QApplication& ViewTestApp() {
    static int argc = 1;
    static char name[] = "view_tests";
    static char* argv[] = {name, nullptr};
    static QApplication* app = [] {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
            qputenv("QT_QPA_PLATFORM", "offscreen");
        }
        return new QApplication(argc, argv);
    }();
    return *app;
}

bool PumpUntil(const std::function<bool()>& done, std::chrono::milliseconds limit) {
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < limit.count()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(5);
    }
    return done();
}

QColor CentreColour(QWidget* widget) {
    const QImage image = widget->grab().toImage();
    return image.pixelColor(image.width() / 2, image.height() / 2);
}

BlockArray MakeBlocks(const std::vector<TestBlock>& blocks) {
    BlockArray array;
    for (const TestBlock& wanted : blocks) {
        BlockInfo block;
        block.DisplayName = wanted.name;
        block.SectionName = wanted.name;
        block.Expanded = wanted.expanded;
        uint8_t id = static_cast<uint8_t>(0x10 + array.size() * 0x10);
        for (const TestRow& r : wanted.rows) {
            RowInfo row;
            row.DisplayName = row.SectionName = r.name;
            auto command = std::make_unique<CommandInfo>();
            command->CommandID = id++;
            command->EnableRW = r.kind != TestRow::ReadOnly;
            command->Min = r.min;
            command->Max = r.max;
            command->CharLength = r.charLength;
            command->PureTextValue = r.kind == TestRow::Text;
            command->EnableAdvancedLevel = r.level;
            if (r.kind == TestRow::List) {
                command->EnableList = 1;
                command->CharLength = 1;
                for (std::size_t i = 0; i < r.items.size(); ++i) {
                    command->ListItems.push_back({static_cast<uint8_t>(i), r.items[i]});
                }
                command->ListNum = static_cast<int32_t>(r.items.size());
            }
            command->ValueText = r.value;
            (r.level == 0   ? block.BasicCount
             : r.level == 1 ? block.AdvancedCount
                            : block.PasswordCount)++;
            row.Command = std::move(command);
            block.Rows.push_back(std::move(row));
        }
        block.RowCount = static_cast<int32_t>(block.Rows.size());
        array.push_back(std::move(block));
    }
    return array;
}

OpenCameraResult ConnectSlotForView(CVelterraDoc& doc, int slot) {
    PortConnector connector(doc);
    connector.BaudRate = static_cast<uint32_t>(doc.BaudRate);
    OpenCameraResult result;
    if (connector.ConnectSlot(slot) != ProbeStatus::kConnected) return result;
    const ProbeEntry& entry = connector.Table()[slot];
    result.accepted = true;
    result.slot = slot;
    result.modelName = entry.RemoteDeviceName;
    result.kernel = entry.Kernel;
    result.baudRate = doc.BaudRate;
    return result;
}

void ViewTestUi::StartPollTimer(int periodMs) {
    if (view != nullptr) view->StartPollTimer(periodMs);
}

void ViewTestUi::RepaintLamp() {
    if (view != nullptr) view->PaintLedLamp();
}

}  // namespace velterra

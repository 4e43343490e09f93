// The relay that carries a worker's calls to the dialog's thread: a call runs there while the
// worker waits, and a dialog that goes while its worker waits lets the worker go instead of
// waiting for it for ever (the program told to end during the Open Camera dialog hung so).
#include <QWidget>
#include <atomic>
#include <thread>

#include "DialogTestSupport.h"
#include "connect/widgets/UiThreadRelay.h"

using namespace velterra;
using namespace dialogtest;

namespace {

TEST(UiThreadRelay, AWorkersCallRunsOnTheWidgetsThreadUnlessTheWidgetLetItGo) {
    EnsureApplication();
    for (const bool abandon : {false, true}) {
        SCOPED_TRACE(abandon ? "abandoned" : "run");
        QWidget widget;
        UiThreadRelay relay(nullptr, &widget);
        std::atomic<bool> ran{false};
        std::atomic<bool> returned{false};
        std::thread::id ranOn;
        std::thread worker([&] {
            relay.RunOnWidgetThread([&] {
                ranOn = std::this_thread::get_id();
                ran = true;
            });
            returned = true;
        });
        if (abandon) {
            std::this_thread::sleep_for(std::chrono::milliseconds(50));  // the call is queued
            relay.Abandon();
            worker.join();
            QApplication::processEvents();  // the queued call comes too late to run
            EXPECT_FALSE(ran);
            // Later calls do not wait either.
            std::thread late([&] { relay.RunOnWidgetThread([&] { ran = true; }); });
            late.join();
            EXPECT_FALSE(ran);
        } else {
            EXPECT_TRUE(WaitUntil([&] { return returned.load(); }, 5000));
            worker.join();
            EXPECT_TRUE(ran);
            EXPECT_EQ(ranOn, std::this_thread::get_id());
        }
        EXPECT_TRUE(returned);
    }
}

}  // namespace

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "RsPortTestSupport.h"

using namespace velterra::test;
using std::chrono::milliseconds;

namespace {

int OpenDescriptors() {
    int count = 0;
    for ([[maybe_unused]] auto& entry : std::filesystem::directory_iterator("/proc/self/fd")) {
        ++count;
    }
    return count;
}

}  // namespace

TEST_F(RsPortTest, OpenCloseAndKernelQueryFollowTheOpenPortList) {
    FakeCamera second;
    second.AttachAsCom(1);
    uint8_t kernel = 0xFF;
    EXPECT_EQ(RSC_QueryCamKernel(kIndex, &kernel), 0);

    ASSERT_EQ(RSC_OpenPort(kIndex, 9600, 1), 1);
    EXPECT_EQ(RSC_OpenPort(kIndex, 9600, 0), 0) << "an index opens once";
    EXPECT_EQ(RSC_QueryCamKernel(kIndex, nullptr), 0);
    ASSERT_EQ(RSC_QueryCamKernel(kIndex, &kernel), 1);
    EXPECT_EQ(kernel, 1) << "the second open must not replace the first port's kernel";

    ASSERT_EQ(RSC_OpenPort(0, 19200, 0), 1);  // COM1
    EXPECT_EQ(RSC_ClosePort(5), 0);
    EXPECT_EQ(RSC_ClosePort(kIndex), 1) << "one port is still open";
    EXPECT_EQ(RSC_QueryCamKernel(kIndex, &kernel), 0);
    EXPECT_EQ(RSC_ClosePort(0), 0) << "closing the last port leaves none open";
    EXPECT_EQ(RSC_ClosePort(0), 0);

    // The device is free again after the close.
    ASSERT_EQ(RSC_OpenPort(kIndex, 9600, 0), 1);
}

TEST_F(RsPortTest, SecondOpenOfAnIndexLeavesTheFirstPortWorking) {
    camera.Script({Step::AfterShortFrame().Ack()});
    ASSERT_EQ(RSC_OpenPort(kIndex, 9600, 0), 1);
    EXPECT_EQ(RSC_OpenPort(kIndex, 9600, 0), 0);
    EXPECT_EQ(RSC_CommandPort(kIndex, 0x20, 0, nullptr), 1);
}

TEST_F(RsPortTest, ComNumbersResolveThroughEnvironmentThenComportsIni) {
    const auto previous = std::filesystem::current_path();
    const auto dir =
        std::filesystem::temp_directory_path() / ("velterra-comports-" + std::to_string(getpid()));
    std::filesystem::create_directories(dir);
    std::filesystem::current_path(dir);
    FakeCamera fromFile;
    std::ofstream("comports.ini") << "[Ports]\nCOM7 = " << fromFile.Path() << "\n";

    ForgetCom(7);
    EXPECT_EQ(RSC_OpenPort(6, 9600, 0), 1) << "COM7 from comports.ini";
    EXPECT_EQ(RSC_ClosePort(6), 0);

    // The environment wins over the file.
    PointComAt(7, "/nonexistent/velterra-port");
    EXPECT_EQ(RSC_OpenPort(6, 9600, 0), 0);
    ForgetCom(7);

    std::filesystem::current_path(previous);
    std::filesystem::remove_all(dir);
}

TEST_F(RsPortTest, FailedOpensLeaveNoDescriptorOrLockBehind) {
    const int before = OpenDescriptors();

    PointComAt(5, "/nonexistent/velterra-port");
    EXPECT_EQ(RSC_OpenPort(4, 9600, 0), 0) << "no such device";

    const std::string regular =
        (std::filesystem::temp_directory_path() / ("velterra-" + std::to_string(getpid())))
            .string();
    std::ofstream(regular) << "not a terminal";
    PointComAt(5, regular);
    EXPECT_EQ(RSC_OpenPort(4, 9600, 0), 0) << "a plain file is not a serial port";
    std::filesystem::remove(regular);

    EXPECT_EQ(RSC_OpenPort(kIndex, 14400, 0), 0) << "a rate the terminal layer does not know";
    EXPECT_EQ(RSC_OpenPort(-1, 9600, 0), 0);
    EXPECT_EQ(OpenDescriptors(), before);
    uint8_t kernel = 0;
    EXPECT_EQ(RSC_QueryCamKernel(4, &kernel), 0) << "no list node for a failed open";
    EXPECT_EQ(RSC_QueryCamKernel(kIndex, &kernel), 0);

    // Nothing stayed locked: the same device opens now.
    EXPECT_EQ(RSC_OpenPort(kIndex, 9600, 0), 1);
    EXPECT_EQ(RSC_ClosePort(kIndex), 0);
    EXPECT_EQ(OpenDescriptors(), before);
}

TEST_F(RsPortTest, DeviceHeldByAnotherProcessDoesNotOpen) {
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    const pid_t holder = fork();
    ASSERT_GE(holder, 0);
    if (holder == 0) {
        const int fd = open(camera.Path().c_str(), O_RDWR | O_NOCTTY);
        const char ok = (fd >= 0 && flock(fd, LOCK_EX | LOCK_NB) == 0) ? 1 : 0;
        (void)!write(ready[1], &ok, 1);
        pause();
        _exit(0);
    }
    char ok = 0;
    ASSERT_EQ(read(ready[0], &ok, 1), 1);
    ASSERT_EQ(ok, 1);

    const int before = OpenDescriptors();
    EXPECT_EQ(RSC_OpenPort(kIndex, 9600, 0), 0);
    EXPECT_EQ(OpenDescriptors(), before);

    kill(holder, SIGKILL);
    waitpid(holder, nullptr, 0);
    close(ready[0]);
    close(ready[1]);
    EXPECT_EQ(RSC_OpenPort(kIndex, 9600, 0), 1) << "free once the holder is gone";

    // And while this process holds it, another open of the same device (another index) fails.
    PointComAt(2, camera.Path());
    EXPECT_EQ(RSC_OpenPort(1, 9600, 0), 0);
}

TEST_F(RsPortTest, PermissionDeniedFailsCleanly) {
    ASSERT_EQ(chmod(camera.Path().c_str(), 0600), 0);
    if (getuid() != 0) {
        ASSERT_EQ(chmod(camera.Path().c_str(), 0), 0);
        const int before = OpenDescriptors();
        EXPECT_EQ(RSC_OpenPort(kIndex, 9600, 0), 0);
        EXPECT_EQ(OpenDescriptors(), before);
        return;
    }
    // Root may open anything: try as an ordinary user in a child process.
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (setgid(65534) != 0 || setuid(65534) != 0) _exit(3);
        const int before = OpenDescriptors();
        const int32_t opened = RSC_OpenPort(kIndex, 9600, 0);
        _exit(opened != 0 ? 1 : (OpenDescriptors() != before ? 2 : 0));
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "1: opened anyway, 2: descriptor left, 3: no setuid";
}

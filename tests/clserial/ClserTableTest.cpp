// Which clser libraries clser.ini brings in, and which Camera Link ports they serve.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "OwnProcess.h"
#include "clport.h"

using namespace velterra::test;

namespace {

std::string Ports(int32_t count) {
    std::vector<int32_t> indices;
    for (int32_t i = 0; i < count; ++i) indices.push_back(i);
    return OpenEach(indices);
}

}  // namespace

TEST(ClserTable, PortIndexPicksEntryIndexOverTwoAndSerialIndexModuloTwo) {
    const ChildResult run = RunInOwnProcess("[DLL]\n0=clsertestnobaud.dll\n1=clsertestfull.dll\n",
                                            [](const std::filesystem::path&) {
                                                return OpenEach({3, 0, 2, 4, -1, 3});
                                            });
    ASSERT_EQ(run.failure, "");
    EXPECT_EQ(run.output, "3:1 0:1 2:1 4:0 -1:0 3:0")
        << "entry 2 does not exist, negative indices are no ports, an index opens once";
    EXPECT_EQ(run.calls,
              "full init 1\nfull baud 1 1\n"
              "nobaud init 0\n"
              "full init 0\nfull baud 0 1\n"
              // the exit closes the ports still open
              "full close 1\nnobaud close 0\nfull close 0\n");
}

TEST(ClserTable, KeysEndAtTheFirstMissingOrForeignName) {
    struct Case {
        const char* ini;
        const char* ports;
    };
    const Case cases[] = {
        {"[DLL]\n0=clsertestfull.dll\n2=clsertestnobaud.dll\n", "0:1 1:1 2:0 3:0 4:0 5:0"},
        {"[dll]\n0 = CLSERTESTFULL.SO\n", "0:0 1:0 2:0 3:0 4:0 5:0"},  // accepted, loads nothing
        {"[DLL]\n0=clser.dll\n1=clsertestfull.dll\n", "0:0 1:0 2:0 3:0 4:0 5:0"},
        {"[DLL]\n0=clsertestfull.txt\n", "0:0 1:0 2:0 3:0 4:0 5:0"},
        {"[DLL]\n0=xclsertest.dll\n", "0:0 1:0 2:0 3:0 4:0 5:0"},
        {"[DLL]\n0=\"clsertestfull.so\"\n1=clsertestnobaud.DLL\n", "0:1 1:1 2:1 3:1 4:0 5:0"},
    };
    for (const Case& c : cases) {
        const ChildResult run =
            RunInOwnProcess(c.ini, [](const std::filesystem::path&) { return Ports(6); });
        ASSERT_EQ(run.failure, "") << c.ini;
        EXPECT_EQ(run.output, c.ports) << c.ini;
    }
}

TEST(ClserTable, LibraryListedTwiceServesOnlyItsFirstEntry) {
    const ChildResult run =
        RunInOwnProcess("[DLL]\n0=clsertestfull.dll\n1=clsertestfull.so\n2=clsertestnobaud.dll\n",
                        [](const std::filesystem::path&) { return Ports(6); });
    ASSERT_EQ(run.failure, "");
    EXPECT_EQ(run.output, "0:1 1:1 2:0 3:0 4:1 5:1");
}

TEST(ClserTable, UnusableEntriesFailTheirPortsWhileLaterEntriesWork) {
    const ChildResult run =
        RunInOwnProcess("[DLL]\n0=clsertestbroken.dll\n1=clsermissing.dll\n2=clsertestfull.dll\n",
                        [](const std::filesystem::path&) { return Ports(6); });
    ASSERT_EQ(run.failure, "");
    EXPECT_EQ(run.output, "0:0 1:0 2:0 3:0 4:1 5:1")
        << "no clSerialRead in entry 0, nothing to load for entry 1";
    EXPECT_EQ(run.calls.find("broken"), std::string::npos) << "a broken library is never called";
}

TEST(ClserTable, NameAsWrittenInTheCurrentDirectoryComesFirst) {
    const ChildResult run =
        RunInOwnProcess("[DLL]\n0=clsercopy.dll\n", [](const std::filesystem::path& dir) {
            std::filesystem::copy_file(std::string(VELTERRA_LIB_DIR) + "/libclsertestnobaud.so",
                                       dir / "clsercopy.dll");
            return Ports(2);
        });
    ASSERT_EQ(run.failure, "");
    EXPECT_EQ(run.output, "0:1 1:1");
    EXPECT_EQ(run.calls, "nobaud init 0\nnobaud init 1\nnobaud close 0\nnobaud close 1\n");
}

TEST(ClserTable, FileIsReadAgainUntilAKeyIsAcceptedThenKept) {
    const ChildResult run = RunInOwnProcess("[DLL]\n", [](const std::filesystem::path& dir) {
        std::string out = OpenEach({0});
        std::ofstream(dir / "clser.ini") << "[DLL]\n0=clsertestfull.dll\n";
        out += " " + OpenEach({0});
        std::ofstream(dir / "clser.ini") << "[DLL]\n0=clsertestnobaud.dll\n1=clsertestfull.dll\n";
        out += " " + OpenEach({1, 2});
        std::filesystem::remove(dir / "clser.ini");
        CLS_ClosePort(0);
        out += " " + OpenEach({0});
        return out;
    });
    ASSERT_EQ(run.failure, "");
    EXPECT_EQ(run.output, "0:0 0:1 1:1 2:0 0:1");
    EXPECT_EQ(run.calls.find("nobaud"), std::string::npos);
}

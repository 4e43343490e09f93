// The command line of velterra-camsim.
#include <gtest/gtest.h>

#include "CamsimArguments.h"

namespace velterra::sim {
namespace {

TEST(CamsimArguments, EveryOptionInBothForms) {
    CamsimArguments parsed;
    std::string error;
    ASSERT_TRUE(ParseCamsimArguments({"--dir",
                                      "cfg",
                                      "--model=LS-2048C",
                                      "--kernel",
                                      "1",
                                      "--link",
                                      "/tmp/cam",
                                      "--log=f.log",
                                      "--values",
                                      "v.ini",
                                      "--seed",
                                      "99",
                                      "--busy-ms",
                                      "250",
                                      "--nak-rate",
                                      "0.25",
                                      "--drop-rate=1",
                                      "--garbage-rate",
                                      "0",
                                      "--delay-ms",
                                      "40",
                                      "--unplug-after",
                                      "12"},
                                     parsed, &error))
        << error;
    const SimulatorOptions& o = parsed.options;
    EXPECT_EQ(o.configDir, "cfg");
    EXPECT_EQ(o.model, "LS-2048C");
    EXPECT_EQ(o.kernel, 1);
    EXPECT_EQ(parsed.link, "/tmp/cam");
    EXPECT_EQ(o.logFile, "f.log");
    EXPECT_EQ(o.valuesFile, "v.ini");
    EXPECT_EQ(o.seed, 99u);
    EXPECT_EQ(o.busyMs, 250);
    EXPECT_DOUBLE_EQ(o.nakRate, 0.25);
    EXPECT_DOUBLE_EQ(o.dropRate, 1.0);
    EXPECT_DOUBLE_EQ(o.garbageRate, 0.0);
    EXPECT_EQ(o.delayMs, 40);
    EXPECT_EQ(o.unplugAfter, 12);
    EXPECT_FALSE(parsed.help);
}

TEST(CamsimArguments, RefusesWhatItCannotUse) {
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{"--model", "M", "--seed", "-1"}, "--seed needs a whole number"},
        {{"--model", "M", "--delay-ms", "12ms"}, "--delay-ms needs milliseconds"},
        {{"--model", "M", "--drop-rate", "nan"}, "--drop-rate needs a rate"},
        {{"--model", "M", "--link"}, "--link needs a value"},
        {{"--model", "M", "--frobnicate", "1"}, "Unknown option --frobnicate"},
        {{"--model", ""}, "--model needs a model name"},
    };
    for (const auto& [args, message] : cases) {
        CamsimArguments parsed;
        std::string error;
        EXPECT_FALSE(ParseCamsimArguments(args, parsed, &error)) << message;
        EXPECT_NE(error.find(message), std::string::npos) << error;
    }
    CamsimArguments parsed;
    EXPECT_TRUE(ParseCamsimArguments({"--help"}, parsed, nullptr));
    EXPECT_TRUE(parsed.help);
}

}  // namespace
}  // namespace velterra::sim

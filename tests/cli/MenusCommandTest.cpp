#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <string>

#include "CliRun.h"

namespace {

using nlohmann::json;

const std::string kMenuFixtures = VELTERRA_FIXTURES_DIR "/menudb/";

TEST(MenusCommandTest, JsonListsEveryKindOfEntryAndExitsOneOnErrors) {
    const CliResult run = RunCli("menus --db '" + kMenuFixtures + "menu_rules.mdb' --json");
    ASSERT_EQ(run.status, 1) << run.err;
    const json doc = json::parse(run.out);
    EXPECT_EQ(doc.at("database"), kMenuFixtures + "menu_rules.mdb");
    const json& basic = doc.at("menus").at("BasicCommands");
    // An empty MenuItemID is listed without an id, never as 0.
    EXPECT_EQ(basic.at(0), json::parse(R"({"caption": "No &Id", "action": "command",
                                           "command": "SaveUserSet", "refreshAll": true})"));
    EXPECT_EQ(basic.at(1), json::parse(R"({"caption": "&Refresh Flag Ignored", "id": 37040,
                                           "action": "function",
                                           "function": "FUNC_REFRESH_ALL", "code": 1})"));
    EXPECT_EQ(doc.at("menus").at("AdvancedCommands"), json::parse(R"([{"separator": true}])"));
    EXPECT_EQ(doc.at("menus").at("PasswordCommands").at(0).at("submenu").at(1),
              json::parse(R"({"caption": "&Inner", "submenu": []})"));
    EXPECT_EQ(doc.at("errors").size(), 2u);

    const json edge =
        json::parse(RunCli("menus --db '" + kMenuFixtures + "edge_menus.mdb' --json").out);
    EXPECT_EQ(edge.at("menus").at("AdvancedCommands"), json::array());
    EXPECT_EQ(edge.at("menus").at("BasicCommands").at(7).at("action"), "none");
}

TEST(MenusCommandTest, ExitStatusTellsLoadedFromFailedFromUnopenable) {
    const std::string config = VELTERRA_CONFIG_DIR;
    struct Case {
        std::string arguments;
        int status;
    };
    const Case cases[] = {
        {"--dir '" + config + "' menus --model LS-4096M12", 0},
        {"--dir '" + config + "' menus", 0},  // default_menu.mdb of the start-up directory
        {"menus --db '" + kMenuFixtures + "edge_missing.mdb'", 1},
        {"menus --db '" + kMenuFixtures + "no_such.mdb' --json", 2},
        {"menus --db '" + kMenuFixtures + "default_menu.json'", 2},
        {"--dir '" + config + "' menus --model NoSuchModel", 2},
        {"menus --db a.mdb --model LS-4096M12", 64},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments);
        const CliResult run = RunCli(c.arguments);
        EXPECT_EQ(run.status, c.status) << run.err;
        if (c.status == 2) {
            EXPECT_NE(run.err, "");
        }
    }
}

}  // namespace

#include <gtest/gtest.h>

#include "ui/MenuCommandRules.h"

using namespace velterra;

namespace {

CommandMenus Maps() {
    CommandMenus menus;
    for (int code = 1; code <= 10; ++code) menus.m_mapFunctionCode[37000 + code] = code;
    menus.m_mapFunctionCode[37011] = 11;  // a code no keyword gives
    menus.m_mapCommandString[37020] = "SaveUserSet";
    menus.m_mapCommandString[37021] = "LoadFactorySet";
    menus.m_mapRefreshAll[37021] = 1;
    // A function code wins over a command name under the same id.
    menus.m_mapFunctionCode[37030] = 1;
    menus.m_mapCommandString[37030] = "Shadowed";
    menus.m_mapCommandString[36999] = "BelowRange";
    return menus;
}

struct EnableCase {
    uint32_t id;
    bool withSlot;     // port open, not busy, PortIndex 0
    bool withoutSlot;  // port open, not busy, PortIndex -1
    bool switchedOn;   // the same without a slot, LUT functions switched on
};

TEST(MenuCommandEnableTest, FollowsTheFunctionAndThePort) {
    const CommandMenus menus = Maps();
    const EnableCase cases[] = {
        {37001, true, false, false},  {37002, true, false, false},  {37003, true, true, true},
        {37004, true, true, true},    {37005, true, true, true},    {37006, false, false, false},
        {37007, false, false, false}, {37008, false, false, true},  {37009, true, false, false},
        {37010, true, false, false},  {37011, true, false, false},  {37020, true, false, false},
        {37021, true, false, false},  {37099, true, false, false},  // an id without an action
        {36999, false, false, false}, {37201, false, false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.id);
        EXPECT_EQ(IsMenuCommandEnabled(menus, c.id, {true, false, 0}), c.withSlot);
        EXPECT_EQ(IsMenuCommandEnabled(menus, c.id, {true, false, -1}), c.withoutSlot);
        EXPECT_EQ(IsMenuCommandEnabled(menus, c.id, {true, false, -1, true}), c.switchedOn);
        // Switched on, the LUT transfers with a slot are enabled like the other entries.
        EXPECT_EQ(IsMenuCommandEnabled(menus, c.id, {true, false, 0, true}),
                  c.withSlot || (c.id >= 37006 && c.id <= 37008));
        // Busy or no port: nothing is enabled.
        for (bool lut : {false, true}) {
            EXPECT_FALSE(IsMenuCommandEnabled(menus, c.id, {true, true, 0, lut}));
            EXPECT_FALSE(IsMenuCommandEnabled(menus, c.id, {false, false, 0, lut}));
        }
    }
}

TEST(MenuCommandDispatchTest, FunctionFirstThenCommandWithItsRefreshFlag) {
    const CommandMenus menus = Maps();
    EXPECT_EQ(ResolveMenuCommand(menus, 37030).kind, MenuDispatch::Kind::Function);
    EXPECT_EQ(ResolveMenuCommand(menus, 37011).functionCode, 11);

    const MenuDispatch refresh = ResolveMenuCommand(menus, 37021);
    EXPECT_EQ(refresh.kind, MenuDispatch::Kind::Command);
    EXPECT_EQ(refresh.command, "LoadFactorySet");
    EXPECT_EQ(refresh.refreshFlag, 1);
    EXPECT_EQ(ResolveMenuCommand(menus, 37020).refreshFlag, 0);

    EXPECT_EQ(ResolveMenuCommand(menus, 37099).kind, MenuDispatch::Kind::Nothing);
    EXPECT_EQ(ResolveMenuCommand(menus, 36999).kind, MenuDispatch::Kind::Nothing);
}

}  // namespace

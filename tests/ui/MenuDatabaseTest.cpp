#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ui/CommandMenus.h"
#include "ui/MenuDatabase.h"

using namespace velterra;

namespace {

std::string Fixture(const std::string& name) {
    return std::string(VELTERRA_FIXTURES_DIR) + "/menudb/" + name;
}

// A pop-up in one line: "---" a separator, "Caption{...}" a sub-menu, "Caption#id=..." a
// command entry (f<code>, c<name> with "+r" for refresh all, "none"); "#-" for no id.
std::string Outline(const MenuItems& items) {
    std::string out;
    for (const auto& entry : items) {
        if (!out.empty()) out += ", ";
        switch (entry.kind) {
            case MenuEntry::Kind::Separator:
                out += "---";
                break;
            case MenuEntry::Kind::SubMenu:
                out += entry.caption + "{" + Outline(entry.submenu) + "}";
                break;
            case MenuEntry::Kind::Command:
                out += entry.caption + "#" + (entry.id ? std::to_string(*entry.id) : "-") + "=";
                if (entry.action == MenuEntry::Action::Function) {
                    out += "f" + std::to_string(entry.functionCode);
                } else if (entry.action == MenuEntry::Action::Command) {
                    out += "c" + entry.property + (entry.refreshAll ? "+r" : "");
                } else {
                    out += "none";
                }
                break;
        }
    }
    return out;
}

struct LoadCase {
    const char* file;
    const char* basic;
    const char* advanced;
    const char* password;
    // A piece of each warning text, in order.
    std::vector<std::string> errors;
};

class MenuLoadTest : public testing::TestWithParam<LoadCase> {};

TEST_P(MenuLoadTest, BuildsEachPopupAndReportsEachFailure) {
    const LoadCase& c = GetParam();
    const CommandMenus menus = LoadCommandMenus(Fixture(c.file));
    EXPECT_EQ(Outline(menus.Popup(CommandPopup::Basic)), c.basic);
    EXPECT_EQ(Outline(menus.Popup(CommandPopup::Advanced)), c.advanced);
    EXPECT_EQ(Outline(menus.Popup(CommandPopup::Password)), c.password);
    ASSERT_EQ(menus.errors.size(), c.errors.size()) << testing::PrintToString(menus.errors);
    for (std::size_t i = 0; i < c.errors.size(); ++i) {
        EXPECT_NE(menus.errors[i].find(c.errors[i]), std::string::npos) << menus.errors[i];
    }
}

INSTANTIATE_TEST_SUITE_P(
    Fixtures, MenuLoadTest,
    testing::Values(
        LoadCase{
            "default_menu.mdb",
            "&Refresh All Parameters#37000=f1, ---, &Save User Set#37001=cSaveUserSet, "
            "&Load Factory Set#37002=cLoadFactorySet+r",
            "&Flat-Field Correction...#37010=f2, &Bad Pixels{&Read to BadPixels.txt#37011=f10, "
            "&Write from BadPixels.txt#37012=f9}, &LUT{LUT &Editor...#37013=f8, Write LUT "
            "from &Workbook...#37014=f6, Read LUT to W&orkbook...#37015=f7}",
            "Write &FPN/PRNU Tables#37020=f3, Read FPN/PRNU &Tables#37021=f4, Set &One "
            "Pixel...#37022=f5, ---, Read &Image Table#37023=cImageRead",
            {}},
        // First row a separator, duplicate ids, keywords matched with their case, an empty
        // table and an empty sub-menu table.
        LoadCase{"edge_menus.mdb",
                 "---, &Refresh All Parameters#37000=f1, &Save User Set#37001=cSaveUserSet, "
                 "Duplicate Id &A#37005=f2, Duplicate Id &B#37005=f8, Id &Below Range#36999=f10, "
                 "Id A&bove Range#37201=f9, &Wrong Case Keyword#37006=none, &Unknown "
                 "Keyword#37007=none, &Température#37008=f5",
                 "",
                 "&Empty Sub-Menu{}, Set &One Pixel...#37022=f5",
                 {}},
        // The failing sub-menu is attached and ends its table; the other pop-ups still load.
        LoadCase{"edge_missing.mdb",
                 "&Refresh All Parameters#37000=f1",
                 "&Flat-Field Correction...#37010=f2, &Missing Sub-Menu{}",
                 "",
                 {"has no table \"NoSuchTable\"", "has no table \"PasswordCommands\""}},
        LoadCase{"edge_badcolumns.mdb",
                 "&Refresh All Parameters#37000=f1, ---, &Save User Set#37001=cSaveUserSet, "
                 "&Load Factory Set#37002=cLoadFactorySet+r",
                 "&Broken Sub-Menu{}",
                 "Set &One Pixel...#37022=f5",
                 {"\"BrokenSub\" of the menu database has no column \"Caption\""}},
        LoadCase{"edge_recursive.mdb",
                 "&Refresh All Parameters#37000=f1, &Loop{Loop &Command#37030=f2, Loop &Again{}}",
                 "Go to &A{A &Command#37031=f8, Go to &B{B &Command#37032=f10, Back to &A{}}}",
                 "Set &One Pixel...#37022=f5",
                 {"(Loop -> Loop)", "(A -> B -> A)"}},
        // An empty id stays empty; a failure two sub-menus down stops every enclosing table;
        // a Text id column is refused; sub-menu tables are found in any case.
        LoadCase{"menu_rules.mdb",
                 "No &Id#-=cSaveUserSet+r, &Refresh Flag Ignored#37040=f1, &Load Factory "
                 "Set#37041=cLoadFactorySet+r, &Zero Id#0=cZeroCommand",
                 "---",
                 "&Outer{Outer &Command#37061=cOuterCommand, &Inner{}}",
                 {"\"MenuItemID\" of table \"AdvancedCommands\" is of type Text, not Long Integer",
                  "\"InnerTable\" of the menu database has no column \"PropertyString\""}},
        // libmdb crashes on this file's AdvancedCommands: the load says so, the others load.
        LoadCase{"damaged_menu.mdb",
                 "&Refresh All Parameters#37000=f1, ---, &Save User Set#37001=cSaveUserSet, "
                 "&Load Factory Set#37002=cLoadFactorySet+r",
                 "",
                 "Write &FPN/PRNU Tables#37020=f3, Read FPN/PRNU &Tables#37021=f4, Set &One "
                 "Pixel...#37022=f5, ---, Read &Image Table#37023=cImageRead",
                 {"it may be damaged"}},
        LoadCase{"no_such_file.mdb", "", "", "", {"No such file", "No such file", "No such file"}},
        LoadCase{"default_menu.json",
                 "",
                 "",
                 "",
                 {"not an Access database", "not an Access database", "not an Access database"}}),
    [](const testing::TestParamInfo<LoadCase>& info) {
        std::string name = info.param.file;
        for (char& c : name) {
            if (c == '.') c = '_';
        }
        return name;
    });

TEST(MenuMapsTest, HoldTheLaterRowAndOnlyRowsThatAct) {
    const CommandMenus edge = LoadCommandMenus(Fixture("edge_menus.mdb"));
    EXPECT_EQ(edge.m_mapFunctionCode.at(37005), 8);
    EXPECT_EQ(edge.m_mapFunctionCode.count(37006), 0u);  // wrong case
    EXPECT_EQ(edge.m_mapFunctionCode.count(37007), 0u);  // unknown keyword

    const CommandMenus rules = LoadCommandMenus(Fixture("menu_rules.mdb"));
    // Refresh only for command rows; the row without an id is in no map.
    EXPECT_EQ(rules.m_mapRefreshAll, (std::map<uint32_t, uint8_t>{{37041, 1}}));
    EXPECT_EQ(rules.m_mapCommandString,
              (std::map<uint32_t, std::string>{
                  {0, "ZeroCommand"}, {37041, "LoadFactorySet"}, {37061, "OuterCommand"}}));
    EXPECT_EQ(rules.m_mapFunctionCode, (std::map<uint32_t, int>{{37040, 1}}));
}

TEST(MenuMapsTest, ResetEmptiesPopupsMapsAndErrors) {
    CommandMenus menus = LoadCommandMenus(Fixture("edge_missing.mdb"));
    menus.Reset();
    for (CommandPopup popup : kCommandPopups) EXPECT_TRUE(menus.Popup(popup).empty());
    EXPECT_TRUE(menus.m_mapFunctionCode.empty());
    EXPECT_TRUE(menus.errors.empty());
    // A later load appends as on a fresh frame.
    EXPECT_TRUE(LoadCommandPopup(menus, CommandPopup::Basic, Fixture("edge_missing.mdb")));
    EXPECT_EQ(Outline(menus.Popup(CommandPopup::Basic)), "&Refresh All Parameters#37000=f1");
}

TEST(MenuDatabaseOpenTest, TellsAFileThatOpensFromOneThatDoesNot) {
    EXPECT_EQ(MenuDatabaseOpenProblem(Fixture("edge_missing.mdb")), "");
    EXPECT_NE(MenuDatabaseOpenProblem(Fixture("nothing.mdb")), "");
    EXPECT_NE(MenuDatabaseOpenProblem(VELTERRA_FIXTURES_DIR).find("not a regular file"),
              std::string::npos);
}

}  // namespace

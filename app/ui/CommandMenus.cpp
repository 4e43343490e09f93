#include "CommandMenus.h"

#include "MenuDatabase.h"
#include "MenuTableLoader.h"
#include "MenuTexts.h"

namespace velterra {

void CommandMenus::Reset() {
    for (auto& popup : popups) popup.clear();
    m_mapFunctionCode.clear();
    m_mapCommandString.clear();
    m_mapRefreshAll.clear();
    errors.clear();
}

const char* CommandTableName(CommandPopup popup) {
    switch (popup) {
        case CommandPopup::Basic:
            return MenuText::kBasicCommandsTable;
        case CommandPopup::Advanced:
            return MenuText::kAdvancedCommandsTable;
        case CommandPopup::Password:
            return MenuText::kPasswordCommandsTable;
    }
    return MenuText::kBasicCommandsTable;
}

std::string MenuDatabasePath(const std::string& startupDirectory, const std::string& fileName) {
    std::string path = startupDirectory;
    if (!path.empty() && path.back() != '/') path += '/';
    return path + fileName;
}

bool LoadCommandPopup(CommandMenus& menus, CommandPopup popup, const std::string& databasePath) {
    const std::string table = CommandTableName(popup);
    // Each load opens the database by itself, so one that fails leaves the others theirs.
    const MenuDatabaseRead read = ReadMenuDatabase(databasePath, table);
    if (!read.opened) {
        menus.errors.push_back(read.error);
        return false;
    }
    std::string error;
    if (!LoadMenuTable(read.tables, table, databasePath, menus.Popup(popup), menus, error)) {
        menus.errors.push_back(error);
        return false;
    }
    return true;
}

CommandMenus LoadCommandMenus(const std::string& databasePath) {
    CommandMenus menus;
    for (CommandPopup popup : kCommandPopups) LoadCommandPopup(menus, popup, databasePath);
    return menus;
}

}  // namespace velterra

// Feeds arbitrary bytes to the menu database reader twice: as a database file, which the
// reader process must turn into menus or a warning without taking this process with it, and
// as the table stream that process sends back, whose tables then go through the menu rules.
// No input may crash or hang, a failed load must say why, and every map value must belong to
// an entry of the tree.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <set>
#include <string_view>

#include "ui/CommandMenus.h"
#include "ui/MenuDatabase.h"
#include "ui/MenuTableLoader.h"
#include "ui/MenuTableStream.h"

using namespace velterra;

namespace {

void CollectIds(const MenuItems& items, std::set<uint32_t>& ids, std::size_t& count) {
    for (const auto& entry : items) {
        ++count;
        if (entry.id) ids.insert(*entry.id);
        CollectIds(entry.submenu, ids, count);
    }
}

template <typename Map>
void CheckKeys(const Map& map, const std::set<uint32_t>& ids) {
    for (const auto& [id, value] : map) {
        if (ids.count(id) == 0) std::abort();
    }
}

void RunRules(std::string_view bytes) {
    MenuReadStatus status = MenuReadStatus::Read;
    MenuTableSet tables;
    if (!DecodeMenuTables(bytes, status, tables)) return;
    // What decodes must encode to a stream that decodes to the same tables.
    const std::string encoded = EncodeMenuTables(status, tables);
    MenuTableSet again;
    if (!DecodeMenuTables(encoded, status, again) || EncodeMenuTables(status, again) != encoded) {
        std::abort();
    }
    CommandMenus menus;
    for (CommandPopup popup : kCommandPopups) {
        std::string error;
        const bool ok = LoadMenuTable(tables, CommandTableName(popup), "fuzz.mdb",
                                      menus.Popup(popup), menus, error);
        if (ok != error.empty()) std::abort();
    }
    std::set<uint32_t> ids;
    std::size_t count = 0;
    for (const auto& popup : menus.popups) CollectIds(popup, ids, count);
    if (count > kCommandPopups.size() * kMenuEntryLimit) std::abort();
    CheckKeys(menus.m_mapFunctionCode, ids);
    CheckKeys(menus.m_mapCommandString, ids);
    CheckKeys(menus.m_mapRefreshAll, ids);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    RunRules(bytes);
    const MenuDatabaseRead read = ReadMenuDatabaseImage(bytes, "fuzz.mdb", "BasicCommands");
    if (!read.opened && read.error.empty()) std::abort();
    return 0;
}

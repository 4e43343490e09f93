#include "MenuTableLoader.h"

#include <charconv>
#include <optional>
#include <vector>

#include "MenuKeywords.h"
#include "MenuTexts.h"

namespace velterra {

namespace {

constexpr const char* kColumnNames[kMenuColumnCount] = {
    MenuText::kIsSeparator,      MenuText::kCaption,      MenuText::kIsPopMenu,
    MenuText::kPopMenuTableName, MenuText::kMenuItemID,   MenuText::kProperty,
    MenuText::kPropertyString,   MenuText::kIsRefreshAll,
};

std::optional<int64_t> ParseInteger(const std::string& text) {
    int64_t value = 0;
    const char* end = text.data() + text.size();
    const auto [last, failure] = std::from_chars(text.data(), end, value);
    if (failure != std::errc() || last != end) return std::nullopt;
    return value;
}

bool IsIntegerType(int type) {
    return type == MenuColumnType::kByte || type == MenuColumnType::kInteger ||
           type == MenuColumnType::kLongInteger;
}

class RecordLoader {
  public:
    RecordLoader(const MenuTableSet& tables, const std::string& root, const std::string& database,
                 CommandMenus& menus)
        : tables_(tables), root_(root), database_(database), menus_(menus) {}

    bool LoadTable(const std::string& name, MenuItems& target) {
        const MenuTable* table = tables_.Find(name);
        if (table == nullptr) {
            error_ = MenuText::TableMissing(database_, name);
            return false;
        }
        path_.push_back(name);
        bool ok = true;
        for (const auto& row : table->rows) {
            if (!AddMenuRecord(*table, row, target)) {
                ok = false;
                break;
            }
        }
        path_.pop_back();
        return ok;
    }

    const std::string& Error() const { return error_; }

  private:
    using Row = std::array<MenuField, kMenuColumnCount>;

    bool AddMenuRecord(const MenuTable& table, const Row& row, MenuItems& target) {
        if (++entries_ > kMenuEntryLimit) {
            error_ = MenuText::TooManyEntries(root_, kMenuEntryLimit);
            return false;
        }
        bool separator = false;
        if (!ReadYesNo(table, row, MenuColumn::IsSeparator, separator)) return false;
        if (separator) {
            target.emplace_back().kind = MenuEntry::Kind::Separator;
            return true;
        }
        MenuEntry entry;
        bool subMenu = false;
        if (!ReadText(table, row, MenuColumn::Caption, entry.caption) ||
            !ReadYesNo(table, row, MenuColumn::IsPopMenu, subMenu)) {
            return false;
        }
        if (subMenu) return AddSubMenu(table, row, std::move(entry), target);
        return AddCommand(table, row, std::move(entry), target);
    }

    bool AddSubMenu(const MenuTable& table, const Row& row, MenuEntry entry, MenuItems& target) {
        std::string name;
        if (!ReadText(table, row, MenuColumn::PopMenuTableName, name)) return false;
        entry.kind = MenuEntry::Kind::SubMenu;
        bool ok = false;
        if (const std::string loop = LoopThrough(name); !loop.empty()) {
            error_ = MenuText::SubMenuLoop(name, loop);
        } else {
            ok = LoadTable(name, entry.submenu);
        }
        // What the walk got is attached either way, so the user sees where it stopped.
        target.push_back(std::move(entry));
        return ok;
    }

    bool AddCommand(const MenuTable& table, const Row& row, MenuEntry entry, MenuItems& target) {
        std::optional<uint32_t> id;
        bool property = false;
        if (!ReadId(table, row, id) || !ReadYesNo(table, row, MenuColumn::Property, property) ||
            !ReadText(table, row, MenuColumn::PropertyString, entry.property)) {
            return false;
        }
        entry.id = id;
        if (property && !ReadYesNo(table, row, MenuColumn::IsRefreshAll, entry.refreshAll)) {
            return false;
        }
        // Every column is read before anything is stored, so a row that fails leaves no map
        // value behind for an entry that is not there. Without an id the entry is listed but
        // nothing can dispatch to it: an empty id never becomes id 0.
        if (property) {
            entry.action = MenuEntry::Action::Command;
            if (id) menus_.m_mapCommandString[*id] = entry.property;
            if (id && entry.refreshAll) menus_.m_mapRefreshAll[*id] = 1;
        } else if (const std::optional<int> code = LookupFunctionName(entry.property)) {
            entry.action = MenuEntry::Action::Function;
            entry.functionCode = *code;
            if (id) menus_.m_mapFunctionCode[*id] = *code;
        }
        target.push_back(std::move(entry));
        return true;
    }

    // "A -> B -> A" when `name` is already open on the way down, else empty.
    std::string LoopThrough(const std::string& name) const {
        for (std::size_t i = 0; i < path_.size(); ++i) {
            if (!SameTableName(path_[i], name)) continue;
            std::string loop;
            for (std::size_t j = i; j < path_.size(); ++j) loop += path_[j] + " -> ";
            return loop + name;
        }
        return {};
    }

    // The field of a column the table has with one of the wanted types; else the error.
    const MenuField* Field(const MenuTable& table, const Row& row, MenuColumn column,
                           bool (*accepts)(int), const char* wanted) {
        const int type = table.Type(column);
        const char* name = kColumnNames[static_cast<std::size_t>(column)];
        if (type == MenuColumnType::kMissing) {
            error_ = MenuText::ColumnMissing(table.name, name);
            return nullptr;
        }
        if (!accepts(type)) {
            error_ = MenuText::ColumnType(table.name, name, MenuColumnTypeName(type), wanted);
            return nullptr;
        }
        return &row[static_cast<std::size_t>(column)];
    }

    // Yes/No: true when not zero. Number columns serve as well (Access writes True as -1).
    bool ReadYesNo(const MenuTable& table, const Row& row, MenuColumn column, bool& value) {
        const MenuField* field = Field(
            table, row, column,
            [](int type) { return type == MenuColumnType::kYesNo || IsIntegerType(type); },
            "Yes/No");
        if (field == nullptr) return false;
        const std::optional<int64_t> number = ParseInteger(field->text);
        value = !field->null && number.value_or(0) != 0;
        return true;
    }

    bool ReadText(const MenuTable& table, const Row& row, MenuColumn column, std::string& text) {
        const MenuField* field = Field(
            table, row, column,
            [](int type) { return type == MenuColumnType::kText || type == MenuColumnType::kMemo; },
            "Text");
        if (field == nullptr) return false;
        text = field->null ? std::string() : field->text;
        return true;
    }

    // A Long Integer; none when the row leaves it empty.
    bool ReadId(const MenuTable& table, const Row& row, std::optional<uint32_t>& id) {
        const MenuField* field =
            Field(table, row, MenuColumn::MenuItemID, &IsIntegerType, "Long Integer");
        if (field == nullptr) return false;
        id.reset();
        if (field->null) return true;
        const std::optional<int64_t> number = ParseInteger(field->text);
        if (number) id = static_cast<uint32_t>(*number);
        return true;
    }

    const MenuTableSet& tables_;
    const std::string& root_;
    const std::string& database_;
    CommandMenus& menus_;
    std::vector<std::string> path_;
    std::size_t entries_ = 0;
    std::string error_;
};

}  // namespace

bool LoadMenuTable(const MenuTableSet& tables, const std::string& table,
                   const std::string& database, MenuItems& target, CommandMenus& menus,
                   std::string& error) {
    RecordLoader loader(tables, table, database, menus);
    const bool ok = loader.LoadTable(table, target);
    if (!ok) error = loader.Error();
    return ok;
}

}  // namespace velterra

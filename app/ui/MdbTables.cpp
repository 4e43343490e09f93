#include "MdbTables.h"

// glib first: mdbtools.h includes it inside its extern "C" block, where C++ templates fail.
#include <glib.h>
#include <mdbtools.h>

#include <cstring>
#include <deque>
#include <memory>
#include <vector>

#include "MenuTexts.h"

namespace velterra {

namespace {

// Column names in the order of MenuColumn.
constexpr const char* kColumnNames[kMenuColumnCount] = {
    MenuText::kIsSeparator,      MenuText::kCaption,      MenuText::kIsPopMenu,
    MenuText::kPopMenuTableName, MenuText::kMenuItemID,   MenuText::kProperty,
    MenuText::kPropertyString,   MenuText::kIsRefreshAll,
};

struct HandleCloser {
    void operator()(MdbHandle* handle) const { mdb_close(handle); }
};
struct TableFree {
    void operator()(MdbTableDef* table) const { mdb_free_tabledef(table); }
};

// Whether a row may open a sub-menu; the menu rules decide what it is.
bool MayBeTrue(const MenuField& field) {
    return !field.null && field.text.find_first_of("123456789") != std::string::npos;
}

class TableWalk {
  public:
    TableWalk(MdbHandle* handle, MenuTableSet& tables) : handle_(handle), tables_(tables) {}

    MenuReadStatus Run(const std::string& root) {
        pending_.push_back(root);
        while (!pending_.empty()) {
            const std::string name = pending_.front();
            pending_.pop_front();
            if (tables_.Find(name) != nullptr || IsAbsent(name)) continue;
            if (tables_.tables.size() >= kMenuTableLimit) return MenuReadStatus::TooManyTables;
            if (!ReadTable(name)) return MenuReadStatus::TooLarge;
        }
        return MenuReadStatus::Read;
    }

  private:
    bool IsAbsent(const std::string& name) const {
        for (const auto& absent : absent_) {
            if (SameTableName(absent, name)) return true;
        }
        return false;
    }

    // Reads the whole table and frees it before the next lookup: a lookup re-reads the
    // catalog, and every table of a handle shares its page buffer.
    bool ReadTable(const std::string& name) {
        std::vector<gchar> lookup(name.begin(), name.end());
        lookup.push_back('\0');
        std::unique_ptr<MdbTableDef, TableFree> table(
            mdb_read_table_by_name(handle_, lookup.data(), MDB_TABLE));
        if (!table) {
            absent_.push_back(name);
            return true;
        }
        if (mdb_read_columns(table.get()) == nullptr) {
            absent_.push_back(name);
            return true;
        }
        mdb_rewind_table(table.get());

        MenuTable out;
        out.name = name;
        // Bound by name: a missing column must not shift the others. Each buffer holds what
        // a fetch may write into it.
        std::vector<std::vector<char>> buffers(kMenuColumnCount);
        std::array<int, kMenuColumnCount> lengths{};
        for (std::size_t c = 0; c < kMenuColumnCount; ++c) {
            std::vector<gchar> column(kColumnNames[c],
                                      kColumnNames[c] + strlen(kColumnNames[c]) + 1);
            buffers[c].assign(MDB_BIND_SIZE, '\0');
            const int number =
                mdb_bind_column_by_name(table.get(), column.data(), buffers[c].data(), &lengths[c]);
            if (number < 1 || static_cast<unsigned>(number) > table->num_cols) continue;
            auto* info = static_cast<MdbColumn*>(g_ptr_array_index(table->columns, number - 1));
            // A type of 0 would read as a missing column.
            out.columnTypes[c] = info->col_type == 0 ? 0x100 : info->col_type;
        }

        const auto popFlag = static_cast<std::size_t>(MenuColumn::IsPopMenu);
        const auto popTable = static_cast<std::size_t>(MenuColumn::PopMenuTableName);
        while (mdb_fetch_row(table.get())) {
            if (++rows_ > kMenuRowLimit) return false;
            std::array<MenuField, kMenuColumnCount> row;
            for (std::size_t c = 0; c < kMenuColumnCount; ++c) {
                if (out.columnTypes[c] == MenuColumnType::kMissing) continue;
                int length = lengths[c];
                if (length < 0) length = 0;
                if (length > MDB_BIND_SIZE - 1) length = MDB_BIND_SIZE - 1;
                row[c].null = length == 0;
                row[c].text.assign(buffers[c].data(), static_cast<std::size_t>(length));
                text_ += row[c].text.size();
                if (text_ > kMenuTextLimit) return false;
            }
            // Sub-menu tables are read after this one, never while it is open.
            if (out.columnTypes[popFlag] != MenuColumnType::kMissing &&
                out.columnTypes[popTable] != MenuColumnType::kMissing && MayBeTrue(row[popFlag]) &&
                !row[popTable].null) {
                pending_.push_back(row[popTable].text);
            }
            out.rows.push_back(std::move(row));
        }
        tables_.tables.push_back(std::move(out));
        return true;
    }

    MdbHandle* handle_;
    MenuTableSet& tables_;
    std::deque<std::string> pending_;
    std::vector<std::string> absent_;
    std::size_t rows_ = 0;
    std::size_t text_ = 0;
};

}  // namespace

MenuReadStatus ReadMdbTables(const void* image, std::size_t size, const std::string& root,
                             MenuTableSet& tables) {
    // libmdb reads the image in place and never writes to a handle opened without flags.
    std::unique_ptr<MdbHandle, HandleCloser> handle(
        mdb_open_buffer(const_cast<void*>(image), size, MDB_NOFLAGS));
    if (!handle || mdb_read_catalog(handle.get(), MDB_TABLE) == nullptr) {
        return MenuReadStatus::NotADatabase;
    }
    mdb_set_boolean_fmt_numbers(handle.get());
    return TableWalk(handle.get(), tables).Run(root);
}

}  // namespace velterra

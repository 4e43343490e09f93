#include "ModelFile.h"

#include <algorithm>
#include <new>
#include <vector>

#include "ConfigKeys.h"
#include "ConfigParsers.h"
#include "CoreTexts.h"
#include "IniFile.h"

namespace velterra {

namespace {

// The table never holds more blocks, rows and list items together than this, far above the few
// hundred entries of real models. A file that needs more is refused as a whole rather than
// loaded with blocks left empty, and a wild count cannot make the program claim all memory.
constexpr std::size_t kMaxTableEntries = 65536;

std::string Field(std::string_view text) {
    return std::string(text.substr(0, std::min(text.size(), kTableTextChars)));
}

// Numbers as decimal key names ("0", "1", ...): only these can be the key of entry i.
bool IsEntryNumber(const std::string& key, int32_t& number) {
    if (key.empty() || key.size() > 10 || (key.size() > 1 && key[0] == '0')) return false;
    int64_t value = 0;
    for (char c : key) {
        if (c < '0' || c > '9') return false;
        value = value * 10 + (c - '0');
    }
    if (value > INT32_MAX) return false;
    number = static_cast<int32_t>(value);
    return true;
}

// Counts the entries the table takes and keeps the first reason it could not take more.
class TableBudget {
  public:
    bool Take(int64_t count, const std::string& what) {
        if (Failed()) return false;
        if (count > 0 && static_cast<std::size_t>(count) > kMaxTableEntries - used_) {
            failure_ = what + " " + std::to_string(count) + " is more than the table can hold (" +
                       std::to_string(kMaxTableEntries) + " blocks, rows and list items in all)";
            return false;
        }
        used_ += static_cast<std::size_t>(std::max<int64_t>(count, 0));
        return true;
    }
    void OutOfMemory(const std::string& what) {
        if (!Failed()) failure_ = "the memory ran out while reading " + what;
    }
    bool Failed() const { return !failure_.empty(); }
    const std::string& Failure() const { return failure_; }

  private:
    std::size_t used_ = 0;
    std::string failure_;
};

// Sizes one array of the table: false, with the array left empty, when the count is below 1,
// more than the table has room for (the budget then holds the reason), or the memory runs out.
template <typename T>
bool AllocateEntries(std::vector<T>& entries, int32_t count, TableBudget& budget,
                     const std::string& what) {
    if (count < 1 || !budget.Take(count, what)) return false;
    try {
        entries.resize(static_cast<std::size_t>(count));
    } catch (const std::bad_alloc&) {
        budget.OutOfMemory(what);
        return false;
    }
    return true;
}

void CountLevel(BlockInfo& block, int32_t level) {
    if (level == 0) ++block.BasicCount;
    if (level == 1) ++block.AdvancedCount;
    if (level == 2) ++block.PasswordCount;
}

void ReadListItems(const IniFile& file, const std::string& section, CommandInfo& command,
                   TableBudget& budget) {
    int32_t count = file.GetInt(section, ConfigKey::kListNum, 0);
    command.ListNum = 0;
    if (!AllocateEntries(command.ListItems, count, budget,
                         "[" + section + "] " + ConfigKey::kListNum)) {
        return;
    }
    command.ListNum = count;
    for (int32_t i = 0; i < count; ++i) {
        ListItem& item = command.ListItems[static_cast<std::size_t>(i)];
        std::string text;
        uint8_t value = 0;
        if (ParseListItem(file.GetString(section, std::to_string(i), ""), value, text)) {
            item.Value = value;
            item.Text = Field(text);
        } else {
            item.Value = 0;
            item.Text.clear();
        }
    }
}

void ReadValueRange(const IniFile& file, const std::string& section, CommandInfo& command) {
    if (command.PureTextValue != 0) {
        command.Max = 0;
        command.Min = 0;
        command.SliderStep = 1;
        return;
    }
    ParseMaxMin(file.GetString(section, ConfigKey::kMaxMinValue, ConfigKey::kMaxMinDefault),
                command.Max, command.Min);
    // Signed 32-bit arithmetic, wrapping as the camera tools always have: a maximum below the
    // minimum keeps the maximum's magnitude and starts the range at 0.
    int32_t range = static_cast<int32_t>(command.Max - command.Min);
    if (range < 0) {
        command.Min = 0;
        int32_t max = static_cast<int32_t>(command.Max);
        command.Max = max < 0 ? 0u - static_cast<uint32_t>(max) : static_cast<uint32_t>(max);
        range = static_cast<int32_t>(command.Max);
    }
    command.SliderStep = range > 20000 ? range / 20000 : 1;
}

std::unique_ptr<CommandInfo> ReadCommand(const IniFile& file, const std::string& section,
                                         BlockInfo& block, TableBudget& budget) {
    auto command = std::make_unique<CommandInfo>();
    CommandInfo& c = *command;
    c.CommandID = static_cast<uint8_t>(file.GetInt(section, ConfigKey::kCommandID, 0));
    c.EnableRW =
        ParseLevel(file.GetString(section, ConfigKey::kEnableRW, ConfigKey::kLevelDefault));
    c.RunUICommand = file.GetInt(section, ConfigKey::kRunUICommand, 0);
    c.HasUICommand = c.RunUICommand != 0;
    c.EnableList =
        ParseLevel(file.GetString(section, ConfigKey::kEnableList, ConfigKey::kLevelDefault));
    c.ValueText.clear();
    if (c.EnableList != 0) {
        c.PureTextValue = 0;
        c.Max = 0;
        c.Min = 0;
        c.CharLength = 1;
        c.SliderStep = 1;
        c.EnableAdvancedLevel = ParseLevel(
            file.GetString(section, ConfigKey::kEnableAdvancedLevel, ConfigKey::kLevelDefault));
        CountLevel(block, c.EnableAdvancedLevel);
        ReadListItems(file, section, c, budget);
        return command;
    }
    c.ListNum = 0;
    c.PureTextValue =
        ParseLevel(file.GetString(section, ConfigKey::kPureTextValue, ConfigKey::kLevelDefault));
    c.EnableAdvancedLevel = ParseLevel(
        file.GetString(section, ConfigKey::kEnableAdvancedLevel, ConfigKey::kLevelDefault));
    CountLevel(block, c.EnableAdvancedLevel);
    c.CharLength = static_cast<uint8_t>(file.GetInt(section, ConfigKey::kCharLength, 0));
    if (c.PureTextValue == 0 && c.CharLength >= 5) c.PureTextValue = 1;  // numbers: 4 bytes at most
    ReadValueRange(file, section, c);
    return command;
}

void ReadBlock(const IniFile& file, int32_t index, BlockInfo& block, TableBudget& budget) {
    block.Expanded = true;
    block.BasicCount = block.AdvancedCount = block.PasswordCount = 0;
    block.RowCount = 0;
    std::string section;
    std::string display;
    if (!ParseNamedEntry(file.GetString(ConfigKey::kOverview, std::to_string(index), ""), section,
                         display)) {
        block.SectionName.clear();
        block.DisplayName = CoreText::kUnknownName;
        return;
    }
    block.SectionName = Field(section);
    block.DisplayName = Field(display);

    int32_t rows = file.GetInt(block.SectionName, ConfigKey::kMaxRowInfoNum, 0);
    if (!AllocateEntries(block.Rows, rows, budget,
                         "[" + block.SectionName + "] " + ConfigKey::kMaxRowInfoNum)) {
        return;
    }
    block.RowCount = rows;
    for (int32_t r = 0; r < rows; ++r) {
        RowInfo& row = block.Rows[static_cast<std::size_t>(r)];
        std::string rowSection;
        std::string rowDisplay;
        if (!ParseNamedEntry(file.GetString(block.SectionName, std::to_string(r), ""), rowSection,
                             rowDisplay)) {
            row.SectionName.clear();
            row.DisplayName = CoreText::kUnknownName;
            row.Command.reset();
            continue;
        }
        row.SectionName = Field(rowSection);
        row.DisplayName = Field(rowDisplay);
        try {
            row.Command = ReadCommand(file, row.SectionName, block, budget);
        } catch (const std::bad_alloc&) {
            row.Command.reset();
            budget.OutOfMemory("[" + row.SectionName + "]");
        }
        if (budget.Failed()) return;
    }
}

}  // namespace

std::string StartupFilePath(std::string_view startupDirectory, std::string_view fileName) {
    std::string path(startupDirectory);
    if (path.empty() || path.back() != '/') path += '/';
    path += fileName;
    return path;
}

std::optional<ModelEntry> FindModelEntry(const std::string& modelTablePath,
                                         const std::string& modelName) {
    const IniFile table = IniFile::Load(modelTablePath);
    const int32_t count = table.GetInt(ConfigKey::kBranchType, ConfigKey::kMaxBranchTypeNum, 0);
    if (count < 1) return std::nullopt;
    // Entries 0 .. count-1 in order; only keys that are written in the file can match, so the
    // walk visits those instead of counting through a huge MaxBranchTypeNum.
    std::vector<int32_t> numbers;
    if (const IniFile::Section* section = table.FindSection(ConfigKey::kBranchType)) {
        for (const auto& entry : section->entries) {
            int32_t number = 0;
            if (IsEntryNumber(entry.key, number) && number < count) numbers.push_back(number);
        }
    }
    std::sort(numbers.begin(), numbers.end());
    numbers.erase(std::unique(numbers.begin(), numbers.end()), numbers.end());
    for (int32_t i : numbers) {
        std::string name;
        std::string file;
        if (ParseBranchEntry(table.GetString(ConfigKey::kBranchType, std::to_string(i), ""), name,
                             file) &&
            name == modelName) {
            return ModelEntry{i, file};
        }
    }
    return std::nullopt;
}

bool FindModelFile(const std::string& startupDirectory, const std::string& modelName,
                   std::string& path) {
    const std::string tablePath = StartupFilePath(startupDirectory, CoreText::kModelTableFile);
    const std::optional<ModelEntry> entry = FindModelEntry(tablePath, modelName);
    path = entry ? StartupFilePath(startupDirectory, entry->commandFile) : tablePath;
    return entry.has_value();
}

bool LoadModelFile(const std::string& path, CameraModel& model, std::string* failure) {
    auto fail = [failure, &model](std::string reason) {
        model.Blocks.clear();
        if (failure != nullptr) *failure = std::move(reason);
        return false;
    };
    const IniFile file = IniFile::Load(path);
    using namespace ConfigKey;

    model.MenuDB = file.GetString(kOverview, kMenuDB, CoreText::kDefaultMenuDatabase);
    model.ColorCamera = ParseLevel(file.GetString(kOverview, kColorCamera, kLevelDefault));
    model.SupportFpnPrnuTables =
        ParseLevel(file.GetString(kOverview, kSupportFpnPrnuTables, kLevelDefault));
    model.ActiveLength = static_cast<uint16_t>(file.GetInt(kOverview, kActiveLength, 0));
    model.SupportLUT = ParseLevel(file.GetString(kOverview, kSupportLUT, kLevelDefault));

    if (model.ColorCamera != 0) {
        model.MaxTxUnitBits = 8;
        model.TapsNum = 3;
    } else {
        const auto bits = static_cast<int16_t>(file.GetInt(kOverview, kMaxTxUnitBits, 10));
        if (bits < 8) return fail("MaxTxUnitBits " + std::to_string(bits) + " is below 8");
        if (bits % 2 != 0) return fail("MaxTxUnitBits " + std::to_string(bits) + " is odd");
        model.MaxTxUnitBits = bits;
        const auto taps = static_cast<int16_t>(file.GetInt(kOverview, kTapsNum, 1));
        if (taps < 1 || taps > 4) {
            return fail("TapsNum " + std::to_string(taps) + " is outside 1 to 4");
        }
        if (model.ActiveLength % taps != 0) {
            return fail("ActiveLength " + std::to_string(model.ActiveLength) +
                        " is not a multiple of TapsNum " + std::to_string(taps));
        }
        model.TapsNum = taps;
    }

    const int32_t count = file.GetInt(kOverview, kMaxBlockInfoNum, 0);
    model.BlockCount = count;
    if (count < 1) {
        model.BlockCount = 0;
        return fail("MaxBlockInfoNum " + std::to_string(count) + " is below 1" +
                    (file.Exists() ? "" : " (the file cannot be read)"));
    }
    TableBudget budget;
    BlockArray blocks;
    if (!AllocateEntries(blocks, count, budget, std::string(kMaxBlockInfoNum))) {
        model.BlockCount = 0;
        return fail(budget.Failure());
    }
    for (int32_t b = 0; b < count && !budget.Failed(); ++b) {
        ReadBlock(file, b, blocks[static_cast<std::size_t>(b)], budget);
    }
    if (budget.Failed()) {
        model.BlockCount = 0;
        return fail(budget.Failure());
    }
    model.Blocks = std::move(blocks);
    return true;
}

}  // namespace velterra

#include <map>

#include "CheckConfigChecker.h"
#include "CheckConfigText.h"
#include "core/ConfigKeys.h"
#include "core/ConfigParsers.h"
#include "core/ModelFile.h"
#include "ui/CommandMenus.h"

namespace velterra {

using namespace ConfigCheckText;
using namespace ConfigKey;

namespace {

std::string Cut(const std::string& text) {
    return text.substr(0, kTableTextChars);
}

}  // namespace

void ConfigChecker::CheckModelFile(const std::string& name) {
    const std::filesystem::path path = directory_ / name;
    const IniFile ini = IniFile::Load(path);
    CheckFileShape(name, ini);

    // The loader's own verdict, with the rule that failed.
    CameraModel model;
    std::string reason;
    if (!LoadModelFile(path.string(), model, &reason)) {
        Report(name, ini, kOverview, "", LoadFails(reason));
    }

    for (const char* key : {kColorCamera, kSupportFpnPrnuTables, kSupportLUT}) {
        CheckLevelKey(name, ini, kOverview, key);
    }
    if (ParseLevel(ini.GetString(kOverview, kColorCamera, kLevelDefault)) != 0) {
        for (const char* key : {kMaxTxUnitBits, kTapsNum}) {
            if (ini.FindEntry(kOverview, key) != nullptr) {
                Report(name, ini, kOverview, key, kIgnoredForColour);
            }
        }
    }
    const std::string menu = ini.GetString(kOverview, kMenuDB, "default_menu.mdb");
    if (!std::filesystem::is_regular_file(directory_ / menu)) {
        Report(name, ini, kOverview, kMenuDB, MenuDatabaseMissing(menu));
    } else {
        for (const auto& error : MenuDatabaseErrors(menu)) {
            Report(name, ini, kOverview, kMenuDB, MenuDatabaseFails(menu, error));
        }
    }

    const int32_t blocks = ini.GetInt(kOverview, kMaxBlockInfoNum, 0);
    CheckEntriesBeyond(name, ini, kOverview, blocks, kMaxBlockInfoNum);
    const int32_t walked = blocks < kEntryWalkLimit ? blocks : kEntryWalkLimit;
    for (int32_t b = 0; b < walked; ++b) CheckBlock(name, ini, b);
}

const std::vector<std::string>& ConfigChecker::MenuDatabaseErrors(const std::string& name) {
    // Models often share one database: it is loaded once, as the window loads it.
    auto [entry, fresh] = menuDatabaseErrors_.try_emplace(name);
    if (fresh) {
        entry->second = LoadCommandMenus(MenuDatabasePath(directory_.string(), name)).errors;
    }
    return entry->second;
}

bool ConfigChecker::CheckNamedEntry(const std::string& file, const IniFile& ini,
                                    const std::string& section, const std::string& key,
                                    const NamedEntryTexts& texts, std::string& target) {
    const IniFile::Entry* entry = ini.FindEntry(section, key);
    if (entry == nullptr) {
        Report(file, ini, section, key, texts.missing);
        return false;
    }
    std::string display;
    if (!ParseNamedEntry(ProfileValueText(entry->value), target, display)) {
        Report(file, entry->line, section, key, texts.unparsable);
        return false;
    }
    if (target.size() > kTableTextChars)
        Report(file, entry->line, section, key, NameCut("section name"));
    if (display.size() > kTableTextChars)
        Report(file, entry->line, section, key, NameCut("display name"));
    target = Cut(target);
    if (ini.FindSection(target) == nullptr) {
        Report(file, entry->line, section, key, texts.sectionMissing);
        return false;
    }
    return true;
}

void ConfigChecker::CheckBlock(const std::string& file, const IniFile& ini, int32_t index) {
    std::string section;
    if (!CheckNamedEntry(file, ini, kOverview, std::to_string(index), kBlockEntry, section)) {
        return;
    }
    const int32_t rows = ini.GetInt(section, kMaxRowInfoNum, 0);
    if (rows < 1) {
        Report(file, ini, section, kMaxRowInfoNum, NoRows(rows));
        return;
    }
    CheckEntriesBeyond(file, ini, section, rows, kMaxRowInfoNum);
    const int32_t walked = rows < kEntryWalkLimit ? rows : kEntryWalkLimit;
    for (int32_t r = 0; r < walked; ++r) {
        std::string rowSection;
        if (!CheckNamedEntry(file, ini, section, std::to_string(r), kRowEntry, rowSection)) {
            continue;
        }
        // A command section shared by several rows is checked once.
        if (checkedCommandSections_.insert(file + "\n" + LowerCase(rowSection)).second) {
            CheckCommandSection(file, ini, rowSection);
        }
    }
}

void ConfigChecker::CheckCommandSection(const std::string& file, const IniFile& ini,
                                        const std::string& section) {
    const IniFile::Entry* id = ini.FindEntry(section, kCommandID);
    if (id == nullptr) {
        Report(file, ini, section, kCommandID, kCommandIdMissing);
    } else {
        const std::string text = ProfileValueText(id->value);
        const int32_t value = ParseProfileInteger(text);
        if (value == 0 && text.find_first_of("0123456789") == std::string::npos) {
            Report(file, id->line, section, kCommandID, NotANumber(text));
        } else if (value < 0 || value > 0xFF) {
            Report(file, id->line, section, kCommandID, LowByteOnly(static_cast<uint32_t>(value)));
        }
    }
    for (const char* key : {kEnableRW, kEnableList, kEnableAdvancedLevel}) {
        CheckLevelKey(file, ini, section, key);
    }
    const int32_t ui = ini.GetInt(section, kRunUICommand, 0);
    if (ui < 0 || ui > 0xFFFF) Report(file, ini, section, kRunUICommand, UiCommandWide(ui));

    if (ParseLevel(ini.GetString(section, kEnableList, kLevelDefault)) != 0) {
        CheckListItems(file, ini, section);
        return;
    }
    CheckLevelKey(file, ini, section, kPureTextValue);
    const int32_t rawLength = ini.GetInt(section, kCharLength, 0);
    const int32_t length = rawLength & 0xFF;
    if (rawLength < 0 || rawLength > 0xFF) {
        Report(file, ini, section, kCharLength, LowByteOnly(static_cast<uint32_t>(rawLength)));
    }
    if (length == 0) {
        Report(file, ini, section, kCharLength, kCharLengthZero);
        return;
    }
    bool text = ParseLevel(ini.GetString(section, kPureTextValue, kLevelDefault)) != 0;
    if (!text && length >= 5) {
        Report(file, ini, section, kCharLength, NumberBecomesText(length));
        text = true;
    }
    if (text) {
        if (length > static_cast<int32_t>(kTableTextChars)) {
            Report(file, ini, section, kCharLength, TextTooLong(length));
        }
        return;
    }
    CheckNumberRange(file, ini, section, length);
}

void ConfigChecker::CheckListItems(const std::string& file, const IniFile& ini,
                                   const std::string& section) {
    const int32_t count = ini.GetInt(section, kListNum, 0);
    if (count < 1) {
        Report(file, ini, section, kListNum, ListWithoutItems(count));
        return;
    }
    CheckEntriesBeyond(file, ini, section, count, kListNum);
    std::map<std::string, int32_t> firstOfText;
    const int32_t walked = count < kEntryWalkLimit ? count : kEntryWalkLimit;
    for (int32_t i = 0; i < walked; ++i) {
        const std::string key = std::to_string(i);
        const IniFile::Entry* entry = ini.FindEntry(section, key);
        if (entry == nullptr) {
            Report(file, ini, section, key, kItemMissing);
            continue;
        }
        uint8_t value = 0;
        std::string itemText;
        std::string token;
        if (!ParseListItem(ProfileValueText(entry->value), value, itemText, &token)) {
            Report(file, entry->line, section, key, kItemUnparsable);
            continue;
        }
        NumberText number = ReadNumberText(LowerCase(token));
        if (!number.hasDigits) {
            Report(file, entry->line, section, key, NotANumber(token));
        } else if (number.value > 0xFF) {
            Report(file, entry->line, section, key, LowByteOnly(number.value));
        }
        if (itemText.size() > kTableTextChars) {
            Report(file, entry->line, section, key, NameCut("item text"));
        }
        auto [first, fresh] = firstOfText.emplace(Cut(itemText), i);
        if (!fresh) Report(file, entry->line, section, key, ItemTextRepeated(first->second));
    }
}

void ConfigChecker::CheckNumberRange(const std::string& file, const IniFile& ini,
                                     const std::string& section, int charLength) {
    const IniFile::Entry* entry = ini.FindEntry(section, kMaxMinValue);
    if (entry == nullptr) {
        Report(file, ini, section, kMaxMinValue, kRangeMissing);
        return;
    }
    const std::string value = ProfileValueText(entry->value);
    // The two number texts as the range parser splits them.
    std::string lowered = LowerCase(value);
    std::size_t start = 0;
    for (int token = 0; token < 2; ++token) {
        std::size_t end = lowered.find_first_of(kFieldSeparators, start);
        std::string text =
            lowered.substr(start, end == std::string::npos ? std::string::npos : end - start);
        NumberText number = ReadNumberText(text);
        if (!text.empty() && !number.hasDigits) {
            Report(file, entry->line, section, kMaxMinValue, NotANumber(text));
        } else if (number.outOfRange) {
            Report(file, entry->line, section, kMaxMinValue, DecimalOutOfRange(text, number.value));
        }
        if (end == std::string::npos) break;
        start = lowered.find_first_not_of(kFieldSeparators, end);
        if (start == std::string::npos) break;
    }

    uint32_t max = 0;
    uint32_t min = 0;
    ParseMaxMin(value, max, min);
    if (static_cast<int32_t>(max - min) < 0) {
        const int32_t signedMax = static_cast<int32_t>(max);
        const uint32_t newMax = signedMax < 0 ? 0u - static_cast<uint32_t>(signedMax) : max;
        Report(file, entry->line, section, kMaxMinValue, MaxBelowMin(max, min, newMax));
        max = newMax;
    }
    if (charLength < 4 && max > (uint32_t{1} << (8 * charLength)) - 1) {
        Report(file, entry->line, section, kMaxMinValue, MaxTooWide(max, charLength));
    }
}

}  // namespace velterra

#include "CheckConfigChecker.h"

#include <map>

#include "CheckConfigText.h"
#include "core/CommandNames.h"
#include "core/ConfigKeys.h"
#include "core/ConfigParsers.h"
#include "core/CoreTexts.h"
#include "core/ModelFile.h"

namespace velterra {

using namespace ConfigCheckText;

std::string FormatFinding(const ConfigFinding& f) {
    std::string text = f.file;
    if (f.line > 0) text += ":" + std::to_string(f.line);
    text += ": ";
    if (!f.section.empty()) {
        text += "[" + f.section + "]";
        if (!f.key.empty()) text += " " + f.key;
        text += ": ";
    }
    return text + f.message;
}

ConfigChecker::ConfigChecker(std::filesystem::path startupDirectory)
    : directory_(std::move(startupDirectory)) {}

void ConfigChecker::Run() {
    findings_.clear();
    checkedCommandSections_.clear();
    CheckModelTable();
    CheckNamedCommands();
}

void ConfigChecker::Report(const std::string& file, const IniFile& ini, const std::string& section,
                           const std::string& key, std::string message) {
    int line = 0;
    if (const IniFile::Entry* entry = ini.FindEntry(section, key)) {
        line = entry->line;
    } else if (const IniFile::Section* s = ini.FindSection(section)) {
        line = s->line;
    }
    Report(file, line, section, key, std::move(message));
}

void ConfigChecker::Report(const std::string& file, int line, const std::string& section,
                           const std::string& key, std::string message) {
    findings_.push_back({file, line, section, key, std::move(message)});
}

bool ConfigChecker::LoadFile(const std::string& file, IniFile& ini) {
    ini = IniFile::Load(directory_ / file);
    if (!ini.Exists()) {
        Report(file, 0, "", "", kFileNotFound);
        return false;
    }
    CheckFileShape(file, ini);
    return true;
}

void ConfigChecker::CheckFileShape(const std::string& file, const IniFile& ini) {
    std::map<std::string, int> firstSections;
    for (const auto& section : ini.Sections()) {
        auto [it, fresh] = firstSections.emplace(LowerCase(section.name), section.line);
        if (!fresh) {
            Report(file, section.line, section.name, "", SectionRepeated(it->second));
            continue;
        }
        std::map<std::string, int> firstKeys;
        for (const auto& entry : section.entries) {
            auto [key, freshKey] = firstKeys.emplace(LowerCase(entry.key), entry.line);
            if (!freshKey)
                Report(file, entry.line, section.name, entry.key, KeyRepeated(key->second));
            // Quotes that enclose the whole value are not part of its length.
            std::string text = ProfileValueText(entry.value, entry.value.size() + 1);
            if (text.size() > 127) {
                Report(file, entry.line, section.name, entry.key, ValueCut(text.size()));
            }
        }
    }
}

void ConfigChecker::CheckLevelKey(const std::string& file, const IniFile& ini,
                                  const std::string& section, const char* key) {
    const IniFile::Entry* entry = ini.FindEntry(section, key);
    if (entry == nullptr) return;
    std::string text = ProfileValueText(entry->value);
    if (!IsPlainLevelText(text)) {
        Report(file, entry->line, section, key, LevelWord(text, ParseLevel(text)));
    }
}

void ConfigChecker::CheckEntriesBeyond(const std::string& file, const IniFile& ini,
                                       const std::string& section, int32_t count,
                                       const char* countKey) {
    const IniFile::Section* s = ini.FindSection(section);
    if (s == nullptr) return;
    for (const auto& entry : s->entries) {
        if (entry.key.empty() || entry.key.size() > 9) continue;
        if (entry.key.find_first_not_of("0123456789") != std::string::npos) continue;
        if (entry.key.size() > 1 && entry.key[0] == '0') continue;
        if (std::stol(entry.key) >= count) {
            Report(file, entry.line, section, entry.key, EntryBeyondCount(countKey, count));
        }
    }
}

// ------------------------------------------------------------------ CAM_VL.ini

void ConfigChecker::CheckModelTable() {
    const std::string file = CoreText::kModelTableFile;
    IniFile table;
    if (!LoadFile(file, table)) return;

    using namespace ConfigKey;
    const int32_t count = table.GetInt(kBranchType, kMaxBranchTypeNum, 0);
    if (count < 1) Report(file, table, kBranchType, kMaxBranchTypeNum, NoModelEntries(count));
    CheckEntriesBeyond(file, table, kBranchType, count, kMaxBranchTypeNum);

    std::map<std::string, int32_t> firstEntryOfModel;
    std::set<std::string> modelFiles;
    const int32_t walked = count < kEntryWalkLimit ? count : kEntryWalkLimit;
    for (int32_t i = 0; i < walked; ++i) {
        const std::string key = std::to_string(i);
        const IniFile::Entry* entry = table.FindEntry(kBranchType, key);
        if (entry == nullptr) {
            Report(file, table, kBranchType, key, ModelEntryMissing(count));
            continue;
        }
        std::string model;
        std::string modelFile;
        if (!ParseBranchEntry(ProfileValueText(entry->value), model, modelFile)) {
            Report(file, entry->line, kBranchType, key, kFewerThanFourQuotes);
            continue;
        }
        if (model.empty()) Report(file, entry->line, kBranchType, key, kEmptyModelName);
        if (model.size() > kTableTextChars) {
            Report(file, entry->line, kBranchType, key, NameCut("model name"));
        }
        auto [first, fresh] = firstEntryOfModel.emplace(model, i);
        if (!fresh) Report(file, entry->line, kBranchType, key, ModelRepeated(first->second));
        if (modelFile.empty()) {
            Report(file, entry->line, kBranchType, key, kNoModelFile);
            continue;
        }
        if (!std::filesystem::is_regular_file(directory_ / modelFile)) {
            Report(file, entry->line, kBranchType, key, ModelFileMissing(modelFile));
            continue;
        }
        if (modelFiles.insert(modelFile).second) CheckModelFile(modelFile);
    }
    CheckModelInfo(table, count);
}

void ConfigChecker::CheckModelInfo(const IniFile& table, int32_t entries) {
    const std::string file = CoreText::kModelTableFile;
    using namespace ConfigKey;
    const IniFile::Entry* idEntry = table.FindEntry(kModelInfoCommand, kCommandID);
    if (idEntry == nullptr)
        Report(file, table, kModelInfoCommand, kCommandID, kModelCommandMissing);
    const int32_t length = table.GetInt(kModelInfoCommand, kCharLength, 0);
    if (length < 1 || length > 127) {
        Report(file, table, kModelInfoCommand, kCharLength, ModelTextLength(length));
    }

    const IniFile::Section* db = table.FindSection(kModelInfoDB);
    if (db == nullptr || db->entries.empty()) {
        Report(file, table, kModelInfoDB, "", kNoModelTexts);
        return;
    }
    std::set<int32_t> identified;
    for (const auto& entry : db->entries) {
        if (table.FindEntry(kModelInfoDB, entry.key) != &entry) continue;  // repeats: reported
        if (length >= 1 && static_cast<int32_t>(entry.key.size()) > length) {
            Report(file, entry.line, kModelInfoDB, entry.key, ModelTextTooLong(length));
        }
        const std::string text = ProfileValueText(entry.value);
        const int32_t number = table.GetInt(kModelInfoDB, entry.key, -1);
        if (!text.empty() && !ReadNumberText(text).hasDigits && number == 0) {
            Report(file, entry.line, kModelInfoDB, entry.key, EntryNumberNotANumber(text));
        }
        if (number < 0) {
            Report(file, entry.line, kModelInfoDB, entry.key, kUnknownModelNumber);
            continue;
        }
        identified.insert(number);
        std::string model;
        std::string modelFile;
        const std::string target = std::to_string(number);
        if (number >= entries || table.FindEntry(kBranchType, target) == nullptr) {
            Report(file, entry.line, kModelInfoDB, entry.key, EntryPointsNowhere(number));
        } else if (!ParseBranchEntry(table.GetString(kBranchType, target, ""), model, modelFile)) {
            Report(file, entry.line, kModelInfoDB, entry.key, EntryDoesNotParse(number));
        } else if (modelFile.empty()) {
            Report(file, entry.line, kModelInfoDB, entry.key, EntryWithoutFile(number));
        }
    }
    const int32_t walked = entries < kEntryWalkLimit ? entries : kEntryWalkLimit;
    for (int32_t i = 0; i < walked; ++i) {
        const std::string key = std::to_string(i);
        std::string model;
        std::string modelFile;
        if (identified.count(i) == 0 &&
            ParseBranchEntry(table.GetString(kBranchType, key, ""), model, modelFile)) {
            Report(file, table, kBranchType, key, kNeverIdentified);
        }
    }
}

// ------------------------------------------------------------------ Command.ini

void ConfigChecker::CheckNamedCommands() {
    const std::string file = CoreText::kNamedCommandFile;
    IniFile ini;
    if (!LoadFile(file, ini)) return;
    for (const char* name : CommandName::kCalledByProgram) {
        if (ini.FindSection(name) == nullptr) Report(file, 0, name, "", kCalledSectionMissing);
    }
    for (const auto& section : ini.Sections()) {
        if (ini.FindSection(section.name) == &section) CheckNamedCommand(ini, section);
    }
}

namespace {

// A Command.ini number text as the function runner reads it (no lower-casing).
void DescribeByte(const std::string& text, std::vector<std::string>& problems) {
    if (text.size() > 2 && text[0] == '0' && text[1] == 'X') {
        problems.push_back(UpperCasePrefix(text));
        return;
    }
    NumberText number = ReadNumberText(text);
    if (!number.hasDigits) {
        problems.push_back(NotANumber(text));
    } else if (number.value > 0xFF) {
        problems.push_back(LowByteOnly(number.value));
    }
}

}  // namespace

void ConfigChecker::CheckNamedCommand(const IniFile& ini, const IniFile::Section& section) {
    const std::string file = CoreText::kNamedCommandFile;
    const std::string& name = section.name;
    using namespace ConfigKey;
    const IniFile::Entry* idEntry = ini.FindEntry(name, kCommandID);
    if (idEntry == nullptr) {
        Report(file, section.line, name, kCommandID, kCommandIdMissing);
    } else {
        std::vector<std::string> problems;
        std::string full = ProfileValueText(idEntry->value);
        if (full.size() > kCommandIdBufferSize - 1) problems.push_back(CommandIdCut());
        DescribeByte(ini.GetString(name, kCommandID, "0", kCommandIdBufferSize), problems);
        for (auto& p : problems) Report(file, idEntry->line, name, kCommandID, p);
    }

    const int32_t bytes = ini.GetInt(name, kBytes, 0);
    if (bytes < 0 || bytes > 0xFF) Report(file, ini, name, kBytes, BytesBeyondEightBits(bytes));
    const bool readFlag = (bytes & 0x80) != 0;
    const int count = bytes & 0x7F;
    if (!readFlag) {
        for (int i = 0; i < count; ++i) {
            const std::string key = std::to_string(i);
            const IniFile::Entry* data = ini.FindEntry(name, key);
            if (data == nullptr) {
                Report(file, section.line, name, key, DataByteMissing(count));
                continue;
            }
            std::vector<std::string> problems;
            DescribeByte(ini.GetString(name, key, "0", kCommandIdBufferSize), problems);
            for (auto& p : problems) Report(file, data->line, name, key, p);
        }
        CheckEntriesBeyond(file, ini, name, count, kBytes);
    }

    // The legacy table and one-pixel functions go by their command ids.
    struct Expected {
        const char* name;
        uint8_t id;
        bool read;
    };
    static const Expected expectations[] = {{CommandName::kFPNPRNUWrite, 0xC6, false},
                                            {CommandName::kFPNPRNURead, 0xC5, true},
                                            {CommandName::kOnePixelWrite, 0xC9, false}};
    const uint8_t id =
        static_cast<uint8_t>(ParseNumberText(ini.GetString(name, kCommandID, "0", 64)) & 0xFF);
    for (const auto& e : expectations) {
        if (!ProfileNamesEqual(name, e.name)) continue;
        if (id != e.id) Report(file, ini, name, kCommandID, LegacyIdExpected(id, e.id));
        if (readFlag != e.read) Report(file, ini, name, kBytes, ReadFlagExpected(e.read));
    }
}

}  // namespace velterra

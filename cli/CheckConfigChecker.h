#pragma once
#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "CheckConfigText.h"
#include "IniFile.h"

namespace velterra {

// Finds what the configuration readers would accept without a word but a configuration author
// should fix: entries that do not parse, names that get cut, odd ranges, missing sections.
struct ConfigFinding {
    std::string file;     // as named in the start-up directory
    int line = 0;         // 0 when the finding is about something missing
    std::string section;  // empty for a finding about the whole file
    std::string key;
    std::string message;
};

// "file:line: [section] key: message"
std::string FormatFinding(const ConfigFinding& finding);

class ConfigChecker {
  public:
    explicit ConfigChecker(std::filesystem::path startupDirectory);

    // Checks CAM_VL.ini, every model command file it names and Command.ini.
    void Run();
    const std::vector<ConfigFinding>& Findings() const { return findings_; }

  private:
    void CheckModelTable();
    void CheckModelInfo(const IniFile& table, int32_t entries);
    void CheckModelFile(const std::string& name);
    void CheckBlock(const std::string& file, const IniFile& ini, int32_t index);
    // A block or row entry: it must parse and name a section that exists (the name as cut to
    // 63 characters); target receives that name. False when the entry leads nowhere.
    bool CheckNamedEntry(const std::string& file, const IniFile& ini, const std::string& section,
                         const std::string& key, const ConfigCheckText::NamedEntryTexts& texts,
                         std::string& target);
    void CheckCommandSection(const std::string& file, const IniFile& ini,
                             const std::string& section);
    void CheckListItems(const std::string& file, const IniFile& ini, const std::string& section);
    void CheckNumberRange(const std::string& file, const IniFile& ini, const std::string& section,
                          int charLength);
    void CheckNamedCommands();
    void CheckNamedCommand(const IniFile& ini, const IniFile::Section& section);

    // Reads a file of the start-up directory and checks its shape; false (reported) when the
    // file is missing.
    bool LoadFile(const std::string& file, IniFile& ini);
    // Findings every INI file can have: repeated sections and keys, values past 127 characters.
    void CheckFileShape(const std::string& file, const IniFile& ini);
    void CheckLevelKey(const std::string& file, const IniFile& ini, const std::string& section,
                       const char* key);
    // Entry-number keys (0, 1, ...) at or beyond count are never read.
    void CheckEntriesBeyond(const std::string& file, const IniFile& ini, const std::string& section,
                            int32_t count, const char* countKey);

    // The warnings of loading the three menus from a menu database of the start-up directory.
    const std::vector<std::string>& MenuDatabaseErrors(const std::string& name);

    void Report(const std::string& file, const IniFile& ini, const std::string& section,
                const std::string& key, std::string message);
    void Report(const std::string& file, int line, const std::string& section,
                const std::string& key, std::string message);

    std::filesystem::path directory_;
    std::vector<ConfigFinding> findings_;
    std::set<std::string> checkedCommandSections_;
    std::map<std::string, std::vector<std::string>> menuDatabaseErrors_;
};

}  // namespace velterra

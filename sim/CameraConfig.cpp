#include "CameraConfig.h"

#include <filesystem>

#include "IniFile.h"
#include "IniProfile.h"
#include "SimTexts.h"
#include "TextFormat.h"
#include "connect/CameraKernelRule.h"
#include "core/CommandNames.h"
#include "core/ConfigKeys.h"
#include "core/ConfigParsers.h"
#include "core/CoreTexts.h"
#include "core/ModelFile.h"

namespace velterra::sim {

bool CameraConfig::Load(const std::string& configDir, const std::string& model, int kernel,
                        std::string* error, std::vector<std::string>* warnings) {
    auto fail = [error](std::string reason) {
        if (error) *error = std::move(reason);
        return false;
    };
    if (kernel != 0 && kernel != 1) return fail(FormatText(text::kBadKernel, kernel));

    const std::string tablePath = StartupFilePath(configDir, CoreText::kModelTableFile);
    if (!std::filesystem::is_regular_file(tablePath)) {
        return fail(FormatText(text::kNoModelTable, tablePath.c_str()));
    }
    // The Branch_Type entry that names the model: its number is what Model_Info_DB maps to.
    const std::optional<ModelEntry> entry = FindModelEntry(tablePath, model);
    if (!entry) return fail(FormatText(text::kModelNotListed, model.c_str(), tablePath.c_str()));
    const std::string commandFile = StartupFilePath(configDir, entry->commandFile);
    CameraModel loaded;
    std::string failure;
    if (!LoadModelFile(commandFile, loaded, &failure)) {
        return fail(FormatText(text::kCommandFileFailed, commandFile.c_str(), model.c_str(),
                               failure.c_str()));
    }
    modelName_ = model;
    bits_ = loaded.MaxTxUnitBits;
    taps_ = loaded.TapsNum;
    activeLength_ = loaded.ActiveLength;
    LoadParameters(loaded.Blocks);
    LoadCommands(StartupFilePath(configDir, CoreText::kNamedCommandFile));
    return LoadModelText(tablePath, entry->number, kernel, error, warnings);
}

bool CameraConfig::LoadModelText(const std::string& tablePath, int entry, int kernel,
                                 std::string* error, std::vector<std::string>* warnings) {
    const IniFile table = IniFile::Load(tablePath);
    modelCommandId_ = static_cast<uint8_t>(
        table.GetInt(ConfigKey::kModelInfoCommand, ConfigKey::kCommandID, 0) & 0xFF);
    modelTextLength_ = static_cast<uint8_t>(
        table.GetInt(ConfigKey::kModelInfoCommand, ConfigKey::kCharLength, 0) & 0xFF);

    // Every model text that maps to the entry; a kernel-1 camera prefers the one a host reads
    // as kernel 1, a kernel-0 camera one that it does not.
    std::vector<std::string> texts;
    if (const IniFile::Section* section = table.FindSection(ConfigKey::kModelInfoDB)) {
        for (const auto& item : section->entries) {
            if (table.GetInt(ConfigKey::kModelInfoDB, item.key, -1) == entry && entry >= 0) {
                texts.push_back(item.key);
            }
        }
    }
    if (texts.empty()) {
        if (error) *error = FormatText(text::kNoModelText, tablePath.c_str(), modelName_.c_str());
        return false;
    }
    modelText_ = texts.front();
    const bool wantMb = kernel == 1;
    bool matched = false;
    for (const auto& candidate : texts) {
        if ((KernelOfModelText(candidate) == kMbFrameKernel) == wantMb) {
            modelText_ = candidate;
            matched = true;
            break;
        }
    }
    if (!matched && warnings) {
        warnings->push_back(wantMb ? FormatText(text::kNoKernel1Text, modelName_.c_str())
                                   : FormatText(text::kKernel0TextLooksMb, modelText_.c_str()));
    }
    if (modelText_.size() > modelTextLength_) {
        if (warnings) {
            warnings->push_back(
                FormatText(text::kModelTextTooLong, modelText_.c_str(), int{modelTextLength_}));
        }
        modelText_.resize(modelTextLength_);
    }
    return true;
}

void CameraConfig::LoadParameters(const BlockArray& blocks) {
    parameters_.clear();
    for (const BlockInfo& block : blocks) {
        for (const RowInfo& row : block.Rows) {
            if (!row.Command || FindParameter(row.Command->CommandID)) continue;
            const CommandInfo& command = *row.Command;
            ParameterDefinition definition;
            definition.commandId = command.CommandID;
            definition.name = row.DisplayName;
            definition.length = command.CharLength;
            definition.writable = command.EnableRW != 0;
            if (command.EnableList != 0) {
                definition.kind = ParameterKind::kList;
                definition.items = command.ListItems;
            } else if (command.PureTextValue != 0) {
                definition.kind = ParameterKind::kText;
            } else {
                definition.kind = ParameterKind::kNumber;
                definition.min = command.Min;
                definition.max = command.Max;
            }
            parameters_.push_back(std::move(definition));
        }
    }
}

void CameraConfig::LoadCommands(const std::string& path) {
    commands_.clear();
    const IniFile file = IniFile::Load(path);
    for (const auto& section : file.Sections()) {
        // The profile reader reads only the first section of a name.
        if (file.FindSection(section.name) != &section) continue;
        NamedCommand command;
        command.name = section.name;
        std::string id = file.GetString(section.name, ConfigKey::kCommandID, "0",
                                        ConfigKey::kCommandIdBufferSize);
        // The host lower-cases only the alive command's id before reading it; the function
        // runner reads an upper-case "0X" prefix as 0, and so must the camera that stands in.
        if (ProfileNamesEqual(section.name, CommandName::kGetLEDState)) id = LowerCase(id);
        command.commandId = static_cast<uint8_t>(ParseNumberText(id) & 0xFF);
        command.bytes = file.GetInt(section.name, ConfigKey::kBytes, 0);
        commands_.push_back(std::move(command));
    }
}

const ParameterDefinition* CameraConfig::FindParameter(uint8_t commandId) const {
    for (const auto& definition : parameters_) {
        if (definition.commandId == commandId) return &definition;
    }
    return nullptr;
}

const NamedCommand* CameraConfig::FindCommand(uint8_t commandId) const {
    for (const auto& command : commands_) {
        if (command.commandId == commandId) return &command;
    }
    return nullptr;
}

std::optional<uint8_t> CameraConfig::CommandId(const std::string& name) const {
    for (const auto& command : commands_) {
        if (ProfileNamesEqual(command.name, name)) return command.commandId;
    }
    return std::nullopt;
}

}  // namespace velterra::sim

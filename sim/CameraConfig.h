// What the simulated camera knows about itself, all read from a configuration folder: its
// model text (CAM_VL.ini), its parameters (the model command file, through the program's own
// loader) and the named commands (Command.ini).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/CommandTable.h"

namespace velterra::sim {

enum class ParameterKind { kNumber, kText, kList };

struct ParameterDefinition {
    uint8_t commandId = 0;
    std::string name;  // the row's display name
    ParameterKind kind = ParameterKind::kNumber;
    uint8_t length = 0;  // bytes on the wire
    bool writable = false;
    uint32_t min = 0;  // numbers
    uint32_t max = 0;
    std::vector<ListItem> items;  // lists
};

struct NamedCommand {
    std::string name;  // the Command.ini section
    uint8_t commandId = 0;
    int32_t bytes = 0;  // bit 7 read flag, bits 0-6 count
};

class CameraConfig {
  public:
    // Loads the model; false with the reason in *error. Warnings (a model text that will not
    // identify the kernel asked for, a text cut to CharLength) go to *warnings.
    bool Load(const std::string& configDir, const std::string& model, int kernel,
              std::string* error, std::vector<std::string>* warnings);

    const std::string& ModelName() const { return modelName_; }
    const std::string& ModelText() const { return modelText_; }
    uint8_t ModelCommandId() const { return modelCommandId_; }
    uint8_t ModelTextLength() const { return modelTextLength_; }
    int16_t Bits() const { return bits_; }
    int16_t Taps() const { return taps_; }
    uint16_t ActiveLength() const { return activeLength_; }

    // One entry per command id, in the order of the model command file (first row wins).
    const std::vector<ParameterDefinition>& Parameters() const { return parameters_; }
    const ParameterDefinition* FindParameter(uint8_t commandId) const;

    const std::vector<NamedCommand>& Commands() const { return commands_; }
    const NamedCommand* FindCommand(uint8_t commandId) const;
    // Command id of a Command.ini section, when the section exists.
    std::optional<uint8_t> CommandId(const std::string& name) const;

  private:
    bool LoadModelText(const std::string& tablePath, int entry, int kernel, std::string* error,
                       std::vector<std::string>* warnings);
    void LoadParameters(const BlockArray& blocks);
    void LoadCommands(const std::string& path);

    std::string modelName_;
    std::string modelText_;
    uint8_t modelCommandId_ = 0;
    uint8_t modelTextLength_ = 0;
    int16_t bits_ = 8;
    int16_t taps_ = 1;
    uint16_t activeLength_ = 0;
    std::vector<ParameterDefinition> parameters_;
    std::vector<NamedCommand> commands_;
};

}  // namespace velterra::sim

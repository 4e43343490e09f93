#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace velterra {

// The command table a model command file is loaded into: blocks of rows, each row with at most
// one command, each list command with its items. Texts hold at most kTableTextChars characters
// (the fields of the table are 64 bytes with their terminating zero).
inline constexpr std::size_t kTableTextChars = 63;

struct ListItem {
    uint8_t Value = 0;  // the byte sent and received
    std::string Text;
};

struct CommandInfo {
    uint8_t CommandID = 0;
    uint8_t CharLength = 0;  // data bytes per read or write; 1 for lists
    int32_t EnableRW = 0;    // nonzero: writable
    uint32_t Max = 0;        // numbers only
    uint32_t Min = 0;        // numbers only
    int32_t SliderStep = 1;  // 1, or range / 20000 above a range of 20000
    int32_t EnableList = 0;  // nonzero: list parameter
    int32_t ListNum = 0;     // number of ListItems
    std::vector<ListItem> ListItems;
    int32_t PureTextValue = 0;        // nonzero: text value
    int32_t EnableAdvancedLevel = 0;  // visibility: 0 basic, 1 advanced, 2 password
    bool HasUICommand = false;
    int32_t RunUICommand = 0;  // window command sent after a write (low 16 bits)
    std::string ValueText;     // current value as shown and stored in settings files
};

struct RowInfo {
    std::string SectionName;               // empty when the row's entry could not be parsed
    std::string DisplayName;               // "[Unknown]" when not parsed
    std::unique_ptr<CommandInfo> Command;  // none when not parsed
};

class BlockInfo {
  public:
    std::string SectionName;  // empty when the block's entry could not be parsed
    std::string DisplayName;  // "[Unknown]" when not parsed
    int32_t RowCount = 0;
    std::vector<RowInfo> Rows;
    bool Expanded = true;
    int32_t BasicCount = 0;
    int32_t AdvancedCount = 0;
    int32_t PasswordCount = 0;
};

using BlockArray = std::vector<BlockInfo>;

}  // namespace velterra

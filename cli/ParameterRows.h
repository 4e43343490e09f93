#pragma once
#include <optional>
#include <string>
#include <vector>

#include "core/CommandTable.h"

namespace velterra {

// Parameters as the console tool addresses them: "<block display name>/<row display name>".
namespace ParameterRows {

// Content levels: 0 Basic, 1 Advanced, 2 Admin. (the password level); kAll is every row with
// a command.
inline constexpr int kAll = -1;
inline constexpr int kPasswordLevel = 2;

// "basic", "advanced", "admin", "all".
std::optional<int> ParseLevel(const std::string& text);

struct Ref {
    int block = 0;
    int row = 0;
};

std::string Address(const BlockArray& blocks, Ref ref);
const CommandInfo& Command(const BlockArray& blocks, Ref ref);

// Rows shown at a level, in table order: at Basic, Advanced and Admin. the item rows of the
// parameter list at that level with every block open; at kAll every row with a command. Rows
// of the password level appear only with access.
std::vector<Ref> Visible(const BlockArray& blocks, int level, bool access);

// The first row with a command whose address is exactly `address`.
std::optional<Ref> Find(const BlockArray& blocks, const std::string& address);

// "ADDRESS=VALUE": the row with the longest address that, followed by '=', begins the text.
std::optional<Ref> FindAssignment(const BlockArray& blocks, const std::string& text,
                                  std::string& value);

}  // namespace ParameterRows

}  // namespace velterra

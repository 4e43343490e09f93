#pragma once
#include <optional>
#include <string>
#include <vector>

#include "core/CommandTable.h"

// Parameters as the console tool addresses them: "<block display name>/<row display name>",
// and which of them a content level shows, by the parameter list's own rules.
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

// Rows shown at a level, in table order: at Basic, Advanced and Admin. the rows of that exact
// level under the blocks that count rows of it; at kAll every row with a command. Rows of the
// password level appear only with access.
std::vector<Ref> Visible(const BlockArray& blocks, int level, bool access);

// The first row with a command whose address is exactly `address`.
std::optional<Ref> Find(const BlockArray& blocks, const std::string& address);

// "ADDRESS=VALUE": the row with the longest address that, followed by '=', begins the text.
std::optional<Ref> FindAssignment(const BlockArray& blocks, const std::string& text,
                                  std::string& value);

// The parameter list's checks before a write: writable; a list value names an item; a text
// fits CharLength; a number is decimal within Min..Max. Empty when the value may be written,
// else the reason.
std::string CheckWrite(const CommandInfo& command, const std::string& value);

}  // namespace ParameterRows

#include <algorithm>
#include <iostream>

#include "CliSession.h"
#include "ParameterRows.h"
#include "core/ParameterList.h"
#include "core/ValueCommit.h"
#include "core/ValueEditRules.h"

namespace velterra {

// velterra-cli set --port PORT [--password CODE] "Block/Row=VALUE"...: writes each value after
// the parameter list's checks and commits it as the window's list does (read-back, the line
// period / exposure time pair, a row's window command); prints "Block/Row = value shown" for
// the row and for a partner the pair changed.
namespace {

constexpr const char* kUsage = "set --port PORT [--password CODE] \"Block/Row=VALUE\"...";

// The checks the window's editors make before a write, told in words: writable; a list value
// names an item; a text fits the edit; a number passes the edit's text check. Empty when the
// value may be written.
std::string CheckWrite(const CommandInfo& command, const std::string& value) {
    if (command.EnableRW == 0) return "it is read-only";
    if (value.empty()) return "it needs a value";
    const ValueEditShape edit = ValueEditorFor(&command);
    if (edit.editor == ValueEditor::List) {
        if (std::find(edit.choices.begin(), edit.choices.end(), value) != edit.choices.end()) {
            return {};
        }
        std::string items;
        for (const std::string& choice : edit.choices) {
            items += (items.empty() ? "" : ", ") + ("\"" + choice + "\"");
        }
        return "\"" + value + "\" is not one of its items (" + items + ")";
    }
    if (edit.editor == ValueEditor::Text) {
        if (value.size() > edit.maxLength) {
            return "the text is longer than " + std::to_string(edit.maxLength) + " characters";
        }
        return {};
    }
    if (edit.editor != ValueEditor::Number) return "it has no values to choose from";
    const ValueTextCheck check = ValidateValueText(&command, value);
    if (check.accepted) return {};
    const std::string range = std::to_string(command.Min) + ".." + std::to_string(command.Max);
    if (!check.sliderPosition) return "\"" + value + "\" is not a decimal number in " + range;
    return value + " is outside " + range;
}

struct Assignment {
    ParameterRows::Ref ref;
    std::string value;
};

int RunSet(CliContext& context) {
    PortCommandOptions options;
    if (!ParsePortCommand(context, kUsage, {"--password"}, options)) return kCliExitUsage;
    if (OperandsMissing(options, kUsage, "give at least one \"Block/Row=VALUE\""))
        return kCliExitUsage;
    if (PasswordRefused(options.password)) return kCliExitFailed;
    const bool access = options.password.has_value();

    CliSession session(context);
    if (!session.Start()) return kCliExitUsage;
    if (!session.OpenForAccess(options.slot)) return kCliExitFailed;
    CVelterraDoc& doc = session.Doc();

    // Every assignment is checked before anything is written, so a mistake in one leaves the
    // camera untouched.
    std::vector<Assignment> assignments;
    bool allValid = true;
    for (const std::string& text : options.operands) {
        Assignment assignment;
        const auto ref = ParameterRows::FindAssignment(doc.Blocks, text, assignment.value);
        if (!ref) {
            std::cerr << "velterra-cli: \"" << text << "\" names no parameter of model "
                      << doc.ModelName << " (write \"Block/Row=VALUE\"; velterra-cli list shows "
                      << "the names)\n";
            allValid = false;
            continue;
        }
        assignment.ref = *ref;
        const CommandInfo& command = ParameterRows::Command(doc.Blocks, *ref);
        std::string problem;
        if (command.EnableAdvancedLevel == ParameterRows::kPasswordLevel && !access) {
            problem =
                "it is a password-level parameter and needs the access code (--password "
                "CODE)";
        } else {
            problem = CheckWrite(command, assignment.value);
        }
        if (!problem.empty()) {
            std::cerr << "velterra-cli: cannot set " << ParameterRows::Address(doc.Blocks, *ref)
                      << ": " << problem << '\n';
            allValid = false;
            continue;
        }
        assignments.push_back(assignment);
    }
    if (!allValid) return kCliExitFailed;

    bool allDone = true;
    for (const Assignment& a : assignments) {
        // The list the window would show at the row's own level, so that the commit couples
        // the line period and the exposure time as the window does.
        ParameterList list;
        const CommandInfo& command = ParameterRows::Command(doc.Blocks, a.ref);
        list.Rebuild(doc.Blocks, command.EnableAdvancedLevel);
        if (command.CommandID == kLinePeriodCommandId ||
            command.CommandID == kExposureTimeCommandId) {
            // The window's list shows what was read when the camera was opened; here the two
            // lines the pair's ratio comes from are read first.
            for (const int pairLine : {kLinePeriodListRow, kExposureTimeListRow}) {
                const auto pairRow = list.RowAt(pairLine);
                if (pairRow && !pairRow->IsGroup()) doc.ReadParameter(pairRow->block, pairRow->row);
            }
            list.Rebuild(doc.Blocks, command.EnableAdvancedLevel);
        }
        const auto line = list.ListRowOf(a.ref.block, a.ref.row);
        if (!line) {
            std::cerr << "velterra-cli: cannot set " << ParameterRows::Address(doc.Blocks, a.ref)
                      << ": its block lists no row of its level\n";
            allDone = false;
            continue;
        }
        const CommitOutcome outcome = CommitValueEdit(doc, list, *line, a.value);
        if (!outcome.written || outcome.failedReadBack) {
            allDone = false;
            continue;
        }
        std::cout << ParameterRows::Address(doc.Blocks, a.ref) << " = "
                  << list.CellText(*line, ParameterList::kValueColumn) << '\n';
        if (outcome.coupled) {
            const ParameterRows::Ref partner{outcome.coupled->block, outcome.coupled->row};
            std::cout << ParameterRows::Address(doc.Blocks, partner) << " = "
                      << ParameterRows::Command(doc.Blocks, partner).ValueText << '\n';
        }
        if (outcome.uiCommand && !outcome.uiCommandRun) {
            std::cerr << "velterra-cli: " << ParameterRows::Address(doc.Blocks, a.ref)
                      << " asks for window command " << *outcome.uiCommand
                      << " after its write, which the console cannot run\n";
        }
    }
    return allDone ? kCliExitOk : kCliExitFailed;
}

CliCommandRegistration registration("set", kUsage, &RunSet);

}  // namespace

}  // namespace velterra

#include <iostream>

#include "CliSession.h"
#include "Clock.h"
#include "ParameterRows.h"

// velterra-cli set --port PORT [--password CODE] "Block/Row=VALUE"...: writes each value after
// the parameter list's checks, reads it back and prints "Block/Row = value read back".
namespace {

constexpr const char* kUsage = "set --port PORT [--password CODE] \"Block/Row=VALUE\"...";
// The parameter list waits this long between a write and its read-back.
constexpr uint32_t kReadBackPauseMs = 10;

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
            problem = ParameterRows::CheckWrite(command, assignment.value);
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
        if (doc.WriteParameter(a.ref.block, a.ref.row, a.value) != 1) {
            allDone = false;
            continue;
        }
        doc.SetModifiedFlag(true);
        velterra::platform::SleepMs(kReadBackPauseMs);
        if (doc.ReadParameter(a.ref.block, a.ref.row) != 1) {
            allDone = false;
            continue;
        }
        std::cout << ParameterRows::Address(doc.Blocks, a.ref) << " = "
                  << ParameterRows::Command(doc.Blocks, a.ref).ValueText << '\n';
    }
    return allDone ? kCliExitOk : kCliExitFailed;
}

CliCommandRegistration registration("set", kUsage, &RunSet);

}  // namespace

#include <iostream>

#include "CliSession.h"
#include "ParameterRows.h"

namespace velterra {

// velterra-cli get --port PORT [--password CODE] "Block/Row"...: reads the named parameters from
// the camera and prints them as "Block/Row = value".
namespace {

constexpr const char* kUsage = "get --port PORT [--password CODE] \"Block/Row\"...";

int RunGet(CliContext& context) {
    PortCommandOptions options;
    if (!ParsePortCommand(context, kUsage, {"--password"}, options)) return kCliExitUsage;
    if (OperandsMissing(options, kUsage, "name at least one parameter")) return kCliExitUsage;
    if (PasswordRefused(options.password)) return kCliExitFailed;
    const bool access = options.password.has_value();

    CliSession session(context);
    if (!session.Start()) return kCliExitUsage;
    if (!session.OpenForAccess(options.slot)) return kCliExitFailed;
    CVelterraDoc& doc = session.Doc();

    // Every name is checked before anything is read.
    std::vector<ParameterRows::Ref> refs;
    bool namesOk = true;
    for (const std::string& address : options.operands) {
        const auto ref = ParameterRows::Find(doc.Blocks, address);
        if (!ref) {
            std::cerr << "velterra-cli: model " << doc.ModelName << " has no parameter \""
                      << address << "\" (velterra-cli list shows the names)\n";
            namesOk = false;
        } else if (ParameterRows::Command(doc.Blocks, *ref).EnableAdvancedLevel ==
                       ParameterRows::kPasswordLevel &&
                   !access) {
            std::cerr << "velterra-cli: " << address
                      << " is a password-level parameter; it needs the access code (--password "
                         "CODE)\n";
            namesOk = false;
        } else {
            refs.push_back(*ref);
        }
    }
    if (!namesOk) return kCliExitFailed;

    bool allRead = true;
    for (const auto& ref : refs) {
        if (doc.ReadParameter(ref.block, ref.row) != 1) {
            allRead = false;
            continue;
        }
        std::cout << ParameterRows::Address(doc.Blocks, ref) << " = "
                  << ParameterRows::Command(doc.Blocks, ref).ValueText << '\n';
    }
    return allRead ? kCliExitOk : kCliExitFailed;
}

CliCommandRegistration registration("get", kUsage, &RunGet);

}  // namespace

}  // namespace velterra

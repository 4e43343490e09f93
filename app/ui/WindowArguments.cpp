#include "WindowArguments.h"

#include <algorithm>

#include "core/PortSlot.h"

namespace velterra {

namespace {

bool ParseBaud(const std::string& text, uint32_t& baud) {
    if (text.empty() || text.size() > 9 ||
        !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        return false;
    }
    baud = static_cast<uint32_t>(std::stoul(text));
    return baud > 0;
}

// Qt's own options that take a value; they reach QApplication as they stand.
bool IsToolkitOptionWithValue(const std::string& arg) {
    static const char* const kOptions[] = {"-platform",     "-display",     "-geometry",
                                           "-style",        "-stylesheet",  "-qwindowgeometry",
                                           "-qwindowtitle", "-qwindowicon", "-platformpluginpath",
                                           "-platformtheme"};
    return std::any_of(std::begin(kOptions), std::end(kOptions),
                       [&arg](const char* option) { return arg == option; });
}

WindowArguments Usage(std::string problem) {
    WindowArguments result;
    result.request = WindowArguments::Request::Usage;
    result.problem = std::move(problem);
    return result;
}

}  // namespace

WindowArguments WindowArguments::Parse(const std::vector<std::string>& args) {
    WindowArguments result;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--help" || arg == "-h") {
            result.request = Request::Help;
            return result;
        }
        if (arg == "--version") {
            result.request = Request::Version;
            return result;
        }
        if (arg == "--lut-functions") {
            result.lutFunctions = true;
            continue;
        }
        if (arg == "--dir" || arg == "--port" || arg == "--baud") {
            if (i + 1 >= args.size()) return Usage("option " + arg + " needs a value");
            const std::string& value = args[++i];
            if (arg == "--dir") {
                result.startupDirectory = value;
            } else if (arg == "--port") {
                const auto slot = PortSlot::Parse(value);
                if (!slot) {
                    return Usage("unknown port \"" + value + "\" (COM1..COM4, clser-0..clser-5)");
                }
                result.slot = *slot;
            } else if (!ParseBaud(value, result.baudRate)) {
                return Usage("--baud needs a positive number, not \"" + value + "\"");
            }
            continue;
        }
        if (IsToolkitOptionWithValue(arg)) {
            ++i;
            continue;
        }
        if (arg.size() > 1 && arg[0] == '-' && arg[1] == '-') {
            return Usage("unknown option " + arg);
        }
        if (arg.size() > 1 && arg[0] == '-') continue;  // a toolkit flag such as -reverse
        if (!result.settingsFile.empty()) {
            return Usage("one settings file only, not also \"" + arg + "\"");
        }
        result.settingsFile = arg;
    }
    return result;
}

}  // namespace velterra

#include "CamsimArguments.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <functional>
#include <map>

namespace velterra::sim {

namespace {

bool ParseWhole(const std::string& text, long long low, long long high, long long& value) {
    if (text.empty()) return false;
    errno = 0;
    char* end = nullptr;
    const long long parsed = std::strtoll(text.c_str(), &end, 10);
    if (errno != 0 || *end != '\0' || parsed < low || parsed > high) return false;
    value = parsed;
    return true;
}

// A command id, decimal or "0x" hexadecimal, 0 to 255.
bool ParseCommandId(const std::string& text, int& value) {
    const bool hex = text.size() > 2 && (text.rfind("0x", 0) == 0 || text.rfind("0X", 0) == 0);
    const std::string digits = hex ? text.substr(2) : text;
    if (digits.empty() || digits.find_first_of("+- ") != std::string::npos) return false;
    errno = 0;
    char* end = nullptr;
    const long parsed = std::strtol(digits.c_str(), &end, hex ? 16 : 10);
    if (errno != 0 || *end != '\0' || parsed < 0 || parsed > 255) return false;
    value = static_cast<int>(parsed);
    return true;
}

bool ParseRate(const std::string& text, double& value) {
    if (text.empty()) return false;
    errno = 0;
    char* end = nullptr;
    const double parsed = std::strtod(text.c_str(), &end);
    if (errno != 0 || *end != '\0' || !(parsed >= 0.0 && parsed <= 1.0)) return false;
    value = parsed;
    return true;
}

}  // namespace

bool ParseCamsimArguments(const std::vector<std::string>& args, CamsimArguments& out,
                          std::string* error) {
    auto fail = [error](std::string reason) {
        if (error) *error = std::move(reason);
        return false;
    };
    SimulatorOptions& o = out.options;
    auto whole = [](long long low, long long high, auto set) {
        return [=](const std::string& v) {
            long long n = 0;
            if (!ParseWhole(v, low, high, n)) return false;
            set(n);
            return true;
        };
    };
    auto rate = [](double& target) {
        return [&target](const std::string& v) { return ParseRate(v, target); };
    };
    auto text = [](std::string& target) {
        return [&target](const std::string& v) {
            target = v;
            return !v.empty();
        };
    };
    const std::map<std::string, std::pair<std::function<bool(const std::string&)>, const char*>>
        options = {
            {"--dir", {text(o.configDir), "a folder"}},
            {"--model", {text(o.model), "a model name"}},
            {"--kernel",
             {whole(0, 1, [&](long long n) { o.kernel = static_cast<int>(n); }), "0 or 1"}},
            {"--link", {text(out.link), "a path"}},
            {"--log", {text(o.logFile), "a file"}},
            {"--values", {text(o.valuesFile), "a file"}},
            {"--seed",
             {whole(0, LLONG_MAX, [&](long long n) { o.seed = static_cast<uint64_t>(n); }),
              "a whole number"}},
            {"--busy-ms",
             {whole(0, INT_MAX, [&](long long n) { o.busyMs = static_cast<int>(n); }),
              "milliseconds"}},
            {"--delay-ms",
             {whole(0, INT_MAX, [&](long long n) { o.delayMs = static_cast<int>(n); }),
              "milliseconds"}},
            {"--unplug-after",
             {whole(0, INT_MAX, [&](long long n) { o.unplugAfter = static_cast<int>(n); }),
              "a number of frames"}},
            {"--nak-rate", {rate(o.nakRate), "a rate from 0 to 1"}},
            {"--drop-rate", {rate(o.dropRate), "a rate from 0 to 1"}},
            {"--garbage-rate", {rate(o.garbageRate), "a rate from 0 to 1"}},
            {"--short-rate", {rate(o.shortRate), "a rate from 0 to 1"}},
            {"--fault-id",
             {[&](const std::string& v) { return ParseCommandId(v, o.faultCommandId); },
              "a command id from 0 to 0xFF"}},
        };
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string name = args[i];
        if (name == "--help" || name == "-h") {
            out.help = true;
            return true;
        }
        std::string value;
        bool inlineValue = false;
        if (const auto eq = name.find('='); name.rfind("--", 0) == 0 && eq != std::string::npos) {
            value = name.substr(eq + 1);
            name = name.substr(0, eq);
            inlineValue = true;
        }
        const auto it = options.find(name);
        if (it == options.end()) return fail("Unknown option " + name + ".");
        if (!inlineValue) {
            if (i + 1 >= args.size()) return fail("Option " + name + " needs a value.");
            value = args[++i];
        }
        if (!it->second.first(value)) {
            return fail("Option " + name + " needs " + it->second.second + ", not \"" + value +
                        "\".");
        }
    }
    if (o.model.empty()) return fail("Option --model is required.");
    return true;
}

}  // namespace velterra::sim

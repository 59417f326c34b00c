#include "SimOptions.h"

#include <cmath>
#include <cstdlib>
#include <functional>
#include <map>

namespace {

bool ToNumber(const std::string& text, double low, double high, double& value) {
    if (text.empty()) {
        return false;
    }
    char* end = nullptr;
    const double parsed = std::strtod(text.c_str(), &end);
    if (end == nullptr || *end != '\0' || !std::isfinite(parsed) || parsed < low || parsed > high) {
        return false;
    }
    value = parsed;
    return true;
}

bool ToInteger(const std::string& text, long low, long high, long& value) {
    if (text.empty()) {
        return false;
    }
    char* end = nullptr;
    const long parsed = std::strtol(text.c_str(), &end, 0); // 0x100 accepted
    if (end == nullptr || *end != '\0' || parsed < low || parsed > high) {
        return false;
    }
    value = parsed;
    return true;
}

using TSetter = std::function<bool(const std::string&, TSimProgramOptions&)>;

const std::map<std::string, TSetter>& ValueOptions() {
    static const std::map<std::string, TSetter> options = {
        {"--port",
         [](const std::string& v, TSimProgramOptions& o) {
             long n = 0;
             return ToInteger(v, 1, 255, n) && ((o.Port = static_cast<int>(n)), true);
         }},
        {"--port-dir",
         [](const std::string& v, TSimProgramOptions& o) {
             return !v.empty() && ((o.PortDirectory = v), true);
         }},
        {"--lambda",
         [](const std::string& v, TSimProgramOptions& o) {
             o.Config.Live.Sweep = false;
             return ToNumber(v, 0.0, 65.535, o.Config.Live.Lambda);
         }},
        {"--warmup",
         [](const std::string& v, TSimProgramOptions& o) {
             return ToNumber(v, 0.0, 86400.0, o.Config.Live.WarmupSeconds);
         }},
        {"--volts",
         [](const std::string& v, TSimProgramOptions& o) {
             return ToNumber(v, 0.0, 15.9, o.Config.Live.SupplyVolts);
         }},
        {"--cal",
         [](const std::string& v, TSimProgramOptions& o) {
             long n = 0;
             return ToInteger(v, 0, 65535, n) && ((o.Config.Cal = static_cast<uint16_t>(n)), true);
         }},
        {"--firmware",
         [](const std::string& v, TSimProgramOptions& o) {
             long n = 0;
             return ToInteger(v, 0, 255, n) &&
                    ((o.Config.Firmware = static_cast<uint8_t>(n)), true);
         }},
        {"--can-address",
         [](const std::string& v, TSimProgramOptions& o) {
             long n = 0;
             return ToInteger(v, 0, 2047, n) &&
                    ((o.Config.CanAddress = static_cast<uint16_t>(n)), true);
         }},
        {"--can-speed",
         [](const std::string& v, TSimProgramOptions& o) {
             long n = 0;
             return ToInteger(v, 0, 255, n) &&
                    ((o.Config.CanSpeed = static_cast<uint8_t>(n)), true);
         }},
        {"--link-dir",
         [](const std::string& v, TSimProgramOptions& o) {
             return !v.empty() && ((o.Config.DeviceLinks = v), true);
         }},
        {"--record",
         [](const std::string& v, TSimProgramOptions& o) {
             return !v.empty() && ((o.RecordPath = v), true);
         }},
        {"--scenario",
         [](const std::string& v, TSimProgramOptions& o) {
             const auto after = o.Config.Scenario.DisconnectAfter;
             auto scenario = ScenarioByName(v);
             if (!scenario) {
                 return false;
             }
             if (after && scenario->DisconnectAfter) {
                 scenario->DisconnectAfter = after; // --disconnect-after given first
             }
             o.Config.Scenario = *scenario;
             return true;
         }},
        {"--disconnect-after",
         [](const std::string& v, TSimProgramOptions& o) {
             double seconds = 0;
             if (!ToNumber(v, 0.0, 86400.0, seconds)) {
                 return false;
             }
             o.Config.Scenario.DisconnectAfter =
                 std::chrono::milliseconds(static_cast<long long>(std::llround(seconds * 1000)));
             return true;
         }},
    };
    return options;
}

} // namespace

TSimProgramOptions DefaultSimProgramOptions() {
    TSimProgramOptions options;
    options.Config.Live.Sweep = true;
    options.Config.Live.WarmupSeconds = 3.0;
    options.Config.Live.SupplyVolts = 13.8;
    options.Config.Cal = 1000;
    options.Config.Firmware = 12;
    options.Config.CanAddress = 0x100;
    options.Config.CanSpeed = 1;
    return options;
}

bool ParseSimOptions(const std::vector<std::string>& args, TSimProgramOptions& options,
                     std::string& error) {
    for (size_t i = 0; i < args.size(); ++i) {
        std::string name = args[i];
        std::string value;
        bool hasValue = false;
        if (const size_t eq = name.find('='); name.rfind("--", 0) == 0 && eq != std::string::npos) {
            value = name.substr(eq + 1);
            name = name.substr(0, eq);
            hasValue = true;
        }
        if (name == "--help" || name == "-h") {
            options.Help = true;
            continue;
        }
        if (name == "--sweep" && !hasValue) {
            options.Config.Live.Sweep = true;
            continue;
        }
        if (name == "--numbered" && !hasValue) {
            options.Config.Live.Numbered = true;
            continue;
        }
        if (name == "--cycle" && !hasValue) {
            options.Cycle = true;
            continue;
        }
        if (name == "--renumber" && !hasValue) {
            options.Config.Renumber = true;
            continue;
        }
        const auto& known = ValueOptions();
        const auto it = known.find(name);
        if (it == known.end()) {
            error = "unknown option " + args[i];
            return false;
        }
        if (!hasValue) {
            if (i + 1 >= args.size()) {
                error = "option " + name + " needs a value";
                return false;
            }
            value = args[++i];
        }
        if (!it->second(value, options)) {
            error = "bad value for " + name + ": '" + value + "'";
            return false;
        }
    }
    return true;
}

std::string SimUsage(const std::string& program) {
    return "usage: " + program +
           " [--port N] [--port-dir DIR] [--lambda X | --sweep] [--warmup SECONDS]\n"
           "       [--volts V] [--cal C] [--firmware B] [--can-address A] [--can-speed CODE]\n"
           "       [--scenario " +
           ScenarioNames() +
           "] [--disconnect-after SECONDS]\n"
           "       [--numbered] [--cycle] [--renumber] [--link-dir DIR] [--record FILE]\n"
           "Simulates a WBX4100 controller on a pseudo-terminal published as COM<N> (default\n"
           "COM1) in the port directory, until interrupted.\n"
           "  --numbered     lambda counts the live replies (raw 1, 2, 3, ...)\n"
           "  --cycle        round of 8 s normal, 8 s stray bytes, 8 s split replies, 4 s "
           "silence,\n"
           "                 4 s unplugged, over and over\n"
           "  --renumber     come back after an unplug under a new /dev/pts number, as a USB\n"
           "                 adapter does\n"
           "  --link-dir DIR keep a link to the line in DIR/by-path, named as an adapter's\n"
           "                 socket, as /dev/serial/by-path does\n"
           "  --record FILE  one line per request, whole reply, phase, disconnect, reappearance\n";
}

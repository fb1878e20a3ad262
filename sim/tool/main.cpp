// ZntSimSetup: loads and unloads the simulated wheel driver, sets up its
// wheels and their registry entries, scripts its report and shows its log.
// Exit code 0 on success, 1 on failure (with a message).
#include <windows.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "sim/sim_client.h"
#include "sim/sim_setup.h"
#include "sim/sim_wheels.h"

namespace {

using namespace zentra::sim;

const char kUsage[] =
    "usage: ZntSimSetup COMMAND\n"
    "  start [DRIVER.sys]            register the driver as the service " SIM_SERVICE_NAME " and start it\n"
    "                                (default: " SIM_DRIVER_FILE " beside this program)\n"
    "  stop                          remove the wheels' registry entries, stop and delete the service\n"
    "  wheels N [--emulation K|none] set up wheels 0..N-1 and their registry entries;\n"
    "                                \"Emulation\" names wheel K's link (default 0)\n"
    "  remove                        remove every wheel and its registry entries\n"
    "  status                        the driver's version, wheels and log size\n"
    "  log [--raw DIR]               the requests that arrived on the wheels; with --raw, also\n"
    "                                each request's input bytes as DIR\\<sequence>-w<wheel>-<code>.bin\n"
    "  clear                         empty the log\n"
    "  report HEX34                  the 17-byte report the wheels answer from now on\n"
    "  sweep [SECONDS]               turn the wheel full left and right and press both pedals\n"
    "                                over SECONDS (default 4), then leave it at rest\n";

int usage() {
    fputs(kUsage, stderr);
    return 1;
}

int failed(const std::string& message) {
    fprintf(stderr, "ZntSimSetup: %s\n", message.c_str());
    return 1;
}

bool parseNumber(const char* text, int& value) {
    char* end = nullptr;
    long number = strtol(text, &end, 10);
    if (!*text || *end || number < 0 || number > 1000) return false;
    value = static_cast<int>(number);
    return true;
}

const char* codeName(uint32_t code) {
    switch (code) {
    case SIM_CODE_PARAMETER_BLOCK: return "parameter block";
    case SIM_CODE_EMULATION_SWITCH: return "emulation switch";
    case SIM_CODE_WHEEL_REPORT: return "wheel report";
    case SIM_CODE_LINK_START: return "link start";
    case SIM_CODE_LINK_WINDOW: return "link window";
    case SIM_CODE_LINK_END: return "link end";
    default: return "unknown code";
    }
}

bool openClient(SimClient& client, std::string& error) {
    if (client.open()) return true;
    error = client.error();
    return false;
}

int commandWheels(int argc, char** argv) {
    if (argc != 3 && argc != 5) return usage();
    int count = 0, emulation = 0;
    if (!parseNumber(argv[2], count)) return usage();
    if (argc == 5) {
        if (strcmp(argv[3], "--emulation") != 0) return usage();
        if (strcmp(argv[4], "none") == 0)
            emulation = -1;
        else if (!parseNumber(argv[4], emulation))
            return usage();
    }
    if (count == 0 && argc == 3) emulation = -1;
    std::string error;
    if (!configureWheels(count, emulation, error)) return failed(error);
    for (int i = 0; i < count; ++i)
        printf("wheel %d: %s%s\n", i, simLinkName(i).c_str(), i == emulation ? "  (emulation)" : "");
    if (count == 0) printf("no wheel\n");
    return 0;
}

int commandStatus() {
    SimClient client;
    SimStatus status = {};
    std::string error;
    if (!openClient(client, error)) return failed(error);
    if (!client.status(status)) return failed(client.error());
    printf("protocol %08X, %u wheels", static_cast<unsigned>(status.version),
           static_cast<unsigned>(status.wheelCount));
    for (unsigned i = 0; i < SIM_MAX_WHEELS; ++i)
        if (status.wheelMask & (1u << i)) printf(" %u", i);
    printf(", log %u of %u entries, %u dropped\n", static_cast<unsigned>(status.logCount),
           static_cast<unsigned>(status.logCapacity), static_cast<unsigned>(status.logDropped));
    return 0;
}

// Writes each entry's input bytes to its own file in `dir`.
bool writeRawEntries(const std::vector<SimLogEntry>& entries, const std::string& dir, std::string& error) {
    CreateDirectoryA(dir.c_str(), nullptr);
    for (const SimLogEntry& e : entries) {
        char name[64];
        snprintf(name, sizeof name, "\\%04u-w%u-%X.bin", static_cast<unsigned>(e.sequence),
                 static_cast<unsigned>(e.wheel), static_cast<unsigned>(e.code));
        const std::string path = dir + name;
        HANDLE f = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        DWORD put = 0;
        const bool ok = f != INVALID_HANDLE_VALUE && WriteFile(f, e.input, e.storedLength, &put, nullptr) &&
                        put == e.storedLength;
        if (f != INVALID_HANDLE_VALUE) CloseHandle(f);
        if (!ok) {
            error = "cannot write " + path;
            return false;
        }
    }
    return true;
}

int commandLog(const char* rawDir) {
    SimClient client;
    std::vector<SimLogEntry> entries;
    std::string error;
    if (!openClient(client, error)) return failed(error);
    SimLogCount count = {};
    if (!client.logCount(count) || !client.log(entries)) return failed(client.error());
    if (count.dropped) printf("(%u older entries dropped)\n", static_cast<unsigned>(count.dropped));
    for (const SimLogEntry& e : entries) {
        printf("#%-4u wheel %u  code 0x%06X %-16s in %4u  out %2u  -> ", static_cast<unsigned>(e.sequence),
               static_cast<unsigned>(e.wheel), static_cast<unsigned>(e.code), codeName(e.code),
               static_cast<unsigned>(e.inputLength), static_cast<unsigned>(e.outputLength));
        if (e.status == 0)
            printf("%2u bytes", static_cast<unsigned>(e.information));
        else
            printf("status %08X", static_cast<unsigned>(e.status));
        if (e.storedLength) {
            printf("  |");
            uint32_t shown = e.storedLength < 16 ? e.storedLength : 16;
            for (uint32_t i = 0; i < shown; ++i) printf(" %02x", e.input[i]);
            if (shown < e.storedLength) printf(" ...");
        }
        printf("\n");
    }
    printf("%zu entries\n", entries.size());
    if (rawDir && !writeRawEntries(entries, rawDir, error)) return failed(error);
    return 0;
}

int commandSweep(const char* seconds) {
    int length = 4;
    if (seconds && (!parseNumber(seconds, length) || length == 0)) return usage();
    SimClient client;
    std::string error;
    if (!openClient(client, error)) return failed(error);
    const int steps = length * 50;  // a report every 20 ms
    uint8_t report[SIM_WHEEL_REPORT_SIZE];
    for (int step = 0; step <= steps; ++step) {
        sweepReport(step, steps, report);
        if (!client.setReport(report)) return failed(client.error());
        if (step < steps) Sleep(20);
    }
    printf("swept for %d s; the wheel is at rest\n", length);
    return 0;
}

int commandReport(const char* hex) {
    std::string digits;
    for (const char* p = hex; *p; ++p) {
        if (*p == ' ' || *p == ':' || *p == '-') continue;
        if (!isxdigit(static_cast<unsigned char>(*p))) return usage();
        digits += *p;
    }
    if (digits.size() != 2 * SIM_WHEEL_REPORT_SIZE) return failed("the report needs 34 hex digits (17 bytes)");
    uint8_t report[SIM_WHEEL_REPORT_SIZE];
    for (size_t i = 0; i < SIM_WHEEL_REPORT_SIZE; ++i)
        report[i] = static_cast<uint8_t>(strtoul(digits.substr(2 * i, 2).c_str(), nullptr, 16));
    SimClient client;
    std::string error;
    if (!openClient(client, error)) return failed(error);
    if (!client.setReport(report)) return failed(client.error());
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return usage();
    const std::string command = argv[1];
    std::string error;
    if (command == "start" && argc <= 3) {
        if (!startDriver(error, argc == 3 ? argv[2] : "")) return failed(error);
        printf("the service " SIM_SERVICE_NAME " runs the simulated wheel driver\n");
        return 0;
    }
    if (command == "stop" && argc == 2) {
        if (!stopDriver(error)) return failed(error);
        printf("the service " SIM_SERVICE_NAME " is stopped and deleted\n");
        return 0;
    }
    if (command == "wheels") return commandWheels(argc, argv);
    if (command == "remove" && argc == 2) {
        if (!removeWheels(error)) return failed(error);
        return 0;
    }
    if (command == "status" && argc == 2) return commandStatus();
    if (command == "log" && argc == 2) return commandLog(nullptr);
    if (command == "log" && argc == 4 && strcmp(argv[2], "--raw") == 0) return commandLog(argv[3]);
    if (command == "sweep" && argc <= 3) return commandSweep(argc == 3 ? argv[2] : nullptr);
    if (command == "clear" && argc == 2) {
        SimClient client;
        if (!openClient(client, error)) return failed(error);
        if (!client.clearLog()) return failed(client.error());
        return 0;
    }
    if (command == "report" && argc == 3) return commandReport(argv[2]);
    return usage();
}

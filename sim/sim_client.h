// Tests' access to the simulated wheel driver through its control device:
// wheels, scripted answers and the log of what arrived on the wheels' links.
// Every call returns false on failure and leaves the reason in error().
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "sim/sim_protocol.h"

namespace zentra::sim {

class SimClient {
public:
    SimClient() = default;
    ~SimClient();
    SimClient(const SimClient&) = delete;
    SimClient& operator=(const SimClient&) = delete;

    // Opens the control device; fails with a message saying so when the
    // driver is not loaded.
    bool open();
    bool isOpen() const { return handle_ != INVALID_HANDLE_VALUE; }
    void close();
    const std::string& error() const { return error_; }

    bool status(SimStatus& status);
    bool addWheel(uint32_t index, const std::string& linkName);
    bool removeWheels();

    bool clearLog();
    bool logCount(SimLogCount& count);
    // Every entry kept, oldest first.
    bool log(std::vector<SimLogEntry>& entries);

    // The report that the report code answers from now on.
    bool setReport(const uint8_t (&report)[SIM_WHEEL_REPORT_SIZE]);
    // The report the wheels answer now.
    bool getReport(uint8_t (&report)[SIM_WHEEL_REPORT_SIZE]);
    // The result word that `code` answers from now on (and success).
    bool setResult(uint32_t code, uint32_t value);
    // `code` fails from now on with the NTSTATUS `ntStatus`.
    bool setFailure(uint32_t code, uint32_t ntStatus);
    // Every code answers SIM_DEFAULT_RESULT again; the report is at rest.
    bool resetAnswers();

private:
    bool control(uint32_t code, const void* input, DWORD inputSize, void* output, DWORD outputSize,
                 DWORD* returned = nullptr);
    bool fail(const std::string& what, DWORD error);

    HANDLE handle_ = INVALID_HANDLE_VALUE;
    std::string error_;
};

// The text of a Win32 error code, with its number.
std::string simErrorText(DWORD error);

}  // namespace zentra::sim

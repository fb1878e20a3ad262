#include "sim/sim_client.h"

#include <cstdio>
#include <cstring>

namespace zentra::sim {

std::string simErrorText(DWORD error) {
    char text[512] = {};
    DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0,
                                  text, sizeof text, nullptr);
    while (length && (text[length - 1] == '\n' || text[length - 1] == '\r' || text[length - 1] == ' '))
        text[--length] = 0;
    std::string result = "error " + std::to_string(error);
    if (length) result += ": " + std::string(text, length);
    return result;
}

SimClient::~SimClient() { close(); }

void SimClient::close() {
    if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
    handle_ = INVALID_HANDLE_VALUE;
}

bool SimClient::fail(const std::string& what, DWORD error) {
    error_ = what + " (" + simErrorText(error) + ")";
    return false;
}

bool SimClient::open() {
    close();
    handle_ = CreateFileA(SIM_CONTROL_LINK, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                          OPEN_EXISTING, 0, nullptr);
    if (handle_ == INVALID_HANDLE_VALUE)
        return fail(std::string("the simulated wheel driver is not loaded: ") + SIM_CONTROL_LINK +
                        " does not open; run ZntSimSetup start",
                    GetLastError());
    error_.clear();
    return true;
}

bool SimClient::control(uint32_t code, const void* input, DWORD inputSize, void* output, DWORD outputSize,
                        DWORD* returned) {
    if (!isOpen()) {
        error_ = "the simulated wheel's control device is not open";
        return false;
    }
    DWORD bytes = 0;
    if (!DeviceIoControl(handle_, code, const_cast<void*>(input), inputSize, output, outputSize, &bytes, nullptr)) {
        char name[16];
        snprintf(name, sizeof name, "0x%08X", static_cast<unsigned>(code));
        return fail(std::string("control code ") + name + " of the simulated wheel failed", GetLastError());
    }
    if (returned) *returned = bytes;
    return true;
}

bool SimClient::status(SimStatus& status) {
    DWORD bytes = 0;
    if (!control(SIM_CTL_GET_STATUS, nullptr, 0, &status, sizeof status, &bytes)) return false;
    if (bytes != sizeof status) {
        error_ = "the simulated wheel's status came back with " + std::to_string(bytes) + " bytes";
        return false;
    }
    return true;
}

bool SimClient::addWheel(uint32_t index, const std::string& linkName) {
    SimAddWheel request = {};
    if (linkName.size() > SIM_MAX_LINK_NAME) {
        error_ = "link name too long: " + linkName;
        return false;
    }
    request.index = index;
    memcpy(request.linkName, linkName.data(), linkName.size());
    if (control(SIM_CTL_ADD_WHEEL, &request, sizeof request, nullptr, 0)) return true;
    error_ = "adding wheel " + std::to_string(index) + " at " + linkName + ": " + error_;
    return false;
}

bool SimClient::removeWheels() { return control(SIM_CTL_REMOVE_WHEELS, nullptr, 0, nullptr, 0); }

bool SimClient::clearLog() { return control(SIM_CTL_CLEAR_LOG, nullptr, 0, nullptr, 0); }

bool SimClient::logCount(SimLogCount& count) {
    return control(SIM_CTL_GET_LOG_COUNT, nullptr, 0, &count, sizeof count);
}

bool SimClient::log(std::vector<SimLogEntry>& entries) {
    entries.clear();
    SimLogCount count = {};
    if (!logCount(count)) return false;
    entries.resize(count.count);
    for (uint32_t i = 0; i < count.count; ++i) {
        DWORD bytes = 0;
        if (!control(SIM_CTL_GET_LOG_ENTRY, &i, sizeof i, &entries[i], sizeof entries[i], &bytes)) {
            entries.clear();
            return false;
        }
        if (bytes != sizeof(SimLogEntry)) {
            entries.clear();
            error_ = "log entry " + std::to_string(i) + " came back with " + std::to_string(bytes) + " bytes";
            return false;
        }
    }
    return true;
}

bool SimClient::setReport(const uint8_t (&report)[SIM_WHEEL_REPORT_SIZE]) {
    return control(SIM_CTL_SET_REPORT, report, sizeof report, nullptr, 0);
}

bool SimClient::getReport(uint8_t (&report)[SIM_WHEEL_REPORT_SIZE]) {
    DWORD returned = 0;
    if (!control(SIM_CTL_GET_REPORT, nullptr, 0, report, sizeof report, &returned)) return false;
    if (returned != sizeof report) {
        error_ = "the driver answered " + std::to_string(returned) + " report bytes";
        return false;
    }
    return true;
}

bool SimClient::setResult(uint32_t code, uint32_t value) {
    SimAnswer answer = {code, value, 0};
    return control(SIM_CTL_SET_ANSWER, &answer, sizeof answer, nullptr, 0);
}

bool SimClient::setFailure(uint32_t code, uint32_t ntStatus) {
    SimAnswer answer = {code, SIM_DEFAULT_RESULT, ntStatus};
    return control(SIM_CTL_SET_ANSWER, &answer, sizeof answer, nullptr, 0);
}

bool SimClient::resetAnswers() { return control(SIM_CTL_RESET_ANSWERS, nullptr, 0, nullptr, 0); }

}  // namespace zentra::sim

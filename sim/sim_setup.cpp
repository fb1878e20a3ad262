#include "sim/sim_setup.h"

#include <windows.h>

#include <cstring>
#include <vector>

#include "sim/sim_client.h"
#include "sim/sim_protocol.h"
#include "sim/sim_wheels.h"

namespace zentra::sim {

namespace {

constexpr DWORD kServiceWaitMs = 20000;

bool fail(std::string& error, const std::string& what, DWORD code) {
    error = what + " (" + simErrorText(code) + ")";
    return false;
}

class ScHandle {
public:
    explicit ScHandle(SC_HANDLE handle = nullptr) : handle_(handle) {}
    ~ScHandle() {
        if (handle_) CloseServiceHandle(handle_);
    }
    ScHandle(const ScHandle&) = delete;
    ScHandle& operator=(const ScHandle&) = delete;
    SC_HANDLE get() const { return handle_; }

private:
    SC_HANDLE handle_;
};

class Key {
public:
    Key() = default;
    ~Key() {
        if (key_) RegCloseKey(key_);
    }
    Key(const Key&) = delete;
    Key& operator=(const Key&) = delete;
    HKEY* out() { return &key_; }
    HKEY get() const { return key_; }

private:
    HKEY key_ = nullptr;
};

// Waits until the service leaves its pending state; true when it reached `wanted`.
bool waitForState(SC_HANDLE service, DWORD wanted, SERVICE_STATUS& status) {
    DWORD waited = 0;
    for (;;) {
        if (!QueryServiceStatus(service, &status)) return false;
        if (status.dwCurrentState == wanted) return true;
        bool pending = status.dwCurrentState == SERVICE_START_PENDING ||
                       status.dwCurrentState == SERVICE_STOP_PENDING ||
                       status.dwCurrentState == SERVICE_CONTINUE_PENDING ||
                       status.dwCurrentState == SERVICE_PAUSE_PENDING;
        if (!pending || waited >= kServiceWaitMs) return false;
        Sleep(50);
        waited += 50;
    }
}

std::string stateName(DWORD state) {
    switch (state) {
    case SERVICE_STOPPED: return "stopped";
    case SERVICE_START_PENDING: return "starting";
    case SERVICE_STOP_PENDING: return "stopping";
    case SERVICE_RUNNING: return "running";
    default: return "in state " + std::to_string(state);
    }
}

// A REG_SZ value holding the text's bytes without a terminator. When the
// byte after the counted ones is a NUL, RegSetValueExA counts that
// terminator in (NT does so, and Wine with it); a byte other than NUL there
// keeps the stored value to the text alone.
bool setString(const std::string& keyPath, const char* name, const std::string& text, std::string& error) {
    Key key;
    LONG rc = RegCreateKeyExA(HKEY_LOCAL_MACHINE, keyPath.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, key.out(),
                              nullptr);
    if (rc != ERROR_SUCCESS) return fail(error, "cannot create HKLM\\" + keyPath, rc);
    const std::string unterminated = text + '\x01';
    rc = RegSetValueExA(key.get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(unterminated.data()),
                        static_cast<DWORD>(text.size()));
    if (rc != ERROR_SUCCESS) return fail(error, "cannot write \"" + std::string(name) + "\" in HKLM\\" + keyPath, rc);
    return true;
}

bool setDword(const std::string& keyPath, const char* name, DWORD value, std::string& error) {
    Key key;
    LONG rc = RegCreateKeyExA(HKEY_LOCAL_MACHINE, keyPath.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, key.out(),
                              nullptr);
    if (rc != ERROR_SUCCESS) return fail(error, "cannot create HKLM\\" + keyPath, rc);
    rc = RegSetValueExA(key.get(), name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
    if (rc != ERROR_SUCCESS) return fail(error, "cannot write \"" + std::string(name) + "\" in HKLM\\" + keyPath, rc);
    return true;
}

// Counts of the subkeys and values of a key; false when it does not open.
bool keyCounts(const std::string& keyPath, DWORD& subkeys, DWORD& values) {
    Key key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, keyPath.c_str(), 0, KEY_READ, key.out()) != ERROR_SUCCESS) return false;
    return RegQueryInfoKeyA(key.get(), nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, &values, nullptr,
                            nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

bool deleteTree(const std::string& keyPath, std::string& error) {
    LONG rc = RegDeleteTreeA(HKEY_LOCAL_MACHINE, keyPath.c_str());
    if (rc != ERROR_SUCCESS && rc != ERROR_FILE_NOT_FOUND) return fail(error, "cannot delete HKLM\\" + keyPath, rc);
    return true;
}

// Deletes a key when nothing is left in it.
bool deleteIfEmpty(const std::string& keyPath, std::string& error) {
    DWORD subkeys = 0, values = 0;
    if (!keyCounts(keyPath, subkeys, values) || subkeys || values) return true;
    return deleteTree(keyPath, error);
}

// Deletes the subkeys of `keyPath` whose names start with `start` (in any
// letter case), with everything below them.
bool deleteSubkeysStarting(const std::string& keyPath, const char* start, std::string& error) {
    std::vector<std::string> doomed;
    {
        Key key;
        LONG rc = RegOpenKeyExA(HKEY_LOCAL_MACHINE, keyPath.c_str(), 0, KEY_READ, key.out());
        if (rc == ERROR_FILE_NOT_FOUND) return true;
        if (rc != ERROR_SUCCESS) return fail(error, "cannot open HKLM\\" + keyPath, rc);
        size_t startLength = strlen(start);
        for (DWORD i = 0;; ++i) {
            char name[256];
            DWORD length = sizeof name;
            rc = RegEnumKeyExA(key.get(), i, name, &length, nullptr, nullptr, nullptr, nullptr);
            if (rc == ERROR_NO_MORE_ITEMS) break;
            if (rc != ERROR_SUCCESS) return fail(error, "cannot list HKLM\\" + keyPath, rc);
            if (length >= startLength && _strnicmp(name, start, startLength) == 0) doomed.emplace_back(name, length);
        }
    }
    for (const std::string& name : doomed)
        if (!deleteTree(keyPath + "\\" + name, error)) return false;
    return true;
}

bool checkCounts(int count, int emulationWheel, std::string& error) {
    if (count < 0 || count > kSimMaxWheels) {
        error = "the wheel count must be 0 to " + std::to_string(kSimMaxWheels) + ", not " + std::to_string(count);
        return false;
    }
    if (emulationWheel < -1 || emulationWheel >= count) {
        error = "the emulation wheel must be one of the " + std::to_string(count) + " wheels or none, not " +
                std::to_string(emulationWheel);
        return false;
    }
    return true;
}

// Opens the control device and checks that the loaded driver speaks this protocol.
bool openDriver(SimClient& client, std::string& error) {
    SimStatus status = {};
    if (!client.open() || !client.status(status)) {
        error = client.error();
        return false;
    }
    if (status.version != SIM_PROTOCOL_VERSION) {
        char text[96];
        snprintf(text, sizeof text, "the loaded simulated wheel driver has protocol %08X, this program %08X",
                 static_cast<unsigned>(status.version), static_cast<unsigned>(SIM_PROTOCOL_VERSION));
        error = std::string(text) + "; run ZntSimSetup stop, then start";
        return false;
    }
    return true;
}

}  // namespace

std::string defaultDriverPath() {
    char path[MAX_PATH];
    DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
    if (!length || length >= sizeof path) return SIM_DRIVER_FILE;
    std::string text(path, length);
    size_t slash = text.find_last_of("\\/");
    return (slash == std::string::npos ? std::string() : text.substr(0, slash + 1)) + SIM_DRIVER_FILE;
}

bool startDriver(std::string& error, const std::string& driverPath) {
    std::string path = driverPath.empty() ? defaultDriverPath() : driverPath;
    char full[MAX_PATH];
    DWORD length = GetFullPathNameA(path.c_str(), sizeof full, full, nullptr);
    if (!length || length >= sizeof full) return fail(error, "bad driver path " + path, GetLastError());
    path.assign(full, length);
    if (GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES)
        return fail(error, "the driver file " + path + " is missing", GetLastError());

    ScHandle manager(OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS));
    if (!manager.get()) return fail(error, "cannot open the service manager", GetLastError());
    SC_HANDLE handle = OpenServiceA(manager.get(), SIM_SERVICE_NAME, SERVICE_ALL_ACCESS);
    if (!handle) {
        DWORD code = GetLastError();
        if (code != ERROR_SERVICE_DOES_NOT_EXIST)
            return fail(error, "cannot open the service " SIM_SERVICE_NAME, code);
        // The driver's path must be absolute: with a relative one the
        // service does not load.
        handle = CreateServiceA(manager.get(), SIM_SERVICE_NAME, SIM_SERVICE_NAME, SERVICE_ALL_ACCESS,
                                SERVICE_KERNEL_DRIVER, SERVICE_DEMAND_START, SERVICE_ERROR_NORMAL, path.c_str(),
                                nullptr, nullptr, nullptr, nullptr, nullptr);
        if (!handle) {
            code = GetLastError();
            if (code != ERROR_SERVICE_EXISTS)
                return fail(error, "cannot create the service " SIM_SERVICE_NAME, code);
            handle = OpenServiceA(manager.get(), SIM_SERVICE_NAME, SERVICE_ALL_ACCESS);  // created meanwhile
            if (!handle) return fail(error, "cannot open the service " SIM_SERVICE_NAME, GetLastError());
        }
    }
    ScHandle service(handle);

    SERVICE_STATUS status = {};
    if (!QueryServiceStatus(handle, &status)) return fail(error, "cannot query the service", GetLastError());
    if (status.dwCurrentState == SERVICE_STOP_PENDING) waitForState(handle, SERVICE_STOPPED, status);
    if (status.dwCurrentState == SERVICE_STOPPED) {
        // A service left from another build folder loads this build's driver.
        if (!ChangeServiceConfigA(handle, SERVICE_NO_CHANGE, SERVICE_NO_CHANGE, SERVICE_NO_CHANGE, path.c_str(),
                                  nullptr, nullptr, nullptr, nullptr, nullptr, nullptr))
            return fail(error, "cannot set the service's driver path", GetLastError());
        if (!StartServiceA(handle, 0, nullptr) && GetLastError() != ERROR_SERVICE_ALREADY_RUNNING)
            return fail(error, "cannot start the service " SIM_SERVICE_NAME " with " + path, GetLastError());
    }
    if (!waitForState(handle, SERVICE_RUNNING, status)) {
        error = "the service " SIM_SERVICE_NAME " is " + stateName(status.dwCurrentState) + ", not running";
        return false;
    }
    SimClient client;
    return openDriver(client, error);
}

bool stopDriver(std::string& error) {
    if (!removeWheelRegistry(error)) return false;
    ScHandle manager(OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS));
    if (!manager.get()) return fail(error, "cannot open the service manager", GetLastError());
    ScHandle service(OpenServiceA(manager.get(), SIM_SERVICE_NAME, SERVICE_ALL_ACCESS));
    if (!service.get()) {
        DWORD code = GetLastError();
        if (code == ERROR_SERVICE_DOES_NOT_EXIST) return true;
        return fail(error, "cannot open the service " SIM_SERVICE_NAME, code);
    }
    SERVICE_STATUS status = {};
    if (!QueryServiceStatus(service.get(), &status)) return fail(error, "cannot query the service", GetLastError());
    if (status.dwCurrentState == SERVICE_START_PENDING) waitForState(service.get(), SERVICE_RUNNING, status);
    if (status.dwCurrentState != SERVICE_STOPPED) {
        if (!ControlService(service.get(), SERVICE_CONTROL_STOP, &status) &&
            GetLastError() != ERROR_SERVICE_NOT_ACTIVE)
            return fail(error, "cannot stop the service " SIM_SERVICE_NAME, GetLastError());
        if (!waitForState(service.get(), SERVICE_STOPPED, status)) {
            error = "the service " SIM_SERVICE_NAME " is " + stateName(status.dwCurrentState) + ", not stopped";
            return false;
        }
    }
    if (!DeleteService(service.get()) && GetLastError() != ERROR_SERVICE_MARKED_FOR_DELETE)
        return fail(error, "cannot delete the service " SIM_SERVICE_NAME, GetLastError());
    return true;
}

bool writeWheelRegistry(int count, int emulationWheel, std::string& error) {
    if (!checkCounts(count, emulationWheel, error) || !removeWheelRegistry(error)) return false;
    for (int i = 0; i < count; ++i) {
        const std::string driverSubkey = std::string(kSimDriverClassKey) + "\\" + simDriverClassSubkey(i);
        const std::string parameters = driverSubkey + "\\" + kSimDeviceParametersKey;
        const std::string hidSubkey = std::string(kSimHidClassKey) + "\\" + simHidClassSubkey(i);
        if (!setString(kSimEnumKey, std::to_string(i).c_str(), simEnumEntry(i), error) ||
            !setString(driverSubkey, "DeviceInstance", simEnumEntry(i), error) ||
            !setString(parameters, "SymLinkCpl", simLinkName(i), error) ||
            !setString(parameters, "ParentIdPrefix", simParentIdPrefix(i), error) ||
            !setString(hidSubkey, "DeviceInstance", simHidDeviceInstance(i), error))
            return false;
    }
    // The counters that the system keeps beside the numbered entries.
    if (count > 0 && (!setDword(kSimEnumKey, "Count", count, error) ||
                      !setDword(kSimEnumKey, "NextInstance", count, error)))
        return false;
    if (emulationWheel >= 0 && !setString(kSimPanelKey, "Emulation", simLinkName(emulationWheel), error))
        return false;
    return true;
}

bool removeWheelRegistry(std::string& error) {
    const std::string serviceKey = std::string(kSimEnumKey).substr(0, strlen(kSimEnumKey) - strlen("\\Enum"));
    if (!deleteTree(kSimEnumKey, error) || !deleteIfEmpty(serviceKey, error)) return false;
    if (!deleteSubkeysStarting(kSimDriverClassKey, kSimDriverClassSubkeyStart, error) ||
        !deleteIfEmpty(kSimDriverClassKey, error))
        return false;
    if (!deleteSubkeysStarting(kSimHidClassKey, kSimHidClassSubkeyStart, error)) return false;
    Key panel;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kSimPanelKey, 0, KEY_SET_VALUE, panel.out()) == ERROR_SUCCESS) {
        LONG rc = RegDeleteValueA(panel.get(), "Emulation");
        if (rc != ERROR_SUCCESS && rc != ERROR_FILE_NOT_FOUND)
            return fail(error, std::string("cannot delete \"Emulation\" in HKLM\\") + kSimPanelKey, rc);
    }
    return true;
}

bool configureWheels(int count, int emulationWheel, std::string& error) {
    if (!checkCounts(count, emulationWheel, error)) return false;
    SimClient client;
    if (!openDriver(client, error)) return false;
    if (!client.removeWheels()) {
        error = client.error();
        return false;
    }
    for (int i = 0; i < count; ++i) {
        if (!client.addWheel(static_cast<uint32_t>(i), simLinkName(i))) {
            error = client.error();
            return false;
        }
    }
    return writeWheelRegistry(count, emulationWheel, error);
}

bool removeWheels(std::string& error) {
    SimClient client;
    if (client.open() && !client.removeWheels()) {
        error = client.error();
        return false;
    }
    return removeWheelRegistry(error);
}

}  // namespace zentra::sim

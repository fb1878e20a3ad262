// The simulated wheel under Wine: its names, its registry entries read back
// the way link discovery reads them, and the whole I/O path through its
// kernel driver (CreateFileA on a wheel's link, DeviceIoControl with each of
// the wheel's control codes) checked against the driver's log.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "driver/discovery.h"
#include "sim/sim_client.h"
#include "sim/sim_protocol.h"
#include "sim/sim_setup.h"
#include "sim/sim_wheels.h"

namespace zentra::sim {
namespace {

// --- Helpers ----------------------------------------------------------------

bool contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

// The characters between the second and the third '#' of a HID device path.
std::string hidInstanceOf(const std::wstring& path) {
    size_t first = path.find(L'#');
    size_t second = first == std::wstring::npos ? first : path.find(L'#', first + 1);
    size_t third = second == std::wstring::npos ? second : path.find(L'#', second + 1);
    if (third == std::wstring::npos) return std::string();
    std::string text;
    for (size_t i = second + 1; i < third; ++i) text += static_cast<char>(path[i]);
    return text;
}

std::string narrow(const std::wstring& text) {
    std::string result;
    for (wchar_t c : text) result += static_cast<char>(c);
    return result;
}

// The USB instance path that the HID-class scheme derives from a HID class
// "DeviceInstance": from its first 'U', 'S' or 'B' on, characters 3 and 21 '\'.
std::string usbInstancePathOf(const std::string& hidDeviceInstance) {
    size_t start = hidDeviceInstance.find_first_of("USB");
    if (start == std::string::npos) return std::string();
    std::string path = hidDeviceInstance.substr(start);
    if (path.size() > 21) path[3] = path[21] = '\\';
    return path;
}

struct RegValue {
    bool present = false;
    DWORD type = 0;
    DWORD size = 0;
    std::string data;  // the bytes as stored
};

RegValue readValue(const std::string& keyPath, const char* name) {
    RegValue value;
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, keyPath.c_str(), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return value;
    char buffer[1024];
    DWORD size = sizeof buffer;
    if (RegQueryValueExA(key, name, nullptr, &value.type, reinterpret_cast<BYTE*>(buffer), &size) == ERROR_SUCCESS) {
        value.present = true;
        value.size = size;
        value.data.assign(buffer, size);
    }
    RegCloseKey(key);
    return value;
}

bool keyExists(const std::string& keyPath) {
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, keyPath.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
}

std::vector<std::string> subkeysOf(const std::string& keyPath) {
    std::vector<std::string> names;
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, keyPath.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return names;
    for (DWORD i = 0;; ++i) {
        char name[256];
        DWORD length = sizeof name;
        if (RegEnumKeyExA(key, i, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        names.emplace_back(name, length);
    }
    RegCloseKey(key);
    return names;
}

// Expects a REG_SZ value holding exactly `text`, stored without a terminator.
void expectString(const std::string& keyPath, const char* name, const std::string& text) {
    RegValue value = readValue(keyPath, name);
    ASSERT_TRUE(value.present) << "HKLM\\" << keyPath << " \"" << name << "\" is missing";
    EXPECT_EQ(value.type, static_cast<DWORD>(REG_SZ)) << name;
    EXPECT_EQ(value.data, text) << name;
    EXPECT_EQ(value.size, text.size()) << name << " must be stored without a terminator";
}

// The link as the control panel opens it and as the tray loader opens it.
HANDLE openAsPanel(const std::string& link) {
    return CreateFileA(link.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                       OPEN_EXISTING, FILE_ATTRIBUTE_TEMPORARY, nullptr);
}

HANDLE openAsLoader(const std::string& link) {
    return CreateFileA(link.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                       nullptr);
}

class Handle {
public:
    explicit Handle(HANDLE handle) : handle_(handle) {}
    ~Handle() {
        if (valid()) CloseHandle(handle_);
    }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    bool valid() const { return handle_ != INVALID_HANDLE_VALUE && handle_ != nullptr; }
    HANDLE get() const { return handle_; }

private:
    HANDLE handle_;
};

struct Call {
    BOOL ok = FALSE;
    DWORD error = 0;
    DWORD returned = 0;
};

Call send(HANDLE link, uint32_t code, const void* input, DWORD inputSize, void* output, DWORD outputSize) {
    Call call;
    call.returned = 0xDEAD;
    call.ok = DeviceIoControl(link, code, const_cast<void*>(input), inputSize, output, outputSize, &call.returned,
                              nullptr);
    call.error = call.ok ? 0 : GetLastError();
    return call;
}

uint32_t u32At(const uint8_t* bytes) {
    return uint32_t(bytes[0]) | uint32_t(bytes[1]) << 8 | uint32_t(bytes[2]) << 16 | uint32_t(bytes[3]) << 24;
}

std::vector<uint8_t> parameterBlock(uint32_t seed) {
    std::vector<uint8_t> block(SIM_PARAMETER_BLOCK_SIZE);
    uint32_t x = seed;
    for (auto& b : block) {
        x = x * 1103515245u + 12345u;
        b = static_cast<uint8_t>(x >> 16);
    }
    block[0] = 2;  // mode
    block[1] = block[2] = block[3] = 0;
    return block;
}

// --- Names --------------------------------------------------------------------

TEST(SimWheelNames, TheTextsOfTheFirstTwoWheels) {
    EXPECT_EQ(simInstance(0), "INST_0&6&2c8e31f&0&1");
    EXPECT_EQ(simEnumEntry(0), "USB\\Vid_1d5a&Pid_c0de\\INST_0&6&2c8e31f&0&1");
    EXPECT_EQ(simLinkName(0), "\\\\.\\Vid_1d5a&Pid_c0de#INST_0&6&2c8e31f&0&1");
    EXPECT_EQ(simDriverClassSubkey(0),
              "##?#USB#Vid_1d5a&Pid_c0de#INST_0&6&2c8e31f&0&1#{6dc8db13-745f-451c-978f-0cae798581cd}");
    EXPECT_EQ(simParentIdPrefix(0), "7&2f4a1d6&0");
    EXPECT_EQ(simHidInstance(0), "7&2f4a1d6&0&0000");
    EXPECT_EQ(simHidPath(0), L"\\\\?\\hid#vid_1d5a&pid_c0de#7&2f4a1d6&0&0000#{4d1e55b2-f16f-11cf-88cb-001111000030}");
    EXPECT_EQ(simHidClassSubkey(0),
              "##?#hid#vid_1d5a&pid_c0de#7&2f4a1d6&0&0000#{4d1e55b2-f16f-11cf-88cb-001111000030}");
    EXPECT_EQ(simHidDeviceInstance(0), "HID\\USB#Vid_1d5a&Pid_c0de#INST_0&6&2c8e31f&0&1\\0000");

    EXPECT_EQ(simEnumEntry(1), "USB\\Vid_1d5a&Pid_c0de\\INST_1&6&2c8e31f&0&2");
    EXPECT_EQ(simLinkName(1), "\\\\.\\Vid_1d5a&Pid_c0de#INST_1&6&2c8e31f&0&2");
    EXPECT_EQ(simParentIdPrefix(1), "7&2f4a1d6&1");
    EXPECT_EQ(simHidDeviceInstance(1), "HID\\USB#Vid_1d5a&Pid_c0de#INST_1&6&2c8e31f&0&2\\0000");
}

TEST(SimWheelNames, EnumEntryAndLinkNameAreOneTextByCharacterPosition) {
    for (int i = 0; i < kSimMaxWheels; ++i) {
        SCOPED_TRACE(i);
        const std::string entry = simEnumEntry(i);
        const std::string link = simLinkName(i);
        ASSERT_GT(entry.size(), 22u);
        EXPECT_EQ(entry.substr(0, 4), "USB\\");
        EXPECT_EQ(entry.substr(4, 17), kSimVendorProduct);
        EXPECT_EQ(entry[21], '\\');
        EXPECT_EQ(entry.substr(22), simInstance(i));
        ASSERT_EQ(link.size(), entry.size());
        EXPECT_EQ(link.substr(0, 3), "\\\\.");
        EXPECT_EQ(link[21], '#');
        for (size_t c = 3; c < link.size(); ++c)
            if (c != 21) {
                EXPECT_EQ(link[c], entry[c]) << "character " << c;
            }
        EXPECT_EQ(linkToEnumName(link), entry);
        EXPECT_EQ(enumToLinkName(entry), link);
        EXPECT_LE(link.size(), 103u) << "the tray loader reads at most 103 characters";
        EXPECT_LE(link.size(), static_cast<size_t>(SIM_MAX_LINK_NAME));
    }
}

TEST(SimWheelNames, EachParentIdPrefixMatchesItsOwnWheelsHidInstanceOnly) {
    for (int i = 0; i < kSimMaxWheels; ++i) {
        SCOPED_TRACE(i);
        const std::string instance = hidInstanceOf(simHidPath(i));
        EXPECT_EQ(instance, simHidInstance(i));
        EXPECT_LE(instance.size(), 24u) << "the control panel reads at most 24 characters";
        for (int j = 0; j < kSimMaxWheels; ++j)
            EXPECT_EQ(contains(instance, simParentIdPrefix(j)), i == j) << "prefix of wheel " << j;
    }
}

TEST(SimWheelNames, TheHidClassEntryLeadsToItsOwnWheelAndNumber) {
    for (int i = 0; i < kSimMaxWheels; ++i) {
        SCOPED_TRACE(i);
        std::string path = narrow(simHidPath(i));
        EXPECT_LE(path.size(), 99u) << "the control panel reads at most 99 characters";
        path[0] = path[1] = path[3] = '#';
        EXPECT_EQ(simHidClassSubkey(i), path);

        const std::string usbPath = usbInstancePathOf(simHidDeviceInstance(i));
        EXPECT_EQ(usbPath, simEnumEntry(i) + "\\0000");
        for (int j = 0; j < kSimMaxWheels; ++j)
            EXPECT_EQ(contains(usbPath, simEnumEntry(j)), i == j) << "class entry of wheel " << j;
        size_t inst = usbPath.find("INST_");
        ASSERT_NE(inst, std::string::npos);
        EXPECT_EQ(atoi(usbPath.c_str() + inst + 5), i);
    }
}

// --- The driver ---------------------------------------------------------------

class SimWheel : public ::testing::Test {
protected:
    // The bench loads the driver once per test run; a run without it loads
    // it here.
    static void SetUpTestSuite() {
        SimClient probe;
        if (probe.open()) return;
        std::string error;
        if (!startDriver(error)) loadError() = error;
    }

    static std::string& loadError() {
        static std::string error;
        return error;
    }

    void SetUp() override {
        ASSERT_TRUE(loadError().empty()) << loadError();
        ASSERT_TRUE(client.open()) << client.error();
        ASSERT_TRUE(client.resetAnswers()) << client.error();
        configure(1, 0);
    }

    void TearDown() override {
        std::string error;
        EXPECT_TRUE(removeWheels(error)) << error;
        if (client.isOpen()) client.resetAnswers();
    }

    // Sets up `count` wheels and starts from a clean log.
    void configure(int count, int emulationWheel) {
        std::string error;
        ASSERT_TRUE(configureWheels(count, emulationWheel, error)) << error;
        ASSERT_TRUE(client.clearLog()) << client.error();
    }

    std::vector<SimLogEntry> log() {
        std::vector<SimLogEntry> entries;
        EXPECT_TRUE(client.log(entries)) << client.error();
        return entries;
    }

    SimClient client;
};

TEST_F(SimWheel, TheLinkOpensAsThePanelAndAsTheLoaderOpenIt) {
    Handle panel(openAsPanel(simLinkName(0)));
    ASSERT_TRUE(panel.valid()) << simErrorText(GetLastError());
    Handle loader(openAsLoader(simLinkName(0)));
    ASSERT_TRUE(loader.valid()) << simErrorText(GetLastError());

    uint8_t result[4];
    uint8_t switchOn[8] = {0x00, 0x03, 0, 0, 1, 0, 0, 0};
    EXPECT_TRUE(send(panel.get(), SIM_CODE_EMULATION_SWITCH, switchOn, 8, result, 4).ok);
    EXPECT_TRUE(send(loader.get(), SIM_CODE_LINK_START, nullptr, 0, result, 4).ok);
    std::vector<SimLogEntry> entries = log();
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].code, SIM_CODE_EMULATION_SWITCH);
    EXPECT_EQ(entries[1].code, SIM_CODE_LINK_START);

    Handle absent(openAsPanel(simLinkName(1)));
    DWORD error = GetLastError();
    EXPECT_FALSE(absent.valid()) << "only one wheel is set up";
    EXPECT_EQ(error, static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
}

TEST_F(SimWheel, EveryCodeArrivesWithItsBytesAndIsAnsweredWithItsResult) {
    const uint32_t results[] = {0x11111006, 0x2222200E, 0, 0x44444001, 0x55555002, 0x66666003};
    const uint32_t codes[] = {SIM_CODE_PARAMETER_BLOCK, SIM_CODE_EMULATION_SWITCH, SIM_CODE_WHEEL_REPORT,
                              SIM_CODE_LINK_START,      SIM_CODE_LINK_WINDOW,      SIM_CODE_LINK_END};
    for (int i = 0; i < 6; ++i)
        if (codes[i] != SIM_CODE_WHEEL_REPORT) {
            ASSERT_TRUE(client.setResult(codes[i], results[i])) << client.error();
        }
    const uint8_t report[SIM_WHEEL_REPORT_SIZE] = {1, 2, 0x80, 0x01, 0x10, 200, 30, 77, 9, 10, 11, 12, 13, 14, 15, 16, 17};
    ASSERT_TRUE(client.setReport(report)) << client.error();

    Handle link(openAsLoader(simLinkName(0)));
    ASSERT_TRUE(link.valid()) << simErrorText(GetLastError());
    const std::vector<uint8_t> block = parameterBlock(7);
    const uint8_t switchOff[8] = {0, 0, 0, 0, 0, 0, 0, 0};
    const uint8_t window[4] = {0x34, 0x12, 0x05, 0x00};

    struct Sent {
        uint32_t code;
        const uint8_t* input;
        DWORD inputSize;
        DWORD outputSize;
    };
    const Sent sent[] = {
        {SIM_CODE_PARAMETER_BLOCK, block.data(), SIM_PARAMETER_BLOCK_SIZE, 4},
        {SIM_CODE_EMULATION_SWITCH, switchOff, 8, 4},
        {SIM_CODE_WHEEL_REPORT, nullptr, 0, SIM_WHEEL_REPORT_SIZE},
        {SIM_CODE_LINK_START, nullptr, 0, 4},
        {SIM_CODE_LINK_WINDOW, window, 4, 4},
        {SIM_CODE_LINK_END, nullptr, 0, 4},
    };
    for (int i = 0; i < 6; ++i) {
        SCOPED_TRACE(codes[i]);
        uint8_t output[SIM_WHEEL_REPORT_SIZE];
        memset(output, 0xCC, sizeof output);
        Call call = send(link.get(), sent[i].code, sent[i].input, sent[i].inputSize, output, sent[i].outputSize);
        ASSERT_TRUE(call.ok) << simErrorText(call.error);
        EXPECT_EQ(call.returned, sent[i].outputSize);
        if (sent[i].code == SIM_CODE_WHEEL_REPORT) {
            EXPECT_EQ(memcmp(output, report, sizeof report), 0);
        } else {
            EXPECT_EQ(u32At(output), results[i]);
        }
    }

    std::vector<SimLogEntry> entries = log();
    ASSERT_EQ(entries.size(), 6u);
    for (int i = 0; i < 6; ++i) {
        SCOPED_TRACE(i);
        const SimLogEntry& e = entries[i];
        EXPECT_EQ(e.sequence, static_cast<uint32_t>(i + 1));
        EXPECT_EQ(e.code, sent[i].code);
        EXPECT_EQ(e.wheel, 0u);
        EXPECT_EQ(e.inputLength, sent[i].inputSize);
        EXPECT_EQ(e.outputLength, sent[i].outputSize);
        EXPECT_EQ(e.status, 0u);
        EXPECT_EQ(e.information, sent[i].outputSize);
        ASSERT_EQ(e.storedLength, sent[i].inputSize);
        if (sent[i].inputSize) {
            EXPECT_EQ(memcmp(e.input, sent[i].input, sent[i].inputSize), 0);
        }
    }
}

TEST_F(SimWheel, TwoWheelsEachLinkReachesItsOwnWheel) {
    configure(2, 0);
    Handle first(openAsPanel(simLinkName(0)));
    Handle second(openAsPanel(simLinkName(1)));
    ASSERT_TRUE(first.valid()) << simErrorText(GetLastError());
    ASSERT_TRUE(second.valid()) << simErrorText(GetLastError());

    uint8_t result[4];
    const uint8_t on[8] = {0x00, 0x03, 0, 0, 1, 0, 0, 0};
    const uint8_t off[8] = {0x00, 0x03, 0, 0, 0, 0, 0, 0};
    ASSERT_TRUE(send(second.get(), SIM_CODE_EMULATION_SWITCH, off, 8, result, 4).ok);
    ASSERT_TRUE(send(first.get(), SIM_CODE_EMULATION_SWITCH, on, 8, result, 4).ok);
    EXPECT_FALSE(send(second.get(), SIM_CODE_WHEEL_REPORT, nullptr, 0, result, 0).ok);

    std::vector<SimLogEntry> entries = log();
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[0].wheel, 1u);
    EXPECT_EQ(memcmp(entries[0].input, off, 8), 0);
    EXPECT_EQ(entries[1].wheel, 0u);
    EXPECT_EQ(memcmp(entries[1].input, on, 8), 0);
    EXPECT_EQ(entries[2].wheel, 1u);
    EXPECT_EQ(entries[2].code, SIM_CODE_WHEEL_REPORT);
    EXPECT_EQ(entries[2].outputLength, 0u);
    EXPECT_NE(entries[2].status, 0u) << "a report needs 17 output bytes";

    SimStatus status = {};
    ASSERT_TRUE(client.status(status)) << client.error();
    EXPECT_EQ(status.wheelCount, 2u);
    EXPECT_EQ(status.wheelMask, 3u);
}

TEST_F(SimWheel, AParameterBlockArrivesByteIdentical) {
    Handle link(openAsPanel(simLinkName(0)));
    ASSERT_TRUE(link.valid()) << simErrorText(GetLastError());
    const std::vector<uint8_t> first = parameterBlock(1);
    const std::vector<uint8_t> second = parameterBlock(2);
    ASSERT_NE(first, second);
    uint8_t result[4];
    ASSERT_TRUE(send(link.get(), SIM_CODE_PARAMETER_BLOCK, first.data(), SIM_PARAMETER_BLOCK_SIZE, result, 4).ok);
    ASSERT_TRUE(send(link.get(), SIM_CODE_PARAMETER_BLOCK, second.data(), SIM_PARAMETER_BLOCK_SIZE, result, 4).ok);

    std::vector<SimLogEntry> entries = log();
    ASSERT_EQ(entries.size(), 2u);
    ASSERT_EQ(entries[0].storedLength, SIM_PARAMETER_BLOCK_SIZE);
    ASSERT_EQ(entries[1].storedLength, SIM_PARAMETER_BLOCK_SIZE);
    EXPECT_TRUE(std::equal(first.begin(), first.end(), entries[0].input));
    EXPECT_TRUE(std::equal(second.begin(), second.end(), entries[1].input));
}

TEST_F(SimWheel, TheScriptedReportComesBackUntilChanged) {
    Handle link(openAsPanel(simLinkName(0)));
    ASSERT_TRUE(link.valid()) << simErrorText(GetLastError());
    uint8_t got[SIM_WHEEL_REPORT_SIZE];
    const uint8_t resting[SIM_WHEEL_REPORT_SIZE] = SIM_DEFAULT_REPORT_INIT;
    Call call = send(link.get(), SIM_CODE_WHEEL_REPORT, nullptr, 0, got, sizeof got);
    ASSERT_TRUE(call.ok) << simErrorText(call.error);
    EXPECT_EQ(call.returned, SIM_WHEEL_REPORT_SIZE);
    EXPECT_EQ(memcmp(got, resting, sizeof got), 0) << "the resting report before any script";

    uint8_t pressed[SIM_WHEEL_REPORT_SIZE] = {};
    pressed[2] = 0x04;
    pressed[5] = 0;
    pressed[6] = 255;
    pressed[7] = 12;
    ASSERT_TRUE(client.setReport(pressed)) << client.error();
    for (int read = 0; read < 3; ++read) {
        memset(got, 0, sizeof got);
        ASSERT_TRUE(send(link.get(), SIM_CODE_WHEEL_REPORT, nullptr, 0, got, sizeof got).ok);
        EXPECT_EQ(memcmp(got, pressed, sizeof got), 0) << "read " << read;
    }
    pressed[4] = 0x63;
    ASSERT_TRUE(client.setReport(pressed)) << client.error();
    ASSERT_TRUE(send(link.get(), SIM_CODE_WHEEL_REPORT, nullptr, 0, got, sizeof got).ok);
    EXPECT_EQ(got[4], 0x63);
    EXPECT_EQ(log().size(), 5u);
}

TEST_F(SimWheel, EachCodeAnswersTheDefaultResultUntilScripted) {
    Handle link(openAsLoader(simLinkName(0)));
    ASSERT_TRUE(link.valid()) << simErrorText(GetLastError());
    const std::vector<uint8_t> block = parameterBlock(3);
    uint8_t result[4] = {0xCC, 0xCC, 0xCC, 0xCC};
    ASSERT_TRUE(send(link.get(), SIM_CODE_PARAMETER_BLOCK, block.data(), SIM_PARAMETER_BLOCK_SIZE, result, 4).ok);
    EXPECT_EQ(u32At(result), SIM_DEFAULT_RESULT);
    ASSERT_TRUE(send(link.get(), SIM_CODE_LINK_END, nullptr, 0, result, 4).ok);
    EXPECT_EQ(u32At(result), SIM_DEFAULT_RESULT);

    ASSERT_TRUE(client.setResult(SIM_CODE_LINK_END, 0)) << client.error();
    ASSERT_TRUE(send(link.get(), SIM_CODE_LINK_END, nullptr, 0, result, 4).ok);
    EXPECT_EQ(u32At(result), 0u);
    ASSERT_TRUE(client.resetAnswers()) << client.error();
    ASSERT_TRUE(send(link.get(), SIM_CODE_LINK_END, nullptr, 0, result, 4).ok);
    EXPECT_EQ(u32At(result), SIM_DEFAULT_RESULT);
}

TEST_F(SimWheel, AScriptedFailureAndRefusedRequestsFailAndAreLogged) {
    Handle link(openAsPanel(simLinkName(0)));
    ASSERT_TRUE(link.valid()) << simErrorText(GetLastError());
    const uint32_t notReady = 0xC00000A3;  // STATUS_DEVICE_NOT_READY
    ASSERT_TRUE(client.setFailure(SIM_CODE_PARAMETER_BLOCK, notReady)) << client.error();
    const std::vector<uint8_t> block = parameterBlock(4);
    uint8_t result[4];
    Call call = send(link.get(), SIM_CODE_PARAMETER_BLOCK, block.data(), SIM_PARAMETER_BLOCK_SIZE, result, 4);
    EXPECT_FALSE(call.ok);
    EXPECT_EQ(call.error, static_cast<DWORD>(ERROR_NOT_READY));

    // A switch shorter than 8 bytes, a result buffer shorter than 4 bytes and
    // a code the wheel does not know.
    const uint8_t shortSwitch[4] = {0x00, 0x03, 0, 0};
    EXPECT_FALSE(send(link.get(), SIM_CODE_EMULATION_SWITCH, shortSwitch, 4, result, 4).ok);
    const uint8_t fullSwitch[8] = {0x00, 0x03, 0, 0, 1, 0, 0, 0};
    EXPECT_FALSE(send(link.get(), SIM_CODE_EMULATION_SWITCH, fullSwitch, 8, result, 2).ok);
    EXPECT_FALSE(send(link.get(), 0x222012, nullptr, 0, result, 4).ok);

    std::vector<SimLogEntry> entries = log();
    ASSERT_EQ(entries.size(), 4u);
    EXPECT_EQ(entries[0].status, notReady);
    EXPECT_EQ(entries[0].inputLength, SIM_PARAMETER_BLOCK_SIZE);
    EXPECT_EQ(entries[1].inputLength, 4u);
    EXPECT_EQ(entries[2].outputLength, 2u);
    EXPECT_EQ(entries[3].code, 0x222012u);
    for (const SimLogEntry& e : entries) {
        EXPECT_NE(e.status, 0u);
        EXPECT_EQ(e.information, 0u);
    }
}

TEST_F(SimWheel, TheLogKeepsTheLatestEntriesWhenFull) {
    Handle link(openAsLoader(simLinkName(0)));
    ASSERT_TRUE(link.valid()) << simErrorText(GetLastError());
    const uint32_t total = SIM_LOG_CAPACITY + 44;
    for (uint32_t i = 0; i < total; ++i) {
        uint8_t window[4] = {uint8_t(i), uint8_t(i >> 8), 0, 0};
        uint8_t result[4];
        ASSERT_TRUE(send(link.get(), SIM_CODE_LINK_WINDOW, window, 4, result, 4).ok) << i;
    }
    SimLogCount count = {};
    ASSERT_TRUE(client.logCount(count)) << client.error();
    EXPECT_EQ(count.count, SIM_LOG_CAPACITY);
    EXPECT_EQ(count.dropped, 44u);
    std::vector<SimLogEntry> entries = log();
    ASSERT_EQ(entries.size(), SIM_LOG_CAPACITY);
    for (uint32_t i = 0; i < entries.size(); ++i) {
        EXPECT_EQ(entries[i].sequence, 45 + i);
        EXPECT_EQ(u32At(entries[i].input), 44 + i);
    }
    ASSERT_TRUE(client.clearLog()) << client.error();
    ASSERT_TRUE(client.logCount(count)) << client.error();
    EXPECT_EQ(count.count, 0u);
    EXPECT_EQ(count.dropped, 0u);
}

TEST_F(SimWheel, RemovedWheelsNoLongerOpenAndLeaveNoRegistryEntry) {
    configure(2, 1);
    {
        Handle second(openAsPanel(simLinkName(1)));
        ASSERT_TRUE(second.valid()) << simErrorText(GetLastError());
    }
    configure(1, 0);
    Handle gone(openAsPanel(simLinkName(1)));
    EXPECT_FALSE(gone.valid()) << "a new set-up of one wheel removes the second";
    EXPECT_FALSE(readValue(kSimEnumKey, "1").present);

    std::string error;
    ASSERT_TRUE(removeWheels(error)) << error;
    for (int i = 0; i < 2; ++i) {
        Handle panel(openAsPanel(simLinkName(i)));
        EXPECT_FALSE(panel.valid()) << "wheel " << i;
        Handle loader(openAsLoader(simLinkName(i)));
        EXPECT_FALSE(loader.valid()) << "wheel " << i;
        EXPECT_FALSE(keyExists(std::string(kSimHidClassKey) + "\\" + simHidClassSubkey(i)));
    }
    EXPECT_FALSE(keyExists(kSimEnumKey));
    EXPECT_FALSE(keyExists(kSimDriverClassKey)) << "the driver's class key goes when its last wheel goes";
    EXPECT_FALSE(readValue(kSimPanelKey, "Emulation").present);
    SimStatus status = {};
    ASSERT_TRUE(client.status(status)) << client.error();
    EXPECT_EQ(status.wheelCount, 0u);
}

TEST_F(SimWheel, ALinkStillOpenWhenItsWheelIsRemovedFailsFromThenOn) {
    Handle link(openAsPanel(simLinkName(0)));
    ASSERT_TRUE(link.valid()) << simErrorText(GetLastError());
    uint8_t result[4];
    ASSERT_TRUE(send(link.get(), SIM_CODE_LINK_START, nullptr, 0, result, 4).ok);
    ASSERT_TRUE(client.removeWheels()) << client.error();
    Call call = send(link.get(), SIM_CODE_LINK_START, nullptr, 0, result, 4);
    EXPECT_FALSE(call.ok);
    EXPECT_EQ(log().size(), 1u) << "the request on the removed wheel never reaches the driver";

    configure(1, 0);
    Handle again(openAsPanel(simLinkName(0)));
    ASSERT_TRUE(again.valid()) << simErrorText(GetLastError());
    EXPECT_TRUE(send(again.get(), SIM_CODE_LINK_START, nullptr, 0, result, 4).ok);
}

TEST_F(SimWheel, TheRegistryEntriesHaveTheFormsDiscoveryReads) {
    configure(2, 1);
    for (int i = 0; i < 2; ++i) {
        SCOPED_TRACE(i);
        // The Enum entry and the link name derived from it by position.
        RegValue entry = readValue(kSimEnumKey, std::to_string(i).c_str());
        ASSERT_TRUE(entry.present);
        EXPECT_EQ(entry.type, static_cast<DWORD>(REG_SZ));
        EXPECT_EQ(entry.size, entry.data.size());
        ASSERT_EQ(entry.data, simEnumEntry(i));
        std::string link = entry.data;
        link.replace(0, 3, "\\\\.");
        link[21] = '#';

        const std::string subkey = std::string(kSimDriverClassKey) + "\\" + simDriverClassSubkey(i);
        const std::string parameters = subkey + "\\#\\Device Parameters";
        expectString(subkey, "DeviceInstance", entry.data);
        expectString(parameters, "SymLinkCpl", link);
        expectString(parameters, "ParentIdPrefix", simParentIdPrefix(i));
        expectString(std::string(kSimHidClassKey) + "\\" + simHidClassSubkey(i), "DeviceInstance",
                     simHidDeviceInstance(i));
    }
    EXPECT_FALSE(readValue(kSimEnumKey, "2").present);
    expectString(kSimPanelKey, "Emulation", simLinkName(1));

    configure(1, -1);
    EXPECT_FALSE(readValue(kSimPanelKey, "Emulation").present) << "no emulation wheel";
    EXPECT_TRUE(readValue(kSimEnumKey, "0").present);
}

// The control panel's parent-prefix walk and the tray loader's Enum walk,
// done here on the registry as set up, end on each wheel's open link.
TEST_F(SimWheel, DiscoveryWalksFindEachWheelsLink) {
    configure(2, 0);
    const std::vector<std::string> subkeys = subkeysOf(kSimDriverClassKey);
    ASSERT_EQ(subkeys.size(), 2u);
    for (int wheel = 0; wheel < 2; ++wheel) {
        SCOPED_TRACE(wheel);
        // Parent-prefix scheme.
        const std::string instance = hidInstanceOf(simHidPath(wheel));
        std::string link;
        for (const std::string& name : subkeys) {
            const std::string parameters = std::string(kSimDriverClassKey) + "\\" + name + "\\#\\Device Parameters";
            RegValue prefix = readValue(parameters, "ParentIdPrefix");
            ASSERT_TRUE(prefix.present) << name;
            if (!contains(instance, prefix.data)) continue;
            link = readValue(parameters, "SymLinkCpl").data;
            break;
        }
        ASSERT_EQ(link, simLinkName(wheel));
        Handle panel(openAsPanel(link));
        ASSERT_TRUE(panel.valid()) << simErrorText(GetLastError());
        std::string enumForm = link;
        enumForm.replace(0, 3, "USB");
        enumForm[21] = '\\';
        int number = -1;
        for (int i = 0;; ++i) {
            RegValue entry = readValue(kSimEnumKey, std::to_string(i).c_str());
            if (!entry.present) break;
            if (entry.data == enumForm) {
                number = i;
                break;
            }
        }
        EXPECT_EQ(number, wheel);

        // HID-class scheme.
        std::string path = narrow(simHidPath(wheel));
        path[0] = path[1] = path[3] = '#';
        RegValue hid = readValue(std::string(kSimHidClassKey) + "\\" + path, "DeviceInstance");
        ASSERT_TRUE(hid.present);
        const std::string usbPath = usbInstancePathOf(hid.data);
        std::string hidLink;
        for (const std::string& name : subkeys) {
            RegValue instancePath = readValue(std::string(kSimDriverClassKey) + "\\" + name, "DeviceInstance");
            ASSERT_TRUE(instancePath.present) << name;
            if (!contains(usbPath, instancePath.data)) continue;
            hidLink = readValue(std::string(kSimDriverClassKey) + "\\" + name + "\\#\\Device Parameters",
                                "SymLinkCpl").data;
            break;
        }
        EXPECT_EQ(hidLink, link);
        EXPECT_EQ(atoi(usbPath.c_str() + usbPath.find("INST_") + 5), wheel);
    }
    // The tray loader's walk: each Enum entry in link form opens.
    for (int i = 0;; ++i) {
        RegValue entry = readValue(kSimEnumKey, std::to_string(i).c_str());
        if (!entry.present) {
            EXPECT_EQ(i, 2);
            break;
        }
        Handle loader(openAsLoader(enumToLinkName(entry.data)));
        EXPECT_TRUE(loader.valid()) << entry.data << ": " << simErrorText(GetLastError());
    }
    EXPECT_EQ(readValue(kSimPanelKey, "Emulation").data, simLinkName(0));
}

TEST_F(SimWheel, TheControlDeviceRefusesBadWheels) {
    EXPECT_FALSE(client.addWheel(0, simLinkName(0))) << "wheel 0 exists";
    EXPECT_FALSE(client.addWheel(SIM_MAX_WHEELS, "\\\\.\\ZntSimExtra"));
    EXPECT_FALSE(client.addWheel(1, "ZntSimExtra")) << "not a \\\\.\\ name";
    EXPECT_FALSE(client.addWheel(1, "\\\\.\\Znt\\SimExtra")) << "a backslash in the name";
    ASSERT_TRUE(client.addWheel(1, "\\\\.\\ZntSimExtra")) << client.error();
    Handle extra(openAsPanel("\\\\.\\ZntSimExtra"));
    EXPECT_TRUE(extra.valid()) << simErrorText(GetLastError());
}

TEST_F(SimWheel, ParameterBlockRoundTripTime) {
    Handle link(openAsPanel(simLinkName(0)));
    ASSERT_TRUE(link.valid()) << simErrorText(GetLastError());
    const std::vector<uint8_t> block = parameterBlock(5);
    const int rounds = 200;
    std::vector<double> micros;
    LARGE_INTEGER frequency, before, after;
    QueryPerformanceFrequency(&frequency);
    for (int i = 0; i < rounds; ++i) {
        uint8_t result[4];
        QueryPerformanceCounter(&before);
        BOOL ok = send(link.get(), SIM_CODE_PARAMETER_BLOCK, block.data(), SIM_PARAMETER_BLOCK_SIZE, result, 4).ok;
        QueryPerformanceCounter(&after);
        ASSERT_TRUE(ok);
        micros.push_back(1e6 * double(after.QuadPart - before.QuadPart) / double(frequency.QuadPart));
    }
    std::sort(micros.begin(), micros.end());
    double sum = 0;
    for (double m : micros) sum += m;
    printf("[ timing   ] 2652-byte parameter block round trip over %d calls: median %.0f us, mean %.0f us, "
           "min %.0f us, max %.0f us\n",
           rounds, micros[rounds / 2], sum / rounds, micros.front(), micros.back());
    RecordProperty("median_us", static_cast<int>(micros[rounds / 2]));
    EXPECT_EQ(log().size(), static_cast<size_t>(rounds));
}

}  // namespace
}  // namespace zentra::sim

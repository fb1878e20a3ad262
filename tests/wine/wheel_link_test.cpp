// The wheel link end to end under Wine: discovery, uploads and commands go
// through CreateFileA and DeviceIoControl to the simulated wheel driver,
// which logs what arrives.
#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "driver/discovery.h"
#include "sim/sim_client.h"
#include "sim/sim_setup.h"
#include "sim/sim_wheels.h"
#include "tests/wine/support/wine_test_support.h"

namespace zentra {
namespace {

using sim::simHidPath;
using sim::simLinkName;

class SimPath : public DevicePathSource {
public:
    explicit SimPath(int wheel) : wheel_(wheel) {}
    bool devicePath(std::wstring& path) override {
        path = simHidPath(wheel_);
        return true;
    }

private:
    int wheel_;
};

// Records an exit instead of ending the test program.
class RecordingHost : public ProcessHost {
public:
    void exitProcess(int code) override { exits.push_back(code); }
    void errorBox(const char* text) override { boxes.push_back(text); }
    std::vector<int> exits;
    std::vector<std::string> boxes;
};

std::vector<uint8_t> bytesOf(const void* p, size_t n) {
    const uint8_t* b = static_cast<const uint8_t*>(p);
    return std::vector<uint8_t>(b, b + n);
}

std::vector<uint8_t> inputOf(const SimLogEntry& e) { return std::vector<uint8_t>(e.input, e.input + e.storedLength); }

class WheelLink : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(client.open()) << client.error() << " (the simulated wheel is loaded by the test bench)";
        ASSERT_TRUE(client.resetAnswers()) << client.error();
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, kParametersKey);
        for (int n = 0; n < 3; ++n) registry.store().deleteValue(kPanelKey, joystickConfigurationName(n));
    }
    void TearDown() override {
        for (LinkHandle h : opened) platformDeviceIo().close(h);
        std::string error;
        sim::configureWheels(1, 0, error);
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, kParametersKey);
    }

    void wheels(int count, int emulationWheel) {
        std::string error;
        ASSERT_TRUE(sim::configureWheels(count, emulationWheel, error)) << error;
        ASSERT_TRUE(client.clearLog()) << client.error();
    }
    std::vector<SimLogEntry> log() {
        std::vector<SimLogEntry> entries;
        EXPECT_TRUE(client.log(entries)) << client.error();
        return entries;
    }
    // Discovery as the control panel runs it on Windows 2000/XP (OsLevel 4)
    // or 98 (OsLevel 1), for the page of simulated wheel `wheel`.
    DeviceLink discover(int wheel, int osLevel = 4) {
        SimPath path(wheel);
        DiscoveryContext ctx{registry, platformDeviceIo(), host, path};
        DeviceLink link{};
        openDeviceLink(link, osLevel, ctx);
        if (link.linkHandle) opened.push_back(link.linkHandle);
        return link;
    }
    static Preset samplePreset() {
        Preset p{};
        resetPreset(p, Deliverable::Panel);
        setPresetText(p.gameName, "Dune Buggy");
        p.buttonKeys[0][0] = 0x11E;  // left Ctrl + A
        p.buttonKeys[0][1] = 0x30;
        p.buttonKeys[12][0] = 0xDB;
        p.buttonKeys[20][0] = 0x39;
        p.curveType[0] = 1;
        p.curveP1x[0] = 10;
        p.curveP1y[0] = 70;
        p.axisInvert = 0x00010001;
        p.pedalsLinked = 0;
        return p;
    }

    sim::SimClient client;
    Registry registry{platformRegistryStore(), Deliverable::Panel};
    Registry loaderRegistry{platformRegistryStore(), Deliverable::Loader};
    RecordingHost host;
    std::vector<LinkHandle> opened;
};

TEST_F(WheelLink, ParentPrefixDiscoveryOpensTheOnlyWheel) {
    wheels(1, 0);
    const DeviceLink link = discover(0);
    EXPECT_TRUE(host.exits.empty());
    ASSERT_NE(link.linkHandle, 0u);
    EXPECT_EQ(link.deviceNumber, 0);
    EXPECT_EQ(link.isEmulationDevice, 1u);

    const EmulationSwitch sw{kEmulationSelector, link.isEmulationDevice};
    EXPECT_EQ(sendEmulationSwitch(platformDeviceIo(), link.linkHandle, sw, 8), 1);
    const auto entries = log();
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].code, kCodeEmulationSwitch);
    EXPECT_EQ(entries[0].wheel, 0u);
    EXPECT_EQ(inputOf(entries[0]), bytesOf(&sw, 8));
}

TEST_F(WheelLink, BothSchemesFindTheSecondOfTwoWheels) {
    wheels(2, 0);
    for (int osLevel : {4, 1}) {
        SCOPED_TRACE(osLevel);
        ASSERT_TRUE(client.clearLog());
        const DeviceLink link = discover(1, osLevel);
        EXPECT_TRUE(host.exits.empty());
        ASSERT_NE(link.linkHandle, 0u);
        EXPECT_EQ(link.deviceNumber, 1);
        EXPECT_EQ(link.isEmulationDevice, 0u) << "the emulation wheel is wheel 0";
        WheelReport report{};
        EXPECT_EQ(readWheelReport(platformDeviceIo(), link.linkHandle, report, host), 0);
        const auto entries = log();
        ASSERT_EQ(entries.size(), 1u);
        EXPECT_EQ(entries[0].code, kCodeWheelReport);
        EXPECT_EQ(entries[0].wheel, 1u);
    }
}

TEST_F(WheelLink, TheScriptedReportComesBackAndByteFourEndsThePanel) {
    wheels(1, 0);
    const DeviceLink link = discover(0);
    ASSERT_NE(link.linkHandle, 0u);
    uint8_t scripted[17] = {1, 2, 0x40, 0x01, 0, 200, 17, 99, 9};
    ASSERT_TRUE(client.setReport(scripted)) << client.error();
    WheelReport report{};
    ASSERT_EQ(readWheelReport(platformDeviceIo(), link.linkHandle, report, host), 0);
    EXPECT_EQ(bytesOf(report.bytes, 17), bytesOf(scripted, 17));
    EXPECT_TRUE(host.exits.empty());

    scripted[4] = 0x63;
    ASSERT_TRUE(client.setReport(scripted));
    readWheelReport(platformDeviceIo(), link.linkHandle, report, host);
    EXPECT_EQ(host.exits, std::vector<int>{0});
}

TEST_F(WheelLink, ControlPanelUploadArrivesByteIdenticalAndWritesTheRegistryCopy) {
    wheels(2, 0);
    static PanelWheel wheel;
    wheel.link = discover(1);
    ASSERT_NE(wheel.link.linkHandle, 0u);
    uint8_t hardware[kHardwareConfigSize];
    for (size_t i = 0; i < sizeof hardware; ++i) hardware[i] = uint8_t(i + 1);
    registry.writeRegBinary(hardware, sizeof hardware, kPanelKey, "Joystick1Configuration");

    const Preset preset = samplePreset();
    EXPECT_EQ(uploadParameters(1, wheel, preset, registry, platformDeviceIo()), 1);

    const auto entries = log();
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].code, kCodeParameterBlock);
    EXPECT_EQ(entries[0].wheel, 1u);
    ASSERT_EQ(entries[0].inputLength, sizeof(ParameterBlock));
    EXPECT_EQ(inputOf(entries[0]), bytesOf(&wheel.block, sizeof wheel.block));
    EXPECT_EQ(wheel.block.mode, kModeClosing);
    EXPECT_EQ(wheel.block.hardwareConfig[110], 111);
    EXPECT_EQ(wheel.block.hardwareConfig[111], 0);

    // The registry copy, read back through the real registry.
    EXPECT_STREQ(loaderRegistry.readRegStringQuery(kParametersKey, "Link_Pedals1"), "NO");
    uint8_t table[256];
    ASSERT_EQ(registry.readRegBinary(table, 256, kParametersKey, "AxeX_SENS"), 1);
    EXPECT_EQ(bytesOf(table, 256), bytesOf(wheel.block.xTable, 256));
    ASSERT_EQ(registry.readRegBinary(table, 256, kParametersKey, "AxeZ_SENS"), 1);
    EXPECT_EQ(bytesOf(table, 256), bytesOf(wheel.block.zTable, 256));
    ButtonEntry entry;
    ASSERT_EQ(registry.readRegBinary(&entry, sizeof entry, kParametersKey, "BT_1"), 1);
    EXPECT_EQ(bytesOf(&entry, sizeof entry), bytesOf(&wheel.block.buttons[0], sizeof entry));
    EXPECT_EQ(entry.usage[0], 4);
    EXPECT_EQ(entry.modifiers, 1);
}

TEST_F(WheelLink, StartUpSendsEveryWheelItsRegistryCopyAsModesOneAndThree) {
    wheels(2, 0);
    static PanelWheel panel;
    Preset preset = samplePreset();
    for (int w = 0; w < 2; ++w) {
        panel.link = discover(w);
        ASSERT_NE(panel.link.linkHandle, 0u);
        preset.pedalsLinked = uint32_t(w);  // "NO" for wheel 0, "YES" for wheel 1
        uploadParameters(0, panel, preset, registry, platformDeviceIo());
    }
    ASSERT_TRUE(client.clearLog());

    static LoaderWheel loader;
    EXPECT_EQ(openWheelLinksAtStartup(loader, loaderRegistry, platformDeviceIo()), 1);

    const auto entries = log();
    ASSERT_EQ(entries.size(), 4u);
    static LoaderWheel expected;
    const uint32_t modes[4] = {1, 3, 1, 3};
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(entries[i].code, kCodeParameterBlock);
        EXPECT_EQ(entries[i].wheel, uint32_t(i / 2));
        buildStoredBlock(expected, modes[i] == 3, i / 2, loaderRegistry);
        EXPECT_EQ(inputOf(entries[i]), bytesOf(&expected.block, sizeof expected.block));
        EXPECT_EQ(expected.block.mode, modes[i]);
        EXPECT_EQ(expected.block.pedalsLinked, i / 2);
    }
    // Entries 0..9 come from the registry copy; 10..20 are not stored.
    EXPECT_EQ(expected.block.buttons[0].usage[1], 5);
    EXPECT_EQ(expected.block.buttons[20].usage[0], 0);
}

TEST_F(WheelLink, StartUpStopsAtAWheelWhoseLinkDoesNotOpen) {
    wheels(2, 0);
    // The driver lists wheel 1, but its link is gone.
    ASSERT_TRUE(client.removeWheels());
    ASSERT_TRUE(client.addWheel(0, simLinkName(0))) << client.error();
    ASSERT_TRUE(client.clearLog());
    static LoaderWheel loader;
    EXPECT_EQ(openWheelLinksAtStartup(loader, loaderRegistry, platformDeviceIo()), 0);
    const auto entries = log();
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].wheel, 0u);
    EXPECT_EQ(readU32(entries[0].input), 1u);
    EXPECT_EQ(readU32(entries[1].input), 3u);
}

TEST_F(WheelLink, LoaderGamePresetAndLinkCommandsArriveOnTheEmulationLink) {
    wheels(2, 1);
    static LoaderWheel loader;
    ASSERT_EQ(openEmulationLink(loader, loaderRegistry, platformDeviceIo()), 1);
    const HWND window = reinterpret_cast<HWND>(uintptr_t(0x00012345));
    const uint32_t handle = uint32_t(reinterpret_cast<uintptr_t>(window));
    EXPECT_EQ(sendLinkCommand(platformDeviceIo(), loader.emulationLink, kCodeLinkOpened, nullptr, 0), 1);
    EXPECT_EQ(sendLinkCommand(platformDeviceIo(), loader.emulationLink, kCodeLinkWindow, &handle, 4), 1);
    Preset preset = samplePreset();
    Preset current{};
    copyPresetFull(current, preset);
    EXPECT_EQ(uploadGamePreset(loader, current, platformDeviceIo()), 1);
    EXPECT_EQ(sendLinkCommand(platformDeviceIo(), loader.emulationLink, kCodeLinkClosing, nullptr, 0), 1);
    closeEmulationLink(loader, platformDeviceIo());

    const auto entries = log();
    ASSERT_EQ(entries.size(), 4u);
    const uint32_t codes[4] = {kCodeLinkOpened, kCodeLinkWindow, kCodeParameterBlock, kCodeLinkClosing};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(entries[i].code, codes[i]);
        EXPECT_EQ(entries[i].wheel, 1u) << "the emulation link is wheel 1's";
        EXPECT_EQ(entries[i].information, 4u);
    }
    EXPECT_EQ(entries[0].inputLength, 0u);
    EXPECT_EQ(readU32(entries[1].input), handle);
    static LoaderWheel expected;
    buildGameBlock(expected, current);
    EXPECT_EQ(inputOf(entries[2]), bytesOf(&expected.block, sizeof expected.block));
    EXPECT_EQ(expected.block.mode, kModeGame);
    EXPECT_EQ(entries[3].inputLength, 0u);
}

TEST_F(WheelLink, DriverAnswersReachTheCallerAndFailuresGiveMinusOne) {
    wheels(1, 0);
    const DeviceLink link = discover(0);
    ASSERT_NE(link.linkHandle, 0u);
    ASSERT_TRUE(client.setResult(kCodeParameterBlock, 0xCAFE));
    static ParameterBlock block;
    EXPECT_EQ(sendParameterBlock(platformDeviceIo(), link.linkHandle, block), 0xCAFE);
    ASSERT_TRUE(client.setFailure(kCodeParameterBlock, 0xC0000001));
    EXPECT_EQ(sendParameterBlock(platformDeviceIo(), link.linkHandle, block), -1);
    EXPECT_EQ(sendParameterBlock(platformDeviceIo(), 0, block), -1);
}

TEST_F(WheelLink, ParameterBlockRoundTripTime) {
    wheels(1, 0);
    const DeviceLink link = discover(0);
    ASSERT_NE(link.linkHandle, 0u);
    static ParameterBlock block;
    const int rounds = 200;
    const auto start = std::chrono::steady_clock::now();
    int ok = 0;
    for (int i = 0; i < rounds; ++i) ok += sendParameterBlock(platformDeviceIo(), link.linkHandle, block) == 1;
    const double us =
        std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start).count() / rounds;
    EXPECT_EQ(ok, rounds);
    std::printf("parameter block round trip to the simulated wheel: %.0f us (mean of %d)\n", us, rounds);
    RecordProperty("round_trip_us", int(us));
}

// --- Discovery that ends its process -------------------------------------

struct ProbeResult {
    DWORD exitCode = 0;
    std::string box;     // text of the "Error" box, if one was shown
    std::string output;  // what the probe printed
};

struct BoxSearch {
    DWORD pid;
    HWND box;
};

BOOL CALLBACK findBox(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<BoxSearch*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    char caption[64] = "";
    GetWindowTextA(window, caption, sizeof caption);
    if (pid == search->pid && IsWindowVisible(window) && std::strcmp(caption, "Error") == 0) {
        search->box = window;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK longestStatic(HWND child, LPARAM param) {
    char cls[32] = "", text[256] = "";
    GetClassNameA(child, cls, sizeof cls);
    GetWindowTextA(child, text, sizeof text);
    auto* best = reinterpret_cast<std::string*>(param);
    if (_stricmp(cls, "Static") == 0 && std::strlen(text) > best->size()) *best = text;
    return TRUE;
}

// Runs the probe; answers an "Error" box with OK after reading its text.
ProbeResult runProbe(const char* osLevel, const char* wheel) {
    ProbeResult result;
    const ChildRun run =
        runChild(besideTests("discovery_probe.exe"), std::string(osLevel) + " " + wheel, 20000, [&](DWORD pid) {
            BoxSearch search{pid, nullptr};
            EnumWindows(findBox, reinterpret_cast<LPARAM>(&search));
            if (search.box && result.box.empty()) {
                EnumChildWindows(search.box, longestStatic, reinterpret_cast<LPARAM>(&result.box));
                PostMessageA(search.box, WM_COMMAND, IDOK, 0);
            }
        });
    EXPECT_NE(run.exitCode, 998u) << "the probe did not end";
    result.exitCode = run.exitCode;
    result.output = run.output;
    return result;
}

class DiscoveryProcess : public WheelLink {};

TEST_F(DiscoveryProcess, AMatchingWheelLetsTheProcessGoOn) {
    wheels(2, 1);
    const ProbeResult r = runProbe("4", "1");
    EXPECT_EQ(r.exitCode, 100u);
    EXPECT_EQ(r.box, "");
    EXPECT_NE(r.output.find("link=1 number=1 emulation=1"), std::string::npos) << r.output;
}

TEST_F(DiscoveryProcess, NoDirectInputPathShowsLinkNotFoundAndEndsWithZero) {
    wheels(1, 0);
    const ProbeResult r = runProbe("4", "none");
    EXPECT_EQ(r.box, "LINK NOT FOUND");
    EXPECT_EQ(r.exitCode, 0u);
}

TEST_F(DiscoveryProcess, ALinkThatDoesNotOpenEndsWith70) {
    wheels(1, 0);
    ASSERT_TRUE(client.removeWheels());
    const ProbeResult r = runProbe("4", "0");
    EXPECT_EQ(r.box, "");
    EXPECT_EQ(r.exitCode, 70u);
}

TEST_F(DiscoveryProcess, AWheelMissingFromEnumEndsWith72) {
    wheels(1, 0);
    registry.store().deleteValue(kDriverEnumKey, "0");
    EXPECT_EQ(runProbe("4", "0").exitCode, 72u);
}

TEST_F(DiscoveryProcess, AClassEntryWithoutPrefixAsksToReplugAndEndsWith71) {
    wheels(1, 0);
    const std::string params =
        std::string(kDeviceClassKeys[0]) + "\\" + sim::simDriverClassSubkey(0) + "\\#\\Device Parameters";
    registry.store().deleteValue(params, kParentIdPrefixValue);
    const ProbeResult r = runProbe("4", "0");
    EXPECT_EQ(r.box, "LINK NOT FOUND, UNPLUG AND REPLUG DEVICE");
    EXPECT_EQ(r.exitCode, 71u);
}

TEST_F(DiscoveryProcess, AMatchWithoutSymLinkEndsWith69) {
    wheels(1, 0);
    const std::string params =
        std::string(kDeviceClassKeys[0]) + "\\" + sim::simDriverClassSubkey(0) + "\\#\\Device Parameters";
    registry.store().deleteValue(params, kSymLinkValue);
    const ProbeResult r = runProbe("4", "0");
    EXPECT_EQ(r.box, "");
    EXPECT_EQ(r.exitCode, 69u);
}

TEST_F(DiscoveryProcess, AMissingClassKeyShowsRegistryErrorAndEndsWithZero) {
    std::string error;
    ASSERT_TRUE(sim::removeWheelRegistry(error)) << error;
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, kDeviceClassKeys[0]);
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, kDeviceClassKeys[0]);
    const ProbeResult r = runProbe("4", "0");
    EXPECT_EQ(r.box, "REGISTRY ERROR");
    EXPECT_EQ(r.exitCode, 0u);
}

TEST_F(DiscoveryProcess, TheOlderSchemeEndsWith73WithoutEmulationValue) {
    wheels(1, -1);
    const ProbeResult r = runProbe("1", "0");
    EXPECT_EQ(r.box, "");
    EXPECT_EQ(r.exitCode, 73u);
}

}  // namespace
}  // namespace zentra

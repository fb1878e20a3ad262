// The control panel plug-in as the game-controllers panel sees it: the
// stand-in panel finds it through the registry, loads it, shows its sheet
// and closes it again.
#include <windows.h>

#include <gtest/gtest.h>

#include "driver/protocol.h"
#include "preset/registry.h"
#include "sim/sim_client.h"
#include "sim/sim_wheels.h"
#include "sim/sim_setup.h"
#include "tests/wine/support/wine_test_support.h"
#include "tools/cplhost/window_search.h"

#include <cstring>
#include <string>

namespace zentra {
namespace {

// Runs the stand-in panel; returns its exit code and what it printed.
DWORD runHost(const std::string& args, std::string& output) {
    const ChildRun run = runChild(besideTests("ZntPanelHost.exe"), args, 30000);
    output = run.output;
    return run.exitCode;
}

class PanelHost : public ::testing::Test {
protected:
    void SetUp() override {
        std::string out;
        ASSERT_EQ(runHost("register", out), 0u) << out;
        // The page opens the link of the wheel the panel shows.
        std::string error;
        ASSERT_TRUE(sim::configureWheels(2, 0, error)) << error;
    }
};

TEST_F(PanelHost, FindsTheSheetThroughTheRegistryAndClosesItWithOk) {
    std::string out;
    ASSERT_EQ(runHost("show --id 0 --close ok --after 1500", out), 0u) << out;
    EXPECT_NE(out.find("class: {8E2BAA80-969B-11D3-B1E7-0060080C0429}"), std::string::npos) << out;
    EXPECT_NE(out.find("ZentraCpl.dll"), std::string::npos) << out;
    EXPECT_NE(out.find("sheet: MORVENHOLLOW ZENTRAVOLI"), std::string::npos) << out;
    EXPECT_NE(out.find("pages: 1"), std::string::npos) << out;
    EXPECT_NE(out.find("template 144"), std::string::npos) << out;
    EXPECT_NE(out.find("result: 1"), std::string::npos) << out;
    // The template's 396 x 227 dialog units at Windows' 6 x 13 base units.
    EXPECT_NE(out.find("page area: 594 x 369"), std::string::npos) << out;
    // The sheet gave back the DirectInput objects it was handed.
    // (The test page releases the device at every tick: it is unacquired
    // more than once.)
    const size_t device = out.find("device: unacquired ");
    ASSERT_NE(device, std::string::npos) << out;
    const std::string deviceLine = out.substr(device, out.find_first_of("\r\n", device) - device);
    EXPECT_EQ(deviceLine.find("device: unacquired 0"), std::string::npos) << deviceLine;
    EXPECT_NE(deviceLine.find(", released to 0"), std::string::npos) << deviceLine;
    EXPECT_NE(out.find("joyconfig: unacquired 1, released to 0"), std::string::npos) << out;
    EXPECT_NE(out.find("can unload: yes"), std::string::npos) << out;
}

TEST_F(PanelHost, TakesAPictureOfTheSheetBeforeClosingIt) {
    char dir[MAX_PATH];
    GetTempPathA(MAX_PATH, dir);
    const std::string picture = std::string(dir) + "zentra-sheet.bmp";
    DeleteFileA(picture.c_str());
    std::string out;
    ASSERT_EQ(runHost("show --close cancel --after 1500 --screenshot \"" + picture + "\"", out), 0u) << out;
    EXPECT_NE(out.find("screenshot: saved"), std::string::npos) << out;
    WIN32_FILE_ATTRIBUTE_DATA data;
    ASSERT_TRUE(GetFileAttributesExA(picture.c_str(), GetFileExInfoStandard, &data));
    EXPECT_GT(data.nFileSizeLow, 100000u) << "a whole sheet, 24 bits a pixel";
    DeleteFileA(picture.c_str());
}

TEST_F(PanelHost, AHundredSheetsInOneProcessLeaveNothingBehind) {
    std::string out;
    ASSERT_EQ(runHost("show --repeat 100 --close ok --after 50", out), 0u) << out;
    const auto probe = [&](const char* after) {
        const size_t at = out.find(after);
        return at == std::string::npos ? std::string("missing") : out.substr(at + std::strlen(after), out.find('\n', at) - at - std::strlen(after));
    };
    const std::string first = probe("after the first sheet: "), last = probe("after sheet 100: ");
    std::printf("after the first sheet: %s; after the hundredth: %s\n", first.c_str(), last.c_str());
    EXPECT_NE("missing", first) << out;
    EXPECT_EQ(first, last) << "handles and windows flat";
    EXPECT_NE(out.find("result: 1"), std::string::npos) << out;
    EXPECT_NE(out.find("can unload: yes"), std::string::npos) << out;
}

TEST_F(PanelHost, CancelEndsTheSheetToo) {
    std::string out;
    ASSERT_EQ(runHost("show --close cancel --after 1000", out), 0u) << out;
    EXPECT_NE(out.find("result: 0"), std::string::npos) << out;
    EXPECT_NE(out.find("can unload: yes"), std::string::npos) << out;
}

TEST_F(PanelHost, AnUnregisteredWheelHasNoSheet) {
    std::string out;
    ASSERT_EQ(runHost("unregister", out), 0u);
    EXPECT_EQ(runHost("show --close ok --after 500", out), 1u);
    EXPECT_NE(out.find("no ConfigCLSID"), std::string::npos) << out;
}

// The page of class `cls` inside the sheet of another process.
HWND findPage(const char* cls) {
    HWND sheet = FindWindowA(nullptr, "MORVENHOLLOW ZENTRAVOLI");
    return sheet ? findChildOfClass(sheet, cls) : nullptr;
}

TEST_F(PanelHost, AReportEndingThePanelEndsItsHostWithZero) {
    sim::SimClient wheel;
    ASSERT_TRUE(wheel.open()) << wheel.error();
    ASSERT_TRUE(wheel.resetAnswers());
    bool sent = false;
    const ChildRun run = runChild(besideTests("ZntPanelHost.exe"), "show", 30000, [&](DWORD) {
        if (sent) return;
        HWND test = findPage("TESTWINDOW");
        if (!test) return;
        // The calibration reads the wheel's own report ten times a second.
        PostMessageA(test, WM_COMMAND, 1139, 0);
        Sleep(300);
        uint8_t report[SIM_WHEEL_REPORT_SIZE] = SIM_DEFAULT_REPORT_INIT;
        report[4] = 0x63;
        wheel.setReport(report);
        sent = true;
    });
    wheel.resetAnswers();
    EXPECT_TRUE(sent) << "the sheet did not show";
    EXPECT_EQ(0u, run.exitCode) << run.output;
    EXPECT_EQ(std::string::npos, run.output.find("result:")) << "ended before the sheet closed";
}

// Wine's per-program setting that makes ZntPanelHost.exe load a dinput8.dll
// beside it before the system's; the copy beside the test dinput8.dll is
// the only one that has one.
class NativeDirectInputFirst {
public:
    NativeDirectInputFirst() {
        if (RegCreateKeyExA(HKEY_CURRENT_USER, kKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key_, nullptr) == 0)
            RegSetValueExA(key_, "dinput8", 0, REG_SZ, reinterpret_cast<const BYTE*>("native,builtin"), 15);
    }
    ~NativeDirectInputFirst() {
        if (!key_) return;
        RegDeleteValueA(key_, "dinput8");
        RegCloseKey(key_);
    }

private:
    static constexpr char kKey[] = "Software\\Wine\\AppDefaults\\ZntPanelHost.exe\\DllOverrides";
    HKEY key_ = nullptr;
};

TEST_F(PanelHost, TheCalibrationStoresASweepThroughThePanelsOwnDirectInput) {
    Registry registry(platformRegistryStore(), Deliverable::Panel);
    const std::string value = joystickConfigurationName(0);
    platformRegistryStore().deleteValue(kPanelKey, value);
    sim::SimClient wheel;
    ASSERT_TRUE(wheel.open()) << wheel.error();
    ASSERT_TRUE(wheel.resetAnswers());  // at rest: the wheel byte is 127
    // The copy of the stand-in panel beside the test dinput8.dll, which that
    // process alone loads instead of the system's.
    NativeDirectInputFirst nativeFirst;
    int step = 0;
    const ChildRun run = runChild(besideTests("testdi\\ZntPanelHost.exe"), "show --handover none", 30000, [&](DWORD pid) {
        if (step == 0) {
            HWND test = findPage("TESTWINDOW");
            if (test) PostMessageA(test, WM_COMMAND, 1139, 0), step = 1;
        } else if (step == 1) {
            HWND dialog = findShownWindowWithControl(0, pid, 148);
            if (!dialog) return;
            Sleep(300);                                 // rest steps at 127
            // The rest position, taken before the sweep begins (a posted
            // command could wait behind a tick that reads the sweep).
            SendMessageA(dialog, WM_COMMAND, 1, 0);
            // Nine steps reach every extreme; each is held for two ticks.
            uint8_t report[SIM_WHEEL_REPORT_SIZE];
            for (int i = 0; i < 9; ++i) {
                sim::sweepReport(i, 9, report);
                wheel.setReport(report);
                Sleep(250);
            }
            Sleep(200);
            PostMessageA(dialog, WM_COMMAND, 1, 0);     // store
            step = 2;
        }
    });
    EXPECT_EQ(2, step) << "the calibration did not show";
    ASSERT_EQ(0u, run.exitCode) << run.output;
    EXPECT_NE(std::string::npos, run.output.find("result: 1")) << "stored: the sheet closes as with OK\n" << run.output;
    uint8_t record[kHardwareConfigSize] = {};
    uint32_t size = 0;
    ASSERT_EQ(1, registry.readRegBinary(record, sizeof record, kPanelKey, value.c_str(), &size));
    ASSERT_EQ(kHardwareConfigSize, size);
    const struct {
        size_t offset;
        uint32_t value;
    } words[] = {{12, 0},    {16, 0},   {20, 0},   {24, 255}, {36, 255}, {40, 255}, {44, 255}, {48, 0},
                 {60, 127},  {64, 127}, {68, 127}, {100, 3},
                 // from the system's configuration of the joystick
                 {0, 0x10}, {4, 13},    {8, 0x0B}, {28, 11},  {56, 22},  {84, 33},  {104, 7},  {108, 44}};
    for (const auto& w : words) EXPECT_EQ(w.value, readU32(record + w.offset)) << "offset " << w.offset;
    platformRegistryStore().deleteValue(kPanelKey, value);
}

}  // namespace
}  // namespace zentra

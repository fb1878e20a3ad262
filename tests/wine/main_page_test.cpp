// The main page in this test program's own process: a modeless property
// sheet with the page, a test sheet object handing it test DirectInput
// objects, the simulated wheel behind the link, the real registry and files.
// The page's code is linked in; its resources come from ZentraCpl.dll.
#include <windows.h>

#include <commctrl.h>
#include <prsht.h>
#include <vfw.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "cpl/frame/calibration.h"
#include "cpl/frame/cpl_module.h"
#include "cpl/frame/direct_input.h"
#include "cpl/frame/gdi_tally.h"
#include "cpl/frame/main_page.h"
#include "cpl/frame/panel_state.h"
#include "cpl/frame/skin_layout.h"
#include "cpl/pages/test_page_logic.h"
#include "preset/file_system.h"
#include "preset/preset_file.h"
#include "preset/program_messages.h"
#include "preset/registry_store_memory.h"
#include "sim/sim_client.h"
#include "sim/sim_setup.h"
#include "sim/sim_wheels.h"
#include "tests/wine/support/screen_pixels.h"
#include "tests/wine/support/wine_test_support.h"
#include "tools/cplhost/page_harness.h"
#include "tools/cplhost/window_search.h"

namespace zentra {
namespace {

// A window that records the private messages it gets, of the tray
// program's class or of another one.
std::vector<std::pair<UINT, WPARAM>> g_received;
LRESULT CALLBACK recordingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message >= 0x2000 && message < 0x3000) g_received.emplace_back(message, wParam);
    return DefWindowProcA(window, message, wParam, lParam);
}
HWND recordingWindow(const char* cls) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = recordingProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = cls;
    RegisterClassA(&wc);
    return CreateWindowExA(0, cls, "", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr, wc.hInstance, nullptr);
}

bool exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::vector<uint8_t> fileBytes(const std::string& path) {
    std::vector<uint8_t> bytes;
    HANDLE f = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (f == INVALID_HANDLE_VALUE) return bytes;
    bytes.resize(GetFileSize(f, nullptr));
    DWORD got = 0;
    if (!bytes.empty()) ReadFile(f, bytes.data(), DWORD(bytes.size()), &got, nullptr);
    CloseHandle(f);
    return bytes;
}

PresetTable& threePresets() {
    static PresetTable table;
    table = PresetTable{};
    const char* names[] = {"<<<DEFAULT PRESETS>>>", "Rally X", "Sky Ace"};
    for (int i = 0; i < 3; ++i) {
        resetPreset(table.presets[i], Deliverable::Panel);
        setPresetText(table.presets[i].gameName, names[i]);
    }
    table.presets[1].buttonKeys[0][0] = 0x1E;
    table.presetCount = 3;
    return table;
}

class MainPageTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { PageHarness::prepare(besideTests("ZentraCpl.dll").c_str()); }

    void SetUp() override {
        ASSERT_NE(PageHarness::library(), nullptr);
        std::string error;
        ASSERT_TRUE(PageHarness::startTest(client, 2, error)) << error;  // wheel 0 emulates keys, wheel 1 does not
        g_received.clear();
        presetFile = tempFile("zentra-page-test.pst");
        ASSERT_EQ(1, savePresetFile(nullptr, presetFile.c_str(), threePresets(), platformFileSystem()));
        pointPanelAt(registry, presetFile, 2);
        ASSERT_TRUE(client.clearLog());
    }

    void TearDown() override { DeleteFileA(presetFile.c_str()); }

    // Opens the page for simulated wheel `wheel`; with `handOver` false the
    // sheet gets no DirectInput objects.
    void open(int wheel, bool handOver = true) {
        sheetWindow = harness.open(wheel, handOver);
        ASSERT_NE(sheetWindow, nullptr);
        pumpMessages(50);
        pageWindow = mainPageState().page;
    }
    void close(int button) {
        harness.close(button);
        sheetWindow = nullptr;
    }

    std::vector<SimLogEntry> log() {
        std::vector<SimLogEntry> entries;
        EXPECT_TRUE(client.log(entries)) << client.error();
        return entries;
    }
    std::vector<SimLogEntry> logOf(uint32_t code) {
        std::vector<SimLogEntry> found;
        for (const SimLogEntry& e : log())
            if (e.code == code) found.push_back(e);
        return found;
    }

    sim::SimClient client;
    Registry registry{platformRegistryStore(), Deliverable::Panel};
    PageHarness harness;
    HWND sheetWindow = nullptr;
    HWND pageWindow = nullptr;
    std::string presetFile;
};

std::vector<int> tabsOf(HWND page) {
    std::vector<int> ids;
    for (int id = 243; id <= 247; ++id)
        if (GetDlgItem(page, id)) ids.push_back(id);
    return ids;
}

TEST_F(MainPageTest, TheEmulationWheelGetsFiveTabsAndTheTestPageFirst) {
    open(0);
    ASSERT_TRUE(IsWindow(pageWindow));
    EXPECT_EQ((std::vector<int>{243, 244, 245, 246, 247}), tabsOf(pageWindow));
    HWND test = GetDlgItem(pageWindow, 152);
    ASSERT_NE(test, nullptr) << "the test page opens first";
    char cls[32];
    GetClassNameA(test, cls, sizeof cls);
    EXPECT_STREQ("TESTWINDOW", cls);
    EXPECT_EQ(kTabSelected, mainPageState().tabs.visual[tabIndex(kTabTest)]);
    char text[64];
    GetWindowTextA(GetDlgItem(pageWindow, 243), text, sizeof text);
    EXPECT_STREQ("Boutons", text) << "the English table keeps the French text";
    // The emulation switch went on with 1, the presets came from the file.
    const auto switches = logOf(SIM_CODE_EMULATION_SWITCH);
    ASSERT_EQ(1u, switches.size());
    const uint32_t on[2] = {0x300, 1};
    EXPECT_EQ(0, std::memcmp(on, switches[0].input, 8));
    EXPECT_EQ(3, panelState().table.presetCount);
    EXPECT_EQ(2, panelState().currentIndex);
    EXPECT_STREQ("Sky Ace", panelState().currentPreset.gameName);
    // Every child page's region leaves the five tabs' places open.
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(ERROR, GetWindowRgn(test, region));
    EXPECT_FALSE(PtInRegion(region, 30, 280)) << "button tab";
    EXPECT_FALSE(PtInRegion(region, 550, 340)) << "presets tab";
    EXPECT_FALSE(PtInRegion(region, 30, 220)) << "D-pad tab";
    EXPECT_TRUE(PtInRegion(region, 300, 200));
    DeleteObject(region);
    close(IDOK);
}

TEST_F(MainPageTest, TheOtherWheelGetsTwoTabsAndItsSwitchOffAtClose) {
    open(1);
    EXPECT_EQ((std::vector<int>{245, 246}), tabsOf(pageWindow));
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(ERROR, GetWindowRgn(GetDlgItem(pageWindow, 152), region));
    EXPECT_TRUE(PtInRegion(region, 30, 280)) << "no button tab, no hole";
    EXPECT_FALSE(PtInRegion(region, 30, 340)) << "axis tab";
    DeleteObject(region);
    close(IDOK);
    const auto switches = logOf(SIM_CODE_EMULATION_SWITCH);
    ASSERT_EQ(2u, switches.size());
    const uint32_t on[2] = {0x300, 0}, off[2] = {0, 0};
    EXPECT_EQ(0, std::memcmp(on, switches[0].input, 8));
    EXPECT_EQ(0, std::memcmp(off, switches[1].input, 8));
}

TEST_F(MainPageTest, TabsSwitchPagesAndTheShownOneIsNotMadeAgain) {
    open(0);
    SendMessageA(pageWindow, WM_COMMAND, kTabAxis, 0);
    EXPECT_EQ(nullptr, GetDlgItem(pageWindow, 152)) << "one child page at a time";
    HWND axis = GetDlgItem(pageWindow, 153);
    ASSERT_NE(nullptr, axis);
    SendMessageA(pageWindow, WM_COMMAND, kTabAxis, 0);
    EXPECT_EQ(axis, GetDlgItem(pageWindow, 153));
    EXPECT_EQ(kTabSelected, mainPageState().tabs.visual[tabIndex(kTabAxis)]);
    EXPECT_EQ(kTabNormal, mainPageState().tabs.visual[tabIndex(kTabTest)]);
    SendMessageA(pageWindow, WM_COMMAND, kTabPresets, 0);
    EXPECT_NE(nullptr, GetDlgItem(pageWindow, 155));
    SendMessageA(pageWindow, WM_COMMAND, kTabPov, 0);
    EXPECT_EQ(nullptr, GetDlgItem(pageWindow, 155)) << "the D-pad tab closes the page it replaces";
    close(IDOK);
}

// Newer systems tell child windows when the sheet moves to a screen of
// another DPI (WM_DPICHANGED_AFTERPARENT): the page makes its open child
// page anew, which writes its edits back first, and keeps its tabs.
TEST_F(MainPageTest, ADpiChangeMakesTheOpenPageAnewAndKeepsItsEdits) {
    open(0);
    SendMessageA(pageWindow, WM_COMMAND, kTabAxis, 0);
    const uint32_t linked = panelState().currentPreset.pedalsLinked;
    SendMessageA(GetDlgItem(pageWindow, 153), WM_COMMAND, MAKEWPARAM(275, BN_CLICKED), 0);  // the link toggle
    SendMessageA(pageWindow, 0x02E3, 0, 0);
    ASSERT_NE(nullptr, GetDlgItem(pageWindow, 153)) << "the axis page is open again";
    EXPECT_NE(linked, panelState().currentPreset.pedalsLinked) << "the toggle was written back";
    RECT tab{};
    GetWindowRect(GetDlgItem(pageWindow, kTabTest), &tab);
    MapWindowPoints(nullptr, pageWindow, reinterpret_cast<POINT*>(&tab), 2);
    EXPECT_EQ(505, tab.left);
    EXPECT_EQ(2, tab.top);
    EXPECT_NE(nullptr, mainPageState().skin);
    close(IDOK);
}

TEST_F(MainPageTest, TheClipIsWrittenWithItsFixedTimesWhileThePageIsOpen) {
    open(0);
    const std::string video = mainPageState().videoPath;
    ASSERT_TRUE(exists(video)) << video;
    EXPECT_GT(fileBytes(video).size(), 100000u);
    WIN32_FILE_ATTRIBUTE_DATA data;
    ASSERT_TRUE(GetFileAttributesExA(video.c_str(), GetFileExInfoStandard, &data));
    for (const FILETIME& time : {data.ftCreationTime, data.ftLastWriteTime}) {
        SYSTEMTIME st;
        FileTimeToSystemTime(&time, &st);
        EXPECT_EQ(1999, st.wYear);
        EXPECT_EQ(8, st.wMonth);
        EXPECT_EQ(31, st.wDay);
        EXPECT_EQ(23, st.wHour);
    }
    close(IDOK);
    EXPECT_FALSE(exists(video));
}

TEST_F(MainPageTest, OkSavesThePresetsAndSendsTheCurrentOneAsTheClosingBlock) {
    open(1);
    // An edit of the table, as a page would make it.
    setPresetText(panelState().table.presets[1].gameName, "Rally X Edited");
    panelState().currentIndex = 1;
    copyPreset(panelState().currentPreset, panelState().table.presets[1]);
    client.clearLog();
    close(IDOK);
    PresetTable reread{};
    ASSERT_EQ(0, loadPresetFile(nullptr, presetFile.c_str(), reread, platformFileSystem(), nullptr));
    EXPECT_STREQ("Rally X Edited", reread.presets[1].gameName);
    EXPECT_EQ(1u, registry.readRegDword(kPanelKey, kLastIndexValue));
    // The block the wheel got is the closing block of the current preset.
    const auto blocks = logOf(SIM_CODE_PARAMETER_BLOCK);
    ASSERT_EQ(1u, blocks.size());
    ASSERT_EQ(sizeof(ParameterBlock), blocks[0].storedLength);
    MemoryRegistryStore store;
    Registry scratch(store, Deliverable::Panel);
    PanelWheel expected = panelState().wheel;
    buildPanelBlock(expected, reread.presets[1], 1, scratch);
    EXPECT_EQ(3u, readU32(blocks[0].input)) << "mode 3";
    EXPECT_EQ(0, std::memcmp(&expected.block, blocks[0].input, sizeof expected.block));
}

TEST_F(MainPageTest, CancelKeepsTheFileButStillWritesLastIndice) {
    open(0);
    const std::vector<uint8_t> before = fileBytes(presetFile);
    setPresetText(panelState().table.presets[1].gameName, "Not Saved");
    panelState().currentIndex = 1;
    close(IDCANCEL);
    EXPECT_EQ(before, fileBytes(presetFile));
    EXPECT_EQ(1u, registry.readRegDword(kPanelKey, kLastIndexValue));
}

TEST_F(MainPageTest, TheCloseBoxCancelsAsTheSheetReportsIt) {
    open(0);
    const std::vector<uint8_t> before = fileBytes(presetFile);
    setPresetText(panelState().table.presets[1].gameName, "Not Saved Either");
    SendMessageA(sheetWindow, WM_SYSCOMMAND, SC_CLOSE, 0);
    pumpMessages(50);
    EXPECT_EQ(0, mainPageState().applyOnClose) << "the sheet asked PSN_QUERYCANCEL";
    close(IDCANCEL);
    EXPECT_EQ(before, fileBytes(presetFile));
}

TEST_F(MainPageTest, LastIndicePastTheTableStartsAtTheFirstPreset) {
    registry.writeRegDword(40, kPanelKey, kLastIndexValue);
    open(0);
    EXPECT_EQ(0, panelState().currentIndex);
    EXPECT_STREQ("<<<DEFAULT PRESETS>>>", panelState().currentPreset.gameName);
    close(IDOK);
}

TEST_F(MainPageTest, AMissingPresetFileGivesOneDefaultPresetAndANewPath) {
    DeleteFileA(presetFile.c_str());
    open(0);
    EXPECT_EQ(1, panelState().table.presetCount);
    const char* path = registry.readRegString(kPanelKey, kTemporaryFileValue);
    ASSERT_NE(nullptr, path);
    EXPECT_NE(std::string(path).find("\\TEMP\\TempoZNT.pst"), std::string::npos) << path;
    const std::string newFile = path;
    close(IDCANCEL);
    DeleteFileA(newFile.c_str());
}

TEST_F(MainPageTest, AFileWithoutPresetsStaysTheUsersFile) {
    PresetTable empty{};
    ASSERT_EQ(1, savePresetFile(nullptr, presetFile.c_str(), empty, platformFileSystem()));
    open(0);
    EXPECT_EQ(0, panelState().table.presetCount);
    EXPECT_STREQ(presetFile.c_str(), registry.readRegString(kPanelKey, kTemporaryFileValue));
    EXPECT_STREQ("<<<DEFAULT PRESETS>>>", panelState().currentPreset.gameName);
    close(IDOK);
    EXPECT_EQ(kEmptyPresetFileSize, fileBytes(presetFile).size());
}

TEST_F(MainPageTest, WithoutDirectInputThePageStaysEmptyAndLeavesThePresetsAlone) {
    const std::vector<uint8_t> before = fileBytes(presetFile);
    open(0, false);  // Wine has no joystick: the page's own DirectInput finds none
    EXPECT_TRUE(tabsOf(pageWindow).empty());
    close(IDOK);
    EXPECT_EQ(before, fileBytes(presetFile)) << "a table never loaded is never saved";
    EXPECT_EQ(2u, registry.readRegDword(kPanelKey, kLastIndexValue));
    EXPECT_TRUE(logOf(SIM_CODE_PARAMETER_BLOCK).empty());
}

TEST_F(MainPageTest, ThePanelStateGoesOnlyToTheTrayProgramsWindow) {
    HWND other = recordingWindow("SOMEONE_ELSE");
    registry.writeRegDword(uint32_t(uintptr_t(other)), kPanelKey, kLoaderWindowValue);
    open(0);
    close(IDOK);
    EXPECT_TRUE(g_received.empty()) << "a stale handle naming another program's window";
    DestroyWindow(other);

    HWND tray = recordingWindow(kLoaderClassName);
    registry.writeRegDword(uint32_t(uintptr_t(tray)), kPanelKey, kLoaderWindowValue);
    open(0);
    close(IDOK);
    const std::vector<std::pair<UINT, WPARAM>> expected{{MSG_PANEL_STATE, 1}, {MSG_PANEL_STATE, 1}, {MSG_PANEL_STATE, 0}};
    EXPECT_EQ(expected, g_received) << "twice 1 for the emulation wheel, then 0";
    DestroyWindow(tray);
}

TEST_F(MainPageTest, TooltipsNameTheTabsAndAboutForAnyOtherControl) {
    open(0);
    const std::pair<int, const char*> cases[] = {{kTabAxis, "Axis configuration"}, {kTabTest, "Test page"},
                                                 {136, "About..."}};
    for (auto [id, text] : cases) {
        NMTTDISPINFOA request{};
        request.hdr.hwndFrom = nullptr;
        request.hdr.idFrom = UINT_PTR(GetDlgItem(pageWindow, id));
        request.hdr.code = TTN_GETDISPINFOA;
        request.uFlags = TTF_IDISHWND;
        SendMessageA(pageWindow, WM_NOTIFY, 0, LPARAM(&request));
        ASSERT_NE(nullptr, request.lpszText);
        EXPECT_STREQ(text, request.lpszText) << id;
    }
    close(IDOK);
}

// Windows of this thread, with all their descendants.
int windowsOfThisThread() {
    int count = 0;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM param) -> BOOL {
            auto* n = reinterpret_cast<int*>(param);
            ++*n;
            EnumChildWindows(window, [](HWND, LPARAM p) -> BOOL { return ++*reinterpret_cast<int*>(p), TRUE; }, param);
            return TRUE;
        },
        LPARAM(&count));
    return count;
}

TEST_F(MainPageTest, OpeningAndClosingAHundredTimesLeavesNothingBehind) {
    const LONG gdiBefore = liveGdiObjects();
    const int windowsBefore = windowsOfThisThread();
    for (int i = 0; i < 100; ++i) {
        open(i % 2);
        SendMessageA(pageWindow, WM_COMMAND, kTabAxis, 0);
        close(i % 3 ? IDOK : IDCANCEL);
        ASSERT_EQ(gdiBefore, liveGdiObjects()) << "opening " << i;
        ASSERT_EQ(windowsBefore, windowsOfThisThread()) << "opening " << i;
        ASSERT_EQ(nullptr, directInputState().root);
        ASSERT_EQ(0u, panelState().wheel.link.linkHandle);
    }
    std::printf("after 100 openings: %ld GDI objects of the pages alive (before: %ld), %d windows (before: %d)\n",
                liveGdiObjects(), gdiBefore, windowsOfThisThread(), windowsBefore);
}

}  // namespace
}  // namespace zentra

namespace zentra {
namespace {

// What a user does in the calibration dialog, from another thread while
// the dialog's modal loop runs on the test's thread.
struct CalibrationRun {
    DWORD uiThread = 0;
    HWND dialog = nullptr;
    MarkerPlace restingWheelMarker{-1, -1};
    bool openAfterQuickClicks = false;
    std::string refusal;  // what the dialog says of a wheel held still
    std::string box;      // the storing step's message box text
    bool openAfterBox = false;
};

HWND waitForDialog(DWORD thread, int withControl) {
    for (int i = 0; i < 200; ++i) {
        if (HWND found = findShownWindowWithControl(thread, 0, withControl)) return found;
        Sleep(20);
    }
    return nullptr;
}

void setReport(sim::SimClient& wheel, uint8_t x, uint8_t y, uint8_t z) {
    uint8_t report[SIM_WHEEL_REPORT_SIZE] = SIM_DEFAULT_REPORT_INIT;
    report[5] = x, report[6] = y, report[7] = z;
    wheel.setReport(report);
}

DWORD WINAPI calibrateAsAUser(void* param) {
    auto* run = static_cast<CalibrationRun*>(param);
    sim::SimClient wheel;
    wheel.open();
    setReport(wheel, 127, 0, 0);
    run->dialog = waitForDialog(run->uiThread, kWheelMarker);
    if (!run->dialog) return 1;
    Sleep(400);  // a few ticks of the rest phase
    RECT r;
    GetWindowRect(GetDlgItem(run->dialog, kWheelMarker), &r);
    POINT corner{r.left, r.top};
    ScreenToClient(run->dialog, &corner);
    run->restingWheelMarker = MarkerPlace{corner.x, corner.y};
    // Two quick clicks with the wheel held still: the second comes before
    // any axis moved, and the dialog says why it stores nothing.
    PostMessageA(run->dialog, WM_COMMAND, kCalibrationConfirm, 0);
    PostMessageA(run->dialog, WM_COMMAND, kCalibrationConfirm, 0);
    if (HWND box = waitForDialog(run->uiThread, 0xFFFF)) {
        char text[256] = "";
        GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
        run->refusal = text;
        PostMessageA(box, WM_COMMAND, IDOK, 0);
        for (int i = 0; i < 100 && IsWindow(box); ++i) Sleep(20);
    }
    run->openAfterQuickClicks = IsWindow(run->dialog) && IsWindowVisible(run->dialog);
    uint8_t report[SIM_WHEEL_REPORT_SIZE];
    for (int step = 0; step <= 40; ++step) {
        sim::sweepReport(step, 40, report);
        wheel.setReport(report);
        Sleep(25);
    }
    // Both ends held for a few of the dialog's ticks, then the rest position:
    // a busy machine cannot miss an extreme the calibration needs.
    for (uint8_t at : {uint8_t(0), uint8_t(255), uint8_t(127)}) {
        setReport(wheel, at, at, at);
        Sleep(400);
    }
    PostMessageA(run->dialog, WM_COMMAND, kCalibrationConfirm, 0);
    if (HWND box = waitForDialog(run->uiThread, 0xFFFF)) {  // the message box's text
        char text[256] = "";
        GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
        run->box = text;
        PostMessageA(box, WM_COMMAND, IDOK, 0);
    }
    Sleep(200);
    run->openAfterBox = IsWindow(run->dialog) && IsWindowVisible(run->dialog);
    PostMessageA(run->dialog, WM_COMMAND, kCalibrationCancel, 0);
    return 0;
}

TEST_F(MainPageTest, CalibrationWithTheSystemsDirectInputReportsItsRefusal) {
    open(0);
    HWND testPage = GetDlgItem(pageWindow, 152);
    ASSERT_NE(nullptr, testPage);
    const std::string value = joystickConfigurationName(0);
    registry.store().deleteValue(kPanelKey, value);
    CalibrationRun run;
    run.uiThread = GetCurrentThreadId();
    HANDLE user = CreateThread(nullptr, 0, calibrateAsAUser, &run, 0, nullptr);
    const INT_PTR result = OpenCalibration(testPage);
    WaitForSingleObject(user, 10000);
    CloseHandle(user);
    ASSERT_NE(nullptr, run.dialog) << "the dialog did not show";
    EXPECT_EQ(68, run.restingWheelMarker.x);
    EXPECT_EQ(53, run.restingWheelMarker.y);
    EXPECT_TRUE(run.openAfterQuickClicks) << "confirming a wheel held still stores nothing";
    EXPECT_EQ(run.refusal, "The calibration was not stored: turn the wheel to both ends and press each pedal through "
                           "its whole travel, then confirm again.");
    // Wine's joystick configuration refuses the storing step's first call.
    EXPECT_NE(std::string::npos, run.box.find("FAILED")) << run.box;
    std::printf("the storing step under Wine: \"%s\"\n", run.box.c_str());
    EXPECT_TRUE(run.openAfterBox) << "the dialog stays open to retry or cancel";
    EXPECT_EQ(kCalibrationCancelled, result);
    uint32_t type = 0, size = 0;
    EXPECT_FALSE(registry.store().queryValue(kPanelKey, value, RegAccess::Read, type, size));
    EXPECT_TRUE(IsWindow(sheetWindow) && PropSheet_GetCurrentPageHwnd(sheetWindow)) << "the sheet stays open";
    close(IDCANCEL);
}

}  // namespace
}  // namespace zentra

namespace zentra {
namespace {

// The centre of window `window` on the screen, as xdotool takes it.
std::string centreOf(HWND window) {
    RECT r;
    GetWindowRect(window, &r);
    return std::to_string((r.left + r.right) / 2) + " " + std::to_string((r.top + r.bottom) / 2);
}

TEST_F(MainPageTest, ThePointerLightsTabsAndAClickSwitchesThePage) {
    open(0);
    SetForegroundWindow(sheetWindow);
    const TabStates& tabs = mainPageState().tabs;
    const auto moveTo = [&](const std::string& where) {
        xdotool("mousemove " + where);
        pumpMessages(200);
    };
    moveTo(centreOf(GetDlgItem(pageWindow, kTabAxis)));
    EXPECT_EQ(kTabHovered, tabs.visual[tabIndex(kTabAxis)]);
    moveTo(centreOf(GetDlgItem(pageWindow, kTabButtons)));
    EXPECT_EQ(kTabNormal, tabs.visual[tabIndex(kTabAxis)]);
    EXPECT_EQ(kTabHovered, tabs.visual[tabIndex(kTabButtons)]);
    // Held over a tab, the pointer brings up its tooltip.
    moveTo(centreOf(GetDlgItem(pageWindow, kTabTest)));
    pumpMessages(1500);
    EXPECT_TRUE(IsWindowVisible(mainPageState().tooltip)) << "the tooltip shows";
    EXPECT_STREQ("Test page", mainPageState().tooltipText);
    EXPECT_EQ(kTabSelected, tabs.visual[tabIndex(kTabTest)]) << "the shown page's tab stays selected";
    EXPECT_EQ(kTabNormal, tabs.visual[tabIndex(kTabButtons)]);

    moveTo(centreOf(GetDlgItem(pageWindow, kTabAxis)));
    xdotool("click 1");
    pumpMessages(200);
    EXPECT_NE(nullptr, GetDlgItem(pageWindow, 153)) << "the axis page";
    EXPECT_EQ(nullptr, GetDlgItem(pageWindow, 152));
    EXPECT_EQ(kTabSelected, tabs.visual[tabIndex(kTabAxis)]);
    EXPECT_EQ(kTabNormal, tabs.visual[tabIndex(kTabTest)]);
    // Off the tabs, nothing stays lit.
    moveTo(centreOf(GetDlgItem(pageWindow, kTabPresets)));
    moveTo(centreOf(pageWindow));
    EXPECT_EQ(kTabNormal, tabs.visual[tabIndex(kTabPresets)]);
    EXPECT_EQ(0, tabs.lastHovered);
    close(IDOK);
}

}  // namespace
}  // namespace zentra

namespace zentra {
namespace {

void setWheel(sim::SimClient& wheel, uint8_t x, uint8_t y, uint8_t z, uint8_t buttons) {
    uint8_t report[SIM_WHEEL_REPORT_SIZE] = SIM_DEFAULT_REPORT_INIT;
    report[2] = buttons, report[5] = x, report[6] = y, report[7] = z;
    wheel.setReport(report);
}

TEST_F(MainPageTest, TheTestPageFollowsTheWheel) {
    // Preset 2 is current: button 1 has no keys, button 2 has.
    threePresets();
    PresetTable& table = threePresets();
    table.presets[2].buttonKeys[1][0] = 0x1E;
    table.presets[2].pedalsLinked = 0;
    ASSERT_EQ(1, savePresetFile(nullptr, presetFile.c_str(), table, platformFileSystem()));
    setWheel(client, 0, 0, 0, 0);
    open(0);
    SetForegroundWindow(sheetWindow);
    HWND test = GetDlgItem(pageWindow, 152);
    ASSERT_NE(nullptr, test);
    HWND video = GetDlgItem(test, 273);
    ASSERT_NE(nullptr, video) << "the wheel video";
    const auto blocks = logOf(SIM_CODE_PARAMETER_BLOCK);
    ASSERT_EQ(1u, blocks.size()) << "the page sends the current preset when it opens";
    EXPECT_EQ(1u, readU32(blocks[0].input)) << "mode 1";

    struct Case {
        uint8_t x, buttons;
        long frame;
        PagePoint marker;
        bool indicator;
    } cases[] = {
        {0, 0x00, 0, {121, 231}, false},     // full left
        {127, 0x01, 22, {228, 80}, false},   // centre, button 1 (no keys)
        {255, 0x02, 45, {334, 231}, true},   // full right, button 2 (keys)
    };
    for (const Case& c : cases) {
        setWheel(client, c.x, 0, 0, c.buttons);
        pumpMessages(400);
        EXPECT_EQ(c.frame, long(SendMessageA(video, MCIWNDM_GETPOSITION, 0, 0))) << int(c.x);
        EXPECT_EQ(spritePixel(skin::kSteeringMarker, 7, 7), screenPixel(test, c.marker.x + 7, c.marker.y + 7))
            << "the steering marker at " << c.marker.x << "," << c.marker.y;
        const skin::Sprite& indicator = c.indicator ? skin::kKeyboardIndicatorLit : skin::kKeyboardIndicatorNormal;
        EXPECT_EQ(spritePixel(indicator, 53, 28), screenPixel(test, 337 + 53, 70 + 28)) << "keyboard indicator";
    }
    close(IDOK);
}

// Whether `window` comes to show `colour` at (x, y) within a few ticks.
bool shows(HWND window, int x, int y, COLORREF colour) {
    return waitUntil([=] { return screenPixel(window, x, y) == colour; });
}

// The test page's live parts by the values the page's rules give: the
// gauges' bars (separate and linked pedals), the keyboard indicator going
// out, the steering dead band's upper edge, the clip's first frame, and a
// repaint of part of the page, after which nothing the ticks drew before
// stays behind.
TEST_F(MainPageTest, TheTestPageDrawsPedalsMarkerAndIndicatorByTheRules) {
    PresetTable& table = threePresets();
    table.presets[2].buttonKeys[1][0] = 0x1E;
    table.presets[2].pedalsLinked = 0;
    ASSERT_EQ(1, savePresetFile(nullptr, presetFile.c_str(), table, platformFileSystem()));
    setWheel(client, 108, 255, 255, 0);  // frame 19: the frame the page takes as shown at opening
    open(0);
    SetForegroundWindow(sheetWindow);
    HWND test = GetDlgItem(pageWindow, 152);
    ASSERT_NE(nullptr, test);
    EXPECT_TRUE(waitUntil([&] { return SendMessageA(GetDlgItem(test, 273), MCIWNDM_GETPOSITION, 0, 0) == 19; }))
        << "the clip at the wheel's frame";

    const COLORREF firstBar = spritePixel(skin::kFirstPedalBar, 3, 0), secondBar = spritePixel(skin::kSecondPedalBar, 3, 0);
    const COLORREF firstEmpty = spritePixel(skin::kTestPage, 423, 258), secondEmpty = spritePixel(skin::kTestPage, 483, 155);
    ASSERT_NE(firstBar, firstEmpty);
    ASSERT_NE(secondBar, secondEmpty);
    const COLORREF marker = spritePixel(skin::kSteeringMarker, 7, 7);
    struct Case {
        const char* what;
        uint8_t x, y, z, buttons;
        bool linked;
        bool firstBarShown, secondBarShown;  // 40 rows into gauge 1, 20 into gauge 2
        bool indicator;
    } cases[] = {
        {"pedals up", 0, 255, 255, 0, false, false, false, false},
        {"first pedal down (93 rows), second at its centre (46)", 0, 0, 0, 0x02, false, true, true, true},
        {"button 2 let go", 0, 0, 0, 0, false, true, true, false},
        {"linked, the shared axis at 0: only gauge 2, full", 0, 0, 0, 0, true, false, true, false},
        {"linked, the shared axis at 255: only gauge 1, full", 0, 255, 0, 0, true, true, false, false},
    };
    for (const Case& c : cases) {
        panelState().currentPreset.pedalsLinked = c.linked ? 1 : 0;
        setWheel(client, c.x, c.y, c.z, c.buttons);
        const skin::Sprite& indicator = c.indicator ? skin::kKeyboardIndicatorLit : skin::kKeyboardIndicatorNormal;
        const struct {
            int x, y;
            COLORREF colour;
        } expected[] = {{423, 258, c.firstBarShown ? firstBar : firstEmpty},
                        {483, 155, c.secondBarShown ? secondBar : secondEmpty},
                        {337 + 53, 70 + 28, spritePixel(indicator, 53, 28)}};
        for (const auto& e : expected)
            EXPECT_TRUE(shows(test, e.x, e.y, e.colour)) << c.what << " at " << e.x << "," << e.y;
    }

    // Part of the page repainted (a window closing over it), then the wheel
    // turned and the pedal let go: no second marker, no old bar.
    panelState().currentPreset.pedalsLinked = 0;
    setWheel(client, 0, 0, 255, 0);
    ASSERT_TRUE(shows(test, 121 + 7, 231 + 7, marker));
    ASSERT_TRUE(shows(test, 423, 258, firstBar));
    RECT part{500, 300, 590, 360};
    InvalidateRect(test, &part, FALSE);
    UpdateWindow(test);
    setWheel(client, 255, 255, 255, 0);
    EXPECT_TRUE(shows(test, 334 + 7, 231 + 7, marker));
    EXPECT_TRUE(shows(test, 423, 258, firstEmpty)) << "the old bar stayed";
    EXPECT_EQ(spritePixel(skin::kTestPage, 128, 238), screenPixel(test, 128, 238)) << "the full-left marker stayed";

    // The dead band ends below 34767.
    for (const auto& [x, at] : {std::pair<LONG, PagePoint>{34766, {228, 80}}, {34767, {240, 80}}}) {
        ScriptedState held;
        held.x = x;
        harness.joystick->script = {held};
        EXPECT_TRUE(shows(test, at.x + 7, at.y + 7, marker)) << "lX " << x;
    }
    harness.joystick->script.clear();
    close(IDCANCEL);
}

}  // namespace
}  // namespace zentra

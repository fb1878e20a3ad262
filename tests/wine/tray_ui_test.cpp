// ZntUsb's tray icon, menu, settings window and notice, used as a user
// would: xdotool clicks at the screen places that the windows report (Wine's
// virtual desktop draws the tray icons on its taskbar), messages to the
// controls by id where no click is needed, and what the screen shows
// compared with the same resources drawn by this process.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "loader/res/loader_resource.h"
#include "tests/wine/support/loader_bench.h"
#include "tests/wine/support/screen_pixels.h"

namespace zentra {
namespace {

constexpr UINT kTrayNotify = 0x3001;

// A host program, run to its end (Wine starts Linux programs too).
void runHost(const std::string& commandLine) {
    std::string command = commandLine;
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    ASSERT_TRUE(CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        << commandLine;
    WaitForSingleObject(pi.hProcess, 10000);
    CloseHandle(pi.hProcess);
    CloseHandle(pi.hThread);
}
void xdotool(const std::string& args) { runHost("Z:\\usr\\bin\\xdotool " + args); }
void clickAt(POINT at, const char* button = "1") {
    xdotool("mousemove " + std::to_string(at.x) + " " + std::to_string(at.y) + " click " + button);
    Sleep(300);
}
POINT centreOf(const RECT& r) { return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }
void clickControl(HWND window, int id) {
    RECT r;
    ASSERT_TRUE(GetWindowRect(GetDlgItem(window, id), &r));
    // Check boxes: on their box, at the left.
    clickAt(POINT{r.left + 8, (r.top + r.bottom) / 2});
}

// The screen's pixels in `r`.
std::vector<uint32_t> grab(const RECT& r) {
    HDC screen = GetDC(nullptr);
    std::vector<uint32_t> pixels = grabPixels(screen, r.left, r.top, r.right - r.left, r.bottom - r.top);
    ReleaseDC(nullptr, screen);
    return pixels;
}

// The tray's icon slots, from the right: Wine's taskbar gives each icon the
// small icon size and a border of 2 on each side.
RECT traySlot(int k) {
    RECT tray{};
    GetWindowRect(FindWindowA("Shell_TrayWnd", nullptr), &tray);
    const int slot = GetSystemMetrics(SM_CXSMICON) + 4;
    return RECT{tray.right - slot * (k + 1), tray.top, tray.right - slot * k, tray.bottom};
}

// This process's own rendering of a menu resource of the loader, opened at
// the cursor as the loader opens its own: the popup's pixels.
std::vector<uint32_t> referenceMenu(int menuId, RECT& rect) {
    std::vector<uint32_t> pixels;
    HWND owner = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    HRSRC found = FindResourceExA(nullptr, reinterpret_cast<LPCSTR>(RT_MENU), MAKEINTRESOURCEA(menuId),
                                  MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL));
    HMENU menu = LoadMenuIndirectA(LockResource(LoadResource(nullptr, found)));
    std::pair<DWORD, std::pair<RECT*, std::vector<uint32_t>*>> args(GetCurrentThreadId(), {&rect, &pixels});
    HANDLE grabber = CreateThread(
        nullptr, 0,
        [](void* p) -> DWORD {
            auto* args = static_cast<std::pair<DWORD, std::pair<RECT*, std::vector<uint32_t>*>>*>(p);
            HWND popup = visibleMenuOf(args->first, 5000);
            if (popup) {
                Sleep(300);
                GetWindowRect(popup, args->second.first);
                *args->second.second = grab(*args->second.first);
                PostMessageA(popup, WM_KEYDOWN, VK_ESCAPE, 0);
                PostMessageA(popup, WM_KEYDOWN, VK_ESCAPE, 0);
            }
            return 0;
        },
        &args, 0, nullptr);
    POINT at;
    GetCursorPos(&at);
    SetForegroundWindow(owner);
    TrackPopupMenu(GetSubMenu(menu, 0), TPM_RETURNCMD | TPM_RIGHTBUTTON, at.x, at.y, 0, owner, nullptr);
    WaitForSingleObject(grabber, 10000);
    CloseHandle(grabber);
    DestroyMenu(menu);
    DestroyWindow(owner);
    return pixels;
}

class TrayUi : public LoaderBench {
protected:
    HWND start() {
        HWND window = startLoader();
        for (int i = 0; i < 100 && window && IsWindowVisible(window); ++i) Sleep(50);
        Sleep(500);  // the icon is on the taskbar
        return window;
    }
    DWORD threadOf(HWND window) { return GetWindowThreadProcessId(window, nullptr); }

    // A right click on the loader's icon: its menu, or null.
    HWND rightClickIcon(HWND window) {
        clickAt(centreOf(traySlot(0)), "3");
        return visibleMenuOf(threadOf(window), 3000);
    }
    // Clicks item `position` of an open three-item menu.
    void clickItem(HWND menu, int position) {
        RECT r;
        GetWindowRect(menu, &r);
        const int top = r.top + 3, height = r.bottom - r.top - 6;
        clickAt(POINT{(r.left + r.right) / 2, top + height * (2 * position + 1) / 6});
    }
    HWND showWindow(HWND window) {
        HWND menu = rightClickIcon(window);
        if (!menu) return nullptr;
        clickItem(menu, 1);
        for (int i = 0; i < 100 && !IsWindowVisible(window); ++i) Sleep(50);
        return IsWindowVisible(window) ? window : nullptr;
    }
    std::string textOf(HWND control) {
        char text[64] = "";
        GetWindowTextA(control, text, sizeof text);
        return text;
    }
    std::vector<SimLogEntry> entriesOf(uint32_t code, size_t count, DWORD ms) {
        std::vector<SimLogEntry> found;
        for (DWORD waited = 0; found.size() < count && waited <= ms; waited += 50) {
            found.clear();
            for (const SimLogEntry& e : log())
                if (e.code == code) found.push_back(e);
            Sleep(50);
        }
        return found;
    }
};

// The user's language is the locale's (CTest runs this once more under
// other locales, cmake/Loader.cmake): the menu shown is that language's
// menu resource, drawn as this process draws it, and not English (German
// when that is the language).
TEST_F(TrayUi, ARightClickOpensTheMenuInTheUsersLanguage) {
    const char* expected = std::getenv("ZENTRA_EXPECTED_MENU");
    const int menuId = expected ? std::atoi(expected) : IDR_MENU_ENGLISH;
    const int otherId = menuId == IDR_MENU_ENGLISH ? IDR_MENU_GERMAN : IDR_MENU_ENGLISH;
    HWND window = start();
    ASSERT_NE(nullptr, window);
    HWND menu = rightClickIcon(window);
    ASSERT_NE(nullptr, menu);
    Sleep(300);
    RECT shown;
    GetWindowRect(menu, &shown);
    const std::vector<uint32_t> screen = grab(shown);
    PostMessageA(menu, WM_KEYDOWN, VK_ESCAPE, 0);
    for (int i = 0; i < 40 && visibleMenuOf(threadOf(window), 0); ++i) Sleep(50);
    RECT own{}, other{};
    const std::vector<uint32_t> same = referenceMenu(menuId, own);
    const std::vector<uint32_t> wrong = referenceMenu(otherId, other);
    EXPECT_TRUE(EqualRect(&own, &shown));
    EXPECT_TRUE(same == screen) << "the loader's menu is menu " << menuId;
    EXPECT_FALSE(wrong == screen);
}

TEST_F(TrayUi, LeftAndDoubleClicksOnTheIconDoNothing) {
    HWND window = start();
    ASSERT_NE(nullptr, window);
    for (const char* click : {"1", "--repeat 2 1"}) {
        SCOPED_TRACE(click);
        clickAt(centreOf(traySlot(0)), click);
        EXPECT_EQ(nullptr, visibleMenuOf(threadOf(window), 1000));
        EXPECT_FALSE(IsWindowVisible(window));
    }
    EXPECT_NE(nullptr, rightClickIcon(window)) << "the right button does open it";
}

TEST_F(TrayUi, TheMenusItemsShowTheWindowStartTheControlPanelAndExit) {
    HWND window = start();
    ASSERT_NE(nullptr, window);
    ASSERT_NE(nullptr, showWindow(window));
    ShowWindow(window, SW_HIDE);

    HWND menu = rightClickIcon(window);
    ASSERT_NE(nullptr, menu);
    clickItem(menu, 0);
    // "control joy.cpl": Wine's control program with the game controllers,
    // found by its command line among the host's processes, then ended.
    std::string commandLine, hostPid;
    for (int i = 0; i < 100 && commandLine.empty(); ++i, Sleep(100)) {
        WIN32_FIND_DATAA found;
        HANDLE find = FindFirstFileA("Z:\\proc\\*", &found);
        ASSERT_NE(INVALID_HANDLE_VALUE, find);
        do {
            if (found.cFileName[0] < '0' || found.cFileName[0] > '9') continue;
            std::ifstream in(std::string("Z:\\proc\\") + found.cFileName + "\\cmdline", std::ios::binary);
            std::string cmd((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
            for (char& c : cmd) c = c ? c : ' ';
            if (cmd.find("joy.cpl") != std::string::npos) {
                commandLine = cmd.substr(0, cmd.find_last_not_of(' ') + 1);
                hostPid = found.cFileName;
            }
        } while (commandLine.empty() && FindNextFileA(find, &found));
        FindClose(find);
    }
    EXPECT_EQ("control joy.cpl", commandLine);
    if (!hostPid.empty()) runHost("Z:\\bin\\kill " + hostPid);

    ASSERT_TRUE(client.clearLog());
    menu = rightClickIcon(window);
    ASSERT_NE(nullptr, menu);
    clickItem(menu, 2);
    EXPECT_EQ(18u, loader->wait(10000));
    const auto entries = log();
    ASSERT_FALSE(entries.empty());
    EXPECT_EQ(kCodeLinkClosing, entries.back().code);
}

// Checking "Disable keyboard emulation" shows icon 235, as this process's
// own tray icon of resource 235 beside it shows (its 16-pixel picture, the
// tray's size at 96 DPI); clearing it icon 234 again.
TEST_F(TrayUi, DisablingKeyboardEmulationSwitchesTheIconAndTheDriver) {
    HWND window = start();
    ASSERT_NE(nullptr, window);
    ASSERT_NE(nullptr, showWindow(window));
    HWND own = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    NOTIFYICONDATAA icon{};
    icon.cbSize = NOTIFYICONDATAA_V1_SIZE;
    icon.hWnd = own;
    icon.uID = 1;
    icon.uFlags = NIF_ICON;
    // The picture drawn for the tray's 16 pixels at 96 DPI.
    icon.hIcon = HICON(LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_LOADER_OFF), IMAGE_ICON, 16, 16, 0));
    ASSERT_TRUE(Shell_NotifyIconA(NIM_ADD, &icon));
    Sleep(500);
    const std::vector<uint32_t> normal = grab(traySlot(0));
    EXPECT_FALSE(normal == grab(traySlot(1)));
    ASSERT_TRUE(client.clearLog());

    clickControl(window, 1008);
    Sleep(500);
    EXPECT_EQ(BST_CHECKED, SendDlgItemMessageA(window, 1008, BM_GETCHECK, 0, 0));
    EXPECT_TRUE(grab(traySlot(0)) == grab(traySlot(1))) << "icon 235";
    clickControl(window, 1008);
    Sleep(500);
    EXPECT_TRUE(grab(traySlot(0)) == normal) << "icon 234 again";

    const auto switches = entriesOf(kCodeEmulationSwitch, 2, 5000);
    ASSERT_EQ(2u, switches.size());
    const EmulationSwitch off{768, 0}, on{768, 1};
    EXPECT_EQ(bytesOf(&off, 8), input(switches[0]));
    EXPECT_EQ(bytesOf(&on, 8), input(switches[1]));
    Shell_NotifyIconA(NIM_DELETE, &icon);
    DestroyIcon(icon.hIcon);
    DestroyWindow(own);
}

// Checking writes "Launch" "YES"; the next start checks the box and writes
// the Run value; clearing writes "NO" and leaves the Run value.
TEST_F(TrayUi, LaunchOnStartupWritesLaunchAndTheNextStartTheRunValue) {
    platformRegistryStore().deleteValue(kRunKey, kRunValue);
    HWND window = start();
    ASSERT_NE(nullptr, window);
    ASSERT_NE(nullptr, showWindow(window));
    EXPECT_EQ(BST_UNCHECKED, SendDlgItemMessageA(window, 107, BM_GETCHECK, 0, 0));
    clickControl(window, 107);
    const char* launch = registry.readRegString(kPanelKey, kLaunchValue);
    EXPECT_STREQ("YES", launch ? launch : "(none)");

    TearDown();
    SetUp();
    registry.writeRegString(kPanelKey, kLaunchValue, "YES");
    window = start();
    ASSERT_NE(nullptr, window);
    char windows[MAX_PATH];
    GetWindowsDirectoryA(windows, MAX_PATH);
    const char* run = registry.readRegString(kRunKey, kRunValue);
    EXPECT_EQ(std::string(windows) + "\\SYSTEM32\\ZntUsb.exe /STARTUP", run ? run : "(none)");
    ASSERT_NE(nullptr, showWindow(window));
    EXPECT_EQ(BST_CHECKED, SendDlgItemMessageA(window, 107, BM_GETCHECK, 0, 0));
    clickControl(window, 107);
    launch = registry.readRegString(kPanelKey, kLaunchValue);
    EXPECT_STREQ("NO", launch ? launch : "(none)");
    run = registry.readRegString(kRunKey, kRunValue);
    EXPECT_NE(nullptr, run) << "the Run value stays";
    platformRegistryStore().deleteValue(kRunKey, kRunValue);
}

TEST_F(TrayUi, SelectPresetManuallyListsThePresetsStartsAndStops) {
    HWND window = start();
    ASSERT_NE(nullptr, window);
    ASSERT_NE(nullptr, showWindow(window));
    HWND combo = GetDlgItem(window, 108), button = GetDlgItem(window, 105);
    EXPECT_FALSE(IsWindowEnabled(combo));
    EXPECT_FALSE(IsWindowEnabled(button));

    clickControl(window, 106);
    EXPECT_TRUE(IsWindowEnabled(combo));
    EXPECT_TRUE(IsWindowEnabled(button));
    ASSERT_EQ(3, SendMessageA(combo, CB_GETCOUNT, 0, 0));
    const char* names[] = {"<<<DEFAULT PRESETS>>>", "Game 1", "Game 2"};  // table order
    for (int i = 0; i < 3; ++i) {
        wchar_t text[256] = L"";
        SendMessageW(combo, CB_GETLBTEXT, WPARAM(i), LPARAM(text));
        EXPECT_EQ(std::wstring(names[i], names[i] + strlen(names[i])), std::wstring(text)) << i;
    }
    EXPECT_EQ(0, SendMessageA(combo, CB_GETCURSEL, 0, 0));

    ASSERT_TRUE(client.clearLog());
    SendMessageA(combo, CB_SETCURSEL, 2, 0);
    RECT r;
    GetWindowRect(button, &r);
    clickAt(centreOf(r));
    auto blocks = entriesOf(kCodeParameterBlock, 1, 5000);
    ASSERT_EQ(1u, blocks.size());
    EXPECT_EQ(gameBlockFor(2), input(blocks[0]));
    EXPECT_EQ("Stop", textOf(button));
    EXPECT_EQ(2u, registry.readRegDword(kPanelKey, kLastIndexValue));

    clickControl(window, 106);
    blocks = entriesOf(kCodeParameterBlock, 2, 5000);
    ASSERT_EQ(2u, blocks.size());
    EXPECT_EQ(gameBlockFor(0), input(blocks[1])) << "the default preset";
    EXPECT_EQ("Start", textOf(button));
    EXPECT_FALSE(IsWindowEnabled(combo));
    EXPECT_EQ(0, SendMessageA(combo, CB_GETCOUNT, 0, 0));
}

TEST_F(TrayUi, MinimiseAndCloseHideTheWindow) {
    HWND window = start();
    ASSERT_NE(nullptr, window);
    for (const char* how : {"minimise", "close"}) {
        SCOPED_TRACE(how);
        ASSERT_NE(nullptr, showWindow(window));
        if (how[0] == 'm') {
            SendMessageA(window, WM_SYSCOMMAND, SC_MINIMIZE, 0);
        } else {
            // The caption's close button, at the window's top right.
            RECT r;
            GetWindowRect(window, &r);
            const int frame = GetSystemMetrics(SM_CXDLGFRAME), caption = GetSystemMetrics(SM_CYCAPTION);
            clickAt(POINT{r.right - frame - caption / 2, r.top + frame + caption / 2});
        }
        for (int i = 0; i < 40 && IsWindowVisible(window); ++i) Sleep(50);
        EXPECT_FALSE(IsWindowVisible(window));
        EXPECT_EQ(STILL_ACTIVE, loader->wait(0)) << "the loader keeps running";
    }
}

// The notice's two texts, each compared with the same text drawn here as
// the notice draws it.
std::vector<uint32_t> referenceNotice(const char* text) {
    RECT r{0, 0, 300, 50};
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), 300, -50, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    SelectObject(dc, bitmap);
    SelectObject(dc, GetStockObject(SYSTEM_FONT));
    SetBkColor(dc, 0x960000);
    SetTextColor(dc, 0xFFFFFF);
    HBRUSH brush = CreateSolidBrush(0x960000);
    FillRect(dc, &r, brush);
    DeleteObject(brush);
    RECT box{0, 0, 280, 50};
    DrawTextA(dc, text, -1, &box, DT_WORDBREAK | DT_CENTER);
    GdiFlush();
    std::vector<uint32_t> pixels(static_cast<uint32_t*>(bits), static_cast<uint32_t*>(bits) + 300 * 50);
    DeleteDC(dc);
    DeleteObject(bitmap);
    ReleaseDC(nullptr, screen);
    return pixels;
}

// At 150 % (144 DPI) every place and size of the settings window and of the
// notice is one and a half times its 96-DPI value.
TEST_F(TrayUi, AtOneAndAHalfTimesTheWindowAndTheNoticeGrowWithTheScreen) {
    HWND window = nullptr;
    {
        ScreenDpi screen(144);
        window = start();
    }
    ASSERT_NE(nullptr, window);
    ASSERT_TRUE(chooseTrayMenuItem(window, 1));
    for (int i = 0; i < 100 && !IsWindowVisible(window); ++i) Sleep(50);
    RECT outer{};
    GetWindowRect(window, &outer);
    EXPECT_EQ(503, outer.right - outer.left) << "335 wide";
    EXPECT_EQ(300, outer.bottom - outer.top) << "200 high";
    const struct {
        int id;
        RECT place;  // in the client area
    } controls[] = {
        {1008, {15, 15, 495, 60}},    // (10, 10), 320 by 30
        {107, {15, 60, 495, 105}},    // (10, 40)
        {106, {15, 105, 495, 150}},   // (10, 70)
        {105, {360, 210, 480, 255}},  // (240, 140), 80 by 30
    };
    for (const auto& c : controls) {
        RECT r{};
        GetWindowRect(GetDlgItem(window, c.id), &r);
        MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&r), 2);
        EXPECT_EQ(c.place.left, r.left) << c.id;
        EXPECT_EQ(c.place.top, r.top) << c.id;
        EXPECT_EQ(c.place.right, r.right) << c.id;
        EXPECT_EQ(c.place.bottom, r.bottom) << c.id;
    }
    startGame("rallyx.exe");
    HWND notice = nullptr;
    for (int i = 0; i < 200 && !notice; ++i, Sleep(50)) notice = FindWindowA(nullptr, "Morvenhollow Preset Loader");
    ASSERT_NE(nullptr, notice);
    RECT r{};
    GetWindowRect(notice, &r);
    EXPECT_EQ(150, r.left) << "(100, 100), 300 by 60";
    EXPECT_EQ(150, r.top);
    EXPECT_EQ(450, r.right - r.left);
    EXPECT_EQ(90, r.bottom - r.top);
}

TEST_F(TrayUi, TheNoticeShowsItsTwoTextsAtAGamesStartAndEnd) {
    ASSERT_NE(nullptr, start());
    Sleep(2000);
    const struct {
        const char* first;
        const char* second;
    } notices[] = {{"Morvenhollow Detected Game Launch", "Uploading Preset To Zentravoli"},
                   {"Morvenhollow Detected Game Shutdown", "Restoring Default Preset"}};
    startGame("rallyx.exe");
    for (const auto& n : notices) {
        SCOPED_TRACE(n.first);
        HWND notice = nullptr;
        for (int i = 0; i < 200 && !notice; ++i, Sleep(50)) notice = FindWindowA(nullptr, "Morvenhollow Preset Loader");
        ASSERT_NE(nullptr, notice);
        bool first = false, second = false;
        const std::vector<uint32_t> one = referenceNotice(n.first), two = referenceNotice(n.second);
        for (int i = 0; i < 100 && !second && IsWindow(notice); ++i, Sleep(50)) {
            // The client area, smaller than the painted 300 by 50.
            POINT origin{0, 0};
            ClientToScreen(notice, &origin);
            RECT client{};
            GetClientRect(notice, &client);
            const int w = std::min<int>(client.right, 300), h = std::min<int>(client.bottom, 50);
            const std::vector<uint32_t> shown = grab(RECT{origin.x, origin.y, origin.x + w, origin.y + h});
            auto part = [&](const std::vector<uint32_t>& full) {
                std::vector<uint32_t> out;
                for (int y = 0; y < h; ++y) out.insert(out.end(), full.begin() + y * 300, full.begin() + y * 300 + w);
                return out;
            };
            if (w < 200 || h < 30) continue;
            first = first || shown == part(one);
            second = first && shown == part(two);
        }
        EXPECT_TRUE(first);
        EXPECT_TRUE(second);

        if (n.first == notices[0].first) {
            for (int i = 0; i < 100 && IsWindow(notice); ++i) Sleep(50);
            games.back()->kill();
        }
    }
}

}  // namespace
}  // namespace zentra

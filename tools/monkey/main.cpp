// ZntMonkey: a random user of the control panel. It finds the property
// sheet that the stand-in panel shows and plays random events on it from a
// seed: tab switches, real clicks, double clicks and drags (on anchors and
// list rows too), keys, wheel buttons and axes through the simulated wheel,
// and in every window the sheet opens (its dialogs, message boxes, the file
// and print dialogs) some random actions and sooner or later its dismissal.
// File dialogs only ever get names in the run's folder.
//
//   ZntMonkey prepare --seed S --folder DIR [--presets N]
//       writes DIR\TempoZNT.pst (a random table, N presets, 2-255 by
//       default from the seed), copies DIR\before.pst and DIR\other-as-written.pst
//       (which no dialog is ever given), DIR\other.pst and
//       DIR\damaged.pst for the import dialog, points "TemporaryFile" at the
//       table, and empties the simulated wheel's log.
//   ZntMonkey play --pointer PIPE --seed S --events N --folder DIR [--close ok|cancel] [--presets N]
//   ZntMonkey play --pointer PIPE --replay LOG [--until K]
//       plays on the open sheet, logging each event with its index to
//       DIR\events.log, closes the sheet with OK or Cancel (from the seed)
//       and waits for the panel to end. Then, after OK, it writes for the
//       runner DIR\block.bin (the last mode-3 block the wheel received),
//       DIR\hardware.bin (the stored hardware configuration, when there is
//       one) and DIR\result.txt, and checks that no slot of the saved table
//       holds a key the run did not type while that slot's page was shown
//       with the sheet in front. A replay plays the log's events up to K
//       (all by default) on the sheet opened from the same table.
//
// Exit code 0 when the run holds, 1 with the reason on a crash, a hang, a
// broken rule or bad input.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "driver/protocol.h"
#include "preset/file_system.h"
#include "preset/preset_file.h"
#include "preset/registry.h"
#include "preset/registry_store.h"
#include "sim/sim_client.h"
#include "tools/cplhost/window_search.h"
#include "tools/monkey/random_table.h"

using namespace zentra;
using namespace zentra::monkey;

namespace {

std::string g_failurePicture;  // where a failed run leaves a picture of the screen

int fail(const std::string& why) {
    if (!g_failurePicture.empty() && saveWindowPicture(GetDesktopWindow(), g_failurePicture))
        std::fprintf(stderr, "ZntMonkey: the screen is in %s\n", g_failurePicture.c_str());
    std::fprintf(stderr, "ZntMonkey: %s\n", why.c_str());
    std::fflush(stderr);
    return 1;
}

bool writeBytes(const std::string& path, const void* data, size_t size) {
    const auto* bytes = static_cast<const uint8_t*>(data);
    return bool(platformFileSystem().replaceFile(path, std::vector<uint8_t>(bytes, bytes + size)));
}

bool loadTable(const std::string& path, PresetTable& table) {
    std::memset(&table, 0, sizeof table);
    return loadPresetFile(nullptr, path.c_str(), table, platformFileSystem(), nullptr) == 0;
}

// The wheel at rest: no button, axes centred.
const uint8_t kRestingReport[SIM_WHEEL_REPORT_SIZE] = SIM_DEFAULT_REPORT_INIT;

// --- prepare ----------------------------------------------------------------

PresetTable g_table, g_other;  // 255 records each: static

int prepare(unsigned seed, const std::string& folder, int presets) {
    std::mt19937 random(seed);
    if (presets <= 0) presets = chance(random, 30) ? 2 : chance(random, 40) ? kMaxPresets : pick(random, 3, 254);
    if (presets > kMaxPresets) return fail("at most 255 presets");
    CreateDirectoryA(folder.c_str(), nullptr);
    randomTable(random, presets, g_table);
    randomTable(random, pick(random, 1, 12), g_other);
    const std::string table = folder + "\\TempoZNT.pst";
    for (const auto& [name, t] : {std::pair<const char*, PresetTable*>{"\\TempoZNT.pst", &g_table},
                                  {"\\before.pst", &g_table}, {"\\other.pst", &g_other},
                                  {"\\other-as-written.pst", &g_other}})
        if (!savePresetFile(nullptr, (folder + name).c_str(), *t, platformFileSystem()))
            return fail("cannot write " + folder + name);
    // A damaged file: the table cut somewhere inside.
    std::vector<uint8_t> bytes;
    if (!platformFileSystem().readFile(table, kMaxPresetFileSize, bytes) || bytes.size() < 2)
        return fail("cannot read back " + table);
    bytes.resize(size_t(pick(random, 1, int(bytes.size()) - 1)));
    writeBytes(folder + "\\damaged.pst", bytes.data(), bytes.size());

    Registry registry(platformRegistryStore(), Deliverable::Panel);
    registry.writeRegString(kPanelKey, kTemporaryFileValue, table.c_str());
    // Now and then a last index the table does not have.
    registry.writeRegDword(uint32_t(chance(random, 10) ? presets + 3 : pick(random, 0, presets - 1)), kPanelKey,
                           kLastIndexValue);
    registry.writeRegDword(0, kPanelKey, kLoaderWindowValue);

    sim::SimClient wheel;
    if (!wheel.open() || !wheel.clearLog() || !wheel.setReport(kRestingReport)) return fail("simulated wheel: " + wheel.error());
    std::printf("prepared %d presets in %s\n", presets, table.c_str());
    return 0;
}

// --- The sheet and the windows it opens ---------------------------------------

struct Host {
    HWND sheet = nullptr;
    DWORD pid = 0;
    HANDLE process = nullptr;
};

std::string className(HWND window) {
    char name[64] = "";
    GetClassNameA(window, name, sizeof name);
    return name;
}

RECT windowRect(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    return r;
}

// The stand-in panel's sheet: a shown top-level window with the test page.
bool findSheet(Host& host, DWORD ms) {
    for (DWORD waited = 0; waited <= ms; waited += 100) {
        EnumWindows(
            [](HWND window, LPARAM param) -> BOOL {
                if (!IsWindowVisible(window) || !findChildOfClass(window, "TESTWINDOW")) return TRUE;
                *reinterpret_cast<HWND*>(param) = window;
                return FALSE;
            },
            LPARAM(&host.sheet));
        if (host.sheet) {
            GetWindowThreadProcessId(host.sheet, &host.pid);
            host.process = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION | PROCESS_TERMINATE, FALSE, host.pid);
            // The page's first timer ticks, and the sheet where it stays.
            RECT was{}, now = windowRect(host.sheet);
            for (int i = 0; i < 20 && std::memcmp(&was, &now, sizeof now) != 0; ++i) {
                Sleep(150);
                was = now;
                now = windowRect(host.sheet);
            }
            return host.process != nullptr;
        }
        Sleep(100);
    }
    return false;
}

bool hostEnded(const Host& host) { return WaitForSingleObject(host.process, 0) == WAIT_OBJECT_0; }

enum class Kind { Sheet, Dialog, File, Print, Menu };
const char* kindName(Kind kind) {
    static const char* const kNames[] = {"sheet", "dialog", "file", "print", "menu"};
    return kNames[int(kind)];
}

struct Top {
    HWND window;
    Kind kind;
};

// The window a user would act on now: the front window of the panel's that
// takes input (a dialog, a message box, a menu), or the sheet.
Top findTop(const Host& host) {
    struct Search {
        const Host* host;
        HWND found;
    } search{&host, nullptr};
    EnumWindows(
        [](HWND window, LPARAM param) -> BOOL {
            auto* s = reinterpret_cast<Search*>(param);
            DWORD pid = 0;
            GetWindowThreadProcessId(window, &pid);
            if (pid != s->host->pid || window == s->host->sheet || !IsWindowVisible(window) ||
                !IsWindowEnabled(window))
                return TRUE;
            const std::string cls = className(window);
            if (cls != "#32770" && cls != "#32768") return TRUE;  // tooltips, drop-down lists
            s->found = window;
            return FALSE;
        },
        LPARAM(&search));
    if (!search.found) return {host.sheet, Kind::Sheet};
    if (className(search.found) == "#32768") return {search.found, Kind::Menu};
    // The common dialogs by their controls: the file name box, the printer list.
    if (GetDlgItem(search.found, 1139)) return {search.found, Kind::Print};
    if (GetDlgItem(search.found, 1148) || GetDlgItem(search.found, 1152)) return {search.found, Kind::File};
    return {search.found, Kind::Dialog};
}

// The page of the sheet that is shown: the child window of one of the
// page classes, or "" when none.
std::string shownPage(HWND sheet) {
    for (const char* cls : {"BUTTONWINDOW", "POVWINDOW", "SENSWINDOW", "TESTWINDOW", "AXEWINDOW"})
        if (HWND page = findChildOfClass(sheet, cls); page && IsWindowVisible(page)) return cls;
    return "";
}

// --- Input --------------------------------------------------------------------

// The pointer is moved and pressed on the display with xdotool: the X
// server is where Wine takes the pointer from, and a pointer set from
// inside Wine (SetCursorPos) can be moved back by the display's report of
// where it was before, between a press and its release. The runner reads
// xdotool commands, one a line, from a pipe (--pointer): a Linux program
// started from inside Wine cannot be waited for. Each command ends by
// moving the pointer to a mark in the desktop's top right corner, away
// from the sheet, and the command is done when the pointer is there; the
// mark alternates between two points, so that each command's is new.
HANDLE g_pointerPipe = INVALID_HANDLE_VALUE;

bool pointer(const std::string& args) {
    static int mark = 0;
    mark ^= 1;
    const int right = GetSystemMetrics(SM_CXSCREEN) - 1;
    const std::string toMark = "mousemove " + std::to_string(right) + " " + std::to_string(mark);
    // The mark is moved to once more when the pointer is not there in time:
    // while an anchor is dragged the pointer is held inside its box, and
    // the first move can come before the box lets go of it.
    for (const std::string& command : {args + " " + toMark, toMark}) {
        const std::string line = command + "\n";
        DWORD put = 0;
        if (!WriteFile(g_pointerPipe, line.data(), DWORD(line.size()), &put, nullptr) || put != line.size()) {
            std::fprintf(stderr, "ZntMonkey: cannot write to the pointer pipe (error %lu)\n", GetLastError());
            return false;
        }
        POINT p{};
        for (DWORD start = GetTickCount(); GetTickCount() - start < 3000; Sleep(2))
            if (GetCursorPos(&p) && p.x == right && p.y == mark) return true;
    }
    POINT p{};
    RECT clip{};
    GetCursorPos(&p);
    GetClipCursor(&clip);
    std::fprintf(stderr, "ZntMonkey: xdotool %s: the pointer did not arrive (it is at %ld,%ld, held in %ld,%ld-%ld,%ld)\n",
                 args.c_str(), p.x, p.y, clip.left, clip.top, clip.right, clip.bottom);
    return false;
}

// A move to a point of the desktop (a drag may aim past its edge).
std::string at(int x, int y) {
    x = std::max(0, std::min(x, GetSystemMetrics(SM_CXSCREEN) - 1));
    y = std::max(0, std::min(y, GetSystemMetrics(SM_CYSCREEN) - 1));
    return "mousemove " + std::to_string(x) + " " + std::to_string(y) + " ";
}

bool click(int x, int y, int times = 1) {
    return pointer(at(x, y) + "click --repeat " + std::to_string(times) + " --delay 40 1");
}

bool drag(int x1, int y1, int x2, int y2) {
    std::string steps = at(x1, y1) + "mousedown 1 ";
    for (int step = 1; step <= 6; ++step) steps += at(x1 + (x2 - x1) * step / 6, y1 + (y2 - y1) * step / 6) + "sleep 0.01 ";
    return pointer(steps + "mouseup 1");
}

// The keys the random user types: none of them is a digit or a keypad key,
// which the random tables use.
struct Key {
    const char* name;
    WORD vk;
    WORD scan;  // with 0x100 for an extended key
};
const Key kKeys[] = {
    {"A", 'A', 0x1E}, {"B", 'B', 0x30}, {"C", 'C', 0x2E}, {"D", 'D', 0x20}, {"E", 'E', 0x12}, {"F", 'F', 0x21},
    {"G", 'G', 0x22}, {"H", 'H', 0x23}, {"I", 'I', 0x17}, {"J", 'J', 0x24}, {"K", 'K', 0x25}, {"L", 'L', 0x26},
    {"M", 'M', 0x32}, {"N", 'N', 0x31}, {"O", 'O', 0x18}, {"P", 'P', 0x19}, {"Q", 'Q', 0x10}, {"R", 'R', 0x13},
    {"S", 'S', 0x1F}, {"T", 'T', 0x14}, {"U", 'U', 0x16}, {"V", 'V', 0x2F}, {"W", 'W', 0x11}, {"X", 'X', 0x2D},
    {"Y", 'Y', 0x15}, {"Z", 'Z', 0x2C}, {"F1", VK_F1, 0x3B}, {"F2", VK_F2, 0x3C}, {"F3", VK_F3, 0x3D},
    {"F4", VK_F4, 0x3E}, {"F5", VK_F5, 0x3F}, {"F6", VK_F6, 0x40}, {"F7", VK_F7, 0x41}, {"F8", VK_F8, 0x42},
    {"F9", VK_F9, 0x43}, {"F10", VK_F10, 0x44}, {"F11", VK_F11, 0x57}, {"F12", VK_F12, 0x58},
    {"Tab", VK_TAB, 0x0F}, {"Delete", VK_DELETE, 0x153}, {"Enter", VK_RETURN, 0x1C}, {"Escape", VK_ESCAPE, 0x01},
    {"Ctrl", VK_CONTROL, 0x1D}, {"RCtrl", VK_CONTROL, 0x11D}, {"Shift", VK_SHIFT, 0x2A},
    {"RShift", VK_SHIFT, 0x36}, {"Alt", VK_MENU, 0x38}, {"RAlt", VK_MENU, 0x138},
};
constexpr int kLetters = 26, kFunctionKeys = 12, kFirstModifier = 42;

const Key* findKey(const std::string& name) {
    for (const Key& k : kKeys)
        if (name == k.name) return &k;
    return nullptr;
}

// The DirectInput code of a key: its scan code, with bit 7 for an extended key.
uint8_t directInputCode(const Key& k) { return uint8_t((k.scan & 0x7F) | (k.scan & 0x100 ? 0x80 : 0)); }

void sendKey(const Key& k, bool up) {
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = k.vk;
    in.ki.wScan = WORD(k.scan & 0xFF);
    in.ki.dwFlags = (k.scan & 0x100 ? KEYEVENTF_EXTENDEDKEY : 0) | (up ? KEYEVENTF_KEYUP : 0);
    SendInput(1, &in, sizeof in);
}

// --- Events -------------------------------------------------------------------

// One event, as logged: "INDEX TARGET ACTION ARGS", coordinates relative to
// the target window's top-left corner.
struct Event {
    int index = 0;
    std::string target;
    std::string action;
    std::vector<std::string> args;
    std::string note;  // what is under the pointer, for a reader of the log
    std::string text() const {
        std::string line = std::to_string(index) + " " + target + " " + action;
        for (const std::string& a : args) line += " " + a;
        return note.empty() ? line : line + "   # " + note;
    }
};

// What the run typed for the slots: the keys typed while a slot page was
// shown with the sheet in front, per page.
struct Typed {
    std::set<uint8_t> buttonPage, povPage;
};

struct Run {
    Host host;
    std::mt19937 random;
    std::string folder;
    std::map<HWND, std::pair<int, int>> budgets;  // a dialog's actions taken and allowed
    int fileNames = 0;
    Typed typed;
    std::map<HWND, std::string> boxes;  // what the shown slot page's key boxes said
    sim::SimClient wheel;
    std::ofstream log;
};

// A point inside a shown child control of `parent` (anchors, list rows,
// buttons, boxes), relative to `parent`; false when it has none.
bool pointOnControl(Run& run, HWND parent, HWND excludeButtons, int& x, int& y, bool centre) {
    std::vector<HWND> controls;
    EnumChildWindows(
        parent,
        [](HWND window, LPARAM param) -> BOOL {
            if (IsWindowVisible(window)) reinterpret_cast<std::vector<HWND>*>(param)->push_back(window);
            return TRUE;
        },
        LPARAM(&controls));
    std::vector<HWND> usable;
    for (HWND c : controls) {
        // The sheet's own OK and Cancel end the run only when the run says so.
        if (GetParent(c) == excludeButtons && (GetDlgCtrlID(c) == IDOK || GetDlgCtrlID(c) == IDCANCEL)) continue;
        const RECT r = windowRect(c);
        if (r.right - r.left < 2 || r.bottom - r.top < 2) continue;
        usable.push_back(c);
    }
    if (usable.empty()) return false;
    const RECT r = windowRect(usable[size_t(pick(run.random, 0, int(usable.size()) - 1))]);
    const RECT p = windowRect(parent);
    x = (centre ? (r.left + r.right) / 2 : pick(run.random, r.left, r.right - 1)) - p.left;
    y = (centre ? (r.top + r.bottom) / 2 : pick(run.random, r.top, r.bottom - 1)) - p.top;
    return true;
}

std::string point(int x, int y) { return std::to_string(x) + " " + std::to_string(y); }

// Whether the keyboard focus is in a list's label editor: only there do
// Enter and Escape on the sheet not press OK or Cancel.
bool inLabelEditor(HWND sheet) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    return GetGUIThreadInfo(GetWindowThreadProcessId(sheet, nullptr), &info) && info.hwndFocus &&
           className(info.hwndFocus) == "Edit" && className(GetParent(info.hwndFocus)) == "SysListView32";
}

std::string keyName(Run& run, bool onSheet, HWND sheet) {
    const int r = pick(run.random, 0, 99);
    std::string name;
    if (r < 50) name = kKeys[pick(run.random, 0, kLetters - 1)].name;
    else if (r < 63) name = kKeys[pick(run.random, kLetters, kLetters + kFunctionKeys - 1)].name;
    else if (r < 75) name = std::string(kKeys[pick(run.random, kFirstModifier, kFirstModifier + 5)].name) + "+" +
                            kKeys[pick(run.random, 0, kLetters + kFunctionKeys - 1)].name;
    else if (r < 83) name = kKeys[pick(run.random, kFirstModifier, kFirstModifier + 5)].name;
    else if (r < 90) name = "Tab";
    else if (r < 95) name = "Delete";
    else name = chance(run.random, 50) ? "Enter" : "Escape";
    // Alt+F4 would close the window: the run closes the sheet itself.
    if (name == "Alt+F4" || name == "RAlt+F4") name = "Shift+F4";
    if (onSheet && (name == "Enter" || name == "Escape") && !inLabelEditor(sheet)) name = "Delete";
    return name;
}


// The numbers of an event's arguments (a point is one argument "X Y" when
// made, two when read from a log).
bool numbers(const std::vector<std::string>& args, std::vector<int>& values, size_t count) {
    values.clear();
    std::string all;
    for (const std::string& a : args) all += a + " ";
    std::istringstream words(all);
    for (int v; words >> v;) values.push_back(v);
    return values.size() == count;
}

// Whether a point of the event (relative to `top`) lies on the sheet's OK or
// Cancel button: the run presses those itself, at its end.
bool onSheetButtons(const Run& run, const Top& top, const Event& e) {
    if (top.kind != Kind::Sheet || (e.action != "click" && e.action != "dclick" && e.action != "drag")) return false;
    std::vector<int> v;
    numbers(e.args, v, 0);
    const RECT w = windowRect(top.window);
    for (size_t i = 0; i + 1 < v.size(); i += 2) {
        HWND under = WindowFromPoint(POINT{w.left + v[i], w.top + v[i + 1]});
        if (under && GetParent(under) == run.host.sheet &&
            (GetDlgCtrlID(under) == IDOK || GetDlgCtrlID(under) == IDCANCEL))
            return true;
    }
    return false;
}

Event makeEvent(Run& run, const Top& top) {
    Event e;
    e.target = kindName(top.kind);
    int x = 0, y = 0;
    if (top.kind == Kind::Sheet) {
        HWND page = findChildOfClass(run.host.sheet, "#32770");
        const int r = pick(run.random, 0, 99);
        if (r < 8) {
            const int tab = pick(run.random, 243, 247);
            HWND button = page ? GetDlgItem(page, tab) : nullptr;
            if (button && IsWindowVisible(button)) {
                const RECT b = windowRect(button), s = windowRect(run.host.sheet);
                // Away from the presets tab's icon hole in its middle.
                e.action = "click";
                e.args = {point((b.left + b.right) / 2 - s.left, b.top + 6 - s.top)};
                return e;
            }
        }
        if (r < 40 && pointOnControl(run, run.host.sheet, run.host.sheet, x, y, false)) {
            e.action = "click";
        } else if (r < 50 && page) {
            const RECT p = windowRect(page), s = windowRect(run.host.sheet);
            e.action = "click";
            x = pick(run.random, p.left, p.right - 1) - s.left;
            y = pick(run.random, p.top, p.bottom - 1) - s.top;
        } else if (r < 56 && pointOnControl(run, run.host.sheet, run.host.sheet, x, y, false)) {
            e.action = "dclick";
        } else if (r < 66 && pointOnControl(run, run.host.sheet, run.host.sheet, x, y, true)) {
            e.action = "drag";
            e.args = {point(x, y), point(x + pick(run.random, -70, 70), y + pick(run.random, -70, 70))};
            return e;
        } else if (r < 88) {
            e.action = "key";
            e.args = {keyName(run, true, run.host.sheet)};
            return e;
        } else {
            uint8_t report[SIM_WHEEL_REPORT_SIZE] = SIM_DEFAULT_REPORT_INIT;
            if (!chance(run.random, 30)) {
                const int buttons = pick(run.random, 0, 2);
                for (int b = 0; b < buttons; ++b) report[2 + pick(run.random, 0, 1)] |= uint8_t(1 << pick(run.random, 0, 7));
                for (int axis = 5; axis <= 7; ++axis) report[axis] = uint8_t(pick(run.random, 0, 255));
            }
            char hex[2 * SIM_WHEEL_REPORT_SIZE + 1];
            for (unsigned i = 0; i < SIM_WHEEL_REPORT_SIZE; ++i) std::snprintf(hex + 2 * i, 3, "%02x", report[i]);
            e.action = "wheel";
            e.args = {hex};
            return e;
        }
        e.args = {point(x, y)};
        return e;
    }
    if (top.kind == Kind::Menu) {
        e.action = "key";
        e.args = {"Escape"};
        return e;
    }
    if (top.kind == Kind::File) {
        // Only names in the run's folder: one of the prepared files, one
        // exported before, or a new one.
        static const char* const kNames[] = {"other.pst", "damaged.pst", "missing.pst", "export-0.pst"};
        const int r = pick(run.random, 0, 99);
        if (r < 25) {
            e.action = "key";
            e.args = {"Escape"};
        } else {
            e.action = "file";
            e.args = {r < 60 ? run.folder + "\\export-" + std::to_string(++run.fileNames) + ".pst"
                             : run.folder + "\\" + kNames[pick(run.random, 0, 3)]};
        }
        return e;
    }
    if (top.kind == Kind::Print) {
        // Printed only on the bench's PDF printer, never on another.
        char printer[128] = "";
        SendMessageTimeoutA(GetDlgItem(top.window, 1139), WM_GETTEXT, sizeof printer, LPARAM(printer), SMTO_NORMAL,
                            2000, nullptr);
        e.action = "key";
        e.args = {std::strstr(printer, "ZentraPDF") && chance(run.random, 70) ? "Enter" : "Escape"};
        return e;
    }
    auto& [taken, allowed] = run.budgets[top.window];
    if (taken == 0) allowed = pick(run.random, 0, 6);
    ++taken;
    if (taken > allowed + 6) {
        e.action = "closebox";  // a dialog that Escape, Enter and its buttons did not close
    } else if (taken <= allowed) {
        if (chance(run.random, 60) && pointOnControl(run, top.window, nullptr, x, y, false)) {
            e.action = "click";
            e.args = {point(x, y)};
        } else {
            e.action = "key";
            std::string name = keyName(run, false, nullptr);
            if (name == "Enter" || name == "Escape") name = "Tab";
            e.args = {name};
        }
    } else {
        const int r = pick(run.random, 0, 99);
        HWND button = GetDlgItem(top.window, r < 90 ? IDCANCEL : IDOK);
        if (r >= 80 && button && IsWindowVisible(button)) {
            const RECT b = windowRect(button), w = windowRect(top.window);
            e.action = "click";
            e.args = {point((b.left + b.right) / 2 - w.left, (b.top + b.bottom) / 2 - w.top)};
        } else {
            e.action = "key";
            e.args = {r < 50 ? "Escape" : "Enter"};
        }
    }
    return e;
}


Event nextEvent(Run& run, const Top& top) {
    for (int tries = 0;; ++tries) {
        Event e = makeEvent(run, top);
        if (tries == 10 || !onSheetButtons(run, top, e)) return e;
    }
}

// Carries out an event on `top`; false when the event cannot be read or
// the pointer could not be moved and pressed.
bool perform(Run& run, const Top& top, const Event& e) {
    // The sheet's OK and Cancel are pressed only by the close at the end,
    // wherever the sheet has moved to since the event was made.
    if (e.action != "close" && onSheetButtons(run, top, e)) return true;
    const RECT w = windowRect(top.window);
    std::vector<int> v;
    if (e.action == "click" || e.action == "dclick") {
        if (!numbers(e.args, v, 2)) return false;
        if (!click(w.left + v[0], w.top + v[1], e.action == "dclick" ? 2 : 1)) return false;
    } else if (e.action == "drag") {
        if (!numbers(e.args, v, 4)) return false;
        if (!drag(w.left + v[0], w.top + v[1], w.left + v[2], w.top + v[3])) return false;
    } else if (e.action == "key") {
        if (e.args.size() != 1) return false;
        const std::string& name = e.args[0];
        const size_t plus = name.find('+');
        const Key* modifier = plus == std::string::npos ? nullptr : findKey(name.substr(0, plus));
        const Key* key = findKey(plus == std::string::npos ? name : name.substr(plus + 1));
        if (!key || (plus != std::string::npos && !modifier)) return false;
        // What a slot may record: typed with the sheet in front on a slot
        // page (a menu of the sheet's takes keys while the sheet stays in front).
        if (GetForegroundWindow() == run.host.sheet && top.kind == Kind::Sheet) {
            const std::string page = shownPage(run.host.sheet);
            std::set<uint8_t>* keys =
                page == "BUTTONWINDOW" ? &run.typed.buttonPage : page == "POVWINDOW" ? &run.typed.povPage : nullptr;
            if (keys) {
                keys->insert(directInputCode(*key));
                if (modifier) keys->insert(directInputCode(*modifier));
            }
        }
        if (modifier) sendKey(*modifier, false);
        sendKey(*key, false);
        Sleep(8);
        sendKey(*key, true);
        if (modifier) sendKey(*modifier, true);
    } else if (e.action == "wheel") {
        if (e.args.size() != 1 || e.args[0].size() != 2 * SIM_WHEEL_REPORT_SIZE) return false;
        uint8_t report[SIM_WHEEL_REPORT_SIZE];
        for (unsigned i = 0; i < SIM_WHEEL_REPORT_SIZE; ++i)
            report[i] = uint8_t(std::strtoul(e.args[0].substr(2 * i, 2).c_str(), nullptr, 16));
        run.wheel.setReport(report);
    } else if (e.action == "file") {
        if (e.args.size() != 1) return false;
        HWND name = GetDlgItem(top.window, 1148);
        if (!name) name = GetDlgItem(top.window, 1152);
        if (!name) return true;
        SendMessageA(name, WM_SETTEXT, 0, LPARAM(e.args[0].c_str()));
        // Enter only while the dialog is in front: behind it is the sheet.
        if (GetForegroundWindow() == top.window) {
            sendKey(*findKey("Enter"), false);
            sendKey(*findKey("Enter"), true);
        }
    } else if (e.action == "closebox") {
        // The close button of the caption.
        PostMessageA(top.window, WM_SYSCOMMAND, SC_CLOSE, 0);
    } else if (e.action == "close") {
        HWND button = GetDlgItem(run.host.sheet, e.args.at(0) == "ok" ? IDOK : IDCANCEL);
        const RECT b = windowRect(button);
        click((b.left + b.right) / 2, (b.top + b.bottom) / 2);
    } else {
        return false;
    }
    return true;
}

// Waits until the panel has handled what it was sent. False when the panel
// ended (`ended` set) or answers nothing for 20 s (a hang).
bool settle(Run& run, HWND top, bool& ended) {
    ended = false;
    // Once the sheet is gone (after the close), its last messages are asked.
    const HWND asked = IsWindow(run.host.sheet) ? run.host.sheet : top;
    // A sent message is handled before the input that waits in the queue:
    // one round trip per input message the event made (down, up, ...) is
    // what it takes for the panel to have handled them.
    for (int trip = 0; trip < 4; ++trip) {
        DWORD_PTR answer = 0;
        if (!SendMessageTimeoutA(asked, WM_NULL, 0, 0, SMTO_NORMAL, 20000, &answer)) {
            // A sheet that has closed fails at once; its process ends soon after.
            ended = WaitForSingleObject(run.host.process, 5000) == WAIT_OBJECT_0;
            return false;
        }
        Sleep(2);
    }
    Sleep(DWORD(pick(run.random, 0, 20)));
    return true;
}

std::string windowState(HWND window) {
    if (!window) return "none";
    char title[64] = "";
    GetWindowTextA(window, title, sizeof title);
    return className(window) + " " + std::to_string(GetDlgCtrlID(window)) + " \"" + title + "\"";
}

// The panel's input state, for a run that ends wrong: which window has the
// focus and the mouse capture, and whether the sheet takes input.
std::string inputState(const Host& host) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(GetWindowThreadProcessId(host.sheet, nullptr), &info);
    return std::string(" (sheet ") + (IsWindowEnabled(host.sheet) ? "enabled" : "disabled") + ", active " +
           windowState(info.hwndActive) + ", focus " + windowState(info.hwndFocus) + ", capture " +
           windowState(info.hwndCapture) + ", foreground " + windowState(GetForegroundWindow()) + ")";
}

// The stacks of the panel's threads, from Wine's debugger, into
// DIR\backtrace.txt: where a panel that does not end is waiting.
void saveBacktrace(const Host& host, const std::string& folder) {
    const std::string commands = folder + "\\backtrace.cmd", output = folder + "\\backtrace.txt";
    static const char kCommands[] = "bt all\ndetach\nquit\n";
    writeBytes(commands, kCommands, sizeof kCommands - 1);
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE in = CreateFileA(commands.c_str(), GENERIC_READ, FILE_SHARE_READ, &inherit, OPEN_EXISTING, 0, nullptr);
    HANDLE out = CreateFileA(output.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS, 0, nullptr);
    STARTUPINFOA si{};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdInput = in;
    si.hStdOutput = si.hStdError = out;
    PROCESS_INFORMATION pi{};
    std::string line = "winedbg " + std::to_string(host.pid);
    if (CreateProcessA(nullptr, &line[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi)) {
        WaitForSingleObject(pi.hProcess, 30000);
        CloseHandle(pi.hProcess);
        CloseHandle(pi.hThread);
    }
    CloseHandle(in);
    CloseHandle(out);
}

std::string windowList(const Host& host) {
    std::pair<DWORD, std::string> list{host.pid, ""};
    EnumWindows(
        [](HWND window, LPARAM param) -> BOOL {
            auto* list = reinterpret_cast<std::pair<DWORD, std::string>*>(param);
            DWORD pid = 0;
            GetWindowThreadProcessId(window, &pid);
            if (pid != list->first || !IsWindowVisible(window)) return TRUE;
            char title[128] = "";
            GetWindowTextA(window, title, sizeof title);
            list->second += " [" + className(window) + " \"" + title + "\"]";
            return TRUE;
        },
        LPARAM(&list));
    return list.second;
}

// Logs the key boxes of the shown slot page whose text changed, so that a
// key found in a slot can be traced to the event that put it there.
void logBoxChanges(Run& run) {
    const std::string page = shownPage(run.host.sheet);
    HWND slots = page == "BUTTONWINDOW" || page == "POVWINDOW" ? findChildOfClass(run.host.sheet, page.c_str()) : nullptr;
    std::map<HWND, std::string> now;
    if (slots)
        EnumChildWindows(
            slots,
            [](HWND window, LPARAM param) -> BOOL {
                if (className(window) != "Edit") return TRUE;
                char text[512] = "";
                SendMessageTimeoutA(window, WM_GETTEXT, sizeof text, LPARAM(text), SMTO_NORMAL, 2000, nullptr);
                (*reinterpret_cast<std::map<HWND, std::string>*>(param))[window] = text;
                return TRUE;
            },
            LPARAM(&now));
    for (const auto& [box, text] : now) {
        const auto before = run.boxes.find(box);
        if (before != run.boxes.end() && before->second != text)
            run.log << "#   box " << GetDlgCtrlID(box) << " now: " << text << "\n";
    }
    run.boxes = std::move(now);
}

// Plays one event (logged first, so that a crash leaves it in the log).
// Returns an empty text or what went wrong.
std::string play(Run& run, const Event& given, const Top& top) {
    Event e = given;
    std::vector<int> v;
    if ((e.action == "click" || e.action == "dclick" || e.action == "drag") && numbers(e.args, v, e.action == "drag" ? 4 : 2)) {
        const RECT w = windowRect(top.window);
        HWND under = WindowFromPoint(POINT{w.left + v[0], w.top + v[1]});
        if (under) e.note = className(under) + " " + std::to_string(GetDlgCtrlID(under));
    }
    if (top.kind != Kind::Sheet) {
        char title[80] = "";
        GetWindowTextA(top.window, title, sizeof title);
        e.note += std::string(e.note.empty() ? "" : ", ") + "in \"" + title + "\"";
    }
    // The window the event was made for has gone (a dialog closed by the
    // event before): a key would reach the window behind it. A user would
    // look first; the event is left out.
    const HWND front = findTop(run.host).window;
    // (A menu is never the foreground window: its keys go to the menu loop.)
    const bool dialog = top.kind != Kind::Sheet && top.kind != Kind::Menu;
    // (And Enter or Escape on the sheet only in a label editor, also in a replay.)
    const bool okOrCancel = top.kind == Kind::Sheet && e.action == "key" &&
                            (e.args[0] == "Enter" || e.args[0] == "Escape") && !inLabelEditor(run.host.sheet);
    if (front != top.window || okOrCancel ||
        (dialog && e.action == "key" && GetForegroundWindow() != top.window)) {
        e.note += std::string(e.note.empty() ? "" : ", ") +
                  (okOrCancel ? "left out: no label editor has the focus" : "left out: its window is gone");
        run.log << "# " << e.text() << std::endl;
        return "";
    }
    run.log << e.text() << std::endl;
    if (!perform(run, top, e)) return "event " + std::to_string(e.index) + " cannot be read or played: " + e.text();
    // A window that the event may have closed is given the time to go, so
    // that the next event is not made for it.
    const bool closing = e.action == "file" || e.action == "closebox" ||
                         (e.action == "key" && (e.args[0] == "Enter" || e.args[0] == "Escape"));
    if (top.kind != Kind::Sheet && closing)
        for (int waited = 0; waited < 1500 && IsWindowVisible(top.window) && findTop(run.host).window == top.window;
             waited += 50)
            Sleep(50);
    bool ended = false;
    if (settle(run, top.window, ended)) {
        logBoxChanges(run);
        // A disabled sheet with nothing in front of it takes no more input:
        // the user is stuck. Give a window on its way up three seconds.
        for (int waited = 0; !IsWindowEnabled(run.host.sheet) && findTop(run.host).kind == Kind::Sheet; waited += 100) {
            if (hostEnded(run.host)) return "";
            if (waited >= 3000)
                return "after event " + std::to_string(e.index) + " the sheet is disabled with no window in front" +
                       inputState(run.host) + "; the panel's windows:" + windowList(run.host);
            Sleep(100);
        }
        return "";
    }
    if (ended) {
        DWORD code = 0;
        GetExitCodeProcess(run.host.process, &code);
        return "the panel ended during event " + std::to_string(e.index) + " (exit code " + std::to_string(code) +
               ")";
    }
    return "the panel answers nothing after event " + std::to_string(e.index) + " (a hang); its windows:" +
           windowList(run.host);
}

// --- Checks after the run -----------------------------------------------------

// After OK: the files the runner compares, and the slots' keys.
int afterOk(Run& run) {
    Registry registry(platformRegistryStore(), Deliverable::Panel);
    const uint32_t lastIndex = registry.readRegDword(kPanelKey, kLastIndexValue);
    std::vector<SimLogEntry> entries;
    if (!run.wheel.log(entries)) return fail("simulated wheel: " + run.wheel.error());
    const SimLogEntry* last = nullptr;
    for (const SimLogEntry& entry : entries)
        if (entry.code == SIM_CODE_PARAMETER_BLOCK && entry.wheel == 0 && entry.storedLength == sizeof(ParameterBlock) &&
            reinterpret_cast<const ParameterBlock*>(entry.input)->mode == kModeClosing)
            last = &entry;
    if (!last) return fail("after OK the wheel received no mode-3 block");
    writeBytes(run.folder + "\\block.bin", last->input, sizeof(ParameterBlock));
    uint8_t hardware[kHardwareConfigSize];
    uint32_t stored = 0;
    const std::string hardwarePath = run.folder + "\\hardware.bin";
    DeleteFileA(hardwarePath.c_str());
    if (registry.readRegBinary(hardware, sizeof hardware, kPanelKey, joystickConfigurationName(0).c_str(), &stored) &&
        stored == sizeof hardware)
        writeBytes(hardwarePath, hardware, sizeof hardware);
    if (!loadTable(run.folder + "\\TempoZNT.pst", g_table)) return fail("the saved table does not load");
    {
        std::ofstream result(run.folder + "\\result.txt", std::ios::binary);
        result << "last index " << lastIndex << "\n";
        // An emptied table: the wheel gets the default preset, which the
        // runner finds in a table of its own.
        if (g_table.presetCount == 0) {
            g_other.presetCount = 1;
            resetPreset(g_other.presets[0], Deliverable::Panel);
            if (!savePresetFile(nullptr, (run.folder + "\\default.pst").c_str(), g_other, platformFileSystem()))
                return fail("cannot write default.pst");
            result << "default preset\n";
        }
    }

    // No key in a slot that the run did not type for it: the keys there come
    // from the tables the run started with or could import, or were typed
    // with the slot's page shown and the sheet in front.
    SlotKeys allowed;
    PresetTable& before = g_other;  // the second table's room, reused
    if (!loadTable(run.folder + "\\before.pst", before)) return fail("cannot read before.pst");
    collectSlotKeys(before, allowed);
    if (!loadTable(run.folder + "\\other-as-written.pst", before)) return fail("cannot read other-as-written.pst");
    collectSlotKeys(before, allowed);
    // A code's modifier bits and the scan codes of their keys: left and
    // right Ctrl, Shift and Alt.
    static const struct {
        KeyCode bit;
        uint8_t key;
    } kModifierKeys[] = {{kLeftCtrl, 0x1D}, {kRightCtrl, 0x9D}, {kLeftShift, 0x2A},
                         {kRightShift, 0x36}, {kLeftAlt, 0x38}, {kRightAlt, 0xB8}};
    int wrong = 0;
    for (int i = 0; i < g_table.presetCount; ++i)
        for (int slot = 0; slot < kEmulationSlots; ++slot)
            for (int k = 0; k < kStoredKeysPerSlot; ++k) {
                const KeyCode code = g_table.presets[i].buttonKeys[slot][k];
                if (!code || allowed[slot].count(code)) continue;
                const auto& typed = slot < kWheelButtonSlots ? run.typed.buttonPage : run.typed.povPage;
                bool wasTyped = (code & 0xFF) == 0 || typed.count(uint8_t(code));
                for (const auto& m : kModifierKeys)
                    if ((code & m.bit) && !typed.count(m.key)) wasTyped = false;
                if (wasTyped) continue;
                if (++wrong <= 5)
                    std::fprintf(stderr, "ZntMonkey: preset %d (\"%s\") slot %d holds key code 0x%04X, never typed for it\n",
                                 i, g_table.presets[i].gameName, slot, code);
            }
    if (wrong) return fail(std::to_string(wrong) + " key codes in slots that the run did not type there");
    return 0;
}

// --- play ---------------------------------------------------------------------

struct PlayOptions {
    unsigned seed = 0;
    int events = 300;
    std::string folder;
    std::string close;  // "ok", "cancel" or "" (from the seed)
    std::string replay;
    int until = -1;
    int presets = 0;  // only logged, for a replay
    std::string pointer;
};

bool readLog(const std::string& path, PlayOptions& o, std::vector<Event>& events) {
    std::ifstream in(path);
    if (!in) return false;
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream words(line);
        if (line.rfind("# seed ", 0) == 0) {
            std::string word;
            words >> word >> word >> o.seed >> word >> o.folder >> word >> o.presets;
            continue;
        }
        if (line.rfind("# events ", 0) == 0) {
            std::string word;
            words >> word >> word >> word >> word >> o.close;
            continue;
        }
        Event e;
        if (line.empty() || line[0] == '#' || !(words >> e.index >> e.target >> e.action)) continue;
        for (std::string a; words >> a && a != "#";) e.args.push_back(a);
        // A file name may hold spaces: it is the rest of the line.
        if (e.action == "file") {
            const size_t at = line.find(" file file ") + 11;
            e.args = {line.substr(at, line.find("   # ") - at)};
        }
        events.push_back(e);
    }
    return !o.folder.empty();
}

// Closes what the panel shows in front of the sheet, as a user would.
std::string dismissAll(Run& run, int& index) {
    for (int tries = 0; tries < 40; ++tries) {
        const Top top = findTop(run.host);
        if (top.kind == Kind::Sheet) return "";
        Event e;
        e.index = index++;
        e.target = kindName(top.kind);
        if (tries >= 20 && top.kind != Kind::Menu) {
            e.action = "closebox";
        } else if ((top.kind == Kind::File && tries % 2 == 0) || top.kind == Kind::Menu) {
            e.action = "key";
            e.args = {"Escape"};
        } else {
            e.action = "key";
            e.args = {tries % 3 == 2 ? "Enter" : "Escape"};
        }
        if (std::string error = play(run, e, top); !error.empty()) return error;
    }
    return "windows in front of the sheet do not close:" + windowList(run.host);
}

int playRun(PlayOptions o) {
    std::vector<Event> script;
    if (!o.replay.empty() && !readLog(o.replay, o, script)) return fail("cannot read the log " + o.replay);
    g_pointerPipe = CreateFileA(o.pointer.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, 0, nullptr);
    if (g_pointerPipe == INVALID_HANDLE_VALUE) return fail("cannot open the pointer pipe \"" + o.pointer + "\"");
    Run run;
    run.folder = o.folder;
    g_failurePicture = o.folder + "\\failure.bmp";
    run.random.seed(o.seed ^ 0x5EEDu);
    if (o.close.empty()) o.close = chance(run.random, 50) ? "ok" : "cancel";
    if (!run.wheel.open()) return fail("simulated wheel: " + run.wheel.error());
    if (!findSheet(run.host, 30000)) return fail("no sheet of the stand-in panel is shown");
    const std::string logPath = run.folder + (o.replay.empty() ? "\\events.log" : "\\replay.log");
    run.log.open(logPath, std::ios::binary);
    run.log << "# seed " << o.seed << " folder " << run.folder << " presets " << o.presets << "\n# events " << o.events << " close " << o.close
            << std::endl;

    int index = 0;
    std::string error;
    if (!o.replay.empty()) {
        for (const Event& e : script) {
            if (o.until >= 0 && e.index > o.until) break;
            // The window the event went to may still be on its way.
            for (int waited = 0; waited < 3000 && kindName(findTop(run.host).kind) != e.target; waited += 50) Sleep(50);
            if (e.action == "close") {
                if (!(error = dismissAll(run, index)).empty()) return fail(error);
                run.log << e.text() << std::endl;
                perform(run, findTop(run.host), e);
                break;
            }
            const Top top = findTop(run.host);
            if (kindName(top.kind) != e.target) {
                std::printf("event %d was played on the %s, now the %s is in front: left out\n", e.index,
                            e.target.c_str(), kindName(top.kind));
                continue;
            }
            index = e.index + 1;
            if (!(error = play(run, e, top)).empty()) return fail(error);
        }
        if (script.empty() || script.back().action != "close" || (o.until >= 0 && o.until < script.back().index)) {
            std::printf("replayed up to event %d; the sheet stays open\n", index - 1);
            return 0;
        }
    } else {
        for (; index < o.events && error.empty(); ++index) {
            const Top top = findTop(run.host);
            Event e = nextEvent(run, top);
            e.index = index;
            error = play(run, e, top);
        }
        if (error.empty()) error = dismissAll(run, index);
        if (error.empty()) {
            run.wheel.setReport(kRestingReport);
            Event e;
            e.index = index++;
            e.target = "sheet";
            e.action = "close";
            e.args = {o.close};
            run.log << e.text() << std::endl;
            perform(run, findTop(run.host), e);
        }
        if (!error.empty()) {
            TerminateProcess(run.host.process, 99);
            return fail(error);
        }
    }
    // The panel ends; what it shows on the way out (a message) is answered.
    for (const DWORD closed = GetTickCount(); WaitForSingleObject(run.host.process, 250) != WAIT_OBJECT_0;) {
        if (GetTickCount() - closed >= 30000) {
            const std::string left = windowList(run.host);
            saveBacktrace(run.host, run.folder);
            TerminateProcess(run.host.process, 99);
            return fail("the panel did not end after " + o.close + "; its windows:" + left + inputState(run.host));
        }
        if (findTop(run.host).kind != Kind::Sheet && !(error = dismissAll(run, index)).empty()) {
            TerminateProcess(run.host.process, 99);
            return fail(error);
        }
    }
    DWORD code = 0;
    GetExitCodeProcess(run.host.process, &code);
    if (code != 0) return fail("the panel ended with exit code " + std::to_string(code));
    std::printf("played %d events, closed with %s\n", index, o.close.c_str());
    std::fflush(stdout);
    return o.close == "ok" ? afterOk(run) : 0;
}

}  // namespace

int main(int argc, char** argv) {
    const char* usage =
        "usage: ZntMonkey prepare --seed S --folder DIR [--presets N]\n"
        "       ZntMonkey play --pointer PIPE --seed S --events N --folder DIR [--close ok|cancel] [--presets N]\n"
        "       ZntMonkey play --pointer PIPE --replay LOG [--until K]\n";
    if (argc < 2) return std::fputs(usage, stderr), 2;
    const std::string command = argv[1];
    PlayOptions o;
    int presets = 0;
    for (int i = 2; i + 1 < argc; i += 2) {
        const std::string arg = argv[i], value = argv[i + 1];
        if (arg == "--seed") o.seed = unsigned(std::strtoul(value.c_str(), nullptr, 10));
        else if (arg == "--events") o.events = std::atoi(value.c_str());
        else if (arg == "--folder") o.folder = value;
        else if (arg == "--presets") presets = o.presets = std::atoi(value.c_str());
        else if (arg == "--close") o.close = value;
        else if (arg == "--replay") o.replay = value;
        else if (arg == "--until") o.until = std::atoi(value.c_str());
        else if (arg == "--pointer") o.pointer = value;
        else return std::fputs(usage, stderr), 2;
    }
    if (argc % 2) return std::fputs(usage, stderr), 2;
    if (command == "prepare" && !o.folder.empty()) return prepare(o.seed, o.folder, presets);
    if (command == "play" && (!o.folder.empty() || !o.replay.empty()) && !o.pointer.empty()) return playRun(o);
    return std::fputs(usage, stderr), 2;
}

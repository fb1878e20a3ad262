// The presets page and its import/export dialog in this test program's own
// process, driven through their controls as a user would: after each step
// the table, the list's rows and the current preset are checked. The
// dialog is modal, so a second thread plays the user while it is open.
#include <windows.h>

#include <commctrl.h>
#include <objbase.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "cpl/frame/cpl_module.h"
#include "cpl/frame/localized_text.h"
#include "cpl/frame/main_page.h"
#include "cpl/frame/panel_state.h"
#include "cpl/pages/import_export_dialog.h"
#include "cpl/pages/preset_list.h"
#include "cpl/pages/print_layout.h"
#include "preset/file_system.h"
#include "preset/preset_file.h"
#include "preset/registry_store.h"
#include "sim/sim_client.h"
#include "sim/sim_setup.h"
#include "tests/wine/support/wine_test_support.h"
#include "tools/cplhost/page_harness.h"
#include "tools/cplhost/window_search.h"

namespace zentra {
namespace {

constexpr int kPresetsPage = 155;
constexpr int kList = 157, kName = 232, kPath = 233;
constexpr int kPrint = 1051, kBrowse = 242;
constexpr int kNew = 1041, kDelete = 1048, kDuplicate = 1050, kUndo = 1049, kImportExport = 1036;

std::vector<std::string> rowTexts(HWND list) {
    std::vector<std::string> rows;
    const int n = int(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < n; ++i) {
        char text[256] = "";
        LVITEMA item{};
        item.pszText = text;
        item.cchTextMax = sizeof text;
        SendMessageA(list, LVM_GETITEMTEXTA, i, reinterpret_cast<LPARAM>(&item));
        rows.emplace_back(text);
    }
    return rows;
}

std::vector<std::string> tableNames(const PresetTable& t) {
    std::vector<std::string> names;
    for (int i = 0; i < t.presetCount; ++i) names.emplace_back(t.presets[i].gameName);
    return names;
}

void selectRows(HWND list, const std::vector<int>& rows) {
    LVITEMA state{};
    state.stateMask = LVIS_SELECTED;
    SendMessageA(list, LVM_SETITEMSTATE, WPARAM(-1), reinterpret_cast<LPARAM>(&state));
    state.state = LVIS_SELECTED;
    for (int row : rows) SendMessageA(list, LVM_SETITEMSTATE, WPARAM(row), reinterpret_cast<LPARAM>(&state));
}

std::string dlgText(HWND window, int id) {
    char text[300] = "";
    GetDlgItemTextA(window, id, text, sizeof text);
    return text;
}

// A picture of the screen into ZENTRA_SCREENSHOT_DIR (a folder of this
// machine, as Linux names it), when that is set.
void screenshot(const char* name) {
    char folder[MAX_PATH] = "";
    if (!GetEnvironmentVariableA("ZENTRA_SCREENSHOT_DIR", folder, MAX_PATH)) return;
    // The German run of these tests names its pictures with "-de".
    char language[16] = "";
    GetEnvironmentVariableA("ZENTRA_SCREENSHOT_SUFFIX", language, sizeof language);
    std::string file = name;
    file.insert(file.rfind('.'), language);
    screenshotTo(std::string(folder) + "/" + file);
}

// The text of the message box that `ui` shows next (answered with OK), or
// "" when none comes.
std::string nextMessage(DWORD ui) {
    for (int i = 0; i < 100; ++i, Sleep(20))
        if (HWND box = findShownWindowWithControl(ui, 0, 0xFFFF)) {
            const std::string text = dlgText(box, 0xFFFF);
            PostMessageA(box, WM_COMMAND, IDOK, 0);
            for (int j = 0; j < 100 && IsWindow(box); ++j) Sleep(20);
            return text;
        }
    return {};
}

// The open or save dialog that `ui` shows over `over` takes `path` (or is
// cancelled, for an empty one); true once it has closed (or, without
// `waitForClose`, once it was found: a prompt may keep it open).
bool chooseFile(DWORD ui, HWND over, const std::string& path, bool waitForClose = true) {
    HWND chooser = nullptr;
    for (int i = 0; i < 300 && !chooser; ++i, Sleep(20)) {
        HWND found = findShownWindowWithControl(ui, 0, 0x47C);  // the file name box
        if (found && found != over) chooser = found;
    }
    if (!chooser) return false;
    if (path.empty()) {
        PostMessageA(chooser, WM_COMMAND, IDCANCEL, 0);
    } else {
        SetDlgItemTextA(chooser, 0x47C, path.c_str());
        PostMessageA(chooser, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    }
    for (int i = 0; waitForClose && i < 200 && IsWindow(chooser); ++i) Sleep(20);
    return !waitForClose || !IsWindow(chooser);
}

// Presets of three types, two of them car/motorbike, one "Rally X" run by
// `C:\ZentraTest\RALLYX.EXE`.
PresetTable& startingTable() {
    static PresetTable table;
    table = PresetTable{};
    const struct {
        const char* name;
        const char* path;
        uint16_t type;
    } presets[] = {{"<<<DEFAULT PRESETS>>>", "<<<NO PATH>>>", 2},
                   {"Rally X", "C:\\ZentraTest\\RALLYX.EXE", 2},
                   {"Sky Ace", "C:\\ZentraTest\\SkyAce.exe", 0},
                   {"Kart", "C:\\ZentraTest\\Kart.exe", 2}};
    for (int i = 0; i < 4; ++i) {
        resetPreset(table.presets[i], Deliverable::Panel);
        setPresetText(table.presets[i].gameName, presets[i].name);
        setPresetText(table.presets[i].exePath, presets[i].path);
        table.presets[i].gameType = presets[i].type;
        table.presets[i].buttonKeys[0][0] = KeyCode(0x10 + i);
    }
    table.presetCount = 4;
    return table;
}

class PresetsPageTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { PageHarness::prepare(besideTests("ZentraCpl.dll").c_str()); }

    void SetUp() override {
        ASSERT_NE(PageHarness::library(), nullptr);
        std::string error;
        ASSERT_TRUE(PageHarness::startTest(client, 1, error)) << error;
        resetPresetLists();
        presetFile = tempFile("zentra-presets-page.pst");
        ASSERT_EQ(1, savePresetFile(nullptr, presetFile.c_str(), startingTable(), platformFileSystem()));
        pointPanelAt(registry, presetFile, 1);
        openPage();
    }
    // The sheet over the preset file, on the presets tab.
    void openPage() {
        sheetWindow = harness.open(0);
        ASSERT_NE(sheetWindow, nullptr);
        pumpMessages(50);
        SendMessageA(mainPageState().page, WM_COMMAND, 247, 0);
        pumpMessages(50);
        page = GetDlgItem(mainPageState().page, kPresetsPage);
        ASSERT_NE(page, nullptr);
        list = GetDlgItem(page, kList);
    }
    void TearDown() override {
        if (sheetWindow) harness.close(IDCANCEL);
        DeleteFileA(presetFile.c_str());
    }

    void press(int id) {
        SendMessageA(page, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(page, id)));
        pumpMessages(20);
    }
    // Types `text` into edit `id` and leaves it, as the focus moving on does.
    void typeInto(int id, const char* text) {
        SetDlgItemTextA(page, id, text);
        SendMessageA(page, WM_COMMAND, MAKEWPARAM(id, EN_KILLFOCUS), reinterpret_cast<LPARAM>(GetDlgItem(page, id)));
        pumpMessages(20);
    }
    // Opens the import/export dialog and plays `user` in it on another
    // thread; the dialog is closed afterwards. Returns whether it appeared.
    bool inDialog(const std::function<void(HWND dialog)>& user) {
        bool shown = false;
        const DWORD ui = GetCurrentThreadId();
        whileModal([&] { press(kImportExport); },
                   [&] {
                       HWND dialog = waitForWindowWithControl(ui, IDC_IE_FILE_LIST);
                       if (!dialog) return;
                       shown = true;
                       user(dialog);
                       PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
                   });
        return shown;
    }
    // The list's rows, the table's names and the current preset agree.
    void expectShown(const std::vector<std::string>& rows, const std::vector<std::string>& table, const char* current) {
        EXPECT_EQ(rowTexts(list), rows);
        EXPECT_EQ(tableNames(panelState().table), table);
        EXPECT_STREQ(panelState().currentPreset.gameName, current);
        ASSERT_LT(panelState().currentIndex, panelState().table.presetCount);
        EXPECT_STREQ(panelState().table.presets[panelState().currentIndex].gameName, current);
        EXPECT_EQ(dlgText(page, kName), current);
        const int selected = int(SendMessageA(list, LVM_GETNEXTITEM, WPARAM(-1), LVNI_SELECTED));
        if (selected >= 0) {
            EXPECT_EQ(rowTexts(list)[size_t(selected)], current);
        }
    }

    // No preset left: no row, empty fields, the default preset current.
    void expectShownEmpty() {
        EXPECT_TRUE(rowTexts(list).empty());
        EXPECT_EQ(panelState().table.presetCount, 0);
        EXPECT_EQ(dlgText(page, kName), "");
        EXPECT_STREQ(panelState().currentPreset.gameName, "<<<DEFAULT PRESETS>>>");
    }

    sim::SimClient client;
    Registry registry{platformRegistryStore(), Deliverable::Panel};
    PageHarness harness;
    HWND sheetWindow = nullptr, page = nullptr, list = nullptr;
    std::string presetFile;
};

const std::vector<std::string> kStartRows = {"<<<DEFAULT PRESETS>>>", "Kart", "Rally X"};
const std::vector<std::string> kStartTable = {"<<<DEFAULT PRESETS>>>", "Kart", "Rally X", "Sky Ace"};

TEST_F(PresetsPageTest, OpensSortedWithTheLastPresetCurrentAndOnlyCarPresetsListed) {
    // "LastIndice" 1 was "Rally X" before the sort; it is still the current one.
    expectShown(kStartRows, kStartTable, "Rally X");
    EXPECT_EQ(dlgText(page, kPath), "C:\\ZentraTest\\RALLYX.EXE");
    pumpMessages(300);
    screenshot("presets-page.png");
}

// The lists are 183 pixels wide with a border, their column 183 at most:
// rows that fit bring up no horizontal scroll bar, with few rows or with
// enough for a vertical one, on the page and in the import/export dialog.
TEST_F(PresetsPageTest, RowsThatFitBringUpNoHorizontalScrollBar) {
    const auto horizontalBar = [](HWND l) { return (GetWindowLongA(l, GWL_STYLE) & WS_HSCROLL) != 0; };
    EXPECT_FALSE(horizontalBar(list));
    for (int i = 0; i < 30; ++i) press(kNew);
    pumpMessages(50);
    EXPECT_TRUE(GetWindowLongA(list, GWL_STYLE) & WS_VSCROLL) << "33 rows need a vertical scroll bar";
    EXPECT_FALSE(horizontalBar(list));
    EXPECT_TRUE(inDialog([&](HWND dialog) {
        for (int id : {IDC_IE_PRESETS_LIST, IDC_IE_FILE_LIST}) EXPECT_FALSE(horizontalBar(GetDlgItem(dialog, id))) << id;
    }));
}

TEST_F(PresetsPageTest, NewDuplicateDeleteAndUndoKeepListTableAndCurrentInStep) {
    press(kNew);
    expectShown({"<<<DEFAULT PRESETS>>>", "<<<DEFAULT PRESETS>>>", "Kart", "Rally X"},
                {"<<<DEFAULT PRESETS>>>", "<<<DEFAULT PRESETS>>>", "Kart", "Rally X", "Sky Ace"},
                "<<<DEFAULT PRESETS>>>");
    press(kUndo);
    expectShown(kStartRows, kStartTable, "<<<DEFAULT PRESETS>>>");

    selectRows(list, {2});  // Rally X
    pumpMessages(20);
    EXPECT_STREQ(panelState().currentPreset.gameName, "Rally X");
    press(kDuplicate);
    expectShown({"<<<DEFAULT PRESETS>>>", "Kart", "Rally X", "Rally X"},
                {"<<<DEFAULT PRESETS>>>", "Kart", "Rally X", "Rally X", "Sky Ace"}, "Rally X");
    EXPECT_EQ(panelState().currentIndex, 2) << "the copy sorts in front of its original";
    press(kUndo);
    expectShown(kStartRows, kStartTable, "<<<DEFAULT PRESETS>>>");

    selectRows(list, {1, 2});
    pumpMessages(20);
    press(kDelete);
    expectShown({"<<<DEFAULT PRESETS>>>"}, {"<<<DEFAULT PRESETS>>>", "Sky Ace"}, "<<<DEFAULT PRESETS>>>");
    press(kUndo);
    expectShown(kStartRows, kStartTable, "<<<DEFAULT PRESETS>>>");
}

TEST_F(PresetsPageTest, RenameAndPathEditsGoToTheirPresetAndUndoPutsTheNameBack) {
    typeInto(kName, "Zeta Rally");
    expectShown({"<<<DEFAULT PRESETS>>>", "Kart", "Zeta Rally"}, {"<<<DEFAULT PRESETS>>>", "Kart", "Sky Ace", "Zeta Rally"},
                "Zeta Rally");
    typeInto(kPath, "C:\\ZentraTest\\zeta.exe");
    selectRows(list, {1});  // Kart: the path typed for Zeta Rally goes back with it
    pumpMessages(20);
    EXPECT_STREQ(panelState().table.presets[3].exePath, "C:\\ZentraTest\\zeta.exe");
    EXPECT_EQ(dlgText(page, kPath), "C:\\ZentraTest\\Kart.exe");
    press(kUndo);
    expectShown(kStartRows, kStartTable, "<<<DEFAULT PRESETS>>>");
    EXPECT_STREQ(panelState().table.presets[1].exePath, "C:\\ZentraTest\\Kart.exe") << "Kart keeps its own path";
    EXPECT_STREQ(panelState().table.presets[2].exePath, "C:\\ZentraTest\\RALLYX.EXE");
}

// Windows sends EN_KILLFOCUS whenever the focus leaves a field, typed into
// or not: that alone must not take the place of the step Undo reverts.
TEST_F(PresetsPageTest, AClickIntoAFieldAndOutKeepsUndoOfTheLastStep) {
    for (int step : {kDelete, kNew, kDuplicate}) {
        SCOPED_TRACE(step);
        selectRows(list, {2});  // Rally X
        pumpMessages(20);
        press(step);
        for (int field : {kName, kPath})
            SendMessageA(page, WM_COMMAND, MAKEWPARAM(field, EN_KILLFOCUS), LPARAM(GetDlgItem(page, field)));
        pumpMessages(20);
        press(kUndo);
        expectShown(kStartRows, kStartTable, "<<<DEFAULT PRESETS>>>");
    }
}

// The DLL stays loaded from one opening of the sheet to the next: a step of
// an earlier opening, whose table was never saved, is not undone on this one.
TEST_F(PresetsPageTest, UndoNeverTakesBackAStepOfAnEarlierOpening) {
    selectRows(list, {1});  // Kart
    pumpMessages(20);
    press(kDelete);
    typeInto(kName, "Renamed");
    harness.close(IDCANCEL);
    openPage();
    press(kUndo);
    expectShown(kStartRows, kStartTable, "<<<DEFAULT PRESETS>>>");
}

TEST_F(PresetsPageTest, ALabelEditedInTheListRenamesThatRowsPreset) {
    ASSERT_STREQ(panelState().currentPreset.gameName, "Rally X");
    SetFocus(list);
    HWND edit = reinterpret_cast<HWND>(SendMessageA(list, LVM_EDITLABELA, 1, 0));  // Kart's row, as F2 does
    ASSERT_NE(edit, nullptr);
    SetWindowTextA(edit, "Kart GT");
    SendMessageA(edit, WM_KEYDOWN, VK_RETURN, 0);
    pumpMessages(50);
    expectShown({"<<<DEFAULT PRESETS>>>", "Kart GT", "Rally X"}, {"<<<DEFAULT PRESETS>>>", "Kart GT", "Rally X", "Sky Ace"},
                "Kart GT");
    EXPECT_EQ(panelState().currentPreset.buttonKeys[0][0], 0x13) << "Kart's own preset took the name";
    EXPECT_EQ(panelState().table.presets[2].buttonKeys[0][0], 0x11) << "Rally X keeps its preset";
}

TEST_F(PresetsPageTest, OkWritesTheFileThePresetToolLists) {
    typeInto(kName, "Rally Y");
    typeInto(kPath, "C:\\ZentraTest\\RALLYY.EXE");
    harness.close(IDOK);
    sheetWindow = nullptr;
    const ChildRun run = runChild(besideTests("ZntPreset.exe"), "show \"" + presetFile + "\"", 20000);
    ASSERT_EQ(0u, run.exitCode) << run.output;
    EXPECT_NE(run.output.find("Rally Y"), std::string::npos) << run.output;
    EXPECT_NE(run.output.find("C:\\ZentraTest\\RALLYY.EXE"), std::string::npos) << run.output;
    EXPECT_EQ(run.output.find("Rally X"), std::string::npos) << run.output;
    EXPECT_NE(run.output.find("Sky Ace"), std::string::npos) << "a preset without a row is kept";
}

TEST_F(PresetsPageTest, TheDialogCopiesDeletesAndUndoesBothWaysAndImportsAToolMadeFile) {
    // A file made by the preset tool from JSON.
    const std::string json = tempFile("zentra-ie.json"), made = tempFile("zentra-ie-made.pst");
    {
        FILE* f = std::fopen(json.c_str(), "wb");
        ASSERT_NE(f, nullptr);
        std::fputs("{\"presets\": [{\"gameName\": \"Tool Racer\", \"exePath\": \"C:\\\\T\\\\racer.exe\", \"gameType\": 2},"
                   " {\"gameName\": \"Tool Flyer\", \"gameType\": 0}]}", f);
        std::fclose(f);
    }
    ASSERT_EQ(0u, runChild(besideTests("ZntPreset.exe"), "import \"" + json + "\" -o \"" + made + "\"", 20000).exitCode);
    const DWORD ui = GetCurrentThreadId();
    struct Seen {
        std::vector<std::string> fileRowsAfterCopy, fileRowsAfterUndo, leftRowsAfterDelete, leftRowsAfterUndo;
        std::vector<std::string> fileRowsAfterImport, fileRowsAllTypes;
        std::string shownPath;
    } seen;
    ASSERT_TRUE(inDialog([&](HWND dialog) {
        HWND left = GetDlgItem(dialog, IDC_IE_PRESETS_LIST), right = GetDlgItem(dialog, IDC_IE_FILE_LIST);
        auto command = [&](int id) { SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0); };
        selectRows(left, {0, 2});
        command(IDC_IE_COPY_TO_FILE);
        seen.fileRowsAfterCopy = rowTexts(right);
        command(IDC_IE_UNDO);
        seen.fileRowsAfterUndo = rowTexts(right);
        selectRows(left, {1});
        command(IDC_IE_DELETE_IN_PRESETS);
        seen.leftRowsAfterDelete = rowTexts(left);
        command(IDC_IE_UNDO);
        seen.leftRowsAfterUndo = rowTexts(left);
        // Import through the open-file dialog, typing the name.
        PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_IE_IMPORT, BN_CLICKED), 0);
        if (chooseFile(ui, dialog, made)) Sleep(200);
        seen.fileRowsAfterImport = rowTexts(right);
        seen.shownPath = dlgText(dialog, IDC_IE_FILE_PATH);
        command(IDC_IE_SHOW_TYPE0);
        seen.fileRowsAllTypes = rowTexts(right);
        selectRows(right, {0, 1});
        command(IDC_IE_COPY_TO_PRESETS);
        selectRows(left, {0, 3});
        Sleep(100);
        screenshot("import-export-dialog.png");
    })) << "no import/export dialog appeared";
    EXPECT_EQ(seen.fileRowsAfterCopy, (std::vector<std::string>{"<<<DEFAULT PRESETS>>>", "Rally X"}));
    EXPECT_TRUE(seen.fileRowsAfterUndo.empty());
    EXPECT_EQ(seen.leftRowsAfterDelete, (std::vector<std::string>{"<<<DEFAULT PRESETS>>>", "Rally X"}));
    EXPECT_EQ(seen.leftRowsAfterUndo, kStartRows);
    EXPECT_EQ(seen.fileRowsAfterImport, (std::vector<std::string>{"Tool Racer"})) << "the flyer is filtered out";
    EXPECT_EQ(seen.shownPath, made) << "the file loaded";
    EXPECT_EQ(seen.fileRowsAllTypes, (std::vector<std::string>{"Tool Flyer", "Tool Racer"}));
    // Both came across; the page shows the car one and keeps its current preset.
    EXPECT_EQ(tableNames(panelState().table),
              (std::vector<std::string>{"<<<DEFAULT PRESETS>>>", "Kart", "Rally X", "Sky Ace", "Tool Flyer", "Tool Racer"}));
    expectShown({"<<<DEFAULT PRESETS>>>", "Kart", "Rally X", "Tool Racer"},
                {"<<<DEFAULT PRESETS>>>", "Kart", "Rally X", "Sky Ace", "Tool Flyer", "Tool Racer"}, "Rally X");
    EXPECT_EQ(registry.readRegString(kPanelKey, kLastOpenFileValue), made);
    DeleteFileA(json.c_str());
    DeleteFileA(made.c_str());
}


TEST_F(PresetsPageTest, TheFilterTogglesShowTheGameTypeOfTheirBit) {
    // Presets of the four types on the file side, the filter at its start.
    PresetTable& file = presetLists().fileTable;
    const char* names[] = {"Flight", "Action", "Car", "Other"};
    for (int type = 0; type < 4; ++type) {
        resetPreset(file.presets[type], Deliverable::Panel);
        setPresetText(file.presets[type].gameName, names[type]);
        file.presets[type].gameType = uint16_t(type);
    }
    file.presetCount = 4;
    std::vector<std::vector<std::string>> seen;
    ASSERT_TRUE(inDialog([&](HWND dialog) {
        seen.push_back(rowTexts(GetDlgItem(dialog, IDC_IE_FILE_LIST)));
        for (int toggle : {265, 266, 268, 267}) {
            SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(toggle, BN_CLICKED), 0);
            seen.push_back(rowTexts(GetDlgItem(dialog, IDC_IE_FILE_LIST)));
        }
    }));
    // Rows in table order.
    const std::vector<std::vector<std::string>> expected = {
        {"Car"},                                   // 0x08
        {"Flight", "Car"},                         // 265 adds type 0
        {"Flight", "Action", "Car"},               // 266 adds type 1
        {"Flight", "Action", "Car", "Other"},      // 268 adds type 3
        {"Flight", "Action", "Other"},             // 267 takes type 2 away
    };
    EXPECT_EQ(seen, expected);
}

TEST_F(PresetsPageTest, AnEmptiedTableHasNothingToPrintAndPutsTheDefaultPresetOnTheWheel) {
    // Every preset of the file with separate pedals: the default preset links them.
    for (int i = 0; i < panelState().table.presetCount; ++i) panelState().table.presets[i].pedalsLinked = 0;
    panelState().currentPreset.pedalsLinked = 0;
    ASSERT_TRUE(inDialog([&](HWND dialog) {
        SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_IE_SHOW_TYPE0, BN_CLICKED), 0);
        selectRows(GetDlgItem(dialog, IDC_IE_PRESETS_LIST), {0, 1, 2, 3});
        SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_IE_DELETE_IN_PRESETS, BN_CLICKED), 0);
        SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_IE_SHOW_TYPE0, BN_CLICKED), 0);
    }));
    expectShownEmpty();
    std::string message;
    bool printDialog = false;
    const DWORD ui = GetCurrentThreadId();
    whileModal([&] { press(kPrint); },
               [&] {
                   message = nextMessage(ui);
                   if (HWND dialog = findShownWindowWithControl(ui, 0, 0x473)) {
                       printDialog = true;
                       PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
                   }
               });
    EXPECT_FALSE(printDialog);
    if (UiLanguage == kUiEnglish) {
        EXPECT_EQ(message, "There is no preset to print: the list is empty.");
    } else {
        EXPECT_FALSE(message.empty());
    }
    ASSERT_TRUE(client.clearLog()) << client.error();
    SendMessageA(mainPageState().page, WM_COMMAND, 245, 0);  // to the axis tab: the presets page uploads as it closes
    pumpMessages(50);
    ParameterBlock sent;
    ASSERT_TRUE(lastParameterBlock(client, sent)) << "no block: " << client.error();
    EXPECT_EQ(reinterpret_cast<const uint8_t*>(&sent)[2536], 1) << "the default preset's linked pedals, not the deleted preset's";
    const char* stored =
        registry.readRegStringQuery(kParametersKey, linkPedalsName(panelState().wheel.link.deviceNumber).c_str());
    EXPECT_STREQ(stored ? stored : "(none)", "YES") << "the registry copy is the default preset's too";
}

TEST_F(PresetsPageTest, ExportWritesTheFileTableRemembersTheFileAndSaysWhenItCannot) {
    const std::string out = tempFile("zentra-export.pst");
    DeleteFileA(out.c_str());
    registry.writeRegString(kPanelKey, kLastOpenFileValue, "C:\\before.pst");
    const DWORD ui = GetCurrentThreadId();
    struct Seen {
        bool firstChosen = false, secondChosen = false, cancelChosen = false, importChosen = false;
        std::string afterExport, afterCancel, lastAfterCancel, prompt, failure, notPreset;
        std::vector<std::string> fileRowsAfterBadImport;
    } seen;
    const std::string cut = tempFile("zentra-export-cut.pst");
    ASSERT_TRUE(inDialog([&](HWND dialog) {
        selectRows(GetDlgItem(dialog, IDC_IE_PRESETS_LIST), {0, 2});
        SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_IE_COPY_TO_FILE, BN_CLICKED), 0);
        // Export into a new file.
        PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_IE_EXPORT, BN_CLICKED), 0);
        seen.firstChosen = chooseFile(ui, dialog, out);
        Sleep(300);
        seen.afterExport = dlgText(dialog, IDC_IE_FILE_PATH);
        // A cancelled export keeps the file remembered.
        PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_IE_EXPORT, BN_CLICKED), 0);
        seen.cancelChosen = chooseFile(ui, dialog, "");
        Sleep(300);
        seen.afterCancel = dlgText(dialog, IDC_IE_FILE_PATH);
        seen.lastAfterCancel = registry.readRegString(kPanelKey, kLastOpenFileValue);
        // The same file again, held open by another program: the overwrite
        // prompt, then the failure.
        HANDLE locked = CreateFileA(out.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_IE_EXPORT, BN_CLICKED), 0);
        seen.secondChosen = chooseFile(ui, dialog, out, false);
        for (int i = 0; i < 100; ++i, Sleep(20))
            if (HWND prompt = findShownWindowWithControl(ui, 0, IDYES)) {
                seen.prompt = dlgText(prompt, 0xFFFF);
                PostMessageA(prompt, WM_COMMAND, IDYES, 0);
                for (int j = 0; j < 100 && IsWindow(prompt); ++j) Sleep(20);
                break;
            }
        seen.failure = nextMessage(ui);
        CloseHandle(locked);
        // A copy of the file cut short is refused on import; the file side stays.
        std::vector<uint8_t> bytes;
        if (platformFileSystem().readFile(out, 1 << 20, bytes) && bytes.size() > 1500) {
            bytes.resize(1500);
            platformFileSystem().replaceFile(cut, bytes);
        }
        PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_IE_IMPORT, BN_CLICKED), 0);
        seen.importChosen = chooseFile(ui, dialog, cut);
        seen.notPreset = nextMessage(ui);
        Sleep(200);
        seen.fileRowsAfterBadImport = rowTexts(GetDlgItem(dialog, IDC_IE_FILE_LIST));
    }));
    ASSERT_TRUE(seen.firstChosen && seen.cancelChosen && seen.secondChosen && seen.importChosen);
    // The file holds the file side, not the preset table.
    auto written = std::make_unique<PresetTable>();
    ASSERT_EQ(0, loadPresetFile(nullptr, out.c_str(), *written, platformFileSystem(), nullptr));
    EXPECT_EQ(tableNames(*written), (std::vector<std::string>{"<<<DEFAULT PRESETS>>>", "Rally X"}));
    EXPECT_EQ(seen.afterExport, out);
    EXPECT_EQ(seen.afterCancel, out);
    EXPECT_EQ(seen.lastAfterCancel, out);
    EXPECT_FALSE(seen.prompt.empty()) << "no overwrite prompt";
    if (UiLanguage == kUiEnglish) {
        EXPECT_EQ(seen.failure.substr(0, 35), "The preset file could not be saved.");
        EXPECT_EQ(seen.notPreset, "This is not a preset file.");
    }
    EXPECT_GT(seen.failure.size(), 36u) << "the system's reason follows: " << seen.failure;
    EXPECT_EQ(seen.fileRowsAfterBadImport, (std::vector<std::string>{"<<<DEFAULT PRESETS>>>", "Rally X"}));
    DeleteFileA(out.c_str());
    DeleteFileA(cut.c_str());
}

// The text of a file, or "" while it is not there.
std::string fileText(const std::string& path) {
    std::vector<uint8_t> bytes;
    if (!platformFileSystem().readFile(path, 1 << 20, bytes)) return {};
    return std::string(bytes.begin(), bytes.end());
}

// Non-empty lines of each page of pdftotext's output, blanks trimmed.
std::vector<std::vector<std::string>> pagesOf(const std::string& text) {
    std::vector<std::vector<std::string>> pages(1);
    std::string line;
    auto flush = [&] {
        const size_t a = line.find_first_not_of(' '), b = line.find_last_not_of(" \r");
        if (a != std::string::npos) pages.back().push_back(line.substr(a, b - a + 1));
        line.clear();
    };
    for (char c : text) {
        if (c == '\n') flush();
        else if (c == '\f') {
            flush();
            pages.emplace_back();
        } else line += c;
    }
    flush();
    while (!pages.empty() && pages.back().empty()) pages.pop_back();
    return pages;
}

TEST_F(PresetsPageTest, PrintingThroughThePrintDialogGivesThePresetsLinesPageByPage) {
    char pdfDir[MAX_PATH] = "";
    if (!GetEnvironmentVariableA("ZENTRA_PDF_DIR", pdfDir, MAX_PATH)) {
        GTEST_SKIP() << "no PDF printer: scripts/test starts one (start_print_server)";
    }
    Preset& p = panelState().currentPreset;
    p.buttonKeys[0][0] = 0x1E;   // A
    p.buttonKeys[0][1] = 0x41E;  // Shift+A
    p.buttonKeys[6][0] = 0x1000; // Alt alone
    p.buttonKeys[12][0] = 0x130; // Ctrl+B
    p.buttonKeys[20][0] = 0xC8;  // Up, an extended key
    // The printout's 47 lines, with the key names the system gives.
    auto name = [](LONG param) {
        char text[32] = "";
        GetKeyNameTextA(param, text, sizeof text);
        return std::string(text);
    };
    const std::string a = name(0x1E0000), shift = name(0x2A0000), alt = name(0x380000), ctrl = name(0x1D0000),
                      b = name(0x300000), up = name(0x1480000);
    std::vector<std::string> lines(kPrintLineCount);
    lines[0] = "Rally X";
    lines[1] = "C:\\ZentraTest\\RALLYX.EXE";
    for (int i = 1; i <= 13; ++i) lines[size_t(3 + 2 * (i - 1))] = "Button " + std::to_string(i) + ":";
    for (int j = 1; j <= 8; ++j) lines[size_t(31 + 2 * (j - 1))] = "POV " + std::to_string(j) + ":";
    lines[4] = "   " + a + "   " + shift + "+" + a;
    lines[16] = "   " + alt;
    lines[28] = "   " + ctrl + "+" + b;
    lines[46] = "   " + up;
    // A cancelled print dialog prints nothing and leaves the page enabled.
    {
        const std::string title = "zentra-print-cancelled-" + std::to_string(GetTickCount());
        SetWindowTextA(page, title.c_str());
        const DWORD ui = GetCurrentThreadId();
        whileModal([&] { press(kPrint); },
                   [&] {
                       if (HWND dialog = waitForWindowWithControl(ui, 0x473)) PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
                   });
        EXPECT_TRUE(IsWindowEnabled(page));
        Sleep(1000);
        WIN32_FIND_DATAA found;
        HANDLE search = FindFirstFileA((std::string("Z:") + pdfDir + "/" + title + "*").c_str(), &found);
        EXPECT_EQ(search, INVALID_HANDLE_VALUE) << "a cancelled job printed";
        if (search != INVALID_HANDLE_VALUE) FindClose(search);
    }
    for (const char* printer : {"ZentraPDF", "ZentraPDFShort"}) {
        SCOPED_TRACE(printer);
        ASSERT_TRUE(SetDefaultPrinterA(printer)) << "the print server has no printer " << printer;
        // How the printer's page takes the lines, measured as the page does.
        HDC dc = CreateDCA(nullptr, printer, nullptr, nullptr);
        ASSERT_NE(dc, nullptr);
        TEXTMETRICA tm{};
        GetTextMetricsA(dc, &tm);
        const PrintMetrics metrics{int(tm.tmHeight + tm.tmExternalLeading), GetDeviceCaps(dc, HORZRES) / tm.tmAveCharWidth,
                                   GetDeviceCaps(dc, VERTRES)};
        DeleteDC(dc);
        const int perPage = linesPerPage(metrics);
        std::printf("%s: %d lines a page\n", printer, perPage);
        if (std::strcmp(printer, "ZentraPDFShort") == 0) {
            EXPECT_LT(perPage, kPrintLineCount) << "the short page must not hold all lines";
        }
        const std::string title = std::string("zentra-print-") + printer + "-" + std::to_string(GetTickCount());
        SetWindowTextA(page, title.c_str());
        bool dialogShown = false;
        const DWORD ui = GetCurrentThreadId();
        whileModal([&] { press(kPrint); },
                   [&] {
                       HWND dialog = waitForWindowWithControl(ui, 0x473);  // the printer list
                       if (!dialog) return;
                       dialogShown = true;
                       PostMessageA(dialog, WM_COMMAND, IDOK, 0);
                   });
        ASSERT_TRUE(dialogShown) << "no print dialog";
        EXPECT_TRUE(IsWindowEnabled(page)) << "the page is enabled again after the job";
        // The PDF, then its text.
        std::string pdf;
        for (int i = 0; i < 300 && pdf.empty(); ++i, Sleep(100)) {
            WIN32_FIND_DATAA found;
            HANDLE search = FindFirstFileA((std::string("Z:") + pdfDir + "/" + title + "*.pdf").c_str(), &found);
            if (search == INVALID_HANDLE_VALUE) continue;
            FindClose(search);
            if (found.nFileSizeLow > 0) pdf = std::string(pdfDir) + "/" + found.cFileName;
        }
        ASSERT_FALSE(pdf.empty()) << "no PDF in " << pdfDir;
        Sleep(500);  // the printer finishes writing it
        const std::string txt = pdf + ".txt";
        runLinux("Z:\\usr\\bin\\pdftotext -layout " + pdf + " " + txt, 10000);
        std::string text;
        for (int i = 0; i < 100 && text.empty(); ++i, Sleep(100)) text = fileText("Z:" + txt);
        ASSERT_FALSE(text.empty()) << "pdftotext gave nothing for " << pdf;
        std::printf("printed into %s\n", pdf.c_str());
        // The lines, split where the page ends.
        std::vector<std::vector<std::string>> expected;
        for (int i = 0; i < kPrintLineCount; ++i) {
            if (i % perPage == 0) expected.emplace_back();
            const std::string cut = lines[i].substr(0, size_t(metrics.charsPerLine));
            const size_t a = cut.find_first_not_of(' ');
            if (a != std::string::npos) expected.back().push_back(cut.substr(a));
        }
        while (!expected.empty() && expected.back().empty()) expected.pop_back();
        EXPECT_EQ(pagesOf(text), expected);
        DeleteFileA(("Z:" + pdf).c_str());
        DeleteFileA(("Z:" + txt).c_str());
    }
}

// A shell shortcut at `link` to `target`.
bool makeShortcut(const std::string& link, const std::string& target) {
    bool made = false;
    const HRESULT com = CoInitialize(nullptr);
    IShellLinkA* shell = nullptr;
    if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                   reinterpret_cast<void**>(&shell)))) {
        IPersistFile* file = nullptr;
        shell->SetPath(target.c_str());
        if (SUCCEEDED(shell->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
            wchar_t wide[MAX_PATH];
            MultiByteToWideChar(CP_ACP, 0, link.c_str(), -1, wide, MAX_PATH);
            made = SUCCEEDED(file->Save(wide, TRUE));
            file->Release();
        }
        shell->Release();
    }
    if (SUCCEEDED(com)) CoUninitialize();
    return made;
}

bool touch(const std::string& path) {
    HANDLE f = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (f == INVALID_HANDLE_VALUE) return false;
    CloseHandle(f);
    return true;
}

TEST_F(PresetsPageTest, BrowseTakesAShortcutsProgramAndRefusesAPathTooLongForThePreset) {
    const std::string dir = tempFile("zentra-browse");
    CreateDirectoryA(dir.c_str(), nullptr);
    const std::string program = dir + "\\game.exe", link = dir + "\\game shortcut.lnk";
    ASSERT_TRUE(touch(program));
    ASSERT_TRUE(makeShortcut(link, program));
    // A file whose path takes 257 characters: the system's limit, not the preset's.
    const std::string levels[] = {dir + "\\" + std::string(100, 'd'),
                                  dir + "\\" + std::string(100, 'd') + "\\" + std::string(100, 'e')};
    for (const std::string& level : levels) CreateDirectoryA(level.c_str(), nullptr);
    const std::string tooLong = levels[1] + "\\" + std::string(257 - levels[1].size() - 1 - 4, 'f') + ".exe";
    ASSERT_EQ(tooLong.size(), 257u);
    ASSERT_TRUE(touch(tooLong));
    const struct {
        std::string chosen, stored, message;
    } cases[] = {
        {link, program, ""},
        {tooLong, program, listMessage(UiLanguage, ListMessage::PathTooLong)},  // the path stays as it was
    };
    const DWORD ui = GetCurrentThreadId();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.chosen);
        std::string message;
        bool chose = false;
        whileModal([&] { press(kBrowse); },
                   [&] {
                       chose = chooseFile(ui, nullptr, c.chosen);
                       message = nextMessage(ui);
                   });
        ASSERT_TRUE(chose) << "the open dialog did not take the file";
        EXPECT_EQ(message, c.message);
        EXPECT_EQ(dlgText(page, kPath), c.stored);
        EXPECT_STREQ(panelState().currentPreset.exePath, c.stored.c_str());
        EXPECT_STREQ(panelState().table.presets[panelState().currentIndex].exePath, c.stored.c_str());
    }
    DeleteFileA(tooLong.c_str());
    RemoveDirectoryA(levels[1].c_str());
    RemoveDirectoryA(levels[0].c_str());
    DeleteFileA(link.c_str());
    DeleteFileA(program.c_str());
    RemoveDirectoryA(dir.c_str());
}

}  // namespace
}  // namespace zentra

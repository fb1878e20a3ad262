// The tray loader's start-up rules: the table language and its menu, the
// Windows generation, the start-up switch and "Launch", the Run value, the
// default preset file path and the main window's place.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "loader/loader_text.h"
#include "loader/startup.h"
#include "preset/display_scale.h"
#include "preset/os_level.h"

namespace zentra {
namespace {

// ---------------------------------------------------------------- language

TEST(LoaderLanguage, EveryVariantOfTheSixLanguagesGetsItsTable) {
    const struct {
        uint16_t table;
        std::vector<uint16_t> users;
    } cases[] = {
        {0x0816, {0x0116, 0x0216, 0x0316, 0x0416, 0x0516, 0x0616, 0x0716, 0x0816,  // byte-shifted form
                  0x0C16, 0x1016, 0x1416, 0x1816, 0x1C16, 0x2016}},                // sublanguages 3..8
        {0x0410, {0x0410, 0x0810, 0x0C10, 0x1010, 0x1410}},
        {0x040C, {0x040C, 0x080C, 0x0C0C, 0x100C, 0x140C}},
        {0x040A, {0x040A, 0x080A, 0x0C0A, 0x100A, 0x140A, 0x180A, 0x1C0A, 0x200A, 0x240A, 0x280A,
                  0x2C0A, 0x300A, 0x340A, 0x380A, 0x3C0A, 0x400A, 0x440A, 0x480A, 0x4C0A, 0x500A}},
        {0x0407, {0x0407, 0x0807, 0x0C07, 0x1007, 0x1407}},
        {0x0413, {0x0413, 0x0813}},
    };
    for (const auto& c : cases)
        for (uint16_t user : c.users) EXPECT_EQ(c.table, chooseLoaderLanguage(user)) << std::hex << user;
}

TEST(LoaderLanguage, AnythingElseIsEnglish) {
    // Swedish, English variants, the neutral sublanguage 0 and the first
    // sublanguage past each language's range.
    for (uint16_t user : {0x041D, 0x0409, 0x0809, 0x0000, 0x0016, 0x000A, 0x0007, 0x0916, 0x2416, 0x1810,
                          0x180C, 0x540A, 0x1807, 0x0C13, 0x0411, 0x0415})
        EXPECT_EQ(0x0409, chooseLoaderLanguage(user)) << std::hex << user;
}

TEST(LoaderLanguage, EachTableLanguageHasItsMenu) {
    EXPECT_EQ(232, loaderMenuId(0x0409));
    EXPECT_EQ(237, loaderMenuId(0x0413));
    EXPECT_EQ(238, loaderMenuId(0x040C));
    EXPECT_EQ(239, loaderMenuId(0x0407));
    EXPECT_EQ(240, loaderMenuId(0x040A));
    EXPECT_EQ(241, loaderMenuId(0x0410));
    EXPECT_EQ(242, loaderMenuId(0x0816));
    EXPECT_EQ(232, loaderMenuId(chooseLoaderLanguage(0x041D)));
}

// ---------------------------------------------------------------- OsLevel

TEST(OsLevel, WindowsGenerations) {
    const struct {
        int platform;
        unsigned major, minor;
        int level;
    } cases[] = {
        {2, 5, 0, 3},   // 2000
        {2, 5, 1, 4},   // XP
        {2, 5, 2, 4},   // later 5.x
        {2, 4, 0, 3},   // NT 4
        {2, 6, 1, 3},   // any other NT
        {2, 3, 51, 3},
        {1, 4, 0, 0},   // 95
        {1, 4, 10, 1},  // 98
        {1, 4, 90, 2},  // ME
        {1, 4, 3, 1},   // any other 9x
        {1, 5, 0, 1},
        {0, 3, 10, 1},  // not the NT platform
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.level, computeOsLevel(c.platform, c.major, c.minor))
            << c.platform << " " << c.major << "." << c.minor;
}

// Places and sizes at 96 DPI, on screens of 100, 125, 150 and 200 %.
TEST(DisplayScale, PlacesAndTheTrayIconGrowWithTheScreensDpi) {
    const struct {
        int value, dpi, scaled;
    } cases[] = {
        {16, 96, 16},  {16, 120, 20}, {16, 144, 24}, {16, 192, 32},  // the tray icon
        {320, 144, 480}, {30, 144, 45}, {335, 144, 503},             // 502.5: halves go up
        {300, 120, 375}, {60, 192, 120}, {-10, 144, -15},
        {7, 0, 7},  // no DPI known: 96
    };
    for (const auto& c : cases) EXPECT_EQ(c.scaled, scaleToDpi(c.value, c.dpi)) << c.value << " at " << c.dpi;
    for (const auto& c : cases)
        if (c.value == 16) {
            EXPECT_EQ(c.scaled, trayIconSize(c.dpi)) << c.dpi;
        }
}

// ---------------------------------------------------------------- switch and "Launch"

TEST(StartupRules, StartupSwitchIsACaseSensitiveSubstring) {
    EXPECT_TRUE(hasStartupSwitch("C:\\WINDOWS\\SYSTEM32\\ZntUsb.exe /STARTUP"));
    EXPECT_TRUE(hasStartupSwitch("\"C:\\Program Files\\ZntUsb.exe\"/STARTUPNOW"));
    EXPECT_FALSE(hasStartupSwitch("ZntUsb.exe /startup"));
    EXPECT_FALSE(hasStartupSwitch("ZntUsb.exe /START"));
    EXPECT_FALSE(hasStartupSwitch("ZntUsb.exe"));
    EXPECT_FALSE(hasStartupSwitch(nullptr));
}

TEST(StartupRules, LaunchMissingOrExactlyNoStopsTheStart) {
    EXPECT_FALSE(launchAllowsStart(nullptr));
    EXPECT_FALSE(launchAllowsStart("NO"));
    for (const char* goOn : {"YES", "no", "No", "NO ", "NONE", "", "0"}) EXPECT_TRUE(launchAllowsStart(goOn)) << goOn;
}

// ---------------------------------------------------------------- Run value and paths

TEST(StartupRules, RunValueUsesSystem32OnTheNtFamilyAndSystemOn9x) {
    for (int level : {3, 4})
        EXPECT_EQ("C:\\WINDOWS\\SYSTEM32\\ZntUsb.exe /STARTUP", runValueCommand("C:\\WINDOWS", level)) << level;
    for (int level : {0, 1, 2})
        EXPECT_EQ("C:\\WINDOWS\\SYSTEM\\ZntUsb.exe /STARTUP", runValueCommand("C:\\WINDOWS", level)) << level;
}

TEST(StartupRules, DefaultPresetPathIsUnderSystemRootOnlyForOsLevel3) {
    const std::string fallback = "C:\\Fallback\\";
    EXPECT_EQ("C:\\WINNT\\TEMP\\TempoZNT.pst", defaultPresetFilePath(3, "C:\\WINNT", "C:\\Tmp", fallback));
    for (int level : {0, 1, 2, 4})
        EXPECT_EQ("C:\\Tmp\\TempoZNT.pst", defaultPresetFilePath(level, "C:\\WINNT", "C:\\Tmp", fallback)) << level;
}

TEST(StartupRules, DefaultPresetPathFallsBackWhenAVariableIsNotSet) {
    // SystemRoot unset: the "temp" form; temp unset as well: the system's
    // temporary folder, whose trailing separator is not doubled.
    EXPECT_EQ("C:\\Tmp\\TempoZNT.pst", defaultPresetFilePath(3, nullptr, "C:\\Tmp", "C:\\Fallback\\"));
    EXPECT_EQ("C:\\Tmp\\TempoZNT.pst", defaultPresetFilePath(3, "", "C:\\Tmp", "C:\\Fallback\\"));
    EXPECT_EQ("C:\\Fallback\\TempoZNT.pst", defaultPresetFilePath(3, nullptr, nullptr, "C:\\Fallback\\"));
    EXPECT_EQ("C:\\Fallback\\TempoZNT.pst", defaultPresetFilePath(4, "C:\\WINNT", "", "C:\\Fallback\\"));
    EXPECT_EQ("C:\\Fallback\\TempoZNT.pst", defaultPresetFilePath(1, nullptr, nullptr, "C:\\Fallback"));
}

// ---------------------------------------------------------------- window place

TEST(StartupRules, WindowIsCentredFromHalvedSizes) {
    // 1024 / 2 - 335 / 2 = 345 (halving the difference would give 344).
    const WindowPlace p = centredPlace(1024, 768, 335, 200);
    EXPECT_EQ(345, p.left);
    EXPECT_EQ(284, p.top);
    const WindowPlace exact = centredPlace(335, 200, 335, 200);
    EXPECT_EQ(0, exact.left);
    EXPECT_EQ(0, exact.top);
}

TEST(StartupRules, WindowLargerThanTheScreenStartsAtItsCorner) {
    const WindowPlace both = centredPlace(300, 150, 335, 200);
    EXPECT_EQ(0, both.left);
    EXPECT_EQ(0, both.top);
    const WindowPlace wide = centredPlace(320, 600, 335, 200);
    EXPECT_EQ(0, wide.left);
    EXPECT_EQ(200, wide.top);
    const WindowPlace tall = centredPlace(800, 100, 335, 200);
    EXPECT_EQ(233, tall.left);
    EXPECT_EQ(0, tall.top);
}

}  // namespace
}  // namespace zentra

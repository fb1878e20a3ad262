// The registry operations against Wine's real registry (HKEY_LOCAL_MACHINE).
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "preset/registry.h"

namespace zentra {
namespace {

const char kTestRoot[] = "SOFTWARE\\Zentra Tests";
const char kKey[] = "SOFTWARE\\Zentra Tests\\Registry";

class Win32Registry : public ::testing::Test {
protected:
    void SetUp() override { RegDeleteTreeA(HKEY_LOCAL_MACHINE, kTestRoot); }
    void TearDown() override { RegDeleteTreeA(HKEY_LOCAL_MACHINE, kTestRoot); }

    static void setRaw(const char* name, DWORD type, const void* data, DWORD size) {
        HKEY key;
        ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, kKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
                  ERROR_SUCCESS);
        ASSERT_EQ(RegSetValueExA(key, name, 0, type, static_cast<const BYTE*>(data), size), ERROR_SUCCESS);
        RegCloseKey(key);
    }
    static bool keyExists(const char* path) {
        HKEY key;
        if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
        RegCloseKey(key);
        return true;
    }

    Registry panel{platformRegistryStore(), Deliverable::Panel};
    Registry loader{platformRegistryStore(), Deliverable::Loader};
};

TEST_F(Win32Registry, AMissingKeyReadsAsMissingInEveryReader) {
    uint8_t buffer[16];
    EXPECT_EQ(panel.readRegDword(kKey, "LastIndice"), 0u);
    EXPECT_EQ(panel.readRegBinary(buffer, sizeof buffer, kKey, "AxeX_SENS"), 0);
    EXPECT_EQ(panel.readRegString(kKey, "TemporaryFile"), nullptr);
    EXPECT_EQ(panel.readRegStringQuery(kKey, "Link_Pedals0"), nullptr);
    EXPECT_EQ(loader.readRegString(kKey, "Launch"), nullptr);
    EXPECT_FALSE(keyExists(kKey)) << "reading must not create the key";
}

TEST_F(Win32Registry, WritingIntoAMissingKeyCreatesItAndEveryTypeReadsBack) {
    ASSERT_EQ(panel.writeRegDword(0x12345678, kKey, "HandleVedodUSB"), 1);
    EXPECT_TRUE(keyExists(kKey));
    EXPECT_EQ(panel.readRegDword(kKey, "HandleVedodUSB"), 0x12345678u);

    std::vector<uint8_t> table(256);
    for (size_t i = 0; i < table.size(); ++i) table[i] = uint8_t(255 - i);
    ASSERT_EQ(panel.writeRegBinary(table.data(), 256, kKey, "AxeX_SENS"), 1);
    std::vector<uint8_t> back(256);
    uint32_t stored = 0;
    ASSERT_EQ(loader.readRegBinary(back.data(), 256, kKey, "AxeX_SENS", &stored), 1);
    EXPECT_EQ(back, table);
    EXPECT_EQ(stored, 256u);

    ASSERT_EQ(loader.writeRegString(kKey, "Launch", "YES"), 1);
    ASSERT_NE(loader.readRegString(kKey, "Launch"), nullptr);
    EXPECT_STREQ(loader.readRegString(kKey, "Launch"), "YES");
    EXPECT_STREQ(panel.readRegStringQuery(kKey, "Launch"), "YES");
}

TEST_F(Win32Registry, ATextStoredWithoutTerminatorReadsBackExactly) {
    // Stored by hand in UTF-16 without a terminator, as the system's writer does.
    const wchar_t text[] = L"\\\\.\\Vid_1234&Pid_5678#1";
    HKEY key;
    ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, kKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    ASSERT_EQ(RegSetValueExW(key, L"Emulation", 0, REG_SZ, reinterpret_cast<const BYTE*>(text),
                             DWORD(wcslen(text) * sizeof(wchar_t))),
              ERROR_SUCCESS);
    RegCloseKey(key);
    panel.writeRegString(kKey, "TemporaryFile", "C:\\A\\MUCH\\LONGER\\TEXT\\THAN\\THE\\LINK\\NAME.pst");
    ASSERT_NE(panel.readRegString(kKey, "TemporaryFile"), nullptr);
    ASSERT_NE(panel.readRegString(kKey, "Emulation"), nullptr);
    EXPECT_STREQ(panel.readRegString(kKey, "Emulation"), "\\\\.\\Vid_1234&Pid_5678#1");
    EXPECT_STREQ(loader.readRegString(kKey, "Emulation"), "\\\\.\\Vid_1234&Pid_5678#1");
}

TEST_F(Win32Registry, AShortTextReadAfterALongerOneEndsAtItsOwnLength) {
    loader.writeRegString(kKey, "TemporaryFile", "C:\\WINDOWS\\TEMP\\TempoZNT.pst");
    loader.writeRegString(kKey, "Launch", "YES");
    ASSERT_NE(loader.readRegString(kKey, "TemporaryFile"), nullptr);
    EXPECT_STREQ(loader.readRegString(kKey, "Launch"), "YES");
    panel.writeRegString(kKey, "Launch", "NO");
    EXPECT_STREQ(loader.readRegString(kKey, "Launch"), "NO");
}

TEST_F(Win32Registry, TextsWrittenByOthersWithATerminatorReadTheSame) {
    setRaw("Launch", REG_SZ, "YES", 4);
    EXPECT_STREQ(panel.readRegString(kKey, "Launch"), "YES");
    // A text of 255 characters plus its terminator fills the panel's buffer exactly.
    const std::string longest(255, 'p');
    setRaw("TemporaryFile", REG_SZ, longest.c_str(), 256);
    ASSERT_NE(panel.readRegString(kKey, "TemporaryFile"), nullptr);
    EXPECT_EQ(std::string(panel.readRegString(kKey, "TemporaryFile")), longest);
}

TEST_F(Win32Registry, AValueOfAnotherTypeCountsAsMissing) {
    const DWORD number = 7;
    setRaw("TemporaryFile", REG_DWORD, &number, 4);
    EXPECT_EQ(panel.readRegString(kKey, "TemporaryFile"), nullptr);
    EXPECT_EQ(loader.readRegString(kKey, "TemporaryFile"), nullptr);
    EXPECT_EQ(panel.readRegStringQuery(kKey, "TemporaryFile"), nullptr);

    setRaw("LastIndice", REG_SZ, "3", 1);
    EXPECT_EQ(panel.readRegDword(kKey, "LastIndice"), 0u);
    setRaw("LastIndice", REG_BINARY, &number, 4);
    EXPECT_EQ(panel.readRegDword(kKey, "LastIndice"), 0u);

    uint8_t table[256];
    setRaw("AxeY_SENS", REG_SZ, "abc", 3);
    EXPECT_EQ(panel.readRegBinary(table, sizeof table, kKey, "AxeY_SENS"), 0);
}

TEST_F(Win32Registry, ValuesLargerThanTheBufferAreNotRead) {
    std::vector<uint8_t> big(300, 0xAB);
    setRaw("AxeZ_SENS", REG_BINARY, big.data(), DWORD(big.size()));
    uint8_t table[256];
    EXPECT_EQ(loader.readRegBinary(table, sizeof table, kKey, "AxeZ_SENS"), 0);

    // A shorter binary value fits; its size tells the caller it is short.
    setRaw("BT_1", REG_BINARY, big.data(), 40);
    uint8_t entry[84];
    uint32_t stored = 0;
    EXPECT_EQ(loader.readRegBinary(entry, sizeof entry, kKey, "BT_1", &stored), 1);
    EXPECT_EQ(stored, 40u);

    // 256 characters leave no room for the terminator in the panel's buffer;
    // the loader's buffer holds up to 259.
    const std::string text256(256, 'q');
    loader.writeRegString(kKey, "TemporaryFile", text256.c_str());
    EXPECT_EQ(panel.readRegString(kKey, "TemporaryFile"), nullptr);
    ASSERT_NE(loader.readRegString(kKey, "TemporaryFile"), nullptr);
    EXPECT_EQ(std::string(loader.readRegString(kKey, "TemporaryFile")), text256);
    const std::string text260(260, 'r');
    loader.writeRegString(kKey, "TemporaryFile", text260.c_str());
    EXPECT_EQ(loader.readRegString(kKey, "TemporaryFile"), nullptr);
}

TEST_F(Win32Registry, NumberedValueNamesReachTheRegistryAsWritten) {
    const uint8_t config[112] = {1, 2, 3};
    ASSERT_EQ(panel.writeRegBinary(config, sizeof config, kKey, joystickConfigurationName(1).c_str()), 1);
    HKEY key;
    ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, kKey, 0, KEY_READ, &key), ERROR_SUCCESS);
    DWORD type = 0, size = 0;
    EXPECT_EQ(RegQueryValueExA(key, "Joystick1Configuration", nullptr, &type, nullptr, &size), ERROR_SUCCESS);
    RegCloseKey(key);
    EXPECT_EQ(size, 112u);
}

TEST_F(Win32Registry, KeyNamesCompareWithoutLetterCase) {
    panel.writeRegDword(5, kKey, "LastIndice");
    EXPECT_EQ(panel.readRegDword("software\\ZENTRA TESTS\\registry", "lastindice"), 5u);
}

}  // namespace
}  // namespace zentra

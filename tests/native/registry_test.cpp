// The configuration store: the seven registry operations of each program over
// an in-memory registry, the access rights they open keys with, and the names
// of keys and values.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "preset/registry.h"
#include "preset/registry_store_memory.h"

namespace zentra {
namespace {

using Bytes = std::vector<uint8_t>;

class RegistryTest : public ::testing::Test {
protected:
    // The access rights of every key opening since the last call.
    std::vector<RegAccess> takeOpens() {
        std::vector<RegAccess> rights;
        for (const auto& open : store_.opens) rights.push_back(open.access);
        store_.opens.clear();
        return rights;
    }
    static std::vector<RegAccess> only(RegAccess access, size_t times) {
        return std::vector<RegAccess>(times, access);
    }

    MemoryRegistryStore store_;
    Registry panel_{store_, Deliverable::Panel};
    Registry loader_{store_, Deliverable::Loader};
};

// -------------------------------------------------------------- DWORD values

TEST_F(RegistryTest, DwordWrittenLittleEndianReadsBack) {
    EXPECT_EQ(1, panel_.writeRegDword(0x12345678u, kPanelKey, kLastIndexValue));

    const auto* stored = store_.find(kPanelKey, "LastIndice");
    ASSERT_NE(nullptr, stored);
    EXPECT_EQ(kRegDword, stored->type);
    EXPECT_EQ((Bytes{0x78, 0x56, 0x34, 0x12}), stored->data);
    EXPECT_EQ(0x12345678u, panel_.readRegDword(kPanelKey, kLastIndexValue));
    EXPECT_EQ(0x12345678u, loader_.readRegDword(kPanelKey, kLastIndexValue));
}

TEST_F(RegistryTest, DwordReadsZeroWhenKeyOrValueIsMissing) {
    store_.setDword(kPanelKey, "Other", 7);
    EXPECT_EQ(0u, panel_.readRegDword(kParametersKey, kLastIndexValue));
    EXPECT_EQ(0u, panel_.readRegDword(kPanelKey, kLastIndexValue));
}

TEST_F(RegistryTest, DwordReadsZeroForAValueOfAnotherTypeOrSize) {
    store_.set(kPanelKey, "AsText", kRegSz, {1, 0, 0, 0});
    store_.set(kPanelKey, "AsBinary", kRegBinary, {1, 0, 0, 0});
    store_.set(kPanelKey, "Short", kRegDword, {1, 0, 0});
    store_.set(kPanelKey, "Long", kRegDword, {1, 0, 0, 0, 0, 0, 0, 0});
    store_.set(kPanelKey, "Right", kRegDword, {1, 0, 0, 0});

    EXPECT_EQ(0u, panel_.readRegDword(kPanelKey, "AsText"));
    EXPECT_EQ(0u, panel_.readRegDword(kPanelKey, "AsBinary"));
    EXPECT_EQ(0u, panel_.readRegDword(kPanelKey, "Short"));
    EXPECT_EQ(0u, panel_.readRegDword(kPanelKey, "Long"));
    EXPECT_EQ(1u, panel_.readRegDword(kPanelKey, "Right"));
}

TEST_F(RegistryTest, DwordReadOpensTheKeyWithFullAccess) {
    store_.setDword(kPanelKey, kLoaderWindowValue, 0x1234);
    EXPECT_EQ(0x1234u, panel_.readRegDword(kPanelKey, kLoaderWindowValue));
    const auto rights = takeOpens();
    ASSERT_FALSE(rights.empty());
    EXPECT_EQ(only(RegAccess::AllAccess, rights.size()), rights);
}

// ------------------------------------------------------------- binary values

TEST_F(RegistryTest, BinaryWrittenWithItsSizeReadsBackIntoAFittingBuffer) {
    uint8_t table[256];
    for (int i = 0; i < 256; ++i) table[i] = uint8_t(255 - i);
    EXPECT_EQ(1, panel_.writeRegBinary(table, sizeof table, kParametersKey, kAxisTableValues[1]));

    const auto* stored = store_.find(kParametersKey, "AxeY_SENS");
    ASSERT_NE(nullptr, stored);
    EXPECT_EQ(kRegBinary, stored->type);
    EXPECT_EQ(Bytes(table, table + 256), stored->data);

    uint8_t back[256] = {};
    uint32_t storedSize = 0;
    EXPECT_EQ(1, loader_.readRegBinary(back, sizeof back, kParametersKey, kAxisTableValues[1], &storedSize));
    EXPECT_EQ(256u, storedSize);
    EXPECT_EQ(0, std::memcmp(table, back, sizeof table));
}

TEST_F(RegistryTest, BinaryLargerThanTheBufferFails) {
    store_.set(kParametersKey, "BT_1", kRegBinary, Bytes(85, 0x11));
    uint8_t buffer[84];
    EXPECT_EQ(0, panel_.readRegBinary(buffer, sizeof buffer, kParametersKey, "BT_1"));
}

TEST_F(RegistryTest, BinarySmallerThanTheBufferFitsAndReportsItsSize) {
    store_.set(kParametersKey, "BT_2", kRegBinary, Bytes(10, 0x22));
    uint8_t buffer[84];
    std::memset(buffer, 0, sizeof buffer);
    uint32_t storedSize = 0;

    EXPECT_EQ(1, panel_.readRegBinary(buffer, sizeof buffer, kParametersKey, "BT_2", &storedSize));
    EXPECT_EQ(10u, storedSize);
    for (int i = 0; i < 10; ++i) EXPECT_EQ(0x22, buffer[i]) << i;
}

TEST_F(RegistryTest, BinaryReadFailsForAMissingValueOrAnotherType) {
    store_.setString(kParametersKey, "Text", "abcd");
    store_.setDword(kParametersKey, "Number", 4);
    uint8_t buffer[16];
    EXPECT_EQ(0, panel_.readRegBinary(buffer, sizeof buffer, kParametersKey, "Text"));
    EXPECT_EQ(0, panel_.readRegBinary(buffer, sizeof buffer, kParametersKey, "Number"));
    EXPECT_EQ(0, panel_.readRegBinary(buffer, sizeof buffer, kParametersKey, "Missing"));
    EXPECT_EQ(0, panel_.readRegBinary(buffer, sizeof buffer, "SOFTWARE\\Nowhere", "Text"));
}

TEST_F(RegistryTest, BinaryReadOpensTheKeyWithFullAccessInBothPrograms) {
    store_.set(kPanelKey, joystickConfigurationName(0), kRegBinary, Bytes(112, 1));
    uint8_t buffer[112];
    EXPECT_EQ(1, panel_.readRegBinary(buffer, sizeof buffer, kPanelKey, joystickConfigurationName(0).c_str()));
    EXPECT_EQ(1, loader_.readRegBinary(buffer, sizeof buffer, kPanelKey, joystickConfigurationName(0).c_str()));
    const auto rights = takeOpens();
    ASSERT_FALSE(rights.empty());
    EXPECT_EQ(only(RegAccess::AllAccess, rights.size()), rights);
}

// ------------------------------------------------------------- string values

TEST_F(RegistryTest, StringIsStoredWithoutATerminatorAndReadsBack) {
    EXPECT_EQ(1, loader_.writeRegString(kPanelKey, kLaunchValue, "YES"));

    const auto* stored = store_.find(kPanelKey, "Launch");
    ASSERT_NE(nullptr, stored);
    EXPECT_EQ(kRegSz, stored->type);
    EXPECT_EQ((Bytes{'Y', 'E', 'S'}), stored->data);
    EXPECT_STREQ("YES", panel_.readRegString(kPanelKey, kLaunchValue));
    EXPECT_STREQ("YES", loader_.readRegString(kPanelKey, kLaunchValue));
    EXPECT_STREQ("YES", panel_.readRegStringQuery(kPanelKey, kLaunchValue));
    EXPECT_STREQ("YES", loader_.readRegStringQuery(kPanelKey, kLaunchValue));
}

TEST_F(RegistryTest, EmptyStringReadsBackEmpty) {
    EXPECT_EQ(1, panel_.writeRegString(kPanelKey, kLastOpenFileValue, ""));
    const auto* stored = store_.find(kPanelKey, kLastOpenFileValue);
    ASSERT_NE(nullptr, stored);
    EXPECT_TRUE(stored->data.empty());
    EXPECT_STREQ("", panel_.readRegString(kPanelKey, kLastOpenFileValue));
}

TEST_F(RegistryTest, ShortTextAfterALongerOneThroughTheSameReaderReadsWhole) {
    store_.setString(kPanelKey, "Long", "A MUCH LONGER TEXT THAN THREE LETTERS");
    store_.setString(kPanelKey, kLaunchValue, "YES");
    for (Registry* registry : {&panel_, &loader_}) {
        ASSERT_NE(nullptr, registry->readRegString(kPanelKey, "Long"));
        EXPECT_STREQ("YES", registry->readRegString(kPanelKey, kLaunchValue));
        ASSERT_NE(nullptr, registry->readRegStringQuery(kPanelKey, "Long"));
        EXPECT_STREQ("YES", registry->readRegStringQuery(kPanelKey, kLaunchValue));
    }
}

TEST_F(RegistryTest, DwordNamedTemporaryFileCountsAsMissingForTheStringReaders) {
    store_.setDword(kPanelKey, kTemporaryFileValue, 0x00414141);  // bytes "AAA\0"
    EXPECT_EQ(nullptr, panel_.readRegString(kPanelKey, kTemporaryFileValue));
    EXPECT_EQ(nullptr, loader_.readRegString(kPanelKey, kTemporaryFileValue));
    EXPECT_EQ(nullptr, panel_.readRegStringQuery(kPanelKey, kTemporaryFileValue));
    EXPECT_EQ(nullptr, loader_.readRegStringQuery(kPanelKey, kTemporaryFileValue));
}

TEST_F(RegistryTest, StringReadersGiveNothingForAMissingKeyOrValueOrABinaryValue) {
    store_.set(kPanelKey, kEmulationValue, kRegBinary, {'a', 'b', 0});
    for (Registry* registry : {&panel_, &loader_}) {
        EXPECT_EQ(nullptr, registry->readRegString(kPanelKey, kEmulationValue));
        EXPECT_EQ(nullptr, registry->readRegString(kPanelKey, kLastOpenFileValue));
        EXPECT_EQ(nullptr, registry->readRegString("SOFTWARE\\Nowhere", kLaunchValue));
        EXPECT_EQ(nullptr, registry->readRegStringQuery(kPanelKey, kEmulationValue));
        EXPECT_EQ(nullptr, registry->readRegStringQuery("SOFTWARE\\Nowhere", kLaunchValue));
    }
}

TEST_F(RegistryTest, ControlPanelStringReaderTakes255CharactersAndRefusesLonger) {
    const std::string longest(255, 'p');
    store_.setString(kPanelKey, "Fits", longest);
    store_.setString(kPanelKey, "TooLong", longest + "p");

    const char* fits = panel_.readRegString(kPanelKey, "Fits");
    ASSERT_NE(nullptr, fits);
    EXPECT_EQ(longest, std::string(fits));
    EXPECT_EQ(nullptr, panel_.readRegString(kPanelKey, "TooLong"));
    EXPECT_EQ(nullptr, panel_.readRegStringQuery(kPanelKey, "TooLong"));
}

TEST_F(RegistryTest, TrayLoaderStringReaderTakes259CharactersAndRefusesLonger) {
    const std::string longest(259, 'l');
    store_.setString(kPanelKey, "Fits", longest);
    store_.setString(kPanelKey, "TooLong", longest + "l");

    const char* fits = loader_.readRegString(kPanelKey, "Fits");
    ASSERT_NE(nullptr, fits);
    EXPECT_EQ(longest, std::string(fits));
    EXPECT_EQ(nullptr, loader_.readRegString(kPanelKey, "TooLong"));
    EXPECT_EQ(nullptr, loader_.readRegStringQuery(kPanelKey, "TooLong"));
    // The control panel's buffer is smaller.
    EXPECT_EQ(nullptr, panel_.readRegString(kPanelKey, "Fits"));
}

TEST_F(RegistryTest, StringStoredWithItsTerminatorMayFillTheBufferExactly) {
    std::vector<uint8_t> panelText(255, 'c');
    panelText.push_back(0);
    std::vector<uint8_t> loaderText(259, 'd');
    loaderText.push_back(0);
    store_.set(kPanelKey, "PanelFull", kRegSz, panelText);
    store_.set(kPanelKey, "LoaderFull", kRegSz, loaderText);

    const char* p = panel_.readRegString(kPanelKey, "PanelFull");
    ASSERT_NE(nullptr, p);
    EXPECT_EQ(std::string(255, 'c'), std::string(p));
    const char* l = loader_.readRegStringQuery(kPanelKey, "LoaderFull");
    ASSERT_NE(nullptr, l);
    EXPECT_EQ(std::string(259, 'd'), std::string(l));
}

TEST_F(RegistryTest, StringStoredWithItsTerminatorReadsAsTheText) {
    store_.set(kPanelKey, kLaunchValue, kRegSz, {'N', 'O', 0});
    EXPECT_STREQ("NO", panel_.readRegString(kPanelKey, kLaunchValue));
    EXPECT_STREQ("NO", loader_.readRegString(kPanelKey, kLaunchValue));
}

TEST_F(RegistryTest, ControlPanelStringReadersHaveABufferEach) {
    store_.setString(kPanelKey, kTemporaryFileValue, "C:\\TEMP\\TempoZNT.pst");
    store_.setString(kParametersKey, linkPedalsName(0), "NO");

    const char* path = panel_.readRegString(kPanelKey, kTemporaryFileValue);
    const char* pedals = panel_.readRegStringQuery(kParametersKey, linkPedalsName(0).c_str());

    ASSERT_NE(nullptr, path);
    ASSERT_NE(nullptr, pedals);
    EXPECT_STREQ("C:\\TEMP\\TempoZNT.pst", path);
    EXPECT_STREQ("NO", pedals);
}

TEST_F(RegistryTest, TrayLoaderStringReadersShareOneBuffer) {
    store_.setString(kPanelKey, kTemporaryFileValue, "C:\\TEMP\\TempoZNT.pst");
    store_.setString(kParametersKey, linkPedalsName(0), "NO");

    const char* path = loader_.readRegString(kPanelKey, kTemporaryFileValue);
    ASSERT_NE(nullptr, path);
    EXPECT_STREQ("C:\\TEMP\\TempoZNT.pst", path);
    const char* pedals = loader_.readRegStringQuery(kParametersKey, linkPedalsName(0).c_str());

    EXPECT_EQ(path, pedals);
    EXPECT_STREQ("NO", path);
}

TEST_F(RegistryTest, StringReadersOpenTheKeyWithTheirProgramsAccessRights) {
    store_.setString(kPanelKey, kLaunchValue, "YES");

    ASSERT_NE(nullptr, panel_.readRegString(kPanelKey, kLaunchValue));
    auto rights = takeOpens();
    ASSERT_FALSE(rights.empty());
    EXPECT_EQ(only(RegAccess::AllAccess, rights.size()), rights);

    ASSERT_NE(nullptr, loader_.readRegString(kPanelKey, kLaunchValue));
    rights = takeOpens();
    ASSERT_FALSE(rights.empty());
    EXPECT_EQ(only(RegAccess::Read, rights.size()), rights);

    for (Registry* registry : {&panel_, &loader_}) {
        ASSERT_NE(nullptr, registry->readRegStringQuery(kPanelKey, kLaunchValue));
        rights = takeOpens();
        ASSERT_FALSE(rights.empty());
        EXPECT_EQ(only(RegAccess::QueryValue, rights.size()), rights);
    }
}

// ------------------------------------------------------------------ writing

TEST_F(RegistryTest, WritesOpenTheKeyWithFullAccess) {
    const uint8_t data[3] = {1, 2, 3};
    EXPECT_EQ(1, panel_.writeRegDword(1, kPanelKey, kGameLaunchValue));
    EXPECT_EQ(1, panel_.writeRegBinary(data, sizeof data, kParametersKey, "BT_3"));
    EXPECT_EQ(1, loader_.writeRegString(kPanelKey, kLaunchValue, "NO"));
    const auto rights = takeOpens();
    ASSERT_FALSE(rights.empty());
    EXPECT_EQ(only(RegAccess::AllAccess, rights.size()), rights);
}

TEST_F(RegistryTest, WritingIntoAMissingKeyCreatesIt) {
    ASSERT_FALSE(store_.hasKey(kParametersKey));
    ASSERT_FALSE(store_.hasKey(kRunKey));

    EXPECT_EQ(1, panel_.writeRegString(kParametersKey, linkPedalsName(2).c_str(), "YES"));
    EXPECT_EQ(1, loader_.writeRegString(kRunKey, kRunValue, "C:\\WINDOWS\\SYSTEM32\\ZntUsb.exe /STARTUP"));

    EXPECT_TRUE(store_.hasKey(kParametersKey));
    EXPECT_TRUE(store_.hasKey(kRunKey));
    EXPECT_STREQ("YES", loader_.readRegStringQuery(kParametersKey, "Link_Pedals2"));
    EXPECT_STREQ("C:\\WINDOWS\\SYSTEM32\\ZntUsb.exe /STARTUP", loader_.readRegString(kRunKey, kRunValue));
}

TEST_F(RegistryTest, WritingReplacesTheValueAndItsType) {
    store_.setDword(kPanelKey, kTemporaryFileValue, 5);
    EXPECT_EQ(1, panel_.writeRegString(kPanelKey, kTemporaryFileValue, "C:\\T.pst"));
    EXPECT_STREQ("C:\\T.pst", panel_.readRegString(kPanelKey, kTemporaryFileValue));
    EXPECT_EQ(0u, panel_.readRegDword(kPanelKey, kTemporaryFileValue));
}

// ----------------------------------------------- keys without write rights

TEST_F(RegistryTest, KeyRefusingFullAccessFailsControlPanelReadsButNotTrayLoaderStringReads) {
    store_.setString(kPanelKey, kTemporaryFileValue, "C:\\TEMP\\TempoZNT.pst");
    store_.setDword(kPanelKey, kLastIndexValue, 4);
    store_.set(kPanelKey, joystickConfigurationName(1), kRegBinary, Bytes(112, 9));
    store_.makeReadOnly(kPanelKey);
    uint8_t buffer[112];

    EXPECT_EQ(nullptr, panel_.readRegString(kPanelKey, kTemporaryFileValue));
    EXPECT_EQ(0u, panel_.readRegDword(kPanelKey, kLastIndexValue));
    EXPECT_EQ(0, panel_.readRegBinary(buffer, sizeof buffer, kPanelKey, joystickConfigurationName(1).c_str()));
    EXPECT_EQ(0, loader_.readRegBinary(buffer, sizeof buffer, kPanelKey, joystickConfigurationName(1).c_str()));

    EXPECT_STREQ("C:\\TEMP\\TempoZNT.pst", loader_.readRegString(kPanelKey, kTemporaryFileValue));
    EXPECT_STREQ("C:\\TEMP\\TempoZNT.pst", panel_.readRegStringQuery(kPanelKey, kTemporaryFileValue));
}

TEST_F(RegistryTest, KeyRefusingFullAccessMakesWritesFail) {
    store_.setDword(kPanelKey, kLoaderWindowValue, 1);
    store_.makeReadOnly(kPanelKey);
    const uint8_t data[1] = {0};

    EXPECT_EQ(0, loader_.writeRegDword(0x5678, kPanelKey, kLoaderWindowValue));
    EXPECT_EQ(0, loader_.writeRegString(kPanelKey, kLaunchValue, "YES"));
    EXPECT_EQ(0, panel_.writeRegBinary(data, sizeof data, kPanelKey, "Joystick0Configuration"));
    EXPECT_EQ((Bytes{1, 0, 0, 0}), store_.find(kPanelKey, kLoaderWindowValue)->data);
    EXPECT_EQ(nullptr, store_.find(kPanelKey, kLaunchValue));
}

// -------------------------------------------------------------------- names

TEST(RegistryNames, NumberedNamesCarryTheNumberInDecimal) {
    EXPECT_EQ("Joystick3Configuration", joystickConfigurationName(3));
    EXPECT_EQ("Joystick12Configuration", joystickConfigurationName(12));
    EXPECT_EQ("Link_Pedals0", linkPedalsName(0));
    EXPECT_EQ("Link_Pedals15", linkPedalsName(15));
    EXPECT_EQ("0", driverEnumName(0));
    EXPECT_EQ("10", driverEnumName(10));
}

TEST(RegistryNames, ButtonEntriesAreNumberedFromOne) {
    EXPECT_EQ("BT_1", buttonEntryName(0));
    EXPECT_EQ("BT_2", buttonEntryName(1));
    EXPECT_EQ("BT_10", buttonEntryName(kStoredButtonEntries - 1));
}

TEST(RegistryNames, KeysAndValuesHaveTheirFixedTexts) {
    EXPECT_STREQ("SOFTWARE\\Morvenhollow Corporation\\Morvenhollow Wheel", kProductKey);
    EXPECT_STREQ("SOFTWARE\\Morvenhollow Corporation\\Morvenhollow Wheel\\Control Panel", kPanelKey);
    EXPECT_STREQ("SOFTWARE\\Morvenhollow Corporation\\Morvenhollow Wheel\\Selected Parameters", kParametersKey);
    EXPECT_STREQ("Software\\Microsoft\\Windows\\CurrentVersion\\Run", kRunKey);
    EXPECT_STREQ("System\\CurrentControlSet\\Services\\ZentraXP\\Enum", kDriverEnumKey);
    EXPECT_STREQ("System\\CurrentControlSet\\Control\\DeviceClasses\\{6DC8DB13-745F-451c-978F-0CAE798581CD}",
                 kDeviceClassKeys[0]);
    EXPECT_STREQ("System\\CurrentControlSet\\Control\\DeviceClasses\\{4d1e55b2-f16f-11cf-88cb-001111000030}",
                 kDeviceClassKeys[1]);
    EXPECT_STREQ("Launch", kLaunchValue);
    EXPECT_STREQ("TemporaryFile", kTemporaryFileValue);
    EXPECT_STREQ("HandleVedodUSB", kLoaderWindowValue);
    EXPECT_STREQ("LastIndice", kLastIndexValue);
    EXPECT_STREQ("Game Launch", kGameLaunchValue);
    EXPECT_STREQ("Emulation", kEmulationValue);
    EXPECT_STREQ("LastOpenFile", kLastOpenFileValue);
    EXPECT_STREQ("AxeX_SENS", kAxisTableValues[0]);
    EXPECT_STREQ("AxeY_SENS", kAxisTableValues[1]);
    EXPECT_STREQ("AxeZ_SENS", kAxisTableValues[2]);
    EXPECT_STREQ("Driver", kDriverValue);
    EXPECT_STREQ("VedodZNT", kRunValue);
    EXPECT_STREQ("SymLinkCpl", kSymLinkValue);
    EXPECT_STREQ("DeviceInstance", kDeviceInstanceValue);
    EXPECT_STREQ("ParentIdPrefix", kParentIdPrefixValue);
}

TEST(WindowsGeneration, NamesTheListedVersions) {
    EXPECT_STREQ("Windows 95", windowsGenerationName(false, 4, 0));
    EXPECT_STREQ("Windows 98", windowsGenerationName(false, 4, 10));
    EXPECT_STREQ("Windows ME", windowsGenerationName(false, 4, 90));
    EXPECT_STREQ("Windows 2000", windowsGenerationName(true, 5, 0));
    EXPECT_STREQ("Windows XP", windowsGenerationName(true, 5, 1));
    EXPECT_STREQ("Windows XP", windowsGenerationName(true, 5, 2));
}

TEST(WindowsGeneration, GivesNothingForOtherVersions) {
    EXPECT_EQ(nullptr, windowsGenerationName(false, 4, 3));
    EXPECT_EQ(nullptr, windowsGenerationName(false, 5, 0));
    EXPECT_EQ(nullptr, windowsGenerationName(false, 3, 10));
    EXPECT_EQ(nullptr, windowsGenerationName(true, 4, 0));
    EXPECT_EQ(nullptr, windowsGenerationName(true, 3, 51));
    EXPECT_EQ(nullptr, windowsGenerationName(true, 6, 1));
    EXPECT_EQ(nullptr, windowsGenerationName(true, 10, 0));
}

}  // namespace
}  // namespace zentra

// Finding and opening the wheel's links: the two forms of a link name, the
// control panel's two discovery schemes with every way they end, and the
// tray loader's emulation link and start-up walk over the driver's wheels.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "driver/discovery.h"
#include "driver_test_support.h"
#include "preset/registry_store_memory.h"

namespace zentra {
namespace {

using test::Bytes;
using test::FixedDevicePath;
using test::patternedRecord;
using test::RecordingHost;
using test::sentBlocks;
using test::slice;
using test::u32At;

using Events = std::vector<std::string>;

const std::string kClassKey = kDeviceClassKeys[0];
const std::string kHidClassKey = kDeviceClassKeys[1];

// The wheel whose page is open, in its three forms.
const wchar_t kHidPath[] = L"\\\\?\\hid#vid_1d5a&pid_0207#7&2f4a1d6&0&0000#{4d1e55b2-f16f-11cf-88cb-001111000030}";
const char kLinkName[] = "\\\\.\\Vid_1d5a&Pid_0207#6&1f2e3d4c&0&1";
const char kEnumName[] = "USB\\Vid_1d5a&Pid_0207\\6&1f2e3d4c&0&1";
// Another wheel of the same kind.
const char kOtherLinkName[] = "\\\\.\\Vid_1d5a&Pid_0207#6&1f2e3d4c&0&2";
const char kOtherEnumName[] = "USB\\Vid_1d5a&Pid_0207\\6&1f2e3d4c&0&2";

// Subkey names of the driver's interface class, in enumeration order.
std::string classSubkey(const std::string& tag) {
    return "##?#USB#Vid_1d5a&Pid_0207#" + tag + "#{6dc8db13-745f-451c-978f-0cae798581cd}";
}

std::string parametersKey(const std::string& subkey) { return kClassKey + "\\" + subkey + "\\#\\Device Parameters"; }

class DiscoveryTest : public ::testing::Test {
protected:
    void SetUp() override { path_.path = kHidPath; }

    DeviceLink discover(int osLevel) {
        DeviceLink link;
        link.linkHandle = 0x5A5A;
        link.deviceNumber = -7;
        link.isEmulationDevice = 0x5A;
        DiscoveryContext ctx{panel_, io_, host_, path_};
        openDeviceLink(link, osLevel, ctx);
        return link;
    }

    // A class entry as the driver publishes it on Windows 2000 and XP; a
    // null text leaves that value out.
    void addPrefixEntry(const std::string& tag, const char* prefix, const char* symLink) {
        const std::string key = parametersKey(classSubkey(tag));
        store_.setString(key, "Service", "ZentraXP");
        if (prefix) store_.setString(key, kParentIdPrefixValue, prefix);
        if (symLink) store_.setString(key, kSymLinkValue, symLink);
    }

    void addEnum(int index, const std::string& entry) { store_.setString(kDriverEnumKey, std::to_string(index), entry); }

    // The names the device link was asked to open, in order.
    std::vector<std::string> openedNames() const {
        std::vector<std::string> names;
        for (const auto& open : io_.opens) names.push_back(open.name);
        return names;
    }

    MemoryRegistryStore store_;
    Registry panel_{store_, Deliverable::Panel};
    Registry loader_{store_, Deliverable::Loader};
    MemoryDeviceIo io_;
    RecordingHost host_;
    FixedDevicePath path_;
};

// ============================================================ link names

TEST(LinkNames, EnumEntryBecomesTheLinkNameAtCharactersZeroToTwoAndTwentyOne) {
    EXPECT_EQ(kLinkName, enumToLinkName(kEnumName));
    EXPECT_EQ(kEnumName, linkToEnumName(kLinkName));
}

TEST(LinkNames, ConversionGoesByPositionNotBySearchingForSeparators) {
    // An eighteen-character vendor-and-product part: character 21 is its last
    // digit, and the separator after it stays.
    EXPECT_EQ("\\\\.\\Vid_1d5a&Pid_0207#\\inst", enumToLinkName("USB\\Vid_1d5a&Pid_02070\\inst"));
    EXPECT_EQ("USB\\Vid_1d5a&Pid_0207\\#inst", linkToEnumName("\\\\.\\Vid_1d5a&Pid_02070#inst"));
    // Whatever stands at those positions is replaced.
    EXPECT_EQ("\\\\.XVid_1d5a&Pid_0207#rest", enumToLinkName("abcXVid_1d5a&Pid_0207Yrest"));
}

TEST(LinkNames, InstanceTextIsKeptAsItIs) {
    EXPECT_EQ("\\\\.\\Vid_1d5a&Pid_0207#a\\b#c", enumToLinkName("USB\\Vid_1d5a&Pid_0207\\a\\b#c"));
}

// ========================================== common first step of both schemes

TEST_F(DiscoveryTest, WithoutTheDevicePathBothSchemesSayLinkNotFoundAndEndWithCodeZero) {
    path_.available = false;
    addPrefixEntry("A", "7&2f4a1d6&0", kLinkName);
    io_.devices.insert(kLinkName);
    for (int osLevel : {0, 3}) {
        host_.events.clear();
        discover(osLevel);
        EXPECT_EQ((Events{"box:LINK NOT FOUND", "exit:0"}), host_.events) << osLevel;
    }
    EXPECT_TRUE(io_.opens.empty());
}

// ===================================================== parent-prefix scheme

class ParentPrefixTest : public DiscoveryTest {
protected:
    static constexpr int kXp = 4;
};

TEST_F(ParentPrefixTest, PrefixContainedInTheHidInstanceFindsTheWheel) {
    addPrefixEntry("A", "7&2f4a1d6&0", kLinkName);
    addEnum(0, kEnumName);
    io_.devices.insert(kLinkName);

    const DeviceLink link = discover(kXp);

    EXPECT_TRUE(host_.events.empty());
    EXPECT_NE(0u, link.linkHandle);
    EXPECT_EQ(kLinkName, io_.openLinks[link.linkHandle]);
    ASSERT_EQ(1u, io_.opens.size());
    EXPECT_EQ(LinkOpenMode::Panel, io_.opens[0].mode);
    EXPECT_EQ(0, link.deviceNumber);
    EXPECT_EQ(0u, link.isEmulationDevice);
}

TEST_F(ParentPrefixTest, PrefixAnywhereInsideTheInstanceMatches) {
    addPrefixEntry("A", "2f4a1d6&0&00", kLinkName);
    addEnum(0, kEnumName);
    io_.devices.insert(kLinkName);
    EXPECT_NE(0u, discover(kXp).linkHandle);
    EXPECT_TRUE(host_.events.empty());
}

TEST_F(ParentPrefixTest, FirstMatchingSubkeyInEnumerationOrderWins) {
    // Written in the other order: the registry enumerates by name.
    addPrefixEntry("C", "7&2f4a1d6&0", kLinkName);
    addPrefixEntry("B", "7&2f4a1d6", kOtherLinkName);
    addPrefixEntry("A", "8&11111&0", "\\\\.\\Vid_1d5a&Pid_0207#8&11111&0&1");
    addEnum(0, kEnumName);
    addEnum(1, kOtherEnumName);
    io_.devices = {kLinkName, kOtherLinkName, "\\\\.\\Vid_1d5a&Pid_0207#8&11111&0&1"};

    const DeviceLink link = discover(kXp);

    EXPECT_TRUE(host_.events.empty());
    EXPECT_EQ((std::vector<std::string>{kOtherLinkName}), openedNames());
    EXPECT_EQ(1, link.deviceNumber);
}

TEST_F(ParentPrefixTest, InstanceInsideALongerPrefixIsNoMatch) {
    addPrefixEntry("A", "7&2f4a1d6&0&0000&1", kLinkName);
    addEnum(0, kEnumName);
    io_.devices.insert(kLinkName);
    EXPECT_EQ(0u, discover(kXp).linkHandle);
    EXPECT_TRUE(io_.opens.empty());
    EXPECT_TRUE(host_.events.empty());
}

TEST_F(ParentPrefixTest, NoMatchingSubkeyLeavesNoLinkAndTheProcessRunning) {
    addPrefixEntry("A", "8&11111&0", kLinkName);
    addPrefixEntry("B", "9&22222&0", kOtherLinkName);
    io_.devices = {kLinkName, kOtherLinkName};
    EXPECT_EQ(0u, discover(kXp).linkHandle);
    EXPECT_TRUE(io_.opens.empty());
    EXPECT_TRUE(host_.events.empty());
}

TEST_F(ParentPrefixTest, ClassKeyWithoutSubkeysLeavesNoLinkAndTheProcessRunning) {
    store_.setString(kClassKey, "Other", "x");
    EXPECT_EQ(0u, discover(kXp).linkHandle);
    EXPECT_TRUE(host_.events.empty());
}

TEST_F(ParentPrefixTest, EnumEntryEqualToTheConvertedLinkNameGivesTheWheelsNumber) {
    addPrefixEntry("A", "7&2f4a1d6&0", kLinkName);
    addEnum(0, kOtherEnumName);
    addEnum(1, kEnumName);
    io_.devices.insert(kLinkName);
    EXPECT_EQ(1, discover(kXp).deviceNumber);
    EXPECT_TRUE(host_.events.empty());
}

TEST_F(ParentPrefixTest, EmulationHoldingExactlyTheLinkNameMakesThisTheEmulationWheel) {
    addPrefixEntry("A", "7&2f4a1d6&0", kLinkName);
    addEnum(0, kEnumName);
    io_.devices.insert(kLinkName);
    store_.setString(kPanelKey, kEmulationValue, kLinkName);
    EXPECT_EQ(1u, discover(kXp).isEmulationDevice);
}

TEST_F(ParentPrefixTest, EmulationInOtherLetterCaseOrAnotherNameOrMissingIsNotThisWheel) {
    addPrefixEntry("A", "7&2f4a1d6&0", kLinkName);
    addEnum(0, kEnumName);
    io_.devices.insert(kLinkName);
    for (const char* emulation : {"\\\\.\\VID_1D5A&PID_0207#6&1F2E3D4C&0&1", kOtherLinkName}) {
        store_.setString(kPanelKey, kEmulationValue, emulation);
        EXPECT_EQ(0u, discover(kXp).isEmulationDevice) << emulation;
    }
    store_.deleteValue(kPanelKey, kEmulationValue);
    EXPECT_EQ(0u, discover(kXp).isEmulationDevice);
    EXPECT_TRUE(host_.events.empty());
}

TEST_F(ParentPrefixTest, MissingClassKeyIsARegistryErrorEndingWithCodeZero) {
    discover(kXp);
    EXPECT_EQ((Events{"box:REGISTRY ERROR", "exit:0"}), host_.events);
}

TEST_F(ParentPrefixTest, SubkeyWithoutParentIdPrefixAsksForAReplugAndEndsWith71) {
    addPrefixEntry("A", nullptr, kOtherLinkName);
    addPrefixEntry("B", "7&2f4a1d6&0", kLinkName);
    addEnum(0, kEnumName);
    io_.devices = {kLinkName, kOtherLinkName};
    discover(kXp);
    EXPECT_EQ((Events{"box:LINK NOT FOUND, UNPLUG AND REPLUG DEVICE", "exit:71"}), host_.events);
    EXPECT_TRUE(io_.opens.empty());
}

TEST_F(ParentPrefixTest, SubkeyWithoutParentIdPrefixAfterTheMatchIsNeverRead) {
    addPrefixEntry("A", "7&2f4a1d6&0", kLinkName);
    addPrefixEntry("B", nullptr, kOtherLinkName);
    addEnum(0, kEnumName);
    io_.devices.insert(kLinkName);
    EXPECT_NE(0u, discover(kXp).linkHandle);
    EXPECT_TRUE(host_.events.empty());
}

TEST_F(ParentPrefixTest, MatchWithoutSymLinkEndsWith69WithoutAMessage) {
    addPrefixEntry("A", "7&2f4a1d6&0", nullptr);
    addEnum(0, kEnumName);
    discover(kXp);
    EXPECT_EQ((Events{"exit:69"}), host_.events);
    EXPECT_TRUE(io_.opens.empty());
}

TEST_F(ParentPrefixTest, LinkThatDoesNotOpenEndsWith70WithoutAMessage) {
    addPrefixEntry("A", "7&2f4a1d6&0", kLinkName);
    addEnum(0, kEnumName);
    discover(kXp);
    EXPECT_EQ((Events{"exit:70"}), host_.events);
    EXPECT_EQ((std::vector<std::string>{kLinkName}), openedNames());
}

TEST_F(ParentPrefixTest, NoEnumEntryEqualToTheLinkEndsWith72WithoutAMessage) {
    addPrefixEntry("A", "7&2f4a1d6&0", kLinkName);
    addEnum(0, kOtherEnumName);
    addEnum(1, kLinkName);  // the link name itself is not the Enum form
    addEnum(3, kEnumName);  // after the gap: never read
    io_.devices.insert(kLinkName);
    discover(kXp);
    EXPECT_EQ((Events{"exit:72"}), host_.events);
}

TEST_F(ParentPrefixTest, MissingEnumKeyEndsWith72) {
    addPrefixEntry("A", "7&2f4a1d6&0", kLinkName);
    io_.devices.insert(kLinkName);
    discover(kXp);
    EXPECT_EQ((Events{"exit:72"}), host_.events);
}

TEST_F(ParentPrefixTest, EveryNtLevelUsesThisScheme) {
    addPrefixEntry("A", "7&2f4a1d6&0", kLinkName);
    addEnum(0, kEnumName);
    io_.devices.insert(kLinkName);
    for (int osLevel : {3, 4, 5}) {
        EXPECT_NE(0u, discover(osLevel).linkHandle) << osLevel;
    }
    EXPECT_TRUE(host_.events.empty());
}

// ========================================================= HID-class scheme

class HidClassTest : public DiscoveryTest {
protected:
    static constexpr int kMe = 2;
    // The HID class keeps the device under its path with characters 0, 1
    // and 3 turned into '#'.
    const std::string hidEntryKey_ =
        kHidClassKey + "\\##?#hid#vid_1d5a&pid_0207#7&2f4a1d6&0&0000#{4d1e55b2-f16f-11cf-88cb-001111000030}";

    void setHidInstance(const std::string& instance) { store_.setString(hidEntryKey_, kDeviceInstanceValue, instance); }

    // A class entry as the driver publishes it on Windows 95, 98 and ME.
    void addInstanceEntry(const std::string& tag, const char* instance, const char* symLink) {
        const std::string subkey = kClassKey + "\\" + classSubkey(tag);
        store_.setString(subkey, "Service", "ZentraXP");
        if (instance) store_.setString(subkey, kDeviceInstanceValue, instance);
        store_.setString(subkey + "\\#\\Device Parameters", "Service", "ZentraXP");
        if (symLink) store_.setString(subkey + "\\#\\Device Parameters", kSymLinkValue, symLink);
    }

    // The usual wheel: the HID entry's instance names the USB device with
    // '#' separators; the class entry holds it with '\'.
    void addWheel() {
        setHidInstance("HID\\USB#Vid_1d5a&Pid_0207#INST_12&Col01");
        addInstanceEntry("A", "USB\\Vid_1d5a&Pid_0207\\INST_12", kLinkName);
        io_.devices.insert(kLinkName);
        store_.setString(kPanelKey, kEmulationValue, kOtherLinkName);
    }
};

TEST_F(HidClassTest, ClassEntryWhoseInstanceLiesInTheUsbPathFindsTheWheel) {
    addWheel();
    const DeviceLink link = discover(kMe);
    EXPECT_TRUE(host_.events.empty());
    EXPECT_NE(0u, link.linkHandle);
    ASSERT_EQ((std::vector<std::string>{kLinkName}), openedNames());
    EXPECT_EQ(LinkOpenMode::Panel, io_.opens[0].mode);
    EXPECT_EQ(12, link.deviceNumber);
    EXPECT_EQ(0u, link.isEmulationDevice);
}

TEST_F(HidClassTest, EveryNineXLevelUsesThisScheme) {
    addWheel();
    for (int osLevel : {0, 1, 2}) EXPECT_EQ(12, discover(osLevel).deviceNumber) << osLevel;
    EXPECT_TRUE(host_.events.empty());
}

TEST_F(HidClassTest, PartOfTheUsbPathIsEnoughToMatch) {
    setHidInstance("HID\\USB#Vid_1d5a&Pid_0207#INST_12&Col01");
    addInstanceEntry("A", "Pid_0207\\INST_1", kLinkName);
    io_.devices.insert(kLinkName);
    store_.setString(kPanelKey, kEmulationValue, kLinkName);
    EXPECT_NE(0u, discover(kMe).linkHandle);
    EXPECT_TRUE(host_.events.empty());
}

TEST_F(HidClassTest, UsbPathStartsAtTheFirstCapitalUSOrB) {
    // Lower-case letters before it do not count.
    setHidInstance("hid_usb\\USB#Vid_1d5a&Pid_0207#INST_12&Col01");
    addInstanceEntry("A", "USB\\Vid_1d5a&Pid_0207\\INST_12", kLinkName);
    io_.devices.insert(kLinkName);
    store_.setString(kPanelKey, kEmulationValue, kLinkName);
    const DeviceLink link = discover(kMe);
    EXPECT_NE(0u, link.linkHandle);
    EXPECT_EQ(12, link.deviceNumber);
}

TEST_F(HidClassTest, FirstMatchingSubkeyInEnumerationOrderWins) {
    setHidInstance("HID\\USB#Vid_1d5a&Pid_0207#INST_12&Col01");
    addInstanceEntry("C", "USB\\Vid_1d5a&Pid_0207\\INST_12", kLinkName);
    addInstanceEntry("B", "Vid_1d5a&Pid_0207", kOtherLinkName);
    addInstanceEntry("A", "USB\\Vid_1d5a&Pid_0207\\INST_3", "\\\\.\\nowhere");
    io_.devices = {kLinkName, kOtherLinkName};
    store_.setString(kPanelKey, kEmulationValue, kLinkName);
    discover(kMe);
    EXPECT_EQ((std::vector<std::string>{kOtherLinkName}), openedNames());
    EXPECT_TRUE(host_.events.empty());
}

// The digits after the first "INST_", up to the first other character; a
// number no wheel can have (past 2^31 - 1) gives 0, as no number does.
TEST_F(HidClassTest, WheelNumberIsTheBoundedNumberAfterTheFirstInst) {
    const struct {
        const char* instance;
        int32_t number;
    } cases[] = {{"INST_7INST_9", 7},          {"INST_0042&Col01", 42}, {"INST_2147483647", 2147483647},
                 {"INST_2147483648", 0},       {"INST_99999999999", 0}, {"INST_99999999999999999999999", 0},
                 {"INST_&7", 0},               {"INST_-3", 0}};
    addInstanceEntry("A", "USB\\Vid_1d5a&Pid_0207\\INST_", kLinkName);
    io_.devices.insert(kLinkName);
    store_.setString(kPanelKey, kEmulationValue, kLinkName);
    for (const auto& c : cases) {
        setHidInstance(std::string("HID\\USB#Vid_1d5a&Pid_0207#") + c.instance);
        const DeviceLink link = discover(kMe);
        EXPECT_NE(0u, link.linkHandle) << c.instance;
        EXPECT_EQ(c.number, link.deviceNumber) << c.instance;
    }
}

TEST_F(HidClassTest, UsbPathWithoutInstGivesWheelNumberZero) {
    setHidInstance("HID\\USB#Vid_1d5a&Pid_0207#8&1a2b&0&1");
    addInstanceEntry("A", "USB\\Vid_1d5a&Pid_0207\\8&1a2b", kLinkName);
    io_.devices.insert(kLinkName);
    store_.setString(kPanelKey, kEmulationValue, kLinkName);
    const DeviceLink link = discover(kMe);
    EXPECT_NE(0u, link.linkHandle);
    EXPECT_EQ(0, link.deviceNumber);
    EXPECT_TRUE(host_.events.empty());
}

TEST_F(HidClassTest, EmulationHoldingExactlyTheLinkNameMakesThisTheEmulationWheel) {
    addWheel();
    store_.setString(kPanelKey, kEmulationValue, kLinkName);
    EXPECT_EQ(1u, discover(kMe).isEmulationDevice);
}

TEST_F(HidClassTest, EmulationInOtherLetterCaseIsNotThisWheel) {
    addWheel();
    store_.setString(kPanelKey, kEmulationValue, "\\\\.\\vid_1d5a&pid_0207#6&1f2e3d4c&0&1");
    EXPECT_EQ(0u, discover(kMe).isEmulationDevice);
    EXPECT_TRUE(host_.events.empty());
}

TEST_F(HidClassTest, MissingEmulationEndsWith73WithoutAMessage) {
    addWheel();
    store_.deleteValue(kPanelKey, kEmulationValue);
    discover(kMe);
    EXPECT_EQ((Events{"exit:73"}), host_.events);
}

TEST_F(HidClassTest, HidEntryWithoutDeviceInstanceMatchesNoClassEntry) {
    addWheel();
    store_.deleteValue(hidEntryKey_, kDeviceInstanceValue);
    EXPECT_EQ(0u, discover(kMe).linkHandle);
    EXPECT_TRUE(io_.opens.empty());
    EXPECT_TRUE(host_.events.empty());
}

TEST_F(HidClassTest, NoMatchingSubkeyLeavesNoLinkAndTheProcessRunning) {
    setHidInstance("HID\\USB#Vid_1d5a&Pid_0207#INST_12&Col01");
    addInstanceEntry("A", "USB\\Vid_1d5a&Pid_0207\\INST_3", kLinkName);
    io_.devices.insert(kLinkName);
    store_.setString(kPanelKey, kEmulationValue, kLinkName);
    EXPECT_EQ(0u, discover(kMe).linkHandle);
    EXPECT_TRUE(io_.opens.empty());
    EXPECT_TRUE(host_.events.empty());
}

TEST_F(HidClassTest, MissingClassKeyIsARegistryErrorEndingWithCodeZero) {
    setHidInstance("HID\\USB#Vid_1d5a&Pid_0207#INST_12&Col01");
    discover(kMe);
    EXPECT_EQ((Events{"box:REGISTRY ERROR", "exit:0"}), host_.events);
}

TEST_F(HidClassTest, ClassEntryWithoutDeviceInstanceEndsWith71WithoutAMessage) {
    addWheel();
    addInstanceEntry("0", nullptr, kOtherLinkName);
    discover(kMe);
    EXPECT_EQ((Events{"exit:71"}), host_.events);
    EXPECT_TRUE(io_.opens.empty());
}

TEST_F(HidClassTest, MatchWithoutSymLinkEndsWith69WithoutAMessage) {
    setHidInstance("HID\\USB#Vid_1d5a&Pid_0207#INST_12&Col01");
    addInstanceEntry("A", "USB\\Vid_1d5a&Pid_0207\\INST_12", nullptr);
    store_.setString(kPanelKey, kEmulationValue, kLinkName);
    discover(kMe);
    EXPECT_EQ((Events{"exit:69"}), host_.events);
}

TEST_F(HidClassTest, LinkThatDoesNotOpenEndsWith70WithoutAMessage) {
    addWheel();
    io_.devices.clear();
    discover(kMe);
    EXPECT_EQ((Events{"exit:70"}), host_.events);
}

// ================================================== tray loader: emulation link

class EmulationLinkTest : public DiscoveryTest {
protected:
    LoaderWheel wheel_{};
};

TEST_F(EmulationLinkTest, OpensTheNameHeldInEmulationInTheLoadersMode) {
    store_.setString(kPanelKey, kEmulationValue, kLinkName);
    io_.devices.insert(kLinkName);
    EXPECT_EQ(1, openEmulationLink(wheel_, loader_, io_));
    EXPECT_NE(0u, wheel_.emulationLink);
    EXPECT_EQ(kLinkName, io_.openLinks[wheel_.emulationLink]);
    ASSERT_EQ(1u, io_.opens.size());
    EXPECT_EQ(LinkOpenMode::Loader, io_.opens[0].mode);
}

TEST_F(EmulationLinkTest, MissingEmulationValueOpensNothing) {
    io_.devices.insert(kLinkName);
    EXPECT_EQ(0, openEmulationLink(wheel_, loader_, io_));
    EXPECT_EQ(0u, wheel_.emulationLink);
    EXPECT_TRUE(io_.opens.empty());
}

TEST_F(EmulationLinkTest, LinkThatDoesNotOpenLeavesNoLink) {
    store_.setString(kPanelKey, kEmulationValue, kLinkName);
    EXPECT_EQ(0, openEmulationLink(wheel_, loader_, io_));
    EXPECT_EQ(0u, wheel_.emulationLink);
    EXPECT_EQ((std::vector<std::string>{kLinkName}), openedNames());
}

TEST_F(EmulationLinkTest, LinkStillOpenIsClosedBeforeItOpensAgain) {
    store_.setString(kPanelKey, kEmulationValue, kLinkName);
    io_.devices.insert(kLinkName);
    ASSERT_EQ(1, openEmulationLink(wheel_, loader_, io_));
    const LinkHandle first = wheel_.emulationLink;

    EXPECT_EQ(1, openEmulationLink(wheel_, loader_, io_));
    EXPECT_EQ((std::vector<std::string>{kLinkName}), io_.closes);
    EXPECT_EQ(0u, io_.openLinks.count(first));
    EXPECT_EQ(1u, io_.openLinks.size());
    EXPECT_EQ(kLinkName, io_.openLinks[wheel_.emulationLink]);
}

TEST_F(EmulationLinkTest, LinkStillOpenIsClosedEvenWhenTheNewOneFails) {
    store_.setString(kPanelKey, kEmulationValue, kLinkName);
    io_.devices.insert(kLinkName);
    ASSERT_EQ(1, openEmulationLink(wheel_, loader_, io_));
    store_.deleteValue(kPanelKey, kEmulationValue);

    EXPECT_EQ(0, openEmulationLink(wheel_, loader_, io_));
    EXPECT_EQ(0u, wheel_.emulationLink);
    EXPECT_TRUE(io_.openLinks.empty());
}

TEST_F(EmulationLinkTest, NameOf103CharactersOpensAndALongerOneIsRefused) {
    const std::string longest = "\\\\.\\Vid_1d5a&Pid_0207#" + std::string(103 - 22, 'x');
    ASSERT_EQ(103u, longest.size());
    io_.devices = {longest, longest + "x"};

    store_.setString(kPanelKey, kEmulationValue, longest);
    EXPECT_EQ(1, openEmulationLink(wheel_, loader_, io_));

    store_.setString(kPanelKey, kEmulationValue, longest + "x");
    EXPECT_EQ(0, openEmulationLink(wheel_, loader_, io_));
    EXPECT_EQ(0u, wheel_.emulationLink);
    EXPECT_EQ((std::vector<std::string>{longest}), openedNames());
}

TEST_F(EmulationLinkTest, PanelKeyWithoutWriteRightsStillGivesTheName) {
    store_.setString(kPanelKey, kEmulationValue, kLinkName);
    store_.makeReadOnly(kPanelKey);
    io_.devices.insert(kLinkName);
    EXPECT_EQ(1, openEmulationLink(wheel_, loader_, io_));
}

TEST_F(EmulationLinkTest, CloseClosesTheLinkOnceAndForgetsIt) {
    store_.setString(kPanelKey, kEmulationValue, kLinkName);
    io_.devices.insert(kLinkName);
    ASSERT_EQ(1, openEmulationLink(wheel_, loader_, io_));

    closeEmulationLink(wheel_, io_);
    EXPECT_EQ(0u, wheel_.emulationLink);
    closeEmulationLink(wheel_, io_);
    EXPECT_EQ((std::vector<std::string>{kLinkName}), io_.closes);
    EXPECT_TRUE(io_.openLinks.empty());
}

// ============================================= tray loader: start-up walk

class StartupWalkTest : public DiscoveryTest {
protected:
    // The link, code and mode of every block sent, in order.
    std::vector<std::string> sends() const {
        std::vector<std::string> out;
        for (const auto& call : io_.calls)
            out.push_back(call.link + " " + std::to_string(call.code) + " mode " + std::to_string(u32At(call.input, 0)));
        return out;
    }
    static std::string send(const std::string& link, uint32_t mode) {
        return link + " " + std::to_string(kCodeParameterBlock) + " mode " + std::to_string(mode);
    }

    LoaderWheel wheel_{};
};

TEST_F(StartupWalkTest, EachWheelGetsModeOneThenModeThreeAndTheWalkEndsAtTheFirstMissingEntry) {
    addEnum(0, kEnumName);
    addEnum(1, kOtherEnumName);
    io_.devices = {kLinkName, kOtherLinkName};

    EXPECT_EQ(1, openWheelLinksAtStartup(wheel_, loader_, io_));

    EXPECT_EQ((std::vector<std::string>{send(kLinkName, 1), send(kLinkName, 3), send(kOtherLinkName, 1),
                                        send(kOtherLinkName, 3)}),
              sends());
    EXPECT_EQ((std::vector<std::string>{kLinkName, kOtherLinkName}), openedNames());
    for (const auto& open : io_.opens) EXPECT_EQ(LinkOpenMode::Loader, open.mode);
}

TEST_F(StartupWalkTest, EachWheelsLinkIsClosedAfterItsTwoSends) {
    addEnum(0, kEnumName);
    addEnum(1, kOtherEnumName);
    io_.devices = {kLinkName, kOtherLinkName};
    openWheelLinksAtStartup(wheel_, loader_, io_);
    EXPECT_EQ((std::vector<std::string>{kLinkName, kOtherLinkName}), io_.closes);
    EXPECT_TRUE(io_.openLinks.empty());
}

TEST_F(StartupWalkTest, SecondLinkThatDoesNotOpenStopsTheWalkAfterWheelZerosTwoSends) {
    addEnum(0, kEnumName);
    addEnum(1, kOtherEnumName);
    addEnum(2, "USB\\Vid_1d5a&Pid_0207\\6&1f2e3d4c&0&3");
    io_.devices = {kLinkName, "\\\\.\\Vid_1d5a&Pid_0207#6&1f2e3d4c&0&3"};
    store_.setString(kParametersKey, "Link_Pedals0", "YES");

    EXPECT_EQ(0, openWheelLinksAtStartup(wheel_, loader_, io_));

    EXPECT_EQ((std::vector<std::string>{send(kLinkName, 1), send(kLinkName, 3)}), sends());
    EXPECT_EQ((std::vector<std::string>{kLinkName, kOtherLinkName}), openedNames());
    const auto blocks = sentBlocks(io_);
    ASSERT_EQ(2u, blocks.size());
    EXPECT_EQ(slice(blocks[0], 4, blocks[0].size() - 4), slice(blocks[1], 4, blocks[1].size() - 4));
    EXPECT_EQ(1, blocks[0][2536]);
}

TEST_F(StartupWalkTest, FirstLinkThatDoesNotOpenSendsNothing) {
    addEnum(0, kEnumName);
    EXPECT_EQ(0, openWheelLinksAtStartup(wheel_, loader_, io_));
    EXPECT_TRUE(io_.calls.empty());
}

TEST_F(StartupWalkTest, NoEnumEntriesMeansNothingToDoAndSuccess) {
    EXPECT_EQ(1, openWheelLinksAtStartup(wheel_, loader_, io_));
    EXPECT_TRUE(io_.opens.empty());
    store_.setString(kDriverEnumKey, "Count", "0");
    EXPECT_EQ(1, openWheelLinksAtStartup(wheel_, loader_, io_));
    EXPECT_TRUE(io_.opens.empty());
}

TEST_F(StartupWalkTest, GapInTheNumbersEndsTheWalk) {
    addEnum(0, kEnumName);
    addEnum(2, kOtherEnumName);
    io_.devices = {kLinkName, kOtherLinkName};
    EXPECT_EQ(1, openWheelLinksAtStartup(wheel_, loader_, io_));
    EXPECT_EQ((std::vector<std::string>{kLinkName}), openedNames());
}

TEST_F(StartupWalkTest, EachWheelGetsTheValuesStoredUnderItsOwnNumber) {
    addEnum(0, kEnumName);
    addEnum(1, kOtherEnumName);
    io_.devices = {kLinkName, kOtherLinkName};
    store_.setString(kParametersKey, "Link_Pedals0", "YES");
    store_.setString(kParametersKey, "Link_Pedals1", "NO");
    const Bytes record = patternedRecord();
    store_.set(kPanelKey, "Joystick1Configuration", kRegBinary, record);

    openWheelLinksAtStartup(wheel_, loader_, io_);

    const auto blocks = sentBlocks(io_);
    ASSERT_EQ(4u, blocks.size());
    for (int i : {0, 1}) {
        EXPECT_EQ(1, blocks[i][2536]) << i;
        EXPECT_EQ(Bytes(112, 0), slice(blocks[i], 2540, 112)) << i;
    }
    for (int i : {2, 3}) {
        EXPECT_EQ(0, blocks[i][2536]) << i;
        EXPECT_EQ(Bytes(record.begin(), record.begin() + 111), slice(blocks[i], 2540, 111)) << i;
    }
}

}  // namespace
}  // namespace zentra

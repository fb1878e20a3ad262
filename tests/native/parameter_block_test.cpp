// The parameter block and the calls that carry it: the block's layout, the
// control-code wrappers, the control panel's hardware configuration, the
// three ways a block is built and sent, and the registry copy that links the
// control panel's upload to the tray loader's start-up upload.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <string>
#include <vector>

#include "driver/key_translation.h"
#include "driver/upload.h"
#include "driver_test_support.h"
#include "preset/registry_store_memory.h"
#include "preset_test_support.h"

namespace zentra {
namespace {

using test::Bytes;
using test::entryBytes;
using test::ints;
using test::kBlockSize;
using test::kEntriesAt;
using test::kEntrySize;
using test::kHardwareAt;
using test::kPedalsAt;
using test::kXAt;
using test::kYAt;
using test::kZAt;
using test::patternedRecord;
using test::putU32;
using test::RecordingHost;
using test::sentBlocks;
using test::slice;
using test::tableBytes;
using test::u16At;
using test::u32At;

const char kPanelLinkName[] = "\\\\.\\Vid_1d5a&Pid_0207#6&1f2e3d4c&0&1";
const char kWheelLinkName[] = "\\\\.\\Vid_1d5a&Pid_0207#6&1f2e3d4c&0&2";

Preset defaultPreset() {
    Preset p{};
    resetPreset(p, Deliverable::Panel);
    return p;
}

void setCurve(Preset& p, int slot, uint32_t type, unsigned x1, unsigned y1, unsigned x2, unsigned y2) {
    p.curveType[slot] = type;
    p.curveP1x[slot] = uint16_t(x1);
    p.curveP1y[slot] = uint16_t(y1);
    p.curveP2x[slot] = uint16_t(x2);
    p.curveP2y[slot] = uint16_t(y2);
}

// A preset whose four axis slots have four different curves and whose key
// slots hold a few known sequences.
Preset workedPreset() {
    Preset p = defaultPreset();
    setCurve(p, 0, 0, 10, 70, 60, 20);
    setCurve(p, 1, 0, 40, 20, 45, 10);
    setCurve(p, 2, 1, 20, 50, 70, 10);
    setCurve(p, 3, 0, 30, 80, 50, 5);
    p.buttonKeys[0][0] = 0x11E;  // Ctrl+A, B
    p.buttonKeys[0][1] = 0x30;
    p.buttonKeys[9][0] = 0xDB;   // left Windows key
    p.buttonKeys[10][0] = 0x1C5; // Ctrl with the recorded Num Lock
    p.buttonKeys[12][0] = 0x2C;  // Z
    p.buttonKeys[13][0] = 0x9C;  // keypad Enter
    p.buttonKeys[20][0] = 0x45;  // recorded Pause, then A
    p.buttonKeys[20][1] = 0x1E;
    return p;
}

SensitivityTable curveOf(const Preset& p, int slot) {
    SensitivityTable c;
    buildSensitivityTable(c, p, slot);
    return c;
}

Bytes symmetricBytes(const Preset& p, int slot, bool invert) {
    AxisTable t;
    buildSymmetricTable(t, curveOf(p, slot), 0, 128, 255, invert);
    return tableBytes(t.entry);
}

Bytes pedalBytes(const Preset& p, int slot) {
    AxisTable t;
    buildPedalTable(t, curveOf(p, slot), 0, 255);
    return tableBytes(t.entry);
}

Bytes loaderBytes(const Preset& p, int slot, bool invert) {
    AxisTable t;
    buildLoaderTable(t, curveOf(p, slot), 0, 128, 255, invert);
    return tableBytes(t.entry);
}

Bytes entryOf(const Preset& p, int slot) {
    ButtonEntry e;
    translateSlot(p.buttonKeys[slot], e);
    const uint8_t* b = reinterpret_cast<const uint8_t*>(&e);
    return Bytes(b, b + sizeof e);
}

class DriverTest : public ::testing::Test {
protected:
    Bytes stored(const char* key, const std::string& name) const {
        const auto* v = store_.find(key, name);
        return v ? v->data : Bytes();
    }
    uint32_t storedType(const char* key, const std::string& name) const {
        const auto* v = store_.find(key, name);
        return v ? v->type : 0;
    }

    MemoryRegistryStore store_;
    Registry panel_{store_, Deliverable::Panel};
    Registry loader_{store_, Deliverable::Loader};
    MemoryDeviceIo io_;
    RecordingHost host_;
};

// ================================================================ layout

TEST(ParameterBlockLayout, FieldsSitAtTheOffsetsTheDriverReads) {
    EXPECT_EQ(0u, offsetof(ParameterBlock, mode));
    EXPECT_EQ(4u, offsetof(ParameterBlock, buttons));
    EXPECT_EQ(1768u, offsetof(ParameterBlock, xTable));
    EXPECT_EQ(2024u, offsetof(ParameterBlock, yTable));
    EXPECT_EQ(2280u, offsetof(ParameterBlock, zTable));
    EXPECT_EQ(2536u, offsetof(ParameterBlock, pedalsLinked));
    EXPECT_EQ(2537u, offsetof(ParameterBlock, padding));
    EXPECT_EQ(2540u, offsetof(ParameterBlock, hardwareConfig));
    EXPECT_EQ(2652u, sizeof(ParameterBlock));

    EXPECT_EQ(0u, offsetof(ButtonEntry, usage));
    EXPECT_EQ(80u, offsetof(ButtonEntry, reserved));
    EXPECT_EQ(82u, offsetof(ButtonEntry, modifiers));
    EXPECT_EQ(84u, sizeof(ButtonEntry));

    EXPECT_EQ(0u, offsetof(EmulationSwitch, selector));
    EXPECT_EQ(4u, offsetof(EmulationSwitch, enabled));
    EXPECT_EQ(8u, sizeof(EmulationSwitch));
    EXPECT_EQ(17u, sizeof(WheelReport));
}

TEST_F(DriverTest, BlockGoesToTheDriverLittleEndianFieldByField) {
    ParameterBlock block;
    std::memset(&block, 0, sizeof block);
    block.mode = 0x03020103;
    block.buttons[1].usage[0] = 0x0405;
    block.buttons[20].usage[39] = 0x0607;
    block.buttons[20].modifiers = 0x0809;
    block.xTable[0] = 0x11;
    block.yTable[255] = 0x22;
    block.zTable[0] = 0x33;
    block.zTable[255] = 0x34;
    block.pedalsLinked = 1;
    block.hardwareConfig[0] = 0x44;
    block.hardwareConfig[111] = 0x55;
    io_.devices.insert(kPanelLinkName);
    const LinkHandle link = io_.open(kPanelLinkName, LinkOpenMode::Panel);

    sendParameterBlock(io_, link, block);

    const auto blocks = sentBlocks(io_);
    ASSERT_EQ(1u, blocks.size());
    const Bytes& b = blocks[0];
    ASSERT_EQ(kBlockSize, b.size());
    EXPECT_EQ((Bytes{0x03, 0x01, 0x02, 0x03}), slice(b, 0, 4));
    EXPECT_EQ((Bytes{0x05, 0x04}), slice(b, kEntriesAt + kEntrySize, 2));
    EXPECT_EQ((Bytes{0x07, 0x06}), slice(b, kEntriesAt + kEntrySize * 20 + 78, 2));
    EXPECT_EQ((Bytes{0x09, 0x08}), slice(b, kEntriesAt + kEntrySize * 20 + 82, 2));
    EXPECT_EQ(0x11, b[kXAt]);
    EXPECT_EQ(0x22, b[kYAt + 255]);
    EXPECT_EQ(0x33, b[kZAt]);
    EXPECT_EQ(0x34, b[kZAt + 255]);
    EXPECT_EQ(1, b[kPedalsAt]);
    EXPECT_EQ(0x44, b[kHardwareAt]);
    EXPECT_EQ(0x55, b[2651]);
}

// ============================================================== wrappers

class WrapperTest : public DriverTest {
protected:
    void SetUp() override {
        io_.devices.insert(kPanelLinkName);
        link_ = io_.open(kPanelLinkName, LinkOpenMode::Panel);
        ASSERT_NE(0u, link_);
    }
    LinkHandle link_ = 0;
};

TEST_F(WrapperTest, ParameterBlockGoesWithCode0x222006AndTheDriversAnswerComesBack) {
    io_.answers[kCodeParameterBlock] = 0x1234;
    ParameterBlock block{};
    block.mode = kModeClosing;

    EXPECT_EQ(0x1234, sendParameterBlock(io_, link_, block));

    ASSERT_EQ(1u, io_.calls.size());
    EXPECT_EQ(0x222006u, io_.calls[0].code);
    EXPECT_EQ(kPanelLinkName, io_.calls[0].link);
    EXPECT_EQ(kBlockSize, io_.calls[0].input.size());
    EXPECT_EQ(4u, io_.calls[0].outputSize);
}

TEST_F(WrapperTest, EmulationSwitchGoesWithCode0x22200EAsSelectorThenEnabled) {
    io_.answers[kCodeEmulationSwitch] = 77;
    const EmulationSwitch sw = {kEmulationSelector, 1};

    EXPECT_EQ(77, sendEmulationSwitch(io_, link_, sw, 8));

    ASSERT_EQ(1u, io_.calls.size());
    EXPECT_EQ(0x22200Eu, io_.calls[0].code);
    EXPECT_EQ((Bytes{0x00, 0x03, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00}), io_.calls[0].input);
    EXPECT_EQ(4u, io_.calls[0].outputSize);
}

TEST_F(WrapperTest, LinkCommandsCarryTheirCodeAndInputAsGiven) {
    io_.answers[kCodeLinkOpened] = 11;
    io_.answers[kCodeLinkWindow] = 22;
    io_.answers[kCodeLinkClosing] = 33;
    const uint8_t window[4] = {0x78, 0x56, 0x34, 0x12};

    EXPECT_EQ(11, sendLinkCommand(io_, link_, kCodeLinkOpened, nullptr, 0));
    EXPECT_EQ(22, sendLinkCommand(io_, link_, kCodeLinkWindow, window, 4));
    EXPECT_EQ(33, sendLinkCommand(io_, link_, kCodeLinkClosing, nullptr, 0));

    ASSERT_EQ(3u, io_.calls.size());
    EXPECT_EQ(1u, io_.calls[0].code);
    EXPECT_TRUE(io_.calls[0].input.empty());
    EXPECT_EQ(2u, io_.calls[1].code);
    EXPECT_EQ((Bytes{0x78, 0x56, 0x34, 0x12}), io_.calls[1].input);
    EXPECT_EQ(3u, io_.calls[2].code);
    EXPECT_TRUE(io_.calls[2].input.empty());
    for (const auto& call : io_.calls) EXPECT_EQ(4u, call.outputSize);
}

TEST_F(WrapperTest, EveryWrapperGivesMinusOneWhenTheCallFails) {
    io_.failCalls = true;
    ParameterBlock block{};
    WheelReport report{};

    EXPECT_EQ(-1, sendParameterBlock(io_, link_, block));
    EXPECT_EQ(-1, sendEmulationSwitch(io_, link_, EmulationSwitch{kEmulationSelector, 0}, 8));
    EXPECT_EQ(-1, sendLinkCommand(io_, link_, kCodeLinkOpened, nullptr, 0));
    EXPECT_EQ(-1, readWheelReport(io_, link_, report, host_));
    EXPECT_TRUE(host_.events.empty());
}

TEST_F(WrapperTest, ZeroOrClosedLinkMakesEveryWrapperGiveMinusOne) {
    ParameterBlock block{};
    WheelReport report{};
    io_.close(link_);
    for (LinkHandle link : {LinkHandle(0), link_}) {
        EXPECT_EQ(-1, sendParameterBlock(io_, link, block));
        EXPECT_EQ(-1, sendEmulationSwitch(io_, link, EmulationSwitch{kEmulationSelector, 1}, 8));
        EXPECT_EQ(-1, sendLinkCommand(io_, link, kCodeLinkClosing, nullptr, 0));
        EXPECT_EQ(-1, readWheelReport(io_, link, report, host_));
    }
    EXPECT_TRUE(io_.calls.empty());
}

TEST_F(WrapperTest, WheelReportIsReadWithCode0x4201DIntoSeventeenBytes) {
    for (size_t i = 0; i < io_.report.size(); ++i) io_.report[i] = uint8_t(0x10 + i);
    WheelReport report;
    std::memset(&report, 0, sizeof report);

    EXPECT_EQ(0, readWheelReport(io_, link_, report, host_));

    EXPECT_EQ(io_.report, Bytes(report.bytes, report.bytes + 17));
    ASSERT_EQ(1u, io_.calls.size());
    EXPECT_EQ(0x4201Du, io_.calls[0].code);
    EXPECT_TRUE(io_.calls[0].input.empty());
    EXPECT_EQ(17u, io_.calls[0].outputSize);
    EXPECT_TRUE(host_.events.empty());
}

TEST_F(WrapperTest, ReportWithByteFourEqualTo0x63EndsTheProcessWithCodeZero) {
    io_.report[4] = 0x63;
    WheelReport report{};
    readWheelReport(io_, link_, report, host_);
    EXPECT_EQ((std::vector<std::string>{"exit:0"}), host_.events);
}

TEST_F(WrapperTest, ReportWithAnyOtherByteFourLeavesTheProcessRunning) {
    for (uint8_t value : {0x00, 0x43, 0x62, 0x64, 0xE3, 0xFF}) {
        io_.report.assign(17, 0x63);  // 'c' everywhere else
        io_.report[4] = value;
        WheelReport report{};
        EXPECT_EQ(0, readWheelReport(io_, link_, report, host_)) << int(value);
    }
    EXPECT_TRUE(host_.events.empty());
}

TEST_F(WrapperTest, FailedReportReadNeverEndsTheProcess) {
    io_.report[4] = 0x63;
    io_.failCalls = true;
    WheelReport report{};
    EXPECT_EQ(-1, readWheelReport(io_, link_, report, host_));
    EXPECT_TRUE(host_.events.empty());
}

// ================================================ hardware configuration

class HardwareConfigTest : public DriverTest {
protected:
    // A calibrated record: minima, maxima and centres of X, Y, Z, R, U, V.
    static Bytes calibratedRecord() {
        Bytes r = patternedRecord();
        const uint32_t minima[6] = {3, 5, 7, 9, 11, 13};
        const uint32_t maxima[6] = {250, 240, 230, 220, 210, 200};
        const uint32_t centres[6] = {131, 120, 119, 118, 117, 116};
        for (int a = 0; a < 6; ++a) {
            putU32(r, 12 + 4 * a, minima[a]);
            putU32(r, 36 + 4 * a, maxima[a]);
            putU32(r, 60 + 4 * a, centres[a]);
        }
        return r;
    }
    static Bytes recordOf(const HardwareConfig& c) { return Bytes(c.record, c.record + kHardwareConfigSize); }
    static std::vector<int> raw(const uint16_t (&v)[4]) { return std::vector<int>(v, v + 4); }

    HardwareConfig loaded(int deviceNumber) {
        HardwareConfig c;
        std::memset(&c, 0xEE, sizeof c);
        loadHardwareConfiguration(c, panel_, deviceNumber);
        return c;
    }

    // The record with the X, Y, Z and R ranges set to 0..255 around 127.
    static Bytes withDefaultRanges(Bytes r) {
        for (int a = 0; a < 4; ++a) {
            putU32(r, 12 + 4 * a, 0);
            putU32(r, 36 + 4 * a, 255);
            putU32(r, 60 + 4 * a, 127);
        }
        return r;
    }
};

TEST_F(HardwareConfigTest, MissingConfigurationGivesFullRangesAroundTheCentre) {
    const HardwareConfig c = loaded(0);
    EXPECT_EQ(withDefaultRanges(Bytes(kHardwareConfigSize, 0)), recordOf(c));
    EXPECT_EQ((std::vector<int>{255, 255, 255, 255}), raw(c.rawMax));
    EXPECT_EQ((std::vector<int>{0, 0, 0, 0}), raw(c.rawMin));
    EXPECT_EQ((std::vector<int>{127, 127, 127, 127}), raw(c.rawCenter));
}

TEST_F(HardwareConfigTest, ZeroXMaximumMeansNeverCalibratedAndKeepsTheOtherFields) {
    Bytes r = calibratedRecord();
    putU32(r, 36, 0);
    store_.set(kPanelKey, "Joystick1Configuration", kRegBinary, r);

    const HardwareConfig c = loaded(1);
    EXPECT_EQ(withDefaultRanges(r), recordOf(c));
    EXPECT_EQ((std::vector<int>{255, 255, 255, 255}), raw(c.rawMax));
    EXPECT_EQ((std::vector<int>{0, 0, 0, 0}), raw(c.rawMin));
    EXPECT_EQ((std::vector<int>{127, 127, 127, 127}), raw(c.rawCenter));
}

TEST_F(HardwareConfigTest, CalibratedRecordGivesItsRangesAndOnlyTheSteeringCentre) {
    const Bytes r = calibratedRecord();
    store_.set(kPanelKey, "Joystick1Configuration", kRegBinary, r);

    const HardwareConfig c = loaded(1);
    EXPECT_EQ(r, recordOf(c));
    EXPECT_EQ((std::vector<int>{250, 240, 230, 220}), raw(c.rawMax));
    EXPECT_EQ((std::vector<int>{3, 5, 7, 9}), raw(c.rawMin));
    EXPECT_EQ((std::vector<int>{131, 127, 127, 127}), raw(c.rawCenter));
}

TEST_F(HardwareConfigTest, ReadsTheValueNamedAfterTheWheelsNumber) {
    store_.set(kPanelKey, "Joystick0Configuration", kRegBinary, patternedRecord());
    const Bytes r = calibratedRecord();
    store_.set(kPanelKey, "Joystick3Configuration", kRegBinary, r);

    EXPECT_EQ(r, recordOf(loaded(3)));
    EXPECT_EQ((std::vector<int>{127, 127, 127, 127}), raw(loaded(2).rawCenter));
}

TEST_F(HardwareConfigTest, ShortLongOrTextValueCountsAsNeverCalibrated) {
    const Bytes whole = calibratedRecord();
    const Bytes shortValue(whole.begin(), whole.end() - 1);
    Bytes longValue = whole;
    longValue.push_back(0);
    store_.set(kPanelKey, "Joystick0Configuration", kRegBinary, shortValue);
    store_.set(kPanelKey, "Joystick1Configuration", kRegBinary, longValue);
    store_.set(kPanelKey, "Joystick2Configuration", kRegSz, whole);

    for (int n = 0; n < 3; ++n) {
        const HardwareConfig c = loaded(n);
        EXPECT_EQ(withDefaultRanges(Bytes(kHardwareConfigSize, 0)), recordOf(c)) << n;
        EXPECT_EQ((std::vector<int>{255, 255, 255, 255}), raw(c.rawMax)) << n;
        EXPECT_EQ((std::vector<int>{127, 127, 127, 127}), raw(c.rawCenter)) << n;
    }
}

// ===================================================== control panel upload

class PanelUploadTest : public DriverTest {
protected:
    void SetUp() override {
        io_.devices.insert(kPanelLinkName);
        wheel_.link.linkHandle = io_.open(kPanelLinkName, LinkOpenMode::Panel);
        wheel_.link.deviceNumber = 2;
        ASSERT_NE(0u, wheel_.link.linkHandle);
    }
    // Uploads `p` and gives the block sent.
    Bytes upload(const Preset& p, int closing) {
        io_.calls.clear();
        EXPECT_EQ(1, uploadParameters(closing, wheel_, p, panel_, io_));
        const auto blocks = sentBlocks(io_);
        EXPECT_EQ(1u, blocks.size());
        return blocks.empty() ? Bytes(kBlockSize) : blocks[0];
    }

    PanelWheel wheel_{};
};

TEST_F(PanelUploadTest, ModeIsThreeWhenClosingAndOneOtherwise) {
    const Preset p = defaultPreset();
    EXPECT_EQ(1u, u32At(upload(p, 0), 0));
    EXPECT_EQ(3u, u32At(upload(p, 1), 0));
    EXPECT_EQ(3u, u32At(upload(p, 7), 0));
}

TEST_F(PanelUploadTest, BlockGoesToTheWheelsLinkWithCode0x222006) {
    upload(defaultPreset(), 1);
    ASSERT_EQ(1u, io_.calls.size());
    EXPECT_EQ(kPanelLinkName, io_.calls[0].link);
    EXPECT_EQ(kCodeParameterBlock, io_.calls[0].code);
}

TEST_F(PanelUploadTest, LinkedPedalsSetTheByteAndStoreYesUnderTheWheelsNumber) {
    Preset p = defaultPreset();
    p.pedalsLinked = 0x100;
    EXPECT_EQ(1, upload(p, 0)[kPedalsAt]);
    EXPECT_EQ(kRegSz, storedType(kParametersKey, "Link_Pedals2"));
    EXPECT_EQ((Bytes{'Y', 'E', 'S'}), stored(kParametersKey, "Link_Pedals2"));
    EXPECT_EQ(nullptr, store_.find(kParametersKey, "Link_Pedals0"));
}

TEST_F(PanelUploadTest, SeparatePedalsClearTheByteAndStoreNo) {
    Preset p = defaultPreset();
    p.pedalsLinked = 0;
    EXPECT_EQ(0, upload(p, 1)[kPedalsAt]);
    EXPECT_EQ((Bytes{'N', 'O'}), stored(kParametersKey, "Link_Pedals2"));
}

TEST_F(PanelUploadTest, DefaultCurvesGiveTheCentredXTableAndThePedalTablesForYAndZ) {
    const Bytes b = upload(defaultPreset(), 1);
    EXPECT_EQ((std::vector<int>{1, 1, 2, 3}), ints(b.data() + kXAt, 0, 3));
    EXPECT_EQ((std::vector<int>{126, 127, 128, 129, 130}), ints(b.data() + kXAt, 126, 130));
    EXPECT_EQ((std::vector<int>{252, 253, 254, 254}), ints(b.data() + kXAt, 252, 255));
    for (size_t at : {kYAt, kZAt}) {
        EXPECT_EQ((std::vector<int>{0, 0, 0, 3}), ints(b.data() + at, 0, 3));
        EXPECT_EQ((std::vector<int>{251, 253, 253, 254}), ints(b.data() + at, 252, 255));
    }
}

TEST_F(PanelUploadTest, BitZeroOfTheInversionFlagsInvertsX) {
    Preset p = defaultPreset();
    p.axisInvert = 1;
    const Bytes b = upload(p, 1);
    EXPECT_EQ((std::vector<int>{254, 254, 253, 252}), ints(b.data() + kXAt, 0, 3));
    EXPECT_EQ((std::vector<int>{3, 2, 1, 1}), ints(b.data() + kXAt, 252, 255));

    p.axisInvert = 0xFFFFFFFE;
    EXPECT_EQ((std::vector<int>{1, 1, 2, 3}), ints(upload(p, 1).data() + kXAt, 0, 3));
}

TEST_F(PanelUploadTest, YAndZTablesAreTheSameWhetherOrNotInversionBitsAreSet) {
    Preset p = workedPreset();
    p.axisInvert = 0;
    const Bytes plain = upload(p, 1);
    p.axisInvert = 0xFFFFFFFF;
    const Bytes inverted = upload(p, 1);

    EXPECT_EQ(slice(plain, kYAt, 256), slice(inverted, kYAt, 256));
    EXPECT_EQ(slice(plain, kZAt, 256), slice(inverted, kZAt, 256));
    EXPECT_NE(slice(plain, kXAt, 256), slice(inverted, kXAt, 256));
}

TEST_F(PanelUploadTest, TablesComeFromSlotZeroTwoAndThreeAndNeverFromSlotOne) {
    Preset p = workedPreset();
    p.axisInvert = 1;
    ASSERT_NE(pedalBytes(p, 2), pedalBytes(p, 3));
    ASSERT_NE(pedalBytes(p, 1), pedalBytes(p, 2));
    const Bytes b = upload(p, 1);
    EXPECT_EQ(symmetricBytes(p, 0, true), slice(b, kXAt, 256));
    EXPECT_EQ(pedalBytes(p, 2), slice(b, kYAt, 256));
    EXPECT_EQ(pedalBytes(p, 3), slice(b, kZAt, 256));

    setCurve(p, 1, 1, 0, 0, 85, 85);
    EXPECT_EQ(b, upload(p, 1));
}

TEST_F(PanelUploadTest, TablesAreStoredUnderSelectedParametersAsSent) {
    const Bytes b = upload(workedPreset(), 0);
    const char* names[3] = {"AxeX_SENS", "AxeY_SENS", "AxeZ_SENS"};
    const size_t at[3] = {kXAt, kYAt, kZAt};
    for (int axis = 0; axis < 3; ++axis) {
        EXPECT_EQ(kRegBinary, storedType(kParametersKey, names[axis])) << names[axis];
        EXPECT_EQ(slice(b, at[axis], 256), stored(kParametersKey, names[axis])) << names[axis];
    }
}

TEST_F(PanelUploadTest, EveryButtonEntryIsTranslatedFromItsSlot) {
    const Preset p = workedPreset();
    const Bytes b = upload(p, 1);
    for (int slot = 0; slot < kEmulationSlots; ++slot) EXPECT_EQ(entryOf(p, slot), entryBytes(b, slot)) << slot;

    EXPECT_EQ(4, u16At(b, kEntriesAt));                             // Ctrl+A
    EXPECT_EQ(5, u16At(b, kEntriesAt + 2));                         // B
    EXPECT_EQ(1, u16At(b, kEntriesAt + 82));                        // left Ctrl
    EXPECT_EQ(0x99, u16At(b, kEntriesAt + kEntrySize * 9));         // Windows key
    EXPECT_EQ(8, u16At(b, kEntriesAt + kEntrySize * 9 + 82));       // left GUI
    EXPECT_EQ(88, u16At(b, kEntriesAt + kEntrySize * 13));          // keypad Enter
    EXPECT_EQ(72, u16At(b, kEntriesAt + kEntrySize * 20));          // Pause
    EXPECT_EQ(4, u16At(b, kEntriesAt + kEntrySize * 20 + 2));       // A
}

TEST_F(PanelUploadTest, FirstTenEntriesAreStoredAsBT1ToBT10) {
    const Bytes b = upload(workedPreset(), 1);
    for (int entry = 0; entry < 10; ++entry) {
        const std::string name = "BT_" + std::to_string(entry + 1);
        EXPECT_EQ(kRegBinary, storedType(kParametersKey, name)) << name;
        EXPECT_EQ(entryBytes(b, entry), stored(kParametersKey, name)) << name;
    }
    EXPECT_EQ(nullptr, store_.find(kParametersKey, "BT_0"));
    EXPECT_EQ(nullptr, store_.find(kParametersKey, "BT_11"));
}

TEST_F(PanelUploadTest, HardwareAreaIsTheFirst111BytesOfTheWheelsConfigurationAndAZero) {
    const Bytes record = patternedRecord();
    store_.set(kPanelKey, "Joystick2Configuration", kRegBinary, record);
    store_.set(kPanelKey, "Joystick0Configuration", kRegBinary, Bytes(112, 0x77));

    const Bytes b = upload(defaultPreset(), 1);
    EXPECT_EQ(Bytes(record.begin(), record.begin() + 111), slice(b, kHardwareAt, 111));
    EXPECT_EQ(0, b[2651]);
}

TEST_F(PanelUploadTest, MissingConfigurationGivesAZeroHardwareArea) {
    const Bytes b = upload(defaultPreset(), 1);
    EXPECT_EQ(Bytes(112, 0), slice(b, kHardwareAt, 112));
}

TEST_F(PanelUploadTest, BlockOwesNothingToTheOneBefore) {
    const Preset p = workedPreset();
    const Bytes fresh = upload(p, 1);
    std::memset(&wheel_.block, 0xEE, sizeof wheel_.block);
    const Bytes again = upload(p, 1);
    EXPECT_EQ(fresh, again);
    EXPECT_EQ((Bytes{0, 0, 0}), slice(again, kPedalsAt + 1, 3));
}

TEST_F(PanelUploadTest, FailedSendStillStoresTheCopyAndReturnsOne) {
    io_.failCalls = true;
    EXPECT_EQ(1, uploadParameters(1, wheel_, workedPreset(), panel_, io_));
    EXPECT_EQ(256u, stored(kParametersKey, "AxeX_SENS").size());
    EXPECT_EQ(84u, stored(kParametersKey, "BT_10").size());
    EXPECT_EQ((Bytes{'Y', 'E', 'S'}), stored(kParametersKey, "Link_Pedals2"));
}

TEST_F(PanelUploadTest, ParametersKeyWithoutWriteRightsStillLetsTheBlockGo) {
    store_.makeReadOnly(kParametersKey);
    const Bytes b = upload(workedPreset(), 1);
    EXPECT_EQ(3u, u32At(b, 0));
    EXPECT_EQ(nullptr, store_.find(kParametersKey, "AxeX_SENS"));
    EXPECT_EQ(nullptr, store_.find(kParametersKey, "Link_Pedals2"));
}

// ======================================================= game preset upload

class GameUploadTest : public DriverTest {
protected:
    void SetUp() override {
        io_.devices.insert(kPanelLinkName);
        io_.devices.insert(kWheelLinkName);
        wheel_.emulationLink = io_.open(kPanelLinkName, LinkOpenMode::Loader);
        ASSERT_NE(0u, wheel_.emulationLink);
    }
    Bytes upload(const Preset& p) {
        io_.calls.clear();
        EXPECT_EQ(1, uploadGamePreset(wheel_, p, io_));
        const auto blocks = sentBlocks(io_);
        EXPECT_EQ(1u, blocks.size());
        return blocks.empty() ? Bytes(kBlockSize) : blocks[0];
    }
    static std::vector<int> centreOf(const Bytes& b, size_t at) { return ints(b.data() + at, 126, 130); }

    LoaderWheel wheel_{};
};

TEST_F(GameUploadTest, BlockGoesInModeTwoOnTheEmulationLink) {
    const Bytes b = upload(defaultPreset());
    EXPECT_EQ(2u, u32At(b, 0));
    ASSERT_EQ(1u, io_.calls.size());
    EXPECT_EQ(kPanelLinkName, io_.calls[0].link);
    EXPECT_EQ(kCodeParameterBlock, io_.calls[0].code);
    EXPECT_EQ(4u, io_.calls[0].outputSize);
}

TEST_F(GameUploadTest, DefaultCurvesGiveTheLoadersCentredTableOnAllThreeAxes) {
    const Bytes b = upload(defaultPreset());
    for (size_t at : {kXAt, kYAt, kZAt}) {
        EXPECT_EQ((std::vector<int>{126, 127, 128, 128, 129}), centreOf(b, at)) << at;
        EXPECT_EQ((std::vector<int>{251, 252, 253, 253}), ints(b.data() + at, 252, 255)) << at;
    }
}

TEST_F(GameUploadTest, BitsZeroEightAndSixteenInvertXYAndZEachAlone) {
    const std::vector<int> straight = {126, 127, 128, 128, 129};
    const std::vector<int> inverted = {129, 128, 128, 127, 126};
    Preset p = defaultPreset();
    const uint32_t bits[3] = {1u << 0, 1u << 8, 1u << 16};
    const size_t at[3] = {kXAt, kYAt, kZAt};
    for (int axis = 0; axis < 3; ++axis) {
        p.axisInvert = bits[axis];
        const Bytes b = upload(p);
        for (int other = 0; other < 3; ++other)
            EXPECT_EQ(other == axis ? inverted : straight, centreOf(b, at[other])) << axis << " " << other;
    }
}

TEST_F(GameUploadTest, OtherInversionBitsInvertNothing) {
    Preset p = defaultPreset();
    p.axisInvert = 0xFFFEFEFE;
    const Bytes b = upload(p);
    for (size_t at : {kXAt, kYAt, kZAt})
        EXPECT_EQ((std::vector<int>{126, 127, 128, 128, 129}), centreOf(b, at)) << at;
}

TEST_F(GameUploadTest, TablesComeFromSlotsZeroOneAndTwo) {
    Preset p = workedPreset();
    p.axisInvert = 0x00010100;
    ASSERT_NE(loaderBytes(p, 0, false), loaderBytes(p, 1, false));
    ASSERT_NE(loaderBytes(p, 1, true), loaderBytes(p, 2, true));
    const Bytes b = upload(p);
    EXPECT_EQ(loaderBytes(p, 0, false), slice(b, kXAt, 256));
    EXPECT_EQ(loaderBytes(p, 1, true), slice(b, kYAt, 256));
    EXPECT_EQ(loaderBytes(p, 2, true), slice(b, kZAt, 256));

    setCurve(p, 3, 1, 0, 0, 85, 85);
    p.axisInvert |= 1u << 24;
    EXPECT_EQ(b, upload(p));
}

TEST_F(GameUploadTest, AllTwentyOneEntriesAreTranslatedFromTheirSlots) {
    const Preset p = workedPreset();
    const Bytes b = upload(p);
    for (int slot = 0; slot < kEmulationSlots; ++slot) EXPECT_EQ(entryOf(p, slot), entryBytes(b, slot)) << slot;
    EXPECT_EQ(83, u16At(b, kEntriesAt + kEntrySize * 10));
    EXPECT_EQ(1, u16At(b, kEntriesAt + kEntrySize * 10 + 82));
}

TEST_F(GameUploadTest, HardwareAreaHoldsOnlyTheFourFixedWords) {
    // A start-up block first fills the area with a stored configuration.
    store_.set(kPanelKey, "Joystick0Configuration", kRegBinary, patternedRecord());
    wheel_.wheelLink = io_.open(kWheelLinkName, LinkOpenMode::Loader);
    uploadStoredParameters(1, 0, wheel_, loader_, io_);

    const Bytes b = upload(defaultPreset());
    Bytes expected(112, 0);
    putU32(expected, 12, 85);
    putU32(expected, 16, 170);
    putU32(expected, 20, 85);
    putU32(expected, 24, 170);
    EXPECT_EQ(expected, slice(b, kHardwareAt, 112));
    EXPECT_EQ((Bytes{85, 0, 0, 0, 170, 0, 0, 0, 85, 0, 0, 0, 170, 0, 0, 0}), slice(b, 2552, 16));
}

TEST_F(GameUploadTest, PedalsByteIsZeroAfterStartUpWhateverThePresetSays) {
    Preset p = defaultPreset();
    p.pedalsLinked = 1;
    const Bytes b = upload(p);
    EXPECT_EQ((Bytes{0, 0, 0, 0}), slice(b, kPedalsAt, 4));
}

TEST_F(GameUploadTest, PedalsByteAndTheBytesAfterItKeepWhatTheLastBlockHeld) {
    store_.setString(kParametersKey, "Link_Pedals0", "YES");
    wheel_.wheelLink = io_.open(kWheelLinkName, LinkOpenMode::Loader);
    uploadStoredParameters(1, 0, wheel_, loader_, io_);
    wheel_.block.padding[0] = 7;
    wheel_.block.padding[1] = 8;
    wheel_.block.padding[2] = 9;

    Preset p = defaultPreset();
    p.pedalsLinked = 0;
    EXPECT_EQ((Bytes{1, 7, 8, 9}), slice(upload(p), kPedalsAt, 4));
    EXPECT_EQ((Bytes{1, 7, 8, 9}), slice(upload(p), kPedalsAt, 4));
}

TEST_F(GameUploadTest, ClosedEmulationLinkSendsNothingAndStillReturnsOne) {
    wheel_.emulationLink = 0;
    io_.calls.clear();
    EXPECT_EQ(1, uploadGamePreset(wheel_, defaultPreset(), io_));
    EXPECT_TRUE(io_.calls.empty());
}

// ========================================== start-up upload from the registry

class StoredUploadTest : public DriverTest {
protected:
    void SetUp() override {
        io_.devices.insert(kPanelLinkName);
        io_.devices.insert(kWheelLinkName);
        wheel_.wheelLink = io_.open(kWheelLinkName, LinkOpenMode::Loader);
        ASSERT_NE(0u, wheel_.wheelLink);
    }
    Bytes upload(int modeFlag, int number) {
        io_.calls.clear();
        EXPECT_EQ(1, uploadStoredParameters(modeFlag, number, wheel_, loader_, io_));
        const auto blocks = sentBlocks(io_);
        EXPECT_EQ(1u, blocks.size());
        return blocks.empty() ? Bytes(kBlockSize) : blocks[0];
    }
    // What the control panel stores for `p` as wheel `number`, and the block
    // it sent. Uses a link of its own.
    Bytes panelUpload(const Preset& p, int number, int closing) {
        PanelWheel panelWheel{};
        panelWheel.link.linkHandle = io_.open(kPanelLinkName, LinkOpenMode::Panel);
        panelWheel.link.deviceNumber = number;
        io_.calls.clear();
        uploadParameters(closing, panelWheel, p, panel_, io_);
        io_.close(panelWheel.link.linkHandle);
        const auto blocks = sentBlocks(io_);
        EXPECT_EQ(1u, blocks.size());
        return blocks.empty() ? Bytes(kBlockSize) : blocks[0];
    }
    // The tables the control panel stores for the default curves.
    static void defaultTables(Bytes& x, Bytes& yz) {
        MemoryRegistryStore other;
        Registry registry(other, Deliverable::Panel);
        MemoryDeviceIo io;
        PanelWheel w{};
        uploadParameters(1, w, defaultPreset(), registry, io);
        const auto* storedX = other.find(kParametersKey, "AxeX_SENS");
        const auto* storedY = other.find(kParametersKey, "AxeY_SENS");
        ASSERT_NE(nullptr, storedX);
        ASSERT_NE(nullptr, storedY);
        x = storedX->data;
        yz = storedY->data;
    }
    void storeTables(uint8_t x, uint8_t y, uint8_t z) {
        store_.set(kParametersKey, "AxeX_SENS", kRegBinary, Bytes(256, x));
        store_.set(kParametersKey, "AxeY_SENS", kRegBinary, Bytes(256, y));
        store_.set(kParametersKey, "AxeZ_SENS", kRegBinary, Bytes(256, z));
    }
    void storeEntries() {
        for (int e = 0; e < 10; ++e)
            store_.set(kParametersKey, "BT_" + std::to_string(e + 1), kRegBinary, Bytes(84, uint8_t(0x20 + e)));
    }

    LoaderWheel wheel_{};
};

TEST_F(StoredUploadTest, RebuildsWhatTheControlPanelSentButTheModeAndTheUnstoredEntries) {
    Preset p{};
    test::fillPreset(p, 5);
    store_.set(kPanelKey, "Joystick3Configuration", kRegBinary, patternedRecord());
    for (int closing : {0, 1}) {
        const Bytes sent = panelUpload(p, 3, closing);
        Bytes expected = sent;
        for (int entry = 10; entry < kEmulationSlots; ++entry) {
            ASSERT_NE(Bytes(84, 0), entryBytes(sent, entry)) << entry;
            std::fill(expected.begin() + long(kEntriesAt + kEntrySize * entry),
                      expected.begin() + long(kEntriesAt + kEntrySize * (entry + 1)), 0);
        }
        for (int flag : {0, 1}) {
            putU32(expected, 0, flag ? 3 : 1);
            EXPECT_EQ(expected, upload(flag, 3)) << closing << " " << flag;
        }
    }
}

TEST_F(StoredUploadTest, ModeIsThreeWhenTheFlagIsSetAndOneOtherwise) {
    EXPECT_EQ(1u, u32At(upload(0, 0), 0));
    EXPECT_EQ(3u, u32At(upload(1, 0), 0));
    EXPECT_EQ(3u, u32At(upload(2, 0), 0));
}

TEST_F(StoredUploadTest, BlockGoesOnTheNumberedWheelLink) {
    upload(1, 0);
    ASSERT_EQ(1u, io_.calls.size());
    EXPECT_EQ(kWheelLinkName, io_.calls[0].link);
    EXPECT_EQ(kCodeParameterBlock, io_.calls[0].code);
}

TEST_F(StoredUploadTest, PedalsAreSeparateOnlyForExactlyNoOrAMissingValue) {
    const std::pair<const char*, int> cases[] = {
        {"NO", 0}, {"no", 1}, {"No", 1}, {"NO ", 1}, {"YES", 1}, {"", 1}, {"anything", 1},
    };
    for (const auto& c : cases) {
        store_.setString(kParametersKey, "Link_Pedals4", c.first);
        EXPECT_EQ(c.second, upload(0, 4)[kPedalsAt]) << '"' << c.first << '"';
    }
    store_.setString(kParametersKey, "Link_Pedals0", "YES");
    EXPECT_EQ(0, upload(0, 1)[kPedalsAt]);
    store_.setDword(kParametersKey, "Link_Pedals1", 1);
    EXPECT_EQ(0, upload(0, 1)[kPedalsAt]);
}

TEST_F(StoredUploadTest, LinkPedalsIsReadWithQueryAccessAndTheRestWithFullAccess) {
    store_.setString(kParametersKey, "Link_Pedals0", "YES");
    storeTables(1, 2, 3);
    store_.opens.clear();
    upload(0, 0);
    int query = 0;
    for (const auto& open : store_.opens) {
        if (open.access == RegAccess::QueryValue)
            ++query;
        else
            EXPECT_EQ(RegAccess::AllAccess, open.access) << open.key;
    }
    EXPECT_GE(query, 1);
}

TEST_F(StoredUploadTest, StoredTablesAndEntriesAreSentAsTheyAre) {
    storeTables(0x31, 0x32, 0x33);
    storeEntries();
    store_.set(kParametersKey, "BT_11", kRegBinary, Bytes(84, 0x55));
    const Bytes b = upload(1, 0);
    EXPECT_EQ(Bytes(256, 0x31), slice(b, kXAt, 256));
    EXPECT_EQ(Bytes(256, 0x32), slice(b, kYAt, 256));
    EXPECT_EQ(Bytes(256, 0x33), slice(b, kZAt, 256));
    for (int e = 0; e < 10; ++e) EXPECT_EQ(Bytes(84, uint8_t(0x20 + e)), entryBytes(b, e)) << e;
    for (int e = 10; e < kEmulationSlots; ++e) EXPECT_EQ(Bytes(84, 0), entryBytes(b, e)) << e;
}

TEST_F(StoredUploadTest, EmptyRegistryGivesTheDefaultCurvesTablesEmptyEntriesAndAZeroArea) {
    Bytes x, yz;
    defaultTables(x, yz);
    const Bytes b = upload(1, 0);
    EXPECT_EQ(x, slice(b, kXAt, 256));
    EXPECT_EQ(yz, slice(b, kYAt, 256));
    EXPECT_EQ(yz, slice(b, kZAt, 256));
    EXPECT_EQ((std::vector<int>{1, 1, 2, 3}), ints(b.data() + kXAt, 0, 3));
    EXPECT_EQ((std::vector<int>{252, 253, 254, 254}), ints(b.data() + kXAt, 252, 255));
    EXPECT_EQ((std::vector<int>{0, 0, 0, 3}), ints(b.data() + kYAt, 0, 3));
    EXPECT_EQ(Bytes(1764, 0), slice(b, kEntriesAt, 1764));
    EXPECT_EQ(Bytes(4, 0), slice(b, kPedalsAt, 4));
    EXPECT_EQ(Bytes(112, 0), slice(b, kHardwareAt, 112));
}

TEST_F(StoredUploadTest, TableOfAnotherSizeOrTypeIsReplacedWhole) {
    Bytes x, yz;
    defaultTables(x, yz);
    const Bytes shortTable(255, 0x41), longTable(257, 0x42), textTable(256, 0x43);
    const size_t at[3] = {kXAt, kYAt, kZAt};
    const char* names[3] = {"AxeX_SENS", "AxeY_SENS", "AxeZ_SENS"};
    const Bytes* defaults[3] = {&x, &yz, &yz};
    for (int axis = 0; axis < 3; ++axis) {
        for (const Bytes* bad : {&shortTable, &longTable, &textTable}) {
            storeTables(0x31, 0x32, 0x33);
            store_.set(kParametersKey, names[axis], bad == &textTable ? kRegSz : kRegBinary, *bad);
            const Bytes b = upload(0, 0);
            for (int other = 0; other < 3; ++other) {
                const Bytes expected = other == axis ? *defaults[axis] : Bytes(256, uint8_t(0x31 + other));
                EXPECT_EQ(expected, slice(b, at[other], 256)) << names[axis] << " size " << bad->size();
            }
        }
    }
}

TEST_F(StoredUploadTest, EntryOfAnotherSizeOrTypeOrMissingIsAllZero) {
    storeEntries();
    store_.set(kParametersKey, "BT_2", kRegBinary, Bytes(83, 0x66));
    store_.set(kParametersKey, "BT_5", kRegBinary, Bytes(85, 0x66));
    store_.set(kParametersKey, "BT_7", kRegSz, Bytes(84, 0x66));
    store_.deleteValue(kParametersKey, "BT_10");
    const Bytes b = upload(1, 0);
    for (int e = 0; e < 10; ++e) {
        const bool bad = e == 1 || e == 4 || e == 6 || e == 9;
        EXPECT_EQ(bad ? Bytes(84, 0) : Bytes(84, uint8_t(0x20 + e)), entryBytes(b, e)) << e;
    }
}

TEST_F(StoredUploadTest, HardwareAreaIsTheFirst111BytesOfTheWheelsConfigurationAndAZero) {
    const Bytes record = patternedRecord();
    store_.set(kPanelKey, "Joystick2Configuration", kRegBinary, record);
    store_.set(kPanelKey, "Joystick0Configuration", kRegBinary, Bytes(112, 0x77));
    const Bytes b = upload(0, 2);
    EXPECT_EQ(Bytes(record.begin(), record.begin() + 111), slice(b, kHardwareAt, 111));
    EXPECT_EQ(0, b[2651]);
}

TEST_F(StoredUploadTest, ConfigurationOfAnotherSizeOrTypeGivesAZeroArea) {
    const Bytes record = patternedRecord();
    store_.set(kPanelKey, "Joystick0Configuration", kRegBinary, Bytes(record.begin(), record.end() - 1));
    Bytes longer = record;
    longer.push_back(1);
    store_.set(kPanelKey, "Joystick1Configuration", kRegBinary, longer);
    store_.set(kPanelKey, "Joystick2Configuration", kRegSz, record);
    for (int n = 0; n < 3; ++n) EXPECT_EQ(Bytes(112, 0), slice(upload(1, n), kHardwareAt, 112)) << n;
}

TEST_F(StoredUploadTest, BlockOwesNothingToTheOneBefore) {
    storeTables(0x31, 0x32, 0x33);
    storeEntries();
    const Bytes fresh = upload(1, 0);
    std::memset(&wheel_.block, 0xEE, sizeof wheel_.block);
    EXPECT_EQ(fresh, upload(1, 0));
}

TEST_F(StoredUploadTest, ParametersKeyWithoutFullAccessGivesDefaultsButStillReadsThePedals) {
    // The binary readers ask for full access, the pedals reader only for
    // query access.
    Bytes x, yz;
    defaultTables(x, yz);
    storeTables(0x31, 0x32, 0x33);
    storeEntries();
    store_.setString(kParametersKey, "Link_Pedals0", "YES");
    store_.makeReadOnly(kParametersKey);
    const Bytes b = upload(1, 0);
    EXPECT_EQ(x, slice(b, kXAt, 256));
    EXPECT_EQ(yz, slice(b, kZAt, 256));
    EXPECT_EQ(Bytes(1764, 0), slice(b, kEntriesAt, 1764));
    EXPECT_EQ(1, b[kPedalsAt]);
}

}  // namespace
}  // namespace zentra

#include "cpl/pages/key_code_text.h"

#include <gtest/gtest.h>

#include "cpl/pages/key_names_memory.h"

namespace zentra {
namespace {

struct Case {
    uint16_t code;
    const char* buttonPage;
    const char* print;
};

// Where the two styles differ: bits 0x4000/0x8000 count as "more follows"
// on the printout only, and only the printout leaves code 0 without text.
const Case kCases[] = {
    {0x001E, "   A", "   A"},
    {0x051E, "   Ctrl+Shift+A", "   Ctrl+Shift+A"},
    {0x021E, "   Right Ctrl+A", "   Right Ctrl+A"},
    {0x031E, "   Right Ctrl+A", "   Right Ctrl+A"},  // right wins when both are set
    {0x0400, "   Shift", "   Shift"},                // a modifier alone: no "+"
    {0x1400, "   Shift+Alt", "   Shift+Alt"},
    {0x2100, "   Ctrl+Right Alt", "   Ctrl+Right Alt"},
    {0x00C8, "   Up", "   Up"},  // 0x80 + 0x48: the extended key of scan code 0x48
    {0x0045, "   Pause", "   Pause"},        // the recorded Pause (stored as 0x45)
    {0x00C5, "   Num Lock", "   Num Lock"},  // the recorded Num Lock (stored as 0xC5)
    {0x091E, "   Ctrl+Right Shift+A", "   Ctrl+Right Shift+A"},
    {0x00DB, "   Left Windows", "   Left Windows"},
    {0x4100, "   Ctrl", "   Ctrl+"},
    {0x8400, "   Shift", "   Shift+"},
    {0x0000, "   ", ""},
};

TEST(KeyCodeText, BothStylesFollowTheirRules) {
    const MemoryKeyNames names = usKeyNames();
    for (const Case& c : kCases) {
        EXPECT_EQ(c.buttonPage, keyCodeText(c.code, names, KeyTextStyle::ButtonPage)) << std::hex << c.code;
        EXPECT_EQ(c.print, keyCodeText(c.code, names, KeyTextStyle::Print)) << std::hex << c.code;
    }
}

TEST(KeyCodeText, KeyBytesAboveTheScanCodeRangeAreExtendedKeys) {
    EXPECT_EQ(0x00800000u, keyNameParam(0x80));
    EXPECT_EQ(0x01010000u, keyNameParam(0x81));
    EXPECT_EQ(0x017F0000u, keyNameParam(0xFF));
}

}  // namespace
}  // namespace zentra

// The printout's lines and their pages, over a printer that records them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cpl/pages/key_names_memory.h"
#include "cpl/pages/print_layout.h"

namespace zentra {
namespace {

struct PrintedLine {
    int page, y;
    std::string text;
    bool operator==(const PrintedLine& o) const { return page == o.page && y == o.y && text == o.text; }
};

class RecordingPrinter final : public Printer {
public:
    bool startPage() override { return ++pages != failStartAt; }
    void text(int, int y, const std::string& line) override { printed.push_back({pages, y, line}); }
    bool endPage() override { return pages != failEndAt; }
    int pages = 0, failStartAt = -1, failEndAt = -1;
    std::vector<PrintedLine> printed;
};

Preset keyedPreset() {
    Preset p{};
    resetPreset(p, Deliverable::Panel);
    setPresetText(p.gameName, "Rally X");
    setPresetText(p.exePath, "C:\\Games\\RALLYX.EXE");
    p.buttonKeys[0][0] = 0x41E;              // Shift+A
    p.buttonKeys[0][1] = 0x30;               // B
    p.buttonKeys[12][0] = 0x1000;            // Alt alone
    p.buttonKeys[20][0] = 0x1C8;             // Ctrl+Up (extended)
    for (int i = 0; i < 32; ++i) p.buttonKeys[5][i] = 0x1E;  // 32 codes, 30 printed
    return p;
}

TEST(PrintLayout, LinesFollowTheTableOfTheirPlaces) {
    const std::vector<std::string> lines = printLines(keyedPreset(), usKeyNames());
    ASSERT_EQ(lines.size(), size_t(kPrintLineCount));
    const struct { int line; std::string text; } expected[] = {
        {0, "Rally X"},           {1, "C:\\Games\\RALLYX.EXE"}, {2, ""},
        {3, "Button 1:"},         {4, "   Shift+A   B"},        {27, "Button 13:"},
        {28, "   Alt"},           {29, ""},                     {31, "POV 1:"},
        {32, ""},                 {45, "POV 8:"},               {46, "   Ctrl+Up"},
    };
    for (const auto& e : expected) EXPECT_EQ(lines[e.line], e.text) << "line " << e.line;
    EXPECT_EQ(lines[14], std::string() + [] {
        std::string s;
        for (int i = 0; i < 30; ++i) s += "   A";
        return s;
    }());
}

// Key lines written out as the printout's rules give them for a US layout.
TEST(PrintLayout, KeyLinesSpellEachCodeByTheRules) {
    const struct {
        std::vector<uint16_t> codes;
        const char* line;
    } cases[] = {
        {{0x1E, 0, 0x30}, "   A"},                   // the first 0 ends the slot
        {{0x81E}, "   Right Shift+A"},
        {{0xC1E}, "   Right Shift+A"},               // both Shift bits: the right name only
        {{0x101E}, "   Alt+A"},
        {{0x301E, 0x2000}, "   Right Alt+A   Right Alt"},  // both Alt bits; Alt alone has no "+"
        {{0x51E}, "   Ctrl+Shift+A"},
        {{0x1200}, "   Right Ctrl+Alt"},
        {{0x1C8}, "   Ctrl+Up"},
    };
    for (const auto& c : cases) {
        Preset p{};
        resetPreset(p, Deliverable::Panel);
        for (size_t k = 0; k < c.codes.size(); ++k) p.buttonKeys[3][k] = c.codes[k];
        EXPECT_EQ(printLines(p, usKeyNames())[10], c.line);  // "Button 4:" is line 9
    }
}

TEST(PrintLayout, BlankLinesAtTheEndMakeNoPageOfTheirOwn) {
    Preset p = keyedPreset();
    p.buttonKeys[20][0] = 0;  // the last line, POV 8's keys, is blank
    RecordingPrinter printer;
    ASSERT_TRUE(printPages(printer, printLines(p, usKeyNames()), PrintMetrics{10, 80, 460}));  // 46 lines a page
    EXPECT_EQ(printer.pages, 1);
    EXPECT_EQ(printer.printed.back(), (PrintedLine{1, 450, "POV 8:"}));
}

TEST(PrintLayout, KeyCodeTextAppendsOrReplaces) {
    std::string line = "x";
    keyCodeText(0x1E, line, true, usKeyNames());
    EXPECT_EQ(line, "x   A");
    keyCodeText(0x30, line, false, usKeyNames());
    EXPECT_EQ(line, "   B");
    keyCodeText(0, line, true, usKeyNames());
    EXPECT_EQ(line, "   B");
}

TEST(PrintLayout, OnePageHoldsEverythingWhenTallEnough) {
    RecordingPrinter printer;
    const PrintMetrics metrics{10, 8, 470};
    ASSERT_TRUE(printPages(printer, printLines(keyedPreset(), usKeyNames()), metrics));
    EXPECT_EQ(printer.pages, 1);
    EXPECT_EQ(printer.printed.front(), (PrintedLine{1, 0, "Rally X"}));
    EXPECT_EQ(printer.printed[2], (PrintedLine{1, 30, "Button 1"}));  // cut to 8 characters
    EXPECT_EQ(printer.printed.back(), (PrintedLine{1, 460, "   Ctrl+"}));
}

TEST(PrintLayout, ShortPagesContinueOnTheNextFromTheTop) {
    RecordingPrinter printer;
    const PrintMetrics metrics{10, 80, 205};  // 20 lines a page
    ASSERT_TRUE(printPages(printer, printLines(keyedPreset(), usKeyNames()), metrics));
    EXPECT_EQ(printer.pages, 3);
    const auto found = [&](const std::string& text) {
        for (const PrintedLine& l : printer.printed)
            if (l.text == text) return l;
        return PrintedLine{0, 0, ""};
    };
    EXPECT_EQ(found("Button 9:"), (PrintedLine{1, 190, "Button 9:"}));     // line 19
    EXPECT_EQ(found("Button 10:"), (PrintedLine{2, 10, "Button 10:"}));    // line 21
    EXPECT_EQ(found("   Ctrl+Up"), (PrintedLine{3, 60, "   Ctrl+Up"}));    // line 46
}

TEST(PrintLayout, AFailedPageStopsTheJob) {
    const std::vector<std::string> lines = printLines(keyedPreset(), usKeyNames());
    RecordingPrinter startFails;
    startFails.failStartAt = 2;
    EXPECT_FALSE(printPages(startFails, lines, PrintMetrics{10, 80, 100}));
    EXPECT_EQ(startFails.pages, 2);
    RecordingPrinter endFails;
    endFails.failEndAt = 1;
    EXPECT_FALSE(printPages(endFails, lines, PrintMetrics{10, 80, 100}));
    EXPECT_EQ(endFails.pages, 1);
}

}  // namespace
}  // namespace zentra

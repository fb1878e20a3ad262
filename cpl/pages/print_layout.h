// What a preset's printout holds and where each line goes: the game's name
// and path, then for each wheel button and D-pad slot a title line and the
// slot's keys by their names. Lines that do not fit on a page continue on
// the next one. The printer is a seam: Win32 prints on a device context,
// tests record the pages.
#pragma once

#include <string>
#include <vector>

#include "cpl/pages/key_code_text.h"
#include "preset/preset.h"

namespace zentra {

// The printout's 47 lines, line 0 at the top; blank lines are empty texts.
constexpr int kPrintLineCount = 47;
std::vector<std::string> printLines(const Preset& preset, const KeyNames& names);

// The printout's text of one key code appended to `line` (append true) or
// put in its place.
void keyCodeText(uint16_t code, std::string& line, bool append, const KeyNames& names);

// Draws pages of text lines.
class Printer {
public:
    virtual ~Printer() = default;
    virtual bool startPage() = 0;
    virtual void text(int x, int y, const std::string& line) = 0;
    virtual bool endPage() = 0;
};

struct PrintMetrics {
    int lineHeight;    // tmHeight + tmExternalLeading
    int charsPerLine;  // HORZRES / tmAveCharWidth
    int pageHeight;    // VERTRES
};

// Lines per page: at least one, so that a tiny page still makes progress.
int linesPerPage(const PrintMetrics& metrics);

// Prints `lines` (each cut to charsPerLine) from y = 0 of each page, as many
// per page as fit. Blank lines at the end of the printout make no page of
// their own. Returns false as soon as a page cannot be started or ended;
// the caller then abandons the document.
bool printPages(Printer& printer, const std::vector<std::string>& lines, const PrintMetrics& metrics);

}  // namespace zentra

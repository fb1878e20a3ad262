#include "cpl/pages/print_layout.h"

#include <algorithm>
#include <cstring>

namespace zentra {

namespace {

// A slot's key line: the texts of its first 30 codes, up to the first 0.
std::string keyLine(const KeyCode* codes, const KeyNames& names) {
    std::string line;
    for (int i = 0; i < 30 && codes[i] != 0; ++i) keyCodeText(codes[i], line, true, names);
    return line;
}

}  // namespace

void keyCodeText(uint16_t code, std::string& line, bool append, const KeyNames& names) {
    const std::string text = keyCodeText(code, names, KeyTextStyle::Print);
    line = append ? line + text : text;
}

std::vector<std::string> printLines(const Preset& preset, const KeyNames& names) {
    std::vector<std::string> lines(kPrintLineCount);
    lines[0] = std::string(preset.gameName, strnlen(preset.gameName, kTextSize));
    lines[1] = std::string(preset.exePath, strnlen(preset.exePath, kTextSize));
    for (int i = 1; i <= kWheelButtonSlots; ++i) {
        lines[3 + 2 * (i - 1)] = "Button " + std::to_string(i) + ":";
        lines[4 + 2 * (i - 1)] = keyLine(preset.buttonKeys[i - 1], names);
    }
    for (int j = 1; j <= kEmulationSlots - kWheelButtonSlots; ++j) {
        lines[31 + 2 * (j - 1)] = "POV " + std::to_string(j) + ":";
        lines[32 + 2 * (j - 1)] = keyLine(preset.buttonKeys[kWheelButtonSlots + j - 1], names);
    }
    return lines;
}

int linesPerPage(const PrintMetrics& metrics) {
    if (metrics.lineHeight <= 0) return 1;
    return std::max(1, metrics.pageHeight / metrics.lineHeight);
}

bool printPages(Printer& printer, const std::vector<std::string>& lines, const PrintMetrics& metrics) {
    int last = int(lines.size());
    while (last > 0 && lines[last - 1].empty()) --last;
    const int perPage = linesPerPage(metrics);
    const size_t width = size_t(std::max(metrics.charsPerLine, 0));
    int line = 0;
    do {
        bool ok = printer.startPage();
        for (int row = 0; ok && row < perPage && line < last; ++row, ++line)
            if (!lines[line].empty()) printer.text(0, row * metrics.lineHeight, lines[line].substr(0, width));
        if (!printer.endPage() || !ok) return false;
    } while (line < last);
    return true;
}

}  // namespace zentra

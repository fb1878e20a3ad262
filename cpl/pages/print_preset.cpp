#include "cpl/pages/print_preset.h"

#include <commdlg.h>

#include "cpl/frame/panel_state.h"
#include "cpl/pages/print_layout.h"

namespace zentra {

namespace {

class DcPrinter final : public Printer {
public:
    explicit DcPrinter(HDC dc) : dc_(dc) {}
    bool startPage() override { return StartPage(dc_) > 0; }
    void text(int x, int y, const std::string& line) override { TextOutA(dc_, x, y, line.c_str(), int(line.size())); }
    bool endPage() override { return EndPage(dc_) > 0; }

private:
    HDC dc_;
};

}  // namespace

void printPreset(HINSTANCE, HWND owner, int) {
    PRINTDLGA dialog{};
    dialog.lStructSize = sizeof dialog;  // 66 in the 32-bit layout the flags were chosen for
    dialog.hwndOwner = owner;
    dialog.Flags = PD_RETURNDC | PD_COLLATE | PD_NOSELECTION;
    const BOOL chosen = PrintDlgA(&dialog);
    // The dialog's memory is the caller's, chosen or not.
    if (dialog.hDevMode) GlobalFree(dialog.hDevMode);
    if (dialog.hDevNames) GlobalFree(dialog.hDevNames);
    if (!chosen || !dialog.hDC) return;
    HDC dc = dialog.hDC;
    TEXTMETRICA metrics{};
    GetTextMetricsA(dc, &metrics);
    PrintMetrics layout{};
    layout.lineHeight = metrics.tmHeight + metrics.tmExternalLeading;
    layout.charsPerLine = metrics.tmAveCharWidth > 0 ? GetDeviceCaps(dc, HORZRES) / metrics.tmAveCharWidth : 0;
    layout.pageHeight = GetDeviceCaps(dc, VERTRES);
    EnableWindow(owner, FALSE);
    char title[255] = "";
    GetWindowTextA(owner, title, sizeof title);  // 254 characters and the terminator
    DOCINFOA document{};
    document.cbSize = sizeof document;
    document.lpszDocName = title;
    if (StartDocA(dc, &document) > 0) {
        DcPrinter printer(dc);
        if (printPages(printer, printLines(panelState().currentPreset, systemKeyNames()), layout))
            EndDoc(dc);
        else
            AbortDoc(dc);
    } else {
        EndDoc(dc);
    }
    DeleteDC(dc);
    EnableWindow(owner, TRUE);
}

}  // namespace zentra

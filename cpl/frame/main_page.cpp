#include "cpl/frame/main_page.h"

#include <commctrl.h>
#include <prsht.h>

namespace zentra {

namespace {

CplPropertySheet* g_sheet = nullptr;

}  // namespace

CplPropertySheet* mainPageSheet() { return g_sheet; }

INT_PTR CALLBACK MainPage(HWND dialog, UINT message, WPARAM, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG: {
        // lParam is the page's PROPSHEETPAGE; its own lParam the sheet object.
        const auto* page = reinterpret_cast<const PROPSHEETPAGEA*>(lParam);
        g_sheet = page ? reinterpret_cast<CplPropertySheet*>(page->lParam) : nullptr;
        return TRUE;
    }
    case WM_NOTIFY:
        if (reinterpret_cast<const NMHDR*>(lParam)->code == UINT(PSN_APPLY)) {
            OutputDebugStringA("WM_NOTIFY - PSN_APPLY\n");
            SetWindowLongPtrA(dialog, DWLP_MSGRESULT, PSNRET_NOERROR);
            return TRUE;
        }
        return FALSE;
    default:
        return FALSE;
    }
}

}  // namespace zentra

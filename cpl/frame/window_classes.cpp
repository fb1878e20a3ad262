// The window classes of the plug-in's pages and controls, registered by
// every sheet object.
#include "cpl/frame/cpl_module.h"

namespace zentra {

namespace {

struct PageClass {
    const char* name;
    WNDPROC procedure;
    HBRUSH background;
};

// In the order of registration. "SENSIBCUSTOM" alone has a background:
// system colour brush 16 (COLOR_BTNFACE + 1).
const PageClass kClasses[] = {
    {"ANCHORCUSTOM", AnchorCustomProc, nullptr},
    {"SENSIBCUSTOM", SensibCustomProc, reinterpret_cast<HBRUSH>(16)},
    {"CUSTOMICON", CustomIconProc, nullptr},
    {"MOVEICON", MoveIconProc, nullptr},
    {"BUTTONWINDOW", ButtonWindowProc, nullptr},
    {"POVWINDOW", PovWindowProc, nullptr},
    {"TESTWINDOW", TestWindowProc, nullptr},
    {"SENSWINDOW", SensWindowProc, nullptr},
    {"AXEWINDOW", AxeWindowProc, nullptr},
};

}  // namespace

void registerCplWindowClasses() {
    for (const PageClass& c : kClasses) {
        WNDCLASSA wc{};
        wc.style = CS_HREDRAW | CS_VREDRAW;
        wc.lpfnWndProc = c.procedure;
        wc.hInstance = cplModuleInstance();
        wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
        wc.hbrBackground = c.background;
        wc.lpszClassName = c.name;
        // A second sheet object finds the classes registered: that failure
        // is expected and ignored.
        RegisterClassA(&wc);
    }
}

}  // namespace zentra

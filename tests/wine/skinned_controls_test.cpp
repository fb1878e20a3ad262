// The skinned controls on real GDI and USER: the painters drawing into a
// 32-bit DIB section from a source bitmap with one colour per picture, the
// edit field reshaped between its two forms, a child page's region, the
// outline, the tooltip tools, "CUSTOMICON", and the About box from the
// plug-in's own resources.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include "tests/wine/support/screen_pixels.h"
#include "tests/wine/support/wine_test_support.h"

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "cpl/frame/cpl_module.h"
#include "cpl/frame/panel_state.h"
#include "cpl/frame/skin_logic.h"
#include "cpl/frame/skinned_controls.h"

namespace zentra {
namespace {

// A top-down 32-bit DIB section selected into a memory drawing context.
class Canvas {
public:
    Canvas(int width, int height) : width_(width), height_(height) {
        const BITMAPINFO info = TopDown32Header(width, height);
        void* bits = nullptr;
        bitmap_ = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        bits_ = static_cast<uint32_t*>(bits);
        dc_ = CreateCompatibleDC(nullptr);
        old_ = SelectObject(dc_, bitmap_);
    }
    ~Canvas() {
        if (!released_) SelectObject(dc_, old_);
        DeleteDC(dc_);
        DeleteObject(bitmap_);
    }
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    // Takes the bitmap out of the canvas's context, so that a painter can
    // select it into its own; the pixels stay readable.
    void release() {
        SelectObject(dc_, old_);
        released_ = true;
    }
    HDC dc() const { return dc_; }
    HBITMAP bitmap() const { return bitmap_; }
    int width() const { return width_; }
    int height() const { return height_; }
    // As a COLORREF (0x00BBGGRR); the DIB holds 0x00RRGGBB.
    COLORREF at(int x, int y) const {
        GdiFlush();
        const uint32_t p = bits_[y * width_ + x] & 0xFFFFFF;
        return RGB(p >> 16 & 0xFF, p >> 8 & 0xFF, p & 0xFF);
    }
    void fill(COLORREF colour, const RECT& r) {
        HBRUSH brush = CreateSolidBrush(colour);
        FillRect(dc_, &r, brush);
        DeleteObject(brush);
    }
    void fill(COLORREF colour) { fill(colour, RECT{0, 0, width_, height_}); }
    // Pixels of the whole canvas that are not `colour`.
    int countOther(COLORREF colour) const {
        int n = 0;
        for (int y = 0; y < height_; ++y)
            for (int x = 0; x < width_; ++x) n += at(x, y) != colour;
        return n;
    }

private:
    int width_, height_;
    HBITMAP bitmap_;
    HDC dc_;
    HGDIOBJ old_;
    uint32_t* bits_ = nullptr;
    bool released_ = false;
};

// The source bitmap: a grid of 40 x 30 cells, each of its own colour; the
// cell at the corner is the disabled picture.
constexpr int kCellW = 40, kCellH = 30;
constexpr COLORREF kUntouched = RGB(1, 2, 3);
constexpr COLORREF kCellColour[2][4] = {
    {RGB(200, 30, 30), RGB(30, 200, 30), RGB(30, 30, 200), RGB(200, 200, 30)},
    {RGB(30, 200, 200), RGB(200, 30, 200), RGB(120, 60, 10), RGB(10, 60, 120)},
};
RECT cell(int column, int row) {
    return RECT{column * kCellW, row * kCellH, column * kCellW + kCellW, row * kCellH + kCellH};
}
COLORREF cellColour(const RECT& picture) { return kCellColour[picture.top / kCellH][picture.left / kCellW]; }

class SourceBitmap : public Canvas {
public:
    SourceBitmap() : Canvas(4 * kCellW, 2 * kCellH) {
        for (int row = 0; row < 2; ++row)
            for (int column = 0; column < 4; ++column) fill(kCellColour[row][column], cell(column, row));
        GdiFlush();
        release();
    }
};

// A control's drawing request with the control's DC and rectangle.
DRAWITEMSTRUCT request(const Canvas& target, UINT action, UINT state, HWND control = nullptr) {
    DRAWITEMSTRUCT r{};
    r.CtlType = ODT_BUTTON;
    r.itemAction = action;
    r.itemState = state;
    r.hwndItem = control;
    r.hDC = target.dc();
    r.rcItem = RECT{0, 0, target.width(), target.height()};
    return r;
}

// Tab-like pictures: normal, hovered, selected; push-button pictures.
const RECT kPicture0 = cell(1, 0), kPicture1 = cell(2, 0), kPicture2 = cell(3, 0);
const RECT kNormal = cell(1, 1), kPressed = cell(2, 1), kFocused = cell(3, 1);
const COLORREF kCorner = kCellColour[0][0];

TEST(SkinPainters, SkinButtonCopiesTheStatesPictureAtTheControlsSize) {
    SourceBitmap source;
    Canvas control(kCellW, kCellH);
    const RECT* pictures[] = {&kPicture0, &kPicture1, &kPicture2, &kPicture2};
    for (int state = 0; state < 4; ++state) {
        control.fill(kUntouched);
        DRAWITEMSTRUCT r = request(control, ODA_DRAWENTIRE, 0);
        EXPECT_EQ(1, PaintSkinButton(&r, source.bitmap(), kPicture0, kPicture1, kPicture2, state));
        EXPECT_EQ(0, control.countOther(cellColour(*pictures[state]))) << "state " << state;
    }
    // A focus change paints nothing; neither does a missing bitmap.
    control.fill(kUntouched);
    DRAWITEMSTRUCT focus = request(control, ODA_FOCUS, ODS_FOCUS);
    PaintSkinButton(&focus, source.bitmap(), kPicture0, kPicture1, kPicture2, 0);
    DRAWITEMSTRUCT entire = request(control, ODA_DRAWENTIRE, 0);
    PaintSkinButton(&entire, nullptr, kPicture0, kPicture1, kPicture2, 0);
    EXPECT_EQ(0, control.countOther(kUntouched));
}

TEST(SkinPainters, DisabledSkinButtonIsHatchedEveryThirdColumnInTheCurrentPen) {
    SourceBitmap source;
    Canvas control(kCellW - 3, kCellH);  // 37 wide: lines at 0, 3, ..., 36
    control.fill(kUntouched);
    const COLORREF penColour = RGB(250, 0, 250);
    HPEN pen = CreatePen(PS_SOLID, 1, penColour);
    HGDIOBJ oldPen = SelectObject(control.dc(), pen);
    HGDIOBJ brushBefore = GetCurrentObject(control.dc(), OBJ_BRUSH);

    DRAWITEMSTRUCT r = request(control, ODA_SELECT, ODS_DISABLED);
    EXPECT_EQ(1, PaintSkinButton(&r, source.bitmap(), kPicture0, kPicture1, kPicture2, 1));
    for (int x = 0; x < control.width(); ++x)
        for (int y = 0; y < control.height(); ++y) {
            const COLORREF expected = x % 3 == 0 ? penColour : cellColour(kPicture1);
            ASSERT_EQ(expected, control.at(x, y)) << "at " << x << ", " << y;
        }
    EXPECT_EQ(brushBefore, GetCurrentObject(control.dc(), OBJ_BRUSH)) << "the hatching brush stays selected";

    // Disabled together with another state bit is not "disabled": no lines.
    control.fill(kUntouched);
    DRAWITEMSTRUCT selected = request(control, ODA_DRAWENTIRE, ODS_DISABLED | ODS_SELECTED);
    PaintSkinButton(&selected, source.bitmap(), kPicture0, kPicture1, kPicture2, 1);
    EXPECT_EQ(0, control.countOther(cellColour(kPicture1)));
    SelectObject(control.dc(), oldPen);
    DeleteObject(pen);
}

// At twice the size, lines two columns wide, four apart: the pattern looks
// as it does at 96 DPI.
TEST(SkinPainters, DisabledSkinButtonsHatchingGrowsWithTheScale) {
    SourceBitmap source;
    setSkinScale(SkinScale{1188, 738, 200});
    Canvas control(2 * 37, kCellH);
    control.fill(kUntouched);
    const COLORREF penColour = RGB(250, 0, 250);
    HPEN pen = CreatePen(PS_SOLID, 1, penColour);
    HGDIOBJ oldPen = SelectObject(control.dc(), pen);
    DRAWITEMSTRUCT r = request(control, ODA_SELECT, ODS_DISABLED);
    PaintSkinButton(&r, source.bitmap(), RECT{0, 0, 20, 15}, RECT{0, 0, 20, 15}, RECT{0, 0, 20, 15}, 1);
    resetSkinScale();
    for (int x = 0; x < control.width(); ++x)
        EXPECT_EQ((x / 2) % 3 == 0, control.at(x, kCellH / 2) == penColour) << "column " << x;
    SelectObject(control.dc(), oldPen);
    DeleteObject(pen);
}

TEST(SkinPainters, PushButtonPressedOnlyWhileHeldDown) {
    SourceBitmap source;
    Canvas control(kCellW, kCellH);
    struct Case {
        UINT action, state;
        COLORREF shown;
    } cases[] = {
        {ODA_DRAWENTIRE, 0, cellColour(kNormal)},
        {ODA_SELECT, ODS_SELECTED | ODS_FOCUS, cellColour(kPressed)},  // state 17: held down
        {ODA_SELECT, ODS_FOCUS, cellColour(kNormal)},                  // exactly the focus: released
        {ODA_FOCUS, ODS_FOCUS, cellColour(kFocused)},
        {ODA_FOCUS, ODS_SELECTED | ODS_FOCUS, kUntouched},
        {ODA_DRAWENTIRE, ODS_DISABLED, kCorner},                       // normal, then the corner over it
    };
    for (const Case& c : cases) {
        control.fill(kUntouched);
        DRAWITEMSTRUCT r = request(control, c.action, c.state);
        EXPECT_EQ(1, PaintPushButton(&r, source.bitmap(), kNormal, kPressed, kFocused));
        EXPECT_EQ(0, control.countOther(c.shown)) << "action " << c.action << " state " << c.state;
    }
}

// The pixels `text` covers when drawn centred in `box` with its top moved
// down by `offset`, as a mask.
std::vector<bool> textMask(const Canvas& like, HFONT font, const char* text, int offset) {
    Canvas reference(like.width(), like.height());
    reference.fill(RGB(0, 0, 0));
    HGDIOBJ old = SelectObject(reference.dc(), font);
    SetBkMode(reference.dc(), TRANSPARENT);
    SetTextColor(reference.dc(), RGB(255, 255, 255));
    RECT box{0, offset, like.width(), like.height()};
    DrawTextA(reference.dc(), text, -1, &box, DT_CENTER);
    SelectObject(reference.dc(), old);
    std::vector<bool> mask;
    for (int y = 0; y < like.height(); ++y)
        for (int x = 0; x < like.width(); ++x) mask.push_back(reference.at(x, y) != RGB(0, 0, 0));
    return mask;
}

TEST(SkinPainters, LabelIsWhiteTextWithADarkShadowOnePixelBelow) {
    // A label-sized picture beside the bitmap's corner.
    constexpr int kWidth = 120, kHeight = 30;
    const COLORREF cornerColour = RGB(90, 20, 20), pictureColour = RGB(20, 40, 110);
    const RECT picture{kWidth, kHeight, 2 * kWidth, 2 * kHeight};
    Canvas source(2 * kWidth, 2 * kHeight);
    source.fill(cornerColour);
    source.fill(pictureColour, picture);
    source.release();

    const char kText[] = "Wheel 13";
    HWND label =
        CreateWindowExA(0, "STATIC", kText, WS_POPUP, 0, 0, kWidth, kHeight, nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(label);
    // Not smoothed, so that every text pixel is exactly black or white.
    HFONT font = CreateFontA(-13, 0, 0, 0, FW_BOLD, 0, 0, 0, ANSI_CHARSET, 0, 0, NONANTIALIASED_QUALITY, 0, "Arial");
    Canvas control(kWidth, kHeight);
    struct Case {
        UINT action, state;
        COLORREF background;
        int shadowOffset, textOffset;
    } cases[] = {
        {ODA_DRAWENTIRE, 0, pictureColour, 5, 4},
        {ODA_SELECT, ODS_DISABLED, cornerColour, 1, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "action " << c.action << " state " << c.state);
        control.fill(kUntouched);
        DRAWITEMSTRUCT r = request(control, c.action, c.state, label);
        EXPECT_EQ(1, PaintLabel(&r, source.bitmap(), picture, font));
        const std::vector<bool> white = textMask(control, font, kText, c.textOffset);
        const std::vector<bool> shadow = textMask(control, font, kText, c.shadowOffset);
        int whitePixels = 0, shadowBelow = 0, wrong = 0;
        for (int y = 0; y < control.height(); ++y)
            for (int x = 0; x < control.width(); ++x) {
                const size_t i = size_t(y * control.width() + x);
                const COLORREF expected =
                    white[i] ? RGB(255, 255, 255) : shadow[i] ? RGB(0, 0, 0) : c.background;
                wrong += control.at(x, y) != expected;
                whitePixels += white[i];
                // A white pixel at the bottom of a stroke has its shadow below it.
                if (white[i] && y + 1 < control.height() && control.at(x, y + 1) == RGB(0, 0, 0)) ++shadowBelow;
            }
        EXPECT_EQ(0, wrong);
        EXPECT_GT(whitePixels, 20);
        EXPECT_GT(shadowBelow, 5);
        EXPECT_EQ(c.background, control.at(0, 0));
    }
    // Without a font the context's own is used; the text still shows.
    control.fill(kUntouched);
    DRAWITEMSTRUCT r = request(control, ODA_DRAWENTIRE, 0, label);
    PaintLabel(&r, source.bitmap(), picture, nullptr);
    EXPECT_GT(control.countOther(pictureColour), 20);
    DeleteObject(font);
    DestroyWindow(label);
}

// A borderless, visible top-level window: its window rectangle is its
// client area, as for the control panel's pages.
class SkinnedWindow : public ::testing::Test {
protected:
    void SetUp() override {
        WNDCLASSA wc{};
        wc.lpfnWndProc = DefWindowProcA;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.hbrBackground = HBRUSH(GetStockObject(WHITE_BRUSH));
        wc.lpszClassName = "ZentraSkinTestPage";
        RegisterClassA(&wc);
        page_ = CreateWindowExA(0, wc.lpszClassName, "", WS_POPUP | WS_VISIBLE, 60, 40, 640, 480, nullptr, nullptr,
                                wc.hInstance, nullptr);
        ASSERT_TRUE(page_);
        UpdateWindow(page_);
        pump();
    }
    void TearDown() override {
        if (page_) DestroyWindow(page_);
    }
    static void pump() {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    }
    HWND page_ = nullptr;
};

struct FieldShape {
    DWORD style;
    RECT place;  // relative to the page
    std::string text;
};

FieldShape shapeOf(HWND page, HWND field) {
    FieldShape shape{DWORD(GetWindowLongA(field, GWL_STYLE)), {}, {}};
    GetWindowRect(field, &shape.place);
    MapWindowPoints(nullptr, page, reinterpret_cast<POINT*>(&shape.place), 2);
    char text[2048] = {};
    GetWindowTextA(field, text, sizeof text);
    shape.text = text;
    return shape;
}

using SkinnedEditField = SkinnedWindow;

TEST_F(SkinnedEditField, FifteenCharactersGrowAScrollBarAndFourteenGoBack) {
    constexpr int kId = 301;
    ASSERT_EQ(1, CreateEditField(page_, 20, 30, 96, 22, kId, kEditShortStyle));
    HWND field = GetDlgItem(page_, kId);
    ASSERT_TRUE(field);
    EXPECT_EQ(DWORD(WS_EX_TRANSPARENT), DWORD(GetWindowLongA(field, GWL_EXSTYLE)) & WS_EX_TRANSPARENT);
    const std::string fourteen = "A B C D E F GH", fifteen = fourteen + "I";
    ASSERT_EQ(14u, fourteen.size());

    // 14 characters: already the single-line box, the same window stays.
    SetWindowTextA(field, fourteen.c_str());
    EXPECT_EQ(1, FitEditField(page_, kId));
    EXPECT_EQ(field, GetDlgItem(page_, kId));

    struct Step {
        const std::string& text;
        DWORD style;
        int width, height;
    } steps[] = {{fifteen, kEditLongStyle, 95, 34}, {fourteen, kEditShortStyle, 96, 22}};
    for (const Step& step : steps) {
        SCOPED_TRACE(step.text);
        SetWindowTextA(GetDlgItem(page_, kId), step.text.c_str());
        EXPECT_EQ(1, FitEditField(page_, kId));
        HWND now = GetDlgItem(page_, kId);
        ASSERT_TRUE(now);
        EXPECT_FALSE(IsWindow(field)) << "the old field is destroyed";
        const FieldShape shape = shapeOf(page_, now);
        EXPECT_EQ(step.style, shape.style);
        EXPECT_EQ(20, shape.place.left);
        EXPECT_EQ(30, shape.place.top);
        EXPECT_EQ(step.width, shape.place.right - shape.place.left);
        EXPECT_EQ(step.height, shape.place.bottom - shape.place.top);
        EXPECT_EQ(step.text, shape.text);
        EXPECT_EQ(kId, GetDlgCtrlID(now));
        EXPECT_EQ(DWORD(WS_EX_TRANSPARENT), DWORD(GetWindowLongA(now, GWL_EXSTYLE)) & WS_EX_TRANSPARENT);
        field = now;
    }

    // A field of another style is left as it is, whatever its text.
    constexpr int kOther = 302;
    ASSERT_EQ(1, CreateEditField(page_, 20, 80, 60, 20, kOther, WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL));
    HWND other = GetDlgItem(page_, kOther);
    SetWindowTextA(other, fifteen.c_str());
    FitEditField(page_, kOther);
    EXPECT_EQ(other, GetDlgItem(page_, kOther));
    EXPECT_EQ(60, shapeOf(page_, other).place.right - 20);
}

using SkinnedPageRegion = SkinnedWindow;

TEST_F(SkinnedPageRegion, TwoHolesOrFiveWhereTheTabsAre) {
    struct Probe {
        POINT point;
        bool inTwo, inFive;  // inside the region with 2 and with 5 holes
    } probes[] = {
        {{300, 200}, true, true},   // the page
        {{0, 0}, true, true},
        {{593, 368}, true, true},
        {{594, 200}, false, false},  // beyond the page area
        {{300, 369}, false, false},
        {{549, 30}, false, false},   // test tab
        {{505, 2}, false, false},
        {{592, 58}, false, false},
        {{504, 2}, true, true},
        {{592, 59}, true, true},
        {{46, 340}, false, false},   // axis tab
        {{2, 311}, false, false},
        {{89, 367}, false, false},
        {{46, 280}, true, false},    // button tab, emulation wheel only
        {{2, 252}, true, false},
        {{89, 308}, true, false},
        {{2, 309}, true, true},      // between the button and axis tabs
        {{46, 220}, true, false},    // D-pad tab, emulation wheel only
        {{2, 202}, true, false},
        {{2, 201}, true, true},      // above the D-pad tab
        {{2, 250}, true, true},      // between the D-pad and button tabs
        {{549, 340}, true, false},   // presets tab, emulation wheel only
        {{592, 367}, true, false},
    };
    for (uint32_t emulation : {0u, 1u}) {
        panelState().wheel.link.isEmulationDevice = emulation;
        EXPECT_EQ(1, SetPageRegion(page_));
        HRGN region = CreateRectRgn(0, 0, 0, 0);
        ASSERT_EQ(COMPLEXREGION, GetWindowRgn(page_, region));
        RECT box{};
        GetRgnBox(region, &box);
        EXPECT_EQ(0, box.left);
        EXPECT_EQ(0, box.top);
        EXPECT_EQ(594, box.right);
        EXPECT_EQ(369, box.bottom);
        for (const Probe& p : probes)
            EXPECT_EQ(emulation ? p.inFive : p.inTwo, bool(PtInRegion(region, p.point.x, p.point.y)))
                << "emulation " << emulation << " at " << p.point.x << ", " << p.point.y;
        DeleteObject(region);
    }
    resetPanelState();
}

using SkinnedOutline = SkinnedWindow;

TEST_F(SkinnedOutline, ClosedOutlineThroughAllFourCorners) {
    HDC dc = GetDC(page_);
    RECT all{0, 0, 200, 200};
    FillRect(dc, &all, HBRUSH(GetStockObject(WHITE_BRUSH)));
    HPEN pen = CreatePen(PS_SOLID, 1, RGB(255, 0, 0));
    EXPECT_EQ(1, OutlineRect(page_, RECT{10, 20, 70, 60}, pen));
    const POINT on[] = {{10, 20}, {70, 20}, {70, 60}, {10, 60}, {40, 20}, {70, 40}, {40, 60}, {10, 40}};
    const POINT off[] = {{40, 40}, {11, 21}, {69, 59}, {9, 20}, {71, 20}, {40, 19}, {40, 61}};
    for (POINT p : on) EXPECT_EQ(RGB(255, 0, 0), GetPixel(dc, p.x, p.y)) << p.x << ", " << p.y;
    for (POINT p : off) EXPECT_EQ(RGB(255, 255, 255), GetPixel(dc, p.x, p.y)) << p.x << ", " << p.y;
    ReleaseDC(page_, dc);
    DeleteObject(pen);
}

using SkinnedTooltip = SkinnedWindow;

TEST_F(SkinnedTooltip, ToolsAreAddedAndRemovedPerControl) {
    ASSERT_EQ(1, CreateFlatButton(page_, 2, 311, 88, 57, 245));
    ASSERT_EQ(1, CreatePushLikeButton(page_, 505, 2, 88, 57, 246));
    EXPECT_EQ(DWORD(0x5601800B), DWORD(GetWindowLongA(GetDlgItem(page_, 245), GWL_STYLE)));
    EXPECT_EQ(DWORD(0x5601100B), DWORD(GetWindowLongA(GetDlgItem(page_, 246), GWL_STYLE)));

    HWND tooltip = CreateTooltip(page_);
    ASSERT_TRUE(tooltip);
    char className[64] = {};
    GetClassNameA(tooltip, className, sizeof className);
    EXPECT_STREQ("tooltips_class32", className);
    EXPECT_EQ(page_, GetWindow(tooltip, GW_OWNER));
    EXPECT_EQ(1, AddTooltipTool(page_, tooltip, 245));
    EXPECT_EQ(1, AddTooltipTool(page_, tooltip, 246));
    EXPECT_EQ(2, SendMessageA(tooltip, TTM_GETTOOLCOUNT, 0, 0));

    char text[80] = {};
    TTTOOLINFOA tool{};
    tool.cbSize = sizeof tool;
    tool.lpszText = text;  // where a text of its own would go
    ASSERT_TRUE(SendMessageA(tooltip, TTM_ENUMTOOLSA, 0, LPARAM(&tool)));
    EXPECT_EQ(page_, tool.hwnd);
    EXPECT_EQ(UINT_PTR(GetDlgItem(page_, 245)), tool.uId);
    EXPECT_TRUE(tool.uFlags & TTF_IDISHWND);
    EXPECT_EQ(LPSTR_TEXTCALLBACKA, tool.lpszText);

    EXPECT_EQ(1, RemoveTooltipTool(page_, tooltip, 245));
    EXPECT_EQ(1, SendMessageA(tooltip, TTM_GETTOOLCOUNT, 0, 0));
    EXPECT_EQ(1, RemoveTooltipTool(page_, tooltip, 246));
    EXPECT_EQ(0, SendMessageA(tooltip, TTM_GETTOOLCOUNT, 0, 0));
    DestroyWindow(tooltip);
}

using SkinnedCommands = SkinnedWindow;

// The second of two quick clicks on a skinned button is one more click; a
// code 5 of any other control (a combo box's CBN_EDITCHANGE) is left alone.
TEST_F(SkinnedCommands, ADoubleClickOnASkinnedButtonIsAClick) {
    ASSERT_EQ(1, CreateFlatButton(page_, 10, 10, 40, 12, 301));
    ASSERT_EQ(1, CreatePushLikeButton(page_, 60, 10, 40, 12, 302));
    CreateWindowExA(0, "COMBOBOX", "", WS_CHILD | CBS_DROPDOWN, 160, 10, 60, 80, page_, HMENU(303), nullptr, nullptr);
    const struct {
        int id;
        WORD code, seen;
    } cases[] = {{301, BN_DOUBLECLICKED, BN_CLICKED}, {302, BN_DOUBLECLICKED, BN_CLICKED}, {303, 5, 5}};
    for (const auto& c : cases)
        EXPECT_EQ(MAKEWPARAM(c.id, c.seen), skinnedCommand(MAKEWPARAM(c.id, c.code), LPARAM(GetDlgItem(page_, c.id))));
}

using CustomIcon = SkinnedWindow;

TEST_F(CustomIcon, BlackSquareWithTheCurrentGamesIcon) {
    WNDCLASSA wc{};
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = CustomIconProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.lpszClassName = "CUSTOMICON";
    RegisterClassA(&wc);
    HWND icon = CreateWindowExA(0, "CUSTOMICON", nullptr, WS_CHILD | WS_VISIBLE, 557, 331, 32, 32, page_, nullptr,
                                wc.hInstance, nullptr);
    ASSERT_TRUE(icon);

    auto paintedWith = [&](const char* exePath) {
        setPresetText(panelState().currentPreset.exePath, exePath);
        InvalidateRect(icon, nullptr, TRUE);
        UpdateWindow(icon);
        HDC dc = GetDC(icon);
        int black = 0;
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x) black += GetPixel(dc, x, y) == RGB(0, 0, 0);
        ReleaseDC(icon, dc);
        return black;
    };
    // No such file: the square stays black.
    EXPECT_EQ(32 * 32, paintedWith("C:\\no such folder\\nogame.exe"));
    // This program: its icon shows on the square.
    char self[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    EXPECT_LT(paintedWith(self), 32 * 32 - 100);
    resetPanelState();
}

// --- The About box, from the plug-in's resources --------------------------

// String `id` of exactly `language` in `module`, read from its string block.
std::string moduleString(HMODULE module, int id, WORD language) {
    HRSRC found = FindResourceExA(module, reinterpret_cast<LPCSTR>(RT_STRING), MAKEINTRESOURCEA(id / 16 + 1),
                                  language);
    if (!found) return "";
    const auto* entry = static_cast<const WCHAR*>(LockResource(LoadResource(module, found)));
    if (!entry) return "";
    for (int i = 0; i < id % 16; ++i) entry += 1 + *entry;
    char text[512] = {};
    WideCharToMultiByte(CP_ACP, 0, entry + 1, *entry, text, sizeof text - 1, nullptr, nullptr);
    return text;
}

// Writes what the screen shows as a BMP file.
bool saveScreen(const std::string& path) {
    const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    Canvas shot(width, height);
    HDC screen = GetDC(nullptr);
    BitBlt(shot.dc(), 0, 0, width, height, screen, 0, 0, SRCCOPY);
    ReleaseDC(nullptr, screen);
    GdiFlush();
    BITMAPINFOHEADER header{};
    header.biSize = sizeof header;
    header.biWidth = width;
    header.biHeight = -height;
    header.biPlanes = 1;
    header.biBitCount = 32;
    header.biCompression = BI_RGB;
    const DWORD pixels = DWORD(width) * DWORD(height) * 4;
    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof header;
    file.bfSize = file.bfOffBits + pixels;
    std::vector<uint32_t> bits(size_t(width) * size_t(height));
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const COLORREF c = shot.at(x, y);
            bits[size_t(y) * size_t(width) + size_t(x)] = uint32_t(GetRValue(c)) << 16 | GetGValue(c) << 8 | GetBValue(c);
        }
    FILE* out = std::fopen(path.c_str(), "wb");
    if (!out) return false;
    std::fwrite(&file, sizeof file, 1, out);
    std::fwrite(&header, sizeof header, 1, out);
    std::fwrite(bits.data(), pixels, 1, out);
    return std::fclose(out) == 0;
}

// What the watcher saw of the About box while it was open.
struct AboutSeen {
    DWORD uiThread = 0;
    HWND dialog = nullptr;
    std::string caption;
    RECT frame{};
    HWND link = nullptr;
    RECT linkFrame{};  // relative to the dialog's client area
    COLORREF backgroundPixels[3]{};
    COLORREF linkPixel = 0;
    bool screenshot = false;
};
const POINT kBackgroundProbes[3] = {{12, 9}, {300, 80}, {590, 150}};

BOOL CALLBACK findDialog(HWND window, LPARAM found) {
    char className[16] = {};
    GetClassNameA(window, className, sizeof className);
    if (std::strcmp(className, "#32770") == 0 && IsWindowVisible(window)) {
        *reinterpret_cast<HWND*>(found) = window;
        return FALSE;
    }
    return TRUE;
}

// Waits for the box on the test's thread, reads it, optionally takes a
// screenshot, and ends it with IDCANCEL.
DWORD WINAPI watchAbout(void* context) {
    auto& seen = *static_cast<AboutSeen*>(context);
    for (int i = 0; i < 200 && !seen.dialog; ++i) {
        Sleep(50);
        EnumThreadWindows(seen.uiThread, findDialog, LPARAM(&seen.dialog));
    }
    if (!seen.dialog) return 1;
    Sleep(700);  // painted by now
    char caption[256] = {};
    GetWindowTextA(seen.dialog, caption, sizeof caption);
    seen.caption = caption;
    GetWindowRect(seen.dialog, &seen.frame);
    seen.link = GetDlgItem(seen.dialog, IDC_ABOUT_LINK);
    if (seen.link) {
        GetWindowRect(seen.link, &seen.linkFrame);
        MapWindowPoints(nullptr, seen.dialog, reinterpret_cast<POINT*>(&seen.linkFrame), 2);
    }
    HDC dc = GetDC(seen.dialog);
    for (int i = 0; i < 3; ++i) seen.backgroundPixels[i] = GetPixel(dc, kBackgroundProbes[i].x, kBackgroundProbes[i].y);
    ReleaseDC(seen.dialog, dc);
    if (seen.link) {
        HDC linkDc = GetDC(seen.link);
        seen.linkPixel = GetPixel(linkDc, 20, 5);
        ReleaseDC(seen.link, linkDc);
    }
    // ZENTRA_SCREENSHOT_DIR: where to leave a picture of the screen.
    char folder[MAX_PATH] = {};
    if (GetEnvironmentVariableA("ZENTRA_SCREENSHOT_DIR", folder, MAX_PATH))
        seen.screenshot = saveScreen(std::string(folder) + "\\about-box.bmp");
    PostMessageA(seen.dialog, WM_COMMAND, IDCANCEL, 0);
    return 0;
}

[[maybe_unused]] COLORREF bitmapPixel(HMODULE module, int id, int x, int y) {
    HBITMAP bitmap = HBITMAP(LoadImageA(module, MAKEINTRESOURCEA(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    if (!bitmap) return CLR_INVALID;
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, bitmap);
    const COLORREF c = GetPixel(dc, x, y);
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(bitmap);
    return c;
}

// The plug-in (loaded) as the module the skin's routines take their
// resources from, in English, for the life of this object.
struct PluginAsModule {
    HMODULE plugin;
    HINSTANCE ownInstance = cplModuleInstance();
    WORD ownLanguage = UiLanguage;
    explicit PluginAsModule(HMODULE p) : plugin(p) {
        setCplModuleInstance(plugin);
        UiLanguage = 0x0409;
    }
    ~PluginAsModule() {
        setCplModuleInstance(ownInstance);
        UiLanguage = ownLanguage;
        FreeLibrary(plugin);
    }
};

// Whether `bitmap`, brought to a room of 1188 x 709, shows the 200 % set's
// `picture` at the place of `at` (by default, the picture's own).
bool showsPictureOf200(HBITMAP bitmap, const skin::Sprite& picture, const skin::Sprite* at = nullptr) {
    const RECT place = placeInRoom((at ? at : &picture)->x, (at ? at : &picture)->y, picture, 1188, 709);
    return GeneratedSet(2000).looksLike(bitmapPixels(bitmap, place), place, picture);
}

// The skin bitmap and the test page's, loaded as a batch. At 96 DPI, and at
// 200 % in a room of exactly twice the page, they are the 8-bit bitmaps as
// loaded and nothing is left to do. At 200 % in a
// room of 1188 x 709 they have the room's size at once and show the set's
// pictures, down to their last rows, once waited for or once the batch is
// ended at once: ending waits for the worker rather than leave it writing
// into bitmaps that may be deleted next.
TEST(SkinBitmaps, FittedToTheRoomWhenWaitedForOrWhenTheBatchEnds) {
    HMODULE plugin = LoadLibraryA(besideTests("ZentraCpl.dll").c_str());
    if (!plugin) GTEST_SKIP() << "ZentraCpl.dll is not beside the tests: the sets are its resources";
    setSkinScale(SkinScale{1188, 709, 200});
    EXPECT_EQ(nullptr, LoadSkinBitmap(skin::kSkinBitmap)) << "from a module without the bitmaps";
    resetSkinScale();
    const PluginAsModule module(plugin);
    const int ids[] = {skin::kSkinBitmap, skin::kTestBitmap};
    struct Batch {
        HBITMAP bitmaps[2] = {};
        SkinBitmapBatch* batch = nullptr;
        explicit Batch(const int* ids) { batch = StartSkinBitmaps(ids, bitmaps, 2); }
        ~Batch() {
            EndSkinBitmaps(batch);
            for (HBITMAP bitmap : bitmaps) DeleteObject(bitmap);
            resetSkinScale();
        }
    };
    const auto shape = [](HBITMAP bitmap) {
        BITMAP b{};
        GetObjectA(bitmap, sizeof b, &b);
        return std::to_string(b.bmWidth) + " x " + std::to_string(b.bmHeight) + " x " + std::to_string(b.bmBitsPixel);
    };
    {
        Batch at96(ids);
        EXPECT_EQ(nullptr, at96.batch);
        EXPECT_EQ("913 x 345 x 8", shape(at96.bitmaps[0]));
        EXPECT_EQ("595 x 370 x 8", shape(at96.bitmaps[1]));
    }
    {  // a room of exactly twice the page: the 200 % set's bitmaps as they are
        setSkinScale(SkinScale{1188, 738, 200});
        Batch exact(ids);
        EXPECT_EQ(nullptr, exact.batch);
        EXPECT_EQ("1826 x 690 x 8", shape(exact.bitmaps[0]));
        EXPECT_EQ("1190 x 740 x 8", shape(exact.bitmaps[1]));
    }
    for (const bool waitForEach : {true, false}) {
        SCOPED_TRACE(waitForEach ? "waited for" : "ended at once");
        setSkinScale(SkinScale{1188, 709, 200});
        Batch at200(ids);
        ASSERT_NE(nullptr, at200.batch);
        EXPECT_EQ("1826 x 663 x 32", shape(at200.bitmaps[0]));
        EXPECT_EQ("1190 x 711 x 32", shape(at200.bitmaps[1]));
        if (waitForEach) {
            WaitForSkinBitmap(at200.batch, at200.bitmaps[0]);
            EXPECT_TRUE(showsPictureOf200(at200.bitmaps[0], skin::kListRow));
            WaitForSkinBitmap(at200.batch, at200.bitmaps[1]);
            EXPECT_TRUE(showsPictureOf200(at200.bitmaps[1], skin::kTestPage));
        }
        EndSkinBitmaps(at200.batch);
        EXPECT_EQ(nullptr, at200.batch);
        EXPECT_TRUE(showsPictureOf200(at200.bitmaps[0], skin::kListRow));
        EXPECT_TRUE(showsPictureOf200(at200.bitmaps[1], skin::kTestPage));
        EXPECT_FALSE(showsPictureOf200(at200.bitmaps[0], skin::kListRowSelected, &skin::kListRow))
            << "a check that can fail";
    }
}

using AboutBox = SkinnedWindow;

TEST_F(AboutBox, OpensOverTheParentWithItsCaptionAndPicturesAndCancelGivesTwelve) {
    HMODULE plugin = LoadLibraryA(besideTests("ZentraCpl.dll").c_str());
    if (!plugin) {
        GTEST_SKIP() << "ZentraCpl.dll is not beside the tests: the About box needs its resources";
    }
    // The About box is linked into the tests; it takes its resources from
    // the plug-in, in English.
    const PluginAsModule module(plugin);
    const std::string expectedCaption = moduleString(plugin, 76, 0x0409);
    EXPECT_EQ("About...", expectedCaption);

    AboutSeen seen;
    seen.uiThread = GetCurrentThreadId();
    // Opened from a child window, as a page opens it: the box is placed by
    // that window, not by the top-level window that owns the dialog.
    HWND opener = CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE, 30, 20, 200, 100, page_, nullptr, nullptr,
                                  nullptr);
    ASSERT_TRUE(opener);
    HANDLE watcher = CreateThread(nullptr, 0, watchAbout, &seen, 0, nullptr);
    const INT_PTR result = ShowAbout(opener);
    WaitForSingleObject(watcher, 20000);
    CloseHandle(watcher);

    EXPECT_EQ(kAboutResult, result);
    ASSERT_TRUE(seen.dialog) << "no About box appeared";
    EXPECT_EQ(expectedCaption, seen.caption);
    RECT parent{};
    GetWindowRect(opener, &parent);
    EXPECT_EQ(parent.left + 10, seen.frame.left);
    EXPECT_EQ(parent.top + 100, seen.frame.top);
    EXPECT_EQ(600, seen.frame.right - seen.frame.left);
    EXPECT_EQ(187, seen.frame.bottom - seen.frame.top);
    ASSERT_TRUE(seen.link) << "no link button 272";
    EXPECT_EQ(143, seen.linkFrame.right - seen.linkFrame.left);
    EXPECT_EQ(11, seen.linkFrame.bottom - seen.linkFrame.top);
    EXPECT_EQ(445, seen.linkFrame.left);
    EXPECT_EQ(141, seen.linkFrame.top);
#ifdef ZENTRA_CPL_PICTURES
    // The background is bitmap 197 at the same offsets, the link button 196.
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(bitmapPixel(plugin, 197, kBackgroundProbes[i].x, kBackgroundProbes[i].y), seen.backgroundPixels[i])
            << "at " << kBackgroundProbes[i].x << ", " << kBackgroundProbes[i].y;
    EXPECT_EQ(bitmapPixel(plugin, 196, 20, 5), seen.linkPixel);
#endif
    if (GetEnvironmentVariableA("ZENTRA_SCREENSHOT_DIR", nullptr, 0)) {
        EXPECT_TRUE(seen.screenshot) << "the screenshot was not written";
    }
}

}  // namespace
}  // namespace zentra

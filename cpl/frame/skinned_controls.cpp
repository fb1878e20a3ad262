// The skinned controls: owner-draw painters, creation routines, the child
// page's region, "CUSTOMICON" and the About box. The decisions are in
// skin_logic; this file carries them out with GDI and USER.
#include "cpl/frame/skinned_controls.h"

#include <commctrl.h>
#include <prsht.h>
#include <shellapi.h>
#include <windowsx.h>

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <vector>

#include "cpl/frame/cpl_module.h"
#include "cpl/frame/panel_state.h"
#include "cpl/frame/skin_logic.h"
#include "cpl/res/cpl_resource.h"
#include "preset/display_scale.h"

namespace zentra {

namespace {

constexpr COLORREF kHatchBrushColour = 0x2D0410;
constexpr COLORREF kBlack = 0x000000;
constexpr COLORREF kWhite = 0xFFFFFF;
// The owner-drawn buttons' styles; they clip their children too.
constexpr DWORD kFlatButtonStyle =
    WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_TABSTOP | BS_FLAT | BS_OWNERDRAW;
constexpr DWORD kPushLikeButtonStyle =
    WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_TABSTOP | BS_PUSHLIKE | BS_OWNERDRAW;
static_assert(kFlatButtonStyle == 0x5601800B && kPushLikeButtonStyle == 0x5601100B, "button styles");

// The tool record handed to the tooltip: every field up to lParam. That is
// 44 bytes in a 32-bit build; this 64-bit build's pointers make it 64.
// (TTTOOLINFOA_V1_SIZE ends at lpszText: 40 and 56 bytes.)
constexpr UINT kToolRecordSize = UINT(offsetof(TTTOOLINFOA, lParam) + sizeof(LPARAM));

// About box: its caption's string id and the maker's web site, which its
// link button opens.
constexpr int kAboutCaption = 76;  // "About..."
constexpr char kMakerSite[] = "http://www.morvenhollow.example/";

SkinScale g_scale;

// The rows of a DIB section of 8 or 32 bits a pixel, to be read in place;
// an 8-bit one's colours go to `palette`. False for a bitmap of any other
// kind.
bool dibRows(HBITMAP bitmap, PictureRows& rows, std::vector<uint32_t>& palette) {
    DIBSECTION dib{};
    if (GetObjectA(bitmap, sizeof dib, &dib) != int(sizeof dib) || !dib.dsBm.bmBits) return false;
    const BITMAPINFOHEADER& header = dib.dsBmih;
    if (header.biCompression != BI_RGB || (header.biBitCount != 8 && header.biBitCount != 32)) return false;
    const int width = dib.dsBm.bmWidth, height = dib.dsBm.bmHeight;
    if (width <= 0 || height <= 0) return false;
    if (header.biBitCount == 8) {
        RGBQUAD colours[256] = {};
        HDC memory = CreateCompatibleDC(nullptr);
        HGDIOBJ old = SelectObject(memory, bitmap);
        const UINT count = GetDIBColorTable(memory, 0, 256, colours);
        SelectObject(memory, old);
        DeleteDC(memory);
        if (count == 0) return false;
        palette.assign(256, 0);
        for (UINT i = 0; i < count; ++i)
            palette[i] = uint32_t(colours[i].rgbRed) << 16 | uint32_t(colours[i].rgbGreen) << 8 | colours[i].rgbBlue;
        rows.palette = palette.data();
    }
    // Rows are padded to four bytes; a positive height is stored bottom-up.
    const ptrdiff_t stride = (ptrdiff_t(width) * header.biBitCount + 31) / 32 * 4;
    const uint8_t* stored = static_cast<const uint8_t*>(dib.dsBm.bmBits);
    const bool bottomUp = header.biHeight > 0;
    rows.top = bottomUp ? stored + stride * (height - 1) : stored;
    rows.stride = bottomUp ? -stride : stride;
    rows.width = width;
    rows.height = height;
    return true;
}

}  // namespace

BITMAPINFO TopDown32Header(int width, int height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

namespace {

// The rows of a bitmap of any kind (`shape` its size), copied out as
// 32-bit pixels into `copied`; `rows` stays empty when they cannot be read.
void copiedRows(HDC dc, HBITMAP bitmap, const BITMAP& shape, PictureRows& rows, std::vector<uint32_t>& copied) {
    BITMAPINFO info = TopDown32Header(shape.bmWidth, shape.bmHeight);
    copied.resize(size_t(shape.bmWidth) * size_t(shape.bmHeight));
    if (GetDIBits(dc, bitmap, 0, UINT(shape.bmHeight), copied.data(), &info, DIB_RGB_COLORS) != shape.bmHeight)
        return;
    rows.top = reinterpret_cast<const uint8_t*>(copied.data());
    rows.stride = ptrdiff_t(shape.bmWidth) * ptrdiff_t(sizeof(uint32_t));
    rows.width = shape.bmWidth;
    rows.height = shape.bmHeight;
}

// A picture's corner in a bitmap loaded with LoadSkinBitmap.
SkinPoint pointOf(const RECT& picture) { return SkinPoint{scaledX(picture.left), scaledY(picture.top)}; }
int widthOf(const RECT& r) { return r.right - r.left; }
int heightOf(const RECT& r) { return r.bottom - r.top; }

// The source of one painter call: a memory drawing context of its own
// holding the bitmap. Copies the picture at `from`, at the control's size,
// to the control's origin. Without a bitmap nothing is copied.
class PictureCopier {
public:
    PictureCopier(const DRAWITEMSTRUCT* request, HBITMAP bitmap) : request_(request) {
        if (!bitmap) return;
        memory_ = CreateCompatibleDC(request->hDC);
        if (memory_) old_ = SelectObject(memory_, bitmap);
    }
    ~PictureCopier() {
        if (!memory_) return;
        SelectObject(memory_, old_);
        DeleteDC(memory_);
    }
    PictureCopier(const PictureCopier&) = delete;
    PictureCopier& operator=(const PictureCopier&) = delete;

    void copy(SkinPoint from) const {
        if (!memory_) return;
        BitBlt(request_->hDC, 0, 0, widthOf(request_->rcItem), heightOf(request_->rcItem), memory_, from.x, from.y,
               SRCCOPY);
    }

private:
    const DRAWITEMSTRUCT* request_;
    HDC memory_ = nullptr;
    HGDIOBJ old_ = nullptr;
};

// Vertical lines over a disabled button, in the context's current pen: a
// line and the gap after it are as wide as at 96 DPI times the scale (a
// line of the pen for each pixel column of a wider line).
void hatch(const DRAWITEMSTRUCT* request) {
    HDC dc = request->hDC;
    const RECT& r = request->rcItem;
    HBRUSH brush = CreateSolidBrush(kHatchBrushColour);
    HGDIOBJ oldBrush = SelectObject(dc, brush);
    const int width = widthOf(r);
    for (int k : hatchLines(0, unscalePoint(g_scale, SkinPoint{width, 0}).x))
        for (int x = scaledX(k); x < scaledX(k + 1) && x < width; ++x) {
            MoveToEx(dc, r.left + x, r.top, nullptr);
            LineTo(dc, r.left + x, r.bottom);
        }
    SelectObject(dc, oldBrush);
    DeleteObject(brush);
}

void drawLabelText(HDC dc, const RECT& item, const char* text, int topOffset, COLORREF colour) {
    RECT box = item;
    box.top += topOffset;
    SetTextColor(dc, colour);
    DrawTextA(dc, text, -1, &box, DT_CENTER);
}

HWND createChild(HWND parent, const char* className, DWORD exStyle, DWORD style, const RECT& place, int id) {
    HWND child = CreateWindowExA(exStyle, className, nullptr, style, place.left, place.top, place.right - place.left,
                                 place.bottom - place.top, parent, nullptr, cplModuleInstance(), nullptr);
    if (child) SetWindowLongA(child, GWL_ID, id);
    return child;
}

int sendTool(HWND parent, HWND tooltip, int id, UINT message) {
    TTTOOLINFOA tool{};
    tool.cbSize = kToolRecordSize;
    tool.uFlags = TTF_IDISHWND;
    tool.hwnd = parent;
    tool.uId = UINT_PTR(GetDlgItem(parent, id));
    tool.lpszText = LPSTR_TEXTCALLBACKA;
    return SendMessageA(tooltip, message, 0, LPARAM(&tool)) ? 1 : 0;
}

// The About box's pictures, loaded at its start and deleted with it; one
// box exists at a time.
struct AboutPictures {
    HBITMAP background;
    HBITMAP link;
    HBITMAP linkHeld;
};
AboutPictures g_about;

// `parent` is the window handed to ShowAbout: for a page, a child window,
// while the dialog's own parent is the page's top-level window.
void initAbout(HWND dialog, HWND parent) {
    char caption[256] = {};
    LoadLocalizedString(cplModuleInstance(), kAboutCaption, UiLanguage, caption, sizeof caption);
    SetWindowTextA(dialog, caption);
    RECT frame{};
    GetWindowRect(parent, &frame);
    const SIZE size = scaledWindowSize(dialog, 600, 187);
    MoveWindow(dialog, frame.left + scaledX(10), frame.top + scaledY(100), size.cx, size.cy, TRUE);
    CreateFlatButton(dialog, 445, 141, 143, 11, IDC_ABOUT_LINK);
    g_about.background = LoadSkinBitmap(IDB_CPL_ABOUT);
    g_about.link = LoadSkinBitmap(IDB_CPL_ABOUT_LINK);
    g_about.linkHeld = LoadSkinBitmap(IDB_CPL_ABOUT_LINK_HELD);
}

void paintAbout(HWND dialog) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(dialog, &ps);
    DrawPicture(dc, g_about.background, skin::Sprite{skin::kAboutBitmap, 0, 0, 599, 161}, 0, 0);
    EndPaint(dialog, &ps);
}

void drawAboutLink(const DRAWITEMSTRUCT* request) {
    const bool held = aboutLinkHeld(request->itemAction, request->itemState);
    DrawPicture(request->hDC, held ? g_about.linkHeld : g_about.link, held ? skin::kAboutLinkHeld : skin::kAboutLink, 0,
                0);
}

INT_PTR CALLBACK aboutProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        initAbout(dialog, reinterpret_cast<HWND>(lParam));
        return TRUE;
    case WM_PAINT:
        paintAbout(dialog);
        return TRUE;
    case WM_DRAWITEM: {
        const auto* request = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        if (wParam != IDC_ABOUT_LINK) return FALSE;
        drawAboutLink(request);
        return TRUE;
    }
    case WM_COMMAND:
        wParam = skinnedCommand(wParam, lParam);
        if (LOWORD(wParam) == IDCANCEL) {
            EndDialog(dialog, kAboutResult);
            return TRUE;
        }
        if (LOWORD(wParam) == IDC_ABOUT_LINK) {
            ShellExecuteA(dialog, "open", kMakerSite, nullptr, nullptr, SW_SHOWNORMAL);
            return TRUE;
        }
        return FALSE;
    case WM_DESTROY:
        for (HBITMAP* picture : {&g_about.background, &g_about.link, &g_about.linkHeld}) {
            if (*picture) DeleteObject(*picture);
            *picture = nullptr;
        }
        return FALSE;
    default:
        return FALSE;
    }
}

}  // namespace

const SkinScale& skinScale() { return g_scale; }

SkinScale skinScaleOf(HWND page) {
    // The room the sheet's tab control leaves for its pages: the sheet may
    // make the page that size only after the page has started, when it
    // sized the page from the page's own font first.
    RECT area{};
    HWND tab = GetParent(page) ? HWND(SendMessageA(GetParent(page), PSM_GETTABCONTROL, 0, 0)) : nullptr;
    if (tab) {
        GetClientRect(tab, &area);
        TabCtrl_AdjustRect(tab, FALSE, &area);
    } else {
        GetClientRect(page, &area);
    }
    return skinScaleFor(windowDpi(page), area.right - area.left, area.bottom - area.top);
}

void takeSkinScale(HWND page) { g_scale = skinScaleOf(page); }

void setSkinScale(const SkinScale& scale) { g_scale = scale; }
void resetSkinScale() { g_scale = SkinScale{}; }

int scaledX(int x) { return scaleX(g_scale, x); }
int scaledY(int y) { return scaleY(g_scale, y); }

RECT scaledRect(int x, int y, int width, int height) {
    const SkinRect r = scaleRect(g_scale, SkinRect{x, y, x + width, y + height});
    return RECT{r.left, r.top, r.right, r.bottom};
}

POINT pointerAt96(LPARAM where) {
    const SkinPoint p = unscalePoint(g_scale, SkinPoint{GET_X_LPARAM(where), GET_Y_LPARAM(where)});
    return POINT{p.x, p.y};
}

SIZE scaledWindowSize(HWND window, int width, int height) {
    if (isIdentity(g_scale)) return SIZE{width, height};
    RECT frame{}, client{};
    GetWindowRect(window, &frame);
    GetClientRect(window, &client);
    const int frameWidth = (frame.right - frame.left) - client.right;
    const int frameHeight = (frame.bottom - frame.top) - client.bottom;
    // The frame and caption at 96 DPI, where the system can say (newer
    // systems), else taken as they are now.
    using AdjustForDpi = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
    static const auto adjustForDpi = reinterpret_cast<AdjustForDpi>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("user32.dll"), "AdjustWindowRectExForDpi")));
    RECT at96{0, 0, 0, 0};
    if (!adjustForDpi || !adjustForDpi(&at96, DWORD(GetWindowLongA(window, GWL_STYLE)), FALSE,
                                       DWORD(GetWindowLongA(window, GWL_EXSTYLE)), 96))
        at96 = RECT{0, 0, frameWidth, frameHeight};
    const int clientWidth = width - (at96.right - at96.left), clientHeight = height - (at96.bottom - at96.top);
    return SIZE{scaledX(clientWidth) + frameWidth, scaledY(clientHeight) + frameHeight};
}

SkinRect placeAt96(HWND control) {
    RECT r{};
    GetWindowRect(control, &r);
    MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&r), 2);
    const SkinPoint from = unscalePoint(g_scale, SkinPoint{r.left, r.top});
    const SkinPoint to = unscalePoint(g_scale, SkinPoint{r.right, r.bottom});
    return SkinRect{from.x, from.y, to.x, to.y};
}

HWND CreateScaledWindow(DWORD exStyle, const char* className, DWORD style, int x, int y, int width, int height,
                        HWND parent, int id, void* param) {
    const RECT place = scaledRect(x, y, width, height);
    return CreateWindowExA(exStyle, className, nullptr, style, place.left, place.top, place.right - place.left,
                           place.bottom - place.top, parent, HMENU(INT_PTR(id)), cplModuleInstance(), param);
}

BOOL MoveControl(HWND control, int x, int y, int width, int height, BOOL repaint) {
    const RECT r = scaledRect(x, y, width, height);
    return MoveWindow(control, r.left, r.top, r.right - r.left, r.bottom - r.top, repaint);
}

HPEN CreateScaledPen(COLORREF colour) { return CreatePen(PS_SOLID, std::max(1, scaledX(1)), colour); }

HRGN CreateScaledRectRgn(int left, int top, int right, int bottom, int originX, int originY) {
    const int x = scaledX(originX), y = scaledY(originY);
    return CreateRectRgn(scaledX(originX + left) - x, scaledY(originY + top) - y, scaledX(originX + right) - x,
                         scaledY(originY + bottom) - y);
}

namespace {

// One set bitmap on its way to the scale: its fitted bitmap made on the
// window's thread; the set's bitmap loaded (unless it already was) and its
// pixels fitted on any thread.
struct SkinFit {
    bool pending = false;      // pixels still to be brought to `fitted`
    int id = 0, percent = 100;  // the 100 % resource and the set to load it from
    HBITMAP source = nullptr;  // the set's bitmap once loaded, deleted once fitted
    HBITMAP fitted = nullptr;  // the bitmap of the scale's size, the painters' one
    uint32_t* pixels = nullptr;
    int width = 0, height = 0;
    bool keepsCap = false;  // the skin bitmap: its gauge cap and the cap's mask stay exact
    SkinRect cap{};
    SkinPoint capMask{};
};

// `id`'s bitmap from the set of `percent` (the id plus the set's offset),
// or from the 100 % pictures where there is no such set (`setPercent`, when
// given, says which). Touches no window: any thread can load.
HBITMAP loadSetBitmap(int id, int percent, int* setPercent = nullptr) {
    int offset = 0;
    for (const skin::PictureSet& set : skin::kPictureSets)
        if (set.percent == percent) offset = set.idOffset;
    HINSTANCE module = cplModuleInstance();
    HBITMAP picture = HBITMAP(LoadImageA(module, MAKEINTRESOURCEA(id + offset), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    // The sets' bitmaps are run-length coded: a system that makes no DIB
    // section of those still makes a device bitmap of them.
    if (!picture && offset) picture = HBITMAP(LoadImageA(module, MAKEINTRESOURCEA(id + offset), IMAGE_BITMAP, 0, 0, 0));
    if (!picture && offset) {  // no such set: the 100 % pictures, stretched
        picture = HBITMAP(LoadImageA(module, MAKEINTRESOURCEA(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
        offset = 0;
    }
    if (setPercent) *setPercent = offset ? percent : 100;
    return picture;
}

// Returns the painters' handle of `id`'s bitmap at the scale. Where the
// set's size differs from the size its places take at this scale (the
// sheet's area is rarely an exact multiple of the page), the handle is a
// bitmap of the scale's size, made here, whose pixels `fit` still has to
// bring there; a bitmap of the skin's table is then loaded by the fitting
// too, so that in a batch the window's thread loads only a set's bitmap
// that may fit as it is.
HBITMAP prepareSkinBitmap(int id, SkinFit& fit) {
    const int percent = g_scale.percent;
    if (isIdentity(g_scale)) return loadSetBitmap(id, percent);
    int width96 = 0, height96 = 0;
    for (const skin::BitmapSize& size : skin::kBitmapSizes)
        if (size.bitmap == id) width96 = size.width, height96 = size.height;
    // Loaded here where only its own size tells the 100 % size, or where the
    // set's bitmap has the scale's size (unless the set is missing and the
    // 100 % bitmap comes instead, which the loaded size tells).
    HBITMAP picture = nullptr;
    if (width96 == 0 || (skin::pictureInSet(width96, percent) == scaledX(width96) &&
                         skin::pictureInSet(height96, percent) == scaledY(height96))) {
        int setPercent = 100;
        picture = loadSetBitmap(id, percent, &setPercent);
        if (!picture) return nullptr;
        BITMAP shape{};
        GetObjectA(picture, sizeof shape, &shape);
        if (width96 == 0) {
            width96 = shape.bmWidth * 100 / setPercent;
            height96 = shape.bmHeight * 100 / setPercent;
        }
        if (shape.bmWidth == scaledX(width96) && shape.bmHeight == scaledY(height96)) return picture;
    }
    const int width = scaledX(width96), height = scaledY(height96);
    const BITMAPINFO info = TopDown32Header(width, height);
    void* bits = nullptr;
    HBITMAP fitted = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!fitted || !bits) {
        if (fitted) DeleteObject(fitted);
        return picture ? picture : loadSetBitmap(id, percent);
    }
    fit.pending = true;
    fit.id = id;
    fit.percent = percent;
    fit.source = picture;
    fit.fitted = fitted;
    fit.pixels = static_cast<uint32_t*>(bits);
    fit.width = width;
    fit.height = height;
    if ((fit.keepsCap = id == skin::kSkinBitmap)) {
        const RECT cap = scaledRect(skin::kGaugeCap.x, skin::kGaugeCap.y, skin::kGaugeCap.width, skin::kGaugeCap.height);
        fit.cap = SkinRect{cap.left, cap.top, cap.right, cap.bottom};
        fit.capMask = SkinPoint{scaledX(skin::kGaugeCapMask.x), scaledY(skin::kGaugeCapMask.y)};
    }
    return fitted;
}

// Loads the set's bitmap where that is still to do, brings its pixels to
// the scale's size (read where the system keeps them or, from a bitmap of
// another kind, copied out as 32-bit ones) and deletes it. Touches nothing
// but `fit` and GDI objects (which are the process's), so a worker thread
// can do it. False when the set's bitmap could not be loaded (the fitted
// bitmap stays blank).
bool fitSkinBitmap(SkinFit& fit) {
    if (!fit.pending) return true;
    fit.pending = false;
    if (!fit.source) fit.source = loadSetBitmap(fit.id, fit.percent);
    if (!fit.source) return false;
    BITMAP shape{};
    GetObjectA(fit.source, sizeof shape, &shape);
    PictureRows rows;
    std::vector<uint32_t> palette, copied;
    if (!dibRows(fit.source, rows, palette)) {
        HDC memory = CreateCompatibleDC(nullptr);
        copiedRows(memory, fit.source, shape, rows, copied);
        DeleteDC(memory);
    }
    if (resampleInto(rows, fit.pixels, fit.width, fit.height)) {
        // The gauge cap is drawn through its mask: both stay exact.
        if (fit.keepsCap)
            keepMaskExact(fit.pixels, size_t(fit.width) * size_t(fit.height), fit.width, fit.cap, fit.capMask);
    } else {  // the set's pixels could not be read: the system stretches them
        HDC from = CreateCompatibleDC(nullptr), to = CreateCompatibleDC(nullptr);
        HGDIOBJ oldFrom = SelectObject(from, fit.source), oldTo = SelectObject(to, fit.fitted);
        SetStretchBltMode(to, COLORONCOLOR);
        StretchBlt(to, 0, 0, fit.width, fit.height, from, 0, 0, shape.bmWidth, shape.bmHeight, SRCCOPY);
        SelectObject(from, oldFrom);
        SelectObject(to, oldTo);
        DeleteDC(from);
        DeleteDC(to);
    }
    DeleteObject(fit.source);
    fit.source = nullptr;
    return true;
}

}  // namespace

HBITMAP LoadSkinBitmap(int id) {
    SkinFit fit;
    HBITMAP bitmap = prepareSkinBitmap(id, fit);
    if (fitSkinBitmap(fit)) return bitmap;
    DeleteObject(bitmap);
    return nullptr;
}

struct SkinBitmapBatch {
    struct Entry {
        SkinFit fit;
        LONG claimed = 0;         // 1 once a thread has taken it to fit
        HANDLE fitted = nullptr;  // an event, set once its pixels are done
        bool seenFitted = false;  // the waiting thread's own note that they are
    };
    std::vector<Entry> entries;  // sized once: the worker holds on to them
    HANDLE worker = nullptr;
};

namespace {

// Fits an entry of the batch unless another thread has taken it; true when
// this one did.
bool fitUnclaimed(SkinBitmapBatch::Entry& entry) {
    if (InterlockedExchange(&entry.claimed, 1) != 0) return false;
    fitSkinBitmap(entry.fit);
    if (entry.fitted) SetEvent(entry.fitted);
    return true;
}

DWORD WINAPI fitBatch(void* parameter) {
    for (SkinBitmapBatch::Entry& entry : static_cast<SkinBitmapBatch*>(parameter)->entries) fitUnclaimed(entry);
    return 0;
}

}  // namespace

SkinBitmapBatch* StartSkinBitmaps(const int* ids, HBITMAP* bitmaps, int count) {
    auto* batch = new SkinBitmapBatch;
    batch->entries.resize(size_t(count));
    bool toFit = false;
    for (int i = 0; i < count; ++i) {
        SkinFit& fit = batch->entries[size_t(i)].fit;
        bitmaps[i] = prepareSkinBitmap(ids[i], fit);
        toFit = toFit || fit.pending;
    }
    if (!toFit) {
        delete batch;
        return nullptr;
    }
    bool events = true;
    for (SkinBitmapBatch::Entry& entry : batch->entries)
        if (events) events = (entry.fitted = CreateEventA(nullptr, TRUE, FALSE, nullptr)) != nullptr;
    if (events) batch->worker = CreateThread(nullptr, 0, fitBatch, batch, 0, nullptr);
    if (!batch->worker) fitBatch(batch);  // no worker: done here
    return batch;
}

void WaitForSkinBitmap(SkinBitmapBatch* batch, HBITMAP bitmap) {
    if (!batch || !batch->worker || !bitmap) return;
    // A bitmap the worker has not come to yet is fitted here rather than
    // waited for. Painting asks for every bitmap it copies: once a bitmap
    // was found done, it is not waited on again.
    for (SkinBitmapBatch::Entry& entry : batch->entries) {
        if (entry.fit.fitted != bitmap || entry.seenFitted) continue;
        if (!fitUnclaimed(entry)) WaitForSingleObject(entry.fitted, INFINITE);
        entry.seenFitted = true;
    }
}

void EndSkinBitmaps(SkinBitmapBatch*& batch) {
    if (!batch) return;
    if (batch->worker) {
        WaitForSingleObject(batch->worker, INFINITE);
        CloseHandle(batch->worker);
    }
    for (const SkinBitmapBatch::Entry& entry : batch->entries)
        if (entry.fitted) CloseHandle(entry.fitted);
    delete batch;
    batch = nullptr;
}

void DrawPicture(HDC dc, HBITMAP bitmap, const skin::Sprite& picture, int x, int y, DWORD rop) {
    if (!bitmap) return;
    HDC memory = CreateCompatibleDC(dc);
    if (!memory) return;
    HGDIOBJ old = SelectObject(memory, bitmap);
    const RECT to = scaledRect(x, y, picture.width, picture.height);
    BitBlt(dc, to.left, to.top, to.right - to.left, to.bottom - to.top, memory, scaledX(picture.x),
           scaledY(picture.y), rop);
    SelectObject(memory, old);
    DeleteDC(memory);
}

int PaintSkinButton(const DRAWITEMSTRUCT* request, HBITMAP bitmap, const RECT& picture0, const RECT& picture1,
                    const RECT& picture2, int state) {
    const SkinButtonPlan plan = planSkinButton(request->itemAction, request->itemState, pointOf(picture0),
                                               pointOf(picture1), pointOf(picture2), state);
    const PictureCopier source(request, bitmap);
    for (int i = 0; i < plan.copies; ++i) source.copy(plan.picture);
    if (plan.hatch) hatch(request);
    return 1;
}

int PaintPushButton(const DRAWITEMSTRUCT* request, HBITMAP bitmap, const RECT& normal, const RECT& pressed,
                    const RECT& focused) {
    const PictureCopier source(request, bitmap);
    for (SkinPoint from : planPushButton(request->itemAction, request->itemState, pointOf(normal), pointOf(pressed),
                                         pointOf(focused)))
        source.copy(from);
    return 1;
}

int PaintLabel(const DRAWITEMSTRUCT* request, HBITMAP bitmap, const RECT& picture, HFONT font) {
    char text[256] = {};
    GetWindowTextA(request->hwndItem, text, sizeof text);
    HDC dc = request->hDC;
    HGDIOBJ oldFont = font ? SelectObject(dc, font) : nullptr;
    const int oldMode = SetBkMode(dc, TRANSPARENT);
    const COLORREF oldColour = GetTextColor(dc);
    const PictureCopier source(request, bitmap);
    for (const LabelPass& pass : planLabel(request->itemAction, request->itemState, pointOf(picture))) {
        source.copy(pass.picture);
        drawLabelText(dc, request->rcItem, text, scaledY(pass.shadowOffset), kBlack);
        drawLabelText(dc, request->rcItem, text, scaledY(pass.textOffset), kWhite);
    }
    SetTextColor(dc, oldColour);
    SetBkMode(dc, oldMode);
    if (oldFont) SelectObject(dc, oldFont);
    return 1;
}

WPARAM skinnedCommand(WPARAM wParam, LPARAM lParam) {
    if (HIWORD(wParam) != BN_DOUBLECLICKED || !lParam) return wParam;
    HWND control = reinterpret_cast<HWND>(lParam);
    char cls[16] = "";
    if (!GetClassNameA(control, cls, sizeof cls) || lstrcmpiA(cls, "Button") != 0) return wParam;
    if ((GetWindowLongA(control, GWL_STYLE) & BS_TYPEMASK) != BS_OWNERDRAW) return wParam;
    return MAKEWPARAM(LOWORD(wParam), BN_CLICKED);
}

int CreateFlatButton(HWND parent, int x, int y, int width, int height, int id) {
    return createChild(parent, "Button", 0, kFlatButtonStyle, scaledRect(x, y, width, height), id) ? 1 : 0;
}

int CreatePushLikeButton(HWND parent, int x, int y, int width, int height, int id) {
    return createChild(parent, "Button", 0, kPushLikeButtonStyle, scaledRect(x, y, width, height), id) ? 1 : 0;
}

int CreateEditField(HWND parent, int x, int y, int width, int height, int id, DWORD style) {
    return createChild(parent, "EDIT", WS_EX_TRANSPARENT, style, scaledRect(x, y, width, height), id) ? 1 : 0;
}

HWND CreateTooltip(HWND parent) {
    InitCommonControls();
    return CreateWindowExA(0, TOOLTIPS_CLASSA, nullptr, TTS_ALWAYSTIP, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                           CW_USEDEFAULT, parent, nullptr, cplModuleInstance(), nullptr);
}

int AddTooltipTool(HWND parent, HWND tooltip, int id) { return sendTool(parent, tooltip, id, TTM_ADDTOOLA); }

int RemoveTooltipTool(HWND parent, HWND tooltip, int id) {
    sendTool(parent, tooltip, id, TTM_DELTOOLA);  // answers nothing
    return 1;
}

int tooltipControlId(const NMTTDISPINFOA* request) {
    return (request->uFlags & TTF_IDISHWND) ? GetDlgCtrlID(reinterpret_cast<HWND>(request->hdr.idFrom))
                                            : int(request->hdr.idFrom);
}

void answerTooltip(NMTTDISPINFOA* request, int stringId, char* buffer, int size) {
    if (!LoadLocalizedString(cplModuleInstance(), stringId, UiLanguage, buffer, size)) buffer[0] = 0;
    request->lpszText = buffer;
    request->hinst = cplModuleInstance();
}

int FitEditField(HWND parent, int id) {
    HWND field = GetDlgItem(parent, id);
    char text[kEditTextLimit + 1] = {};
    GetWindowTextA(field, text, sizeof text);
    const DWORD style = DWORD(GetWindowLongA(field, GWL_STYLE));
    const EditFit fit = fitEditField(std::strlen(text), style);
    if (!fit.recreate) return 1;
    RECT place{}, frame{};
    GetWindowRect(field, &place);
    GetWindowRect(parent, &frame);
    DestroyWindow(field);
    // The same 96-DPI corner, the new shape's size.
    const SkinPoint corner = unscalePoint(g_scale, SkinPoint{place.left - frame.left, place.top - frame.top});
    createChild(parent, "EDIT", WS_EX_TRANSPARENT, fit.style, scaledRect(corner.x, corner.y, fit.width, fit.height), id);
    SetWindowTextA(GetDlgItem(parent, id), text);
    return 1;
}

int SetPageRegion(HWND page) {
    HRGN region = CreateScaledRectRgn(kPageArea.left, kPageArea.top, kPageArea.right, kPageArea.bottom);
    for (const SkinRect& r : pageRegionHoles(panelState().wheel.link.isEmulationDevice)) {
        HRGN hole = CreateScaledRectRgn(r.left, r.top, r.right, r.bottom);
        CombineRgn(region, region, hole, RGN_DIFF);
        DeleteObject(hole);
    }
    if (!SetWindowRgn(page, region, TRUE)) DeleteObject(region);  // the window owns it once set
    return 1;
}

int OutlineRect(HWND window, const RECT& at96, HPEN pen) {
    HDC dc = GetDC(window);
    HGDIOBJ old = SelectObject(dc, pen);
    const RECT rect = scaledRect(at96.left, at96.top, at96.right - at96.left, at96.bottom - at96.top);
    const POINT corners[5] = {
        {rect.left, rect.top}, {rect.right, rect.top}, {rect.right, rect.bottom}, {rect.left, rect.bottom},
        {rect.left, rect.top}};
    Polyline(dc, corners, 5);
    SelectObject(dc, old);
    ReleaseDC(window, dc);
    return 1;
}

LRESULT CALLBACK CustomIconProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_PAINT) return DefWindowProcA(window, message, wParam, lParam);
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(window, &ps);
    SHFILEINFOA info{};
    SHGetFileInfoA(panelState().currentPreset.exePath, 0, &info, sizeof info, SHGFI_ICON);
    HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(BLACK_BRUSH));
    const int width = scaledX(32), height = scaledY(32);  // the square's size at the panel's scale
    Rectangle(dc, 0, 0, width, height);
    SelectObject(dc, oldBrush);
    if (info.hIcon) {
        DrawIconEx(dc, 0, 0, info.hIcon, width, height, 0, nullptr, DI_NORMAL);
        DestroyIcon(info.hIcon);
    }
    EndPaint(window, &ps);
    return 0;
}

INT_PTR ShowAbout(HWND parent) {
    return DialogBoxParamA(cplModuleInstance(), MAKEINTRESOURCEA(IDD_CPL_ABOUT), parent, aboutProc,
                           reinterpret_cast<LPARAM>(parent));
}

}  // namespace zentra

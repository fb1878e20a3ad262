// The skinned controls shared by every page of the control panel: the three
// owner-draw painters, the routines that create buttons, edit fields and
// tooltips the way the pages need them, the child page's window region, the
// "CUSTOMICON" control and the About box. All of them create their windows
// and load their resources with the plug-in's module instance.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include "cpl/frame/skin_layout.h"
#include "cpl/frame/skin_scale.h"

namespace zentra {

// Control id of the About box's web-link button, and the dialog's result
// when it is closed.
constexpr int IDC_ABOUT_LINK = 272;
constexpr INT_PTR kAboutResult = 12;

// The panel's scale. Every place and size the pages and dialogs give to
// the routines below is in pixels of a 96-DPI screen; these turn them into
// the window's pixels. The main page takes the scale from its window when
// it starts (and again when the system moves it to a screen of another
// DPI); until then, and after resetSkinScale, nothing is scaled.
const SkinScale& skinScale();
SkinScale skinScaleOf(HWND page);  // the scale for the page as it is now
void takeSkinScale(HWND page);
void setSkinScale(const SkinScale& scale);
void resetSkinScale();
int scaledX(int x);
int scaledY(int y);
RECT scaledRect(int x, int y, int width, int height);
// A pointer position of a window's client area (a mouse message's lParam)
// at 96 DPI.
POINT pointerAt96(LPARAM where);
// A window's size for its 96-DPI size of `width` x `height`: the client
// area it has at 96 DPI, scaled, in the frame and caption the system draws
// now.
SIZE scaledWindowSize(HWND window, int width, int height);
// A control's place in its parent at 96 DPI (exact for a control placed by
// these routines).
SkinRect placeAt96(HWND control);
// Creates a window at a 96-DPI place of `parent` (CreateWindowExA's other
// arguments as they are).
HWND CreateScaledWindow(DWORD exStyle, const char* className, DWORD style, int x, int y, int width, int height,
                        HWND parent, int id, void* param = nullptr);
// Moves a control to a 96-DPI place.
BOOL MoveControl(HWND control, int x, int y, int width, int height, BOOL repaint);
// A solid pen of one 96-DPI pixel's width.
HPEN CreateScaledPen(COLORREF colour);
// A rectangular region at a 96-DPI place, for a window whose corner lies at
// the 96-DPI point (originX, originY) of its parent: its edges fall on the
// same pixels as the parent's.
HRGN CreateScaledRectRgn(int left, int top, int right, int bottom, int originX = 0, int originY = 0);

// A bitmap of the skin at the panel's scale: the 100 % bitmap at 96 DPI;
// otherwise the picture set's bitmap, stretched to the scale where the two
// differ, so that a picture at (x, y) of the 100 % bitmap lies at
// (scaledX(x), scaledY(y)) and every copy is one to one. Null when the
// resource is missing.
HBITMAP LoadSkinBitmap(int id);
// The header of a top-down DIB of 32 bits a pixel, `width` x `height`.
BITMAPINFO TopDown32Header(int width, int height);
// Several skin bitmaps as LoadSkinBitmap makes them, in the order given,
// their handles final at once; where a set's pixels need bringing to the
// scale, a worker thread loads the set's bitmap and does that while the page
// goes on, and a bitmap is ready for painting only once WaitForSkinBitmap
// has returned for it (which fits it on the calling thread if the worker has
// not begun it; where LoadSkinBitmap would give null for a missing
// resource, the batch's bitmap stays black).
// EndSkinBitmaps waits for the worker and frees the batch (the bitmaps stay
// the caller's). StartSkinBitmaps returns null when no pixels need bringing
// to the scale (always at 96 DPI); without a worker they are done before it
// returns.
struct SkinBitmapBatch;
SkinBitmapBatch* StartSkinBitmaps(const int* ids, HBITMAP* bitmaps, int count);
void WaitForSkinBitmap(SkinBitmapBatch* batch, HBITMAP bitmap);
void EndSkinBitmaps(SkinBitmapBatch*& batch);
// Copies `picture` (at its 100 % place) from `bitmap`, loaded with
// LoadSkinBitmap, to the 96-DPI place (x, y) of `dc`, with `rop`.
void DrawPicture(HDC dc, HBITMAP bitmap, const skin::Sprite& picture, int x, int y, DWORD rop = SRCCOPY);

// A picture of the skin's layout as the painters take it.
inline RECT pictureRect(const skin::Sprite& picture) {
    return RECT{picture.x, picture.y, picture.right(), picture.bottom()};
}

// Painters. Each draws one owner-draw request from `bitmap` (loaded with
// LoadSkinBitmap), whose pictures are given as 100 % rectangles of which
// only left and top count: the size copied is the control's. Each returns 1.
// A null bitmap copies nothing.

// The three-state button: picture0 for state 0, picture1 for 1, picture2
// for any other; hatched with vertical lines when disabled.
int PaintSkinButton(const DRAWITEMSTRUCT* request, HBITMAP bitmap, const RECT& picture0, const RECT& picture1,
                    const RECT& picture2, int state);

// The two-state push button.
int PaintPushButton(const DRAWITEMSTRUCT* request, HBITMAP bitmap, const RECT& normal, const RECT& pressed,
                    const RECT& focused);

// An owner-drawn static: the control's text, centred, white with a dark
// shadow, on `picture`; `font` may be null.
int PaintLabel(const DRAWITEMSTRUCT* request, HBITMAP bitmap, const RECT& picture, HFONT font);

// Creation routines: a child of `parent` with control id `id`, at a 96-DPI
// place; 1 when it was created, 0 otherwise.
int CreateFlatButton(HWND parent, int x, int y, int width, int height, int id);      // BS_FLAT | BS_OWNERDRAW
int CreatePushLikeButton(HWND parent, int x, int y, int width, int height, int id);  // BS_PUSHLIKE | BS_OWNERDRAW
int CreateEditField(HWND parent, int x, int y, int width, int height, int id, DWORD style);

// A WM_COMMAND's wParam as the pages act on it. Windows reports the second
// click of a quick pair on an owner-drawn button as BN_DOUBLECLICKED: for a
// skinned button that is one more click, so it comes back as BN_CLICKED.
// Every other notification (of other controls too: a combo box's
// CBN_EDITCHANGE has the same number) is passed on as it came. Every page
// and dialog calls it first thing in its command handling.
WPARAM skinnedCommand(WPARAM wParam, LPARAM lParam);

// A tooltip window owned by `parent`, and its tools: one per control `id`
// of `parent`, whose text is asked for with TTN_GETDISPINFOA.
HWND CreateTooltip(HWND parent);
int AddTooltipTool(HWND parent, HWND tooltip, int id);
int RemoveTooltipTool(HWND parent, HWND tooltip, int id);
// The control a tool's TTN_GETDISPINFOA asks about, and the answer with
// string `stringId` in the user's language, read into `buffer` (the
// page's own, which the tooltip shows from); a missing string gives an
// empty tip.
int tooltipControlId(const NMTTDISPINFOA* request);
void answerTooltip(NMTTDISPINFOA* request, int stringId, char* buffer, int size);

// Reshapes the key-sequence edit field `id` of `parent` for its text: a
// single-line box below 15 characters, a taller one with a scroll bar from
// 15 on. The field is recreated (same place, id and text) only when it has
// the other of the two shapes. Returns 1.
int FitEditField(HWND parent, int id);

// Gives a child page its window region: the page area with holes where the
// main page's tabs are (two, or five on the emulation wheel). Returns 1.
int SetPageRegion(HWND page);

// Draws the closed outline of the 96-DPI `rect` with `pen` on the window's
// drawing context. Returns 1.
int OutlineRect(HWND window, const RECT& rect, HPEN pen);

// Window procedure of the class "CUSTOMICON": the icon of the current
// preset's executable on a black 32 x 32 square.
LRESULT CALLBACK CustomIconProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The modal About box over `parent`; returns the dialog's result
// (kAboutResult when closed), or -1 when it could not be shown.
INT_PTR ShowAbout(HWND parent);

}  // namespace zentra

// The game-controllers panel's property-sheet interface and the two records
// through which a sheet describes itself, which mingw-w64's headers lack:
// declared here from their documented layout. The panel reads the records
// as they lie in memory, so the field order and types must not change.
// The documented sizes, 20 and 40 bytes, are those of 32-bit builds; these
// are 64-bit builds, and dwSize holds sizeof of the record as compiled.
#pragma once

#ifndef DIRECTINPUT_VERSION
#define DIRECTINPUT_VERSION 0x0800
#endif
#include <windows.h>
#include <dinput.h>
#include <dinputd.h>
#include <unknwn.h>

// The property sheet (frame) of a controller.
typedef struct {
    DWORD dwSize;
    USHORT nNumPages;
    LPWSTR lpwszSheetCaption;
    BOOL fSheetIconFlag;
    LPWSTR lpwszSheetIcon;  // icon resource name
} DIGCSHEETINFO, *LPDIGCSHEETINFO;

// One page of the sheet.
typedef struct {
    DWORD dwSize;
    LPWSTR lpwszPageTitle;
    DLGPROC fpPageProc;
    BOOL fProcFlag;          // whether fpPrePostProc is called
    DLGPROC fpPrePostProc;
    BOOL fIconFlag;
    LPWSTR lpwszPageIcon;    // icon resource name or number
    LPWSTR lpwszTemplate;    // dialog template name or number
    LPARAM lParam;           // the page parameter of the page's dialog
    HINSTANCE hInstance;     // the module holding the template and icon
} DIGCPAGEINFO, *LPDIGCPAGEINFO;

static_assert(sizeof(DIGCSHEETINFO) == (sizeof(void*) == 4 ? 20 : 32), "sheet information layout");
static_assert(sizeof(DIGCPAGEINFO) == (sizeof(void*) == 4 ? 40 : 80), "page information layout");

// {7854FB22-8EE3-11D0-A1AC-0000F8026977}
inline constexpr IID IID_IDIGameCntrlPropSheet = {
    0x7854FB22, 0x8EE3, 0x11D0, {0xA1, 0xAC, 0x00, 0x00, 0xF8, 0x02, 0x69, 0x77}};

// The class of ZentraCpl's sheet object, the only class the library serves:
// {8E2BAA80-969B-11D3-B1E7-0060080C0429}
inline constexpr CLSID CLSID_ZentraCplSheet = {
    0x8E2BAA80, 0x969B, 0x11D3, {0xB1, 0xE7, 0x00, 0x60, 0x08, 0x0C, 0x04, 0x29}};

// Slots in this order, after those of IUnknown.
struct IDIGameCntrlPropSheet : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE GetSheetInfo(LPDIGCSHEETINFO* sheetInfo) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetPageInfo(LPDIGCPAGEINFO* pageInfo) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetID(USHORT id) = 0;
    virtual USHORT STDMETHODCALLTYPE GetID() = 0;
    virtual HRESULT STDMETHODCALLTYPE Initialize() = 0;
    virtual HRESULT STDMETHODCALLTYPE SetDevice(LPDIRECTINPUTDEVICE8A device) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetDevice(LPDIRECTINPUTDEVICE8A* device) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetJoyConfig(IDirectInputJoyConfig8* config) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetJoyConfig(IDirectInputJoyConfig8** config) = 0;
};
typedef IDIGameCntrlPropSheet* LPDIGAMECNTRLPROPSHEET;

#ifdef __CRT_UUID_DECL
__CRT_UUID_DECL(IDIGameCntrlPropSheet, 0x7854FB22, 0x8EE3, 0x11D0, 0xA1, 0xAC, 0x00, 0x00, 0xF8, 0x02, 0x69, 0x77)
#endif

// The sheet object that the game-controllers panel asks for the wheel's
// property sheet: one page, its template, dialog procedure, title and icon.
// The panel hands it the joystick id and the DirectInput interfaces.
#pragma once

#include "cpl/frame/dinput_sheet.h"

namespace zentra {

class CplPropertySheet final : public IDIGameCntrlPropSheet {
public:
    // Reference count 1, joystick id 0xFFFF, nothing allocated yet; counts
    // as a live object and registers the window classes.
    CplPropertySheet();
    CplPropertySheet(const CplPropertySheet&) = delete;
    CplPropertySheet& operator=(const CplPropertySheet&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE GetSheetInfo(LPDIGCSHEETINFO* sheetInfo) override;
    HRESULT STDMETHODCALLTYPE GetPageInfo(LPDIGCPAGEINFO* pageInfo) override;
    HRESULT STDMETHODCALLTYPE SetID(USHORT id) override;
    USHORT STDMETHODCALLTYPE GetID() override;
    HRESULT STDMETHODCALLTYPE Initialize() override;
    HRESULT STDMETHODCALLTYPE SetDevice(LPDIRECTINPUTDEVICE8A device) override;
    HRESULT STDMETHODCALLTYPE GetDevice(LPDIRECTINPUTDEVICE8A* device) override;
    HRESULT STDMETHODCALLTYPE SetJoyConfig(IDirectInputJoyConfig8* config) override;
    HRESULT STDMETHODCALLTYPE GetJoyConfig(IDirectInputJoyConfig8** config) override;

private:
    // Only the last Release destroys the object: Unacquire, then Release, on
    // each interface it was handed.
    ~CplPropertySheet();
    // Frees the page information, the title and the caption.
    void freeInformation();

    SHORT references_;  // 16-bit signed; AddRef and Release return it sign-extended
    USHORT joystickId_;
    DIGCSHEETINFO sheetInfo_;
    DIGCPAGEINFO* pageInfo_;
    LPDIRECTINPUTDEVICE8A device_;     // held without a reference of its own
    IDirectInputJoyConfig8* joyConfig_;  // likewise
};

}  // namespace zentra

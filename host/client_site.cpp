#include "host/client_site.h"

#include <olectl.h>
#include <urlmon.h>

#include "base/himetric.h"
#include "host/ambient_properties.h"

namespace kv::host {

void* CClientSite::QueryBase(REFIID riid) {
    if (riid == IID_IOleWindow || riid == IID_IOleInPlaceSite) return static_cast<IOleInPlaceSiteEx*>(this);
    return nullptr;
}

STDMETHODIMP CClientSite::SaveObject() { return E_NOTIMPL; }

STDMETHODIMP CClientSite::GetMoniker(DWORD, DWORD which, IMoniker** moniker) {
    if (!moniker) return E_POINTER;
    *moniker = nullptr;
    // The page's own address names its container; the objects in it have no names of their own.
    if (which != OLEWHICHMK_CONTAINER) return E_NOTIMPL;
    return ::CreateURLMonikerEx(nullptr, pageAddress_.c_str(), moniker, URL_MK_UNIFORM);
}

STDMETHODIMP CClientSite::GetContainer(IOleContainer** container) {
    if (container) *container = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP CClientSite::ShowObject() { return S_OK; }
STDMETHODIMP CClientSite::OnShowWindow(BOOL) { return S_OK; }
STDMETHODIMP CClientSite::RequestNewObjectLayout() { return E_NOTIMPL; }

STDMETHODIMP CClientSite::GetWindow(HWND* window) {
    if (!window) return E_POINTER;
    *window = window_;
    return S_OK;
}

STDMETHODIMP CClientSite::ContextSensitiveHelp(BOOL) { return E_NOTIMPL; }
STDMETHODIMP CClientSite::CanInPlaceActivate() { return S_OK; }
STDMETHODIMP CClientSite::OnInPlaceActivate() { return S_OK; }
STDMETHODIMP CClientSite::OnUIActivate() { return S_OK; }

STDMETHODIMP CClientSite::GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** document,
                                           LPRECT position, LPRECT clip, LPOLEINPLACEFRAMEINFO frameInfo) {
    if (!frame || !document || !position || !clip || !frameInfo) return E_POINTER;
    *frame = frame_.get();
    (*frame)->AddRef();
    *document = nullptr;  // the page has no document window of its own besides the frame
    *position = position_;
    *clip = position_;
    frameInfo->fMDIApp = FALSE;
    frameInfo->hwndFrame = window_;
    frameInfo->haccel = nullptr;
    frameInfo->cAccelEntries = 0;
    return S_OK;
}

STDMETHODIMP CClientSite::Scroll(SIZE) { return E_NOTIMPL; }
STDMETHODIMP CClientSite::OnUIDeactivate(BOOL) { return S_OK; }
STDMETHODIMP CClientSite::OnInPlaceDeactivate() { return S_OK; }
STDMETHODIMP CClientSite::DiscardUndoState() { return E_NOTIMPL; }
STDMETHODIMP CClientSite::DeactivateAndUndo() { return E_NOTIMPL; }

STDMETHODIMP CClientSite::OnPosRectChange(LPCRECT position) {
    if (!position) return E_POINTER;
    position_ = *position;
    return S_OK;
}

STDMETHODIMP CClientSite::OnInPlaceActivateEx(BOOL* noRedraw, DWORD) {
    if (noRedraw) *noRedraw = FALSE;
    return S_OK;
}

STDMETHODIMP CClientSite::OnInPlaceDeactivateEx(BOOL) { return S_OK; }
STDMETHODIMP CClientSite::RequestUIActivate() { return S_OK; }
STDMETHODIMP CClientSite::OnControlInfoChanged() { return S_OK; }
STDMETHODIMP CClientSite::LockInPlaceActive(BOOL) { return S_OK; }

STDMETHODIMP CClientSite::GetExtendedControl(IDispatch** control) {
    if (control) *control = nullptr;
    return E_NOTIMPL;
}

// The host's own coordinates are pixels of the host window.
STDMETHODIMP CClientSite::TransformCoords(POINTL* himetric, POINTF* container, DWORD flags) {
    if (!himetric || !container) return E_POINTER;
    const PixelsPerInch ppi = PixelsPerInchOfWindow(nullptr);
    if (flags & XFORMCOORDS_HIMETRICTOCONTAINER) {
        container->x = static_cast<float>(HimetricToPixels(himetric->x, ppi.x));
        container->y = static_cast<float>(HimetricToPixels(himetric->y, ppi.y));
    } else if (flags & XFORMCOORDS_CONTAINERTOHIMETRIC) {
        himetric->x = PixelsToHimetric(static_cast<int>(container->x + 0.5f), ppi.x);
        himetric->y = PixelsToHimetric(static_cast<int>(container->y + 0.5f), ppi.y);
    } else {
        return E_INVALIDARG;
    }
    return S_OK;
}

STDMETHODIMP CClientSite::TranslateAccelerator(MSG*, DWORD) { return S_FALSE; }
STDMETHODIMP CClientSite::OnFocus(BOOL) { return S_OK; }
STDMETHODIMP CClientSite::ShowPropertyFrame() { return E_NOTIMPL; }

STDMETHODIMP CClientSite::GetTypeInfoCount(UINT* count) {
    if (!count) return E_POINTER;
    *count = 0;
    return S_OK;
}

STDMETHODIMP CClientSite::GetTypeInfo(UINT, LCID, ITypeInfo** info) {
    if (info) *info = nullptr;
    return DISP_E_BADINDEX;
}

STDMETHODIMP CClientSite::GetIDsOfNames(REFIID, LPOLESTR*, UINT count, LCID, DISPID* ids) {
    for (UINT k = 0; ids && k < count; ++k) ids[k] = DISPID_UNKNOWN;
    return DISP_E_UNKNOWNNAME;
}

STDMETHODIMP CClientSite::Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS*, VARIANT* result, EXCEPINFO*,
                                 UINT*) {
    if (!(flags & DISPATCH_PROPERTYGET)) return DISP_E_MEMBERNOTFOUND;
    VARIANT value;
    if (!GetAmbientProperty(id, name_, &value)) return DISP_E_MEMBERNOTFOUND;
    if (!result) return ::VariantClear(&value);
    *result = value;  // hands over the value's ownership
    return S_OK;
}

}  // namespace kv::host

#include "host/inplace_frame.h"

namespace kv::host {

void* CInPlaceFrame::QueryBase(REFIID riid) {
    if (riid == IID_IOleWindow || riid == IID_IOleInPlaceUIWindow) return static_cast<IOleInPlaceFrame*>(this);
    return nullptr;
}

STDMETHODIMP CInPlaceFrame::GetWindow(HWND* window) {
    if (!window) return E_POINTER;
    *window = window_;
    return S_OK;
}

STDMETHODIMP CInPlaceFrame::ContextSensitiveHelp(BOOL) { return E_NOTIMPL; }
STDMETHODIMP CInPlaceFrame::GetBorder(LPRECT) { return INPLACE_E_NOTOOLSPACE; }
STDMETHODIMP CInPlaceFrame::RequestBorderSpace(LPCBORDERWIDTHS) { return INPLACE_E_NOTOOLSPACE; }
STDMETHODIMP CInPlaceFrame::SetBorderSpace(LPCBORDERWIDTHS) { return INPLACE_E_NOTOOLSPACE; }
// The frame keeps no reference to the active object: keyboard input goes straight to the
// control's window and nothing else would use it.
STDMETHODIMP CInPlaceFrame::SetActiveObject(IOleInPlaceActiveObject*, LPCOLESTR) { return S_OK; }
STDMETHODIMP CInPlaceFrame::InsertMenus(HMENU, LPOLEMENUGROUPWIDTHS) { return E_NOTIMPL; }
STDMETHODIMP CInPlaceFrame::SetMenu(HMENU, HOLEMENU, HWND) { return S_OK; }
STDMETHODIMP CInPlaceFrame::RemoveMenus(HMENU) { return E_NOTIMPL; }
STDMETHODIMP CInPlaceFrame::SetStatusText(LPCOLESTR) { return S_OK; }
STDMETHODIMP CInPlaceFrame::EnableModeless(BOOL) { return S_OK; }
STDMETHODIMP CInPlaceFrame::TranslateAccelerator(LPMSG, WORD) { return S_FALSE; }

}  // namespace kv::host

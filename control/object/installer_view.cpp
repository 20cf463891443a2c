#include "control/object/installer_view.h"

#include "base/result.h"
#include "control/object/embedding_state.h"

void CInstallerView::ViewChanged() {
    CEmbeddingState& e = embedding_;
    if (e.inPlaceActive && e.window) {
        ::InvalidateRect(e.window.get(), nullptr, TRUE);
    } else if (e.viewSink) {
        e.viewSink->OnViewChange(DVASPECT_CONTENT, -1);
    }
}

HRESULT CInstallerView::Draw(DWORD aspect, LONG, void*, DVTARGETDEVICE*, HDC, HDC drawDc,
                             LPCRECTL bounds, LPCRECTL, BOOL(STDMETHODCALLTYPE*)(ULONG_PTR),
                             ULONG_PTR) {
    if (aspect != DVASPECT_CONTENT) return DV_E_DVASPECT;
    if (!drawDc) return E_INVALIDARG;
    RECT area{};
    if (bounds) {
        area = {bounds->left, bounds->top, bounds->right, bounds->bottom};
    } else if (embedding_.window) {
        ::GetClientRect(embedding_.window.get(), &area);
    } else {
        return E_INVALIDARG;
    }
    // The window draws the skin itself; a picture of the control is its dialog background.
    ::FillRect(drawDc, &area, ::GetSysColorBrush(COLOR_BTNFACE));
    return S_OK;
}

HRESULT CInstallerView::GetColorSet(DWORD, LONG, void*, DVTARGETDEVICE*, HDC,
                                    LOGPALETTE** colorSet) {
    if (colorSet) *colorSet = nullptr;
    return E_NOTIMPL;
}

HRESULT CInstallerView::Freeze(DWORD, LONG, void*, DWORD*) { return E_NOTIMPL; }

HRESULT CInstallerView::Unfreeze(DWORD) { return E_NOTIMPL; }

HRESULT CInstallerView::SetAdvise(DWORD aspects, DWORD flags, IAdviseSink* sink) {
    CEmbeddingState& e = embedding_;
    e.viewSink = kv::ComPtr<IAdviseSink>(sink);
    e.viewAspects = aspects;
    e.viewAdviseFlags = flags;
    if (sink && (flags & ADVF_PRIMEFIRST)) sink->OnViewChange(DVASPECT_CONTENT, -1);
    return S_OK;
}

HRESULT CInstallerView::GetAdvise(DWORD* aspects, DWORD* flags, IAdviseSink** sink) {
    const CEmbeddingState& e = embedding_;
    if (aspects) *aspects = e.viewAspects;
    if (flags) *flags = e.viewAdviseFlags;
    if (sink) RETURN_IF_FAILED(e.viewSink.copy_to(sink));
    return S_OK;
}

HRESULT CInstallerView::GetExtent(DWORD aspect, LONG, DVTARGETDEVICE*, LPSIZEL size) {
    if (!size) return E_POINTER;
    if (aspect != DVASPECT_CONTENT) return DV_E_DVASPECT;
    *size = embedding_.extent;
    return S_OK;
}

HRESULT CInstallerView::GetRect(DWORD, LPRECTL) { return E_NOTIMPL; }

HRESULT CInstallerView::GetViewStatus(DWORD* status) {
    if (!status) return E_POINTER;
    *status = VIEWSTATUS_OPAQUE;
    return S_OK;
}

HRESULT CInstallerView::QueryHitPoint(DWORD aspect, LPCRECT bounds, POINT location, LONG,
                                      DWORD* result) {
    if (!result || !bounds) return E_POINTER;
    if (aspect != DVASPECT_CONTENT) return E_FAIL;
    *result = ::PtInRect(bounds, location) ? HITRESULT_HIT : HITRESULT_OUTSIDE;
    return S_OK;
}

HRESULT CInstallerView::QueryHitRect(DWORD aspect, LPCRECT bounds, LPCRECT location, LONG,
                                     DWORD* result) {
    if (!result || !bounds || !location) return E_POINTER;
    if (aspect != DVASPECT_CONTENT) return E_FAIL;
    RECT common{};
    *result = ::IntersectRect(&common, bounds, location) ? HITRESULT_HIT : HITRESULT_OUTSIDE;
    return S_OK;
}

HRESULT CInstallerView::GetNaturalExtent(DWORD, LONG, DVTARGETDEVICE*, HDC, DVEXTENTINFO*,
                                         LPSIZEL) {
    return E_NOTIMPL;
}

#include "control/object/installer_inplace.h"

#include "base/himetric.h"
#include "base/result.h"
#include "control/object/embedding_state.h"

HRESULT CInstallerInPlace::Activate(LONG verb) {
    CEmbeddingState& e = embedding_;
    // Without a site there is nothing to activate in; the host sets one first.
    if (!e.clientSite) return S_OK;
    // OnCreate runs the page's handler while the window is created; it may release the
    // control, deactivate it or close it and clear its site.
    const kv::ComPtr<IUnknown> keepAlive(Controlling());
    RETURN_IF_FAILED(EnterInPlace());
    if (!e.window) {
        RETURN_IF_FAILED(CreateWindowInSite());
        if (!e.window || !e.inPlaceActive || !e.inPlaceSite) return E_UNEXPECTED;
    }
    ::ShowWindow(e.window.get(), SW_SHOWNA);
    if (verb == OLEIVERB_PRIMARY || verb == OLEIVERB_UIACTIVATE) RETURN_IF_FAILED(EnterUI());
    if ((verb == OLEIVERB_PRIMARY || verb == OLEIVERB_SHOW) && e.clientSite) e.clientSite->ShowObject();
    return S_OK;
}

HRESULT CInstallerInPlace::EnterInPlace() {
    CEmbeddingState& e = embedding_;
    if (e.inPlaceActive) return S_OK;
    kv::ComPtr<IOleInPlaceSite> site;
    if (FAILED(e.clientSite.query(site)) || !site) return E_FAIL;
    const HRESULT can = site->CanInPlaceActivate();
    if (can != S_OK) return FAILED(can) ? can : E_FAIL;
    RETURN_IF_FAILED(site->OnInPlaceActivate());
    e.inPlaceSite = std::move(site);
    e.inPlaceActive = true;
    return S_OK;
}

HRESULT CInstallerInPlace::CreateWindowInSite() {
    CEmbeddingState& e = embedding_;
    HWND parent = nullptr;
    RETURN_IF_FAILED(e.inPlaceSite->GetWindow(&parent));
    RECT position{};
    RECT clip{};
    OLEINPLACEFRAMEINFO frameInfo{};
    frameInfo.cb = sizeof frameInfo;
    e.frame.reset();
    e.document.reset();
    RETURN_IF_FAILED(e.inPlaceSite->GetWindowContext(e.frame.put(), e.document.put(), &position,
                                                     &clip, &frameInfo));
    // The window registers itself in the embedding state while it is initialised, so that
    // OnCreate handlers already see it.
    if (!windows_.CreateControlWindowIn(parent)) return kv::HresultFromLastError();
    // The OnCreate handler may have deactivated the control already.
    if (!e.window) return E_UNEXPECTED;
    return SetObjectRects(&position, &clip);
}

HRESULT CInstallerInPlace::EnterUI() {
    CEmbeddingState& e = embedding_;
    if (e.uiActive) return S_OK;
    e.uiActive = true;
    RETURN_IF_FAILED(e.inPlaceSite->OnUIActivate());
    if (e.window && !::IsChild(e.window.get(), ::GetFocus())) ::SetFocus(e.window.get());
    if (e.frame) {
        e.frame->SetActiveObject(this, nullptr);
        e.frame->SetBorderSpace(nullptr);
    }
    if (e.document) {
        e.document->SetActiveObject(this, nullptr);
        e.document->SetBorderSpace(nullptr);
    }
    return S_OK;
}

HRESULT CInstallerInPlace::Hide() {
    CEmbeddingState& e = embedding_;
    RETURN_IF_FAILED(UIDeactivate());
    if (e.window) ::ShowWindow(e.window.get(), SW_HIDE);
    return S_OK;
}

void CInstallerInPlace::RequestSize(SIZEL himetric) {
    CEmbeddingState& e = embedding_;
    if (!e.inPlaceActive || !e.inPlaceSite) return;
    const SIZE pixels = kv::HimetricToPixels(himetric, kv::PixelsPerInchOfWindow(nullptr));
    RECT wanted = e.position;
    wanted.right = wanted.left + pixels.cx;
    wanted.bottom = wanted.top + pixels.cy;
    // The site answers with SetObjectRects when it agrees to the new place.
    e.inPlaceSite->OnPosRectChange(&wanted);
}

HRESULT CInstallerInPlace::GetWindow(HWND* window) {
    if (!window) return E_POINTER;
    *window = embedding_.window.get();
    return *window ? S_OK : E_FAIL;
}

HRESULT CInstallerInPlace::ContextSensitiveHelp(BOOL) { return E_NOTIMPL; }

HRESULT CInstallerInPlace::InPlaceDeactivate() {
    CEmbeddingState& e = embedding_;
    if (!e.inPlaceActive) return S_OK;
    UIDeactivate();
    e.inPlaceActive = false;
    e.window.reset();
    e.frame.reset();
    e.document.reset();
    kv::ComPtr<IOleInPlaceSite> site = std::move(e.inPlaceSite);
    e.inPlaceSite.reset();
    if (site) site->OnInPlaceDeactivate();
    return S_OK;
}

HRESULT CInstallerInPlace::UIDeactivate() {
    CEmbeddingState& e = embedding_;
    if (!e.uiActive) return S_OK;
    e.uiActive = false;
    if (e.document) e.document->SetActiveObject(nullptr, nullptr);
    if (e.frame) e.frame->SetActiveObject(nullptr, nullptr);
    if (e.inPlaceSite) e.inPlaceSite->OnUIDeactivate(FALSE);
    return S_OK;
}

HRESULT CInstallerInPlace::SetObjectRects(LPCRECT position, LPCRECT clip) {
    if (!position) return E_POINTER;
    CEmbeddingState& e = embedding_;
    e.position = *position;
    if (!e.window) return S_OK;
    HWND window = e.window.get();
    ::SetWindowPos(window, nullptr, position->left, position->top,
                   position->right - position->left, position->bottom - position->top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
    // Only the part inside the clip rectangle may show; the region is in window coordinates.
    RECT visible = *position;
    if (clip) ::IntersectRect(&visible, position, clip);
    if (::EqualRect(&visible, position)) {
        ::SetWindowRgn(window, nullptr, TRUE);
    } else {
        ::OffsetRect(&visible, -position->left, -position->top);
        HRGN region = ::CreateRectRgnIndirect(&visible);
        // The window owns the region once it is set.
        if (region && !::SetWindowRgn(window, region, TRUE)) ::DeleteObject(region);
    }
    return S_OK;
}

HRESULT CInstallerInPlace::ReactivateAndUndo() { return E_NOTIMPL; }

HRESULT CInstallerInPlace::OnWindowMessage(UINT, WPARAM, LPARAM, LRESULT* result) {
    if (result) *result = 0;
    // Windowed only: the control window receives its messages itself.
    return S_FALSE;
}

HRESULT CInstallerInPlace::GetDropTarget(IDropTarget** target) {
    RETURN_IF_FAILED(ClearOut(target));
    return E_NOTIMPL;
}

HRESULT CInstallerInPlace::TranslateAccelerator(LPMSG message) {
    if (!message || !embedding_.window) return S_FALSE;
    return windows_.TranslateWindowKey(*message) ? S_OK : S_FALSE;
}

HRESULT CInstallerInPlace::OnFrameWindowActivate(BOOL) { return S_OK; }

HRESULT CInstallerInPlace::OnDocWindowActivate(BOOL) { return S_OK; }

HRESULT CInstallerInPlace::ResizeBorder(LPCRECT, IOleInPlaceUIWindow*, BOOL) { return S_OK; }

HRESULT CInstallerInPlace::EnableModeless(BOOL) { return S_OK; }

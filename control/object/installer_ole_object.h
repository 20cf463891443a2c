// The embedding part of the Installer: IOleObject, through which the host gives the control
// its client site, sizes it, runs its verbs and closes it.
#pragma once

#include "control/object/com_part.h"

#include <oleidl.h>

struct CEmbeddingState;
class CInstallerInPlace;
class CInstallerView;
namespace kv {
class SiteGuard;
}

// OLEMISC of the control: recompose on resize, cannot link inside, inside-out, activate when
// visible, set client site first.
constexpr DWORD kInstallerMiscStatus = 0x20191;

class CInstallerOleObject final : public CPart<IOleObject> {
public:
    CInstallerOleObject(IUnknown* controlling, CEmbeddingState& embedding, CInstallerInPlace& inPlace,
                        CInstallerView& view, kv::SiteGuard& siteGuard) noexcept
        : CPart(controlling), embedding_(embedding), inPlace_(inPlace), view_(view), siteGuard_(siteGuard) {}

    // Shared with IQuickActivate.
    HRESULT ChangeExtent(const SIZEL& extent);

    HRESULT STDMETHODCALLTYPE SetClientSite(IOleClientSite* site) override;
    HRESULT STDMETHODCALLTYPE GetClientSite(IOleClientSite** site) override;
    HRESULT STDMETHODCALLTYPE SetHostNames(LPCOLESTR application, LPCOLESTR object) override;
    HRESULT STDMETHODCALLTYPE Close(DWORD saveOption) override;
    HRESULT STDMETHODCALLTYPE SetMoniker(DWORD which, IMoniker* moniker) override;
    HRESULT STDMETHODCALLTYPE GetMoniker(DWORD assign, DWORD which, IMoniker** moniker) override;
    HRESULT STDMETHODCALLTYPE InitFromData(IDataObject* data, BOOL creation,
                                           DWORD reserved) override;
    HRESULT STDMETHODCALLTYPE GetClipboardData(DWORD reserved, IDataObject** data) override;
    HRESULT STDMETHODCALLTYPE DoVerb(LONG verb, LPMSG message, IOleClientSite* activeSite,
                                     LONG index, HWND parent, LPCRECT position) override;
    HRESULT STDMETHODCALLTYPE EnumVerbs(IEnumOLEVERB** verbs) override;
    HRESULT STDMETHODCALLTYPE Update() override;
    HRESULT STDMETHODCALLTYPE IsUpToDate() override;
    HRESULT STDMETHODCALLTYPE GetUserClassID(CLSID* clsid) override;
    HRESULT STDMETHODCALLTYPE GetUserType(DWORD form, LPOLESTR* type) override;
    HRESULT STDMETHODCALLTYPE SetExtent(DWORD aspect, SIZEL* size) override;
    HRESULT STDMETHODCALLTYPE GetExtent(DWORD aspect, SIZEL* size) override;
    HRESULT STDMETHODCALLTYPE Advise(IAdviseSink* sink, DWORD* connection) override;
    HRESULT STDMETHODCALLTYPE Unadvise(DWORD connection) override;
    HRESULT STDMETHODCALLTYPE EnumAdvise(IEnumSTATDATA** advises) override;
    HRESULT STDMETHODCALLTYPE GetMiscStatus(DWORD aspect, DWORD* status) override;
    HRESULT STDMETHODCALLTYPE SetColorScheme(LOGPALETTE* palette) override;

private:
    CEmbeddingState& embedding_;
    CInstallerInPlace& inPlace_;
    CInstallerView& view_;
    kv::SiteGuard& siteGuard_;
};

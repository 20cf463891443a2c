#include "host/hosted_control.h"

#include <objsafe.h>
#include <olectl.h>

#include "base/result.h"

// mingw-w64's objsafe.h declares no uuid for the interface, which __uuidof needs.
__CRT_UUID_DECL(IObjectSafety, 0xcb5bdc81, 0x93c1, 0x11cf, 0x8f, 0x20, 0x00, 0x80, 0x5f, 0x2c, 0xd0, 0x64)

namespace kv::host {

HRESULT HostedControl::ParseClassId(const std::wstring& classId, CLSID& clsid) {
    constexpr wchar_t kPrefix[] = L"clsid:";
    constexpr std::size_t kPrefixLength = sizeof(kPrefix) / sizeof(kPrefix[0]) - 1;
    if (classId.size() <= kPrefixLength || ::CompareStringOrdinal(classId.c_str(), kPrefixLength, kPrefix,
                                                                  kPrefixLength, TRUE) != CSTR_EQUAL) {
        return E_INVALIDARG;
    }
    std::wstring guid = classId.substr(kPrefixLength);
    if (guid.front() != L'{') guid = L"{" + guid + L"}";
    return ::CLSIDFromString(guid.c_str(), &clsid) == NOERROR ? S_OK : E_INVALIDARG;
}

HRESULT HostedControl::Create(const CLSID& clsid, ComPtr<CClientSite> site) {
    site_ = std::move(site);
    RETURN_IF_FAILED(::CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, __uuidof(IOleObject),
                                        object_.put_void()));
    DWORD status = 0;
    object_->GetMiscStatus(DVASPECT_CONTENT, &status);
    const bool siteFirst = (status & OLEMISC_SETCLIENTSITEFIRST) != 0;
    if (siteFirst) RETURN_IF_FAILED(object_->SetClientSite(site_.get()));
    ComPtr<IObjectSafety> safety;
    if (SUCCEEDED(object_.query(safety))) {
        dataSafety_ = safety->SetInterfaceSafetyOptions(IID_IPersistStreamInit, INTERFACESAFE_FOR_UNTRUSTED_DATA,
                                                        INTERFACESAFE_FOR_UNTRUSTED_DATA);
        callerSafety_ = safety->SetInterfaceSafetyOptions(IID_IDispatch, INTERFACESAFE_FOR_UNTRUSTED_CALLER,
                                                          INTERFACESAFE_FOR_UNTRUSTED_CALLER);
    }
    ComPtr<IPersistStreamInit> persist;
    if (SUCCEEDED(object_.query(persist))) RETURN_IF_FAILED(persist->InitNew());
    if (!siteFirst) RETURN_IF_FAILED(object_->SetClientSite(site_.get()));
    return S_OK;
}

HRESULT HostedControl::GetEventInterface(IID& eventInterface, ComPtr<ITypeInfo>& typeInfo) const {
    const ComPtr<ITypeInfo> classInfo = ClassInfo();
    RETURN_HR_IF(E_NOINTERFACE, !classInfo);
    TYPEATTR* attributes = nullptr;
    RETURN_IF_FAILED(classInfo->GetTypeAttr(&attributes));
    const WORD count = attributes->cImplTypes;
    classInfo->ReleaseTypeAttr(attributes);
    for (UINT k = 0; k < count; ++k) {
        INT flags = 0;
        if (FAILED(classInfo->GetImplTypeFlags(k, &flags))) continue;
        if ((flags & (IMPLTYPEFLAG_FDEFAULT | IMPLTYPEFLAG_FSOURCE)) != (IMPLTYPEFLAG_FDEFAULT | IMPLTYPEFLAG_FSOURCE)) {
            continue;
        }
        HREFTYPE reference = 0;
        RETURN_IF_FAILED(classInfo->GetRefTypeOfImplType(k, &reference));
        RETURN_IF_FAILED(classInfo->GetRefTypeInfo(reference, typeInfo.put()));
        RETURN_IF_FAILED(typeInfo->GetTypeAttr(&attributes));
        eventInterface = attributes->guid;
        typeInfo->ReleaseTypeAttr(attributes);
        return S_OK;
    }
    return CONNECT_E_NOCONNECTION;
}

HRESULT HostedControl::Advise(const IID& eventInterface, ComPtr<CEventSink> sink) {
    ComPtr<IConnectionPointContainer> container;
    RETURN_IF_FAILED(object_.query(container));
    RETURN_IF_FAILED(container->FindConnectionPoint(eventInterface, connection_.put()));
    RETURN_IF_FAILED(connection_->Advise(static_cast<IDispatch*>(sink.get()), &cookie_));
    sink_ = std::move(sink);
    return S_OK;
}

HRESULT HostedControl::Activate() {
    RETURN_HR_IF(E_UNEXPECTED, !object_);
    RECT position = site_->Position();
    const SIZE pixels = {position.right - position.left, position.bottom - position.top};
    // The extent is given in HIMETRIC, as the page's pixel size at the screen's resolution.
    POINTL himetric = {};
    POINTF container = {static_cast<float>(pixels.cx), static_cast<float>(pixels.cy)};
    if (SUCCEEDED(site_->TransformCoords(&himetric, &container, XFORMCOORDS_SIZE | XFORMCOORDS_CONTAINERTOHIMETRIC))) {
        SIZEL extent = {himetric.x, himetric.y};
        object_->SetExtent(DVASPECT_CONTENT, &extent);
    }
    HWND window = nullptr;
    site_->GetWindow(&window);
    return object_->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, site_.get(), 0, window, &position);
}

bool HostedControl::TranslateAccelerator(MSG& message) const {
    ComPtr<IOleInPlaceActiveObject> active;
    return object_ && SUCCEEDED(object_.query(active)) && active->TranslateAccelerator(&message) == S_OK;
}

HRESULT HostedControl::TakeFocus() {
    RETURN_HR_IF(E_UNEXPECTED, !object_);
    RECT position = site_->Position();
    HWND parent = nullptr;
    site_->GetWindow(&parent);
    RETURN_IF_FAILED(object_->DoVerb(OLEIVERB_UIACTIVATE, nullptr, site_.get(), 0, parent, &position));
    // A control that is UI active already keeps whatever focus it had; a browser's Tab
    // gives it the focus again.
    const HWND window = Window();
    const HWND focus = ::GetFocus();
    if (window && focus != window && !::IsChild(window, focus)) ::SetFocus(window);
    return S_OK;
}

SIZE HostedControl::NaturalSize() const {
    SIZE pixels = {};
    SIZEL extent = {};
    if (!object_ || FAILED(object_->GetExtent(DVASPECT_CONTENT, &extent))) return pixels;
    POINTL himetric = {extent.cx, extent.cy};
    POINTF container = {};
    if (SUCCEEDED(site_->TransformCoords(&himetric, &container, XFORMCOORDS_SIZE | XFORMCOORDS_HIMETRICTOCONTAINER))) {
        pixels.cx = static_cast<LONG>(container.x + 0.5f);
        pixels.cy = static_cast<LONG>(container.y + 0.5f);
    }
    return pixels;
}

HWND HostedControl::Window() const {
    HWND window = nullptr;
    ComPtr<IOleInPlaceObject> inPlace;
    if (object_ && SUCCEEDED(object_.query(inPlace)) && FAILED(inPlace->GetWindow(&window))) window = nullptr;
    return window;
}

ComPtr<IUnknown> HostedControl::Unknown() const {
    ComPtr<IUnknown> unknown;
    if (object_) object_.query(unknown);
    return unknown;
}

ComPtr<ITypeInfo> HostedControl::ClassInfo() const {
    ComPtr<ITypeInfo> info;
    ComPtr<IProvideClassInfo> provider;
    if (object_ && SUCCEEDED(object_.query(provider))) provider->GetClassInfo(info.put());
    return info;
}

void HostedControl::Close() {
    if (sink_) sink_->Disconnect();
    if (connection_) connection_->Unadvise(cookie_);
    connection_.reset();
    sink_.reset();
    if (object_) {
        ComPtr<IOleInPlaceObject> inPlace;
        if (SUCCEEDED(object_.query(inPlace))) inPlace->InPlaceDeactivate();
        object_->Close(OLECLOSE_NOSAVE);
        object_->SetClientSite(nullptr);
        object_.reset();
    }
    site_.reset();
}

}  // namespace kv::host

#include "control/object/page_address.h"

#include "base/codepage.h"
#include "base/com_ptr.h"
#include "base/unique_resource.h"

#include <mshtml.h>

namespace kv {
namespace {

std::string FromContainerMoniker(IOleClientSite* site) {
    ComPtr<IMoniker> moniker;
    if (FAILED(site->GetMoniker(OLEGETMONIKER_ONLYIFTHERE, OLEWHICHMK_CONTAINER, moniker.put())) || !moniker) {
        return {};
    }
    ComPtr<IBindCtx> context;
    if (FAILED(::CreateBindCtx(0, context.put()))) return {};
    LPOLESTR text = nullptr;
    const HRESULT hr = moniker->GetDisplayName(context.get(), nullptr, &text);
    const unique_cotaskmem owned(text);
    if (FAILED(hr) || !text) return {};
    return WideToUtf8(text);
}

std::string FromDocument(IOleClientSite* site) {
    ComPtr<IOleContainer> container;
    if (FAILED(site->GetContainer(container.put())) || !container) return {};
    ComPtr<IHTMLDocument2> document;
    if (FAILED(container.query(document)) || !document) return {};
    UniqueBstr url;
    if (FAILED(document->get_URL(url.put())) || !url.get()) return {};
    return WideToUtf8(std::wstring_view(url.get(), ::SysStringLen(url.get())));
}

}  // namespace

std::string PageAddressOf(IOleClientSite* site) {
    if (!site) return {};
    std::string address = FromContainerMoniker(site);
    if (address.empty()) address = FromDocument(site);
    return address;
}

}  // namespace kv

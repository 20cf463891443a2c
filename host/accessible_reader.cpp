#include "host/accessible_reader.h"

#include <oleacc.h>

#include "base/com_ptr.h"
#include "base/result.h"

namespace kv::host {
namespace {

std::wstring Taken(BSTR text) {
    UniqueBstr owned;
    *owned.put() = text;
    return owned.str();
}

}  // namespace

HRESULT ReadAccessible(HWND window, AccessibleReading& reading) {
    reading = AccessibleReading{};
    ComPtr<IAccessible> object;
    RETURN_IF_FAILED(::AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                                  object.put_void()));
    RETURN_HR_IF(E_FAIL, !object);
    VARIANT self;
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    BSTR text = nullptr;
    if (SUCCEEDED(object->get_accName(self, &text))) reading.name = Taken(text);
    text = nullptr;
    if (SUCCEEDED(object->get_accValue(self, &text))) reading.value = Taken(text);
    VARIANT number;
    ::VariantInit(&number);
    if (SUCCEEDED(object->get_accRole(self, &number)) && number.vt == VT_I4) reading.role = number.lVal;
    ::VariantClear(&number);
    if (SUCCEEDED(object->get_accState(self, &number)) && number.vt == VT_I4) reading.state = number.lVal;
    ::VariantClear(&number);
    return S_OK;
}

}  // namespace kv::host

#include "control/object/error_report.h"

#include "base/codepage.h"
#include "base/com_ptr.h"

#include <oleauto.h>

void SetErrorDescription(const std::string& text) noexcept {
    try {
        const std::wstring description = kv::AnsiToWide(text);
        kv::ComPtr<ICreateErrorInfo> created;
        if (SUCCEEDED(::CreateErrorInfo(created.put()))) {
            created->SetDescription(const_cast<LPOLESTR>(description.c_str()));
            // Unset means null; Wine leaves a new error object's interface identifier as
            // whatever its memory held.
            created->SetGUID(GUID_NULL);
            kv::ComPtr<IErrorInfo> info;
            if (SUCCEEDED(created.query(info))) ::SetErrorInfo(0, info.get());
        }
    } catch (...) {
        // Without memory for the description the caller still learns of the failure.
    }
}

HRESULT ReportError(int32_t code, const std::string& text) noexcept {
    try {
        SetErrorDescription(FormatErrorDescription(code, text));
    } catch (...) {
        // Without memory for the description the caller still learns of the failure.
    }
    return E_FAIL;
}

#include "skin/child_accessible.h"

#include "base/com_ptr.h"
#include "base/result.h"
#include "skin/skin_button.h"

#include <commctrl.h>

#include <new>
#include <string>

namespace kv {
namespace {

// The default action of a push button, as the system's Korean one is called.
constexpr wchar_t kPressAction[] = L"\xB204\xB974\xAE30";  // 누르기

std::wstring TextOf(HWND window) {
    std::wstring text(static_cast<size_t>(::GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<size_t>(::GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

HRESULT ToBstr(const std::wstring& text, BSTR* out) {
    *out = ::SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    return *out ? S_OK : E_OUTOFMEMORY;
}

bool IsSelf(const VARIANT& child) { return child.vt == VT_I4 && child.lVal == CHILDID_SELF; }

// The window's own answers over the system's standard object, which keeps the rest.
class CChildAccessible final : public IAccessible {
public:
    CChildAccessible(HWND window, AccessibleFacts facts, ComPtr<IAccessible> standard)
        : window_(window), facts_(std::move(facts)), standard_(std::move(standard)) {}

    // IUnknown
    STDMETHODIMP QueryInterface(REFIID riid, void** object) override {
        if (!object) return E_POINTER;
        *object = nullptr;
        if (riid != IID_IUnknown && riid != IID_IDispatch && riid != __uuidof(IAccessible)) return E_NOINTERFACE;
        *object = static_cast<IAccessible*>(this);
        AddRef();
        return S_OK;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return static_cast<ULONG>(::InterlockedIncrement(&refs_)); }
    STDMETHODIMP_(ULONG) Release() override {
        const LONG left = ::InterlockedDecrement(&refs_);
        if (left == 0) delete this;
        return static_cast<ULONG>(left);
    }

    // IDispatch
    STDMETHODIMP GetTypeInfoCount(UINT* count) override { return standard_->GetTypeInfoCount(count); }
    STDMETHODIMP GetTypeInfo(UINT index, LCID lcid, ITypeInfo** info) override {
        return standard_->GetTypeInfo(index, lcid, info);
    }
    STDMETHODIMP GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID lcid, DISPID* ids) override {
        return standard_->GetIDsOfNames(riid, names, count, lcid, ids);
    }
    STDMETHODIMP Invoke(DISPID id, REFIID riid, LCID lcid, WORD flags, DISPPARAMS* params, VARIANT* result,
                        EXCEPINFO* exception, UINT* argError) override {
        return standard_->Invoke(id, riid, lcid, flags, params, result, exception, argError);
    }

    // IAccessible: the window's own answers
    STDMETHODIMP get_accName(VARIANT child, BSTR* name) noexcept override try {
        RETURN_HR_IF(E_POINTER, !name);
        *name = nullptr;
        RETURN_HR_IF(E_INVALIDARG, !IsSelf(child));
        RETURN_HR_IF(E_FAIL, !::IsWindow(window_));
        const std::wstring text = AccessibleName(facts_.name, TextOf(window_));
        if (text.empty()) return S_FALSE;
        return ToBstr(text, name);
    }
    CATCH_RETURN()

    STDMETHODIMP get_accRole(VARIANT child, VARIANT* role) override {
        RETURN_HR_IF(E_POINTER, !role);
        ::VariantInit(role);
        RETURN_HR_IF(E_INVALIDARG, !IsSelf(child));
        role->vt = VT_I4;
        role->lVal = facts_.role;
        return S_OK;
    }

    STDMETHODIMP get_accState(VARIANT child, VARIANT* state) override {
        RETURN_HR_IF(E_POINTER, !state);
        ::VariantInit(state);
        RETURN_HR_IF(E_INVALIDARG, !IsSelf(child));
        RETURN_HR_IF(E_FAIL, !::IsWindow(window_));
        state->vt = VT_I4;
        state->lVal = AccessibleState(window_, facts_.role);
        return S_OK;
    }

    STDMETHODIMP get_accValue(VARIANT child, BSTR* value) noexcept override try {
        RETURN_HR_IF(E_POINTER, !value);
        *value = nullptr;
        RETURN_HR_IF(E_INVALIDARG, !IsSelf(child));
        if (facts_.role != ROLE_SYSTEM_PROGRESSBAR) return S_FALSE;
        RETURN_HR_IF(E_FAIL, !::IsWindow(window_));
        const auto position = static_cast<int>(::SendMessageW(window_, PBM_GETPOS, 0, 0));
        return ToBstr(std::to_wstring(position) + L"%", value);
    }
    CATCH_RETURN()

    STDMETHODIMP get_accDefaultAction(VARIANT child, BSTR* action) override {
        RETURN_HR_IF(E_POINTER, !action);
        *action = nullptr;
        RETURN_HR_IF(E_INVALIDARG, !IsSelf(child));
        if (facts_.role != ROLE_SYSTEM_PUSHBUTTON) return S_FALSE;
        return ToBstr(kPressAction, action);
    }

    STDMETHODIMP accDoDefaultAction(VARIANT child) override {
        RETURN_HR_IF(E_INVALIDARG, !IsSelf(child));
        if (facts_.role != ROLE_SYSTEM_PUSHBUTTON) return DISP_E_MEMBERNOTFOUND;
        return PressButton(window_) ? S_OK : E_FAIL;
    }

    // IAccessible: the system's standard answers
    STDMETHODIMP get_accParent(IDispatch** parent) override { return standard_->get_accParent(parent); }
    STDMETHODIMP get_accChildCount(LONG* count) override { return standard_->get_accChildCount(count); }
    STDMETHODIMP get_accChild(VARIANT child, IDispatch** object) override {
        return standard_->get_accChild(child, object);
    }
    STDMETHODIMP get_accDescription(VARIANT child, BSTR* text) override {
        return standard_->get_accDescription(child, text);
    }
    STDMETHODIMP get_accHelp(VARIANT child, BSTR* text) override { return standard_->get_accHelp(child, text); }
    STDMETHODIMP get_accHelpTopic(BSTR* file, VARIANT child, LONG* topic) override {
        return standard_->get_accHelpTopic(file, child, topic);
    }
    STDMETHODIMP get_accKeyboardShortcut(VARIANT child, BSTR* text) override {
        return standard_->get_accKeyboardShortcut(child, text);
    }
    STDMETHODIMP get_accFocus(VARIANT* child) override { return standard_->get_accFocus(child); }
    STDMETHODIMP get_accSelection(VARIANT* children) override { return standard_->get_accSelection(children); }
    STDMETHODIMP accSelect(LONG flags, VARIANT child) override { return standard_->accSelect(flags, child); }
    STDMETHODIMP accLocation(LONG* left, LONG* top, LONG* width, LONG* height, VARIANT child) override {
        return standard_->accLocation(left, top, width, height, child);
    }
    STDMETHODIMP accNavigate(LONG direction, VARIANT start, VARIANT* end) override {
        return standard_->accNavigate(direction, start, end);
    }
    STDMETHODIMP accHitTest(LONG x, LONG y, VARIANT* child) override { return standard_->accHitTest(x, y, child); }
    STDMETHODIMP put_accName(VARIANT child, BSTR name) override { return standard_->put_accName(child, name); }
    STDMETHODIMP put_accValue(VARIANT child, BSTR value) override {
        return standard_->put_accValue(child, value);
    }

private:
    ~CChildAccessible() = default;

    HWND window_;  // not owned; a screen reader may keep the object after the window is gone
    AccessibleFacts facts_;
    ComPtr<IAccessible> standard_;
    LONG refs_ = 1;
};

}  // namespace

std::wstring AccessibleName(const std::wstring& name, const std::wstring& text) {
    if (name.empty()) return text;
    if (text.empty()) return name;
    return name + L" " + text;
}

LONG AccessibleState(HWND window, LONG role) {
    LONG state = 0;
    if (!::IsWindowVisible(window)) state |= STATE_SYSTEM_INVISIBLE;
    if (!::IsWindowEnabled(window)) state |= STATE_SYSTEM_UNAVAILABLE;
    if (role == ROLE_SYSTEM_PUSHBUTTON) {
        state |= STATE_SYSTEM_FOCUSABLE;
        if (::GetFocus() == window) state |= STATE_SYSTEM_FOCUSED;
    } else if (role == ROLE_SYSTEM_STATICTEXT || role == ROLE_SYSTEM_PROGRESSBAR) {
        state |= STATE_SYSTEM_READONLY;
    }
    return state;
}

LRESULT AnswerAccessibleRequest(HWND window, WPARAM wParam, LPARAM lParam, const AccessibleFacts& facts) {
    if (facts.role == 0 || static_cast<LONG>(static_cast<DWORD>(lParam)) != OBJID_CLIENT) return 0;
    ComPtr<IAccessible> standard;
    if (FAILED(::CreateStdAccessibleObject(window, OBJID_CLIENT, __uuidof(IAccessible), standard.put_void()))) return 0;
    auto* object = new (std::nothrow) CChildAccessible(window, facts, std::move(standard));
    if (!object) return 0;
    const LRESULT result = ::LresultFromObject(__uuidof(IAccessible), wParam, object);
    object->Release();
    return result < 0 ? 0 : result;
}

}  // namespace kv

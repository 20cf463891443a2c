#include "host/key_input.h"

#include <vector>

#include "base/result.h"

namespace kv::host {
namespace {

INPUT Key(WORD key, bool up) {
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.wScan = static_cast<WORD>(::MapVirtualKeyW(key, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    return input;
}

}  // namespace

HRESULT PressKey(const std::wstring& name) {
    bool shift = false;
    WORD key = 0;
    if (name == L"Tab") {
        key = VK_TAB;
    } else if (name == L"Shift+Tab") {
        key = VK_TAB;
        shift = true;
    } else if (name == L"Space") {
        key = VK_SPACE;
    } else if (name == L"Enter") {
        key = VK_RETURN;
    } else if (name == L"Escape") {
        key = VK_ESCAPE;
    } else {
        return E_INVALIDARG;
    }
    std::vector<INPUT> inputs;
    if (shift) inputs.push_back(Key(VK_SHIFT, false));
    inputs.push_back(Key(key, false));
    inputs.push_back(Key(key, true));
    if (shift) inputs.push_back(Key(VK_SHIFT, true));
    const auto count = static_cast<UINT>(inputs.size());
    RETURN_HR_IF(::kv::HresultFromLastError(), ::SendInput(count, inputs.data(), sizeof(INPUT)) != count);
    return S_OK;
}

}  // namespace kv::host

#include "control/module/registry_script_replacement.h"

#include <cwctype>

namespace kv {
namespace {

constexpr size_t kMaxModulePath = MAX_PATH - 1;

bool EqualsNoCase(std::wstring_view a, std::wstring_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (std::towupper(a[i]) != std::towupper(b[i])) return false;
    }
    return true;
}

}  // namespace

void RegistryReplacements::Add(std::wstring name, std::wstring value) {
    for (auto& entry : entries_) {
        if (EqualsNoCase(entry.first, name)) {
            entry.second = std::move(value);
            return;
        }
    }
    entries_.emplace_back(std::move(name), std::move(value));
}

const std::wstring* RegistryReplacements::Find(std::wstring_view name) const {
    for (const auto& entry : entries_) {
        if (EqualsNoCase(entry.first, name)) return &entry.second;
    }
    return nullptr;
}

HRESULT ExpandRegistryScript(std::wstring_view text, const RegistryReplacements& replacements,
                             std::wstring& out) {
    out.clear();
    std::wstring result;
    result.reserve(text.size());
    size_t pos = 0;
    while (pos < text.size()) {
        const size_t open = text.find(L'%', pos);
        if (open == std::wstring_view::npos) {
            result.append(text.substr(pos));
            break;
        }
        result.append(text.substr(pos, open - pos));
        const size_t close = text.find(L'%', open + 1);
        if (close == std::wstring_view::npos) return DISP_E_EXCEPTION;
        const std::wstring_view name = text.substr(open + 1, close - open - 1);
        if (name.empty()) {
            result.push_back(L'%');
        } else {
            const std::wstring* value = replacements.Find(name);
            if (!value) return DISP_E_EXCEPTION;
            result.append(*value);
        }
        pos = close + 1;
    }
    out = std::move(result);
    return S_OK;
}

std::wstring QuoteForRegistryScript(std::wstring_view value) {
    std::wstring quoted;
    quoted.reserve(value.size());
    for (const wchar_t c : value) {
        quoted.push_back(c);
        if (c == L'\'') quoted.push_back(L'\'');
    }
    return quoted;
}

HRESULT ModulePathReplacement(std::wstring_view path, std::wstring& out) {
    out.clear();
    if (path.size() > kMaxModulePath) return HRESULT_FROM_WIN32(ERROR_INSUFFICIENT_BUFFER);
    out = QuoteForRegistryScript(path);
    return S_OK;
}

}  // namespace kv

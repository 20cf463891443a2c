#include "control/object/allowed_sites.h"

#include "base/codepage.h"
#include "base/unique_resource.h"
#include "control/resource.h"

namespace kv {
namespace {

constexpr wchar_t kPolicyKey[] = L"SOFTWARE\\Policies\\Korvendal\\AllowedSites";

// The policy's entries, or nothing when its key does not exist. A key that exists but
// cannot be read allows no site rather than none of its limits.
std::optional<std::vector<std::string>> ReadPolicySites() {
    unique_hkey key;
    const LSTATUS opened = ::RegOpenKeyExW(HKEY_LOCAL_MACHINE, kPolicyKey, 0, KEY_QUERY_VALUE | KEY_WOW64_64KEY,
                                           key.put());
    if (opened == ERROR_FILE_NOT_FOUND) return std::nullopt;
    std::vector<std::string> entries;
    if (opened != ERROR_SUCCESS) {
        WriteSiteDebugLine("the allowed-sites policy cannot be read (" + std::to_string(opened) + "): no site is allowed");
        return entries;
    }
    DWORD count = 0, longestName = 0, longestData = 0;
    if (::RegQueryInfoKeyW(key.get(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &count, &longestName,
                           &longestData, nullptr, nullptr) != ERROR_SUCCESS) {
        WriteSiteDebugLine("the allowed-sites policy cannot be read: no site is allowed");
        return entries;
    }
    std::wstring name(longestName + 1, L'\0');
    std::wstring data(longestData / sizeof(wchar_t) + 1, L'\0');
    for (DWORD index = 0; index < count; ++index) {
        DWORD nameLength = static_cast<DWORD>(name.size());
        DWORD dataSize = static_cast<DWORD>(data.size() * sizeof(wchar_t));
        DWORD type = 0;
        if (::RegEnumValueW(key.get(), index, name.data(), &nameLength, nullptr, &type,
                            reinterpret_cast<BYTE*>(data.data()), &dataSize) != ERROR_SUCCESS) {
            continue;
        }
        const std::wstring valueName(name.data(), nameLength);
        if (type != REG_SZ) {
            WriteSiteDebugLine("allowed-sites policy value " + WideToUtf8(valueName) + " ignored: not REG_SZ");
            continue;
        }
        std::wstring_view text(data.data(), dataSize / sizeof(wchar_t));
        while (!text.empty() && text.back() == L'\0') text.remove_suffix(1);
        entries.push_back(WideToUtf8(text));
    }
    return entries;
}

std::optional<std::vector<std::string>> ReadModuleSites(HMODULE module) {
    HRSRC found = ::FindResourceA(module, MAKEINTRESOURCEA(IDR_ALLOWED_SITES), RT_RCDATA);
    if (!found) return std::nullopt;
    HGLOBAL loaded = ::LoadResource(module, found);
    const void* bytes = loaded ? ::LockResource(loaded) : nullptr;
    if (!bytes) return std::nullopt;
    return ReadPackedSites(std::string_view(static_cast<const char*>(bytes), ::SizeofResource(module, found)));
}

}  // namespace

void WriteSiteDebugLine(const std::string& text) {
    ::OutputDebugStringA(("Korvendal: " + text + "\n").c_str());
}

std::optional<std::vector<std::string>> ReadPackedSites(std::string_view bytes) {
    if (bytes.substr(0, kPackedSitesMagic.size()) != kPackedSitesMagic) return std::nullopt;
    bytes.remove_prefix(kPackedSitesMagic.size());
    bytes = bytes.substr(0, bytes.find('\0'));
    std::vector<std::string> entries;
    while (!bytes.empty()) {
        const std::size_t end = bytes.find('\n');
        std::string_view line = bytes.substr(0, end);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (!line.empty()) entries.emplace_back(line);
        if (end == std::string_view::npos) break;
        bytes.remove_prefix(end + 1);
    }
    if (entries.empty()) return std::nullopt;
    return entries;
}

std::optional<std::vector<std::string>> LoadAllowedSites(HMODULE module) {
    if (std::optional<std::vector<std::string>> policy = ReadPolicySites()) return policy;
    return ReadModuleSites(module);
}

}  // namespace kv

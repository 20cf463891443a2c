#include "registry_script_test_support.h"

#include <windows.h>

namespace kv::test {
namespace {

std::wstring RootName(RegistryRoot root) {
    switch (root) {
        case RegistryRoot::ClassesRoot: return L"HKCR";
        case RegistryRoot::CurrentUser: return L"HKCU";
        case RegistryRoot::LocalMachine: return L"HKLM";
        case RegistryRoot::Users: return L"HKU";
        case RegistryRoot::CurrentConfig: return L"HKCC";
    }
    return L"?";
}

std::wstring ValueText(const RegistryValue& value) {
    if (value.type == RegistryValue::Type::Dword) return L"d " + std::to_wstring(value.number);
    return L"s '" + value.text + L"'";
}

void FlattenKey(const std::wstring& parent, const RegistryKeyNode& key, std::vector<std::wstring>& lines) {
    const std::wstring path = parent + L"\\" + key.name;
    std::wstring line = path;
    if (key.flag == RegistryKeyFlag::NoRemove) line += L" [NoRemove]";
    if (key.flag == RegistryKeyFlag::ForceRemove) line += L" [ForceRemove]";
    if (key.defaultValue) line += L" = " + ValueText(*key.defaultValue);
    lines.push_back(line);
    for (const auto& value : key.values) lines.push_back(path + L" val " + value.name + L" = " + ValueText(value.value));
    for (const auto& child : key.subkeys) FlattenKey(path, child, lines);
}

}  // namespace

std::wstring ShippedScript(unsigned resourceId) {
    const HRSRC resource = ::FindResourceW(nullptr, MAKEINTRESOURCEW(resourceId), L"REGISTRY");
    if (!resource) return {};
    const auto* bytes = static_cast<const char*>(::LockResource(::LoadResource(nullptr, resource)));
    const DWORD size = ::SizeofResource(nullptr, resource);
    return std::wstring(bytes, bytes + size);  // the scripts are ASCII
}

std::vector<std::wstring> Flatten(const RegistryScript& script) {
    std::vector<std::wstring> lines;
    for (const auto& root : script.roots) {
        lines.push_back(RootName(root.root));
        for (const auto& key : root.keys) FlattenKey(RootName(root.root), key, lines);
    }
    return lines;
}

}  // namespace kv::test

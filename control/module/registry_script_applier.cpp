#include "control/module/registry_script_applier.h"

#include "base/unique_resource.h"

namespace kv {
namespace {

bool IsMissing(LSTATUS status) {
    return status == ERROR_FILE_NOT_FOUND || status == ERROR_PATH_NOT_FOUND;
}

HRESULT SetValue(HKEY key, const wchar_t* name, const RegistryValue& value) {
    LSTATUS status;
    if (value.type == RegistryValue::Type::Dword) {
        status = ::RegSetValueExW(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value.number),
                                  sizeof(value.number));
    } else {
        const DWORD bytes = static_cast<DWORD>((value.text.size() + 1) * sizeof(wchar_t));
        status = ::RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.text.c_str()),
                                  bytes);
    }
    return HRESULT_FROM_WIN32(status);
}

HRESULT DeleteTree(HKEY parent, const std::wstring& name) {
    const LSTATUS status = ::RegDeleteTreeW(parent, name.c_str());
    if (status == ERROR_SUCCESS || IsMissing(status)) return S_OK;
    return HRESULT_FROM_WIN32(status);
}

HRESULT RegisterKey(HKEY parent, const RegistryKeyNode& node) {
    if (node.flag == RegistryKeyFlag::ForceRemove) {
        const HRESULT hr = DeleteTree(parent, node.name);
        if (FAILED(hr)) return hr;
    }
    unique_hkey key;
    const LSTATUS status = ::RegCreateKeyExW(parent, node.name.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                             KEY_READ | KEY_WRITE, nullptr, key.put(), nullptr);
    if (status != ERROR_SUCCESS) return HRESULT_FROM_WIN32(status);
    if (node.defaultValue) {
        const HRESULT hr = SetValue(key.get(), nullptr, *node.defaultValue);
        if (FAILED(hr)) return hr;
    }
    for (const auto& value : node.values) {
        const HRESULT hr = SetValue(key.get(), value.name.c_str(), value.value);
        if (FAILED(hr)) return hr;
    }
    for (const auto& child : node.subkeys) {
        const HRESULT hr = RegisterKey(key.get(), child);
        if (FAILED(hr)) return hr;
    }
    return S_OK;
}

HRESULT RemoveKey(HKEY parent, const RegistryKeyNode& node) {
    if (node.flag != RegistryKeyFlag::NoRemove) return DeleteTree(parent, node.name);

    unique_hkey key;
    const LSTATUS status = ::RegOpenKeyExW(parent, node.name.c_str(), 0, KEY_READ | KEY_WRITE, key.put());
    if (IsMissing(status)) return S_OK;
    if (status != ERROR_SUCCESS) return HRESULT_FROM_WIN32(status);
    for (const auto& value : node.values) {
        const LSTATUS deleted = ::RegDeleteValueW(key.get(), value.name.c_str());
        if (deleted != ERROR_SUCCESS && !IsMissing(deleted)) return HRESULT_FROM_WIN32(deleted);
    }
    for (const auto& child : node.subkeys) {
        const HRESULT hr = RemoveKey(key.get(), child);
        if (FAILED(hr)) return hr;
    }
    return S_OK;
}

}  // namespace

HKEY PredefinedRegistryRoot(RegistryRoot root) {
    switch (root) {
        case RegistryRoot::ClassesRoot: return HKEY_CLASSES_ROOT;
        case RegistryRoot::CurrentUser: return HKEY_CURRENT_USER;
        case RegistryRoot::LocalMachine: return HKEY_LOCAL_MACHINE;
        case RegistryRoot::Users: return HKEY_USERS;
        case RegistryRoot::CurrentConfig: return HKEY_CURRENT_CONFIG;
    }
    return nullptr;
}

HRESULT ApplyRegistryScript(const RegistryScript& script, RegistryScriptMode mode,
                            const RegistryRootResolver& resolve) {
    for (const auto& root : script.roots) {
        const HKEY base = resolve(root.root);
        if (!base) return E_INVALIDARG;
        for (const auto& key : root.keys) {
            const HRESULT hr = mode == RegistryScriptMode::Register ? RegisterKey(base, key) : RemoveKey(base, key);
            if (FAILED(hr)) return hr;
        }
    }
    return S_OK;
}

}  // namespace kv

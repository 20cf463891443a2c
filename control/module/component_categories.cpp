#include "control/module/component_categories.h"

#include "base/com_ptr.h"
#include "base/unique_resource.h"

#include <comcat.h>

#include <string>

namespace kv {
namespace {

ComPtr<ICatRegister> CreateCategoryManager() {
    ComPtr<ICatRegister> manager;
    if (FAILED(::CoCreateInstance(CLSID_StdComponentCategoriesMgr, nullptr, CLSCTX_INPROC_SERVER,
                                  IID_ICatRegister, manager.put_void()))) {
        manager.reset();
    }
    return manager;
}

void DeleteKeyIfEmpty(HKEY parent, const wchar_t* name) {
    unique_hkey key;
    if (::RegOpenKeyExW(parent, name, 0, KEY_READ, key.put()) != ERROR_SUCCESS) return;
    DWORD subkeys = 0;
    if (::RegQueryInfoKeyW(key.get(), nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, nullptr, nullptr,
                           nullptr, nullptr, nullptr) != ERROR_SUCCESS) {
        return;
    }
    key.reset();
    if (subkeys == 0) ::RegDeleteKeyW(parent, name);
}

}  // namespace

HRESULT RegisterClassCategories(REFCLSID clsid, const ComponentCategory* categories) {
    const ComPtr<ICatRegister> manager = CreateCategoryManager();
    if (!manager) return S_OK;
    for (const ComponentCategory* category = categories; category && category->id; ++category) {
        CATID id = *category->id;
        const HRESULT hr = category->required ? manager->RegisterClassReqCategories(clsid, 1, &id)
                                              : manager->RegisterClassImplCategories(clsid, 1, &id);
        if (FAILED(hr)) return hr;
    }
    return S_OK;
}

void UnregisterClassCategories(REFCLSID clsid, const ComponentCategory* categories) {
    if (const ComPtr<ICatRegister> manager = CreateCategoryManager()) {
        for (const ComponentCategory* category = categories; category && category->id; ++category) {
            CATID id = *category->id;
            if (category->required) {
                manager->UnRegisterClassReqCategories(clsid, 1, &id);
            } else {
                manager->UnRegisterClassImplCategories(clsid, 1, &id);
            }
        }
    }

    wchar_t clsidText[40] = {};
    if (::StringFromGUID2(clsid, clsidText, 40) == 0) return;
    const std::wstring classKeyName = std::wstring(L"CLSID\\") + clsidText;
    unique_hkey classKey;
    if (::RegOpenKeyExW(HKEY_CLASSES_ROOT, classKeyName.c_str(), 0, KEY_READ | KEY_WRITE, classKey.put()) !=
        ERROR_SUCCESS) {
        return;
    }
    DeleteKeyIfEmpty(classKey.get(), L"Required Categories");
    DeleteKeyIfEmpty(classKey.get(), L"Implemented Categories");
}

}  // namespace kv

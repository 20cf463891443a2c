#include "control/module/registration.h"

#include "base/result.h"
#include "control/module/component_categories.h"
#include "control/module/registry_script_runner.h"
#include "control/resource.h"
#include "control/module/thread_locale_scope.h"
#include "control/module/type_library_registration.h"

namespace kv {

// Both run under the system default locale (0x0800), whatever locale the calling thread
// has, and give the caller's locale back afterwards.
HRESULT RegisterServer() try {
    const ThreadLocaleScope locale(LOCALE_SYSTEM_DEFAULT);
    RETURN_IF_FAILED(RunRegistryScriptResource(IDR_KORVENDAL_MODULE, RegistryScriptMode::Register, {}));
    size_t count = 0;
    ClassTableEntry* table = ModuleClassTable(count);
    for (size_t i = 0; i < count; ++i) {
        RETURN_IF_FAILED(table[i].updateRegistry(true));
        RETURN_IF_FAILED(RegisterClassCategories(*table[i].clsid, table[i].categories));
    }
    std::wstring path;
    RETURN_IF_FAILED(GetModuleFilePath(path));
    return RegisterModuleTypeLibrary(path);
}
CATCH_RETURN()

HRESULT UnregisterServer() try {
    const ThreadLocaleScope locale(LOCALE_SYSTEM_DEFAULT);
    size_t count = 0;
    ClassTableEntry* table = ModuleClassTable(count);
    for (size_t i = 0; i < count; ++i) {
        UnregisterClassCategories(*table[i].clsid, table[i].categories);
        RETURN_IF_FAILED(table[i].updateRegistry(false));
    }
    std::wstring path;
    RETURN_IF_FAILED(GetModuleFilePath(path));
    RETURN_IF_FAILED(UnregisterModuleTypeLibrary(path));
    return RunRegistryScriptResource(IDR_KORVENDAL_MODULE, RegistryScriptMode::Remove, {});
}
CATCH_RETURN()

}  // namespace kv

// The class table: the one creatable class, Installer.
#include "control/module/class_table.h"

#include "control/module/class_factory.h"
#include "control/module/installer_factory.h"
#include "control/module/registry_script_runner.h"
#include "control/resource.h"
#include "korvendal.h"

#include <string>

namespace kv {
namespace {

// Safe for initializing from persisted data, then safe for scripting.
const CATID kCatidSafeForInitializing = {0x7dd95802, 0x9882, 0x11cf, {0x9f, 0xa9, 0x00, 0xaa, 0x00, 0x6c, 0x42, 0xc4}};
const CATID kCatidSafeForScripting = {0x7dd95801, 0x9882, 0x11cf, {0x9f, 0xa9, 0x00, 0xaa, 0x00, 0x6c, 0x42, 0xc4}};

const ComponentCategory kInstallerCategories[] = {
    {&kCatidSafeForInitializing, false},
    {&kCatidSafeForScripting, false},
    {nullptr, false},
};

// OLEMISC_RECOMPOSEONRESIZE | OLEMISC_CANTLINKINSIDE | OLEMISC_INSIDEOUT |
// OLEMISC_ACTIVATEWHENVISIBLE | OLEMISC_SETCLIENTSITEFIRST
constexpr DWORD kInstallerMiscStatus = 0x20191;

HRESULT UpdateInstallerRegistry(bool registering) {
    RegistryReplacements replacements;
    replacements.Add(L"OLEMISC", std::to_wstring(kInstallerMiscStatus));
    return RunRegistryScriptResource(IDR_INSTALLER,
                                     registering ? RegistryScriptMode::Register : RegistryScriptMode::Remove,
                                     replacements);
}

void InstallerObjectMain(bool) {}

ClassTableEntry gClassTable[] = {
    {&CLSID_Installer, &UpdateInstallerRegistry, &CreateClassFactory, &CreateInstallerInstance,
     kInstallerCategories, &InstallerObjectMain, {}},
};

}  // namespace

ClassTableEntry* ModuleClassTable(size_t& count) {
    count = sizeof(gClassTable) / sizeof(gClassTable[0]);
    return gClassTable;
}

}  // namespace kv

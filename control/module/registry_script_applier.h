// Writes a parsed registry script into the registry (registration) or takes it out again
// (removal).
#pragma once

#include "control/module/registry_script.h"

#include <windows.h>

#include <functional>

namespace kv {

enum class RegistryScriptMode { Register, Remove };

// Gives the open key that stands for a script's root; the caller keeps it open.
using RegistryRootResolver = std::function<HKEY(RegistryRoot)>;

// The platform's predefined key for a root (HKEY_CLASSES_ROOT for HKCR, ...).
HKEY PredefinedRegistryRoot(RegistryRoot root);

// Register: ForceRemove keys are deleted with everything below them, then every key is
// created and its values written. Remove: keys are deleted with everything below them,
// except NoRemove keys, of which only the script's own values and subkeys are taken out.
// Keys that are already gone are no failure. Stops at the first failure.
HRESULT ApplyRegistryScript(const RegistryScript& script, RegistryScriptMode mode,
                            const RegistryRootResolver& resolve);

}  // namespace kv

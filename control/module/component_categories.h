// Registration of a class's component categories through the platform's category manager.
#pragma once

#include "control/module/class_table.h"

namespace kv {

// Registers each category as implemented or required, stopping at the first failure.
// Without a category manager in the system the categories are skipped, without failure.
HRESULT RegisterClassCategories(REFCLSID clsid, const ComponentCategory* categories);

// Takes the categories out again; failures are ignored. Afterwards the class's
// Implemented Categories and Required Categories keys are deleted when nothing is left
// below them.
void UnregisterClassCategories(REFCLSID clsid, const ComponentCategory* categories);

}  // namespace kv

// The ambient properties a browser gives a control it hosts on a page.
#pragma once

#include <oaidl.h>

#include <string>

namespace kv::host {

// Fills `value` and returns true for the ambient properties the host answers; false for
// the others (the control then uses its own default).
bool GetAmbientProperty(DISPID id, const std::wstring& objectName, VARIANT* value);

}  // namespace kv::host

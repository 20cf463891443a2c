// ReportError: how a failure reaches script. The description "%s(%ld)" of text and code goes
// into the thread's error object; the caller returns E_FAIL.
#pragma once

#include "control/download/failure.h"

#include <windows.h>

#include <cstdint>
#include <string>

// Sets the thread's error information to a new error object whose only field is the
// description, converted with the system code page. Returns E_FAIL whatever the code.
HRESULT ReportError(int32_t code, const std::string& text) noexcept;

// Sets the thread's error information to a new error object whose only field is `text`,
// converted with the system code page, for a failure that carries no code in its text.
void SetErrorDescription(const std::string& text) noexcept;

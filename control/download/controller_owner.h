// What the download controller asks of the control object: the script-facing error report,
// the OnClose event, the dialogs a user answers, and a reference that keeps the
// object alive while a transfer runs on the stack of a command.
#pragma once

#include "base/com_ptr.h"

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>

class ControllerOwner {
public:
    virtual HRESULT ReportError(int32_t code, const std::string& text) = 0;
    virtual void FireOnClose() = 0;
    // MessageBox's answer (IDYES, IDNO, IDOK, ...; 0 when no box could be shown).
    virtual int ShowMessageBox(const std::string& text, const char* caption, UINT style) = 0;
    // The folder the user picked, or nothing when the dialog was cancelled.
    virtual std::optional<std::string> ChooseFolder() = 0;
    virtual kv::ComPtr<IUnknown> KeepAlive() = 0;

protected:
    ~ControllerOwner() = default;
};

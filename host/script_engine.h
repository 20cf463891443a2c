// The platform's JScript engine behind a small interface: named items, script blocks run
// as they are added, and named functions called from the host (the event handlers).
#pragma once

#include <activscp.h>

#include <string>

#include "base/com_ptr.h"
#include "host/script_site.h"

namespace kv::host {

class ScriptEngine {
public:
    ScriptEngine() = default;
    ScriptEngine(const ScriptEngine&) = delete;
    ScriptEngine& operator=(const ScriptEngine&) = delete;
    ~ScriptEngine() { Close(); }

    // Creates the engine on `site` and connects it, so that every block runs when added.
    HRESULT Start(ComPtr<CScriptSite> site);
    // `name` must already be known to the site.
    HRESULT AddNamedItem(const std::wstring& name, DWORD flags);
    // Runs one block; `firstLine` is the 1-based page line of its first character.
    // Errors reach the site's OnScriptError.
    HRESULT Run(const std::wstring& text, unsigned firstLine);
    // Calls a global function of the script; an exception the engine reports only
    // through `exception` is left there for the caller.
    HRESULT Call(const std::wstring& function, DISPPARAMS* params, EXCEPINFO* exception);
    void Close();

private:
    ComPtr<IActiveScript> script_;
    ComPtr<IActiveScriptParse> parse_;
};

}  // namespace kv::host

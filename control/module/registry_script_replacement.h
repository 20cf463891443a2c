// %NAME% replacement in registry scripts, and the quoting of values placed inside '...'.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace kv {

// Names match without regard to case; a later Add of the same name replaces the value.
class RegistryReplacements {
public:
    void Add(std::wstring name, std::wstring value);
    const std::wstring* Find(std::wstring_view name) const;

private:
    std::vector<std::pair<std::wstring, std::wstring>> entries_;
};

// Replaces every %NAME% by its value and %% by one %. A name without a value or a % without
// its closing % fails with DISP_E_EXCEPTION and leaves `out` empty.
HRESULT ExpandRegistryScript(std::wstring_view text, const RegistryReplacements& replacements,
                             std::wstring& out);

// Doubles every single quote, so that the value stays one quoted string in the script.
std::wstring QuoteForRegistryScript(std::wstring_view value);

// The MODULE value for a module path: at most 259 characters (longer paths fail with
// HRESULT_FROM_WIN32(ERROR_INSUFFICIENT_BUFFER)), quotes doubled.
HRESULT ModulePathReplacement(std::wstring_view path, std::wstring& out);

}  // namespace kv

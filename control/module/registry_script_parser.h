// Parses the text of a registry script (after replacement) into its key tree.
#pragma once

#include "control/module/registry_script.h"

#include <string>
#include <string_view>

namespace kv {

struct RegistryScriptParse {
    bool ok = false;
    RegistryScript script;
    std::wstring error;  // what was wrong and on which line, when !ok
    size_t errorLine = 0;
};

// Grammar, tokens separated by blanks:
//   script  := (ROOT '{' key* '}')*
//   key     := ['NoRemove' | 'ForceRemove'] name ['=' value] ['{' key* '}']
//            | 'val' name '=' value
//   value   := 's' STRING | 'd' NUMBER
// Names are bare words (including {GUID} forms) or quoted with '...' where '' stands for
// one quote. Keywords, roots and value types match without regard to case.
RegistryScriptParse ParseRegistryScript(std::wstring_view text);

}  // namespace kv

// Fuzz target: the registry-script parser over any text (UTF-8 where valid, other bytes as
// themselves), as a damaged or hand-edited script resource would hold it.
#include "control/module/registry_script_parser.h"

#include "utf8.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const kv::RegistryScriptParse parse = kv::ParseRegistryScript(WideFromFuzzInput(data, size));
    // A failure always says what was wrong and leaves no half-built tree behind.
    if (!parse.ok && (parse.error.empty() || !parse.script.roots.empty())) __builtin_trap();
    return 0;
}

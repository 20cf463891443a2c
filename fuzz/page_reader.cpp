// Fuzz target: the host's page reader over any page file: its decoding, the <object> and
// <script> elements, and the event signatures of handlers.
#include "host/page_reader.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::wstring text =
        kv::host::DecodePageBytes(std::string_view(reinterpret_cast<const char*>(data), size));
    const kv::host::Page page = kv::host::ReadPage(text);
    for (const kv::host::PageScript& script : page.scripts) {
        if (script.position > text.size()) __builtin_trap();
        (void)kv::host::IsJScriptLanguage(script.language);
        if (script.IsHandler()) (void)kv::host::ParseEventSignature(script.event);
    }
    for (const kv::host::PageObject& object : page.objects) {
        if (object.position > text.size() || object.width < 0 || object.height < 0) __builtin_trap();
    }
    return 0;
}

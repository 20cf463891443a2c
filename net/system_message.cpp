#include "net/system_message.h"

#include "base/unique_resource.h"
#include "net/engine_texts.h"

namespace kv {

std::string SystemMessage(DWORD code) {
    char* text = nullptr;
    const DWORD length = ::FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), reinterpret_cast<LPSTR>(&text), 0,
        nullptr);
    const unique_hlocal owner(text);
    if (length == 0 || !text) return kUnknownErrorText;
    return std::string(text, length);
}

}  // namespace kv

#include "skin/skin_definition.h"

#include <windows.h>

namespace kv {

std::string ReadSkinValue(const char* section, const char* key, const std::string& definitionPath) {
    char value[256] = {};
    const DWORD length = ::GetPrivateProfileStringA(section, key, "", value, sizeof value,
                                                    definitionPath.c_str());
    return std::string(value, length);
}

}  // namespace kv

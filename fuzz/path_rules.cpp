// Fuzz target: the path rules over any name a page or an archive may give. A name that the
// rules call contained must stay below its folder when Win32 resolves it, which is worked
// out here on its own: components split at either slash (as code page 949 reads the bytes),
// "." stays, any other component descends, and one of dots and blanks only climbs, since
// Win32 trims trailing dots and blanks and so reads it as "..".
#include "files/path_rules.h"

#include "base/ansi_chars.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace {

bool StaysBelowItsFolder(const std::string& name) {
    if (name.find(':') != std::string::npos || name.find('\0') != std::string::npos) return false;
    if (!name.empty() && (name[0] == '\\' || name[0] == '/')) return false;
    int depth = 0;
    std::string component;
    std::vector<size_t> ends = kv::SeparatorOffsets(name, true);
    ends.push_back(name.size());
    size_t start = 0;
    for (const size_t end : ends) {
        component = name.substr(start, end - start);
        start = end + 1;
        if (component.empty() || component == ".") continue;
        if (component.find_first_not_of(". ") == std::string::npos) {
            if (--depth < 0) return false;
        } else {
            ++depth;
        }
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string name(reinterpret_cast<const char*>(data), size);
    if (IsContainedRelativePath(name)) {
        if (!IsPlainPathText(name) || !StaysBelowItsFolder(name)) __builtin_trap();
    }
    const std::string part = GetFileNamePart(name);
    if (part.size() > name.size() || name.compare(name.size() - part.size(), part.size(), part) != 0)
        __builtin_trap();
    if (JoinPath("C:\\base", name).size() != name.size() + 8) __builtin_trap();
    if (!MakeBasePath("", name).empty()) __builtin_trap();
    return 0;
}

// The joins that form the control's paths, and the containment test for names that come
// from script or from an archive.
#include "files/local_files.h"

#include "base/ansi_chars.h"

#include <algorithm>
#include <cctype>
#include <string_view>

std::string JoinPath(const std::string& folder, const std::string& name) {
    return folder + "\\" + name;
}

std::string MakeSkinPath(std::string& basePath, const std::string& name) {
    if (basePath.empty()) basePath = "C:";
    return JoinPath(basePath, name);
}

std::string MakeBasePath(const std::string& tempFolder, const std::string& value) {
    return tempFolder + value;
}

namespace {

// Win32 drops trailing dots and blanks from a component, so ".. " and "..." can act as "..".
bool IsDotsAndBlanks(std::string_view component) {
    return std::all_of(component.begin(), component.end(),
                       [](char c) { return c == '.' || c == ' '; });
}

// CON, NUL, COM1 and friends name devices in every folder, with any extension.
bool IsDeviceName(std::string_view component) {
    std::string base(component.substr(0, component.find('.')));
    while (!base.empty() && base.back() == ' ') base.pop_back();
    std::transform(base.begin(), base.end(), base.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    if (base == "CON" || base == "PRN" || base == "AUX" || base == "NUL" || base == "CONIN$" ||
        base == "CONOUT$")
        return true;
    return base.size() == 4 && (base.compare(0, 3, "COM") == 0 || base.compare(0, 3, "LPT") == 0) &&
           base[3] >= '1' && base[3] <= '9';
}

}  // namespace

bool IsContainedRelativePath(const std::string& name) {
    if (name.empty()) return true;
    // A colon is a drive ("C:x" is relative to C:'s own current folder) or a stream name.
    if (name.find(':') != std::string::npos) return false;
    if (name.front() == '\\' || name.front() == '/') return false;  // root or UNC
    size_t start = 0;
    std::vector<size_t> ends = kv::SeparatorOffsets(name, true);
    ends.push_back(name.size());
    for (const size_t end : ends) {
        const std::string_view component(name.data() + start, end - start);
        start = end + 1;
        if (component.empty() || component == ".") continue;
        if (IsDotsAndBlanks(component) || IsDeviceName(component)) return false;
    }
    return true;
}

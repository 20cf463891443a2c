#include "files/path_rules.h"

#include "base/ansi_chars.h"
#include "base/ansi_lead_byte.h"

#include <algorithm>
#include <vector>

std::string JoinPath(const std::string& folder, const std::string& name) {
    return folder + "\\" + name;
}

std::string MakeBasePath(const std::string& tempFolder, const std::string& value) {
    if (tempFolder.empty()) return {};
    return tempFolder + value;
}

std::string GetFileNamePart(std::string path) {
    // Drive letter first, then everything after the last separator of either style, as
    // _splitpath would give it for file name plus extension. Unlike _splitpath into fixed
    // buffers, a long name is returned whole, so that callers can cut it off the path.
    size_t start = 0;
    if (path.size() >= 2 && kv::NextCharOffset(path, 0) == 1 && path[1] == ':') start = 2;
    for (const size_t offset : kv::SeparatorOffsets(path, true)) {
        if (offset >= start) start = offset + 1;
    }
    return path.substr(start);
}

namespace {

// Win32 drops trailing dots and blanks from a component, so ".. " and "..." can act as "..".
bool IsDotsAndBlanks(std::string_view component) {
    return std::all_of(component.begin(), component.end(),
                       [](char c) { return c == '.' || c == ' '; });
}

char UpperAscii(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

// The port number of COMn and LPTn: a digit 0 to 9, or a superscript one, two or three,
// which Windows counts as digits there too. Code page 949 writes those as the double-byte
// characters A9F6, A9F7 and A9F8; the Latin code pages as the single bytes B9, B2 and B3,
// which code page 949 reads as lead bytes instead.
bool IsPortNumber(std::string_view text) {
    if (text.size() == 1) {
        const auto byte = static_cast<unsigned char>(text[0]);
        if (byte >= '0' && byte <= '9') return true;
        return (byte == 0xB9 || byte == 0xB2 || byte == 0xB3) && !kv::IsAnsiLeadByte(byte);
    }
    return text == "\xA9\xF6" || text == "\xA9\xF7" || text == "\xA9\xF8";
}

// CON, NUL, COM1 and friends name devices in every folder, with any extension.
bool IsDeviceName(std::string_view component) {
    std::string base(component.substr(0, component.find('.')));
    while (!base.empty() && base.back() == ' ') base.pop_back();
    // Upper-casing byte by byte may change a trail byte, but only in this copy, and no
    // device name or port number holds a trail byte in the range of letters.
    std::transform(base.begin(), base.end(), base.begin(), UpperAscii);
    if (base == "CON" || base == "PRN" || base == "AUX" || base == "NUL" || base == "CONIN$" ||
        base == "CONOUT$")
        return true;
    const std::string_view view(base);
    return view.size() > 3 && (view.substr(0, 3) == "COM" || view.substr(0, 3) == "LPT") &&
           IsPortNumber(view.substr(3));
}

}  // namespace

bool IsContainedRelativePath(const std::string& name) {
    if (name.empty()) return true;
    if (!IsPlainPathText(name)) return false;
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

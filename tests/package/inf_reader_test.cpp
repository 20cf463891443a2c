// Reads Korvendal.inf through SetupAPI, the platform's own INF reader, as the browser's code
// download does, and prints what it finds: one "[section] key=field|field..." line each, in
// UTF-8, for [version], [Add.Code] and each file section [Add.Code] names.
// usage: inf_reader_test PATH
#include <windows.h>
#include <setupapi.h>

#include <cstdio>
#include <string>
#include <vector>

#include "base/codepage.h"
#include "base/unique_resource.h"

namespace {

// The owner's policy stays here rather than in base/unique_resource.h: setupapi.h brings in
// commctrl.h, and only this program needs it.
struct InfFilePolicy {
    using Handle = HINF;
    static Handle invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static void close(Handle h) noexcept { ::SetupCloseInfFile(h); }
};
using unique_hinf = kv::UniqueResource<InfFilePolicy>;

// Field `index` of a line; field 0 is the key.
std::wstring Field(INFCONTEXT& line, DWORD index) {
    DWORD size = 0;
    if (!::SetupGetStringFieldW(&line, index, nullptr, 0, &size) || size == 0) return {};
    std::wstring value(size, L'\0');
    if (!::SetupGetStringFieldW(&line, index, value.data(), size, nullptr)) return {};
    value.resize(size - 1);
    return value;
}

// Prints every line of the section; gives the value fields of each line.
std::vector<std::wstring> PrintSection(HINF inf, const std::wstring& section) {
    std::vector<std::wstring> values;
    INFCONTEXT line{};
    if (!::SetupFindFirstLineW(inf, section.c_str(), nullptr, &line)) {
        std::printf("[%s] missing\n", kv::WideToUtf8(section).c_str());
        return values;
    }
    do {
        std::wstring text = L"[" + section + L"] " + Field(line, 0) + L"=";
        const DWORD count = ::SetupGetFieldCount(&line);
        for (DWORD i = 1; i <= count; ++i) {
            values.push_back(Field(line, i));
            text += (i > 1 ? L"|" : L"") + values.back();
        }
        std::printf("%s\n", kv::WideToUtf8(text).c_str());
    } while (::SetupFindNextLine(&line, &line));
    return values;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: inf_reader_test PATH\n");
        return 2;
    }
    // The Windows 95 style is the one whose signature the code download accepts:
    // SetupAPI refuses the file with ERROR_WRONG_INF_STYLE when its signature is another.
    UINT errorLine = 0;
    unique_hinf inf(::SetupOpenInfFileW(kv::AnsiToWide(argv[1]).c_str(), nullptr, INF_STYLE_WIN4, &errorLine));
    if (!inf) {
        std::printf("ERROR %lu line %u\n", ::GetLastError(), errorLine);
        return 1;
    }
    PrintSection(inf.get(), L"version");
    for (const std::wstring& file : PrintSection(inf.get(), L"Add.Code")) PrintSection(inf.get(), file);
    return 0;
}

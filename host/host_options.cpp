#include "host/host_options.h"

#include <cwchar>

namespace kv::host {

bool ParseHostOptions(const std::vector<std::wstring>& args, HostOptions& options, std::wstring& error) {
    options = HostOptions{};
    for (std::size_t k = 0; k < args.size(); ++k) {
        const std::wstring& arg = args[k];
        if (arg == L"--headless") {
            options.headless = true;
        } else if (arg == L"--timeout") {
            if (k + 1 >= args.size()) {
                error = L"--timeout needs a number of seconds";
                return false;
            }
            const std::wstring& value = args[++k];
            wchar_t* end = nullptr;
            const unsigned long seconds = std::wcstoul(value.c_str(), &end, 10);
            if (value.empty() || *end != 0 || seconds == 0 || seconds > 86400) {
                error = L"--timeout takes a whole number of seconds from 1 to 86400, not " + value;
                return false;
            }
            options.timeoutSeconds = static_cast<unsigned>(seconds);
        } else if (arg == L"--url") {
            if (k + 1 >= args.size() || args[k + 1].empty()) {
                error = L"--url needs an address";
                return false;
            }
            options.url = args[++k];
        } else if (arg == L"--answer") {
            if (k + 1 >= args.size()) {
                error = L"--answer needs a value";
                return false;
            }
            options.answers.push_back(args[++k]);
        } else if (arg.rfind(L"--", 0) == 0) {
            error = L"unknown option " + arg;
            return false;
        } else if (options.page.empty()) {
            options.page = arg;
        } else {
            error = L"only one page can be given";
            return false;
        }
    }
    if (options.page.empty()) {
        error = L"no page given";
        return false;
    }
    // With a person at the screen the dialogs are theirs to answer.
    if (!options.answers.empty() && !options.headless) {
        error = L"--answer needs --headless";
        return false;
    }
    return true;
}

std::wstring FileUrlOfPath(const std::wstring& path) {
    std::wstring url = L"file:///";
    for (wchar_t c : path) {
        switch (c) {
        case L'\\': url += L'/'; break;
        case L' ': url += L"%20"; break;
        case L'%': url += L"%25"; break;
        case L'#': url += L"%23"; break;
        default: url += c;
        }
    }
    return url;
}

}  // namespace kv::host

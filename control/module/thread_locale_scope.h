// Switches the thread's locale for the lifetime of a scope and puts the old one back.
#pragma once

#include <windows.h>

namespace kv {

class ThreadLocaleScope {
public:
    explicit ThreadLocaleScope(LCID locale) : previous_(::GetThreadLocale()) { ::SetThreadLocale(locale); }
    ~ThreadLocaleScope() { ::SetThreadLocale(previous_); }
    ThreadLocaleScope(const ThreadLocaleScope&) = delete;
    ThreadLocaleScope& operator=(const ThreadLocaleScope&) = delete;

private:
    LCID previous_;
};

}  // namespace kv

// Loads the built Korvendal.ocx (it lies beside the test program) for the module tests.
#pragma once

#include <windows.h>

#include <string>

#include "base/unique_resource.h"

namespace kv::test {

class LoadedControlModule {
public:
    LoadedControlModule() : module_(::LoadLibraryW(L"Korvendal.ocx")) {}

    HMODULE get() const { return module_.get(); }
    explicit operator bool() const { return module_.valid(); }

    template <typename Function>
    Function Export(const char* name) const {
        return reinterpret_cast<Function>(reinterpret_cast<void*>(::GetProcAddress(module_.get(), name)));
    }

    std::wstring Path() const {
        wchar_t path[MAX_PATH] = {};
        ::GetModuleFileNameW(module_.get(), path, MAX_PATH);
        return path;
    }

private:
    unique_hmodule module_;
};

}  // namespace kv::test

// Error plumbing for COM entry points: return-if-failed macros, and CATCH_RETURN, which
// turns any exception into an HRESULT so that none crosses the COM boundary.
#pragma once

#include <windows.h>

#include <new>
#include <stdexcept>

namespace kv {

inline HRESULT HresultFromLastError() noexcept {
    const DWORD error = ::GetLastError();
    return error == 0 ? E_FAIL : HRESULT_FROM_WIN32(error);
}

inline HRESULT HresultFromCaughtException() noexcept {
    try {
        throw;
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    } catch (const std::invalid_argument&) {
        return E_INVALIDARG;
    } catch (...) {
        return E_UNEXPECTED;
    }
}

}  // namespace kv

#define RETURN_IF_FAILED(expr)                          \
    do {                                                \
        const HRESULT kv_hr_ = (expr);                  \
        if (FAILED(kv_hr_)) return kv_hr_;              \
    } while (0)

#define RETURN_IF_WIN32_BOOL_FALSE(expr)                \
    do {                                                \
        if (!(expr)) return ::kv::HresultFromLastError(); \
    } while (0)

#define RETURN_LAST_ERROR_IF_NULL(expr)                 \
    do {                                                \
        if ((expr) == nullptr) return ::kv::HresultFromLastError(); \
    } while (0)

#define RETURN_HR_IF(hr, condition)                     \
    do {                                                \
        if (condition) return (hr);                     \
    } while (0)

#define RETURN_HR_IF_NULL(hr, pointer) RETURN_HR_IF(hr, (pointer) == nullptr)

// Use as:  HRESULT C::Method() noexcept try { ...; return S_OK; } CATCH_RETURN()
#define CATCH_RETURN() \
    catch (...) { return ::kv::HresultFromCaughtException(); }

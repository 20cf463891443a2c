#include "skin/picture_file.h"

#include "base/codepage.h"
#include "base/com_ptr.h"
#include "base/himetric.h"

#include <ole2.h>
#include <olectl.h>

#include <algorithm>

namespace kv {
namespace {

// The picture loader takes a path as a moniker name, and a relative path is no name it
// knows (MK_E_SYNTAX).
std::wstring AbsolutePath(const std::wstring& path) {
    const DWORD needed = ::GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    if (needed == 0) return path;
    std::wstring full(needed, L'\0');
    const DWORD length = ::GetFullPathNameW(path.c_str(), needed, full.data(), nullptr);
    if (length == 0 || length >= needed) return path;
    full.resize(length);
    return full;
}

// The picture owns its bitmap and deletes it on release, so the pixels are copied out. A
// bitmap picture is copied pixel for pixel; icons and metafiles are drawn at that size. Only
// the top-left `kept` of the picture's `size` lands in the copy.
unique_hbitmap CopyToScreenBitmap(IPicture& picture, SIZEL himetric, SIZE size, SIZE kept) {
    const unique_hdc_window screen = unique_hdc_window::get(nullptr);
    unique_hbitmap copy(::CreateCompatibleBitmap(screen.get(), kept.cx, kept.cy));
    const unique_hdc to(::CreateCompatibleDC(screen.get()));
    if (!copy || !to) return {};
    const unique_select_object toBitmap(to.get(), copy.get());
    if (!toBitmap) return {};

    SHORT type = PICTYPE_UNINITIALIZED;
    OLE_HANDLE handle = 0;
    if (FAILED(picture.get_Type(&type)) || FAILED(picture.get_Handle(&handle))) return {};
    if (type != PICTYPE_BITMAP) {
        const HRESULT drawn = picture.Render(to.get(), 0, 0, size.cx, size.cy, 0, himetric.cy,
                                             himetric.cx, -himetric.cy, nullptr);
        return SUCCEEDED(drawn) ? std::move(copy) : unique_hbitmap();
    }
    const unique_hdc from(::CreateCompatibleDC(screen.get()));
    if (!from) return {};
    const unique_select_object fromBitmap(
        from.get(), reinterpret_cast<HBITMAP>(static_cast<UINT_PTR>(handle)));
    if (!fromBitmap) return {};
    if (!::BitBlt(to.get(), 0, 0, kept.cx, kept.cy, from.get(), 0, 0, SRCCOPY)) return {};
    return copy;
}

}  // namespace

unique_hbitmap LoadPictureFile(HWND window, const std::string& path, int* width, int* height,
                               const SIZE* part) {
    const std::wstring name = AbsolutePath(AnsiToWide(path));
    ComPtr<IPicture> picture;
    if (FAILED(::OleLoadPicturePath(const_cast<LPOLESTR>(name.c_str()), nullptr, 0, 0,
                                    IID_IPicture, picture.put_void()))) {
        return {};
    }
    SIZEL himetric = {};
    if (FAILED(picture->get_Width(&himetric.cx)) || FAILED(picture->get_Height(&himetric.cy))) {
        return {};
    }
    const SIZE pixels = HimetricToPixels(himetric, PixelsPerInchOfWindow(window));
    if (width) *width = pixels.cx;
    if (height) *height = pixels.cy;
    SIZE kept = pixels;
    if (part) {
        kept.cx = std::min(kept.cx, std::max<LONG>(part->cx, 1));
        kept.cy = std::min(kept.cy, std::max<LONG>(part->cy, 1));
    }
    return CopyToScreenBitmap(*picture.get(), himetric, pixels, kept);
}

}  // namespace kv

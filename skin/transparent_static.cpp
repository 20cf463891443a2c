#include "skin/transparent_static.h"

namespace kv {

LRESULT CTransparentStatic::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_SETTEXT) return DefaultProc(message, wParam, lParam);
    const LRESULT result = DefaultProc(message, wParam, lParam);
    // Transparent text is drawn over whatever is beneath, the old text included: the parent
    // repaints the area first, at once, so the new text lands on clean background.
    const HWND parent = ::GetParent(handle());
    RECT area;
    ::GetWindowRect(handle(), &area);
    ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&area), 2);
    ::InvalidateRect(parent, &area, TRUE);
    ::UpdateWindow(parent);
    return result;
}

}  // namespace kv

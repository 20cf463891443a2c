#include "skin/transparent_static.h"

#include "base/unique_resource.h"

#include <string>

namespace kv {

LRESULT CTransparentStatic::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_SETTEXT:
        return SetText(wParam, lParam);
    case WM_PAINT:
        if (!DrawsPathItself()) break;
        {
            PAINTSTRUCT paint;
            const HDC dc = ::BeginPaint(handle(), &paint);
            if (dc) PaintPath(dc);
            ::EndPaint(handle(), &paint);
        }
        return 0;
    case WM_PRINTCLIENT:
        if (!DrawsPathItself()) break;
        PaintPath(reinterpret_cast<HDC>(wParam));
        return 0;
    default:
        break;
    }
    return DefaultProc(message, wParam, lParam);
}

// The static class's own path ellipsis adds the end ellipsis to it, and with both Wine's
// DrawText aborts the whole process when the path does not fit even shortened.
bool CTransparentStatic::DrawsPathItself() const {
    return (::GetWindowLongA(handle(), GWL_STYLE) & SS_ELLIPSISMASK) == SS_PATHELLIPSIS;
}

void CTransparentStatic::PaintPath(HDC dc) {
    // Colours and brush come from the parent, as for any static.
    const HWND parent = ::GetParent(handle());
    const auto brush = reinterpret_cast<HBRUSH>(
        ::SendMessageW(parent, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(handle())));
    RECT client;
    ::GetClientRect(handle(), &client);
    if (brush) ::FillRect(dc, &client, brush);
    const auto font = reinterpret_cast<HGDIOBJ>(::SendMessageW(handle(), WM_GETFONT, 0, 0));
    const unique_select_object selected(dc, font);
    std::wstring text(static_cast<size_t>(::GetWindowTextLengthW(handle())) + 1, L'\0');
    text.resize(static_cast<size_t>(::GetWindowTextW(handle(), text.data(), static_cast<int>(text.size()))));
    ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &client,
                DT_LEFT | DT_SINGLELINE | DT_NOPREFIX | DT_PATH_ELLIPSIS);
}

LRESULT CTransparentStatic::SetText(WPARAM wParam, LPARAM lParam) {
    // The static class paints a new text at once, with its own flags; a label that paints
    // itself only stores it.
    const LRESULT result = DrawsPathItself() ? ::DefWindowProcA(handle(), WM_SETTEXT, wParam, lParam)
                                             : DefaultProc(WM_SETTEXT, wParam, lParam);
    // Transparent text is drawn over whatever is beneath, the old text included: the parent
    // repaints the area first, at once, so the new text lands on clean background.
    const HWND parent = ::GetParent(handle());
    RECT area;
    ::GetWindowRect(handle(), &area);
    ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&area), 2);
    ::InvalidateRect(parent, &area, TRUE);
    ::UpdateWindow(parent);
    // The label's accessible name ends with its text: a screen reader is told it changed.
    ::NotifyWinEvent(EVENT_OBJECT_NAMECHANGE, handle(), OBJID_CLIENT, CHILDID_SELF);
    return result;
}

}  // namespace kv

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
    // Only stored: the static class would paint the new text at once, over the old one.
    const LRESULT result = ::IsWindowUnicode(handle()) ? ::DefWindowProcW(handle(), WM_SETTEXT, wParam, lParam)
                                                       : ::DefWindowProcA(handle(), WM_SETTEXT, wParam, lParam);
    // Transparent text is drawn over whatever is beneath, the old text included: the label's
    // area of the parent is invalidated with everything in it (the parent does not clip its
    // children), so the picture beneath is painted before the new text. The paint comes with
    // the thread's next messages, once for all the labels that changed meanwhile.
    const HWND parent = ::GetParent(handle());
    RECT area;
    ::GetWindowRect(handle(), &area);
    ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&area), 2);
    ::InvalidateRect(parent, &area, TRUE);
    // The label's accessible name ends with its text: a screen reader is told it changed.
    ::NotifyWinEvent(EVENT_OBJECT_NAMECHANGE, handle(), OBJID_CLIENT, CHILDID_SELF);
    return result;
}

}  // namespace kv

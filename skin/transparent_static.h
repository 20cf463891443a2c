// A label without a background of its own: a "STATIC" whose parent answers WM_CTLCOLORSTATIC
// with the transparent mode and the null brush, and which has its area of the parent
// repainted, picture beneath first, whenever its text changes, so no trace of the old text
// stays. A label with the path
// ellipsis style draws its text itself, on one line, shortened in the middle of the path.
#pragma once

#include "skin/child_window.h"

namespace kv {

class CTransparentStatic : public CChildWindow {
public:
    using CChildWindow::Create;
    HWND Create(DWORD style, HWND parent, int id) { return Create("STATIC", style, parent, id); }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    LRESULT SetText(WPARAM wParam, LPARAM lParam);
    bool DrawsPathItself() const;
    void PaintPath(HDC dc);
};

}  // namespace kv

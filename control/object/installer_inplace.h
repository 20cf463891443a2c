// The in-place part of the Installer: IOleInPlaceObjectWindowless (with IOleInPlaceObject and
// IOleWindow) and IOleInPlaceActiveObject, and the activation steps that create, place and
// destroy the control window inside the host's site window. The control is windowed only.
#pragma once

#include "control/object/com_part.h"

#include <ocidl.h>
#include <oleidl.h>

struct CEmbeddingState;

// Creates the control window inside the site's window; the window registers itself in the
// embedding state while it is initialised. The window's buttons take the keys that reach
// the control through the container's accelerator path.
class ControlWindowFactory {
public:
    virtual HWND CreateControlWindowIn(HWND parent) = 0;
    // True when the window used the key.
    virtual bool TranslateWindowKey(const MSG& message) = 0;

protected:
    ~ControlWindowFactory() = default;
};

class CInstallerInPlace final
    : public CPart<IOleInPlaceObjectWindowless, IOleInPlaceActiveObject> {
public:
    CInstallerInPlace(IUnknown* controlling, CEmbeddingState& embedding, ControlWindowFactory& windows) noexcept
        : CPart(controlling), embedding_(embedding), windows_(windows) {}

    // Activates in place for an activation verb (in-place, UI, show, primary): asks the site,
    // creates and shows the window, and for the UI verbs takes the focus.
    HRESULT Activate(LONG verb);
    // Hides the window without leaving the in-place state.
    HRESULT Hide();
    // Asks the site for a new place after the extent changed.
    void RequestSize(SIZEL himetric);

    // IOleWindow
    HRESULT STDMETHODCALLTYPE GetWindow(HWND* window) override;
    HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL enterMode) override;

    // IOleInPlaceObject
    HRESULT STDMETHODCALLTYPE InPlaceDeactivate() override;
    HRESULT STDMETHODCALLTYPE UIDeactivate() override;
    HRESULT STDMETHODCALLTYPE SetObjectRects(LPCRECT position, LPCRECT clip) override;
    HRESULT STDMETHODCALLTYPE ReactivateAndUndo() override;

    // IOleInPlaceObjectWindowless
    HRESULT STDMETHODCALLTYPE OnWindowMessage(UINT message, WPARAM wParam, LPARAM lParam,
                                              LRESULT* result) override;
    HRESULT STDMETHODCALLTYPE GetDropTarget(IDropTarget** target) override;

    // IOleInPlaceActiveObject
    HRESULT STDMETHODCALLTYPE TranslateAccelerator(LPMSG message) override;
    HRESULT STDMETHODCALLTYPE OnFrameWindowActivate(BOOL activate) override;
    HRESULT STDMETHODCALLTYPE OnDocWindowActivate(BOOL activate) override;
    HRESULT STDMETHODCALLTYPE ResizeBorder(LPCRECT border, IOleInPlaceUIWindow* window,
                                           BOOL frameWindow) override;
    HRESULT STDMETHODCALLTYPE EnableModeless(BOOL enable) override;

private:
    HRESULT EnterInPlace();
    HRESULT CreateWindowInSite();
    HRESULT EnterUI();

    CEmbeddingState& embedding_;
    ControlWindowFactory& windows_;
};
